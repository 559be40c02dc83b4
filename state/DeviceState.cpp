#include "state/DeviceState.h"

#include <algorithm>
#include <cctype>

#include "link/LinkState.h"
#include "state/ParameterAddresses.h"

namespace sonoria {

DeviceState g_Device;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The "routed to rear" values of the rear-routing pair.
constexpr std::uint8_t kRearRouteAOn = 0;
constexpr std::uint8_t kRearRouteBOn = 127;

// SubVolume and CenterVolume: the same index of blocks 7 and 8.
constexpr int kOutputVolumeIndex = kSubVolume.index;
static_assert(kCenterVolume.index == kOutputVolumeIndex);
constexpr int kSubCenterSlotsReset = 27;  // indexes 0..26 of blocks 7 and 8

std::array<AtomicByte, 2>* Slot(int block, int index, ParamCopy copy) {
    if (!IsParamAddress(block, index)) return nullptr;
    const bool rear = HasRearCopy(block) &&
                      (copy == ParamCopy::Rear || (copy == ParamCopy::Active && RearCopyActive()));
    if (rear) return &g_Device.rear[block - kSubBlock][index];
    return &g_Device.params[block][index];
}

void Store(std::array<AtomicByte, 2>& slot, std::uint8_t first, std::uint8_t second) {
    slot[0].store(first, kRelaxed);
    slot[1].store(second, kRelaxed);
}

template <typename Range>
void Zero(Range& bytes) {
    for (auto& byte : bytes) byte.store(0, kRelaxed);
}

}  // namespace

std::string TextField::Get() const {
    std::lock_guard lock(mutex_);
    return text_;
}

void TextField::Set(std::string_view text) {
    std::lock_guard lock(mutex_);
    text_.assign(text.substr(0, capacity_ > 0 ? capacity_ - 1 : 0));
}

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool IsKnownModel(std::string_view machineName) {
    static constexpr std::string_view kKnownModels[] = {"KR710Q", "KR710R", "KR710QX",
                                                       "KR710S", "KR710T", "HX-N3"};
    return std::any_of(std::begin(kKnownModels), std::end(kKnownModels),
                       [machineName](std::string_view model) { return SameNameIgnoringCase(model, machineName); });
}

bool IsWirelessModel(std::string_view machineName) { return SameNameIgnoringCase(machineName, kWirelessModel); }

bool RearCopyActive() { return g_Device.rearRouting.load(kRelaxed) == 1; }

ParamBytes GetParam(int block, int index, ParamCopy copy) {
    const auto* slot = Slot(block, index, copy);
    if (slot == nullptr) return {};
    return {(*slot)[0].load(kRelaxed), (*slot)[1].load(kRelaxed)};
}

void SetParam(int block, int index, ParamBytes value, ParamCopy copy) {
    if (auto* slot = Slot(block, index, copy)) Store(*slot, value.first, value.second);
}

void SetParamFirst(int block, int index, std::uint8_t first, ParamCopy copy) {
    if (auto* slot = Slot(block, index, copy)) (*slot)[0].store(first, kRelaxed);
}

void SetParamSecond(int block, int index, std::uint8_t second, ParamCopy copy) {
    if (auto* slot = Slot(block, index, copy)) (*slot)[1].store(second, kRelaxed);
}

void ResetDeviceState() {
    g_Device.currentMode.store(0, kRelaxed);
    Zero(g_Device.autoSub);
    g_Device.machineName.Set(kDefaultMachineName);
    g_Device.nameReported.store(0, kRelaxed);
    g_Device.hardwareVersion.Set(kDefaultHardwareVersion);
    Zero(g_Device.machineDevice);
    Zero(g_Device.machineEdit);
    Zero(g_Device.remote);
    // Nothing of these may survive from the previous device.
    g_Device.versionText.Set("");
    g_Device.subVersion.store(0, kRelaxed);
    g_Device.modified.store(0, kRelaxed);
    g_Device.recordLayout.store(0, kRelaxed);
    g_Device.extendedEcho.store(0, kRelaxed);
    g_Device.rearRouting.store(0, kRelaxed);
    g_Device.firmwareV1.store(0, kRelaxed);
    Zero(g_Device.transferHeader);
    ResetParameterImage();
}

void ResetParameterImage() {
    // Block 1 index 25 is kept: no synchronisation touches it, a loaded mode file may have set it.
    for (int index = 0; index < kBlockSizes[1] - 1; ++index) Store(g_Device.params[1][index], 0, 0);
    for (int block = 2; block <= 6; ++block) {
        for (int index = 0; index < kBlockSizes[block]; ++index) Store(g_Device.params[block][index], 0, 0);
    }
    for (int block = kSubBlock; block <= kCenterBlock; ++block) {
        for (int index = 0; index < kSubCenterSlotsReset; ++index) {
            Store(g_Device.params[block][index], 0, 0);
            Store(g_Device.rear[block - kSubBlock][index], 0, 0);
        }
        auto& rear = g_Device.rear[block - kSubBlock];
        rear[kOutputVolumeIndex][1].store(36, kRelaxed);
        for (int index : {14, 15, 16}) rear[index][0].store(63, kRelaxed);
    }
    g_Device.params[kPitchShift.block][kPitchShift.index][0].store(64, kRelaxed);  // 64 = no shift
    g_Device.params[kPitchShiftR.block][kPitchShiftR.index][0].store(64, kRelaxed);
    g_Device.params[kMicShiftAmount.block][kMicShiftAmount.index][1].store(1, kRelaxed);  // its second byte
}

void StoreParameterReport(int block, int index, std::uint8_t first, std::uint8_t second) {
    if (block == 0) {
        if (index == kExtendedEchoIndex) {
            const bool extended = first == kExtendedEchoFirst && second == kExtendedEchoSecond;
            g_Device.extendedEcho.store(extended ? 1 : 0, kRelaxed);
        }
        return;
    }
    if (!IsParamAddress(block, index)) return;
    if (HasRearCopy(block)) {
        Store(g_Device.params[block][index], first, second);
        // While routing is off the rear copy keeps its own volume.
        if (index != kOutputVolumeIndex || RearCopyActive()) {
            Store(g_Device.rear[block - kSubBlock][index], first, second);
        }
        return;
    }
    Store(g_Device.params[block][index], first, second);
    const ParamAddress at{static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(index)};
    if (at == kRearRouteA || at == kRearRouteB) {
        const bool rear = g_Device.params[kRearRouteA.block][kRearRouteA.index][0].load(kRelaxed) == kRearRouteAOn &&
                          g_Device.params[kRearRouteB.block][kRearRouteB.index][0].load(kRelaxed) == kRearRouteBOn;
        g_Device.rearRouting.store(rear ? 1 : 0, kRelaxed);
    }
}

}  // namespace sonoria
