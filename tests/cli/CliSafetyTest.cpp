// sonoria-cli where things go wrong: files that are not mode or remote files,
// a device that falls silent or breaks, the device's locks and ceilings, and
// an interruption in the middle of a load.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "cli/CliFixture.h"
#include "cli/DeviceSession.h"
#include "link/DeviceLock.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"

namespace sonoria::cli {
namespace {

namespace fs = std::filesystem;

// Offsets in a version 3 file.
constexpr std::size_t kMicVolumeAt = 40 + 2 * 24;        // 1/24, first byte
constexpr std::size_t kMusicVolumeAt = 178 + 2 * 2;      // 4/2
constexpr std::size_t kMusicVolumeRightAt = 178 + 2 * 18;  // 4/18
constexpr std::size_t kMachineAt = 592;                  // machine-settings record

// The lines of the trace, one string each.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// The last written report whose line starts with `prefix`.
std::string LastSent(const std::string& trace, const std::string& prefix) {
    std::string last;
    for (const std::string& line : Lines(trace)) {
        if (line.rfind(prefix, 0) == 0) last = line;
    }
    return last;
}

using CliSafetyTest = CliTest;

TEST_F(CliSafetyTest, FilesThatAreNotModeOrRemoteFilesAreRefusedBeforeAnythingIsSent) {
    std::ofstream(Path("empty.k71x"));
    std::ofstream(Path("short.k71x")) << std::string(100, 'x');
    std::ofstream(Path("long.remo")) << std::string(17, 'x');
    std::ofstream(Path("huge.k71x"));
    fs::resize_file(Path("huge.k71x"), 64 * 1024 + 1);
    ASSERT_EQ(::mkfifo(Path("pipe.k71x").c_str(), 0600), 0);
    fs::create_directory(Path("folder.k71x"));
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } cases[] = {
        {{"load", Path("empty.k71x")}, Path("empty.k71x") + " is empty"},
        {{"load", Path("short.k71x")},
         Path("short.k71x") +
             " is too short to be a mode data file: 100 bytes, a file without header needs at least 336"},
        {{"load", Path("pipe.k71x")}, Path("pipe.k71x") + " is not a regular file"},
        {{"load", Path("folder.k71x")}, Path("folder.k71x") + " is not a regular file"},
        {{"load", "/dev/zero"}, "/dev/zero is not a regular file"},
        {{"load", Path("huge.k71x")},
         Path("huge.k71x") + " is too long to be a mode data file: 65537 bytes, no layout is longer than 65536"},
        {{"remote", "load", Path("long")},
         Path("long.remo") + " is too long to be a remote code file: 17 bytes, it holds at most 16"},
        {{"remote", "load", Path("missing")}, "cannot open " + Path("missing.remo") + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--virtual", "--trace"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = Cli(args);  // returns at all: opening the pipe would wait for a writer
        EXPECT_EQ(run.status, kExitFile) << c.reason;
        EXPECT_TRUE(run.ErrHas("error: " + c.reason + "\n")) << run.err;
        EXPECT_TRUE(run.NothingSent()) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    // The virtual device refuses the same files as its start.
    for (const char* name : {"empty.k71x", "short.k71x", "pipe.k71x"}) {
        const CliRun run = Cli({"--virtual-state=" + Path(name), "--trace", "info"});
        EXPECT_EQ(run.status, kExitFile) << name;
        EXPECT_TRUE(run.ErrHas("cannot start the virtual device from the file: " + Path(name))) << run.err;
        EXPECT_TRUE(run.NothingSent()) << run.err;
    }
}

TEST_F(CliSafetyTest, ADeviceThatFallsSilentIsReportedAndNothingIsSaved) {
    const CliRun info = Cli({"--virtual-fault=silent-after:3", "info"});
    EXPECT_EQ(info.status, kExitDevice);
    EXPECT_TRUE(info.ErrHas("error: the device did not answer while it was being read")) << info.err;
    EXPECT_TRUE(info.out.empty()) << info.out;

    const CliRun save = Cli({"--virtual-fault=silent-after:20", "save", Path("backup")});
    EXPECT_EQ(save.status, kExitDevice);
    EXPECT_TRUE(save.ErrHas("did not answer")) << save.err;
    EXPECT_FALSE(fs::exists(Path("backup.k71x")));

    const CliRun nameless = Cli({"--virtual-fault=silent-after:0", "get", "MicVolume"});
    EXPECT_EQ(nameless.status, kExitDevice);
    EXPECT_TRUE(nameless.ErrHas("error: the device did not answer when asked for its name")) << nameless.err;
    EXPECT_TRUE(nameless.out.empty());

    const CliRun broken = Cli({"--virtual-fault=break-after:10", "remote", "save", Path("codes")});
    EXPECT_EQ(broken.status, kExitDevice);
    EXPECT_TRUE(broken.ErrHas("did not answer")) << broken.err;
    EXPECT_FALSE(fs::exists(Path("codes.remo")));
}

TEST_F(CliSafetyTest, ADeviceThatFallsSilentAfterTheReadFailsTheLoadAndTheModeCommand) {
    // How many answers a whole read takes.
    const CliRun plain = Cli({"--virtual", "--trace", "info"});
    ASSERT_EQ(plain.status, kExitOk);
    std::size_t answers = 0;
    for (const std::string& line : Lines(plain.err)) answers += line.rfind("< ", 0) == 0 ? 1 : 0;
    const std::string fault = "--virtual-fault=silent-after:" + std::to_string(answers + 10);

    const std::string file = SavedFile("whole", {});
    const CliRun load = Cli({fault, "load", file, "--mode", "2"});
    EXPECT_EQ(load.status, kExitDevice);
    EXPECT_TRUE(load.ErrHas("error: the device did not take the whole file")) << load.err;
    EXPECT_FALSE(load.OutHas("loaded"));

    const CliRun mode = Cli({"--virtual-fault=silent-after:" + std::to_string(answers), "mode", "load", "3"});
    EXPECT_EQ(mode.status, kExitDevice);
    EXPECT_TRUE(mode.ErrHas("did not answer while it was read again")) << mode.err;
    EXPECT_TRUE(mode.out.empty()) << mode.out;
}

TEST_F(CliSafetyTest, SetKeepsToTheDevicesLocksAndCeilingsUnlessForced) {
    const std::string locked = SavedFile("locked", {{kMachineAt + 4, 80},    // MaxMusicVolume
                                                    {kMachineAt + 6, 30},    // MaxSubVolume
                                                    {kMachineAt + 7, 1},     // KeyLockEnable
                                                    {kMachineAt + 8, 0x01}});  // mic volume locked
    const std::string start = "--virtual-state=" + locked;

    const CliRun mic = Cli({start, "--trace", "set", "MicVolume", "10"});
    EXPECT_EQ(mic.status, kExitDevice);
    EXPECT_TRUE(mic.ErrHas("error: MicVolume is locked on the device (key lock \"MIC VOL\"); nothing was sent"))
        << mic.err;
    EXPECT_EQ(LastSent(mic.err, "> 02 09"), "");

    const CliRun music = Cli({start, "--trace", "set", "MusicVolume", "81"});
    EXPECT_EQ(music.status, kExitDevice);
    EXPECT_TRUE(music.ErrHas("81 is above the device's ceiling for MusicVolume (MaxMusicVolume 80)")) << music.err;
    EXPECT_EQ(LastSent(music.err, "> 02 09"), "");
    const CliRun sub = Cli({start, "set", "SubVolume", "31"});
    EXPECT_EQ(sub.status, kExitDevice);
    EXPECT_TRUE(sub.ErrHas("(MaxSubVolume 30)")) << sub.err;

    EXPECT_EQ(Cli({start, "set", "MusicVolume", "80"}).status, kExitOk);
    const CliRun forced = Cli({start, "--trace", "--force", "set", "MicVolume", "10"});
    EXPECT_EQ(forced.status, kExitOk) << forced.err;
    EXPECT_EQ(LastSent(forced.err, "> 02 09 01 18"), "> 02 09 01 18 0a");
    EXPECT_EQ(forced.out, "MicVolume 1/24 10 10\n");
    // With the locks not in force the lock bit means nothing.
    const std::string unlocked = SavedFile("unlocked", {{kMachineAt + 8, 0x03}});
    EXPECT_EQ(Cli({"--virtual-state=" + unlocked, "set", "MicVolume", "10"}).status, kExitOk);
}

// An error stream the test may read while the command writes to it.
class SharedText : public std::streambuf {
public:
    std::string Text() {
        std::lock_guard lock(mutex_);
        return text_;
    }

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            std::lock_guard lock(mutex_);
            text_.push_back(static_cast<char>(c));
        }
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::lock_guard lock(mutex_);
        text_.append(s, static_cast<std::size_t>(n));
        return n;
    }

private:
    std::mutex mutex_;
    std::string text_;
};

TEST_F(CliSafetyTest, AnInterruptedLoadRestoresTheVolumesSaysGoodbyeAndExits130) {
    // Volumes kept with each mode: the load silences them first.
    const std::string file = SavedFile("loud", {{kMachineAt + 0, 1},
                                                {kMicVolumeAt, 100},
                                                {kMusicVolumeAt, 90},
                                                {kMusicVolumeRightAt, 90}});
    SharedText errText;
    std::ostream err(&errText);
    std::ostringstream out;
    int status = -1;
    std::thread cli([&] {
        status = RunCli({"--virtual-state=" + file, "--virtual-fault=slow:10", "--trace", "load", file}, out, err);
    });
    // The first write of the load silences the microphone.
    test::Eventually([&] { return errText.Text().find("> 02 09 01 18\n") != std::string::npos; });
    InterruptSynchronisation();
    cli.join();
    const std::string trace = errText.Text();
    ASSERT_NE(trace.find("> 02 09 01 18\n"), std::string::npos) << trace;

    EXPECT_EQ(status, kExitInterrupted);
    EXPECT_TRUE(trace.find("interrupted") != std::string::npos) << trace;
    EXPECT_FALSE(out.str().find("loaded") != std::string::npos) << out.str();
    // The stored volumes went back, then the goodbye, and nothing after it.
    EXPECT_EQ(LastSent(trace, "> 02 09 01 18").rfind("> 02 09 01 18 64", 0), 0u) << trace;
    EXPECT_EQ(LastSent(trace, "> 02 09 04 02").rfind("> 02 09 04 02 5a", 0), 0u) << trace;
    EXPECT_EQ(LastSent(trace, "> 02 09 04 12").rfind("> 02 09 04 12 5a", 0), 0u) << trace;
    EXPECT_EQ(LastSent(trace, "> "), "> 02 8a");
    // The write-all stopped: its closing volume query never went out.
    EXPECT_EQ(trace.find("> 02 0c", trace.find("> 02 09 01 18\n")), std::string::npos);
    ClearSynchronisationInterrupt();
}

TEST_F(CliSafetyTest, ADeviceHeldByAnotherProgramIsRefusedWithItsProcessId) {
    SetDeviceLockDirectory(scratch.Folder().string());
    auto backend = std::make_shared<test::FakeHidBackend>();
    backend->interfaces = {{"/dev/hidraw3"}};
    backend->lockedLikeARealDevice = true;
    std::optional<long> holder;
    auto window = DeviceLock::Acquire("/dev/hidraw3", &holder);  // the window has it
    ASSERT_NE(window, nullptr);
    std::ostringstream errText;
    ErrorStream err(errText);
    {
        DeviceSession session(backend, false, err);
        EXPECT_EQ(session.Open(), kExitDevice);
    }
    EXPECT_NE(errText.str().find("in use by another program (process " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << errText.str();
    EXPECT_TRUE(backend->Written().empty());
    SetDeviceLockDirectory({});
}

}  // namespace
}  // namespace sonoria::cli
