// Every reason a mode or remote code file is refused for, in both languages,
// as the windows and the command-line tool show it; and the size bound of a
// mode data file, checked on the file's size before anything is read.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "files/FileRefusal.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "files/RemoteFile.h"
#include "state/DeviceState.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

namespace fs = std::filesystem;
constexpr int kZh = kLanguageChinese;
constexpr int kEn = kLanguageEnglish;

class FileRefusalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDeviceState();
        dir = fs::temp_directory_path() / ("sonoria-refusal-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return Path(name);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Magic(const char* text) {
        std::string bytes;
        for (const char* c = text; *c != '\0'; ++c) bytes += std::string{*c, '\0'};
        bytes.resize(kModeMagicBytes, '\0');
        return bytes;
    }

    test::ProcessStateGuard state;
    fs::path dir;
};

TEST_F(FileRefusalTest, EveryReasonInBothLanguagesAndNothingChanges) {
    Put("empty.k71x", "");
    Put("short.k71x", std::string(100, 'x'));
    Put("v3short.k71x", Magic("710ModeV3"));
    std::string v4 = Magic("710ModeV4");
    v4.resize(kModeFileSize, 'U');
    Put("v4.k71x", v4);
    Put("huge.k71x", "");
    fs::resize_file(dir / "huge.k71x", kModeFileMaxSize + 1);  // sparse: the size is all it has
    Put("long.remo", std::string(kRemoteBlockSize + 1, 'r'));
    fs::create_directory(dir / "folder.k71x");
    const std::string noSuchFile = std::strerror(ENOENT);
    const struct {
        std::string name;
        int language;
        std::string text;  // with P for the path
    } cases[] = {
        {"missing.k71x", kEn, "cannot open P: " + noSuchFile},
        {"missing.k71x", kZh, "无法打开 P：" + noSuchFile},
        {"folder.k71x", kEn, "P is not a regular file"},
        {"folder.k71x", kZh, "P 不是普通文件"},
        {"empty.k71x", kEn, "P is empty"},
        {"empty.k71x", kZh, "P 是空文件"},
        {"short.k71x", kEn, "P is too short to be a mode data file: 100 bytes, a file without header needs at least 336"},
        {"short.k71x", kZh, "P 太短，不是模式数据文件：100 字节，无文件头的文件至少需要 336 字节"},
        {"v3short.k71x", kEn, "P is too short to be a mode data file: 40 bytes, a version 3 file needs at least 590"},
        {"v3short.k71x", kZh, "P 太短，不是模式数据文件：40 字节，版本 3 的文件至少需要 590 字节"},
        {"v4.k71x", kEn, "P is a version 4 mode file, whose layout this program does not know"},
        {"v4.k71x", kZh, "P 是第 4 版模式文件，本程序不认识它的格式"},
        {"huge.k71x", kEn, "P is too long to be a mode data file: 65537 bytes, no layout is longer than 65536"},
        {"huge.k71x", kZh, "P 太长，不是模式数据文件：65537 字节，任何格式都不超过 65536 字节"},
        {"long.remo", kEn, "P is too long to be a remote code file: 17 bytes, it holds at most 16"},
        {"long.remo", kZh, "P 太长，不是遥控文件：17 字节，最多只能有 16 字节"},
    };
    SetParam(1, 0, {0x12, 0x34});
    g_Device.remote[0].store(0x56);
    for (const auto& c : cases) {
        SetCurrentLanguage(c.language);
        const std::string path = Path(c.name);
        std::string error;
        std::vector<std::uint8_t> bytes;
        const int read =
            c.name.ends_with(".remo") ? int(ReadRemoteFileBytes(path, bytes, &error)) : ReadModeFile(path, &error);
        EXPECT_EQ(read, 0) << c.name;
        std::string expected = c.text;
        expected.replace(expected.find('P'), 1, path);
        EXPECT_EQ(error, expected);
    }
    EXPECT_EQ(GetParam(1, 0), (ParamBytes{0x12, 0x34}));
    EXPECT_EQ(g_Device.remote[0].load(), 0x56);

    // A read that fails after the open cannot be staged with a file.
    const FileRefusal unreadable{.reason = FileRefusalReason::CannotRead, .path = "/x", .systemError = EIO};
    EXPECT_EQ(FileRefusalText(unreadable, kEn), "cannot read /x: " + std::string(std::strerror(EIO)));
    EXPECT_EQ(FileRefusalText(unreadable, kZh), "无法读取 /x：" + std::string(std::strerror(EIO)));
}

TEST_F(FileRefusalTest, AModeFileOfExactlyTheLargestSizeLoads) {
    SetParam(3, 5, {0x21, 0x43});
    const std::string path = Path("largest.k71x");
    ASSERT_EQ(WriteModeFile(path), 1);
    fs::resize_file(path, kModeFileMaxSize);
    SetParam(3, 5, {0, 0});
    std::string error;
    EXPECT_EQ(ReadModeFile(path, &error), 1) << error;
    EXPECT_EQ(GetParam(3, 5), (ParamBytes{0x21, 0x43}));
}

}  // namespace
}  // namespace sonoria
