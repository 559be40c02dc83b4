#include "app/DeviceSession.h"

#include <QMetaMethod>

#include <chrono>

#include "admin/SyncFailureNotice.h"
#include "app/DeviceWatch.h"
#include "app/EditLaneDriver.h"
#include "files/ModeFile.h"
#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/EditLane.h"
#include "link/Goodbye.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/EditHistory.h"
#include "state/FirmwareTransfer.h"
#include "state/Language.h"
#include "state/MachineSettings.h"
#include "state/ModeCommands.h"
#include "state/ReportDispatch.h"
#include "state/Senders.h"
#include "state/Synchronize.h"

namespace sonoria {
namespace {

constexpr int kLockInfoMs = 1200;
constexpr int kUndoInfoMs = 1500;
constexpr int kUntakenInfoMs = 3000;
// A new hidraw node may get its access rights a moment after it appears.
constexpr int kArrivalRetries = 10;
constexpr int kArrivalRetryMs = 200;

QString Tr(const char* chinese, const char* english) { return QString::fromUtf8(IsEnglish() ? english : chinese); }

}  // namespace

const char* PhaseName(SessionPhase phase) {
    switch (phase) {
        case SessionPhase::Idle: return "idle";
        case SessionPhase::Connecting: return "connecting";
        case SessionPhase::Reading: return "reading";
        case SessionPhase::Ready: return "ready";
        case SessionPhase::Writing: return "writing";
        case SessionPhase::Routing: return "routing";
        case SessionPhase::Upgrading: return "upgrading";
        case SessionPhase::Refused: return "refused";
    }
    return "?";
}

DeviceSession::DeviceSession(QObject* parent)
    : QObject(parent), holderQuery_(ConnectionRefusedBy), edits_(std::make_unique<EditLaneDriver>()) {
    startupTimer_.setSingleShot(true);
    connect(&startupTimer_, &QTimer::timeout, this, &DeviceSession::StartupConnection);
    meterFeed_.setInterval(250);
    connect(&meterFeed_, &QTimer::timeout, this, &DeviceSession::metersRead);
    meterPoll_.setInterval(kMeterPollMs);
    connect(&meterPoll_, &QTimer::timeout, this, &DeviceSession::PollMeters);
}

DeviceSession::~DeviceSession() {
    // A session that dies without being shut down must not stay the link's
    // listener, and nothing of its link may still be running to call it: the
    // workers and the read thread end before its members go.
    HostMessageSink* self = this;
    if (g_hMainWnd.compare_exchange_strong(self, nullptr)) {
        StopSyncWorkers();
        DisconnectDevice();
    }
}

bool DeviceSession::Connected() const { return g_bDeviceOpen.load() == 1; }

void DeviceSession::SetPhase(SessionPhase phase) {
    if (phase_ == phase) return;
    phase_ = phase;
    emit phaseChanged(phase);
}

bool DeviceSession::Ask(SessionQuestion::Kind kind, const QString& text, const QString& caption) {
    SessionQuestion question{kind, text, caption};
    emit questionAsked(question);
    return question.answer;
}

void DeviceSession::RequestProgress(std::function<void()> closed) {
    // Without anyone to show a progress window, it has closed at once.
    if (!isSignalConnected(QMetaMethod::fromSignal(&DeviceSession::progressWanted))) {
        if (closed) closed();
        return;
    }
    emit progressWanted(closed);
}

void DeviceSession::SetDeviceWatch(std::unique_ptr<DeviceWatch> watch) {
    watch_ = std::move(watch);
    if (!watch_) return;
    connect(watch_.get(), &DeviceWatch::deviceArrived, this, &DeviceSession::OnDeviceArrived);
    connect(watch_.get(), &DeviceWatch::deviceRemoved, this, &DeviceSession::OnDeviceRemoved);
}

void DeviceSession::ConnectSoon() { startupTimer_.start(startupDelayMs_); }

void DeviceSession::StartupConnection() {
    startupTimer_.stop();
    if (ConnectToDevice() != ConnectResult::Connected) return;
    StartNewConnection();
}

DeviceSession::ConnectResult DeviceSession::ConnectToDevice() {
    SetPhase(SessionPhase::Connecting);
    if (ConnectDeviceImage(this) == 1) {
        inUseShown_ = false;
        return ConnectResult::Connected;
    }
    SetPhase(SessionPhase::Idle);
    const std::optional<long> holder = holderQuery_ ? holderQuery_() : std::nullopt;
    if (!holder) return ConnectResult::NotFound;
    TellDeviceInUse(*holder);
    return ConnectResult::Held;
}

void DeviceSession::TellDeviceInUse(long processId) {
    // Once per device: arrival retries and repeated arrivals do not repeat it.
    if (inUseShown_) return;
    inUseShown_ = true;
    Ask(SessionQuestion::Kind::DeviceInUse,
        Tr("设备正被另一个程序使用(进程 %1)。", "The device is in use by another program (process %1).").arg(processId),
        Tr("错误", "Error"));
}

void DeviceSession::StartNewConnection() {
    if (ConnectedInUpgradeMode()) return;
    pendingModeSlot_ = -1;
    verifying_.reset();
    DropEdits();
    ClearEditHistory();
    answerOwedSince_.invalidate();
    SetPhase(SessionPhase::Reading);
    StartSynchronizeData();
    meterFeed_.start();
    emit connectionChanged(true);
    firstSyncPending_ = true;
    RequestProgress([this] {
        // The device may have gone or been refused while the progress window ran.
        if (Connected()) meterPoll_.start();
    });
}

bool DeviceSession::ConnectedInUpgradeMode() {
    const auto backend = CurrentHidBackend();
    g_bUpgradeMode.store(backend && backend->InUpgradeMode() ? 1 : 0);
    emit deviceBack();
    if (g_bUpgradeMode.load() != 1) return false;
    SetPhase(SessionPhase::Upgrading);
    emit upgradeModeEntered();
    return true;
}

void DeviceSession::OnDeviceArrived(const QString& path) {
    // A device node may get its access rights a moment after it appears: try a few more times.
    TryConnectOnArrival(path.startsWith(QLatin1String("/dev/")) ? kArrivalRetries : 0);
}

void DeviceSession::TryConnectOnArrival(int retriesLeft) {
    if (Connected()) return;
    const ConnectResult result = ConnectToDevice();
    if (result == ConnectResult::Connected) {
        StartNewConnection();
        return;
    }
    // Held by another program: waiting a moment longer does not help.
    if (retriesLeft > 0 && result == ConnectResult::NotFound) {
        QTimer::singleShot(kArrivalRetryMs, this, [this, retriesLeft] { TryConnectOnArrival(retriesLeft - 1); });
    }
}

void DeviceSession::OnDeviceRemoved(const QString& path) {
    // Whatever held a device that is gone holds nothing now.
    inUseShown_ = false;
    if (!Connected()) {
        // A refused device has no link left to match the path against.
        if (phase_ == SessionPhase::Refused) SetPhase(SessionPhase::Idle);
        return;
    }
    if (path.compare(QString::fromStdString(DevicePath()), Qt::CaseInsensitive) != 0) return;
    DeviceGone(false);
}

void DeviceSession::OnLinkLost() {
    // The removal of the same device may have been handled first, and a new
    // link (whose flag starts sound) is not the one that was lost.
    if (!Connected() || g_bReadThreadEnd.load() == 0) return;
    DeviceGone(true);
}

void DeviceSession::DeviceGone(bool linkLost) {
    // Keep the parameters as they were when the device went away: a device
    // plugged in again while the question is open must not change what is saved.
    const std::vector<std::uint8_t> snapshot = BuildModeFile();
    // A firmware transfer is no synchronisation: the upgrade window tells its own failure.
    const bool synchronisationRunning =
        (progressShown_ && progressShown_()) || (SyncWorkersRunning() && !FirmwareTransferRunning());
    const bool askToSave = !firstSyncPending_ && !synchronisationRunning && g_Device.modified.load() == 1;
    const bool firstSynchronisation = firstSyncPending_;
    DisconnectDevice();
    EndConnection();
    emit progressDone();
    // A synchronisation the link broke under has failed; a pulled plug speaks for itself.
    if (linkLost && (synchronisationRunning || firstSynchronisation)) ShowSyncFailure();
    if (askToSave) {
        firstSyncPending_ = true;  // asked once per removal
        if (Ask(SessionQuestion::Kind::SaveAtRemoval, QString::fromUtf8("设备已断开，请问是否需要保存参数文件?"),
                QString::fromUtf8("保存?"))) {
            emit saveModeFileWanted(snapshot);
        }
    }
}

void DeviceSession::EndConnection() {
    // An old read-all must never run on to a new link; what the old link and
    // its workers have posted meanwhile is stale from here on.
    StopSyncWorkers();
    linkGeneration_.fetch_add(1);
    StopMeterTimers();
    DropEdits();
    pendingModeSlot_ = -1;
    verifying_.reset();
    emit connectionChanged(false);
    emit routingDone();
    emit linkEnded();
    SetPhase(SessionPhase::Idle);
}

void DeviceSession::FailConnection() {
    CloseDeviceLink();
    EndConnection();
    emit progressDone();
    ShowSyncFailure();
}

void DeviceSession::ShowSyncFailure() { emit notice(QString::fromUtf8(kSyncGiveUpText), kSyncGiveUpInfoMs); }

void DeviceSession::BulkStarted(SyncKind kind) {
    if (Connected() && kind != kSyncRearRouting) {
        SetPhase(kind == kSyncWriteAll ? SessionPhase::Writing : SessionPhase::Reading);
    }
    RequestProgress();
}

void DeviceSession::Undo() { StepHistory(true); }
void DeviceSession::Redo() { StepHistory(false); }

void DeviceSession::StepHistory(bool undo) {
    if (!Connected()) {
        emit notice(IsEnglish() ? QStringLiteral("Not connected: nothing was undone or redone!")
                                : QString::fromUtf8("设备未连接,无法撤销或重做!"),
                    kUndoInfoMs);
        return;
    }
    if (phase_ != SessionPhase::Ready) return;
    if (undo ? UndoEdit() : RedoEdit()) emit refreshNeeded();
}

void DeviceSession::StartRouting(bool toRear) {
    // A routing switch is one step: undone by switching back.
    RecordEditAction([this, toRear] { StartRouting(!toRear); }, [this, toRear] { StartRouting(toRear); });
    // Its end comes to this session even when no connection was tried yet.
    g_hMainWnd.store(this);
    if (Connected()) SetPhase(SessionPhase::Routing);
    StartRearRouting(toRear);
    emit routingProgressWanted();
}

void DeviceSession::OnSyncDone(int kind, bool succeeded) {
    // The device now holds what was read or written: nothing before is undone.
    if (kind != kSyncRearRouting) ClearEditHistory();
    if (kind == kSyncRearRouting) {
        emit progressDone();
        emit routingDone();
        if (phase_ == SessionPhase::Routing) SetPhase(SessionPhase::Ready);
        return;
    }
    // A lost link whose message has not been handled yet: it comes first.
    if (Connected() && g_bReadThreadEnd.load() == 1) {
        OnLinkLost();
        return;
    }
    if (!Connected()) {
        emit progressDone();
        return;
    }
    if (!succeeded) {
        if (kind == kSyncReadAll) {
            // An image that was not read in full is never taken for the device's.
            FailConnection();
            return;
        }
        // The stored mode must not be made from a file that did not reach the device in full.
        pendingModeSlot_ = -1;
        verifying_.reset();
        emit refreshNeeded();
        emit progressDone();
        ShowSyncFailure();
        SetPhase(SessionPhase::Ready);
        return;
    }
    if (!IsKnownModel(g_Device.machineName.Get())) {
        RefuseDevice();
        return;
    }
    // Only the write-all of a mode file ends in storing it; a read-all that
    // happens to end first leaves the slot to its own write-all.
    if (kind == kSyncWriteAll && pendingModeSlot_ != -1) {
        SelectAndSaveMode(pendingModeSlot_);
        pendingModeSlot_ = -1;
    }
    // A file written in full is read back, behind the same progress window,
    // to find what the device acknowledged but did not take.
    if (kind == kSyncWriteAll) {
        verifying_ = LastWriteAllParameters();
        SetPhase(SessionPhase::Reading);
        StartSynchronizeData();
        return;
    }
    if (verifying_) {
        const int untaken = CountParametersNotTaken(*verifying_);
        verifying_.reset();
        if (untaken > 0) {
            const QString english = untaken == 1 ? QStringLiteral("The device did not take 1 parameter of the file!")
                                                 : QStringLiteral("The device did not take %1 parameters of the file!");
            emit notice(IsEnglish() ? english.arg(untaken) : QString::fromUtf8("设备有 %1 个参数没有接受!").arg(untaken),
                        kUntakenInfoMs);
        }
    }
    emit refreshNeeded();
    emit progressDone();
    SetPhase(SessionPhase::Ready);
    firstSyncPending_ = false;
}

void DeviceSession::RefuseDevice() {
    SayGoodbye();
    CloseLink();
    EndConnection();
    SetPhase(SessionPhase::Refused);
    emit progressDone();
    if (!refusalGuard_) return;
    refusalGuard_ = false;
    Ask(SessionQuestion::Kind::ModelRefused, QString::fromUtf8("机器型号与软件不匹配,无法调控!"),
        QString::fromUtf8("错误"));
    refusalGuard_ = true;  // re-armed however the box was closed
}

void DeviceSession::StopMeterTimers() {
    meterFeed_.stop();
    meterPoll_.stop();
}

bool DeviceSession::DeviceOwesAnswer() {
    if (!AnswerOutstanding()) {
        answerOwedSince_.invalidate();
        return false;
    }
    if (!answerOwedSince_.isValid()) answerOwedSince_.start();
    // Past one answer window a send goes ahead anyway (and waits out its own
    // window), so that a device that has fallen silent is found out.
    return answerOwedSince_.elapsed() < std::chrono::milliseconds(kAnswerWait).count();
}

void DeviceSession::PollMeters() {
    if (g_bSyncIdle.load() != 1 || !Connected() || !levelDetection_) return;
    // The session never waits on the device: the next poll will do, and the user's edits go first.
    if (DeviceOwesAnswer() || EditsPending()) return;
    SendCommand(CMD_GET_METERS);
}

bool DeviceSession::SetMasterVolume(MasterVolume volume, int position, bool* pairMoved) {
    if (pairMoved != nullptr) *pairMoved = false;
    switch (volume) {
        case MasterVolume::Mic:
        case MasterVolume::Music: {
            const bool mic = volume == MasterVolume::Mic;
            if (DeviceKeyLocked(mic ? kLockMicVolumeBit : kLockMusicVolumeBit)) {
                emit notice(QString::fromUtf8(mic ? "话筒音量已经被锁定!" : "音乐音量已经被锁定!"), kLockInfoMs);
                return false;
            }
            mic ? SetMicVolume(position) : SetMusicVolume(position);
            return true;
        }
        case MasterVolume::Center:
        case MasterVolume::Sub: {
            const bool center = volume == MasterVolume::Center;
            center ? SetCenterVolume(position) : SetSubVolume(position);
            // Routed to the rear, the two outputs are one left/right pair.
            if (RearCopyActive()) {
                center ? SetSubVolume(position) : SetCenterVolume(position);
                if (pairMoved != nullptr) *pairMoved = true;
            }
            return true;
        }
    }
    return false;
}

bool DeviceSession::LoadStoredMode(int mode) {
    if (!Connected()) return false;
    if (DeviceKeyLocked(kLockLoadModeBit)) {
        emit notice(IsEnglish() ? QStringLiteral("Load mode locked!") : QString::fromUtf8("载入模式已锁定!"),
                    kLockInfoMs);
        return false;
    }
    LoadMode(mode);
    BulkStarted(kSyncReadAll);
    return true;
}

void DeviceSession::CloseDeviceLink() {
    if (!Connected()) return;
    SayGoodbye();
    CloseLink();
}

bool DeviceSession::SaveCurrentMode() {
    // Saved only when the device took the command: written on a sound link and answered.
    const bool saved = SaveMode(g_Device.currentMode.load()) && WaitForAnswer() && LinkSound();
    if (!saved) g_Device.modified.store(1);
    return saved;
}

bool DeviceSession::MayClose() {
    // The last edits the user made reach the device before it is left.
    FlushEdits();
    if (Connected() && !firstSyncPending_ && g_Device.modified.load() == 1 &&
        Ask(SessionQuestion::Kind::SaveAtClose, QString::fromUtf8("请问是否需要保存当前参数?"),
            QString::fromUtf8("保存?")) &&
        !SaveCurrentMode()) {
        Ask(SessionQuestion::Kind::SaveFailed, Tr("保存失败,设备没有响应!", "Save failed: the device did not answer!"),
            Tr("错误", "Error"));
        return Ask(SessionQuestion::Kind::CloseAnyway, Tr("是否仍要关闭程序?", "Close the program anyway?"),
                   Tr("关闭?", "Close?"));
    }
    return true;
}

void DeviceSession::Shutdown() {
    StopMeterTimers();
    startupTimer_.stop();
    DropEdits();
    // A transfer in flight is stopped and joined before the device is told goodbye.
    StopSyncWorkers();
    CloseDeviceLink();
    HostMessageSink* self = this;
    g_hMainWnd.compare_exchange_strong(self, nullptr);
    SetPhase(SessionPhase::Idle);
}

void DeviceSession::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard lock(hostMessagesMutex_);
        hostMessages_.push_back({message, wParam, lParam, linkGeneration_.load()});
    }
    // The values travel through our own locked queue, not inside Qt's event,
    // so that the thread sanitizer sees every hand-over between the threads.
    QMetaObject::invokeMethod(this, "DeliverHostMessages", Qt::QueuedConnection);
}

void DeviceSession::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    Post(message, wParam, lParam);
}

void DeviceSession::DeliverHostMessages() {
    for (;;) {
        QueuedHostMessage queued;
        {
            std::lock_guard lock(hostMessagesMutex_);
            if (hostMessages_.empty()) return;
            queued = hostMessages_.front();
            hostMessages_.pop_front();
        }
        // The end of a transfer is told also after its link dropped: the window waits for it.
        if (queued.message == WM_UPGRADE_DONE) {
            emit upgradeDone(queued.wParam != 0);
            continue;
        }
        // What a link or its workers said before that link was dropped is
        // stale: a new link must not take an old read-all's end for its own.
        if (queued.generation != linkGeneration_.load()) continue;
        switch (queued.message) {
            case WM_SYNC_DONE: OnSyncDone(static_cast<int>(queued.wParam), queued.lParam != 0); break;
            case WM_LINK_LOST: OnLinkLost(); break;
            case WM_KEY_LEARNED: emit keyLearned(static_cast<int>(queued.wParam)); break;
            case WM_WMIC_STATUS: emit wirelessStatusChanged(); break;
            default: break;  // nothing listens to 1004
        }
    }
}

}  // namespace sonoria
