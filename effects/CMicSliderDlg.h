// The mix popup under a signal-flow button: two sliders, each with its name
// and its number. The button it was opened for decides what it edits.
#pragma once

#include <functional>

#include "controls/DialogTemplate.h"
#include "effects/LevelInstances.h"
#include "effects/LevelWindowLook.h"

class QLabel;

namespace sonoria {

class CXBmpSlider;

class CMicSliderDlg : public CLevelWindow {
    Q_OBJECT
public:
    static constexpr int kDialogId = 305;
    static constexpr int kFirstSliderId = 2018;
    static constexpr int kSecondSliderId = 2019;
    static constexpr int kFirstNameId = 1106;
    static constexpr int kSecondNameId = 1107;
    static constexpr int kFirstValueId = 1108;
    static constexpr int kSecondValueId = 1109;

    // `valuesChanged` runs after each change the user makes (the flow captions follow).
    CMicSliderDlg(int buttonId, QWidget* owner, std::function<void()> valuesChanged);

    int ButtonId() const { return buttonId_; }
    // Sliders and numbers from the image.
    void RefreshMixPopup();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnSliderChanged(int controlId, int position);
    void ShowPosition(int valueId, int position);

    int buttonId_;
    const MixInstance* instance_;
    std::function<void()> valuesChanged_;
};

DialogSpec MicSliderDlgTemplate();

}  // namespace sonoria
