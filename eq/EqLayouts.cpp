#include "eq/EqLayouts.h"

#include <array>
#include <initializer_list>
#include <vector>

#include "eq/EqResponse.h"

namespace sonoria {
namespace {

// One kind of band as the views use it. A fixed Q is also both Q limits;
// peaks take their Q from the device and keep the one they hold.
struct BandTemplate {
    EqBandType type;
    float frequency;
    float fixedQ;  // 0: not fixed
    float minFrequency;
    float maxFrequency;
    float minGain;
    float maxGain;
};

// Q limits of the peaks: what the device's Q parameter can show.
constexpr float kPeakMinQ = 0.77f;
constexpr float kPeakMaxQ = 15.3f;

// The peaks' starting frequency comes with each layout.
constexpr BandTemplate kPeak{EqBandType::Peak, 0.0f, 0.0f, 20.0f, 19200.0f, -12.0f, 12.0f};
constexpr BandTemplate kMicHighPass{EqBandType::HighPass, 20.0f, 0.48f, 18.0f, 300.0f, -15.0f, 15.0f};
constexpr BandTemplate kMusicHighPass{EqBandType::HighPass, 18.0f, 0.63f, 18.0f, 300.0f, -15.0f, 15.0f};
constexpr BandTemplate kMicLowShelf{EqBandType::LowShelf, 40.0f, 0.1f, 40.0f, 2000.0f, -12.0f, 12.0f};
constexpr BandTemplate kMusicLowShelf{EqBandType::LowShelf, 40.0f, 0.1f, 40.0f, 1000.0f, -12.0f, 12.0f};
constexpr BandTemplate kHighShelf{EqBandType::HighShelf, 3000.0f, 0.1f, 500.0f, 3000.0f, -12.0f, 12.0f};
// The mic low-pass reaches one hertz past 20 kHz: its "off" value.
constexpr BandTemplate kMicLowPass{EqBandType::LowPass, 15000.0f, 0.48f, 7000.0f, 20001.0f, -15.0f, 15.0f};
// An output low-pass above 15200 Hz is off; 15202 Hz is what its off value shows.
constexpr BandTemplate kOutHighPass{EqBandType::HighPass, 200.0f, 0.707f, 18.0f, 200.0f, 0.0f, 0.0f};
constexpr BandTemplate kOutLowPass{EqBandType::LowPass, 15200.0f, 0.5f, 20.0f, 15202.0f, 0.0f, 0.0f};
constexpr BandTemplate kFxHighPass900{EqBandType::HighPass, 20.0f, 0.707f, 18.0f, 900.0f, -15.0f, 15.0f};
constexpr BandTemplate kFxHighPass1800{EqBandType::HighPass, 20.0f, 0.707f, 18.0f, 1800.0f, -15.0f, 15.0f};
constexpr BandTemplate kFxLowShelf{EqBandType::LowShelf, 40.0f, 0.707f, 40.0f, 1000.0f, -12.0f, 12.0f};
constexpr BandTemplate kFxHighShelf12{EqBandType::HighShelf, 1000.0f, 0.707f, 500.0f, 2000.0f, -12.0f, 12.0f};
constexpr BandTemplate kFxHighShelf6{EqBandType::HighShelf, 1000.0f, 0.707f, 500.0f, 2000.0f, -12.0f, 6.0f};

struct LayoutBand {
    const BandTemplate* shape;
    float peakFrequency;  // peaks only
    bool locked;
};

constexpr LayoutBand Editable(const BandTemplate& shape) { return {&shape, 0.0f, false}; }
constexpr LayoutBand EditablePeak(float hz) { return {&kPeak, hz, false}; }
constexpr LayoutBand Locked(const BandTemplate& shape) { return {&shape, 0.0f, true}; }
constexpr LayoutBand LockedPeak(float hz) { return {&kPeak, hz, true}; }

using Layout = std::vector<LayoutBand>;

Layout Join(std::initializer_list<Layout> parts) {
    Layout joined;
    for (const Layout& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

const std::array<Layout, kEqLayoutCount>& Layouts() {
    static const std::array<Layout, kEqLayoutCount> layouts = [] {
        // The channel EQs as the output views show them behind their own bands.
        const Layout lockedMicEq{Locked(kMicHighPass), Locked(kMicLowShelf), LockedPeak(80.0f),
                                 LockedPeak(160.0f),   LockedPeak(500.0f),   LockedPeak(1000.0f),
                                 Locked(kHighShelf),   Locked(kMicLowPass)};
        const Layout lockedMusicEq{Locked(kMusicHighPass), Locked(kMusicLowShelf), LockedPeak(500.0f),
                                   LockedPeak(1000.0f), Locked(kHighShelf)};
        const Layout outputFilters{Locked(kOutHighPass), Locked(kOutLowPass)};
        const Layout outputPeaks{EditablePeak(100.0f), EditablePeak(250.0f)};
        const Layout mainPeaks{EditablePeak(200.0f), EditablePeak(700.0f)};
        return std::array<Layout, kEqLayoutCount>{
            // 0: mic EQ
            Layout{Editable(kMicHighPass), Editable(kMicLowShelf), EditablePeak(80.0f), EditablePeak(160.0f),
                   EditablePeak(500.0f), EditablePeak(1000.0f), Editable(kHighShelf), Editable(kMicLowPass)},
            // 1: reverb EQ
            Layout{Editable(kFxHighPass1800), Editable(kFxHighShelf6)},
            // 2: echo EQ, two points
            Layout{Editable(kFxHighPass900), Editable(kFxHighShelf12)},
            // 3: main output, mic path
            Join({mainPeaks, lockedMicEq}),
            // 4: music EQ
            Layout{Editable(kMusicHighPass), Editable(kMusicLowShelf), EditablePeak(500.0f),
                   EditablePeak(1000.0f), Editable(kHighShelf)},
            // 5 to 8: centre mic, centre music, sub mic, sub music
            Join({outputPeaks, lockedMicEq, outputFilters}),
            Join({outputPeaks, lockedMusicEq, outputFilters}),
            Join({outputPeaks, lockedMicEq, outputFilters}),
            Join({outputPeaks, lockedMusicEq, outputFilters}),
            // 9, 10: centre and sub output filters
            Layout{Editable(kOutHighPass), Editable(kOutLowPass)},
            Layout{Editable(kOutHighPass), Editable(kOutLowPass)},
            // 11: main output, music path
            Join({mainPeaks, lockedMusicEq}),
            // 12: echo EQ, three points
            Layout{Editable(kFxHighPass900), Editable(kFxLowShelf), Editable(kFxHighShelf12)},
        };
    }();
    return layouts;
}

bool IsPassFilter(EqBandType type) { return type == EqBandType::LowPass || type == EqBandType::HighPass; }

void Apply(const LayoutBand& entry, int index, EqBand& band) {
    const BandTemplate& shape = *entry.shape;
    band.index = index;
    band.type = shape.type;
    band.locked = entry.locked;
    band.frequency = shape.type == EqBandType::Peak ? entry.peakFrequency : shape.frequency;
    band.minFrequency = shape.minFrequency;
    band.maxFrequency = shape.maxFrequency;
    band.minGain = shape.minGain;
    band.maxGain = shape.maxGain;
    if (shape.fixedQ > 0) {
        band.q = shape.fixedQ;
        band.minQ = shape.fixedQ;
        band.maxQ = shape.fixedQ;
    } else {
        band.minQ = kPeakMinQ;
        band.maxQ = kPeakMaxQ;
    }
    if (IsPassFilter(shape.type)) band.gain = 0.0f;
    ComputeBandResponse(band);
}

}  // namespace

int EqLayoutBandCount(int layout) {
    if (layout < 0 || layout >= kEqLayoutCount) return 0;
    return static_cast<int>(Layouts()[static_cast<std::size_t>(layout)].size());
}

int ApplyEqLayout(int layout, std::span<EqBand, kEqMaxBands> bands) {
    if (layout < 0 || layout >= kEqLayoutCount) return 0;
    int index = 0;
    for (const LayoutBand& entry : Layouts()[static_cast<std::size_t>(layout)]) {
        if (index == kEqMaxBands) break;
        Apply(entry, index, bands[static_cast<std::size_t>(index)]);
        ++index;
    }
    return index;
}

}  // namespace sonoria
