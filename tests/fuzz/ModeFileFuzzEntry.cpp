#include "fuzz/ModeFileFuzzEntry.h"

#include <span>

#include "files/ModeFile.h"
#include "state/DeviceState.h"

namespace sonoria::fuzz {

void LoadModeFile(const std::uint8_t* data, std::size_t size) {
    std::string error;
    LoadModeFileBytes(std::span(data, size), &error);
    // Whatever the file held, routing stays a flag.
    if (g_Device.rearRouting.load() > 1) __builtin_trap();
}

}  // namespace sonoria::fuzz
