#include "admin/COtherDlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <array>

#include "admin/DisconnectedNotice.h"
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/ClassicCheckStyle.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"
#include "state/Language.h"
#include "state/MachineSettings.h"
#include "state/Senders.h"

namespace sonoria {
namespace {

constexpr QColor kBackground(32, 32, 32);
constexpr QColor kFrame(150, 150, 150);
constexpr QColor kChecked(0, 228, 86);
constexpr QColor kOff(120, 120, 120);
constexpr QColor kTip(255, 0, 0);
constexpr int kNoticeMs = 1200;
constexpr int kApplyImage = 291;
constexpr int kTipId = 1106;

// Lock checks in the order of their ids, with their bit of KeyLockBits and tooltip.
struct LockCheck {
    int id;
    int bit;
    const char* tooltip;
};
constexpr std::array<LockCheck, 8> kLockChecks = {{
    {2321, kLockMicVolumeBit, "锁定后，话筒音量将无法调节"},
    {2322, kLockMusicVolumeBit, "锁定后，音乐音量将无法调节"},
    {2323, kLockMicMenuBit, "锁定后，将无法进入话筒菜单"},
    {2324, kLockMusicMenuBit, "锁定后，将无法进入音乐菜单"},
    {2325, kLockLoadModeBit, "锁定后，在机器上无法载入四种模式"},
    {2326, kLockSaveModeBit, "锁定后，在机器上无法保存四种模式"},
    {2327, kLockEffectVolumeBit, nullptr},
    {2328, kLockRemoteBit, nullptr},
}};

// Sliders with the record byte each edits, and whether its label shows it halved.
struct SliderRow {
    int id;
    MachineRecordByte byte;
    int top;
    bool halved;
};
constexpr std::array<SliderRow, 6> kSliders = {{
    {COtherDlg::kPowerOnMicSlider, PowerOnMicVolume, kMachineVolumeTop, true},
    {COtherDlg::kPowerOnMusicSlider, PowerOnMusicVolume, kMachineVolumeTop, true},
    {COtherDlg::kMaxMicSlider, MaxMicVolume, kMachineVolumeTop, true},
    {COtherDlg::kMaxMusicSlider, MaxMusicVolume, kMachineVolumeTop, true},
    {COtherDlg::kMaxCenterSlider, MaxCenterVolume, kMachineOutputVolumeTop, false},
    {COtherDlg::kMaxSubSlider, MaxSubVolume, kMachineOutputVolumeTop, false},
}};

const ControlSpec kControls[] = {
    {1155, ControlKind::GroupBox, "Machine Settings", 5, 4, 426, 123},
    {1090, ControlKind::Label, "POWER MIC VOL", 12, 19, 67, 9, kRightAligned},
    {COtherDlg::kPowerOnMicSlider, ControlKind::Slider, "", 83, 17, 115, 12},
    {2000, ControlKind::Label, "0", 199, 18, 24, 8, kCentered},
    {COtherDlg::kPowerOnMicCheck, ControlKind::CheckBox, "ON", 223, 18, 31, 10},
    {1091, ControlKind::Label, "POWER MUSIC VOL", 12, 41, 67, 9, kRightAligned},
    {COtherDlg::kPowerOnMusicSlider, ControlKind::Slider, "", 83, 39, 115, 12},
    {2001, ControlKind::Label, "0", 199, 40, 24, 8, kCentered},
    {COtherDlg::kPowerOnMusicCheck, ControlKind::CheckBox, "ON", 223, 39, 31, 10},
    {1092, ControlKind::Label, "MAX MIC VOL", 12, 73, 67, 9},
    {COtherDlg::kMaxMicSlider, ControlKind::Slider, "", 83, 71, 115, 12},
    {2002, ControlKind::Label, "0", 199, 72, 24, 8, kCentered},
    {1093, ControlKind::Label, "MAX MUSIC VOL", 12, 100, 67, 9},
    {COtherDlg::kMaxMusicSlider, ControlKind::Slider, "", 83, 98, 115, 12},
    {2003, ControlKind::Label, "0", 199, 99, 24, 8, kCentered},
    {1094, ControlKind::Label, "MAX CENTER VOL", 12, 122, 67, 9, kHidden},
    {COtherDlg::kMaxCenterSlider, ControlKind::Slider, "", 83, 120, 115, 12, kHidden},
    {2004, ControlKind::Label, "0", 199, 121, 24, 8, kCentered | kHidden},
    {1095, ControlKind::Label, "MAX SUB VOL", 12, 135, 67, 9, kHidden},
    {COtherDlg::kMaxSubSlider, ControlKind::Slider, "", 83, 133, 115, 12, kHidden},
    {2005, ControlKind::Label, "0", 199, 134, 24, 8, kCentered | kHidden},
    {1156, ControlKind::GroupBox, "Vol save mode", 267, 12, 158, 42},
    {COtherDlg::kByModeRadio, ControlKind::RadioButton, "VOL BY MODE", 281, 25, 70, 10},
    {COtherDlg::kByRandomRadio, ControlKind::RadioButton, "VOL BY MODE", 281, 39, 70, 10},
    {1201, ControlKind::GroupBox, "", 226, 61, 201, 63},
    {COtherDlg::kLockOnCheck, ControlKind::CheckBox, "LOCK ON", 233, 59, 45, 10},
    {2321, ControlKind::CheckBox, "MIC VOL", 229, 76, 62, 10},
    {2323, ControlKind::CheckBox, "MIC MENU", 293, 76, 62, 10},
    {2325, ControlKind::CheckBox, "LOAD MODE", 358, 76, 62, 10},
    {2322, ControlKind::CheckBox, "MUSIC VOL", 229, 94, 62, 10},
    {2324, ControlKind::CheckBox, "MUSIC MENU", 293, 94, 62, 10},
    {2326, ControlKind::CheckBox, "SAVE MODE", 358, 94, 62, 10},
    {2327, ControlKind::CheckBox, "MUSIC VOL", 229, 110, 62, 10},
    {2328, ControlKind::CheckBox, "MUSIC MENU", 293, 110, 62, 10},
    {kTipId, ControlKind::Label, "Tip: Click \"Apply\" the machine settings is valid!", 167, 137, 205, 8, kRightAligned},
    {COtherDlg::kApplyId, ControlKind::ImageButton, "APPLY", 378, 134, 50, 14},
};
const DialogSpec kTemplate{COtherDlg::kDialogId, "Machine settings", 438, 161, kDialogFont8, kControls};

const std::pair<int, const char*> kTooltips[] = {
    {1090, "当话筒开机音量设置为开时，机器通电后话筒音量为设置的值"},
    {1091, "当音乐开机音量设置为开时，机器通电后音乐音量为设置的值"},
    {1092, "限制能够调节的最大话筒音量"},
    {1093, "限制能够调节的最大音乐音量"},
    {1094, "限制能够调节的最大中置音量"},
    {1095, "限制能够调节的最大超低音量"},
    {COtherDlg::kLockOnCheck, "启用锁定功能"},
    {COtherDlg::kApplyId, "必须保存以上的设置才能生效"},
};

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

QString InvalidText() { return IsEnglish() ? QStringLiteral("Invalid") : QString::fromUtf8("无效"); }

int EditByte(MachineRecordByte byte) { return g_Device.machineEdit[byte].load(); }
void SetEditByte(MachineRecordByte byte, int value) { g_Device.machineEdit[byte].store(static_cast<std::uint8_t>(value)); }

}  // namespace

int COtherDlg::LockBitOf(int checkId) {
    for (const LockCheck& check : kLockChecks) {
        if (check.id == checkId) return check.bit;
    }
    return -1;
}

COtherDlg::COtherDlg(QWidget* owner, Hooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) SetTextColor(child, Qt::white);
    for (int id : {1155, 1156, 1201}) {
        if (auto* frame = FindControlAs<CXPGroupBox>(this, id)) {
            frame->SetCaptionColor(Qt::white).SetFillColors(kBackground, kBackground).SetFrameColor(kFrame);
        }
    }
    // The classic boxes, so that the chosen colours show whatever the platform's style.
    for (int id : {int(kPowerOnMicCheck), int(kPowerOnMusicCheck), int(kByModeRadio), int(kByRandomRadio),
                   int(kLockOnCheck)}) {
        Button(id)->setStyle(ClassicCheckStyleInstance());
    }
    for (const LockCheck& check : kLockChecks) {
        Button(check.id)->setStyle(ClassicCheckStyleInstance());
        if (check.tooltip != nullptr) Button(check.id)->setToolTip(QString::fromUtf8(check.tooltip));
        connect(Button(check.id), &QAbstractButton::clicked, this, [this, id = check.id] { OnLockCheck(id); });
    }
    for (const auto& [id, tip] : kTooltips) FindControl(this, id)->setToolTip(QString::fromUtf8(tip));
    SetTextColor(Label(kTipId), kTip);
    // LOCK ON sits on its frame's top line, as the frame's caption.
    QPalette ground = Button(kLockOnCheck)->palette();
    ground.setColor(QPalette::Window, kBackground);
    ground.setColor(QPalette::Button, kBackground);
    Button(kLockOnCheck)->setPalette(ground);
    Button(kLockOnCheck)->setAutoFillBackground(true);
    for (const SliderRow& row : kSliders) {
        CXBmpSlider* slider = Slider(row.id);
        slider->SetRange(0, row.top);
        slider->SetTrackImages();
        slider->SetThumbImages(CXBmpSlider::kThumbImageId);
        slider->SetMargins(5, 4, 1, 1);
        slider->SetBackgroundColor(0xFF202020);
        connect(slider, &CXBmpSlider::sliderChanged, this, &COtherDlg::OnSlider);
    }
    connect(Button(kPowerOnMicCheck), &QAbstractButton::clicked, this, [this] { OnPowerOnCheck(false); });
    connect(Button(kPowerOnMusicCheck), &QAbstractButton::clicked, this, [this] { OnPowerOnCheck(true); });
    connect(Button(kByModeRadio), &QAbstractButton::clicked, this, [this] { OnVolumeSaveMode(true); });
    connect(Button(kByRandomRadio), &QAbstractButton::clicked, this, [this] { OnVolumeSaveMode(false); });
    connect(Button(kLockOnCheck), &QAbstractButton::clicked, this, &COtherDlg::OnLockOn);
    auto* apply = FindControlAs<CGdipButton>(this, kApplyId);
    apply->SetStandardImage(kApplyImage);
    apply->SetCaptionColor(Qt::white);
    connect(apply, &QAbstractButton::clicked, this, &COtherDlg::OnApply);
    // However the window goes (close box, Escape, a click in the main window),
    // the main window's sliders follow the device's ceilings again.
    connect(this, &QDialog::finished, this, [this] {
        if (hooks_.refreshVolumeStrip) hooks_.refreshVolumeStrip();
    });
    RefreshMachineSettings();
    RefreshMachineSettingsLanguage();
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

CXBmpSlider* COtherDlg::Slider(int id) const { return FindControlAs<CXBmpSlider>(this, id); }
QLabel* COtherDlg::Label(int id) const { return FindControlAs<QLabel>(this, id); }
QAbstractButton* COtherDlg::Button(int id) const { return FindControlAs<QAbstractButton>(this, id); }

void COtherDlg::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), kBackground); }

void COtherDlg::RefreshMachineSettings() {
    // What is shown is what APPLY sends: the edit starts from the device's settings.
    CopyDeviceSettingsToEdit();
    ShowEditCopy();
}

void COtherDlg::RefreshMachineSettingsLanguage() {
    ApplyWindowLanguageTexts(this, kDialogId);
    ShowPowerOn();
}

void COtherDlg::ShowPowerOn() {
    const struct {
        int slider, label, check;
        MachineRecordByte byte;
    } rows[] = {{kPowerOnMicSlider, 2000, kPowerOnMicCheck, PowerOnMicVolume},
                {kPowerOnMusicSlider, 2001, kPowerOnMusicCheck, PowerOnMusicVolume}};
    for (const auto& row : rows) {
        const int value = EditByte(row.byte);
        const bool set = value != kPowerOnVolumeUnset;
        CXBmpSlider* slider = Slider(row.slider);
        slider->SetSliderEnabled(set);
        if (set) slider->SetPos(std::clamp(value, 0, kMachineVolumeTop));
        Label(row.label)->setText(set ? QString::number(value / 2) : InvalidText());
        Button(row.check)->setChecked(set);
    }
    UpdateColors();
}

void COtherDlg::ShowEditCopy() {
    ShowPowerOn();
    for (const SliderRow& row : kSliders) {
        if (row.byte == PowerOnMicVolume || row.byte == PowerOnMusicVolume) continue;
        const int value = EditByte(row.byte);
        Slider(row.id)->SetPos(std::clamp(value, 0, row.top));
        Label(kFirstValueLabel + (row.id - kPowerOnMicSlider))->setText(QString::number(row.halved ? value / 2 : value));
    }
    const bool lockOn = EditByte(KeyLockEnable) != 0;
    Button(kLockOnCheck)->setChecked(lockOn);
    const int bits = EditByte(KeyLockBits);
    for (const LockCheck& check : kLockChecks) {
        Button(check.id)->setChecked((bits >> check.bit) & 1);
        Button(check.id)->setEnabled(lockOn);
    }
    const bool byMode = EditByte(VolumeSaveMode) != 0;
    Button(kByModeRadio)->setChecked(byMode);
    Button(kByRandomRadio)->setChecked(!byMode);
    UpdateColors();
}

void COtherDlg::UpdateColors() {
    const bool micOn = Button(kPowerOnMicCheck)->isChecked();
    const bool musicOn = Button(kPowerOnMusicCheck)->isChecked();
    for (int id : {1090, 2000}) SetTextColor(FindControl(this, id), micOn ? QColor(Qt::white) : kOff);
    for (int id : {1091, 2001}) SetTextColor(FindControl(this, id), musicOn ? QColor(Qt::white) : kOff);
    for (int id : {int(kByModeRadio), int(kByRandomRadio)}) {
        SetTextColor(Button(id), Button(id)->isChecked() ? kChecked : QColor(Qt::white));
    }
    for (int id : {int(kPowerOnMicCheck), int(kPowerOnMusicCheck), int(kLockOnCheck)}) SetTextColor(Button(id), kChecked);
    for (const LockCheck& check : kLockChecks) SetTextColor(Button(check.id), kChecked);
}

void COtherDlg::OnSlider(int id, int position) {
    const auto row = std::find_if(kSliders.begin(), kSliders.end(), [id](const SliderRow& r) { return r.id == id; });
    if (row == kSliders.end()) return;
    const int value = std::clamp(position, 0, row->top);
    SetEditByte(row->byte, value);
    Label(kFirstValueLabel + (id - kPowerOnMicSlider))->setText(QString::number(row->halved ? value / 2 : value));
    // The power-on volumes are heard at once.
    if (id == kPowerOnMicSlider) SetMicVolume(value);
    if (id == kPowerOnMusicSlider) SetMusicVolume(value);
}

void COtherDlg::OnPowerOnCheck(bool music) {
    const int sliderId = music ? kPowerOnMusicSlider : kPowerOnMicSlider;
    const int labelId = music ? 2001 : 2000;
    const MachineRecordByte byte = music ? PowerOnMusicVolume : PowerOnMicVolume;
    CXBmpSlider* slider = Slider(sliderId);
    if (Button(music ? kPowerOnMusicCheck : kPowerOnMicCheck)->isChecked()) {
        // Starts from the volume the device has now.
        const int current = std::clamp(int(music ? GetParam(kMusicVolume).first : GetParam(kMicVolume).first), 0, kMachineVolumeTop);
        slider->SetSliderEnabled(true);
        slider->SetPos(current);
        SetEditByte(byte, current);
        Label(labelId)->setText(QString::number(current / 2));
    } else {
        slider->SetSliderEnabled(false);
        Label(labelId)->setText(InvalidText());
        SetEditByte(byte, kPowerOnVolumeUnset);
    }
    UpdateColors();
}

void COtherDlg::OnVolumeSaveMode(bool byMode) {
    SetEditByte(VolumeSaveMode, byMode ? 1 : 0);
    Button(kByModeRadio)->setChecked(byMode);
    Button(kByRandomRadio)->setChecked(!byMode);
    UpdateColors();
}

void COtherDlg::OnLockOn() {
    const bool on = Button(kLockOnCheck)->isChecked();
    SetEditByte(KeyLockEnable, on ? 1 : 0);
    // Disabled, the locks keep their states; APPLY sends them all the same.
    for (const LockCheck& check : kLockChecks) Button(check.id)->setEnabled(on);
}

void COtherDlg::OnLockCheck(int id) { SetKeyLockBit(LockBitOf(id), Button(id)->isChecked()); }

void COtherDlg::OnApply() {
    if (!ApplyMachineSettings()) {
        if (hooks_.showInfo) hooks_.showInfo(DisconnectedNotice(), kNoticeMs);
        return;
    }
    if (hooks_.showInfo) hooks_.showInfo(IsEnglish() ? QStringLiteral("Setting saved") : QString::fromUtf8("保存设置成功!"), kNoticeMs);
    if (hooks_.refreshVolumeStrip) hooks_.refreshVolumeStrip();
}

}  // namespace sonoria
