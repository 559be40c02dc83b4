// The automatic subwoofer window: switches the device's automatic sub control
// while singing, and sets its restore time and sub ratio. Every change sends
// the whole record at once.
#pragma once

#include "controls/DialogTemplate.h"
#include "effects/LevelWindowLook.h"

namespace sonoria {

class CAutoSubDlg : public CLevelWindow {
    Q_OBJECT
public:
    static constexpr int kDialogId = 243;
    static constexpr int kHintId = 1106;
    static constexpr int kSwitchId = 1145;
    static constexpr int kRestoreLabelId = 1074;
    static constexpr int kRatioLabelId = 1075;
    static constexpr int kRestoreSliderId = 2119;
    static constexpr int kRatioSliderId = 2120;
    static constexpr int kRestoreValueId = 2169;
    static constexpr int kRatioValueId = 2170;

    // Centred over `owner`, which it closes with.
    explicit CAutoSubDlg(QWidget* owner);

    // Sliders, labels and the switch from the image.
    void RefreshAutoSub();
    // Title and labels from the current language table, then the values' texts.
    void ApplyLanguage();

private:
    void OnSliderChanged(int controlId, int position);
    void OnSwitchClicked();
};

DialogSpec AutoSubDlgTemplate();

}  // namespace sonoria
