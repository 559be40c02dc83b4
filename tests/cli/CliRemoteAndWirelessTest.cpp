// sonoria-cli remote learn|show and wmic show|pair|set against the virtual
// device: what is printed, what goes on the wire, and how a key that never
// comes ends.
#include "cli/CliFixture.h"

#include <algorithm>
#include <thread>

#include "cli/RemoteAndWirelessCommands.h"
#include "link/CommandCodes.h"
#include "link/HostMessages.h"
#include "simulator/VirtualDevice.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"

namespace sonoria::cli {
namespace {

using namespace std::chrono_literals;

TEST_F(CliTest, RemoteShowListsTheSixteenCodesWithTheirKeys) {
    const CliRun run = Cli({"--virtual", "remote", "show"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.out.starts_with("0 FF remote code\n1 00 load mode 1\n")) << run.out;
    EXPECT_TRUE(run.OutHas("\n15 00 effect volume down\n"));
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 16);
}

TEST_F(CliTest, RemoteLearnPrintsTheCodeAndWritesTheWholeBlock) {
    const CliRun run = Cli({"--virtual", "--trace", "remote", "learn", "5"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.OutHas("key 5 (mic volume up): 45\n")) << run.out;
    const auto learn = run.err.find("> 02 60 05\n");
    ASSERT_NE(learn, std::string::npos);
    EXPECT_NE(run.err.find("< 02 60 ff 05 45\n", learn), std::string::npos);
    // The block with the new code at byte 5 goes out after it; no stop.
    EXPECT_NE(run.err.find("> 02 63 ff 00 00 00 00 45\n", learn), std::string::npos);
    EXPECT_FALSE(run.ErrHas("> 02 61"));
}

TEST_F(CliTest, RemoteAndWirelessUsageErrorsSendNothing) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"remote", "learn"}, {"remote", "learn", "16"}, {"remote", "learn", "0"}, {"remote", "show", "x"},
             {"remote", "learn", "3", "--timeout=0"}, {"remote", "save", "f", "--timeout=3"},
             {"wmic"}, {"wmic", "pair", "1"}, {"wmic", "pair", "3", "--room", "A1"}, {"wmic", "pair", "1", "--room", "C1"},
             {"wmic", "set", "1", "volume", "256"}, {"wmic", "set", "1", "power", "2"}, {"wmic", "set", "1", "bass", "2"},
             {"wmic", "show", "--room", "A1"}, {"set", "MicVolume", "3", "--room", "A1"}}) {
        std::vector<std::string> full = {"--virtual=KR710QX", "--trace"};
        full.insert(full.end(), args.begin(), args.end());
        const CliRun run = Cli(full);
        EXPECT_EQ(run.status, kExitUsage) << args.back();
        EXPECT_TRUE(run.NothingSent()) << args.back();
        EXPECT_TRUE(run.ErrHas("error: ")) << args.back();
    }
}

TEST_F(CliTest, WirelessCommandsWorkOnTheModelWithAReceiverOnly) {
    const CliRun show = Cli({"--virtual=KR710QX", "wmic", "show"});
    ASSERT_EQ(show.status, kExitOk) << show.err;
    EXPECT_EQ(show.out,
              "room: A1\n"
              "mic 1: volume 200, gate 10, channel 0 (2400 MHz), power 0 dB, status 5 (active, paired)\n"
              "mic 2: volume 200, gate 10, channel 8 (2408 MHz), power 0 dB, status 5 (active, paired)\n");

    const CliRun other = Cli({"--virtual", "--trace", "wmic", "set", "1", "volume", "3"});
    EXPECT_EQ(other.status, kExitDevice);
    EXPECT_TRUE(other.ErrHas("error: the KR710Q has no wireless-microphone receiver")) << other.err;
    EXPECT_FALSE(other.ErrHas("> 02 12"));
}

TEST_F(CliTest, WirelessPairingSendsTheChannelThenTheRequestAndReportsTheResult) {
    const CliRun run = Cli({"--virtual=KR710QX", "--trace", "wmic", "pair", "2", "--room", "b3"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.OutHas("pairing mic 2 in room B3 on 2414 MHz\n")) << run.out;
    EXPECT_TRUE(run.OutHas("mic 2: active, paired\n")) << run.out;
    const auto channel = run.err.find("> 02 12 01 10 40 0e\n");
    ASSERT_NE(channel, std::string::npos);
    EXPECT_NE(run.err.find("> 02 12 01 14 60 f0\n", channel), std::string::npos);
    EXPECT_FALSE(run.ErrHas("> 02 12 01 10 45"));  // never the status item

    const CliRun set = Cli({"--virtual=KR710QX", "--trace", "wmic", "set", "2", "gate", "40"});
    ASSERT_EQ(set.status, kExitOk) << set.err;
    EXPECT_EQ(set.out, "mic 2 gate 40\n");
    EXPECT_TRUE(set.ErrHas("> 02 12 01 09 1e 28\n"));
    const CliRun power = Cli({"--virtual=KR710QX", "--trace", "wmic", "set", "1", "power", "1"});
    ASSERT_EQ(power.status, kExitOk) << power.err;
    EXPECT_TRUE(power.ErrHas("> 02 12 00 10 42 01\n"));
}

// A key that never comes: the session on a device that waits long before it hears one.
class CliLearnTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        device->SetLearnDelay(30s);
        ASSERT_EQ(session.Open(), kExitOk);
        device->ClearRecord();
    }
    std::vector<Report> Stops() const {
        std::vector<Report> stops;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_END_LEARN) stops.push_back(r);
        }
        return stops;
    }
    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
    std::ostringstream errText;
    ErrorStream err{errText};
    DeviceSession session{device, false, err};
    std::ostringstream out;
};

TEST_F(CliLearnTest, ATimeOutStopsTheDeviceListeningAndFails) {
    EXPECT_EQ(LearnRemoteKey(session, 3, 1s, out, err), kExitDevice);
    EXPECT_EQ(Stops().size(), 1u);
    EXPECT_NE(errText.str().find("no key came from the remote control within 1 s"), std::string::npos)
        << errText.str();
    EXPECT_EQ(device->RemoteBlock()[3], 0);
}

TEST_F(CliLearnTest, AnInterruptionStopsTheDeviceListeningAndFails) {
    // Once the device listens, i.e. while the command waits for the key.
    std::thread interrupt([this] {
        device->WaitForReceived(1, test::kEventTimeout);
        InterruptSynchronisation();
    });
    EXPECT_EQ(LearnRemoteKey(session, 3, 30s, out, err), kExitDevice);
    interrupt.join();
    EXPECT_EQ(Stops().size(), 1u);
    EXPECT_NE(errText.str().find("interrupted: the device stopped listening"), std::string::npos) << errText.str();
    EXPECT_FALSE(SynchronisationInterrupted());
}

}  // namespace
}  // namespace sonoria::cli
