// The About window: the program's identity, the connected device's hardware
// version and sub-version, the release history, and a concealed switch for
// the level-meter polling (Ctrl+Shift+F12).
#pragma once

#include <QDialog>

#include <functional>

namespace sonoria {

inline constexpr int kAboutDialogId = 100;
inline constexpr int kAboutHardwareId = 1106;
inline constexpr int kAboutSubVersionId = 1107;
inline constexpr int kAboutLevelSwitchId = 1110;
inline constexpr int kAboutHistoryId = 1199;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> levelDetection;           // the main window's switch
        std::function<void(bool)> setLevelDetection;
    };
    CAboutDlg(QWidget* owner, Hooks hooks);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RevealMachineName();

    Hooks hooks_;
};

}  // namespace sonoria
