// The Function window: the device's four stored modes (load, save, recall the
// factory default), mode data files, the machine reset, and the buttons that
// open the other administration windows. It keeps no state of its own: the
// device image and the main window (through its hooks) hold everything.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

#include "state/SyncWorkers.h"

namespace sonoria {

class CDlgFunction : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDialogId = 320;
    static constexpr int kLoadMode1 = 1000;     // 1000..1003
    static constexpr int kSaveMode1 = 1004;     // 1004..1007
    static constexpr int kDefaultMode1 = 1008;  // 1008..1011
    static constexpr int kLanguageId = 1019;
    static constexpr int kAutoSubId = 1020;
    static constexpr int kWirelessId = 1021;
    static constexpr int kRemoteId = 1037;
    static constexpr int kUpgradeId = 1038;
    static constexpr int kSaveFileId = 1039;
    static constexpr int kLoadFileId = 1040;
    static constexpr int kAboutId = 1043;
    static constexpr int kResetId = 1111;
    // How long the device is given to store a mode before "Saved" is shown.
    static constexpr int kSaveSettleMs = 500;

    // What the window asks of the main window. Every hook may be empty.
    struct Hooks {
        std::function<void(const QString& text, int milliseconds)> showInfo;
        // A read-all or write-all was started: the progress window over it.
        std::function<void(SyncKind kind)> runSyncProgress;
        std::function<void()> refreshModeButtons;
        // The stored mode the next write-all's end saves the image into (-1: none).
        std::function<void(int slot)> setPendingModeSlot;
        std::function<bool(QWidget* owner, const QString& text, const QString& caption)> askYesNo;
        std::function<void(QWidget* owner, const QString& text, const QString& caption)> showWarning;
        // Empty when cancelled.
        std::function<QString(QWidget* owner, const QString& filter)> chooseFileToOpen;
        std::function<void(QWidget* owner)> saveModeFile;
        // The windows this one opens, with itself as their owner where they take one.
        std::function<void(QWidget* owner)> showAbout;
        std::function<void(QWidget* owner)> showRemoteLearning;
        std::function<void(QWidget* owner)> showAutoSub;
        std::function<void(QWidget* owner)> showWirelessMics;
        std::function<void()> showFirmwareUpgrade;
        std::function<void()> toggleLanguage;
    };

    CDlgFunction(QWidget* owner, Hooks hooks);

    // The current mode's load button selected, the others not.
    void RefreshLoadButtons();
    // After a synchronisation: the load buttons and the wireless button by model.
    void RefreshAfterSync();
    void ApplyLanguage();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnLoadMode(int slot);
    void OnSaveMode(int slot);
    void OnDefaultMode(int slot);
    void OnReset();
    void OnLoadFile();
    void OnSaveFile();
    void ShowInfo(const QString& text, int milliseconds);
    void ShowWirelessButtonByModel();

    Hooks hooks_;
};

}  // namespace sonoria
