// The mode data file: the exact layout written, and reading every version.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <iterator>
#include <thread>

#include "files/FileIo.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "state/DeviceState.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A value for every slot that tells where it came from.
ParamBytes Marker(int block, int index, int salt) {
    return {static_cast<std::uint8_t>(block * 16 + salt), static_cast<std::uint8_t>(index + salt * 40)};
}

void FillImage(int salt) {
    for (int block = 1; block <= 8; ++block) {
        for (int index = 0; index < kBlockSizes[block]; ++index) {
            SetParam(block, index, Marker(block, index, salt), ParamCopy::Normal);
            if (HasRearCopy(block)) SetParam(block, index, Marker(block, index, salt + 1), ParamCopy::Rear);
        }
    }
}

Bytes Magic(const char* text) {
    Bytes bytes(kModeMagicBytes, 0);
    for (std::size_t i = 0; text[i] != '\0'; ++i) bytes[2 * i] = static_cast<std::uint8_t>(text[i]);
    return bytes;
}

void AppendBlock(Bytes& out, int block, int count, int salt) {
    for (int index = 0; index < count; ++index) {
        const ParamBytes value = Marker(block, index, salt);
        out.push_back(value.first);
        out.push_back(value.second);
    }
}

class ModeFileTest : public ::testing::Test {
protected:
    test::ProcessStateGuard state;
    // The refusals are checked in English.
    test::ScopedLanguage english{kLanguageEnglish};
    void SetUp() override {
        ResetDeviceState();
        dir = fs::temp_directory_path() / ("sonoria-modefile-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    Bytes ReadBack(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return Bytes{std::istreambuf_iterator<char>(file), {}};
    }
    int Load(const Bytes& bytes, std::string* error = nullptr) {
        const fs::path path = dir / "in.k71x";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return ReadModeFile(path.string(), error);
    }
    fs::path dir;
};

TEST_F(ModeFileTest, Version3IsWrittenWithEveryFieldAtItsOffset) {
    FillImage(0);
    g_Device.autoSub[0].store(0xA1);
    g_Device.autoSub[1].store(0xA2);
    for (std::size_t i = 0; i < 14; ++i) g_Device.machineDevice[i].store(static_cast<std::uint8_t>(0xB0 + i));
    g_Device.machineEdit[0].store(0xEE);  // the edit copy is not saved
    for (std::size_t i = 0; i < 16; ++i) g_Device.remote[i].store(static_cast<std::uint8_t>(0xC0 + i));
    g_Device.lightRecords[3][16].store(0xD3);
    g_Device.lightTable[2].store(0xE2);
    const fs::path path = dir / "out.k71x";
    ASSERT_EQ(WriteModeFile(path.string()), 1);
    const Bytes bytes = ReadBack(path);
    ASSERT_EQ(bytes.size(), 948u);

    const Bytes magic = {'7', 0, '1', 0, '0', 0, 'M', 0, 'o', 0, 'd', 0, 'e', 0, 'V', 0, '3', 0, 0, 0};
    EXPECT_TRUE(std::equal(magic.begin(), magic.end(), bytes.begin()));
    EXPECT_TRUE(std::all_of(bytes.begin() + 20, bytes.begin() + 40, [](auto b) { return b == 0; }));

    const auto at = [&](std::size_t offset) { return ParamBytes{bytes[offset], bytes[offset + 1]}; };
    EXPECT_EQ(at(40), Marker(1, 0, 0));
    EXPECT_EQ(at(40 + 2 * 24), Marker(1, 24, 0));
    EXPECT_EQ(at(90), Marker(2, 0, 0));
    EXPECT_EQ(at(90 + 2 * 27), Marker(2, 27, 0));
    EXPECT_TRUE(std::all_of(bytes.begin() + 146, bytes.begin() + 154, [](auto b) { return b == 0; }));
    EXPECT_EQ(at(154), Marker(3, 0, 0));
    EXPECT_EQ(at(178 + 2 * 33), Marker(4, 33, 0));
    EXPECT_EQ(at(246 + 2 * 31), Marker(5, 31, 0));
    EXPECT_EQ(at(310), Marker(6, 0, 0));
    EXPECT_EQ(at(374 + 2 * 26), Marker(7, 26, 0));
    EXPECT_EQ(at(428), Marker(8, 0, 0));
    EXPECT_EQ(at(482), Marker(7, 0, 1));  // rear copies follow the normal ones
    EXPECT_EQ(at(536 + 2 * 26), Marker(8, 26, 1));
    EXPECT_EQ(bytes[590], 0xA1);
    EXPECT_EQ(bytes[591], 0xA2);
    EXPECT_EQ(bytes[592], 0xB0);
    EXPECT_EQ(bytes[605], 0xBD);
    EXPECT_EQ(bytes[606], 0xC0);
    EXPECT_EQ(bytes[621], 0xCF);
    EXPECT_EQ(bytes[622 + 3 * 17 + 16], 0xD3);
    EXPECT_EQ(bytes[692], 0xE2);
    EXPECT_TRUE(std::all_of(bytes.begin() + 693, bytes.end(), [](auto b) { return b == 0; }));
}

TEST_F(ModeFileTest, Version3RoundTripRestoresBothCopiesAndRouting) {
    FillImage(0);
    SetParam(4, 32, {0, 0});
    SetParam(4, 33, {127, 255});
    SetParam(1, 25, {5, 5});
    const fs::path path = dir / "rear.k71x";
    ASSERT_EQ(WriteModeFile(path.string()), 1);
    FillImage(3);
    g_Device.rearRouting.store(0);
    ASSERT_EQ(ReadModeFile(path.string()), 1);
    EXPECT_EQ(g_Device.rearRouting.load(), 1);
    EXPECT_EQ(GetParam(7, 5, ParamCopy::Normal), Marker(7, 5, 0));
    EXPECT_EQ(GetParam(7, 5, ParamCopy::Rear), Marker(7, 5, 1));
    EXPECT_EQ(GetParam(8, 26, ParamCopy::Rear), Marker(8, 26, 1));
    EXPECT_EQ(GetParam(8, 27, ParamCopy::Normal), Marker(8, 27, 3));  // beyond the file's slots
    EXPECT_EQ(GetParam(5, 31), Marker(5, 31, 0));
    EXPECT_EQ(GetParam(1, 25), Marker(1, 25, 3));                      // block 1 carries 0..24
}

TEST_F(ModeFileTest, RecordsInTheFileAreNeverApplied) {
    FillImage(0);
    g_Device.autoSub[0].store(7);
    for (std::size_t i = 0; i < 14; ++i) g_Device.machineDevice[i].store(0x11);
    g_Device.remote[3].store(0x22);
    g_Device.lightTable[0].store(0x33);
    const fs::path path = dir / "records.k71x";
    ASSERT_EQ(WriteModeFile(path.string()), 1);
    g_Device.autoSub[0].store(0);
    for (std::size_t i = 0; i < 14; ++i) g_Device.machineDevice[i].store(0x99);
    g_Device.remote[3].store(0x98);
    g_Device.lightTable[0].store(0x97);
    ASSERT_EQ(ReadModeFile(path.string()), 1);
    EXPECT_EQ(g_Device.autoSub[0].load(), 7);  // the automatic subwoofer is part of the mode
    EXPECT_EQ(g_Device.machineDevice[KeyLockBits].load(), 0x99);
    EXPECT_EQ(g_Device.machineDevice[PowerOnMicVolume].load(), 0x99);
    EXPECT_EQ(g_Device.remote[3].load(), 0x98);
    EXPECT_EQ(g_Device.lightTable[0].load(), 0x97);
}

Bytes Version1(bool rear) {
    Bytes bytes = Magic("710ModeV1");
    for (int block = 1; block <= 6; ++block) {
        AppendBlock(bytes, block, kModeFileBlockValues[block], 5);
        if (block == 2) bytes.resize(bytes.size() + 8, 0);
    }
    AppendBlock(bytes, 7, 27, 5);
    AppendBlock(bytes, 8, 27, 5);
    bytes.push_back(0x44);  // automatic subwoofer
    bytes.push_back(0x45);
    bytes.resize(bytes.size() + 11 + 16 + 68 + 3, 0x66);
    if (rear) {
        bytes[178 + 64] = 0;
        bytes[178 + 66] = 127;
    }
    return bytes;
}

TEST_F(ModeFileTest, Version1WithoutRearRoutingFillsTheNormalCopies) {
    FillImage(0);
    g_Device.rearRouting.store(1);
    ASSERT_EQ(Load(Version1(false)), 1);
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
    EXPECT_EQ(GetParam(7, 3, ParamCopy::Normal), Marker(7, 3, 5));
    EXPECT_EQ(GetParam(7, 3, ParamCopy::Rear), Marker(7, 3, 1));
    EXPECT_EQ(GetParam(8, 26, ParamCopy::Normal), Marker(8, 26, 5));
    EXPECT_EQ(g_Device.autoSub[0].load(), 0x44);
    EXPECT_EQ(g_Device.autoSub[1].load(), 0x45);
}

TEST_F(ModeFileTest, Version1WithRearRoutingKeepsTheImagesRearValuesInBothCopies) {
    FillImage(0);
    ASSERT_EQ(Load(Version1(true)), 1);
    EXPECT_EQ(g_Device.rearRouting.load(), 1);
    EXPECT_EQ(GetParam(7, 3, ParamCopy::Normal), Marker(7, 3, 1));
    EXPECT_EQ(GetParam(7, 3, ParamCopy::Rear), Marker(7, 3, 1));
    EXPECT_EQ(GetParam(8, 0, ParamCopy::Normal), Marker(8, 0, 1));
    EXPECT_EQ(GetParam(4, 33).first, 127);
}

TEST_F(ModeFileTest, Version2HasTheShortMachineRecord) {
    FillImage(0);
    Bytes bytes = Magic("710modev2");  // the magic is compared without regard to case
    for (int block = 1; block <= 6; ++block) {
        AppendBlock(bytes, block, kModeFileBlockValues[block], 6);
        if (block == 2) bytes.resize(bytes.size() + 8, 0);
    }
    for (int salt : {6, 7}) {
        AppendBlock(bytes, 7, 27, salt);
        AppendBlock(bytes, 8, 27, salt);
    }
    ASSERT_EQ(bytes.size(), 590u);
    bytes.push_back(0x12);
    bytes.push_back(0x13);
    bytes.resize(590 + 2 + 11 + 16 + 68 + 3, 0x77);
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ(GetParam(8, 4, ParamCopy::Rear), Marker(8, 4, 7));
    EXPECT_EQ(GetParam(3, 11), Marker(3, 11, 6));
    EXPECT_EQ(g_Device.autoSub[1].load(), 0x13);
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
}

TEST_F(ModeFileTest, FilesWithoutHeaderUseTheOldLayout) {
    FillImage(0);
    g_Device.rearRouting.store(1);
    Bytes bytes(574, 0);
    const auto put = [&](std::size_t offset, std::uint8_t first, std::uint8_t second) {
        bytes[offset] = first;
        bytes[offset + 1] = second;
    };
    put(0, 1, 1);           // 1/0
    put(48, 1, 2);          // 1/24
    put(50 + 10, 2, 5);     // 2/5
    put(50 + 32, 2, 7);     // 2/7
    put(50 + 66, 2, 24);    // 2/24
    put(120 + 22, 3, 11);   // 3/11
    put(144 + 4, 4, 1);     // 4/1
    put(144 + 34, 4, 17);   // 4/17
    put(144 + 60, 4, 30);   // 4/30
    put(208 + 32, 5, 16);   // 5/16
    put(272, 6, 0);         // 6/0
    put(474, 0xAB, 0xCD);   // automatic subwoofer
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ(GetParam(1, 0), (ParamBytes{1, 1}));
    EXPECT_EQ(GetParam(1, 24), (ParamBytes{1, 2}));
    EXPECT_EQ(GetParam(2, 5), (ParamBytes{2, 5}));
    EXPECT_EQ(GetParam(2, 6), Marker(2, 6, 0));  // not carried
    EXPECT_EQ(GetParam(2, 7), (ParamBytes{2, 7}));
    EXPECT_EQ(GetParam(2, 24), (ParamBytes{2, 24}));
    EXPECT_EQ(GetParam(2, 25), Marker(2, 25, 0));
    EXPECT_EQ(GetParam(3, 11), (ParamBytes{3, 11}));
    EXPECT_EQ(GetParam(4, 0), Marker(4, 0, 0));
    EXPECT_EQ(GetParam(4, 1), (ParamBytes{4, 1}));
    EXPECT_EQ(GetParam(4, 16), Marker(4, 16, 0));
    EXPECT_EQ(GetParam(4, 17), (ParamBytes{4, 17}));
    EXPECT_EQ(GetParam(4, 30), (ParamBytes{4, 30}));
    EXPECT_EQ(GetParam(4, 31), Marker(4, 31, 0));
    EXPECT_EQ(GetParam(5, 16), (ParamBytes{5, 16}));
    EXPECT_EQ(GetParam(5, 17), Marker(5, 17, 0));
    EXPECT_EQ(GetParam(6, 0), (ParamBytes{6, 0}));
    EXPECT_EQ(GetParam(7, 0, ParamCopy::Normal), Marker(7, 0, 0));
    EXPECT_EQ(g_Device.autoSub[0].load(), 0xAB);
    EXPECT_EQ(g_Device.rearRouting.load(), 1);  // left as it was
}

TEST_F(ModeFileTest, AFileCutOffInItsRecordsLoadsWhatItHolds) {
    FillImage(0);
    g_Device.autoSub[0].store(0x31);
    g_Device.autoSub[1].store(0x32);
    const fs::path path = dir / "full.k71x";
    ASSERT_EQ(WriteModeFile(path.string()), 1);
    Bytes bytes = ReadBack(path);
    FillImage(2);
    g_Device.autoSub[1].store(0x99);
    bytes.resize(591);  // the parameters and the first byte of the automatic-subwoofer record
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ(GetParam(8, 26, ParamCopy::Rear), Marker(8, 26, 1));
    EXPECT_EQ(g_Device.autoSub[0].load(), 0x31);
    EXPECT_EQ(g_Device.autoSub[1].load(), 0x99);  // beyond the end: kept
}

TEST_F(ModeFileTest, AFileShorterThanItsParameterSectionIsRefusedAndChangesNothing) {
    const Bytes v3 = Magic("710ModeV3");
    const struct {
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {Bytes{}, "in.k71x is empty"},
        {Bytes(100, 'x'), "100 bytes, a file without header needs at least 336"},
        {Bytes(335, 0), "335 bytes, a file without header needs at least 336"},
        {Bytes(v3.begin(), v3.begin() + 20), "20 bytes, a version 3 file needs at least 590"},
        {[&] { Bytes b = Magic("710ModeV3"); b.resize(589); return b; }(), "589 bytes, a version 3"},
        {[&] { Bytes b = Magic("710ModeV2"); b.resize(589); return b; }(), "589 bytes, a version 2"},
        {[&] { Bytes b = Version1(false); b.resize(481); return b; }(), "481 bytes, a version 1 file"},
    };
    for (const auto& c : cases) {
        FillImage(2);
        g_Device.rearRouting.store(1);
        std::string error;
        EXPECT_EQ(Load(c.bytes, &error), 0) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(GetParam(1, 0), Marker(1, 0, 2)) << c.reason;
        EXPECT_EQ(g_Device.rearRouting.load(), 1) << c.reason;
        EXPECT_EQ(LoadModeFileBytes(c.bytes), 0) << c.reason;
    }
    // Each layout at exactly its parameter section's length loads.
    for (Bytes bytes : {Bytes(336, 1), [] { Bytes b = Version1(false); b.resize(482); return b; }(),
                        [] { Bytes b = Magic("710ModeV3"); b.resize(590, 3); return b; }()}) {
        FillImage(2);
        EXPECT_EQ(Load(bytes), 1) << bytes.size();
        EXPECT_NE(GetParam(1, 0), Marker(1, 0, 2)) << bytes.size();
    }
}

TEST_F(ModeFileTest, OnlyRegularFilesAreOpenedAndAPipeNeverBlocks) {
    FillImage(2);
    const fs::path pipe = dir / "pipe.k71x";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Should the reader ever open the pipe, the watcher sees it (a writer's
    // non-blocking open succeeds only while a reader has the pipe open) and
    // frees it, so that the failure shows instead of a hung test.
    std::atomic<bool> answered{false};
    std::atomic<bool> pipeOpened{false};
    std::thread watcher([&] {
        while (!answered.load()) {
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                pipeOpened.store(true);
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::string error;
    EXPECT_EQ(ReadModeFile(pipe.string(), &error), 0);
    answered.store(true);
    watcher.join();
    EXPECT_FALSE(pipeOpened.load());
    EXPECT_EQ(error, pipe.string() + " is not a regular file");

    EXPECT_EQ(ReadModeFile(dir.string(), &error), 0);
    EXPECT_EQ(error, dir.string() + " is not a regular file");
    if (fs::exists("/dev/zero")) {
        EXPECT_EQ(ReadModeFile("/dev/zero", &error), 0);
        EXPECT_EQ(error, "/dev/zero is not a regular file");
    }
    EXPECT_EQ(GetParam(1, 0), Marker(1, 0, 2));

    // A link to a regular file is that file.
    FillImage(0);
    ASSERT_EQ(WriteModeFile((dir / "real.k71x").string()), 1);
    fs::create_symlink(dir / "real.k71x", dir / "link.k71x");
    FillImage(2);
    EXPECT_EQ(ReadModeFile((dir / "link.k71x").string()), 1);
    EXPECT_EQ(GetParam(1, 0), Marker(1, 0, 0));
}

TEST_F(ModeFileTest, ATextFileLoadsOnlyWhenItIsAsLongAsAFileWithoutHeader) {
    const std::string note = "party settings for saturday\n";
    std::string text;
    while (text.size() < 400) text += note;
    FillImage(2);
    EXPECT_EQ(Load(Bytes(text.begin(), text.begin() + 300)), 0);
    EXPECT_EQ(Load(Bytes(text.begin(), text.end())), 1);  // read as the oldest layout, as such files always were
    EXPECT_EQ(GetParam(1, 0), (ParamBytes{'p', 'a'}));
    if (fs::is_regular_file("/etc/passwd")) {
        FillImage(2);
        const bool longEnough = fs::file_size("/etc/passwd") >= kHeaderlessParamEnd;
        EXPECT_EQ(ReadModeFile("/etc/passwd"), longEnough ? 1 : 0);
    }
}

TEST_F(ModeFileTest, Version4AndUnreadableFilesChangeNothing) {
    FillImage(0);
    Bytes bytes = Magic("710ModeV4");
    bytes.resize(948, 0x55);
    std::string error;
    EXPECT_EQ(Load(bytes, &error), 0);
    EXPECT_NE(error.find("version 4"), std::string::npos);
    EXPECT_EQ(GetParam(1, 0), Marker(1, 0, 0));
    EXPECT_EQ(ReadModeFile((dir / "missing.k71x").string(), &error), 0);
    EXPECT_NE(error.find("missing.k71x"), std::string::npos);
}

TEST_F(ModeFileTest, WriteFailuresAreReportedNeverSuccess) {
    std::vector<std::pair<int, std::string>> failures;
    SetWriteFailureHandler([&](int code, const std::string& path) { failures.push_back({code, path}); });
    const std::string missingDir = (dir / "no-such-dir" / "x.k71x").string();
    EXPECT_EQ(WriteModeFile(missingDir), 0);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].first, ENOENT);
    EXPECT_EQ(failures[0].second, missingDir);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(WriteModeFile("/dev/full"), 0);  // a full disk shows only at the flush
        ASSERT_EQ(failures.size(), 2u);
        EXPECT_EQ(failures[1].first, ENOSPC);
    }
}

}  // namespace
}  // namespace sonoria
