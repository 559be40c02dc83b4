// The main window: volumes and meters, connection status, the mode buttons,
// the signal-flow panel and the page host with the editing pages. It draws
// the device session it holds (MainWindowSession.cpp), hands it the user's
// actions, and opens every other window.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "admin/AdminWindowHooks.h"
#include "admin/CAboutDlg.h"
#include "admin/CDlgFunction.h"
#include "admin/CInfoDlg.h"
#include "admin/CLogoDlg.h"
#include "admin/COtherDlg.h"
#include "admin/CRemoteDlg.h"
#include "admin/CUpgradeDlg.h"
#include "admin/CWaitUpDlg.h"
#include "admin/CSynDlg.h"
#include "admin/CWMicDlg.h"
#include "eq/ui/CCenterDlg.h"
#include "eq/ui/CMainDlg.h"
#include "eq/ui/CMicCompDlg.h"
#include "eq/ui/CMicHLDlg.h"
#include "effects/CAutoSubDlg.h"
#include "effects/CMicSliderDlg.h"
#include "effects/CSliderDelayDlg.h"
#include "effects/CSliderDlg.h"
#include "app/DeviceSession.h"
#include "app/WindowReferences.h"

class QLabel;

namespace sonoria {

class CEfxDlg;
class CEqPage;
class CTapDlg;
class CTabWnd;
class CXBmpSlider;
class FlowPanel;

class CSonoriaDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSonoriaDlg(QWidget* parent = nullptr);
    ~CSonoriaDlg() override;

    // The connection with the device, which this window draws.
    DeviceSession& Session() const { return *session_; }

    // Services other windows use.
    void ShowInfo(const QString& text, int milliseconds);
    // The progress window over a read-all or write-all, modal to the whole
    // program: it returns at once, and `done` runs once the window has closed
    // (at once when one is already up). No handler ever runs inside another's
    // modal loop.
    void RunSyncProgress(std::function<void()> done = {});
    // The progress window over work that the window does not wait for: it
    // returns at once and the window stays blocked for input until
    // CloseSyncProgress.
    void OpenSyncProgress();
    void CloseSyncProgress();
    void SetConnectionStatus(bool connected);
    void RefreshVolumeStrip();
    void RefreshModeButtons();
    void RefreshAfterSync();
    void RefreshLanguage();
    void CloseTransientWindows();

    // Openers of the sub-windows (their own *Openers.cpp files).
    // About, closing with `owner` (this window when null).
    void ShowAbout(QWidget* owner = nullptr);
    void ShowMachineSettings();
    void ShowLogo();
    // The firmware windows, reached only where the program keeps them closed
    // (and by tests): the upgrade window and the wait-for-upgrade-mode window.
    void ShowFirmwareUpgrade();
    void ShowWaitForUpgrade(const QString& text);
    void ShowFunction();
    // Remote-control learning, owned by `owner` (the main window when null),
    // and the wireless microphones, owned by the main window; one of each.
    void ShowRemoteLearning(QWidget* owner = nullptr);
    void ShowWirelessMics();
    CRemoteDlg* RemoteWindow() const { return windows_.Find<CRemoteDlg>(); }
    CWMicDlg* WirelessWindow() const { return windows_.Find<CWMicDlg>(); }
    void ShowEffect();
    // The level, mix and delay windows of a flow button, placed under it
    // (LevelWindowOpeners.cpp).
    void ShowLevelPopup(int buttonId);
    void ShowMixPopup(int buttonId);
    void ShowDelayWindow(int buttonId);
    // The automatic subwoofer window, closing with `owner` (this window when null).
    void ShowAutoSub(QWidget* owner = nullptr);

    int Language() const { return language_; }
    // The progress window over a synchronisation is up and running.
    bool Synchronising() const;
    int CurrentPage() const { return currentPage_; }
    FlowPanel* Panel() const { return panel_.get(); }
    // The pages of the page host.
    CMicCompDlg* CompressorPage() const { return windows_.Find<CMicCompDlg>(); }
    CMicHLDlg* ChannelEqPage() const { return windows_.Find<CMicHLDlg>(); }
    CMainDlg* MainEqPage() const { return windows_.Find<CMainDlg>(); }
    CCenterDlg* CenterEqPage() const { return windows_.Find<CCenterDlg>(); }
    CInfoDlg* InfoWindow() const { return windows_.Find<CInfoDlg>(); }
    // The effect window and its multi-tap echo window while they are open.
    CEfxDlg* EffectWindow() const;
    CTapDlg* MultiTapWindow() const;
    CSynDlg* SyncWindow() const { return windows_.Find<CSynDlg>(); }
    CSliderDlg* LevelPopup() const { return windows_.Find<CSliderDlg>(); }
    CMicSliderDlg* MixPopup() const { return windows_.Find<CMicSliderDlg>(); }
    CSliderDelayDlg* DelayWindow() const { return windows_.Find<CSliderDelayDlg>(); }
    CAutoSubDlg* AutoSubWindow() const { return windows_.Find<CAutoSubDlg>(); }
    CDlgFunction* FunctionWindow() const { return windows_.Find<CDlgFunction>(); }
    COtherDlg* MachineSettingsWindow() const { return windows_.Find<COtherDlg>(); }
    CLogoDlg* LogoWindow() const { return windows_.Find<CLogoDlg>(); }
    CAboutDlg* AboutWindow() const { return windows_.Find<CAboutDlg>(); }
    CUpgradeDlg* UpgradeWindow() const { return windows_.Find<CUpgradeDlg>(); }
    CWaitUpDlg* WaitForUpgradeWindow() const { return windows_.Find<CWaitUpDlg>(); }
    // The background as painted (diagram included), for the image buttons.
    QPixmap RenderBackground() const;

    void OnMasterVolume(int sliderId, int position);
    void OnModeButton(int mode);

public slots:
    void reject() override;  // Escape never closes the main window

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    // A flow button (or the routing display) chose what page `page` shows:
    // the page takes the choice and the not-base-model flag, refreshes and
    // re-texts itself. kPageRefreshOnly keeps its choice.
    void SetupPage(int page, int buttonId);
    std::vector<CEqPage*> EqPages() const;
    // Any machine but the base model.
    static bool NotBaseModel();
    void PrepareControls();
    void GiveButtonsTheirBackground();
    void ToggleLanguage();
    // The effect windows (EffectWindowOpeners.cpp).
    void CloseEffectWindow();
    void RefreshEffectWindows();
    void RetextEffectWindows();
    AdminWindowHooks MakeAdminHooks();
    void CloseAdminWindows();
    // What the session says happened (MainWindowSession.cpp).
    void DrawSession();
    void AnswerQuestion(SessionQuestion& question);
    // The device came up in its upgrade mode: the upgrade window takes it.
    void OnUpgradeModeEntered();
    void CloseWaitForUpgrade();
    // The link ended: the upgrade window shows it, and a transfer under way has failed.
    void UpgradeLinkEnded();
    // WM_UPGRADE_DONE: the transfer worker ended; `sent` when every report was written.
    void OnUpgradeDone(bool sent);
    // `done` runs once the window has finished.
    CSynDlg* MakeSyncProgress(std::function<void()> done = {});
    void FeedMeters();
    void UpdateValueColors();
    CXBmpSlider* Slider(int id) const;
    // Puts a popup under its flow button, inside the window's right edge.
    void PlaceUnderButton(QWidget* popup, int buttonId, QSize size);
    // The popups a click on the caption bar closes.
    void CloseLevelPopups();
    void RefreshLevelWindows();
    void RetextLevelWindows();
    // The active window is one this window owns (a popup of its own).
    bool OwnsActiveWindow() const;
    QLabel* Label(int id) const;
    // Messages 1001 and 1003 from the read thread.
    void OnKeyLearned(int code);
    void OnWirelessStatus();

    int language_ = 1;
    int currentPage_ = 1;
    bool backgroundsGiven_ = false;
    QSize initialSize_;
    QRect initialHostRect_;
    QRect initialFrameRect_;

    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<FlowPanel> panel_;
    SubWindowRegistry windows_;
    std::array<QWidget*, 4> pages_{};
    QPixmap connectedImage_;
    QPixmap disconnectedImage_;
};

}  // namespace sonoria
