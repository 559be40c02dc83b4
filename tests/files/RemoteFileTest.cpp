// The remote code file: what is refused is never sent, what is short patches
// the start of the block.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/RemoteFile.h"
#include "link/CommandCodes.h"
#include "state/DeviceState.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

namespace fs = std::filesystem;

class RemoteFileTest : public test::VirtualDeviceLinkTest {
protected:
    test::ScopedLanguage english{kLanguageEnglish};  // the refusals are checked in English
    void SetUp() override {
        VirtualDeviceLinkTest::SetUp();
        dir = fs::temp_directory_path() / ("sonoria-remote-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        for (std::size_t i = 0; i < kRemoteBlockSize; ++i) {
            g_Device.remote[i].store(static_cast<std::uint8_t>(0xA0 + i));
        }
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Put(const std::string& name, std::size_t size) {
        std::ofstream file(dir / name, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i) file.put(static_cast<char>(i + 1));
        return (dir / name).string();
    }
    bool BlockUnchanged() const {
        for (std::size_t i = 0; i < kRemoteBlockSize; ++i) {
            if (g_Device.remote[i].load() != 0xA0 + i) return false;
        }
        return true;
    }
    fs::path dir;
};

TEST_F(RemoteFileTest, RefusedFilesChangeNothingAndSendNothing) {
    ASSERT_EQ(::mkfifo((dir / "pipe.remo").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.remo");
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {Put("empty.remo", 0), "is empty"},
        {Put("long.remo", 17), "is too long to be a remote code file: 17 bytes, it holds at most 16"},
        {(dir / "pipe.remo").string(), "is not a regular file"},
        {(dir / "folder.remo").string(), "is not a regular file"},
        {(dir / "missing.remo").string(), "cannot open"},
    };
    for (const auto& c : cases) {
        std::string error;
        std::vector<std::uint8_t> bytes;
        EXPECT_FALSE(ReadRemoteFileBytes(c.path, bytes, &error)) << c.path;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(LoadRemoteFile(c.path), -1) << c.path;
    }
    EXPECT_TRUE(BlockUnchanged());
    EXPECT_TRUE(Received().empty());
}

TEST_F(RemoteFileTest, AShortFilePatchesTheStartOfTheBlockAndSendsItWhole) {
    // "codes.txt" reads codes.remo.
    Put("codes.remo", 10);
    ASSERT_EQ(LoadRemoteFile((dir / "codes.txt").string()), 1);
    ASSERT_TRUE(device->WaitForReceived(1, test::kEventTimeout));
    const auto sent = ReceivedWithCode(CMD_SET_REMOTE);
    ASSERT_EQ(sent.size(), 1u);
    for (std::size_t i = 0; i < kRemoteBlockSize; ++i) {
        const int expected = i < 10 ? static_cast<int>(i + 1) : static_cast<int>(0xA0 + i);
        EXPECT_EQ(sent[0][2 + i], expected) << i;
        EXPECT_EQ(g_Device.remote[i].load(), expected) << i;
    }
}

}  // namespace
}  // namespace sonoria
