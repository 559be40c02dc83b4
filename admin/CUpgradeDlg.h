// The firmware upgrade window: asks a device in normal mode to enter its
// upgrade mode, and sends the image to a device in upgrade mode, showing the
// progress. Its close box only hides it; the end of a transfer destroys it
// unless the transfer failed.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QTimer>

#include <functional>

#include "admin/AdminWindowHooks.h"

class QLabel;
class QProgressBar;

namespace sonoria {

class CGdipButton;

inline constexpr int kUpgradeDialogId = 233;
inline constexpr int kUpgradeStatusId = 1161;
inline constexpr int kUpgradeVersionId = 1148;
inline constexpr int kUpgradePercentId = 1144;
inline constexpr int kUpgradeBarId = 1217;
inline constexpr int kUpgradeStartId = 3;
inline constexpr int kUpgradeFailedInfoMs = 3000;
inline constexpr int kEnterUpgradeWaitMs = 3000;  // then the waiting window opens if the device is not back in upgrade mode

class CUpgradeDlg : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        AdminWindowHooks common;
        std::function<void(bool)> setTransferRequest;           // the main window's transfer request
        std::function<void(const QString&)> showWaitForUpgrade;  // the wait window
        int enterUpgradeWaitMs = kEnterUpgradeWaitMs;
    };
    CUpgradeDlg(QWidget* owner, Hooks hooks);

    void SetUpgradeStatus(bool inUpgradeMode);
    bool StatusGreen() const { return statusGreen_; }
    // The Start Up action; `ask` puts the question first.
    void StartUpgrade(bool ask);
    void StartTransfer();
    // The end of a transfer (message 1004): `sent` when every report was written.
    void FinishUpgrade(bool sent);
    bool Transferring() const { return transferring_; }
    // Closes and deletes the window (the close box only hides it).
    void Destroy();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowFailure();
    void ShowProgress();
    void SetStartCaption(const QString& caption);

    Hooks hooks_;
    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    CGdipButton* start_ = nullptr;
    QString startCaption_;
    QPixmap red_;
    QPixmap green_;
    bool statusGreen_ = false;
    bool transferring_ = false;
    bool destroying_ = false;
    QTimer progressTimer_;  // shows the transfer's progress
    QTimer enterTimer_;     // opens the waiting window when the device is slow to return in upgrade mode
};

}  // namespace sonoria
