#include "state/MasterVolumes.h"

#include <array>

namespace sonoria {
namespace {

constexpr std::uint8_t kLockMicVolume = 0x01;
constexpr std::uint8_t kLockMusicVolume = 0x02;

constexpr std::array<MasterVolume, 4> kMasterVolumes = {{
    {"MicVolume", kLockMicVolume, "MIC VOL", MaxMicVolume, "MaxMicVolume"},
    {"MusicVolume", kLockMusicVolume, "MUSIC VOL", MaxMusicVolume, "MaxMusicVolume"},
    {"CenterVolume", std::nullopt, {}, MaxCenterVolume, "MaxCenterVolume"},
    {"SubVolume", std::nullopt, {}, MaxSubVolume, "MaxSubVolume"},
}};

}  // namespace

const MasterVolume* FindMasterVolume(std::string_view paramName) {
    for (const MasterVolume& volume : kMasterVolumes) {
        if (volume.param == paramName) return &volume;
    }
    return nullptr;
}

bool MasterVolumeLocked(const MasterVolume& volume) {
    if (!volume.lockBit) return false;
    return g_Device.machineDevice[KeyLockEnable].load() != 0 &&
           (g_Device.machineDevice[KeyLockBits].load() & *volume.lockBit) != 0;
}

int MasterVolumeCeiling(const MasterVolume& volume) { return g_Device.machineDevice[volume.ceiling].load(); }

}  // namespace sonoria
