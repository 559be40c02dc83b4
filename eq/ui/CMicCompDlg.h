// The compressor page (page 0 of the main window): the microphone's noise
// gate threshold, the compressor switch, and the compressor's threshold,
// ratio, attack and release, with the transfer curve beside the sliders.
// Every slider move and every click of the switch goes to the device at once;
// the page reads everything else from the device image when it refreshes.
#pragma once

#include <QWidget>

#include <string>

#include "controls/DialogTemplate.h"

class QCheckBox;

namespace sonoria {

class CCompressPanel;
class CXBmpSlider;

class CMicCompDlg : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDialogId = 255;
    // Controls.
    static constexpr int kPanelId = 1024;
    static constexpr int kSwitchId = 1147;
    static constexpr int kThresholdSliderId = 2102;
    static constexpr int kRatioSliderId = 2103;
    static constexpr int kAttackSliderId = 2104;
    static constexpr int kReleaseSliderId = 2105;
    static constexpr int kGateSliderId = 2106;
    // Each slider's value text has the slider's id plus this.
    static constexpr int kValueTextOffset = 50;

    explicit CMicCompDlg(QWidget* parent = nullptr);

    // Ranges and looks of the switch and the sliders.
    void SetupSliders();
    // Sliders, value texts, the switch and the curve from the device image. Sends nothing.
    void RefreshDynamics();
    // The language table's texts of the page.
    void ApplyLanguage();

    CCompressPanel* Panel() const { return m_panel; }
    CXBmpSlider* Slider(int id) const;
    QCheckBox* Switch() const { return m_switch; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A slider the user moved or clicked: its position goes to the device.
    void OnSliderChanged(int controlId);
    // The switch the user clicked.
    void OnSwitchClicked();
    void SetValueText(int sliderId, const std::string& text);

    CCompressPanel* m_panel = nullptr;
    QCheckBox* m_switch = nullptr;
};

// The page's template.
DialogSpec MicCompDlgTemplate();

}  // namespace sonoria
