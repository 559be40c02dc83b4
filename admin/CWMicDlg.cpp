#include "admin/CWMicDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>

#include <algorithm>

#include "admin/DisconnectedNotice.h"
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "controls/ImageLoader.h"
#include "controls/LanguageTexts.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/Synchronize.h"
#include "state/WirelessMics.h"

namespace sonoria {
namespace {

constexpr QColor kBackground(20, 20, 20);
constexpr QRgb kSliderBackground = 0xFF202020;
constexpr QColor kChecked(255, 255, 0);
constexpr int kGuideAreaId = 1193;
constexpr const char* kImageProperty = "imageId";

struct MicControls {
    int statusIcon, guideIcon, picture;
    int inactivePicture, activePicture;
    int gateSlider, gateValue;
};
constexpr std::array<MicControls, 2> kMics = {{
    {1128, 1142, 1126, 365, 367, kWmicGate1SliderId, 2002},
    {1129, 1144, 1127, 366, 368, kWmicGate2SliderId, 2003},
}};
constexpr int kVolumeValueId = 2000;
constexpr int kVolume2ValueId = 2001;

// Pictures are sized to their images: 18 pixels for the icons, 56 for the microphones.
const ControlSpec kControls[] = {
    {1111, ControlKind::Label, "频率选择", 95, 12, 40, 8},
    {kWmicRoomListId, ControlKind::ComboBox, "", 136, 10, 177, 12},
    {kWmicTipId, ControlKind::Label, "静态", 74, 24, 264, 8},
    {1106, ControlKind::Label, "配对状态", 83, 47, 40, 8},
    {1107, ControlKind::Label, "配对状态", 295, 47, 40, 8},
    {1128, ControlKind::Picture, "363", 94, 58, 12, 11},
    {1129, ControlKind::Picture, "363", 307, 58, 12, 11},
    {1126, ControlKind::Picture, "365", 11, 62, 37, 34},
    {1127, ControlKind::Picture, "366", 343, 58, 37, 34},
    {kWmicPairMic1Id, ControlKind::ImageButton, "配对话筒一", 74, 68, 50, 18},
    {kWmicPairMic2Id, ControlKind::ImageButton, "配对话筒二", 287, 68, 50, 18},
    {1108, ControlKind::Label, "发射功率", 8, 93, 64, 8},
    {1109, ControlKind::Label, "发射功率", 210, 93, 64, 8},
    {kWmicPower1FullId, ControlKind::RadioButton, "0 db", 75, 93, 34, 10},
    {kWmicPower1LowId, ControlKind::RadioButton, "-6 db", 112, 93, 34, 10},
    {kWmicPower2FullId, ControlKind::RadioButton, "0 db", 276, 93, 34, 10},
    {kWmicPower2LowId, ControlKind::RadioButton, "-6 db", 313, 93, 34, 10},
    {1167, ControlKind::Label, "噪声门", 8, 110, 56, 8},
    {1005, ControlKind::Label, "噪声门", 210, 110, 54, 8},
    {kWmicGate1SliderId, ControlKind::Slider, "", 66, 108, 115, 12},
    {kWmicGate2SliderId, ControlKind::Slider, "", 265, 108, 115, 12},
    {2002, ControlKind::Label, "0", 184, 111, 20, 8},
    {2003, ControlKind::Label, "0", 384, 111, 20, 8},
    {1004, ControlKind::Label, "话筒总音量", 87, 130, 56, 8},
    {kWmicVolumeSliderId, ControlKind::Slider, "", 145, 128, 115, 12},
    {kVolumeValueId, ControlKind::Label, "0", 263, 130, 20, 8},
    {1164, ControlKind::Label, "输入音量", 73, 181, 54, 8, kHidden},
    {kWmicVolume2SliderId, ControlKind::Slider, "", 129, 180, 115, 12, kHidden},
    {kVolume2ValueId, ControlKind::Label, "0", 248, 182, 20, 8, kHidden},
    {1283, ControlKind::GroupBox, "无线话筒配对示意图", 8, 146, 403, 144},
    {kGuideAreaId, ControlKind::Label, "", 17, 156, 388, 131},
    {1142, ControlKind::Picture, "363", 335, 183, 12, 11},
    {1144, ControlKind::Picture, "363", 333, 252, 12, 11},
    {kWmicGuidePairMic1Id, ControlKind::ImageButton, "配对话筒一", 315, 194, 50, 18},
    {kWmicGuidePairMic2Id, ControlKind::ImageButton, "配对话筒二", 315, 263, 50, 18},
    {1217, ControlKind::Label, "配对状态", 324, 172, 40, 8},
    {1110, ControlKind::Label, "配对状态", 321, 241, 40, 8},
};
const DialogSpec kTemplate{kWirelessDialogId, "无线话筒", 418, 291, kDialogFont8, kControls};

void SetTextColor(QWidget* control, const QColor& color) {
    if (control == nullptr) return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    control->setPalette(palette);
}

int MicByte(int mic, AtomicByte WirelessMicFields::*field) {
    return (g_Device.wirelessMics[static_cast<std::size_t>(mic)].*field).load(std::memory_order_relaxed);
}

}  // namespace

CWMicDlg::CWMicDlg(QWidget* owner, ShowInfo showInfo) : QDialog(owner), showInfo_(std::move(showInfo)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    rooms_ = FindControlAs<QComboBox>(this, kWmicRoomListId);
    ApplyWindowLanguageTexts(this, kWirelessDialogId);
    SetupControls();
    FillRoomList();
    RefreshWirelessWindow();
}

void CWMicDlg::SetupControls() {
    for (int id : {kWmicVolumeSliderId, kWmicVolume2SliderId, kWmicGate1SliderId, kWmicGate2SliderId}) {
        auto* slider = FindControlAs<CXBmpSlider>(this, id);
        slider->SetTrackImages();
        slider->SetThumbImages(CXBmpSlider::kDarkThumbImageId);
        slider->SetRange(0, 255);
        slider->SetMargins(5, 4, 1, 1);
        slider->SetBackgroundColor(kSliderBackground);
        slider->update();
        connect(slider, &CXBmpSlider::sliderChanged, this, &CWMicDlg::OnSlider);
    }
    const struct {
        int id, mic;
    } pairButtons[] = {{kWmicPairMic1Id, 0}, {kWmicGuidePairMic1Id, 0}, {kWmicPairMic2Id, 1}, {kWmicGuidePairMic2Id, 1}};
    for (const auto& b : pairButtons) {
        auto* button = FindControlAs<CGdipButton>(this, b.id);
        button->SetStandardImage(294);
        button->SetCaptionColor(Qt::white);
        connect(button, &QAbstractButton::clicked, this, [this, mic = b.mic] { Pair(mic); });
    }
    const int radios[2][2] = {{kWmicPower1FullId, kWmicPower1LowId}, {kWmicPower2FullId, kWmicPower2LowId}};
    for (int mic = 0; mic < 2; ++mic) {
        auto* group = new QButtonGroup(this);
        for (int power = 0; power < 2; ++power) {
            auto* radio = FindControlAs<QRadioButton>(this, radios[mic][power]);
            group->addButton(radio, power);
            // Only the user's click sends; checking from the image does not.
            connect(radio, &QAbstractButton::clicked, this, [this, mic, power] { OnPower(mic, power); });
        }
        powerGroups_[static_cast<std::size_t>(mic)] = group;
    }
    for (QLabel* label : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        label->setAttribute(Qt::WA_TranslucentBackground);
        SetTextColor(label, Qt::white);
    }
    for (int id : {kVolumeValueId, kVolume2ValueId, 2002, 2003}) SetTextColor(FindControl(this, id), kChecked);
    if (auto* guide = FindControlAs<CXPGroupBox>(this, 1283)) guide->SetCaptionColor(Qt::white).SetFillColor(kBackground);
    connect(rooms_, &QComboBox::currentIndexChanged, this, [this] { UpdateTip(); });
    for (std::size_t mic = 0; mic < blink_.size(); ++mic) {
        blink_[mic].setInterval(kWmicBlinkMs);
        connect(&blink_[mic], &QTimer::timeout, this, [this, mic] { Blink(static_cast<int>(mic)); });
    }
    pairPause_.setSingleShot(true);
    connect(&pairPause_, &QTimer::timeout, this, [this] {
        // The link may have gone during the pause.
        if (!TellIfDisconnected()) StartWirelessPairing(pairingMic_);
        SetPairingControlsEnabled(true);
    });
}

void CWMicDlg::FillRoomList() {
    const QSignalBlocker quiet(rooms_);
    rooms_->clear();
    for (int room = 0; room < kRoomCount; ++room) {
        const RoomChannels channels = ChannelsOfRoom(room);
        rooms_->addItem(QString::fromUtf8("房间号:%1    MIC1:24%2MHz    MIC2:24%3MHz")
                            .arg(QString::fromStdString(RoomName(room)))
                            .arg(channels.mic1, 2, 10, QLatin1Char('0'))
                            .arg(channels.mic2, 2, 10, QLatin1Char('0')));
    }
}

void CWMicDlg::RefreshWirelessWindow() {
    const struct {
        int slider, label, value;
    } sliders[] = {
        {kWmicVolumeSliderId, kVolumeValueId, MicByte(0, &WirelessMicFields::volume)},
        {kWmicVolume2SliderId, kVolume2ValueId, MicByte(1, &WirelessMicFields::volume)},
        {kWmicGate1SliderId, 2002, MicByte(0, &WirelessMicFields::gate)},
        {kWmicGate2SliderId, 2003, MicByte(1, &WirelessMicFields::gate)},
    };
    for (const auto& s : sliders) {
        auto* slider = FindControlAs<CXBmpSlider>(this, s.slider);
        const int position = std::clamp(s.value, slider->GetRangeMin(), slider->GetRangeMax());
        slider->SetPos(position);
        slider->update();
        SetControlText(FindControl(this, s.label), QString::number(position));
    }
    {
        const QSignalBlocker quiet(rooms_);
        rooms_->setCurrentIndex(RoomOfChannel(MicByte(0, &WirelessMicFields::channel)));
    }
    UpdateTip();
    for (int mic = 0; mic < 2; ++mic) {
        const int power = MicByte(mic, &WirelessMicFields::power) != 0 ? 1 : 0;
        powerGroups_[static_cast<std::size_t>(mic)]->button(power)->setChecked(true);
    }
    UpdateRadioColors();
    RefreshWirelessStatus();
}

void CWMicDlg::RefreshWirelessStatus() {
    for (int mic = 0; mic < 2; ++mic) {
        const MicControls& c = kMics[static_cast<std::size_t>(mic)];
        const int status = MicByte(mic, &WirelessMicFields::pairing);
        QTimer& blink = blink_[static_cast<std::size_t>(mic)];
        if (status & kMicPairing) {
            if (!blink.isActive()) blink.start();
        } else {
            blink.stop();
            const int icon = (status & (kMicPaired | kMicActive)) ? kWmicIconPaired : kWmicIconUnpaired;
            ShowImage(c.statusIcon, icon);
            ShowImage(c.guideIcon, icon);
        }
        ShowImage(c.picture, (status & kMicActive) ? c.activePicture : c.inactivePicture);
    }
}

void CWMicDlg::Blink(int mic) {
    blinkOn_ = !blinkOn_;
    const MicControls& c = kMics[static_cast<std::size_t>(mic)];
    ShowImage(c.statusIcon, blinkOn_ ? kWmicIconPaired : kWmicIconUnpaired);
    ShowImage(c.guideIcon, blinkOn_ ? kWmicIconPaired : kWmicIconUnpaired);
}

void CWMicDlg::ShowImage(int controlId, int imageId) {
    auto* picture = FindControlAs<QLabel>(this, controlId);
    if (picture == nullptr || picture->property(kImageProperty).toInt() == imageId) return;
    picture->setProperty(kImageProperty, imageId);
    picture->setPixmap(LoadPngPixmap(imageId));
}

int CWMicDlg::ShownImage(int controlId) const {
    const QWidget* picture = FindControl(this, controlId);
    return picture ? picture->property(kImageProperty).toInt() : 0;
}

void CWMicDlg::UpdateTip() {
    const int room = std::max(rooms_->currentIndex(), 0);
    const int number = room % 8 + 1;
    const QString tip = IsEnglish()
                            ? QStringLiteral("Tips:For cause disturb, please don't select room No: A%1 , No:B%2!")
                            : QString::fromUtf8("提示:建议您隔壁房间不要选择A%1和B%2房间号，避免信道干扰!");
    SetControlText(FindControl(this, kWmicTipId), tip.arg(number).arg(number));
}

void CWMicDlg::Pair(int mic) {
    const int room = rooms_->currentIndex();
    if (room < 0 || room >= kRoomCount || pairPause_.isActive()) return;
    // The status would blink for a pairing no receiver heard of.
    if (TellIfDisconnected()) return;
    SetWirelessRoom(mic, room);
    // The receiver needs a moment between the channel and the request; until
    // the request is out nothing may start another pairing or close the window.
    pairingMic_ = mic;
    SetPairingControlsEnabled(false);
    pairPause_.start(kPairingPauseMs);
}

bool CWMicDlg::TellIfDisconnected() {
    if (LinkSound()) return false;
    if (showInfo_) showInfo_(DisconnectedNotice(), kDisconnectedNoticeMs);
    return true;
}

void CWMicDlg::SetPairingControlsEnabled(bool enabled) {
    for (int id : {kWmicPairMic1Id, kWmicPairMic2Id, kWmicGuidePairMic1Id, kWmicGuidePairMic2Id, kWmicRoomListId}) {
        FindControl(this, id)->setEnabled(enabled);
    }
}

void CWMicDlg::OnPower(int mic, int power) {
    SetWirelessPower(mic, power);
    UpdateRadioColors();
}

void CWMicDlg::UpdateRadioColors() {
    for (int id : {kWmicPower1FullId, kWmicPower1LowId, kWmicPower2FullId, kWmicPower2LowId}) {
        auto* radio = FindControlAs<QRadioButton>(this, id);
        SetTextColor(radio, radio->isChecked() ? kChecked : QColor(Qt::white));
    }
}

void CWMicDlg::OnSlider(int controlId, int position) {
    switch (controlId) {
        case kWmicVolumeSliderId:
            SetWirelessVolume(0, position);
            SetWirelessVolume(1, position);
            SetControlText(FindControl(this, kVolumeValueId), QString::number(position));
            break;
        case kWmicVolume2SliderId:
            SetWirelessVolume(1, position);
            SetControlText(FindControl(this, kVolume2ValueId), QString::number(position));
            break;
        case kWmicGate1SliderId:
        case kWmicGate2SliderId: {
            const int mic = controlId == kWmicGate1SliderId ? 0 : 1;
            SetWirelessGate(mic, position);
            SetControlText(FindControl(this, kMics[static_cast<std::size_t>(mic)].gateValue), QString::number(position));
            break;
        }
        default: break;
    }
}

void CWMicDlg::reject() {
    // Escape and the close box destroy the window, except between the two
    // pairing commands.
    if (pairPause_.isActive()) return;
    QDialog::reject();
}

void CWMicDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();  // Enter does nothing
        return;
    }
    QDialog::keyPressEvent(event);
}

void CWMicDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (const QWidget* area = FindControl(this, kGuideAreaId)) {
        const QPixmap guide = LoadPngPixmap(369);
        const QRect target = area->geometry();
        painter.drawPixmap(target.topLeft(), guide, QRect(QPoint(0, 0), target.size()));
    }
}

}  // namespace sonoria
