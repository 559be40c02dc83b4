// The mode data file: the exact layout written, and reading every version.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/FileIo.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "state/DeviceState.h"

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
    void SetUp() override {
        ResetDeviceState();
        dir = fs::temp_directory_path() / ("sonoria-modefile-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        SetWriteFailureHandler({});
        ResetDeviceState();
    }
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

TEST_F(ModeFileTest, ShortFilesApplyOnlyTheBytesThatExist) {
    FillImage(0);
    const fs::path path = dir / "full.k71x";
    ASSERT_EQ(WriteModeFile(path.string()), 1);
    Bytes bytes = ReadBack(path);
    FillImage(2);
    bytes.resize(93);  // magic, block 1, block 2 values 0 and the first byte of 1
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ(GetParam(1, 24), Marker(1, 24, 0));
    EXPECT_EQ(GetParam(2, 0), Marker(2, 0, 0));
    EXPECT_EQ(GetParam(2, 1), (ParamBytes{Marker(2, 1, 0).first, Marker(2, 1, 2).second}));
    EXPECT_EQ(GetParam(2, 2), Marker(2, 2, 2));
    // A magic cut short is still recognised within the bytes there are.
    const Bytes magic = Magic("710ModeV3");
    const Bytes cutMagic(magic.begin(), magic.begin() + 20);
    EXPECT_EQ(Load(cutMagic), 1);
    EXPECT_EQ(DetectModeFileLayout(cutMagic), ModeFileLayout::V3);
    EXPECT_EQ(Load(Bytes{}), 1);
    EXPECT_EQ(GetParam(3, 3), Marker(3, 3, 2));
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
