#include "state/Senders.h"

#include <map>
#include <string>

#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"
#include "state/ParamSender.h"

namespace sonoria {
namespace {

constexpr int kNoPitchShift = 64;
constexpr int kKeyLockBits = 8;

// Stores and sends one side of a left/right parameter.
void SendSide(std::string_view name, bool right, int value) {
    const ParamInfo& param = RequireParam(name);
    SendEncoded(right && param.twin ? *param.twin : param.address, param.encoding, value);
}

}  // namespace

#define SONORIA_DEFINE_PLAIN(name)                                   \
    void Set##name(int value) {                                      \
        static const ParamInfo& param = RequireParam(#name);         \
        SendParam(param, value);                                     \
    }
SONORIA_PLAIN_SENDERS(SONORIA_DEFINE_PLAIN)
#undef SONORIA_DEFINE_PLAIN

#define SONORIA_DEFINE_SIDE(name)                                             \
    void Set##name##L(int value) { SendSide(#name, false, value); }            \
    void Set##name##R(int value) { SendSide(#name, true, value); }
SONORIA_SIDE_SENDERS(SONORIA_DEFINE_SIDE)
#undef SONORIA_DEFINE_SIDE

// Band k of each set, in band order.
#define SONORIA_DEFINE_BAND(name, ...)                                               \
    void Set##name(int band, int value) {                                            \
        static constexpr std::string_view kNames[] = {__VA_ARGS__};                  \
        SendBand(kNames, band, value);                                               \
    }
SONORIA_DEFINE_BAND(MicPeqGain, "MicPeq1Gain", "MicPeq2Gain", "MicPeq3Gain", "MicPeq4Gain")
SONORIA_DEFINE_BAND(MicPeqQ, "MicPeq1Q", "MicPeq2Q", "MicPeq3Q", "MicPeq4Q")
SONORIA_DEFINE_BAND(MicPeqFreq, "MicPeq1Freq", "MicPeq2Freq", "MicPeq3Freq", "MicPeq4Freq")
SONORIA_DEFINE_BAND(MusicPeqGain, "MusicPeq1Gain", "MusicPeq2Gain")
SONORIA_DEFINE_BAND(MusicPeqQ, "MusicPeq1Q", "MusicPeq2Q")
SONORIA_DEFINE_BAND(MusicPeqFreq, "MusicPeq1Freq", "MusicPeq2Freq")
SONORIA_DEFINE_BAND(MainMicPeqGain, "MainMicPeq1Gain", "MainMicPeq2Gain")
SONORIA_DEFINE_BAND(MainMicPeqQ, "MainMicPeq1Q", "MainMicPeq2Q")
SONORIA_DEFINE_BAND(MainMicPeqFreq, "MainMicPeq1Freq", "MainMicPeq2Freq")
SONORIA_DEFINE_BAND(MainMusicPeqGain, "MainMusicPeq1Gain", "MainMusicPeq2Gain")
SONORIA_DEFINE_BAND(MainMusicPeqQ, "MainMusicPeq1Q", "MainMusicPeq2Q")
SONORIA_DEFINE_BAND(MainMusicPeqFreq, "MainMusicPeq1Freq", "MainMusicPeq2Freq")
SONORIA_DEFINE_BAND(SubPeqAGain, "SubPeqA1Gain", "SubPeqA2Gain")
SONORIA_DEFINE_BAND(SubPeqAQ, "SubPeqA1Q", "SubPeqA2Q")
SONORIA_DEFINE_BAND(SubPeqAFreq, "SubPeqA1Freq", "SubPeqA2Freq")
SONORIA_DEFINE_BAND(SubPeqBGain, "SubPeqB1Gain", "SubPeqB2Gain")
SONORIA_DEFINE_BAND(SubPeqBQ, "SubPeqB1Q", "SubPeqB2Q")
SONORIA_DEFINE_BAND(SubPeqBFreq, "SubPeqB1Freq", "SubPeqB2Freq")
SONORIA_DEFINE_BAND(CenterPeqAGain, "CenterPeqA1Gain", "CenterPeqA2Gain")
SONORIA_DEFINE_BAND(CenterPeqAQ, "CenterPeqA1Q", "CenterPeqA2Q")
SONORIA_DEFINE_BAND(CenterPeqAFreq, "CenterPeqA1Freq", "CenterPeqA2Freq")
SONORIA_DEFINE_BAND(CenterPeqBGain, "CenterPeqB1Gain", "CenterPeqB2Gain")
SONORIA_DEFINE_BAND(CenterPeqBQ, "CenterPeqB1Q", "CenterPeqB2Q")
SONORIA_DEFINE_BAND(CenterPeqBFreq, "CenterPeqB1Freq", "CenterPeqB2Freq")
#undef SONORIA_DEFINE_BAND

void SetPitchShift(int value) {
    static const ParamInfo& shift = RequireParam("PitchShift");
    SendParam(shift, value);
    const int enabled = GetParam(kPitchEnable).second;
    if (value == kNoPitchShift && enabled == 1) SetPitchEnable(0);
    if (value != kNoPitchShift && enabled == 0) SetPitchEnable(1);
}

void SetKeyLockBit(int bit, bool on) {
    if (bit < 0 || bit >= kKeyLockBits) return;
    auto& bits = g_Device.machineEdit[KeyLockBits];
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    if (on) {
        bits.fetch_or(mask, std::memory_order_relaxed);
    } else {
        bits.fetch_and(static_cast<std::uint8_t>(~mask), std::memory_order_relaxed);
    }
}

ParamSenderFn FindSender(std::string_view paramName) {
    static const std::map<std::string, ParamSenderFn, std::less<>> senders = [] {
        std::map<std::string, ParamSenderFn, std::less<>> map;
#define SONORIA_MAP_PLAIN(name) map[#name] = Set##name;
        SONORIA_PLAIN_SENDERS(SONORIA_MAP_PLAIN)
#undef SONORIA_MAP_PLAIN
#define SONORIA_MAP_SIDE(name) map[#name] = [](int v) { Set##name##L(v); Set##name##R(v); };
        SONORIA_SIDE_SENDERS(SONORIA_MAP_SIDE)
#undef SONORIA_MAP_SIDE
        map["PitchShift"] = SetPitchShift;
        // Band parameters are named <set><band number><kind>, e.g. SubPeqA2Q.
        const auto addBands = [&](std::string_view set, int count, void (*gain)(int, int), void (*q)(int, int),
                                  void (*freq)(int, int)) {
            for (int band = 0; band < count; ++band) {
                const std::string prefix = std::string(set) + std::to_string(band + 1);
                map[prefix + "Gain"] = [gain, band](int v) { gain(band, v); };
                map[prefix + "Q"] = [q, band](int v) { q(band, v); };
                map[prefix + "Freq"] = [freq, band](int v) { freq(band, v); };
            }
        };
        addBands("MicPeq", 4, SetMicPeqGain, SetMicPeqQ, SetMicPeqFreq);
        addBands("MusicPeq", 2, SetMusicPeqGain, SetMusicPeqQ, SetMusicPeqFreq);
        addBands("MainMicPeq", 2, SetMainMicPeqGain, SetMainMicPeqQ, SetMainMicPeqFreq);
        addBands("MainMusicPeq", 2, SetMainMusicPeqGain, SetMainMusicPeqQ, SetMainMusicPeqFreq);
        addBands("SubPeqA", 2, SetSubPeqAGain, SetSubPeqAQ, SetSubPeqAFreq);
        addBands("SubPeqB", 2, SetSubPeqBGain, SetSubPeqBQ, SetSubPeqBFreq);
        addBands("CenterPeqA", 2, SetCenterPeqAGain, SetCenterPeqAQ, SetCenterPeqAFreq);
        addBands("CenterPeqB", 2, SetCenterPeqBGain, SetCenterPeqBQ, SetCenterPeqBFreq);
        return map;
    }();
    const auto found = senders.find(paramName);
    return found != senders.end() ? found->second : ParamSenderFn{};
}

}  // namespace sonoria
