// The synchronisation progress window: modal while a synchronisation runs,
// an activity bar, and after 8 seconds it gives up and suggests reconnecting.
#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

#include "admin/SyncFailureNotice.h"

class QProgressBar;

namespace sonoria {

inline constexpr int kSyncDialogId = 144;
inline constexpr int kSyncGiveUpMs = 8000;      // the synchronisation is given up after this
inline constexpr int kSyncStepMs = 100;         // the activity bar moves a step this often

class CSynDlg : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(bool)> setSynchronising;           // the main window's flag
        std::function<void(const QString&, int)> showInfo;    // ShowInfo
        int giveUpMs = kSyncGiveUpMs;
    };

    CSynDlg(QWidget* owner, Hooks hooks);

    // Ends the modal run as a cancel: the synchronisation has finished.
    void CloseSyncProgress();
    int Progress() const;
    // Shown and neither finished nor given up.
    bool Running() const { return giveUpTimer_.isActive(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Stop();
    void GiveUp();

    Hooks hooks_;
    QProgressBar* bar_ = nullptr;
    QTimer giveUpTimer_;
    QTimer stepTimer_;
    bool ending_ = false;
};

}  // namespace sonoria
