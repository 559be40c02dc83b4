// The virtual device's memory, its factory settings and its answer to each
// command.
#include "simulator/DeviceMemory.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "link/CommandCodes.h"

namespace sonoria::sim {
namespace {

// Raw forms of the parameter encodings.
constexpr ParamBytes S7(int value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value == 127 ? 255 : 0)};
}
constexpr ParamBytes W15(int value) {
    return {static_cast<std::uint8_t>((value >> 8) & 0x7F), static_cast<std::uint8_t>(value & 0xFF)};
}
constexpr ParamBytes B2(int value) { return {0, static_cast<std::uint8_t>(value)}; }

// Factory values, as raw numbers with what they mean.
constexpr int kZeroDb = 0x4000;
constexpr int kQOne = 7645;            // Q 1.0
constexpr int kQOnePointFour = 14823;  // Q 1.4
constexpr int kPeq100Hz = 168;
constexpr int kPeq250Hz = 420;
constexpr int kPeq1kHz = 1679;
constexpr int kPeq4kHz = 6717;
constexpr int kMicLowPassOpen = 0x7FFF;  // above 20 kHz
constexpr int kLowShelf100Hz = 3277;
constexpr int kHighShelf2kHz = 21845;
constexpr int kEchoMidShelf500Hz = 16384;
constexpr int kEchoCut100Hz = 2979;
constexpr int kReverbCut100Hz = 1473;
constexpr int kShelf1kHz = 10922;
constexpr int kHighPass20Hz = 85;
constexpr int kLowPass120Hz = 257;
constexpr int kLowPassOpen = 0;
constexpr int kLevel = 100;
constexpr int kNoShift = 64;
constexpr int kRouteOff = 64;
constexpr int kVolume = 40;
constexpr int kOutputVolume = 30;

constexpr std::size_t kArgs = 2;         // first argument byte
constexpr std::size_t kPieceData = 5;    // first data byte of a firmware piece

void FillMicChannel(ParamSet& p, int micVolume) {
    p.Set(1, 2, S7(0));          // gate bypassed
    p.Set(1, 3, B2(0));          // compressor off
    p.Set(1, 4, S7(20));
    p.Set(1, 5, S7(60));
    p.Set(1, 6, S7(90));
    p.Set(1, 7, S7(3));
    p.Set(1, 8, B2(1));
    p.Set(1, 9, W15(kZeroDb));
    p.Set(1, 10, W15(kLowShelf100Hz));
    p.Set(1, 11, W15(kZeroDb));
    p.Set(1, 12, W15(kHighShelf2kHz));
    const int bands[2] = {kPeq250Hz, kPeq4kHz};
    for (int band = 0; band < 2; ++band) {
        p.Set(1, 14 + 3 * band, W15(kZeroDb));
        p.Set(1, 15 + 3 * band, W15(kQOnePointFour));
        p.Set(1, 16 + 3 * band, W15(bands[band]));
    }
    p.Set(1, 20, W15(kMicLowPassOpen));
    p.Set(1, 21, S7(0));
    p.Set(1, 22, B2(0));
    p.Set(1, 23, {kNoShift, 1});
    p.Set(1, 24, S7(micVolume));
}

void FillEffects(ParamSet& p) {
    const int bands[2] = {kPeq1kHz, kPeq4kHz};
    for (int band = 0; band < 2; ++band) {
        p.Set(2, 1 + 3 * band, W15(kZeroDb));
        p.Set(2, 2 + 3 * band, W15(kQOnePointFour));
        p.Set(2, 3 + 3 * band, W15(bands[band]));
    }
    p.Set(2, 7, B2(1));
    p.Set(2, 8, W15(kEchoCut100Hz));
    p.Set(2, 9, W15(kZeroDb));
    p.Set(2, 10, W15(kShelf1kHz));
    p.Set(2, 11, S7(kLevel));
    p.Set(2, 12, S7(kLevel));
    p.Set(2, 13, S7(60));
    p.Set(2, 14, S7(50));
    p.Set(2, 15, S7(40));
    p.Set(2, 16, S7(kLevel));
    for (int tap = 0; tap < 3; ++tap) {
        p.Set(2, 17 + tap, S7(80 - 20 * tap));
        p.Set(2, 20 + tap, S7(30 * (tap + 1)));
    }
    p.Set(2, 23, S7(kLevel));
    p.Set(2, 24, S7(80));
    p.Set(2, 25, S7(kLevel));
    p.Set(2, 26, W15(kZeroDb));
    p.Set(2, 27, W15(kEchoMidShelf500Hz));

    p.Set(3, 0, B2(1));
    p.Set(3, 1, S7(80));
    p.Set(3, 2, S7(kLevel));
    p.Set(3, 3, S7(30));
    p.Set(3, 4, W15(kZeroDb));
    p.Set(3, 5, W15(kShelf1kHz));
    p.Set(3, 6, W15(kReverbCut100Hz));
    p.Set(3, 7, S7(70));
    p.Set(3, 8, S7(60));
    p.Set(3, 9, S7(40));
    p.Set(3, 10, S7(0));
    p.Set(3, 11, S7(10));
}

void FillMusicChannel(ParamSet& p, int musicVolume) {
    constexpr int kRight = 16;
    for (int side : {0, kRight}) {
        p.Set(4, side + 1, S7(0));
        p.Set(4, side + 2, S7(musicVolume));
        p.Set(4, side + 4, W15(kZeroDb));
        p.Set(4, side + 5, W15(kLowShelf100Hz));
        p.Set(4, side + 6, W15(kZeroDb));
        p.Set(4, side + 7, W15(kHighShelf2kHz));
        p.Set(4, side + 8, B2(1));
        p.Set(4, side + 9, W15(kZeroDb));
        p.Set(4, side + 10, W15(kQOne));
        p.Set(4, side + 11, W15(kPeq250Hz));
        p.Set(4, side + 12, W15(kZeroDb));
        p.Set(4, side + 13, W15(kQOne));
        p.Set(4, side + 14, W15(kPeq4kHz));
        p.Set(4, side + 15, W15(kHighPass20Hz));
    }
    p.Set(4, 32, S7(kRouteOff));
    p.Set(4, 33, S7(kRouteOff));
}

void FillMainOutputs(ParamSet& p) {
    for (int block : {5, 6}) {
        p.Set(block, 0, B2(0));
        p.Set(block, 1, S7(kNoShift));
        p.Set(block, 4, B2(1));
        // Four bands: mic path at 5..10, music path at 12..17.
        for (int first : {5, 8, 12, 15}) {
            p.Set(block, first, W15(kZeroDb));
            p.Set(block, first + 1, W15(kQOne));
            p.Set(block, first + 2, W15(first == 5 || first == 12 ? kPeq100Hz : kPeq4kHz));
        }
        p.Set(block, 18, S7(kLevel));
        p.Set(block, 19, S7(kLevel));
        p.Set(block, 20, S7(kLevel));
        p.Set(block, 21, S7(kLevel));
        p.Set(block, 22, S7(0));
        p.Set(block, 23, S7(kLevel));
        p.Set(block, 24, W15(0));
    }
}

void FillSubAndCenter(ParamSet& p) {
    for (int block : {kSubBlock, kCenterBlock}) {
        const bool sub = block == kSubBlock;
        for (int set : {0, 7}) {
            p.Set(block, set, B2(1));
            p.Set(block, set + 1, W15(kZeroDb));
            p.Set(block, set + 2, W15(kQOne));
            p.Set(block, set + 3, W15(sub ? kPeq100Hz : kPeq250Hz));
            p.Set(block, set + 4, W15(kZeroDb));
            p.Set(block, set + 5, W15(kQOne));
            p.Set(block, set + 6, W15(sub ? kPeq250Hz : kPeq4kHz));
        }
        p.Set(block, 14, S7(kLevel));
        p.Set(block, 15, S7(kLevel));
        p.Set(block, 16, S7(kLevel));
        p.Set(block, 17, S7(kLevel));
        p.Set(block, 18, S7(0));
        p.Set(block, 20, W15(sub ? kLowPass120Hz : kLowPassOpen));
        p.Set(block, 21, W15(sub ? 0 : kHighPass20Hz));
        p.Set(block, 22, B2(kOutputVolume));
        p.Set(block, 23, S7(kLevel));
        p.Set(block, 24, W15(0));
        p.Set(block, 25, B2(0));
    }
}

Report Answer(std::uint8_t code) {
    Report report{};
    report[0] = kOutputReportId;
    report[1] = code;
    return report;
}

// Text followed by a zero byte, cut to what fits in the report.
void PutText(Report& report, const std::string& text) {
    const std::size_t n = std::min(text.size(), kReportSize - kArgs - 1);
    std::copy_n(text.begin(), n, report.begin() + kArgs);
}

std::uint8_t MeterLevel(std::chrono::milliseconds since, double periodSeconds, double phase) {
    const double t = std::chrono::duration<double>(since).count();
    const double level = 128.0 + 110.0 * std::sin(2.0 * std::numbers::pi * t / periodSeconds + phase);
    return static_cast<std::uint8_t>(std::clamp(level, 0.0, 255.0));
}

std::size_t MachineBytes(const DeviceMemory& memory) {
    return memory.recordLayout14 ? kMachineRecordSize : kMachineRecordSizeShort;
}

std::uint8_t* MicField(WirelessMic& mic, int item) {
    switch (item) {
        case kWmicItemGate: return &mic.gate;
        case kWmicItemChannel: return &mic.channel;
        case kWmicItemVolume: return &mic.volume;
        case kWmicItemPower: return &mic.power;
        case kWmicItemPairing: return &mic.pairing;
        default: return nullptr;
    }
}

// The transfer's opening block command (marker, 0, 32) and its closing piece
// (marker, 0, 3) are told by all three bytes: an ordinary block or piece at
// an offset whose high byte equals the marker is neither.
bool IsTransferMarker(const Report& command, std::uint8_t third) {
    return command[kArgs] == kTransferMarker && command[kArgs + 1] == 0 && command[kArgs + 2] == third;
}

void StoreFirmwarePiece(DeviceMemory& memory, const Report& command) {
    const std::size_t length =
        std::min<std::size_t>(command[kArgs + 2], kReportSize - kPieceData);
    const auto data = command.begin() + kPieceData;
    // The closing piece carries the image's first bytes, which the pieces
    // before it had replaced with the transfer header.
    std::size_t offset = 0;
    if (!IsTransferMarker(command, kClosingPieceLength)) {
        offset = (std::size_t{command[kArgs]} << 8) | command[kArgs + 1];
    }
    if (memory.firmware.size() < offset + length) memory.firmware.resize(offset + length);
    std::copy_n(data, length, memory.firmware.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

ParamBytes ParamSet::Get(int block, int index) const {
    if (!IsParamAddress(block, index)) return {};
    return values_[static_cast<std::size_t>(block)][static_cast<std::size_t>(index)];
}

bool ParamSet::Set(int block, int index, ParamBytes value) {
    if (!IsParamAddress(block, index)) return false;
    values_[static_cast<std::size_t>(block)][static_cast<std::size_t>(index)] = value;
    return true;
}

ParamSet FactoryParams(int mode) {
    ParamSet p;
    const int step = 4 * std::clamp(mode, 0, static_cast<int>(kModeCount) - 1);
    FillMicChannel(p, kVolume + step);
    FillEffects(p);
    FillMusicChannel(p, kVolume + step);
    FillMainOutputs(p);
    FillSubAndCenter(p);
    return p;
}

MachineRecord FactoryMachineRecord() {
    // Volumes not saved per mode, no power-on volumes, full ceilings, no locks.
    return MachineRecord{0, 255, 255, 127, 127, 127, 127, 0, 0, 0, 0, 0, 0, 0};
}

bool HasWirelessReceiver(const std::string& model) { return model == "KR710QX"; }

std::array<WirelessMic, kWirelessMicCount> FactoryWirelessMics(const std::string& model) {
    if (!HasWirelessReceiver(model)) return {};
    return {WirelessMic{200, 10, 0, 0, kPaired}, WirelessMic{200, 10, 8, 0, kPaired}};
}

DeviceMemory FactoryMemory(std::string model) {
    DeviceMemory memory;
    for (std::size_t mode = 0; mode < kModeCount; ++mode) {
        memory.stored[mode] = FactoryParams(static_cast<int>(mode));
    }
    memory.working = memory.stored[0];
    memory.machine = FactoryMachineRecord();
    memory.remote[0] = kFactoryRemoteCode;
    memory.lightTable = {1, 1, 1};
    memory.autoSub = {0, 64};
    memory.mics = FactoryWirelessMics(model);
    memory.model = std::move(model);
    return memory;
}

std::vector<DeviceReply> HandleCommand(DeviceMemory& memory, const Report& command,
                                       const CommandContext& context) {
    if (command[0] != kOutputReportId) return {};
    const std::uint8_t code = command[1];
    const std::uint8_t a0 = command[kArgs];
    const std::uint8_t a1 = command[kArgs + 1];
    const std::uint8_t a2 = command[kArgs + 2];
    const std::uint8_t a3 = command[kArgs + 3];
    const bool validMode = a0 < kModeCount;

    std::vector<DeviceReply> replies(1);
    Report& out = replies.front().report;
    out = Answer(code);

    switch (code) {
        case CMD_BLOCK:
            if (IsTransferMarker(command, kOpeningBlockArgument)) memory.firmware.clear();
            break;
        case CMD_PIECE:
            StoreFirmwarePiece(memory, command);
            break;
        case CMD_SELECT_MODE:
            // In upgrade mode this command only asks for the transfer header.
            if (validMode && !memory.upgradeMode) memory.currentMode = a0;
            out[5] = memory.transferHeader[0];
            out[6] = memory.transferHeader[1];
            break;
        case CMD_SAVE_MODE:
            // At the end of a firmware transfer the same code restarts the device.
            if (memory.upgradeMode) {
                memory.upgradeMode = false;
            } else if (validMode) {
                memory.stored[a0] = memory.working;
            }
            break;
        case CMD_LOAD_MODE:
            if (validMode) {
                memory.working = memory.stored[a0];
                memory.currentMode = a0;
            }
            break;
        case CMD_DEFAULT_MODE:
            if (validMode) {
                memory.stored[a0] = FactoryParams(a0);
                memory.working = memory.stored[a0];
                memory.currentMode = a0;
            }
            break;
        case CMD_GET_MODE:
            out[kArgs] = static_cast<std::uint8_t>(memory.currentMode);
            break;
        case CMD_GET_METERS:
            out[kArgs] = MeterLevel(context.sinceStart, 1.7, 0.0);
            out[kArgs + 1] = MeterLevel(context.sinceStart, 2.3, 0.0);
            out[kArgs + 2] = MeterLevel(context.sinceStart, 2.3, 0.9);
            break;
        case CMD_SET_PARAM:
            memory.working.Set(a0, a1, {a2, a3});
            break;
        case CMD_GET_PARAM: {
            ParamBytes value = memory.working.Get(a0, a1);
            if (a0 == 0 && a1 == kExtendedEchoIndex) {
                value = {static_cast<std::uint8_t>(kExtendedEchoFirst),
                         static_cast<std::uint8_t>(memory.extendedEcho ? kExtendedEchoSecond : 0)};
            }
            out[kArgs] = a0;
            out[kArgs + 1] = a1;
            out[kArgs + 2] = value.first;
            out[kArgs + 3] = value.second;
            break;
        }
        case CMD_GET_VOLUMES:
            out[kArgs] = memory.working.Get(1, 24).first;
            out[kArgs + 1] = memory.working.Get(4, 2).first;
            break;
        case CMD_AUTOSUB:
            if (a0 == 1) memory.autoSub = {a1, a2};
            out[kArgs] = static_cast<std::uint8_t>(memory.versionText[0]);
            out[kArgs + 1] = static_cast<std::uint8_t>(memory.versionText[1]);
            break;
        case CMD_GET_AUTOSUB:
            out[kArgs + 1] = memory.autoSub[0];
            out[kArgs + 2] = memory.autoSub[1];
            break;
        case CMD_WMIC_SET: {
            if (a0 >= kWirelessMicCount || !HasWirelessReceiver(memory.model)) break;
            const std::size_t mic = a0;
            // Pairing starts on its own request; the status item is the
            // receiver's to report, not the host's to write.
            if (a1 == kWmicGroupPairing && a2 == kWmicItemStartPairing && a3 == kWmicStartPairingValue) {
                memory.mics[mic].pairing = kPairingInProgress;
                DeviceReply status;
                status.report = Answer(RPT_WMIC_STATUS);
                for (std::size_t m = 0; m < kWirelessMicCount; ++m) {
                    status.report[kArgs + m] = m == mic ? kPaired : memory.mics[m].pairing;
                }
                status.ownInitiativeAfter = context.learnDelay;
                status.onDue = [mic](DeviceMemory& mem) { mem.mics[mic].pairing = kPaired; };
                replies.push_back(std::move(status));
            } else if (a2 == kWmicItemPairing) {
                break;
            } else if (std::uint8_t* field = MicField(memory.mics[mic], a2)) {
                *field = a2 == kWmicItemChannel
                             ? static_cast<std::uint8_t>(std::min<int>(a3, kWmicMaxChannel))
                             : a3;
            }
            break;
        }
        case CMD_WMIC_GET:
            // A device without the receiver answers with nothing in it.
            if (a0 >= kWirelessMicCount || !HasWirelessReceiver(memory.model)) break;
            out[kArgs] = a0;
            out[kArgs + 1] = a1;
            out[kArgs + 2] = a2;
            if (const std::uint8_t* field = MicField(memory.mics[a0], a2)) out[kArgs + 3] = *field;
            break;
        case CMD_GET_LIGHT_RECORD:
            out[kArgs] = a0;
            if (a0 < kLightRecordCount) {
                std::copy(memory.lights[a0].begin(), memory.lights[a0].end(), out.begin() + kArgs + 1);
            }
            break;
        case CMD_GET_LIGHT_BYTE:
            out[kArgs] = a0;
            if (a0 < kLightTableSize) out[kArgs + 1] = memory.lightTable[a0];
            break;
        case CMD_LEARN_KEY: {
            // Nothing now: the only report 96 is the key heard, some time later.
            replies.clear();
            if (a0 < 1 || a0 >= kRemoteBlockSize) break;
            DeviceReply learned;
            learned.report = Answer(CMD_LEARN_KEY);
            learned.report[kArgs] = context.learnedRemoteCode;
            learned.report[kArgs + 1] = a0;
            learned.report[kArgs + 2] = context.learnedKeyCode;
            learned.ownInitiativeAfter = context.learnDelay;
            learned.onDue = [key = a0, remote = context.learnedRemoteCode,
                             code = context.learnedKeyCode](DeviceMemory& mem) {
                mem.remote[0] = remote;
                mem.remote[key] = code;
            };
            replies.push_back(std::move(learned));
            break;
        }
        case CMD_GET_REMOTE:
            std::copy(memory.remote.begin(), memory.remote.end(), out.begin() + kArgs);
            break;
        case CMD_SET_REMOTE:
            std::copy_n(command.begin() + kArgs, kRemoteBlockSize, memory.remote.begin());
            break;
        case CMD_RESET_MACHINE:
            if (a0 == kResetMachineKey) memory.machine = FactoryMachineRecord();
            break;
        case CMD_GET_SUBVERSION:
            out[kArgs] = memory.subVersion;
            break;
        case CMD_GET_NAME:
            PutText(out, memory.model);
            break;
        case CMD_GET_HWVERSION:
            PutText(out, memory.hardwareVersion);
            break;
        case CMD_SET_MACHINE:
            // With the short layout the last record bytes are not carried.
            std::copy_n(command.begin() + kArgs, MachineBytes(memory), memory.machine.begin());
            break;
        case CMD_GET_MACHINE:
            std::copy_n(memory.machine.begin(), MachineBytes(memory), out.begin() + kArgs);
            break;
        case CMD_GET_RECORD_LAYOUT:
            out[kArgs] = memory.recordLayout14 ? 1 : 0;
            break;
        case CMD_SET_LOGO:
            memory.logo.assign(command.begin() + kArgs, command.begin() + kArgs + kLogoChars);
            break;
        case CMD_ENTER_LOADER:
            memory.upgradeMode = true;
            break;
        default:
            break;  // acknowledged and otherwise ignored
    }
    return replies;
}

}  // namespace sonoria::sim
