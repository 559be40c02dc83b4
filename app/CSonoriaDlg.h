// The main window: volumes and meters, connection status, the mode buttons,
// the signal-flow panel and the page host with the editing pages. It owns the
// connection with the device (ConnectionHandling.cpp) and opens every other
// window.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
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
#include "link/HostMessages.h"

class QLabel;

namespace sonoria {

class CEfxDlg;
class CEqPage;
class CTapDlg;
class EditLaneDriver;
class CTabWnd;
class CXBmpSlider;
class DeviceWatch;
class FlowPanel;

// How often the window asks the device for its levels.
inline constexpr int kMeterPollMs = 250;

class CSonoriaDlg : public QDialog, public HostMessageSink {
    Q_OBJECT
public:
    explicit CSonoriaDlg(QWidget* parent = nullptr);
    ~CSonoriaDlg() override;

    // Device arrival and removal come from here (the platform's or the virtual device's).
    void SetDeviceWatch(std::unique_ptr<DeviceWatch> watch);
    // How long the start-up connection waits (300 ms in the program).
    void SetStartupDelay(int milliseconds) { startupDelayMs_ = milliseconds; }
    // After a failed connection: the process id of another program that holds
    // the device (ConnectionRefusedBy unless replaced, e.g. by a test).
    using DeviceHolderQuery = std::function<std::optional<long>()>;
    void SetDeviceHolderQuery(DeviceHolderQuery query) { holderQuery_ = std::move(query); }

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
    CRemoteDlg* RemoteWindow() const { return remote_.data(); }
    CWMicDlg* WirelessWindow() const { return wmic_.data(); }
    void ShowEffect();
    // The level, mix and delay windows of a flow button, placed under it
    // (LevelWindowOpeners.cpp).
    void ShowLevelPopup(int buttonId);
    void ShowMixPopup(int buttonId);
    void ShowDelayWindow(int buttonId);
    // The automatic subwoofer window, closing with `owner` (this window when null).
    void ShowAutoSub(QWidget* owner = nullptr);

    int Language() const { return language_; }
    bool Synchronising() const { return synchronising_; }
    int CurrentPage() const { return currentPage_; }
    FlowPanel* Panel() const { return panel_.get(); }
    // The pages of the page host.
    CMicCompDlg* CompressorPage() const { return compressor_.data(); }
    CMicHLDlg* ChannelEqPage() const { return channelEq_.data(); }
    CMainDlg* MainEqPage() const { return mainEq_.data(); }
    CCenterDlg* CenterEqPage() const { return centerEq_.data(); }
    CInfoDlg* InfoWindow() const { return info_.data(); }
    // The effect window and its multi-tap echo window while they are open.
    CEfxDlg* EffectWindow() const;
    CTapDlg* MultiTapWindow() const;
    CSynDlg* SyncWindow() const { return sync_.data(); }
    CSliderDlg* LevelPopup() const { return levelPopup_.data(); }
    CMicSliderDlg* MixPopup() const { return mixPopup_.data(); }
    CSliderDelayDlg* DelayWindow() const { return delayWindow_.data(); }
    CAutoSubDlg* AutoSubWindow() const { return autoSub_.data(); }
    CDlgFunction* FunctionWindow() const { return function_.data(); }
    COtherDlg* MachineSettingsWindow() const { return machineSettings_.data(); }
    CLogoDlg* LogoWindow() const { return logo_.data(); }
    CAboutDlg* AboutWindow() const { return about_.data(); }
    CUpgradeDlg* UpgradeWindow() const { return upgrade_.data(); }
    CWaitUpDlg* WaitForUpgradeWindow() const { return waitUp_.data(); }
    bool TransferRequested() const { return transferRequest2_; }
    bool LevelDetection() const { return levelDetection_; }
    bool MeterPollingActive() const { return meterPoll_.isActive(); }
    // The pending stored mode of a mode-file load, stored after the next synchronisation.
    void SetPendingModeSlot(int slot) { pendingModeSlot_ = slot; }
    int PendingModeSlot() const { return pendingModeSlot_; }

    // HostMessageSink: both deliver on this window's thread without blocking the caller.
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    // The background as painted (diagram included), for the image buttons.
    QPixmap RenderBackground() const;

    // Connection handling.
    void StartupConnection();
    void OnDeviceArrived(const QString& path);
    void OnDeviceRemoved(const QString& path);
    // WM_LINK_LOST: handled as a removal of the open device.
    void OnLinkLost();
    // WM_SYNC_DONE: what ended (SyncKind) and whether it succeeded.
    void OnSyncDone(int kind, bool succeeded);
    void OnMasterVolume(int sliderId, int position);
    void OnModeButton(int mode);
    // WM_UPGRADE_DONE: the transfer worker ended; `sent` when every report was written.
    void OnUpgradeDone(bool sent);

    // Delivers the host messages queued by Post, on this window's thread.
    Q_INVOKABLE void DeliverHostMessages();

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
    enum class ConnectResult { Connected, NotFound, Held };
    ConnectResult ConnectToDevice();
    void StartNewConnection();
    // After a connection: true when the device came up in its upgrade mode,
    // which was then handled instead of a synchronisation.
    bool ConnectedInUpgradeMode();
    AdminWindowHooks MakeAdminHooks();
    void CloseAdminWindows();
    // The link ended: the upgrade window shows it, and a transfer under way has failed.
    void UpgradeLinkEnded();
    void TryConnectOnArrival(int retriesLeft);
    void TellDeviceInUse(long processId);
    void DeviceGone(bool linkLost);
    void EndConnection();
    void FailConnection();
    void ShowSyncFailure();
    void OnRoutingDone();
    bool DeviceOwesAnswer();
    bool SaveCurrentMode();
    // Sends a master volume; like every edit it never waits for the device (EditLaneDriver).
    void SendVolume(int sliderId, int position);
    // `done` runs once the window has finished.
    CSynDlg* MakeSyncProgress(std::function<void()> done = {});
    void StopMeterTimers();
    void FeedMeters();
    void PollMeters();
    void RefuseDevice();
    void CloseDeviceLink();
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
    bool synchronising_ = false;
    int currentPage_ = 1;
    int startupDelayMs_ = 300;
    bool backgroundsGiven_ = false;
    QSize initialSize_;
    QRect initialHostRect_;
    QRect initialFrameRect_;

    // Connection state.
    bool refusalGuard_ = true;
    bool firstSyncPending_ = false;
    int pendingModeSlot_ = -1;
    bool levelDetection_ = true;
    bool inUseShown_ = false;  // the other program's hold was told for this device
    DeviceHolderQuery holderQuery_;
    // Counts the links dropped; a message posted before the last drop is stale.
    std::atomic<unsigned> linkGeneration_{0};
    // Messages posted from the link's threads, waiting for this window's thread.
    struct QueuedHostMessage {
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        unsigned generation;
    };
    std::mutex hostMessagesMutex_;
    std::deque<QueuedHostMessage> hostMessages_;
    QElapsedTimer answerOwedSince_;
    std::unique_ptr<EditLaneDriver> edits_;

    QTimer startupTimer_;   // the first connection, once the window is up
    QTimer meterFeed_;      // hands the levels last read to the meters
    QTimer meterPoll_;      // asks the device for its levels

    std::unique_ptr<FlowPanel> panel_;
    std::unique_ptr<DeviceWatch> watch_;
    QPointer<CInfoDlg> info_;
    QPointer<CSynDlg> sync_;
    QPointer<CDlgFunction> function_;
    QPointer<COtherDlg> machineSettings_;
    QPointer<CEfxDlg> effect_;
    QPointer<CLogoDlg> logo_;
    QPointer<CAboutDlg> about_;
    QPointer<CUpgradeDlg> upgrade_;
    QPointer<CWaitUpDlg> waitUp_;
    bool transferRequest2_ = false;  // Start Up asked a device in normal mode to enter upgrade mode
    QPointer<CRemoteDlg> remote_;
    QPointer<CWMicDlg> wmic_;
    std::array<QWidget*, 4> pages_{};
    QPointer<CMicCompDlg> compressor_;
    QPointer<CMicHLDlg> channelEq_;
    QPointer<CMainDlg> mainEq_;
    QPointer<CCenterDlg> centerEq_;
    QPointer<CSliderDlg> levelPopup_;
    QPointer<CMicSliderDlg> mixPopup_;
    QPointer<CSliderDelayDlg> delayWindow_;
    QPointer<CAutoSubDlg> autoSub_;
    QPixmap connectedImage_;
    QPixmap disconnectedImage_;
};

}  // namespace sonoria
