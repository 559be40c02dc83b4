// sonoria-cli against the virtual device: outputs, exit statuses, error lines
// and the trace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/CliFixture.h"
#include "files/ModeFileFormat.h"
#include "state/ParameterTable.h"

namespace sonoria::cli {
namespace {

namespace fs = std::filesystem;

TEST_F(CliTest, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "no command given"},
        {{"--virtual", "frobnicate"}, "unknown command \"frobnicate\""},
        {{"--lang=fr", "info"}, "--lang takes en or zh"},
        {{"--bogus", "info"}, "unknown option --bogus"},
        {{"--virtual", "mode", "load", "5"}, "mode number from 1 to 4"},
        {{"--virtual", "load", "x.k71x", "--mode", "0"}, "--mode takes a stored mode number"},
        {{"--virtual", "get"}, "get takes one parameter name"},
        {{"--virtual", "get", "NoSuchThing"}, "unknown parameter \"NoSuchThing\""},
        {{"--virtual", "set", "MicMeter", "3"}, "\"MicMeter\" is read-only"},
        {{"--virtual", "set", "MicVolume", "128"}, "from 0 to 127"},
        {{"--virtual", "set", "MicLowPassFreq", "12x"}, "from 0 to 32767"},
        {{"--virtual", "remote", "copy", "a"}, "remote takes save or load"},
        // Without a device: the words are checked before any device is looked for.
        {{"get"}, "get takes one parameter name"},
        {{"get", "NoSuchThing"}, "unknown parameter \"NoSuchThing\""},
        {{"get", "MicVolume", "MusicVolume"}, "get takes one parameter name"},
        {{"info", "now"}, "info takes no arguments"},
        {{"dump", "all"}, "dump takes no arguments"},
        {{"list", "all"}, "list takes no arguments"},
        {{"save"}, "save takes a file name"},
        {{"load"}, "load takes a file name"},
        {{"mode", "jump", "2"}, "mode takes load, save or recall, not \"jump\""},
        {{"info", "--mode", "2"}, "--mode goes with load only"},
        {{"get", "MicVolume", "--force"}, "--force goes with set and mode only"},
        {{"--virtual-state=", "info"}, "--virtual-state= needs the name of a mode data file"},
        {{"--virtual-fault=slow:+5", "info"}, "--virtual-fault takes silent-after:N, break-after:N, slow:MS or drop-writes:N"},
        {{"set", "MicVolume", " 5"}, "from 0 to 127"},
        {{"set", "MicVolume", "+5"}, "from 0 to 127"},
        {{"set", "MicVolume", "-1"}, "from 0 to 127"},
        {{"set", "SubVolume", "255"}, "the raw value of SubVolume is a whole number from 0 to 49"},
        {{"set", "SubPhase", "72"}, "from 0 to 71"},
        {{"set", "PitchShift", "0"}, "from 56 to 72"},
        {{"set", "EchoType", "5"}, "from 0 to 4"},
        {{"set", "MainLDelay", "8191"}, "from 0 to 8190"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, kExitUsage) << c.message;
        EXPECT_EQ(run.err.rfind("error: ", 0), 0u) << run.err;
        EXPECT_TRUE(run.ErrHas(c.message)) << run.err;
    }
    EXPECT_EQ(Cli({"--help"}).status, kExitOk);
}

TEST_F(CliTest, HelpTellsWhatLoadAndSaveDoWithFileNames) {
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    for (const char* text : {"m1, m2,\n", "melorin1..4", "is then also stored into that\n",
                             "the extension .k71x is appended\n", "the extension .remo is appended\n",
                             "--virtual-fault=FAULT", "silent-after:N", "--force", "130"}) {
        EXPECT_TRUE(help.OutHas(text)) << text;
    }
}

TEST_F(CliTest, InfoAndList) {
    const CliRun info = Cli({"--virtual=KR710QX", "info"});
    ASSERT_EQ(info.status, kExitOk) << info.err;
    EXPECT_EQ(info.out, "machine: KR710QX\nhardware-version: 2019-06-20\nsub-version: 03\nmode: 1\n"
                        "record-layout: 14 bytes\n");
    const CliRun list = Cli({"--virtual", "list"});
    EXPECT_EQ(list.status, kExitOk);
    EXPECT_EQ(list.out, "virtual:sonoria-0\n");
}

TEST_F(CliTest, GetShowsAddressRawValueAndTextInTheChosenLanguage) {
    const CliRun english = Cli({"--virtual", "get", "MicGateThreshold"});
    EXPECT_EQ(english.out, "MicGateThreshold 1/2 0 Bypass\n");
    const CliRun chinese = Cli({"--virtual", "--lang=zh", "get", "MicGateThreshold"});
    EXPECT_EQ(chinese.out, "MicGateThreshold 1/2 0 关闭\n");
    const CliRun dump = Cli({"--virtual", "dump"});
    EXPECT_EQ(static_cast<std::size_t>(std::count(dump.out.begin(), dump.out.end(), '\n')), AllParams().size());
    EXPECT_TRUE(dump.OutHas("\nPitchShift 5/1 64 "));
}

TEST_F(CliTest, SetSendsTheValueAndTheTraceShowsBothDirections) {
    const CliRun run = Cli({"--virtual", "--trace", "set", "MicCompThreshold", "127"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "MicCompThreshold 1/6 127 0.0dB\n");  // (127 - 1) / 3 - 42
    EXPECT_TRUE(run.ErrHas("> 02 80\n"));                    // machine name: bytes 0 and 1 at least
    EXPECT_TRUE(run.ErrHas("< 02 80 4b 52 37 31 30 51\n"));  // "KR710Q"
    const auto set = run.err.find("> 02 09 01 06 7f ff\n");
    ASSERT_NE(set, std::string::npos);
    EXPECT_NE(run.err.find("< 02 09\n", set), std::string::npos);
    EXPECT_NE(run.err.find("> 02 8a\n", set), std::string::npos);  // goodbye at the end
}

TEST_F(CliTest, ARefusedModelIsNamedAndNothingIsRead) {
    const CliRun run = Cli({"--virtual=KR710P", "--trace", "info"});
    EXPECT_EQ(run.status, kExitDevice);
    EXPECT_TRUE(run.ErrHas("error: the device reports the model \"KR710P\""));
    EXPECT_FALSE(run.ErrHas("> 02 0a"));
    EXPECT_TRUE(run.out.empty());
}

TEST_F(CliTest, SaveThenLoadCarriesTheParametersAndStoresTheTargetMode) {
    const CliRun save = Cli({"--virtual", "save", Path("backup")});
    ASSERT_EQ(save.status, kExitOk) << save.err;
    EXPECT_EQ(save.out, "saved " + Path("backup.k71x") + "\n");
    ASSERT_EQ(fs::file_size(Path("backup.k71x")), kModeFileSize);

    // Change MicCompThreshold (1/6, at 40 + 2 * 6) in the file.
    std::fstream file(Path("backup.k71x"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(52);
    file.put(static_cast<char>(77));
    file.close();
    fs::copy_file(Path("backup.k71x"), Path("M3 party.k71x"));

    const CliRun load = Cli({"--virtual", "--trace", "load", Path("M3 party.k71x")});
    ASSERT_EQ(load.status, kExitOk) << load.err;
    EXPECT_EQ(load.out, "loaded " + Path("M3 party.k71x") + "\nstored in mode 3\n");
    EXPECT_TRUE(load.ErrHas("> 02 09 01 06 4d\n"));
    const auto select = load.err.find("> 02 03 02\n");
    ASSERT_NE(select, std::string::npos);
    EXPECT_NE(load.err.find("> 02 04 02\n", select), std::string::npos);

    const CliRun override = Cli({"--virtual", "--trace", "load", Path("M3 party.k71x"), "--mode", "1"});
    EXPECT_TRUE(override.OutHas("stored in mode 1\n"));

    const CliRun started = Cli({"--virtual-state=" + Path("backup.k71x"), "get", "MicCompThreshold"});
    EXPECT_EQ(started.out, "MicCompThreshold 1/6 77 -16.7dB\n");  // (77 - 1) / 3 - 42 = -16.67
}

TEST_F(CliTest, FileErrorsExitWithThree) {
    const CliRun missing = Cli({"--virtual", "load", Path("missing.k71x")});
    EXPECT_EQ(missing.status, kExitFile);
    EXPECT_TRUE(missing.ErrHas("error: cannot open " + Path("missing.k71x")));

    std::ofstream(Path("v4.k71x"), std::ios::binary)
        .write("7\0" "1\0" "0\0" "M\0" "o\0" "d\0" "e\0" "V\0" "4\0" "\0\0", 20);
    const CliRun v4 = Cli({"--virtual", "load", Path("v4.k71x")});
    EXPECT_EQ(v4.status, kExitFile);
    EXPECT_TRUE(v4.ErrHas("version 4"));

    const CliRun unwritable = Cli({"--virtual", "save", Path("no-dir/x")});
    EXPECT_EQ(unwritable.status, kExitFile);
    EXPECT_TRUE(unwritable.ErrHas("error: cannot write " + Path("no-dir/x.k71x")));

    const CliRun badState = Cli({"--virtual-state=" + Path("missing.k71x"), "info"});
    EXPECT_EQ(badState.status, kExitFile);
    EXPECT_TRUE(badState.ErrHas("cannot start the virtual device"));
}

TEST_F(CliTest, RemoteCodesRoundTripThroughAFile) {
    const CliRun save = Cli({"--virtual", "remote", "save", Path("codes.txt")});
    ASSERT_EQ(save.status, kExitOk) << save.err;
    ASSERT_EQ(fs::file_size(Path("codes.remo")), 16u);
    const CliRun load = Cli({"--virtual", "--trace", "remote", "load", Path("codes")});
    ASSERT_EQ(load.status, kExitOk) << load.err;
    EXPECT_TRUE(load.ErrHas("> 02 63"));
    EXPECT_EQ(Cli({"--virtual", "remote", "load", Path("none")}).status, kExitFile);
}

TEST_F(CliTest, ModeCommandsWaitForTheDeviceToBeReadAgain) {
    const CliRun run = Cli({"--virtual", "--trace", "mode", "load", "2"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "loaded mode 2\n");
    const auto load = run.err.find("> 02 05 01\n");
    ASSERT_NE(load, std::string::npos);
    EXPECT_NE(run.err.find("> 02 80\n", load), std::string::npos);  // the read-all that follows
    EXPECT_EQ(Cli({"--virtual", "mode", "save", "4"}).out, "saved mode 4\n");
}

TEST_F(CliTest, TheUdevRuleGrantsTheSeatUserAccess) {
    const CliRun run = Cli({"print-udev-rules"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_TRUE(run.OutHas("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"2010\", ATTRS{idProduct}==\"1031\", "
                           "TAG+=\"uaccess\""));
    std::ifstream file(SONORIA_SOURCE_DIR "/packaging/70-sonoria.rules");
    EXPECT_EQ(run.out, std::string(std::istreambuf_iterator<char>(file), {}));
}

}  // namespace
}  // namespace sonoria::cli
