#include "eq/EqViews.h"

#include <string>

#include "eq/EqResponse.h"
#include "state/DeviceState.h"
#include "state/ParamReaders.h"
#include "state/ParamSender.h"

namespace sonoria {
namespace {

using F = EqField;

const ParamInfo* P(std::string_view name) { return &RequireParam(name); }

// The channel EQs' values in fill order (gains, then frequencies, then Q),
// their bands counted from `first`.
std::vector<EqViewValue> MicEq(int first) {
    std::vector<EqViewValue> values{{first + 1, F::Gain, P("MicLowShelfGain")}};
    for (int k = 0; k < 4; ++k) {
        values.push_back({first + 2 + k, F::Gain, P("MicPeq" + std::to_string(k + 1) + "Gain")});
    }
    values.push_back({first + 6, F::Gain, P("MicHighShelfGain")});
    values.push_back({first + 0, F::Frequency, P("MicHighPassFreq")});
    values.push_back({first + 1, F::Frequency, P("MicLowShelfFreq")});
    for (int k = 0; k < 4; ++k) {
        values.push_back({first + 2 + k, F::Frequency, P("MicPeq" + std::to_string(k + 1) + "Freq")});
    }
    values.push_back({first + 6, F::Frequency, P("MicHighShelfFreq")});
    values.push_back({first + 7, F::Frequency, P("MicLowPassFreq")});
    for (int k = 0; k < 4; ++k) values.push_back({first + 2 + k, F::Q, P("MicPeq" + std::to_string(k + 1) + "Q")});
    return values;
}

std::vector<EqViewValue> MusicEq(int first) {
    return {
        {first + 1, F::Gain, P("MusicLowShelfGain")},       {first + 2, F::Gain, P("MusicPeq1Gain")},
        {first + 3, F::Gain, P("MusicPeq2Gain")},           {first + 4, F::Gain, P("MusicHighShelfGain")},
        {first + 1, F::Frequency, P("MusicLowShelfFreq")},  {first + 2, F::Frequency, P("MusicPeq1Freq")},
        {first + 3, F::Frequency, P("MusicPeq2Freq")},      {first + 4, F::Frequency, P("MusicHighShelfFreq")},
        {first + 0, F::Frequency, P("MusicHighPassFreq")},  {first + 2, F::Q, P("MusicPeq1Q")},
        {first + 3, F::Q, P("MusicPeq2Q")},
    };
}

// Two editable peaks named <set>1Gain ... <set>2Freq: gains, frequencies, Q.
std::vector<EqViewValue> OwnPeaks(std::string_view set) {
    const std::string s(set);
    return {
        {0, F::Gain, P(s + "1Gain")}, {1, F::Gain, P(s + "2Gain")}, {0, F::Frequency, P(s + "1Freq")},
        {1, F::Frequency, P(s + "2Freq")}, {0, F::Q, P(s + "1Q")},  {1, F::Q, P(s + "2Q")},
    };
}

// An output's own filters: high-pass, then low-pass.
std::vector<EqViewValue> OutputFilters(std::string_view output, int first) {
    const std::string o(output);
    return {{first, F::Frequency, P(o + "HighPassFreq")}, {first + 1, F::Frequency, P(o + "LowPassFreq")}};
}

std::vector<EqViewValue> Join(std::initializer_list<std::vector<EqViewValue>> parts) {
    std::vector<EqViewValue> joined;
    for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// The effect window's small EQs: high-pass at point 0, shelves after it,
// filled gains first as the window shows them.
std::vector<EqViewValue> ReverbEq() {
    return {{1, F::Gain, P("ReverbShelfGain")},
            {1, F::Frequency, P("ReverbShelfFreq")},
            {0, F::Frequency, P("ReverbHighPassFreq")}};
}

std::vector<EqViewValue> EchoEq(int layout) {
    if (layout == kEqLayoutEcho) {
        return {{1, F::Gain, P("EchoShelfGain")},
                {0, F::Frequency, P("EchoHighPassFreq")},
                {1, F::Frequency, P("EchoShelfFreq")}};
    }
    if (layout == kEqLayoutEchoThreePoint) {
        return {{1, F::Gain, P("EchoMidGain")},       {2, F::Gain, P("EchoShelfGain")},
                {0, F::Frequency, P("EchoHighPassFreq")}, {1, F::Frequency, P("EchoMidFreq")},
                {2, F::Frequency, P("EchoShelfFreq")}};
    }
    return {};
}

// A point of the effect EQs sends its gain before its frequency.
std::vector<EqViewValue> EffectPointSends(std::span<const EqViewValue> fill, int band) {
    std::vector<EqViewValue> sends;
    for (const EqViewValue& value : fill) {
        if (value.band == band && value.field == F::Gain) sends.push_back(value);
    }
    for (const EqViewValue& value : fill) {
        if (value.band == band && value.field == F::Frequency) sends.push_back(value);
    }
    return sends;
}

int EchoLayoutOfDevice() {
    return g_Device.extendedEcho.load(std::memory_order_relaxed) == 1 ? kEqLayoutEchoThreePoint : kEqLayoutEcho;
}

struct ViewTable {
    EqView view;
    std::string_view name;
    int layout;
    const char* switchName;  // null: no switch
    std::string_view peakSet;  // the two editable peaks' names; empty for the channel and filter views
    // Order of an editable peak's values: true gain, frequency, Q; false frequency, gain, Q.
    bool gainFirst;
};

constexpr ViewTable kViews[kEqViewCount] = {
    {EqView::Mic, "mic", kEqLayoutMic, "MicEqEnable", {}, true},
    {EqView::Music, "music", kEqLayoutMusic, "MusicEqEnable", {}, true},
    {EqView::MainMic, "main-mic", kEqLayoutMainMic, "MainEqEnable", "MainMicPeq", true},
    {EqView::MainMusic, "main-music", kEqLayoutMainMusic, "MainEqEnable", "MainMusicPeq", true},
    // The centre takes frequency before gain, the sub gain before frequency.
    {EqView::CenterMic, "center-mic", kEqLayoutCentreMic, "CenterEqAEnable", "CenterPeqA", false},
    {EqView::CenterMusic, "center-music", kEqLayoutCentreMusic, "CenterEqBEnable", "CenterPeqB", false},
    {EqView::CenterOut, "center-out", kEqLayoutCentreFilters, nullptr, {}, true},
    {EqView::SubMic, "sub-mic", kEqLayoutSubMic, "SubEqAEnable", "SubPeqA", true},
    {EqView::SubMusic, "sub-music", kEqLayoutSubMusic, "SubEqBEnable", "SubPeqB", true},
    {EqView::SubOut, "sub-out", kEqLayoutSubFilters, nullptr, {}, true},
    {EqView::Reverb, "reverb", kEqLayoutReverb, nullptr, {}, true},
    {EqView::Echo, "echo", kEqLayoutEcho, nullptr, {}, true},  // or three points: EchoLayoutOfDevice
};

const ViewTable& Table(EqView view) { return kViews[static_cast<int>(view)]; }

std::vector<EqViewValue> BuildFillOrder(EqView view) {
    switch (view) {
        case EqView::Mic: return MicEq(0);
        case EqView::Music: return MusicEq(0);
        case EqView::MainMic: return Join({OwnPeaks("MainMicPeq"), MicEq(2)});
        case EqView::MainMusic: return Join({OwnPeaks("MainMusicPeq"), MusicEq(2)});
        case EqView::CenterMic: return Join({OwnPeaks("CenterPeqA"), MicEq(2), OutputFilters("Center", 10)});
        case EqView::CenterMusic: return Join({OwnPeaks("CenterPeqB"), MusicEq(2), OutputFilters("Center", 7)});
        case EqView::SubMic: return Join({OwnPeaks("SubPeqA"), MicEq(2), OutputFilters("Sub", 10)});
        case EqView::SubMusic: return Join({OwnPeaks("SubPeqB"), MusicEq(2), OutputFilters("Sub", 7)});
        case EqView::CenterOut: return OutputFilters("Center", 0);
        case EqView::SubOut: return OutputFilters("Sub", 0);
        case EqView::Reverb: return ReverbEq();
        case EqView::Echo: return {};  // by layout: EchoEqFillOrder
    }
    return {};
}

// The channel EQs' bands as an edit sends them.
std::vector<EqViewValue> MicSendOrder(int band) {
    switch (band) {
        case 0: return {{0, F::Frequency, P("MicHighPassFreq")}};
        case 1: return {{1, F::Gain, P("MicLowShelfGain")}, {1, F::Frequency, P("MicLowShelfFreq")}};
        case 2: case 3: case 4: case 5: {
            const std::string n = "MicPeq" + std::to_string(band - 1);
            return {{band, F::Gain, P(n + "Gain")}, {band, F::Frequency, P(n + "Freq")}, {band, F::Q, P(n + "Q")}};
        }
        case 6: return {{6, F::Gain, P("MicHighShelfGain")}, {6, F::Frequency, P("MicHighShelfFreq")}};
        case 7: return {{7, F::Frequency, P("MicLowPassFreq")}};
        default: return {};
    }
}

std::vector<EqViewValue> MusicSendOrder(int band) {
    switch (band) {
        case 0: return {{0, F::Frequency, P("MusicHighPassFreq")}};
        // The music shelves send their frequency before their gain.
        case 1: return {{1, F::Frequency, P("MusicLowShelfFreq")}, {1, F::Gain, P("MusicLowShelfGain")}};
        case 2: case 3: {
            const std::string n = "MusicPeq" + std::to_string(band - 1);
            return {{band, F::Gain, P(n + "Gain")}, {band, F::Frequency, P(n + "Freq")}, {band, F::Q, P(n + "Q")}};
        }
        case 4: return {{4, F::Frequency, P("MusicHighShelfFreq")}, {4, F::Gain, P("MusicHighShelfGain")}};
        default: return {};
    }
}

}  // namespace

int EqViewLayout(EqView view) { return view == EqView::Echo ? EchoLayoutOfDevice() : Table(view).layout; }

const ParamInfo* EqViewSwitch(EqView view) {
    const char* name = Table(view).switchName;
    return name != nullptr ? P(name) : nullptr;
}

bool EqViewSwitchedOff(EqView view) {
    const ParamInfo* flag = EqViewSwitch(view);
    return flag != nullptr && ReadParam(*flag) == 0;
}

std::span<const EqViewValue> EqViewFillOrder(EqView view) {
    if (view == EqView::Echo) return EchoEqFillOrder(EchoLayoutOfDevice());
    static const std::array<std::vector<EqViewValue>, kEqViewCount> orders = [] {
        std::array<std::vector<EqViewValue>, kEqViewCount> all;
        for (int v = 0; v < kEqViewCount; ++v) all[v] = BuildFillOrder(static_cast<EqView>(v));
        return all;
    }();
    return orders[static_cast<int>(view)];
}

std::span<const EqViewValue> EchoEqFillOrder(int layout) {
    static const std::vector<EqViewValue> twoPoint = EchoEq(kEqLayoutEcho);
    static const std::vector<EqViewValue> threePoint = EchoEq(kEqLayoutEchoThreePoint);
    if (layout == kEqLayoutEcho) return twoPoint;
    if (layout == kEqLayoutEchoThreePoint) return threePoint;
    return {};
}

std::vector<EqViewValue> EchoEqSendOrder(int layout, int band) {
    return EffectPointSends(EchoEqFillOrder(layout), band);
}

std::vector<EqViewValue> EqViewSendOrder(EqView view, int band) {
    const ViewTable& table = Table(view);
    if (view == EqView::Reverb) return EffectPointSends(EqViewFillOrder(view), band);
    if (view == EqView::Echo) return EchoEqSendOrder(EchoLayoutOfDevice(), band);
    if (view == EqView::Mic) return MicSendOrder(band);
    if (view == EqView::Music) return MusicSendOrder(band);
    if (band != 0 && band != 1) return {};
    if (view == EqView::CenterOut || view == EqView::SubOut) {
        const std::string output = view == EqView::CenterOut ? "Center" : "Sub";
        return {{band, F::Frequency, P(output + (band == 0 ? "HighPassFreq" : "LowPassFreq"))}};
    }
    const std::string n = std::string(table.peakSet) + std::to_string(band + 1);
    const EqViewValue gain{band, F::Gain, P(n + "Gain")};
    const EqViewValue frequency{band, F::Frequency, P(n + "Freq")};
    const EqViewValue q{band, F::Q, P(n + "Q")};
    if (table.gainFirst) return {gain, frequency, q};
    return {frequency, gain, q};
}

std::optional<EqView> EqViewRearTwin(EqView view) {
    switch (view) {
        case EqView::CenterMic: return EqView::SubMic;
        case EqView::CenterMusic: return EqView::SubMusic;
        case EqView::CenterOut: return EqView::SubOut;
        case EqView::SubMic: return EqView::CenterMic;
        case EqView::SubMusic: return EqView::CenterMusic;
        case EqView::SubOut: return EqView::CenterOut;
        default: return std::nullopt;
    }
}

std::string_view EqViewName(EqView view) { return Table(view).name; }

std::optional<EqView> EqViewFromName(std::string_view name) {
    for (const ViewTable& table : kViews) {
        if (table.name == name) return table.view;
    }
    return std::nullopt;
}

int FillEqViewBands(EqView view, std::span<EqBand, kEqMaxBands> bands) {
    // A new graph starts from the mic layout; fields a layout leaves alone keep those values.
    for (EqBand& band : bands) band = EqBand{};
    ApplyEqLayout(kEqLayoutMic, bands);
    const int count = ApplyEqLayout(EqViewLayout(view), bands);
    for (const EqViewValue& value : EqViewFillOrder(view)) {
        EqBand& band = bands[static_cast<std::size_t>(value.band)];
        if (FillBandValue(band, value.field, value.param->text, ReadParam(*value.param))) ComputeBandResponse(band);
    }
    return count;
}

std::string_view EqBandTypeName(EqBandType type) {
    switch (type) {
        case EqBandType::Peak: return "PEAK";
        case EqBandType::LowPass: return "LOWPASS";
        case EqBandType::HighPass: return "HIGHPASS";
        case EqBandType::LowShelf: return "LOWSHELF";
        case EqBandType::HighShelf: return "HIGHSHELF";
        case EqBandType::Off: break;
    }
    return "OFF";
}

}  // namespace sonoria
