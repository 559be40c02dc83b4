// The delay window of a signal-flow delay button: one or two sections of
// direct level, delayed-path level and delay time. It shows what the image
// held when it opened; a later synchronisation does not refresh it.
#pragma once

#include <functional>

#include "controls/DialogTemplate.h"
#include "effects/LevelInstances.h"
#include "effects/LevelWindowLook.h"

namespace sonoria {

class CSliderDelayDlg : public CLevelWindow {
    Q_OBJECT
public:
    static constexpr int kDialogId = 348;
    static constexpr int kPictureId = 1211;
    static constexpr int kLowerPictureId = 1218;
    // Top section, then bottom section: direct level, delay level, delay time.
    static constexpr int kTopDirectId = 2018, kTopDelayLevelId = 2019, kTopDelayId = 2020;
    static constexpr int kBottomDirectId = 2021, kBottomDelayLevelId = 2022, kBottomDelayId = 2023;
    static constexpr int kTopDirectValueId = 1027, kTopDelayLevelValueId = 1029, kTopDelayValueId = 1031;
    static constexpr int kBottomDirectValueId = 1033, kBottomDelayLevelValueId = 1035, kBottomDelayValueId = 1037;

    // `valuesChanged` runs after each change of a delay time (the flow captions follow).
    CSliderDelayDlg(int buttonId, QWidget* owner, std::function<void()> valuesChanged);

    int ButtonId() const { return buttonId_; }
    // True when only the top section shows.
    bool OneSection() const { return oneSection_; }
    // Sliders and labels from the image; only when the window opens.
    void RefreshDelayWindow();
    // Labels from the current language table.
    void ApplyLanguage();

private:
    void OnSliderChanged(int controlId, int position);
    // The section that slider writes, decided by the routing at this moment.
    const DelaySection* SectionOf(int controlId) const;
    void ShowNumber(int valueId, int value);
    void ShowDelay(int valueId, int raw);

    int buttonId_;
    const DelayInstance* instance_;
    std::function<void()> valuesChanged_;
    bool oneSection_ = false;
};

DialogSpec SliderDelayDlgTemplate();

}  // namespace sonoria
