#include "state/ReportDispatch.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "link/CommandCodes.h"
#include "link/HostMessages.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"

namespace sonoria {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr std::size_t kPayload = 2;  // first payload byte

// Pairing status as the windows want it: "paired and active" collapses to 8.
std::uint8_t PairingStatus(std::uint8_t value) { return (value & 0x0C) == 0x0C ? 8 : value; }

// A text payload: one byte per character from byte 2, ending at the first
// zero, at the end of the report, or when the field is full.
std::string TextPayload(const Report& report, std::size_t capacityWithTerminator) {
    std::string text;
    for (std::size_t i = kPayload; i < report.size() && text.size() + 1 < capacityWithTerminator; ++i) {
        if (report[i] == 0) break;
        text.push_back(static_cast<char>(report[i]));
    }
    return text;
}

template <typename Bytes>
void CopyPayload(Bytes& field, const Report& report, std::size_t from, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) field[i].store(report[from + i], kRelaxed);
}

void StoreWirelessItem(const Report& report) {
    std::size_t mic = report[2];
    const int item = report[4];
    const std::uint8_t value = report[5];
    if (item == kWmicItemPairing) mic = std::min<std::size_t>(mic, 1);
    if (mic >= kWirelessMicCount) return;
    WirelessMicFields& fields = g_Device.wirelessMics[mic];
    switch (item) {
        case kWmicItemGate: fields.gate.store(value, kRelaxed); break;
        case kWmicItemChannel:
            fields.channel.store(std::min<std::uint8_t>(value, kWmicMaxChannel), kRelaxed);
            break;
        case kWmicItemVolume: fields.volume.store(value, kRelaxed); break;
        case kWmicItemPower: fields.power.store(value, kRelaxed); break;
        case kWmicItemPairing: fields.pairing.store(PairingStatus(value), kRelaxed); break;
        default: break;
    }
}

void StoreMachineRecord(const Report& report) {
    const std::size_t count =
        g_Device.recordLayout.load(kRelaxed) != 0 ? kMachineRecordSize : kMachineRecordSizeShort;
    CopyPayload(g_Device.machineDevice, report, kPayload, count);
    CopyPayload(g_Device.machineEdit, report, kPayload, count);
}

void StoreVersionText(const Report& report) {
    const std::string text = TextPayload(report, kVersionTextChars);
    g_Device.versionText.Set(text);
    const bool v1 = text.size() == 2 && std::tolower(static_cast<unsigned char>(text[0])) == 'v' &&
                    text[1] == '1';
    g_Device.firmwareV1.store(v1 ? 1 : 0, kRelaxed);
}

}  // namespace

bool DispatchReport(const Report& report) {
    switch (report[1]) {
        case CMD_SELECT_MODE:
            g_Device.transferHeader[0].store(report[5], kRelaxed);
            g_Device.transferHeader[1].store(report[6], kRelaxed);
            break;
        case CMD_GET_MODE: g_Device.currentMode.store(report[2], kRelaxed); break;
        case CMD_GET_METERS:
            SetParamSecond(kMicMeter, report[2]);
            SetParamSecond(kMusicMeterL, report[3]);
            SetParamSecond(kMusicMeterR, report[4]);
            break;
        case CMD_SET_PARAM: g_Device.modified.store(1, kRelaxed); break;
        case CMD_GET_PARAM:
        case RPT_PARAM_ALT: StoreParameterReport(report[2], report[3], report[4], report[5]); break;
        case CMD_GET_VOLUMES:
            SetParamFirst(kMicVolume, report[2]);
            SetParamFirst(kMusicVolume, report[3]);  // both channels
            SetParamFirst(kMusicVolumeR, report[3]);
            break;
        case CMD_AUTOSUB: StoreVersionText(report); break;
        case CMD_GET_AUTOSUB:
            g_Device.autoSub[0].store(report[3], kRelaxed);
            g_Device.autoSub[1].store(report[4], kRelaxed);
            break;
        case CMD_WMIC_GET: StoreWirelessItem(report); break;
        case CMD_GET_LIGHT_RECORD:
            if (report[2] < kLightRecordCount) {
                CopyPayload(g_Device.lightRecords[report[2]], report, 3, kLightRecordSize);
            }
            break;
        case CMD_GET_LIGHT_BYTE:
            if (report[2] < kLightTableSize) g_Device.lightTable[report[2]].store(report[3], kRelaxed);
            break;
        case CMD_LEARN_KEY:
            // A key arrived while learning: not an answer to the last command.
            g_Device.remote[0].store(report[2], kRelaxed);
            if (report[3] < kRemoteBlockSize) g_Device.remote[report[3]].store(report[4], kRelaxed);
            SendHostMessage(WM_KEY_LEARNED, report[4], 0);
            return false;
        case CMD_GET_REMOTE: CopyPayload(g_Device.remote, report, kPayload, kRemoteBlockSize); break;
        case CMD_GET_SUBVERSION: g_Device.subVersion.store(report[2], kRelaxed); break;
        case CMD_GET_NAME:
            g_Device.machineName.Set(TextPayload(report, kMachineNameChars));
            g_Device.nameReported.store(1, kRelaxed);
            break;
        case CMD_GET_HWVERSION:
            g_Device.hardwareVersion.Set(TextPayload(report, kHardwareVersionChars));
            break;
        case CMD_GET_MACHINE: StoreMachineRecord(report); break;
        case CMD_GET_RECORD_LAYOUT: g_Device.recordLayout.store(report[2], kRelaxed); break;
        case RPT_WMIC_STATUS:
            // A microphone changed state on its own: not an answer either.
            g_Device.wirelessMics[0].pairing.store(PairingStatus(report[2]), kRelaxed);
            g_Device.wirelessMics[1].pairing.store(PairingStatus(report[3]), kRelaxed);
            SendHostMessage(WM_WMIC_STATUS, 0, 0);
            return false;
        default: break;
    }
    return true;
}

int ConnectDeviceImage(HostMessageSink* mainWindow) {
    SetReportHandler(DispatchReport);
    return ConnectDevice(mainWindow, [] { ResetDeviceState(); });
}

}  // namespace sonoria
