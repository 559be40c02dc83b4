// sonoria-cli diff (two files, or a file and the device) and load --verify,
// which reads back what the device took.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli/CliFixture.h"

namespace sonoria::cli {
namespace {

// Offsets in a version 3 file.
constexpr std::size_t kMicCompThresholdAt = 40 + 2 * 6;  // 1/6, first byte
constexpr std::size_t kPitchShiftAt = 246 + 2 * 1;       // 5/1
constexpr std::size_t kAutoSubAt = 590;
constexpr std::size_t kMaxMicAt = 592 + 3;               // machine-settings record, byte 3
constexpr std::size_t kRemoteKey1At = 606 + 1;

class CliCompareTest : public CliTest {
protected:
    void SetUp() override {
        same = SavedFile("same", {});
        changed = ChangedCopy(same, "changed.k71x", {{kMicCompThresholdAt, 77}, {kPitchShiftAt, 60}});
        std::ofstream(Path("damaged.k71x"), std::ios::binary) << std::string(100, 'x');
    }
    std::string same, changed;
};

// The two parameters `changed` differs in, its values second.
constexpr const char* kChangedLines = "MicCompThreshold 1/6 -12.3dB -16.7dB\nPitchShift 5/1 \" +0\" \"b -4\"\n";

TEST_F(CliCompareTest, DiffListsWhatDiffersAndTouchesNoDeviceForTwoFiles) {
    const std::string records =
        ChangedCopy(same, "records.k71x", {{kAutoSubAt, 7}, {kMaxMicAt, 100}, {kRemoteKey1At, 0x5a}});
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        bool deviceTouched;
    } cases[] = {
        {{"diff", same, same}, kExitOk, "", false},
        {{"diff", same, changed}, kExitDiffers, kChangedLines, false},
        {{"diff", same, records}, kExitDiffers,
         "auto-sub-0 auto-sub/0 0 7\nmax-mic machine/3 127 100\nremote-1 remote/1 00 5A\n", false},
        // The file is A, the device B.
        {{"--virtual", "diff", changed}, kExitDiffers,
         "MicCompThreshold 1/6 -16.7dB -12.3dB\nPitchShift 5/1 \"b -4\" \" +0\"\n", true},
        {{"--virtual-state=" + changed, "diff", changed}, kExitOk, "", true},
        {{"diff", same, Path("damaged.k71x")}, kExitFile, "", false},
        {{"--virtual", "diff", Path("damaged.k71x")}, kExitFile, "", false},
        {{"diff", same, Path("missing.k71x")}, kExitFile, "", false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        // A device that breaks at once: two files must not need it.
        args.insert(args.begin(), {"--trace", "--virtual-fault=break-after:0"});
        if (c.deviceTouched) args.erase(args.begin() + 1);
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.args.back();
        EXPECT_EQ(run.NothingSent(), !c.deviceTouched) << c.args.back();
        if (c.status == kExitFile) {
            EXPECT_EQ(run.err.rfind("error: ", 0), 0u) << run.err;
        }
    }
}

TEST_F(CliCompareTest, LoadVerifyListsWhatTheDeviceDidNotTake) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {{"--virtual", "load", changed, "--verify"}, kExitOk, "loaded " + changed + "\n", ""},
        // Every write dropped: each value that differs from the device's stays as it was.
        {{"--virtual-fault=drop-writes:1", "load", changed, "--verify"}, kExitDevice,
         "loaded " + changed + "\nMicCompThreshold 1/6 -16.7dB -12.3dB\nPitchShift 5/1 \"b -4\" \" +0\"\n",
         "error: the device did not take 2 parameters\n"},
        {{"--virtual-fault=drop-writes:1", "load", changed, "--mode", "2", "--verify"}, kExitDevice,
         "loaded " + changed + "\nMicCompThreshold 1/6 -16.7dB -12.3dB\nPitchShift 5/1 \"b -4\" \" +0\"\n",
         "error: the device did not take 2 parameters\nnothing was stored in mode 2\n"},
        {{"--virtual", "get", "MicVolume", "--verify"}, kExitUsage, "",
         "error: --verify goes with load only\nrun \"sonoria-cli --help\" for the commands\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.args[0];
        EXPECT_EQ(run.err, c.err) << c.args[0];
    }
}

}  // namespace
}  // namespace sonoria::cli
