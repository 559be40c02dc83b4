// What each signal-flow button's level, mix or delay window edits: the
// senders its sliders write through, in order, and where its sliders are set
// from. Blocks 7 and 8 are read and written in their active copy.
#pragma once

#include <optional>

#include "state/ParameterTable.h"

namespace sonoria {

using LevelWrite = void (*)(int position);
using LevelRead = int (*)();

// One slider: the range, what a position writes, where the position comes from.
struct LevelSlider {
    int minimum;
    int maximum;
    LevelWrite write;
    LevelRead read;
};

// The level popup: one slider.
struct LevelInstance {
    int buttonId;
    LevelSlider slider;
};

// The mix popup: two sliders with a name each.
struct MixInstance {
    int buttonId;
    const char* firstChinese;
    const char* firstEnglish;
    LevelSlider first;
    const char* secondChinese;
    const char* secondEnglish;
    LevelSlider second;
};

// One section of the delay window: direct level, delayed-path level, delay time.
struct DelaySection {
    ParamAddress direct;
    ParamAddress delayLevel;
    ParamAddress delay;
    LevelWrite setDirect;
    LevelWrite setDelayLevel;
    LevelWrite setDelay;  // takes the raw value (twice the slider's position)
};

struct DelayInstance {
    int buttonId;
    const char* titleChinese;
    const char* titleEnglish;
    const char* rearTitleChinese;  // while the centre and sub serve the rear
    const char* rearTitleEnglish;
    int picture;
    int rearPicture;
    const DelaySection* top;
    const DelaySection* bottom;      // null: the bottom section edits nothing
    const DelaySection* rearBottom;  // the bottom section while routed to the rear
    bool oneSectionUnlessRear;
};

const LevelInstance* FindLevelInstance(int buttonId);
const MixInstance* FindMixInstance(int buttonId);
const DelayInstance* FindDelayInstance(int buttonId);

// The delay-time slider's range; a position p is sent as 2p.
inline constexpr int kDelaySliderMax = 4095;

}  // namespace sonoria
