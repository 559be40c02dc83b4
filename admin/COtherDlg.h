// The machine settings window: power-on volumes, volume ceilings, whether
// volumes are kept per mode, and the front-panel key locks. It edits the
// record's edit copy, which it starts from the device copy each time it shows
// the device's settings; only APPLY sends it. The power-on sliders also move
// the live volumes at once.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QAbstractButton;
class QLabel;

namespace sonoria {

class CXBmpSlider;

class COtherDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 180;
    static constexpr int kPowerOnMicSlider = 2018;
    static constexpr int kPowerOnMusicSlider = 2019;
    static constexpr int kMaxMicSlider = 2020;
    static constexpr int kMaxMusicSlider = 2021;
    static constexpr int kMaxCenterSlider = 2022;
    static constexpr int kMaxSubSlider = 2023;
    static constexpr int kFirstValueLabel = 2000;  // 2000..2005, one per slider
    static constexpr int kPowerOnMicCheck = 1098;
    static constexpr int kPowerOnMusicCheck = 1099;
    static constexpr int kByModeRadio = 1100;
    static constexpr int kByRandomRadio = 1101;
    static constexpr int kLockOnCheck = 2320;
    static constexpr int kFirstLockCheck = 2321;  // 2321..2328
    static constexpr int kApplyId = 1097;

    struct Hooks {
        std::function<void(const QString& text, int milliseconds)> showInfo;
        // The main window's volume sliders take the device's ceilings.
        std::function<void()> refreshVolumeStrip;
    };

    COtherDlg(QWidget* owner, Hooks hooks);

    // Starts the edit over from the device copy and shows it (on opening and
    // after every synchronisation).
    void RefreshMachineSettings();
    // Texts of the current language; the values shown stay those of the edit copy.
    void RefreshMachineSettingsLanguage();

    // The lock bit a lock check sets (-1 for other ids).
    static int LockBitOf(int checkId);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowEditCopy();
    void ShowPowerOn();
    void OnSlider(int id, int position);
    void OnPowerOnCheck(bool music);
    void OnVolumeSaveMode(bool byMode);
    void OnLockOn();
    void OnLockCheck(int id);
    void OnApply();
    void UpdateColors();
    CXBmpSlider* Slider(int id) const;
    QLabel* Label(int id) const;
    QAbstractButton* Button(int id) const;

    Hooks hooks_;
};

}  // namespace sonoria
