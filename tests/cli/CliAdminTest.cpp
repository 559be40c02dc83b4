// sonoria-cli reset, settings and settings set, and the key locks that mode
// keeps to, against the virtual device: what is printed and what the device
// received (the trace's "> " lines).
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/CliFixture.h"
#include "files/ModeFileFormat.h"
#include "state/DeviceState.h"

namespace sonoria::cli {
namespace {

// The machine-settings record in a version 3 file: after the parameters and
// the two bytes of the automatic-subwoofer record.
constexpr std::size_t kMachineAt = kV3ParamEnd + 2;

using Record = std::array<int, kMachineRecordSize>;

// Volumes kept as last used, power-on mic not set and music 80, ceilings mic
// 127, music 100, centre 49, sub 30, the locks in force on loading and saving
// modes; reserved bytes that must come back as they are.
constexpr Record kKnown = {0, 255, 80, 127, 100, 49, 30, 1, 0x30, 9, 8, 7, 6, 5};

constexpr const char* kKnownLines =
    "volume-save: random\n"
    "power-on-mic: off\n"
    "power-on-music: 80\n"
    "max-mic: 127\n"
    "max-music: 100\n"
    "max-center: 49\n"
    "max-sub: 30\n"
    "lock: on\n"
    "locks: load-mode,save-mode\n";

// The reports written to the device, as the trace shows them.
std::vector<std::string> Sent(const std::string& trace) {
    std::vector<std::string> sent;
    std::istringstream stream(trace);
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("> ", 0) == 0) sent.push_back(line);
    }
    return sent;
}

// `session` (connect, read-all, goodbye) with `extra` just before the goodbye.
std::vector<std::string> WithBeforeGoodbye(std::vector<std::string> session, const std::string& extra) {
    EXPECT_EQ(session.back(), "> 02 8a");
    session.insert(session.end() - 1, extra);
    return session;
}

// The trace line of command 145 with this record (every byte shown: the last is not zero).
std::string SetMachineLine(const Record& record) {
    std::string line = "> 02 91";
    for (int byte : record) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", byte);
        line += hex;
    }
    return line;
}

Record ImageCopy(const std::array<AtomicByte, kMachineRecordSize>& copy) {
    Record record{};
    for (std::size_t i = 0; i < record.size(); ++i) record[i] = copy[i].load();
    return record;
}

class CliAdminTest : public CliTest {
protected:
    // The option that starts the virtual device with this machine-settings record.
    std::string DeviceWith(const Record& record) {
        const std::string path = Path("machine.k71x");
        if (!std::ifstream(path)) {
            EXPECT_EQ(Cli({"--virtual", "save", path}).status, kExitOk);
        }
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(kMachineAt));
        for (int byte : record) file.put(static_cast<char>(byte));
        return "--virtual-state=" + path;
    }
    // What a command that sends nothing of its own sends on that device.
    std::vector<std::string> SessionTraffic(const std::string& device) {
        const CliRun info = Cli({device, "--trace", "info"});
        EXPECT_EQ(info.status, kExitOk) << info.err;
        return Sent(info.err);
    }
};

TEST_F(CliAdminTest, UsageErrorsAreCaughtBeforeAnyDeviceIsLookedFor) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"reset"}, "reset returns the device to its factory settings"},
        {{"reset", "now", "--yes"}, "reset takes no arguments but --yes"},
        {{"info", "--yes"}, "--yes goes with reset only"},
        {{"settings", "set", "lock=on", "--yes"}, "--yes goes with reset only"},
        {{"settings", "show"}, "settings takes no arguments, or set and KEY=VALUE pairs"},
        {{"settings", "set"}, "settings set takes KEY=VALUE pairs; the keys are volume-save, power-on-mic,"},
        {{"settings", "set", "max-mic"}, "settings set takes KEY=VALUE pairs, not \"max-mic\""},
        {{"settings", "set", "=5"}, "not \"=5\""},
        {{"settings", "set", "bass=3"}, "unknown setting \"bass\"; the keys are"},
        {{"settings", "set", "max-mic=3", "max-mic=4"}, "max-mic is given twice"},
        {{"settings", "set", "volume-save=1"}, "volume-save takes mode (volumes saved with each mode) or random"},
        {{"settings", "set", "power-on-mic=128"}, "power-on-mic takes off or a volume from 0 to 127"},
        {{"settings", "set", "power-on-mic=255"}, "power-on-mic takes off or a volume from 0 to 127"},
        {{"settings", "set", "power-on-music=-1"}, "power-on-music takes off or a volume from 0 to 127"},
        {{"settings", "set", "max-music=128"}, "max-music takes a ceiling from 0 to 127"},
        {{"settings", "set", "max-mic=off"}, "max-mic takes a ceiling from 0 to 127"},
        {{"settings", "set", "max-center=50"}, "max-center takes a ceiling from 0 to 49"},
        {{"settings", "set", "max-sub=+5"}, "max-sub takes a ceiling from 0 to 49"},
        {{"settings", "set", "lock=1"}, "lock takes on (the key locks in force) or off"},
        {{"settings", "set", "locks="}, "locks takes none or key locks separated by commas, from: mic-volume,"},
        {{"settings", "set", "locks=mic-volume,,remote"}, "locks takes none or key locks separated by commas"},
        {{"settings", "set", "locks=bass"}, "unknown key lock \"bass\"; the key locks are mic-volume,"},
        {{"settings", "set", "locks=remote,remote"}, "locks names remote twice"},
        // A good pair before a bad one sends nothing either.
        {{"settings", "set", "max-mic=3", "lock=maybe"}, "lock takes on"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--virtual", "--trace"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << c.message;
        EXPECT_EQ(run.err.rfind("error: ", 0), 0u) << run.err;
        EXPECT_TRUE(run.ErrHas(c.message)) << run.err;
        EXPECT_TRUE(run.NothingSent()) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        // Without any device the same: nothing looked for a device (none would give 1).
        EXPECT_EQ(Cli(c.args).status, kExitUsage) << c.message;
    }
    const CliRun unconfirmed = Cli({"reset"});
    EXPECT_TRUE(unconfirmed.ErrHas("Nothing was sent")) << unconfirmed.err;
    EXPECT_TRUE(unconfirmed.ErrHas("\"sonoria-cli reset --yes\" to confirm")) << unconfirmed.err;
}

TEST_F(CliAdminTest, ResetSendsTheFactoryResetAndNothingElse) {
    const CliRun run = Cli({"--virtual", "--trace", "reset", "--yes"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "the device was reset to its factory settings\n");
    EXPECT_EQ(Sent(run.err), WithBeforeGoodbye(SessionTraffic("--virtual"), "> 02 68 aa"));  // 104, 170
}

TEST_F(CliAdminTest, SettingsPrintsTheDeviceCopyAndSendsNothing) {
    const std::string device = DeviceWith(kKnown);
    const CliRun run = Cli({device, "--trace", "settings"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, kKnownLines);
    EXPECT_EQ(Sent(run.err), SessionTraffic(device));

    // The factory record; then every lock, each named in --help.
    EXPECT_EQ(Cli({"--virtual", "settings"}).out,
              "volume-save: random\npower-on-mic: off\npower-on-music: off\nmax-mic: 127\nmax-music: 127\n"
              "max-center: 127\nmax-sub: 127\nlock: off\nlocks: none\n");
    const CliRun all = Cli({DeviceWith({1, 0, 127, 0, 0, 0, 0, 0, 0xFF}), "settings"});
    const std::string locks = "mic-volume,music-volume,mic-menu,music-menu,load-mode,save-mode,remote,effect-volume";
    EXPECT_EQ(all.out, "volume-save: mode\npower-on-mic: 0\npower-on-music: 127\nmax-mic: 0\nmax-music: 0\n"
                       "max-center: 0\nmax-sub: 0\nlock: off\nlocks: " + locks + "\n");
    const CliRun help = Cli({"--help"});
    std::istringstream names(locks);
    for (std::string name; std::getline(names, name, ',');) EXPECT_TRUE(help.OutHas(name)) << name;
}

TEST_F(CliAdminTest, SettingsSetSendsTheChangedRecordOnceAndPrintsIt) {
    const struct {
        std::vector<std::string> pairs;
        Record sent;  // kKnown with the changes
        std::vector<std::string> lines;
    } cases[] = {
        {{"power-on-mic=60"}, {0, 60, 80, 127, 100, 49, 30, 1, 0x30, 9, 8, 7, 6, 5}, {"power-on-mic: 60"}},
        {{"power-on-music=off", "volume-save=mode"},
         {1, 255, 255, 127, 100, 49, 30, 1, 0x30, 9, 8, 7, 6, 5},
         {"volume-save: mode", "power-on-music: off"}},
        {{"max-mic=0", "max-music=127", "max-center=0", "max-sub=49"},
         {0, 255, 80, 0, 127, 0, 49, 1, 0x30, 9, 8, 7, 6, 5},
         {"max-mic: 0", "max-music: 127", "max-center: 0", "max-sub: 49"}},
        {{"lock=off"}, {0, 255, 80, 127, 100, 49, 30, 0, 0x30, 9, 8, 7, 6, 5}, {"lock: off", "locks: load-mode,save-mode"}},
        {{"locks=none"}, {0, 255, 80, 127, 100, 49, 30, 1, 0, 9, 8, 7, 6, 5}, {"lock: on", "locks: none"}},
        // Bits 7, 0 and 6, printed in bit order.
        {{"locks=effect-volume,mic-volume,remote"},
         {0, 255, 80, 127, 100, 49, 30, 1, 0xC1, 9, 8, 7, 6, 5},
         {"locks: mic-volume,remote,effect-volume"}},
        {{"locks=mic-menu,music-menu,music-volume,save-mode,load-mode", "power-on-mic=127"},
         {0, 127, 80, 127, 100, 49, 30, 1, 0x3E, 9, 8, 7, 6, 5},
         {"power-on-mic: 127", "locks: music-volume,mic-menu,music-menu,load-mode,save-mode"}},
    };
    for (const auto& c : cases) {
        const std::string device = DeviceWith(kKnown);
        const std::vector<std::string> session = SessionTraffic(device);
        std::vector<std::string> args = {device, "--trace", "settings", "set"};
        args.insert(args.end(), c.pairs.begin(), c.pairs.end());
        const CliRun run = Cli(args);
        const std::string row = c.pairs.front();
        ASSERT_EQ(run.status, kExitOk) << row << run.err;
        // One record and nothing else: no volume moved (no command 9 at all).
        EXPECT_EQ(Sent(run.err), WithBeforeGoodbye(session, SetMachineLine(c.sent))) << row;
        EXPECT_EQ(ImageCopy(g_Device.machineDevice), c.sent) << row;
        EXPECT_EQ(ImageCopy(g_Device.machineEdit), c.sent) << row;
        // Printed as "settings" prints a device that has the record.
        EXPECT_EQ(run.out, Cli({DeviceWith(c.sent), "settings"}).out) << row;
        for (const std::string& line : c.lines) EXPECT_TRUE(run.OutHas(line + "\n")) << row << ": " << line;
    }
}

TEST_F(CliAdminTest, SettingsSetPrintsNothingWhenTheDeviceDoesNotAnswer) {
    // Silent after the session's read-all: the record goes out unanswered.
    const std::size_t answers = SessionTraffic("--virtual").size() - 1;  // all but the goodbye
    const CliRun run = Cli({"--virtual-fault=silent-after:" + std::to_string(answers), "settings", "set", "lock=on"});
    EXPECT_EQ(run.status, kExitDevice);
    EXPECT_TRUE(run.ErrHas("error: the device did not answer the machine settings")) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

TEST_F(CliAdminTest, ModeKeepsToTheDevicesLoadAndSaveLocksUnlessForced) {
    // The command and the first two bytes the device receives for mode 2.
    const std::map<std::string, std::string> kCommandLine = {
        {"load", "> 02 05 01"}, {"recall", "> 02 06 01"}, {"save", "> 02 04 01"}};
    const struct {
        int enable, bits;
        const char* verb;
        bool force;
        const char* refusal;  // nullptr: the command goes
    } cases[] = {
        {1, 0x10, "load", false, "error: load mode locked on the device (key lock \"LOAD MODE\")"},
        {1, 0x10, "recall", false, "error: load mode locked on the device (key lock \"LOAD MODE\", which also"},
        {1, 0x10, "save", false, nullptr},
        {1, 0x20, "save", false, "error: save mode locked on the device (key lock \"SAVE MODE\")"},
        {1, 0x20, "load", false, nullptr},
        {1, 0x20, "recall", false, nullptr},
        {0, 0x30, "load", false, nullptr},  // the bits mean nothing while the locks are not in force
        {0, 0x30, "save", false, nullptr},
        {1, 0x30, "load", true, nullptr},
        {1, 0x30, "recall", true, nullptr},
        {1, 0x30, "save", true, nullptr},
    };
    for (const auto& c : cases) {
        const std::string device = DeviceWith({0, 255, 255, 127, 127, 49, 49, c.enable, c.bits});
        std::vector<std::string> args = {device, "--trace", "mode", c.verb, "2"};
        if (c.force) args.push_back("--force");
        const CliRun run = Cli(args);
        const std::string row = std::string(c.verb) + " " + std::to_string(c.bits) + (c.force ? " forced" : "");
        const std::vector<std::string> sent = Sent(run.err);
        const bool commandSent = std::find(sent.begin(), sent.end(), kCommandLine.at(c.verb)) != sent.end();
        if (c.refusal != nullptr) {
            EXPECT_EQ(run.status, kExitDevice) << row;
            EXPECT_TRUE(run.ErrHas(c.refusal)) << row << run.err;
            EXPECT_TRUE(run.ErrHas("; nothing was sent (--force ")) << row << run.err;
            EXPECT_EQ(sent, SessionTraffic(device)) << row;
            EXPECT_TRUE(run.out.empty()) << row;
        } else {
            EXPECT_EQ(run.status, kExitOk) << row << run.err;
            EXPECT_TRUE(commandSent) << row;
        }
    }
}

TEST_F(CliAdminTest, HelpListsTheAdministrationCommandsAndTheirOptions) {
    const CliRun help = Cli({"--help"});
    for (const char* text : {"\n  settings  ", "\n  settings set KEY=VALUE...\n", "\n  reset --yes  ",
                             "\n  mode load|save|recall N [--force]\n", "\n  --yes  ", "with set and mode only",
                             "volume-save=mode|random", "power-on-mic=off|N", "max-center=N", "lock=on|off",
                             "locks=LIST|none"}) {
        EXPECT_TRUE(help.OutHas(text)) << text;
    }
}

}  // namespace
}  // namespace sonoria::cli
