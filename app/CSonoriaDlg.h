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

#include "admin/CInfoDlg.h"
#include "admin/CRemoteDlg.h"
#include "admin/CSynDlg.h"
#include "admin/CWMicDlg.h"
#include "eq/CCenterDlg.h"
#include "eq/CMainDlg.h"
#include "eq/CMicHLDlg.h"
#include "link/HostMessages.h"

class QLabel;

namespace sonoria {

class CEqPage;
class CoalescingSender;
class CTabWnd;
class CXBmpSlider;
class DeviceWatch;
class FlowPanel;

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
    void RunSyncProgress();
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

    // Openers of the sub-windows; the windows themselves come with their own parts.
    void ShowAbout() {}
    void ShowMachineSettings() {}
    void ShowLogo() {}
    void ShowFunction() {}
    void ShowEffect() {}
    void ShowLevelPopup(int) {}
    void ShowMixPopup(int) {}
    void ShowDelayWindow(int) {}
    // Remote-control learning, owned by `owner` (the main window when null),
    // and the wireless microphones, owned by the main window; one of each.
    void ShowRemoteLearning(QWidget* owner = nullptr);
    void ShowWirelessMics();
    CRemoteDlg* RemoteWindow() const { return remote_.data(); }
    CWMicDlg* WirelessWindow() const { return wmic_.data(); }

    int Language() const { return language_; }
    bool Synchronising() const { return synchronising_; }
    int CurrentPage() const { return currentPage_; }
    FlowPanel* Panel() const { return panel_.get(); }
    // The EQ pages of the page host.
    CMicHLDlg* ChannelEqPage() const { return channelEq_.data(); }
    CMainDlg* MainEqPage() const { return mainEq_.data(); }
    CCenterDlg* CenterEqPage() const { return centerEq_.data(); }
    CInfoDlg* InfoWindow() const { return info_.data(); }
    CSynDlg* SyncWindow() const { return sync_.data(); }
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
    enum class ConnectResult { Connected, NotFound, Held };
    ConnectResult ConnectToDevice();
    void StartNewConnection();
    void TryConnectOnArrival(int retriesLeft);
    void TellDeviceInUse(long processId);
    void DeviceGone(bool linkLost);
    void EndConnection();
    void FailConnection();
    void ShowSyncFailure();
    void OnRoutingDone();
    bool DeviceOwesAnswer();
    bool SaveCurrentMode();
    // Sends a master volume without waiting for the device (CoalescingSender).
    void SendVolume(int sliderId, int position);
    CSynDlg* MakeSyncProgress();
    void StopMeterTimers();
    void FeedMeters();
    void PollMeters();
    void RefuseDevice();
    void CloseDeviceLink();
    void UpdateValueColors();
    CXBmpSlider* Slider(int id) const;
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
    std::unique_ptr<CoalescingSender> volumes_;

    QTimer startupTimer_;   // timer 1
    QTimer meterFeed_;      // timer 2
    QTimer meterPoll_;      // timer 3

    std::unique_ptr<FlowPanel> panel_;
    std::unique_ptr<DeviceWatch> watch_;
    QPointer<CInfoDlg> info_;
    QPointer<CSynDlg> sync_;
    QPointer<CRemoteDlg> remote_;
    QPointer<CWMicDlg> wmic_;
    std::array<QWidget*, 4> pages_{};
    QPointer<CMicHLDlg> channelEq_;
    QPointer<CMainDlg> mainEq_;
    QPointer<CCenterDlg> centerEq_;
    QPixmap connectedImage_;
    QPixmap disconnectedImage_;
};

}  // namespace sonoria
