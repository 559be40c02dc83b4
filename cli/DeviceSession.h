// One connection of sonoria-cli to a device: connect, read everything, check
// the model, and say goodbye at the end, as the program does.
#pragma once

#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "cli/CliOptions.h"
#include "link/HidBackend.h"

namespace sonoria::cli {

// Serialises writes to the error stream: the trace arrives from the read thread.
class ErrorStream {
public:
    explicit ErrorStream(std::ostream& stream) : stream_(stream) {}
    void Line(const std::string& text);

private:
    std::mutex mutex_;
    std::ostream& stream_;
};

// The trace line of one report: direction, then bytes 0.. the last non-zero
// one (at least bytes 0 and 1) as lower-case hexadecimal.
std::string TraceLine(bool written, const std::uint8_t* report, std::size_t size);

// The backend the options ask for; null with the status in `status` on failure.
std::shared_ptr<HidBackend> MakeBackend(const CliOptions& options, ErrorStream& err, int& status);

class DeviceSession {
public:
    DeviceSession(std::shared_ptr<HidBackend> backend, bool trace, ErrorStream& err);
    ~DeviceSession();

    // Connects and runs the read-all; returns kExitOk or the status to exit with.
    int Open();
    // True when the link still works.
    bool LinkSound() const;

private:
    std::string NoDeviceMessage() const;

    std::shared_ptr<HidBackend> backend_;
    bool trace_;
    ErrorStream& err_;
    bool open_ = false;
};

}  // namespace sonoria::cli
