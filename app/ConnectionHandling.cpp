// The main window's half that handles the device: connecting at start-up and
// on arrival, the synchronisation behind the progress window, accepting or
// refusing the model, the meters, the master volumes under the key locks,
// loading modes, and the save questions at removal and at close.
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>

#include "admin/CSynDlg.h"
#include "app/CSonoriaDlg.h"
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
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ModeCommands.h"
#include "state/Senders.h"
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

}  // namespace

void CSonoriaDlg::SetDeviceWatch(std::unique_ptr<DeviceWatch> watch) {
    watch_ = std::move(watch);
    if (!watch_) return;
    connect(watch_.get(), &DeviceWatch::deviceArrived, this, &CSonoriaDlg::OnDeviceArrived);
    connect(watch_.get(), &DeviceWatch::deviceRemoved, this, &CSonoriaDlg::OnDeviceRemoved);
}

void CSonoriaDlg::StartupConnection() {
    startupTimer_.stop();
    if (ConnectDeviceImage(this) != 1) return;
    StartNewConnection();
}

void CSonoriaDlg::StartNewConnection() {
    StartSynchronizeData();
    meterFeed_.start();
    SetConnectionStatus(true);
    firstSyncPending_ = true;
    RunSyncProgress();
    // The device may have gone or been refused while the progress window ran.
    if (g_bDeviceOpen.load() == 1) meterPoll_.start();
}

void CSonoriaDlg::OnDeviceArrived(const QString& path) {
    // A device node may get its access rights a moment after it appears: try a few more times.
    TryConnectOnArrival(path.startsWith(QLatin1String("/dev/")) ? kArrivalRetries : 0);
}

void CSonoriaDlg::TryConnectOnArrival(int retriesLeft) {
    if (g_bDeviceOpen.load() == 1) return;
    if (ConnectDeviceImage(this) == 1) {
        StartNewConnection();
        return;
    }
    if (retriesLeft > 0) {
        QTimer::singleShot(kArrivalRetryMs, this, [this, retriesLeft] { TryConnectOnArrival(retriesLeft - 1); });
    }
}

void CSonoriaDlg::OnDeviceRemoved(const QString& path) {
    if (g_bDeviceOpen.load() == 0 || path.compare(QString::fromStdString(DevicePath()), Qt::CaseInsensitive) != 0) {
        return;
    }
    // Keep the parameters as they were when the device went away: a device
    // plugged in again while the question is open must not change what is saved.
    const std::vector<std::uint8_t> snapshot = BuildModeFile();
    DisconnectDevice();
    StopMeterTimers();
    SetConnectionStatus(false);
    if (!firstSyncPending_ && !synchronising_ && !SyncWorkersRunning() && g_Device.modified.load() == 1) {
        firstSyncPending_ = true;  // asked once per removal
        if (AskYesNo(this, QString::fromUtf8("设备已断开，请问是否需要保存参数文件?"), QString::fromUtf8("保存?"))) {
            SaveModeFileDialog(this, snapshot);
        }
    }
}

void CSonoriaDlg::OnSyncDone(int) {
    if (g_bDeviceOpen.load() == 0) {
        CloseSyncProgress();
        synchronising_ = false;
        return;
    }
    if (!IsAcceptedModel(QString::fromLatin1(g_Device.machineName.Get().c_str()))) {
        RefuseDevice();
        return;
    }
    if (pendingModeSlot_ != -1) {
        SelectAndSaveMode(pendingModeSlot_);
        pendingModeSlot_ = -1;
    }
    RefreshAfterSync();
    CloseSyncProgress();
    unsetCursor();
    firstSyncPending_ = false;
}

void CSonoriaDlg::RefuseDevice() {
    if (g_bUpgradeMode.load() == 1) {
        SendCommand(CMD_SELECT_MODE, {0, 0, 1, kEndOfArguments});
    } else {
        SendCommand(CMD_BYE);
    }
    CloseLink();
    StopMeterTimers();
    SetConnectionStatus(false);
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
        int meter, block, index;
    };
    // MicMeter 1/0, MusicMeterL 4/0, MusicMeterR 4/16: levels in the second byte.
    constexpr Source kSources[] = {{IDC_MIC_METER, 1, 0}, {IDC_MUSIC_L_METER, 4, 0}, {IDC_MUSIC_R_METER, 4, 16}};
    for (const Source& source : kSources) {
        const int value = GetParam(source.block, source.index).second;
        if (auto* meter = FindControlAs<CPeakMeterCtrl>(this, source.meter)) meter->SetData(0, std::span(&value, 1));
    }
}

void CSonoriaDlg::PollMeters() {
    if (g_bSyncIdle.load() == 1 && g_bDeviceOpen.load() == 1 && levelDetection_) SendCommand(CMD_GET_METERS);
}

void CSonoriaDlg::OnMasterVolume(int sliderId, int position) {
    const auto label = [this](int id, int value) { FindControlAs<QLabel>(this, id)->setText(QString::number(value)); };
    switch (sliderId) {
        case IDC_MIC_SLIDER:
            if (Locked(kLockMicVolume)) {
                ShowInfo(QString::fromUtf8("话筒音量已经被锁定!"), kLockInfoMs);
                FindControlAs<CXBmpSlider>(this, IDC_MIC_SLIDER)->SetPos(GetParam(1, 24).first);
                return;
            }
            SetMicVolume(position);
            label(IDC_MIC_VALUE, position / 2);
            break;
        case IDC_MUSIC_SLIDER:
            if (Locked(kLockMusicVolume)) {
                ShowInfo(QString::fromUtf8("音乐音量已经被锁定!"), kLockInfoMs);
                FindControlAs<CXBmpSlider>(this, IDC_MUSIC_SLIDER)->SetPos(GetParam(4, 2).first);
                return;
            }
            SetMusicVolume(position);
            label(IDC_MUSIC_VALUE, position / 2);
            break;
        case IDC_CENTER_SLIDER:
        case IDC_SUB_SLIDER: {
            const bool center = sliderId == IDC_CENTER_SLIDER;
            if (center) {
                SetCenterVolume(position);
            } else {
                SetSubVolume(position);
            }
            label(center ? IDC_CENTER_VALUE : IDC_SUB_VALUE, position);
            // Routed to the rear, the two outputs are one left/right pair.
            if (RearCopyActive()) {
                FindControlAs<CXBmpSlider>(this, center ? IDC_SUB_SLIDER : IDC_CENTER_SLIDER)->SetPos(position);
                if (center) {
                    SetSubVolume(position);
                } else {
                    SetCenterVolume(position);
                }
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
    if (g_bUpgradeMode.load() == 1) {
        SendCommand(CMD_SELECT_MODE, {0, 0, 1, kEndOfArguments});
    } else {
        SendCommand(CMD_BYE);
    }
    CloseLink();
}

void CSonoriaDlg::closeEvent(QCloseEvent* event) {
    if (g_bDeviceOpen.load() == 1 && !firstSyncPending_ && g_Device.modified.load() == 1 &&
        AskYesNo(this, QString::fromUtf8("请问是否需要保存当前参数?"), QString::fromUtf8("保存?"))) {
        SaveMode(g_Device.currentMode.load());
    }
    StopMeterTimers();
    startupTimer_.stop();
    CloseDeviceLink();
    StopSyncWorkers();
    g_hMainWnd.store(nullptr);
    event->accept();
    done(QDialog::Accepted);
}

}  // namespace sonoria
