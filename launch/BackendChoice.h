// What both programs take on their command lines about the device they talk
// to: the real one on USB, or the built-in virtual device with its model, the
// mode data file it starts from and a fault it should show.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/HidBackend.h"

namespace sonoria {

class VirtualDevice;

inline constexpr const char* kDefaultVirtualModel = "KR710Q";

// A fault the virtual device shows from the start.
struct VirtualFault {
    enum class Kind {
        SilentAfter,  // stops answering after `count` answered commands
        BreakAfter,   // its reads fail after `count` commands
        Slow,         // every answer `delay` late
        DropWrites,   // answers every parameter write but stores only the others of each `count`
    };
    Kind kind = Kind::Slow;
    std::size_t count = 0;
    std::chrono::milliseconds delay{0};
};

// Reads "silent-after:N", "break-after:N", "slow:MS" or "drop-writes:N" (strict whole numbers);
// nullopt with the reason in `error` for anything else.
std::optional<VirtualFault> ParseVirtualFault(std::string_view text, std::string& error);
void ApplyVirtualFault(VirtualDevice& device, const VirtualFault& fault);

struct BackendChoice {
    bool useVirtual = false;
    std::string virtualModel = kDefaultVirtualModel;  // the first (or only) virtual device's model
    // The models after the first of --virtual=MODEL,MODEL...: sonoria-cli starts
    // one more virtual device for each (the program uses the first only).
    std::vector<std::string> furtherVirtualModels;
    std::string virtualState;  // mode data file the virtual device starts from
    std::optional<VirtualFault> virtualFault;
};

// The options of BackendChoice as a usage fragment.
inline constexpr const char* kBackendUsage =
    "[--virtual[=MODEL]] [--virtual-state=FILE] [--virtual-fault=silent-after:N|break-after:N|slow:MS|drop-writes:N]";

enum class BackendArgument {
    NotOurs,  // some other option
    Taken,
    Invalid,  // ours, but wrong: a usage error, described in `error`
};

// Takes one of --virtual, --virtual=MODEL[,MODEL...], --virtual-state=FILE
// and --virtual-fault=FAULT; the last two imply --virtual.
BackendArgument TakeBackendArgument(std::string_view argument, BackendChoice& choice, std::string& error);

// The (first) virtual device of the choice, started from its file and
// showing its fault; null with the reason in `error` when the file is refused.
std::shared_ptr<VirtualDevice> MakeVirtualDevice(const BackendChoice& choice, std::string& error);

// The backend of the choice: hidapi, or the virtual device as above; with
// further models a VirtualDeviceGroup of one device per model, at
// virtual:sonoria-0, virtual:sonoria-1 and on, each started from the file
// and showing the fault.
std::shared_ptr<HidBackend> MakeBackend(const BackendChoice& choice, std::string& error);

}  // namespace sonoria
