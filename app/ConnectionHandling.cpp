// The main window's half that handles the device: connecting at start-up and
// on arrival, the synchronisation behind the progress window, accepting or
// refusing the model, the meters, the master volumes under the key locks,
// loading modes, and the save questions at removal and at close.
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>

#include <chrono>
#include <thread>

#include "admin/CSynDlg.h"
#include "app/CSonoriaDlg.h"
#include "app/EditLaneDriver.h"
#include "app/DeviceWatch.h"
#include "controls/DialogTemplate.h"
#include "app/FlowPanel.h"
#include "app/MainWindowTemplate.h"
#include "app/MessageService.h"
#include "app/ModeFileDialogs.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CXBmpSlider.h"
#include "files/ModeFile.h"
#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/EditLane.h"
#include "link/Goodbye.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"
#include "state/FirmwareTransfer.h"
#include "state/Language.h"
#include "state/ModeCommands.h"
#include "state/Senders.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

constexpr int kLockInfoMs = 1200;
constexpr int kLockMicVolume = 0x01;
constexpr int kLockMusicVolume = 0x02;
constexpr int kLockLoadMode = 0x10;
// A new hidraw node may get its access rights a moment after it appears.
constexpr int kArrivalRetries = 10;
constexpr int kArrivalRetryMs = 200;

bool Locked(int bit) {
    return g_Device.machineDevice[KeyLockEnable].load() != 0 && (g_Device.machineDevice[KeyLockBits].load() & bit);
}

QString Tr(const char* chinese, const char* english) { return QString::fromUtf8(IsEnglish() ? english : chinese); }

}  // namespace

void CSonoriaDlg::SetDeviceWatch(std::unique_ptr<DeviceWatch> watch) {
    watch_ = std::move(watch);
    if (!watch_) return;
    connect(watch_.get(), &DeviceWatch::deviceArrived, this, &CSonoriaDlg::OnDeviceArrived);
    connect(watch_.get(), &DeviceWatch::deviceRemoved, this, &CSonoriaDlg::OnDeviceRemoved);
}

void CSonoriaDlg::StartupConnection() {
    startupTimer_.stop();
    if (ConnectToDevice() != ConnectResult::Connected) return;
    StartNewConnection();
}

CSonoriaDlg::ConnectResult CSonoriaDlg::ConnectToDevice() {
    if (ConnectDeviceImage(this) == 1) {
        inUseShown_ = false;
        return ConnectResult::Connected;
    }
    const std::optional<long> holder = holderQuery_ ? holderQuery_() : std::nullopt;
    if (!holder) return ConnectResult::NotFound;
    TellDeviceInUse(*holder);
    return ConnectResult::Held;
}

void CSonoriaDlg::TellDeviceInUse(long processId) {
    // Once per device: arrival retries and repeated arrivals do not repeat it.
    if (inUseShown_) return;
    inUseShown_ = true;
    ShowMessageBox(this,
                   Tr("设备正被另一个程序使用(进程 %1)。", "The device is in use by another program (process %1).")
                       .arg(processId),
                   Tr("错误", "Error"), MessageIcon::Warning);
}

void CSonoriaDlg::StartNewConnection() {
    if (ConnectedInUpgradeMode()) return;
    pendingModeSlot_ = -1;
    DropEdits();
    answerOwedSince_.invalidate();
    StartSynchronizeData();
    meterFeed_.start();
    SetConnectionStatus(true);
    firstSyncPending_ = true;
    RunSyncProgress([this] {
        // The device may have gone or been refused while the progress window ran.
        if (g_bDeviceOpen.load() == 1) meterPoll_.start();
    });
}

void CSonoriaDlg::OnDeviceArrived(const QString& path) {
    // A device node may get its access rights a moment after it appears: try a few more times.
    TryConnectOnArrival(path.startsWith(QLatin1String("/dev/")) ? kArrivalRetries : 0);
}

void CSonoriaDlg::TryConnectOnArrival(int retriesLeft) {
    if (g_bDeviceOpen.load() == 1) return;
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

void CSonoriaDlg::OnDeviceRemoved(const QString& path) {
    // Whatever held a device that is gone holds nothing now.
    inUseShown_ = false;
    if (g_bDeviceOpen.load() == 0 || path.compare(QString::fromStdString(DevicePath()), Qt::CaseInsensitive) != 0) {
        return;
    }
    DeviceGone(false);
}

void CSonoriaDlg::OnLinkLost() {
    // The removal of the same device may have been handled first, and a new
    // link (whose flag starts sound) is not the one that was lost.
    if (g_bDeviceOpen.load() == 0 || g_bReadThreadEnd.load() == 0) return;
    DeviceGone(true);
}

void CSonoriaDlg::DeviceGone(bool linkLost) {
    // Keep the parameters as they were when the device went away: a device
    // plugged in again while the question is open must not change what is saved.
    const std::vector<std::uint8_t> snapshot = BuildModeFile();
    // A firmware transfer is no synchronisation: the upgrade window tells its own failure.
    const bool synchronisationRunning =
        synchronising_ || !sync_.isNull() || (SyncWorkersRunning() && !FirmwareTransferRunning());
    const bool askToSave = !firstSyncPending_ && !synchronisationRunning && g_Device.modified.load() == 1;
    const bool firstSynchronisation = firstSyncPending_;
    DisconnectDevice();
    EndConnection();
    CloseSyncProgress();
    synchronising_ = false;
    // A synchronisation the link broke under has failed; a pulled plug speaks for itself.
    if (linkLost && (synchronisationRunning || firstSynchronisation)) ShowSyncFailure();
    if (askToSave) {
        firstSyncPending_ = true;  // asked once per removal
        if (AskYesNo(this, QString::fromUtf8("设备已断开，请问是否需要保存参数文件?"), QString::fromUtf8("保存?"))) {
            SaveModeFileDialog(this, snapshot);
        }
    }
}

void CSonoriaDlg::EndConnection() {
    // An old read-all must never run on to a new link; what the old link and
    // its workers have posted meanwhile is stale from here on.
    StopSyncWorkers();
    linkGeneration_.fetch_add(1);
    StopMeterTimers();
    DropEdits();
    pendingModeSlot_ = -1;
    SetConnectionStatus(false);
    panel_->OnRoutingDone();
    UpgradeLinkEnded();
}

void CSonoriaDlg::FailConnection() {
    CloseDeviceLink();
    EndConnection();
    CloseSyncProgress();
    synchronising_ = false;
    ShowSyncFailure();
}

void CSonoriaDlg::ShowSyncFailure() { ShowInfo(QString::fromUtf8(kSyncGiveUpText), kSyncGiveUpInfoMs); }

void CSonoriaDlg::OnSyncDone(int kind, bool succeeded) {
    if (kind == kSyncRearRouting) {
        OnRoutingDone();
        return;
    }
    // A lost link whose message has not been handled yet: it comes first.
    if (g_bDeviceOpen.load() == 1 && g_bReadThreadEnd.load() == 1) {
        OnLinkLost();
        return;
    }
    if (g_bDeviceOpen.load() == 0) {
        CloseSyncProgress();
        synchronising_ = false;
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
        RefreshAfterSync();
        CloseSyncProgress();
        ShowSyncFailure();
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
    RefreshAfterSync();
    CloseSyncProgress();
    unsetCursor();
    firstSyncPending_ = false;
}

void CSonoriaDlg::OnRoutingDone() {
    CloseSyncProgress();
    panel_->OnRoutingDone();
}

void CSonoriaDlg::RefuseDevice() {
    SayGoodbye();
    CloseLink();
    EndConnection();
    CloseSyncProgress();
    if (!refusalGuard_) return;
    refusalGuard_ = false;
    ShowMessageBox(this, QString::fromUtf8("机器型号与软件不匹配,无法调控!"), QString::fromUtf8("错误"), MessageIcon::Error);
    refusalGuard_ = true;  // re-armed however the box was closed
}

void CSonoriaDlg::StopMeterTimers() {
    meterFeed_.stop();
    meterPoll_.stop();
}

void CSonoriaDlg::FeedMeters() {
    struct Source {
        int meter;
        ParamAddress level;
    };
    // The meters' levels are in the second byte.
    constexpr Source kSources[] = {
        {IDC_MIC_METER, kMicMeter}, {IDC_MUSIC_L_METER, kMusicMeterL}, {IDC_MUSIC_R_METER, kMusicMeterR}};
    for (const Source& source : kSources) {
        const int value = GetParam(source.level).second;
        if (auto* meter = FindControlAs<CPeakMeterCtrl>(this, source.meter)) meter->SetData(0, std::span(&value, 1));
    }
}

bool CSonoriaDlg::DeviceOwesAnswer() {
    if (!AnswerOutstanding()) {
        answerOwedSince_.invalidate();
        return false;
    }
    if (!answerOwedSince_.isValid()) answerOwedSince_.start();
    // Past one answer window a send goes ahead anyway (and waits out its own
    // window), so that a device that has fallen silent is found out.
    return answerOwedSince_.elapsed() < std::chrono::milliseconds(kAnswerWait).count();
}

void CSonoriaDlg::PollMeters() {
    if (g_bSyncIdle.load() != 1 || g_bDeviceOpen.load() != 1 || !levelDetection_) return;
    // The window never waits on the device: the next poll will do, and the user's volumes go first.
    if (DeviceOwesAnswer() || EditsPending()) return;
    SendCommand(CMD_GET_METERS);
}

void CSonoriaDlg::SendVolume(int sliderId, int position) {
    switch (sliderId) {
        case IDC_MIC_SLIDER: SetMicVolume(position); break;
        case IDC_MUSIC_SLIDER: SetMusicVolume(position); break;
        case IDC_CENTER_SLIDER: SetCenterVolume(position); break;
        case IDC_SUB_SLIDER: SetSubVolume(position); break;
        default: break;
    }
}

void CSonoriaDlg::OnMasterVolume(int sliderId, int position) {
    const auto label = [this](int id, int value) { FindControlAs<QLabel>(this, id)->setText(QString::number(value)); };
    switch (sliderId) {
        case IDC_MIC_SLIDER:
            if (Locked(kLockMicVolume)) {
                ShowInfo(QString::fromUtf8("话筒音量已经被锁定!"), kLockInfoMs);
                FindControlAs<CXBmpSlider>(this, IDC_MIC_SLIDER)->SetPos(GetParam(kMicVolume).first);
                return;
            }
            SendVolume(IDC_MIC_SLIDER, position);
            label(IDC_MIC_VALUE, position / 2);
            break;
        case IDC_MUSIC_SLIDER:
            if (Locked(kLockMusicVolume)) {
                ShowInfo(QString::fromUtf8("音乐音量已经被锁定!"), kLockInfoMs);
                FindControlAs<CXBmpSlider>(this, IDC_MUSIC_SLIDER)->SetPos(GetParam(kMusicVolume).first);
                return;
            }
            SendVolume(IDC_MUSIC_SLIDER, position);
            label(IDC_MUSIC_VALUE, position / 2);
            break;
        case IDC_CENTER_SLIDER:
        case IDC_SUB_SLIDER: {
            const bool center = sliderId == IDC_CENTER_SLIDER;
            SendVolume(sliderId, position);
            label(center ? IDC_CENTER_VALUE : IDC_SUB_VALUE, position);
            // Routed to the rear, the two outputs are one left/right pair.
            if (RearCopyActive()) {
                const int other = center ? IDC_SUB_SLIDER : IDC_CENTER_SLIDER;
                FindControlAs<CXBmpSlider>(this, other)->SetPos(position);
                SendVolume(other, position);
                label(center ? IDC_SUB_VALUE : IDC_CENTER_VALUE, position);
            }
            break;
        }
        default: return;
    }
    UpdateValueColors();
}

void CSonoriaDlg::OnModeButton(int mode) {
    if (g_bDeviceOpen.load() == 0) return;
    if (Locked(kLockLoadMode)) {
        ShowInfo(IsEnglish() ? QStringLiteral("Load mode locked!") : QString::fromUtf8("载入模式已锁定!"), kLockInfoMs);
        return;
    }
    LoadMode(mode);
    RunSyncProgress();
}

void CSonoriaDlg::CloseDeviceLink() {
    if (g_bDeviceOpen.load() != 1) return;
    SayGoodbye();
    CloseLink();
}

bool CSonoriaDlg::SaveCurrentMode() {
    // Saved only when the device took the command: written on a sound link and answered.
    const bool saved = SaveMode(g_Device.currentMode.load()) && WaitForAnswer() && LinkSound();
    if (!saved) g_Device.modified.store(1);
    return saved;
}

void CSonoriaDlg::closeEvent(QCloseEvent* event) {
    // The last edits the user made reach the device before it is left.
    FlushEdits();
    if (g_bDeviceOpen.load() == 1 && !firstSyncPending_ && g_Device.modified.load() == 1 &&
        AskYesNo(this, QString::fromUtf8("请问是否需要保存当前参数?"), QString::fromUtf8("保存?")) &&
        !SaveCurrentMode()) {
        ShowMessageBox(this, Tr("保存失败,设备没有响应!", "Save failed: the device did not answer!"),
                       Tr("错误", "Error"), MessageIcon::Error);
        if (!AskYesNo(this, Tr("是否仍要关闭程序?", "Close the program anyway?"), Tr("关闭?", "Close?"))) {
            event->ignore();
            return;
        }
    }
    CloseEffectWindow();
    StopMeterTimers();
    startupTimer_.stop();
    DropEdits();
    // A transfer in flight is stopped and joined before the device is told goodbye.
    StopSyncWorkers();
    CloseDeviceLink();
    HostMessageSink* self = this;
    g_hMainWnd.compare_exchange_strong(self, nullptr);
    event->accept();
    done(QDialog::Accepted);
}

}  // namespace sonoria
