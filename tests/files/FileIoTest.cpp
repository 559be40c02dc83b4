// Saving files: a save replaces the old file only once the new one is whole.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "files/FileIo.h"
#include "support/ProcessState.h"

namespace sonoria {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("sonoria-fileio-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        SetWriteFailureHandler([this](int code, const std::string& path) { failures.push_back({code, path}); });
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Content(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    // Every name in the folder, so that a temporary file left behind shows.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static bool Save(const std::string& path, const std::string& text) {
        return WriteFileBytes(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }

    test::ProcessStateGuard state;
    fs::path dir;
    std::vector<std::pair<int, std::string>> failures;
};

// Runs `body` without the superuser's right to write anywhere, so that a
// folder's permissions count even when the tests run as root.
template <typename Body>
void AsOrdinaryUser(Body body) {
    const uid_t before = ::geteuid();
    if (before == 0) {
        ASSERT_EQ(::seteuid(65534), 0);
    }
    body();
    if (before == 0) {
        ASSERT_EQ(::seteuid(0), 0);
    }
}

TEST_F(FileIoTest, ASaveReplacesTheFileAndKeepsItsPermissions) {
    Put(dir / "a.k71x", "old content, longer than the new one");
    fs::permissions(dir / "a.k71x", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Save(Path("a.k71x"), "new"));
    EXPECT_EQ(Content(dir / "a.k71x"), "new");
    EXPECT_EQ(fs::status(dir / "a.k71x").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), std::vector<std::string>{"a.k71x"});

    // A new file gets what the umask lets a new file have.
    const mode_t previous = ::umask(027);
    ASSERT_TRUE(Save(Path("b.k71x"), "b"));
    ::umask(previous);
    EXPECT_EQ(fs::status(dir / "b.k71x").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Through a symbolic link the file it names is replaced; the link stays.
    fs::create_symlink(dir / "b.k71x", dir / "link.k71x");
    ASSERT_TRUE(Save(Path("link.k71x"), "via link"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.k71x"));
    EXPECT_EQ(Content(dir / "b.k71x"), "via link");
    EXPECT_TRUE(failures.empty());
}

TEST_F(FileIoTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    Put(dir / "keep.k71x", "the previous save");
    // A file size limit makes the write itself fail, whoever runs the test.
    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = Save(Path("keep.k71x"), std::string(948, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousSignal);

    EXPECT_FALSE(saved);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].first, EFBIG);
    EXPECT_EQ(failures[0].second, Path("keep.k71x"));
    EXPECT_EQ(Content(dir / "keep.k71x"), "the previous save");
    EXPECT_EQ(Names(), std::vector<std::string>{"keep.k71x"});
}

TEST_F(FileIoTest, ASaveIntoAReadOnlyFolderOrOverAProtectedFileChangesNothing) {
    Put(dir / "old.k71x", "old");
    fs::permissions(dir / "old.k71x", fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                                         fs::perms::others_exec));  // anyone may write it
    Put(dir / "protected.k71x", "protected");
    fs::permissions(dir / "protected.k71x", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
    // Writable folder, write-protected file: the protection holds.
    AsOrdinaryUser([&] { EXPECT_FALSE(Save(Path("protected.k71x"), "new")); });
    EXPECT_EQ(Content(dir / "protected.k71x"), "protected");

    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // The file may be written, but no new file may be made beside it.
    AsOrdinaryUser([&] { EXPECT_FALSE(Save(Path("old.k71x"), "new")); });
    EXPECT_EQ(Content(dir / "old.k71x"), "old");
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].first, EACCES);
    EXPECT_EQ(failures[1].first, EACCES);
    EXPECT_EQ(failures[1].second, Path("old.k71x"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"old.k71x", "protected.k71x"}));
}

TEST_F(FileIoTest, FoldersAndPipesAreRefusedAndDevicesWrittenInPlace) {
    fs::create_directory(dir / "folder.k71x");
    EXPECT_FALSE(Save(Path("folder.k71x"), "x"));
    ASSERT_EQ(::mkfifo(Path("pipe.k71x").c_str(), 0600), 0);
    // Nobody reads it: opening it would wait forever, so returning at all says it was not opened.
    EXPECT_FALSE(Save(Path("pipe.k71x"), "x"));
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].first, EISDIR);
    EXPECT_EQ(failures[1].first, EINVAL);
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder.k71x", "pipe.k71x"}));
    if (fs::exists("/dev/null")) {
        EXPECT_TRUE(Save("/dev/null", "x"));  // written where it is, no temporary file in /dev
    }
}

}  // namespace
}  // namespace sonoria
