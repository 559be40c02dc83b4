#include "admin/CDlgFunction.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>

#include <array>
#include <chrono>
#include <thread>

#include "controls/CGdipButton.h"
#include "controls/CXPGroupBox.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "files/FileNames.h"
#include "files/ModeFile.h"
#include "link/DebugLog.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/MachineSettings.h"
#include "state/ModeCommands.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

constexpr QColor kBackground(32, 32, 32);
constexpr QColor kFrame(150, 150, 150);
constexpr QColor kSelectedText(0, 228, 86);
constexpr int kButtonImage = 292;
constexpr int kSelectedButtonImage = 294;
constexpr int kNoticeMs = 1200;
constexpr int kSavedNoticeMs = 1000;
constexpr int kModes = 4;

// Mode rows: x of the four buttons, 26 by 14 dialog units each.
constexpr std::array<int, kModes> kModeX = {42, 70, 96, 124};

#define MODE_ROW(first, y)                                                                          \
    {first, ControlKind::ImageButton, "M1", kModeX[0], y, 26, 14},                                  \
        {first + 1, ControlKind::ImageButton, "M2", kModeX[1], y, 26, 14},                          \
        {first + 2, ControlKind::ImageButton, "M3", kModeX[2], y, 26, 14},                          \
        {first + 3, ControlKind::ImageButton, "M4", kModeX[3], y, 26, 14}

const ControlSpec kControls[] = {
    {1157, ControlKind::GroupBox, "Machine Mode", 12, 11, 141, 61},
    {1106, ControlKind::Label, "Load", 20, 25, 20, 8},
    MODE_ROW(CDlgFunction::kLoadMode1, 23),
    {1107, ControlKind::Label, "Save", 20, 41, 20, 8},
    MODE_ROW(CDlgFunction::kSaveMode1, 39),
    {1164, ControlKind::Label, "Reset", 20, 57, 20, 8},
    MODE_ROW(CDlgFunction::kDefaultMode1, 55),
    {1160, ControlKind::GroupBox, "Machine Mode", 12, 76, 141, 30},
    {CDlgFunction::kLoadFileId, ControlKind::ImageButton, "Load File", 22, 87, 59, 14},
    {CDlgFunction::kSaveFileId, ControlKind::ImageButton, "Save File", 88, 87, 59, 14},
    {1158, ControlKind::GroupBox, "Other Function", 161, 11, 141, 91},
    {CDlgFunction::kResetId, ControlKind::ImageButton, "Reset ", 173, 25, 59, 17},
    {CDlgFunction::kAboutId, ControlKind::ImageButton, "About", 239, 25, 59, 17},
    {CDlgFunction::kRemoteId, ControlKind::ImageButton, "Remote", 173, 51, 59, 17},
    {CDlgFunction::kAutoSubId, ControlKind::ImageButton, "Auto Sub", 239, 51, 59, 17},
    {CDlgFunction::kWirelessId, ControlKind::ImageButton, "WIFI MIC", 173, 77, 59, 17, kHidden},
    {CDlgFunction::kUpgradeId, ControlKind::ImageButton, "Upgrade", 218, 104, 59, 17, kHidden},
    {CDlgFunction::kLanguageId, ControlKind::ImageButton, "中文", 153, 105, 59, 17, kHidden},
};
#undef MODE_ROW

const DialogSpec kTemplate{CDlgFunction::kDialogId, "Function", 313, 122, kDialogFont8, kControls};

QString Tr(const char* chinese, const char* english) { return QString::fromUtf8(IsEnglish() ? english : chinese); }

QString ChineseNumeral(int slot) {
    static const char* const kNumerals[kModes] = {"一", "二", "三", "四"};
    return QString::fromUtf8(kNumerals[ClampMode(slot)]);
}

}  // namespace

CDlgFunction::CDlgFunction(QWidget* owner, Hooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    for (int id : {1106, 1107, 1164}) {
        auto* label = FindControlAs<QLabel>(this, id);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        label->setAttribute(Qt::WA_TranslucentBackground);
    }
    for (int id : {1157, 1160, 1158}) {
        if (auto* frame = FindControlAs<CXPGroupBox>(this, id)) {
            frame->SetCaptionColor(Qt::white).SetFillColors(kBackground, kBackground).SetFrameColor(kFrame);
        }
    }
    const std::pair<int, std::function<void()>> actions[] = {
        {kResetId, [this] { OnReset(); }},
        {kLoadFileId, [this] { OnLoadFile(); }},
        {kSaveFileId, [this] { OnSaveFile(); }},
        {kAboutId, [this] { if (hooks_.showAbout) hooks_.showAbout(this); }},
        {kRemoteId, [this] { if (hooks_.showRemoteLearning) hooks_.showRemoteLearning(this); }},
        {kAutoSubId, [this] { if (hooks_.showAutoSub) hooks_.showAutoSub(this); }},
        {kWirelessId, [this] { if (hooks_.showWirelessMics) hooks_.showWirelessMics(this); }},
        {kUpgradeId, [this] { if (hooks_.showFirmwareUpgrade) hooks_.showFirmwareUpgrade(); }},
        {kLanguageId, [this] { if (hooks_.toggleLanguage) hooks_.toggleLanguage(); }},
    };
    for (const auto& [id, action] : actions) {
        connect(FindControlAs<QAbstractButton>(this, id), &QAbstractButton::clicked, this, action);
    }
    for (int slot = 0; slot < kModes; ++slot) {
        const auto wire = [this](int id, auto handler, int n) {
            connect(FindControlAs<QAbstractButton>(this, id), &QAbstractButton::clicked, this,
                    [this, handler, n] { (this->*handler)(n); });
        };
        wire(kLoadMode1 + slot, &CDlgFunction::OnLoadMode, slot);
        wire(kSaveMode1 + slot, &CDlgFunction::OnSaveMode, slot);
        wire(kDefaultMode1 + slot, &CDlgFunction::OnDefaultMode, slot);
    }
    for (auto* button : findChildren<CGdipButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        button->SetStandardImage(kButtonImage);
        button->SetCaptionColor(Qt::white);
    }
    for (int slot = 0; slot < kModes; ++slot) {
        FindControlAs<CGdipButton>(this, kLoadMode1 + slot)->SetAlternateImage(kSelectedButtonImage);
    }
    RefreshLoadButtons();
    ShowWirelessButtonByModel();
    ApplyLanguage();
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

void CDlgFunction::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), kBackground); }

void CDlgFunction::RefreshLoadButtons() {
    const int current = g_Device.currentMode.load();
    for (int slot = 0; slot < kModes; ++slot) {
        auto* button = FindControlAs<CGdipButton>(this, kLoadMode1 + slot);
        button->SetSelected(slot == current);
        button->SetCaptionColor(slot == current ? kSelectedText : QColor(Qt::white));
        button->update();
    }
}

void CDlgFunction::ShowWirelessButtonByModel() {
    FindControl(this, kWirelessId)->setVisible(IsWirelessModel(g_Device.machineName.Get()));
}

void CDlgFunction::RefreshAfterSync() {
    RefreshLoadButtons();
    ShowWirelessButtonByModel();
}

void CDlgFunction::ApplyLanguage() { ApplyWindowLanguageTexts(this, kDialogId); }

void CDlgFunction::ShowInfo(const QString& text, int milliseconds) {
    if (hooks_.showInfo) hooks_.showInfo(text, milliseconds);
}

void CDlgFunction::OnLoadMode(int slot) {
    if (g_bDeviceOpen.load() == 0) return;
    if (DeviceKeyLocked(kLockLoadModeBit)) {
        ShowInfo(Tr("载入模式已锁定!", "Load mode locked!"), kNoticeMs);
        return;
    }
    LoadMode(slot);
    if (hooks_.runSyncProgress) hooks_.runSyncProgress(kSyncReadAll);
}

void CDlgFunction::OnSaveMode(int slot) {
    if (g_bDeviceOpen.load() == 0) return;
    if (DeviceKeyLocked(kLockSaveModeBit)) {
        ShowInfo(Tr("存储模式已锁定!", "Save mode locked!"), kNoticeMs);
        return;
    }
    g_Device.modified.store(0);
    if (!SaveMode(slot)) {
        // Nothing reached the device: no "Saved".
        g_Device.modified.store(1);
        ShowInfo(QString::fromUtf8("机器没有连接!"), kNoticeMs);
        return;
    }
    // The device stores the mode before it shows anything; the window simply waits for it.
    std::this_thread::sleep_for(std::chrono::milliseconds(kSaveSettleMs));
    const int shown = ClampMode(slot);
    ShowInfo(IsEnglish() ? QStringLiteral("Saved Mode%1").arg(shown + 1)
                         : QString::fromUtf8("已储存模式") + ChineseNumeral(shown),
             kSavedNoticeMs);
    if (hooks_.refreshModeButtons) hooks_.refreshModeButtons();
}

void CDlgFunction::OnDefaultMode(int slot) {
    if (g_bDeviceOpen.load() == 0) return;
    if (DeviceKeyLocked(kLockLoadModeBit)) {
        ShowInfo(Tr("载入模式已锁定!", "Load mode locked!"), kNoticeMs);
        return;
    }
    const QString question = QString::fromUtf8("您确定调用默认模式%1").arg(ChineseNumeral(slot));
    if (!hooks_.askYesNo || !hooks_.askYesNo(this, question, QString::fromUtf8("确认?"))) return;
    // The question may have outlived the link.
    if (g_bDeviceOpen.load() == 0) return;
    RecallDefaultMode(slot);
    if (hooks_.runSyncProgress) hooks_.runSyncProgress(kSyncReadAll);
}

void CDlgFunction::OnReset() {
    if (!hooks_.askYesNo ||
        !hooks_.askYesNo(this, QString::fromUtf8("您确定将机器复位吗?"), QString::fromUtf8("机器复位"))) {
        return;
    }
    if (!ResetMachine()) ShowInfo(QString::fromUtf8("请先连接设备再执行此操作!"), kNoticeMs);
}

void CDlgFunction::OnLoadFile() {
    if (g_bDeviceOpen.load() == 0) {
        ShowInfo(QString::fromUtf8("机器没有连接!"), kNoticeMs);
        return;
    }
    if (!hooks_.chooseFileToOpen) return;
    const QString path = hooks_.chooseFileToOpen(this, QStringLiteral("Mode Files (*.k71x)"));
    if (path.isEmpty()) return;
    // The dialog may have outlived the link: nothing is read into an image no device will get.
    if (g_bDeviceOpen.load() == 0) {
        ShowInfo(QString::fromUtf8("机器没有连接!"), kNoticeMs);
        return;
    }
    std::string error;
    if (ReadModeFile(path.toStdString(), &error) != 1) {
        if (hooks_.showWarning) {
            hooks_.showWarning(this, Tr("无法载入文件:\n%1", "The file could not be loaded:\n%1").arg(QString::fromStdString(error)),
                               Tr("载入文件", "Load File"));
        }
        return;
    }
    // Only a file that was read designates the mode its write-all ends in. The
    // name is the platform's: on Linux a backslash is part of it.
    if (hooks_.setPendingModeSlot) {
        hooks_.setPendingModeSlot(TargetModeForName(QFileInfo(path).fileName().toStdString()));
    }
    DebugLog("Start thread:SynchronizeData\n");
    StartWriteAll();
    if (hooks_.runSyncProgress) hooks_.runSyncProgress(kSyncWriteAll);
}

void CDlgFunction::OnSaveFile() {
    if (g_bDeviceOpen.load() == 0) {
        ShowInfo(QString::fromUtf8("机器没有连接!"), kNoticeMs);
        return;
    }
    if (hooks_.saveModeFile) hooks_.saveModeFile(this);
}

}  // namespace sonoria
