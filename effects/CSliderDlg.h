// The level popup under a signal-flow button: one slider, no text. The
// button it was opened for decides what it edits, for its whole life.
#pragma once

#include <functional>

#include "controls/DialogTemplate.h"
#include "effects/LevelInstances.h"
#include "effects/LevelWindowLook.h"

namespace sonoria {

class CXBmpSlider;

class CSliderDlg : public CLevelWindow {
    Q_OBJECT
public:
    static constexpr int kDialogId = 278;
    static constexpr int kSliderId = 2018;

    // `valuesChanged` runs after each change the user makes (the flow captions follow).
    CSliderDlg(int buttonId, QWidget* owner, std::function<void()> valuesChanged);

    int ButtonId() const { return buttonId_; }
    // Slider from the image.
    void RefreshLevelPopup();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnSliderChanged(int controlId, int position);

    int buttonId_;
    const LevelInstance* instance_;
    std::function<void()> valuesChanged_;
    CXBmpSlider* slider_ = nullptr;
};

DialogSpec SliderDlgTemplate();

}  // namespace sonoria
