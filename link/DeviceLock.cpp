#include "link/DeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "link/DebugLog.h"

namespace sonoria {
namespace {

std::mutex g_directoryMutex;
std::string g_directory;

std::string LockDirectory() {
    {
        std::lock_guard lock(g_directoryMutex);
        if (!g_directory.empty()) return g_directory;
    }
    return ::access("/run/lock", W_OK | X_OK) == 0 ? "/run/lock" : "/tmp";
}

std::optional<long> ReadHolder(int fd) {
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return std::nullopt;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    if (end == text || pid <= 0) return std::nullopt;
    return pid;
}

void WriteHolder(int fd) {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%ld\n", static_cast<long>(::getpid()));
    if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, text, static_cast<std::size_t>(n), 0);
}

}  // namespace

std::string DeviceLockPath(const std::string& devicePath) {
    std::string name = "sonoria-";
    for (char c : devicePath) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.';
        name.push_back(plain ? c : '_');
    }
    return LockDirectory() + "/" + name + ".lock";
}

std::string SetDeviceLockDirectory(std::string directory) {
    std::lock_guard lock(g_directoryMutex);
    return std::exchange(g_directory, std::move(directory));
}

std::unique_ptr<DeviceLock> DeviceLock::Acquire(const std::string& devicePath, std::optional<long>* holder) {
    if (holder) holder->reset();
    const std::string path = DeviceLockPath(devicePath);
    // Another user's lock file can still be locked through a read-only handle.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        DebugLogFormat(300, "device lock %s cannot be opened (errno %d)\n", path.c_str(), errno);
        return std::unique_ptr<DeviceLock>(new DeviceLock(-1));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (holder) *holder = ReadHolder(fd);
        ::close(fd);
        return nullptr;
    }
    WriteHolder(fd);
    return std::unique_ptr<DeviceLock>(new DeviceLock(fd));
}

DeviceLock::~DeviceLock() {
    if (fd_ < 0) return;
    // The file stays: removing it could let a third program lock a new file
    // while a second one still waits on the old.
    (void)!::ftruncate(fd_, 0);
    ::close(fd_);
}

}  // namespace sonoria
