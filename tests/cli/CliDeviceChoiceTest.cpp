// sonoria-cli with several devices: --virtual=MODEL,MODEL... lists them all,
// --device PATH picks one and a command changes that one only.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "simulator/VirtualDeviceGroup.h"

namespace sonoria::cli {
namespace {

TEST_F(CliTest, DevicePicksOneOfSeveralAndAWrongPathIsNoDevice) {
    const std::string two = "--virtual=KR710Q,KR710QX";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // its beginning
        std::string err;
    } cases[] = {
        {{two, "list"}, kExitOk, "virtual:sonoria-0\nvirtual:sonoria-1\n", ""},
        {{two, "info"}, kExitOk, "machine: KR710Q\n", ""},
        {{two, "--device", "virtual:sonoria-1", "info"}, kExitOk, "machine: KR710QX\n", ""},
        {{two, "--device", "virtual:sonoria-1", "list"}, kExitOk, "virtual:sonoria-1\n", ""},
        {{two, "--device", "virtual:sonoria-2", "info"}, kExitDevice, "",
         "error: no device at virtual:sonoria-2; sonoria-cli list shows the connected ones\n"},
        {{"--virtual", "--device", "/dev/hidraw0", "dump"}, kExitDevice, "",
         "error: no device at /dev/hidraw0; sonoria-cli list shows the connected ones\n"},
        {{two, "info", "--device"}, kExitUsage, "",
         "error: --device takes a device's path, as sonoria-cli list prints it\n"
         "run \"sonoria-cli --help\" for the commands\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[1] << " " << c.args[2] << ": " << run.err;
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << run.out;
        EXPECT_EQ(run.err, c.err);
    }
}

TEST_F(CliTest, ACommandOnTheChosenDeviceLeavesTheOthersAlone) {
    auto group = std::make_shared<VirtualDeviceGroup>(std::vector<std::shared_ptr<VirtualDevice>>{
        std::make_shared<VirtualDevice>("KR710Q", VirtualDevicePath(0)),
        std::make_shared<VirtualDevice>("KR710Q", VirtualDevicePath(1))});
    const int before = group->Devices()[0]->Param(1, 6).first;  // MicCompThreshold
    ASSERT_NE(before, 77);
    const CliRun run = Cli({"--device", "virtual:sonoria-1", "set", "MicCompThreshold", "77"}, group);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(group->Devices()[1]->Param(1, 6).first, 77);
    EXPECT_EQ(group->Devices()[0]->Param(1, 6).first, before);
}

}  // namespace
}  // namespace sonoria::cli
