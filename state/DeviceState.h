// The program's image of the device: every parameter (with the rear copies of
// the sub and centre blocks), the identity texts, the status flags and the
// stored records. The read thread fills it from reports while the windows and
// workers read it, so every byte is atomic; readers accept a value that is a
// moment old.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "link/ProtocolLimits.h"
#include "state/ParameterTable.h"

namespace sonoria {

struct ParamBytes {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    friend constexpr bool operator==(ParamBytes, ParamBytes) = default;
};

// Which copy of a sub or centre value to use. Other blocks have one copy only
// and ignore this.
enum class ParamCopy { Active, Normal, Rear };

// A bounded text field filled by a report, read by the windows.
class TextField {
public:
    explicit TextField(std::size_t capacityWithTerminator) : capacity_(capacityWithTerminator) {}
    std::string Get() const;
    // Keeps at most capacity - 1 characters.
    void Set(std::string_view text);
    std::size_t Capacity() const { return capacity_; }

private:
    mutable std::mutex mutex_;
    std::string text_;
    std::size_t capacity_;
};

using AtomicByte = std::atomic<std::uint8_t>;

struct WirelessMicFields {
    AtomicByte volume{0};
    AtomicByte gate{0};
    AtomicByte channel{0};
    AtomicByte power{0};
    AtomicByte pairing{0};
};

// Byte positions in the machine-settings record.
enum MachineRecordByte : std::size_t {
    VolumeSaveMode = 0,
    PowerOnMicVolume = 1,
    PowerOnMusicVolume = 2,
    MaxMicVolume = 3,
    MaxMusicVolume = 4,
    MaxCenterVolume = 5,
    MaxSubVolume = 6,
    KeyLockEnable = 7,
    KeyLockBits = 8,
};

struct DeviceState {
    // Parameter image, blocks 1..8 (row 0 unused), two bytes per value.
    std::array<std::array<std::array<AtomicByte, 2>, kMaxBlockSize>, kLastBlock + 1> params{};
    // Rear copies of blocks 7 and 8 (row 0 = block 7, row 1 = block 8).
    std::array<std::array<std::array<AtomicByte, 2>, kMaxBlockSize>, 2> rear{};

    TextField machineName{kMachineNameChars};
    // 1 once the device reported its name since the image was reset.
    std::atomic<int> nameReported{0};
    TextField hardwareVersion{kHardwareVersionChars};
    TextField versionText{kVersionTextChars};

    std::atomic<int> firmwareV1{0};
    std::atomic<int> subVersion{0};
    std::atomic<int> currentMode{0};
    std::atomic<int> modified{0};
    std::atomic<int> recordLayout{0};
    std::atomic<int> extendedEcho{0};
    std::atomic<int> rearRouting{0};

    std::array<AtomicByte, kAutoSubRecordSize> autoSub{};
    std::array<AtomicByte, kRemoteBlockSize> remote{};
    std::array<std::array<AtomicByte, kLightRecordSize>, kLightRecordCount> lightRecords{};
    std::array<AtomicByte, kLightTableSize> lightTable{};
    // What the device has (consulted for key locks) and what the settings window edits.
    std::array<AtomicByte, kMachineRecordSize> machineDevice{};
    std::array<AtomicByte, kMachineRecordSize> machineEdit{};
    std::array<WirelessMicFields, kWirelessMicCount> wirelessMics{};
    std::array<AtomicByte, 2> transferHeader{};
};

// The one device image of the process.
extern DeviceState g_Device;

inline constexpr const char* kDefaultMachineName = "KR710";
inline constexpr const char* kDefaultHardwareVersion = "2011-11-17";
inline constexpr const char* kWirelessModel = "KR710QX";

// The machine names the program controls, compared without regard to case:
// the read-all, the window and the command-line tool all use this one check.
bool IsKnownModel(std::string_view machineName);
// The model with the wireless-microphone receiver, compared the same way.
bool IsWirelessModel(std::string_view machineName);

// Parameter access. Out-of-range addresses read as zero and are never written.
ParamBytes GetParam(int block, int index, ParamCopy copy = ParamCopy::Active);
void SetParam(int block, int index, ParamBytes value, ParamCopy copy = ParamCopy::Active);
void SetParamFirst(int block, int index, std::uint8_t first, ParamCopy copy = ParamCopy::Active);
void SetParamSecond(int block, int index, std::uint8_t second, ParamCopy copy = ParamCopy::Active);
// The same by address (see state/ParameterAddresses.h).
inline ParamBytes GetParam(ParamAddress at, ParamCopy copy = ParamCopy::Active) {
    return GetParam(at.block, at.index, copy);
}
inline void SetParamFirst(ParamAddress at, std::uint8_t first, ParamCopy copy = ParamCopy::Active) {
    SetParamFirst(at.block, at.index, first, copy);
}
inline void SetParamSecond(ParamAddress at, std::uint8_t second, ParamCopy copy = ParamCopy::Active) {
    SetParamSecond(at.block, at.index, second, copy);
}

// True when the rear copy of a sub or centre value is the one in use.
bool RearCopyActive();

// Connection defaults: identity, records and the parameter image.
void ResetDeviceState();
void ResetParameterImage();

// Stores a parameter report (codes 10 and 11): keeps the rear copies and
// derives the rear-routing and extended-echo flags. Addresses outside the
// image change nothing.
void StoreParameterReport(int block, int index, std::uint8_t first, std::uint8_t second);

}  // namespace sonoria
