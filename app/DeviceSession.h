// The program's one connection with the device, without any window: it
// connects at start-up and on arrival, runs the first read-all, accepts or
// refuses the model, polls the meters, sends the master volumes under the key
// locks, stores the mode of a loaded mode file, and asks before the device is
// left with unsaved changes. Every link thread's message reaches it first.
// Windows draw what it says happened and hand it the user's actions.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "link/HostMessages.h"
#include "state/SyncWorkers.h"
#include "state/Synchronize.h"

namespace sonoria {

class DeviceWatch;
class EditLaneDriver;

// How often the session asks the device for its levels.
inline constexpr int kMeterPollMs = 250;

// Where the connection stands. Moves:
//   Idle -> Connecting            a start-up or arrival attempt
//   Connecting -> Reading         connected: the first read-all runs
//   Connecting -> Upgrading       the device came up in its upgrade mode
//   Connecting -> Idle            nothing found, or held by another program
//   Reading / Writing -> Ready    a read-all or write-all ended well (known model)
//   Reading / Writing -> Refused  the model is not one of ours: goodbye, link closed
//   Ready -> Reading / Writing    a mode load or recall, a parameter file written
//   Ready -> Routing -> Ready     the routing change and its end
//   any -> Idle                   removal, a lost link, a failed read-all, close
enum class SessionPhase { Idle, Connecting, Reading, Ready, Writing, Routing, Upgrading, Refused };

const char* PhaseName(SessionPhase phase);

// A question the session cannot answer itself (or a message to acknowledge);
// whoever shows the session sets `answer` before returning.
struct SessionQuestion {
    enum class Kind {
        SaveAtRemoval,   // unsaved changes and the device is gone: save them to a file?
        SaveAtClose,     // unsaved changes at close: store them in the current mode?
        CloseAnyway,     // storing failed: close all the same?
        DeviceInUse,     // a warning: another program holds the device
        ModelRefused,    // an error: this program does not control that model
        SaveFailed,      // an error: the device did not take the save
    };
    Kind kind;
    QString text;
    QString caption;
    bool answer = false;  // yes; unanswered is no
    bool IsWarning() const { return kind == Kind::DeviceInUse; }
    bool IsError() const { return kind == Kind::ModelRefused || kind == Kind::SaveFailed; }
    bool IsYesNo() const { return !IsWarning() && !IsError(); }
};

// The four master volumes of the main window.
enum class MasterVolume { Mic, Music, Center, Sub };

class DeviceSession : public QObject, public HostMessageSink {
    Q_OBJECT
public:
    explicit DeviceSession(QObject* parent = nullptr);
    // Stops the workers and the read thread before anything they use goes,
    // when this session is still the link's listener.
    ~DeviceSession() override;

    SessionPhase Phase() const { return phase_; }
    bool Connected() const;

    // Device arrival and removal come from here (the platform's or the virtual device's).
    void SetDeviceWatch(std::unique_ptr<DeviceWatch> watch);
    // How long the start-up connection waits (300 ms in the program).
    void SetStartupDelay(int milliseconds) { startupDelayMs_ = milliseconds; }
    // After a failed connection: the process id of another program that holds
    // the device (ConnectionRefusedBy unless replaced, e.g. by a test).
    using DeviceHolderQuery = std::function<std::optional<long>()>;
    void SetDeviceHolderQuery(DeviceHolderQuery query) { holderQuery_ = std::move(query); }
    // Whoever shows the progress window tells whether one is up: a device gone
    // under it is no moment to ask about saving.
    void SetProgressShownQuery(std::function<bool()> query) { progressShown_ = std::move(query); }

    // The start-up connection, after the start-up delay.
    void ConnectSoon();
    void StartupConnection();
    void OnDeviceArrived(const QString& path);
    void OnDeviceRemoved(const QString& path);
    // WM_LINK_LOST: handled as a removal of the open device.
    void OnLinkLost();
    // WM_SYNC_DONE: what ended (SyncKind) and whether it succeeded.
    void OnSyncDone(int kind, bool succeeded);
    // A read-all (mode load or recall) or write-all (parameter file) started by a window.
    void BulkStarted(SyncKind kind);
    // The routing change, to the rear or back.
    void StartRouting(bool toRear);
    // Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y: the last step of the edit history
    // taken back or done again, then every window refreshed from the image.
    // Nothing while disconnected (said in the information window) or while a
    // read-all, write-all or routing change runs.
    void Undo();
    void Redo();

    // The user moved a master volume: sent unless its key lock holds (then a
    // notice, and false). Routed to the rear, centre and sub move as a pair:
    // `pairMoved` tells the caller to move the other slider too.
    bool SetMasterVolume(MasterVolume volume, int position, bool* pairMoved = nullptr);
    // A mode button: the stored mode is loaded and read (false when not
    // connected or the load-mode lock holds, with a notice).
    bool LoadStoredMode(int mode);

    // Before the program closes: the last edits go out, and unsaved changes
    // may be stored in the current mode. False when the user chose to stay.
    bool MayClose();
    // The end: meters and timers stop, workers are joined, goodbye, link closed.
    void Shutdown();

    // The pending stored mode of a mode-file load, stored after its write-all.
    void SetPendingModeSlot(int slot) { pendingModeSlot_ = slot; }
    int PendingModeSlot() const { return pendingModeSlot_; }
    bool LevelDetection() const { return levelDetection_; }
    void SetLevelDetection(bool on) { levelDetection_ = on; }
    bool MeterPollingActive() const { return meterPoll_.isActive(); }
    // Start Up asked a device in normal mode to enter upgrade mode: the
    // transfer starts when it comes back in that mode.
    bool TransferRequested() const { return transferRequest_; }
    void SetTransferRequest(bool on) { transferRequest_ = on; }

    // HostMessageSink: both deliver on the session's thread without blocking the caller.
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Delivers the host messages queued by Post, on the session's thread.
    Q_INVOKABLE void DeliverHostMessages();

signals:
    void phaseChanged(sonoria::SessionPhase phase);
    void connectionChanged(bool connected);
    // A short notice for the information window.
    void notice(const QString& text, int milliseconds);
    // A question to answer in place (a direct connection).
    void questionAsked(sonoria::SessionQuestion& question);
    // The parameters at the removal, to be saved to a file.
    void saveModeFileWanted(const std::vector<std::uint8_t>& snapshot);
    // A read-all or write-all starts (the progress window, modal); when it has
    // closed, `closed` runs. Without anyone to show it, it runs at once.
    void progressWanted(const std::function<void()>& closed);
    // The routing change starts: the progress window, not waited for.
    void routingProgressWanted();
    void progressDone();
    // The image changed as a whole: every window refreshes from it.
    void refreshNeeded();
    void routingDone();
    // The levels last read, for the meters.
    void metersRead();
    // The device is back in either mode: the instruction to restart it is done with.
    void deviceBack();
    // The device came up in its upgrade mode.
    void upgradeModeEntered();
    // The link ended (an upgrade under way has failed unless the transfer runs on).
    void linkEnded();
    void upgradeDone(bool sent);
    void keyLearned(int code);
    void wirelessStatusChanged();

private:
    enum class ConnectResult { Connected, NotFound, Held };
    void SetPhase(SessionPhase phase);
    void StepHistory(bool undo);
    ConnectResult ConnectToDevice();
    void StartNewConnection();
    bool ConnectedInUpgradeMode();
    void TryConnectOnArrival(int retriesLeft);
    void TellDeviceInUse(long processId);
    void DeviceGone(bool linkLost);
    void EndConnection();
    void FailConnection();
    void ShowSyncFailure();
    void RefuseDevice();
    void CloseDeviceLink();
    bool DeviceOwesAnswer();
    bool SaveCurrentMode();
    void StopMeterTimers();
    void PollMeters();
    bool Ask(SessionQuestion::Kind kind, const QString& text, const QString& caption);
    void RequestProgress(std::function<void()> closed = {});

    SessionPhase phase_ = SessionPhase::Idle;
    int startupDelayMs_ = 300;
    bool refusalGuard_ = true;
    bool firstSyncPending_ = false;
    int pendingModeSlot_ = -1;
    // A write-all's parameters, compared with the read-all that follows it.
    std::optional<std::vector<WrittenParameter>> verifying_;
    bool levelDetection_ = true;
    bool inUseShown_ = false;  // the other program's hold was told for this device
    bool transferRequest_ = false;
    DeviceHolderQuery holderQuery_;
    std::function<bool()> progressShown_;
    // Counts the links dropped; a message posted before the last drop is stale.
    std::atomic<unsigned> linkGeneration_{0};
    // Messages posted from the link's threads, waiting for the session's thread.
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
    std::unique_ptr<DeviceWatch> watch_;

    QTimer startupTimer_;  // the first connection, once the window is up
    QTimer meterFeed_;     // hands the levels last read to the meters
    QTimer meterPoll_;     // asks the device for its levels
};

}  // namespace sonoria
