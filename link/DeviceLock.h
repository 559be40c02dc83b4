// One program per device: an advisory lock on a small file named after the
// device, held from connection to disconnection, so that the window and the
// command-line tool never talk to the same device at once (each would read
// the other's answers and the flow control would break).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace sonoria {

class DeviceLock {
public:
    // Takes the lock of `devicePath`. Null when another program holds it;
    // `holder` then receives that program's process id where it is known.
    // A lock file that cannot be created at all does not keep anybody from
    // the device: the lock is then granted without a file.
    static std::unique_ptr<DeviceLock> Acquire(const std::string& devicePath, std::optional<long>* holder);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    explicit DeviceLock(int fd) : fd_(fd) {}
    int fd_;
};

// The lock file of a device path, in the lock directory.
std::string DeviceLockPath(const std::string& devicePath);

// Where lock files go: /run/lock when it can be written, else /tmp. Tests
// point it at a folder of their own; an empty text restores the default.
// Returns the folder it replaces (empty for the default).
std::string SetDeviceLockDirectory(std::string directory);

}  // namespace sonoria
