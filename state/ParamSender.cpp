#include "state/ParamSender.h"

#include <cstdio>
#include <cstdlib>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/EditLane.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/EditHistory.h"

namespace sonoria {
namespace {

constexpr int kS7Max = 127;

// The second byte an S7-style value travels with: a marker for the top value.
int S7Second(Encoding encoding, int value) {
    if (value != kS7Max) return 0;
    return encoding == Encoding::S7Star ? 254 : 255;
}

// The raw value a sender would send to give the image's present bytes.
int RawOfImage(ParamAddress address, Encoding encoding) {
    const ParamBytes bytes = GetParam(address);
    switch (encoding) {
        case Encoding::S7:
        case Encoding::S7Star: return bytes.first & 0x7F;
        case Encoding::W15: return ((bytes.first & 0x7F) << 8) | bytes.second;
        case Encoding::B2: return bytes.second;
        case Encoding::MTR:
        case Encoding::RAW: break;
    }
    return (bytes.first << 8) | bytes.second;
}

}  // namespace

void SendRawBytes(int block, int index, int first, int second) {
    if (g_bUpgradeMode.load() == 1) return;  // the device takes no parameters while upgrading
    const Report report = BuildCommandReport(CMD_SET_PARAM, {block, index, first & 0xFF, second & 0xFF, kEndOfArguments});
    if (!TakeParameterWrite(report)) WriteUsbData(report);
}

void SendEncoded(ParamAddress address, Encoding encoding, int value) {
    const int block = address.block;
    const int index = address.index;
    RecordParamEdit(address, encoding, RawOfImage(address, encoding), value);
    switch (encoding) {
        case Encoding::S7:
        case Encoding::S7Star: {
            const int v = value & 0x7F;
            SetParamFirst(block, index, static_cast<std::uint8_t>(v));
            SendRawBytes(block, index, v, S7Second(encoding, v));
            break;
        }
        case Encoding::W15: {
            const ParamBytes bytes{static_cast<std::uint8_t>((value >> 8) & 0x7F),
                                   static_cast<std::uint8_t>(value & 0xFF)};
            SetParam(block, index, bytes);
            SendRawBytes(block, index, bytes.first, bytes.second);
            break;
        }
        case Encoding::B2:
            SetParamSecond(block, index, static_cast<std::uint8_t>(value & 0xFF));
            SendRawBytes(block, index, 0, value & 0xFF);
            break;
        case Encoding::MTR:
        case Encoding::RAW: {
            // Values carried as pairs: the high byte first, as they travel.
            const ParamBytes bytes{static_cast<std::uint8_t>((value >> 8) & 0xFF),
                                   static_cast<std::uint8_t>(value & 0xFF)};
            SetParam(block, index, bytes);
            SendRawBytes(block, index, bytes.first, bytes.second);
            break;
        }
    }
}

void SendParam(const ParamInfo& param, int value) {
    const EditGroup pair;  // a parameter and its twin go out together
    SendEncoded(param.address, param.encoding, value);
    if (param.twin) SendEncoded(*param.twin, param.encoding, value);
}

const ParamInfo& RequireParam(std::string_view name) {
    if (const ParamInfo* param = FindParam(name)) return *param;
    std::fprintf(stderr, "unknown parameter name %.*s\n", static_cast<int>(name.size()), name.data());
    std::abort();
}

void SendBand(std::span<const std::string_view> names, int band, int value) {
    if (band < 0 || band >= static_cast<int>(names.size())) return;
    SendParam(RequireParam(names[band]), value);
}

void ResendS7(int block, int index) {
    SendEncoded({static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(index)}, Encoding::S7,
                GetParam(block, index).first);
}

}  // namespace sonoria
