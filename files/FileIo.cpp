#include "files/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace sonoria {
namespace {

std::mutex g_handlerMutex;
WriteFailureHandler g_writeFailureHandler;

void ReportWriteFailure(int errorCode, const std::string& path) {
    WriteFailureHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_writeFailureHandler;
    }
    if (handler) handler(errorCode, path);
}

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close (a full disk on a network file
    // system) can be seen; the error code, or 0.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Writes everything; the error code of the first failed write, or 0.
int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

bool IsPipeOrSocket(mode_t mode) { return S_ISFIFO(mode) || S_ISSOCK(mode); }
bool IsDevice(mode_t mode) { return S_ISCHR(mode) || S_ISBLK(mode); }

// A device such as /dev/full takes the bytes where it is; there is nothing
// to keep. Opened without blocking, so that a path that became a named pipe
// meanwhile is refused rather than waited on.
int WriteInPlace(const std::string& path, std::span<const std::uint8_t> bytes) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return errno;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return errno;
    if (!IsDevice(st.st_mode)) return EINVAL;
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (const int error = WriteAll(fd.get(), bytes); error != 0) return error;
    return fd.Close();
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new, hidden file beside `target`; its permissions are those of a
// normally created file (the umask applies). -1 with errno on failure.
int CreateTemporaryBeside(const std::string& target, std::string& temporaryPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = FolderOf(target) + "/." + NameOf(target) + ".tmp-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        temporaryPath = stem + std::to_string(counter.fetch_add(1)) + "-" + std::to_string(tick % 1000000);
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes the bytes to a temporary file and renames it over `target`. The
// error code, or 0; the temporary file never outlives a failure.
int WriteReplacing(const std::string& target, std::span<const std::uint8_t> bytes, const struct stat* previous) {
    std::string temporary;
    Descriptor fd(CreateTemporaryBeside(target, temporary));
    if (fd.get() < 0) return errno;
    // Should this fail, the file keeps the permissions of a new file.
    if (previous != nullptr) (void)::fchmod(fd.get(), previous->st_mode & 07777);
    int error = WriteAll(fd.get(), bytes);
    // On disk before it takes the old file's place.
    if (error == 0 && ::fsync(fd.get()) != 0 && errno != EINVAL) error = errno;
    if (error == 0) error = fd.Close();
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

// The file a save replaces: a symbolic link stays a link, and the file it
// points at gets the new content.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

}  // namespace

WriteFailureHandler SetWriteFailureHandler(WriteFailureHandler handler) {
    std::lock_guard lock(g_handlerMutex);
    std::swap(g_writeFailureHandler, handler);
    return handler;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, FileSizeLimit limit, FileRefusal& refusal) {
    refusal = FileRefusal{};
    refusal.path = path;
    const auto fail = [&](FileRefusalReason reason, int systemError = 0) {
        refusal.reason = reason;
        refusal.systemError = systemError;
        return false;
    };
    // The type is known before anything is opened: opening a named pipe for
    // reading would wait for a writer.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return fail(FileRefusalReason::CannotOpen, errno);
    if (!S_ISREG(st.st_mode)) return fail(FileRefusalReason::NotRegularFile);
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return fail(FileRefusalReason::CannotOpen, errno);
    // The path may have been replaced between the two looks.
    if (::fstat(fd.get(), &st) != 0) return fail(FileRefusalReason::CannotOpen, errno);
    if (!S_ISREG(st.st_mode)) return fail(FileRefusalReason::NotRegularFile);
    if (st.st_size == 0) return fail(FileRefusalReason::Empty);
    const auto tooLong = [&](std::uint64_t size) {
        refusal.size = size;
        refusal.bound = limit.maxBytes;
        return fail(limit.tooLong);
    };
    if (static_cast<std::uint64_t>(st.st_size) > limit.maxBytes) return tooLong(static_cast<std::uint64_t>(st.st_size));
    // One byte more than allowed, to see a file that grew since it was looked at.
    const std::size_t capacity = static_cast<std::size_t>(limit.maxBytes) + 1;
    bytes.assign(capacity, '\0');
    std::size_t done = 0;
    while (done < capacity) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, capacity - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(FileRefusalReason::CannotRead, errno);
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > limit.maxBytes) return tooLong(done);
    bytes.resize(done);
    if (done == 0) return fail(FileRefusalReason::Empty);
    return true;
}

bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string target = ResolveTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    int error = 0;
    if (!exists) {
        error = WriteReplacing(target, bytes, nullptr);
    } else if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
    } else if (IsPipeOrSocket(st.st_mode)) {
        error = EINVAL;  // never opened: a pipe would wait for a reader
    } else if (IsDevice(st.st_mode)) {
        error = WriteInPlace(target, bytes);
    } else if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        // A write-protected file stays protected even where its folder is writable.
        error = errno;
    } else {
        error = WriteReplacing(target, bytes, &st);
    }
    if (error != 0) {
        ReportWriteFailure(error, path);
        return false;
    }
    return true;
}

}  // namespace sonoria
