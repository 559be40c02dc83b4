#include "state/Synchronize.h"

#include <chrono>
#include <mutex>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/EchoType.h"
#include "state/ParameterAddresses.h"
#include "state/ParamSender.h"
#include "state/ParameterTable.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

using std::chrono::milliseconds;

constexpr int kRampFrom = 63;
// SubVolume and CenterVolume: the same index of blocks 7 and 8.
constexpr int kOutputVolumeIndex = kSubVolume.index;
static_assert(kCenterVolume.index == kOutputVolumeIndex);

// Sends unless the workers are being stopped; false then.
bool Send(int code, std::initializer_list<int> arguments = {kEndOfArguments}) {
    if (SyncStopping()) return false;
    SendCommand(code, arguments);
    return true;
}

bool ReadParam(int block, int index) { return Send(CMD_GET_PARAM, {block, index, kEndOfArguments}); }

// What the last write-all set out to send, for a read-back to compare with.
std::mutex g_writtenMutex;
std::vector<WrittenParameter> g_written;

// Command 9 with the two stored bytes of (block, index), active copy.
bool WriteStored(int block, int index) {
    if (SyncStopping()) return false;
    const ParamBytes bytes = GetParam(block, index);
    SendRawBytes(block, index, bytes.first, bytes.second);
    return true;
}

bool IsMusicVolume(int index) { return index == kMusicVolume.index || index == kMusicVolumeR.index; }
bool IsMusicMeter(int index) { return index == kMusicMeterL.index || index == kMusicMeterR.index; }

// Volumes are brought back in steps from 63, so the sound does not jump.
void RampVolumes() {
    const ParamBytes mic = GetParam(kMicVolume);
    if (mic.first < kRampFrom) {
        SendRawBytes(kMicVolume, mic.first, mic.second);
    } else {
        for (int v = kRampFrom; v <= mic.first && !SyncStopping(); ++v) {
            SendRawBytes(kMicVolume, v, mic.second);
        }
    }
    const ParamBytes music = GetParam(kMusicVolume);
    const int from = music.first < kRampFrom ? music.first : kRampFrom;
    for (int v = from; v <= music.first && !SyncStopping(); ++v) {
        SendRawBytes(kMusicVolume, v, music.second);
        SendRawBytes(kMusicVolumeR, v, music.second);
    }
}

// Brings back the stored volumes when a write-all that silenced them ends
// early, so that an interrupted write never leaves the device muted.
class SilencedVolumesGuard {
public:
    explicit SilencedVolumesGuard(bool silenced) : silenced_(silenced) {}
    void Restored() { silenced_ = false; }
    ~SilencedVolumesGuard() {
        if (!silenced_ || !LinkSound()) return;
        const ParamBytes mic = GetParam(kMicVolume);
        const ParamBytes music = GetParam(kMusicVolume);
        SendRawBytes(kMicVolume, mic.first, mic.second);
        SendRawBytes(kMusicVolume, music.first, music.second);
        SendRawBytes(kMusicVolumeR, music.first, music.second);
    }
    SilencedVolumesGuard(const SilencedVolumesGuard&) = delete;
    SilencedVolumesGuard& operator=(const SilencedVolumesGuard&) = delete;

private:
    bool silenced_;
};

// The last index of the sub and centre blocks the write-all sends.
constexpr int kLastOutputIndex = 25;

bool WriteParameterBlocks(bool withVolumes) {
    for (const ParamAddress at : WriteAllAddresses(withVolumes)) {
        if (!WriteStored(at.block, at.index)) return false;
        // After each output block, asks the device for the volume it now has.
        if (HasRearCopy(at.block) && at.index == kLastOutputIndex && !ReadParam(at.block, kOutputVolumeIndex)) {
            return false;
        }
    }
    return true;
}

bool ReadAllSteps() {
    if (!Send(CMD_GET_NAME) || !Send(CMD_GET_HWVERSION)) return false;
    const std::string name = g_Device.machineName.Get();
    if (!IsKnownModel(name)) return true;
    Send(CMD_GET_RECORD_LAYOUT);
    ReadParam(0, kExtendedEchoIndex);
    for (int code : {CMD_GET_SUBVERSION, CMD_GET_MODE, CMD_GET_AUTOSUB, CMD_GET_VOLUMES}) Send(code);
    ReadAllParameters();
    Send(CMD_GET_MACHINE);
    Send(CMD_GET_REMOTE);
    for (int record = 0; record < static_cast<int>(kLightRecordCount); ++record) {
        Send(CMD_GET_LIGHT_RECORD, {record, kEndOfArguments});
    }
    for (int byte = 0; byte < static_cast<int>(kLightTableSize); ++byte) {
        Send(CMD_GET_LIGHT_BYTE, {byte, kEndOfArguments});
    }
    if (IsWirelessModel(name)) ReadWirelessMics();
    // Lets the last answers arrive.
    if (!SyncPause(milliseconds(200))) return false;
    g_Device.modified.store(0, std::memory_order_relaxed);
    return true;
}

}  // namespace

bool LinkSound() { return g_bDeviceOpen.load() == 1 && g_bReadThreadEnd.load() == 0; }

bool ReadAll() {
    const bool ran = ReadAllSteps();
    return ran && LinkSound() && !SyncStopping() && g_Device.nameReported.load() == 1;
}

void ReadAllParameters() {
    for (int index = 1; index <= 23; ++index) {
        if (!ReadParam(1, index)) return;
    }
    for (int block : {2, 3}) {
        for (int index = 0; index < kBlockSizes[block]; ++index) {
            if (!ReadParam(block, index)) return;
        }
    }
    for (int index = 0; index < kBlockSizes[4]; ++index) {
        if (IsMusicMeter(index) || IsMusicVolume(index)) continue;
        if (!ReadParam(4, index)) return;
    }
    for (int index = 0; index <= 24; ++index) {
        if (!ReadParam(5, index) || !ReadParam(6, index)) return;
    }
    for (int index = 0; index <= 25; ++index) {
        if (!ReadParam(kSubBlock, index) || !ReadParam(kCenterBlock, index)) return;
    }
}

void ReadWirelessMics() {
    struct Query {
        int group, item;
    };
    constexpr Query kQueries[] = {{16, kWmicItemVolume}, {9, kWmicItemGate}, {16, kWmicItemChannel},
                                  {16, kWmicItemPairing}, {16, kWmicItemPower}};
    for (const Query& query : kQueries) {
        for (int mic = 0; mic < static_cast<int>(kWirelessMicCount); ++mic) {
            if (!Send(CMD_WMIC_GET, {mic, query.group, query.item, kEndOfArguments})) return;
        }
    }
}

std::vector<ParamAddress> WriteAllAddresses(bool withVolumes) {
    std::vector<ParamAddress> addresses;
    const auto add = [&addresses](int block, int index) {
        addresses.push_back({static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(index)});
    };
    for (int index = 1; index <= 23; ++index) add(1, index);
    // The three further taps only for the multi-tap echo.
    const bool multiTap = GetParam(kEchoType).second == RawValue(EchoType::MultiTap);
    for (int index = 0; index < kBlockSizes[2]; ++index) {
        if (multiTap || index < kTapMainLevel.index || index > kTap3Delay.index) add(2, index);
    }
    for (int index = 0; index < kBlockSizes[3]; ++index) add(3, index);
    for (int index = 0; index < kBlockSizes[4]; ++index) {
        if (!IsMusicMeter(index) && !IsMusicVolume(index)) add(4, index);
    }
    for (int index = 0; index <= 24; ++index) {
        add(5, index);
        add(6, index);
    }
    for (int block : {kSubBlock, kCenterBlock}) {
        for (int index = 0; index <= kLastOutputIndex; ++index) {
            if (index != kOutputVolumeIndex || withVolumes) add(block, index);
        }
    }
    return addresses;
}

std::array<ParamAddress, 3> RampedVolumes() { return {kMicVolume, kMusicVolume, kMusicVolumeR}; }

bool WriteAllSendsVolumes() { return g_Device.machineDevice[VolumeSaveMode].load() == 1; }

bool WriteAll() {
    if (!Send(CMD_AUTOSUB, {1, g_Device.autoSub[0].load(), g_Device.autoSub[1].load(), kEndOfArguments})) {
        return false;
    }
    return WriteAllParameters(WriteAllSendsVolumes());
}

std::vector<WrittenParameter> LastWriteAllParameters() {
    std::lock_guard lock(g_writtenMutex);
    return g_written;
}

int CountParametersNotTaken(const std::vector<WrittenParameter>& written) {
    int untaken = 0;
    for (const WrittenParameter& sent : written) {
        const ParamBytes held = GetParam(sent.block, sent.index);
        // Compared as values: a marker byte the device keeps differently is no difference.
        const ParamInfo* param = ParamAt(sent.block, sent.index);
        const bool same = param != nullptr ? DecodeValue(param->encoding, held.first, held.second) ==
                                                 DecodeValue(param->encoding, sent.bytes.first, sent.bytes.second)
                                           : held == sent.bytes;
        if (!same) ++untaken;
    }
    return untaken;
}

bool WriteAllParameters(bool withVolumes) {
    {
        // Every value this write-all ends at: the addresses it sends, and the ramped volumes' last steps.
        std::vector<ParamAddress> addresses = WriteAllAddresses(withVolumes);
        if (withVolumes) {
            for (const ParamAddress at : RampedVolumes()) addresses.push_back(at);
        }
        std::vector<WrittenParameter> written;
        for (const ParamAddress at : addresses) written.push_back({at.block, at.index, GetParam(at)});
        std::lock_guard lock(g_writtenMutex);
        g_written = std::move(written);
    }
    SilencedVolumesGuard guard(withVolumes);
    if (withVolumes) {
        // Silent while the rest is written; the stored volumes stay for the ramp.
        SendRawBytes(kMicVolume, 0, 0);
        SendRawBytes(kMusicVolume, 0, 0);
        SendRawBytes(kMusicVolumeR, 0, 0);
    }
    if (!WriteParameterBlocks(withVolumes)) return false;
    if (withVolumes) RampVolumes();
    if (SyncStopping()) return false;
    guard.Restored();
    Send(CMD_GET_VOLUMES);
    return SyncPause(milliseconds(100)) && LinkSound();
}

}  // namespace sonoria
