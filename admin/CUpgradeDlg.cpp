#include "admin/CUpgradeDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include <chrono>
#include <thread>

#include "admin/DarkWindow.h"
#include "controls/CGdipButton.h"
#include "controls/DialogTemplate.h"
#include "controls/ImageLoader.h"
#include "controls/LanguageTexts.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/FirmwareTransfer.h"
#include "state/Synchronize.h"

namespace sonoria {
namespace {

constexpr int kStartImage = 292;
constexpr int kRedStatusImage = 234;
constexpr int kGreenStatusImage = 235;
constexpr int kProgressMs = 100;
constexpr int kNoDeviceInfoMs = 1200;
constexpr int kEnterInfoMs = 2500;
constexpr int kRestartInfoMs = 3000;
constexpr auto kAfterRestartPause = std::chrono::milliseconds(50);

const ControlSpec kControls[] = {
    {1149, ControlKind::Label, "升级设备连接状态:", 3, 9, 75, 9},
    {kUpgradeStatusId, ControlKind::Picture, "234", 80, 10, 11, 6},
    {1150, ControlKind::Label, "(直接点击升级即可)", 103, 9, 89, 10, kHidden},
    {1146, ControlKind::Label, "升级版本:", 3, 23, 38, 10},
    {kUpgradeVersionId, ControlKind::Label, "", 41, 23, 54, 10},
    {1145, ControlKind::Label, "当前机器版本:", 100, 23, 52, 10, kHidden},
    {1147, ControlKind::Label, "未知版本", 154, 23, 54, 10, kHidden},
    {1164, ControlKind::Label, "升级进度:", 3, 37, 36, 12},
    {kUpgradePercentId, ControlKind::Label, "0%", 41, 37, 19, 12},
    {kUpgradeBarId, ControlKind::ProgressBar, "", 2, 53, 287, 14},
    {kUpgradeStartId, ControlKind::ImageButton, "开始升级", 113, 70, 50, 14},
};
const DialogSpec kTemplate{kUpgradeDialogId, "机器升级", 292, 87, kDialogFont8, kControls};

QString ImageVersion() {
    return QString::asprintf("%4d-%02d-%02d", kImageVersionYear, kImageVersionMonth, kImageVersionDay);
}

QString Text(const char* chinese, const char* english) { return QString::fromUtf8(ByLanguage(chinese, english)); }

}  // namespace

CUpgradeDlg::CUpgradeDlg(QWidget* owner, Hooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    MakeDark(this);
    red_ = LoadPngPixmap(kRedStatusImage);
    green_ = LoadPngPixmap(kGreenStatusImage);
    status_ = FindControlAs<QLabel>(this, kUpgradeStatusId);
    status_->setScaledContents(true);
    start_ = PrepareImageButton(this, kUpgradeStartId, kStartImage);
    if (start_ != nullptr) connect(start_, &QAbstractButton::clicked, this, [this] { StartUpgrade(true); });
    SetUpgradeStatus(g_bUpgradeMode.load() == 1);
    bar_ = FindControlAs<QProgressBar>(this, kUpgradeBarId);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    FindControlAs<QLabel>(this, kUpgradeVersionId)->setText(ImageVersion());
    progressTimer_.setInterval(kProgressMs);
    connect(&progressTimer_, &QTimer::timeout, this, &CUpgradeDlg::ShowProgress);
    enterTimer_.setSingleShot(true);
    connect(&enterTimer_, &QTimer::timeout, this, [this] {
        if (g_bUpgradeMode.load() == 0 && hooks_.showWaitForUpgrade) hooks_.showWaitForUpgrade(QString());
    });
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
    ApplyWindowLanguageTexts(this, kUpgradeDialogId);
    startCaption_ = start_ != nullptr ? start_->text() : QString();
}

void CUpgradeDlg::SetUpgradeStatus(bool inUpgradeMode) {
    statusGreen_ = inUpgradeMode;
    status_->setPixmap(inUpgradeMode ? green_ : red_);
}

void CUpgradeDlg::StartUpgrade(bool ask) {
    const auto& common = hooks_.common;
    // Also after a lost link: the request and the wait for the device's
    // return would go into nothing.
    const auto noDevice = [&] {
        if (LinkSound()) return false;
        if (common.showInfo) common.showInfo(QString::fromUtf8("请先连接设备!"), kNoDeviceInfoMs);
        return true;
    };
    if (noDevice()) return;
    if (ask && !(common.askYesNo && common.askYesNo(this, Text("确认升级软件配套硬件程序吗?", "Are you sure auto upgrade ?"),
                                                     Text("升级", "Upgrade")))) {
        return;
    }
    // The question may have outlived the link.
    if (noDevice()) return;
    if (start_ != nullptr) start_->setEnabled(false);
    if (g_bUpgradeMode.load() == 1) {
        StartTransfer();
        FindControlAs<QLabel>(this, kUpgradeVersionId)->setText(ImageVersion());
        return;
    }
    if (hooks_.setTransferRequest) hooks_.setTransferRequest(true);
    if (common.showInfo) common.showInfo(Text("请等待进入升级模式", "Wait to upgrade mode"), kEnterInfoMs);
    SendEnterUpgradeMode();
    enterTimer_.start(hooks_.enterUpgradeWaitMs);
}

void CUpgradeDlg::StartTransfer() {
    if (transferring_) return;
    const std::optional<FirmwareImage> image = LoadFirmwareImage();
    const TransferStart started = image ? StartFirmwareTransfer(*image) : TransferStart::SizeRefused;
    if (started == TransferStart::AlreadyRunning) return;  // the running one ends with its own message
    if (started != TransferStart::Started) {
        ShowFailure();
        return;
    }
    transferring_ = true;
    if (start_ != nullptr) {
        start_->setEnabled(false);
        SetStartCaption(Text("升级中……", "Uping......"));
    }
    ShowProgress();
    progressTimer_.start();
}

void CUpgradeDlg::ShowProgress() {
    const int percent = g_nTransferPercent.load();
    FindControlAs<QLabel>(this, kUpgradePercentId)->setText(QString::asprintf("%d%%", percent));
    bar_->setValue(percent);
}

void CUpgradeDlg::SetStartCaption(const QString& caption) {
    start_->setText(caption);
    start_->update();
}

void CUpgradeDlg::ShowFailure() {
    transferring_ = false;
    if (hooks_.common.showInfo) {
        hooks_.common.showInfo(Text("升级失败,请重试!", "Upgrade failed, please retry!"), kUpgradeFailedInfoMs);
    }
    if (start_ != nullptr) {
        SetStartCaption(startCaption_);
        start_->setEnabled(true);
    }
}

void CUpgradeDlg::FinishUpgrade(bool sent) {
    if (!sent) {
        ShowFailure();
        return;
    }
    transferring_ = false;
    if (start_ != nullptr) start_->setEnabled(true);
    // The restart goes only to the device that took the image, still in its upgrade mode.
    if (g_Device.firmwareV1.load() == 1 && g_bUpgradeMode.load() == 1 && TransferLinkStillOpen()) {
        SendUpgradeRestart();
        std::this_thread::sleep_for(kAfterRestartPause);
        if (hooks_.common.showInfo) {
            hooks_.common.showInfo(Text("升级完成，正在重启中……", "Restart……"), kRestartInfoMs);
        }
    } else if (hooks_.showWaitForUpgrade) {
        hooks_.showWaitForUpgrade(Text("升级完成，请重启机器电源!", "Please restart machine!"));
    }
    Destroy();
}

void CUpgradeDlg::Destroy() {
    destroying_ = true;
    progressTimer_.stop();
    enterTimer_.stop();
    close();
}

void CUpgradeDlg::closeEvent(QCloseEvent* event) {
    if (destroying_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    hide();
}

void CUpgradeDlg::keyPressEvent(QKeyEvent* event) {
    // Enter does nothing; Escape and the close box only hide the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
