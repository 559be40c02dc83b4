// The platform seam of the link: enumerate HID interfaces, open one, and move
// reports. The transport's algorithm is written once against this interface;
// hidapi (real devices) and the virtual device implement it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sonoria {

// Interface flag meaning "present and active"; anything else is skipped.
inline constexpr std::uint32_t kInterfaceActive = 1;

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

struct HidInterfaceInfo {
    // Empty when the platform could not tell the interface's path.
    std::string path;
    std::uint32_t flags = kInterfaceActive;
    // What the platform tells without opening the interface, where it can
    // (used to list devices; the transport asks the opened device itself).
    std::optional<HidAttributes> attributes = std::nullopt;
};

// One opened HID interface. Read and Write may be called from two different
// threads at once (the read thread and one writer); the transport never lets
// two writes overlap. Closing happens in the destructor.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    virtual std::optional<HidAttributes> GetAttributes() = 0;

    // Reads one input report into `buffer`. Returns the number of bytes read,
    // 0 when nothing arrived within `timeoutMs`, or -1 when the read failed
    // (the device is gone or broken).
    virtual int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) = 0;

    // Writes one output report (byte 0 is the report id). Returns the number
    // of bytes written; 0 or less on failure.
    virtual int Write(const std::uint8_t* data, std::size_t size) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Asks the platform to report arrivals and removals of HID interfaces to
    // the program. Returns false when that cannot be arranged.
    virtual bool RegisterDeviceNotification() { return true; }

    // The HID interfaces present that carry our vendor and product ids, in
    // the platform's order; nullopt when the list itself cannot be obtained.
    virtual std::optional<std::vector<HidInterfaceInfo>> Enumerate() = 0;

    // Opens an interface for reading and writing; null when that fails.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;

    // True when other programs can reach the same devices, so that a
    // connection must take the device's lock (link/DeviceLock.h). A device
    // that lives inside the program needs none.
    virtual bool SharedWithOtherPrograms() const { return true; }

    // True when the device came up in its upgrade mode (it then takes a
    // firmware image and nothing else). A device on USB cannot tell.
    virtual bool InUpgradeMode() const { return false; }
};

}  // namespace sonoria
