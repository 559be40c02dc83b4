#include "eq/ui/CMicCompDlg.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>

#include <string>

#include "controls/CXBmpSlider.h"
#include "controls/ClassicCheckStyle.h"
#include "controls/ControlText.h"
#include "controls/LanguageTexts.h"
#include "controls/TemplateControls.h"
#include "eq/ui/CCompressPanel.h"
#include "state/ParamReaders.h"
#include "state/Senders.h"
#include "state/ValueScaling.h"

namespace sonoria {
namespace {

using CK = ControlKind;
constexpr int kSeparatorId = 1193;
// The value texts reach up to the curve view, so that the longest attack
// time ("100.00ms") fits; the attack label grows to the left for "Attack
// time", its right edge in line with the others.
constexpr int kValueWidth = 40;

const ControlSpec kControls[] = {
    {1059, CK::Label, "NoiseGate", 1, 10, 45, 9, kRightAligned},
    {CMicCompDlg::kGateSliderId, CK::Slider, "", 53, 9, 115, 12},
    {CMicCompDlg::kGateSliderId + CMicCompDlg::kValueTextOffset, CK::Label, "0", 172, 10, kValueWidth, 9},
    {kSeparatorId, CK::Frame, "", 6, 28, 179, 1},
    {1088, CK::Label, "Mic comp", 51, 45, 39, 9, kRightAligned},
    {CMicCompDlg::kSwitchId, CK::CheckBox, "ON", 97, 44, 22, 11},
    {1055, CK::Label, "Threshold", 8, 67, 39, 9, kRightAligned},
    {CMicCompDlg::kThresholdSliderId, CK::Slider, "", 53, 66, 115, 12},
    {CMicCompDlg::kThresholdSliderId + CMicCompDlg::kValueTextOffset, CK::Label, "0", 172, 67, kValueWidth, 9},
    {1056, CK::Label, "Ratio", 16, 98, 31, 9, kRightAligned},
    {CMicCompDlg::kRatioSliderId, CK::Slider, "", 53, 98, 115, 12},
    {CMicCompDlg::kRatioSliderId + CMicCompDlg::kValueTextOffset, CK::Label, "0", 172, 98, kValueWidth, 9},
    {1057, CK::Label, "Attack T.", 2, 128, 45, 9, kRightAligned},
    {CMicCompDlg::kAttackSliderId, CK::Slider, "", 53, 126, 115, 12},
    {CMicCompDlg::kAttackSliderId + CMicCompDlg::kValueTextOffset, CK::Label, "0", 172, 129, kValueWidth, 9},
    {1058, CK::Label, "Release T.", 2, 159, 45, 9, kRightAligned},
    {CMicCompDlg::kReleaseSliderId, CK::Slider, "", 53, 156, 115, 12},
    {CMicCompDlg::kReleaseSliderId + CMicCompDlg::kValueTextOffset, CK::Label, "0", 172, 159, kValueWidth, 9},
    {CMicCompDlg::kPanelId, CK::Frame, "", 213, 4, 289, 178},
};

constexpr int kSliderIds[] = {CMicCompDlg::kThresholdSliderId, CMicCompDlg::kRatioSliderId,
                              CMicCompDlg::kAttackSliderId, CMicCompDlg::kReleaseSliderId,
                              CMicCompDlg::kGateSliderId};

const QColor kGround(32, 32, 32);
const QColor kSwitchText(0, 228, 80);
constexpr QRgb kSliderGround = 0xFF202020;
constexpr int kSliderMaximum = 127;
constexpr int kSwitchOn = 1;

void SetTextColour(QWidget* control, const QColor& text) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Button, kGround);  // a check box's ground
    control->setPalette(palette);
}

}  // namespace

DialogSpec MicCompDlgTemplate() { return {CMicCompDlg::kDialogId, "", 604, 214, kDialogFont8, kControls}; }

CMicCompDlg::CMicCompDlg(QWidget* parent) : QWidget(parent) {
    BuildDialog(this, MicCompDlgTemplate());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kGround);
    setPalette(palette);
    setAutoFillBackground(true);

    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) SetTextColour(child, Qt::white);
    if (auto* separator = qobject_cast<QFrame*>(FindControl(this, kSeparatorId))) {
        separator->setFrameShape(QFrame::HLine);
        separator->setFrameShadow(QFrame::Sunken);
    }
    m_panel = CCompressPanel::ReplaceControl(FindControl(this, kPanelId));
    m_switch = FindControlAs<QCheckBox>(this, kSwitchId);
    if (m_switch != nullptr) {
        SetTextColour(m_switch, kSwitchText);
        // clicked comes from the user only, never from setChecked.
        connect(m_switch, &QCheckBox::clicked, this, &CMicCompDlg::OnSwitchClicked);
    }
    for (int id : kSliderIds) {
        if (CXBmpSlider* slider = Slider(id)) {
            connect(slider, &CXBmpSlider::sliderChanged, this, [this](int controlId, int) { OnSliderChanged(controlId); });
        }
    }

    SetupSliders();
    ApplyLanguage();
    RefreshDynamics();
}

CXBmpSlider* CMicCompDlg::Slider(int id) const { return FindControlAs<CXBmpSlider>(this, id); }

void CMicCompDlg::SetupSliders() {
    // The classic box, so that the switch keeps its own text colour.
    if (m_switch != nullptr) m_switch->setStyle(ClassicCheckStyleInstance());
    for (int id : kSliderIds) {
        CXBmpSlider* slider = Slider(id);
        if (slider == nullptr) continue;
        slider->SetRange(0, kSliderMaximum);
        slider->SetTrackImages();
        slider->SetThumbImages(CXBmpSlider::kThumbImageId);
        slider->SetMargins(5, 4, 1, 1);
        slider->SetBackgroundColor(kSliderGround);
        slider->update();
    }
}

void CMicCompDlg::RefreshDynamics() {
    const auto fill = [this](int sliderId, const char* param, std::string (*text)(int)) {
        const int v = ReadParam(*FindParam(param));
        if (CXBmpSlider* slider = Slider(sliderId)) slider->SetPos(v);
        SetValueText(sliderId, text(v));
        return v;
    };
    fill(kGateSliderId, "MicGateThreshold", GateText);
    const int threshold = fill(kThresholdSliderId, "MicCompThreshold", CompThresholdText);
    const int ratio = fill(kRatioSliderId, "MicCompRatio", RatioText);
    fill(kAttackSliderId, "MicCompAttack", AttackText);
    fill(kReleaseSliderId, "MicCompRelease", ReleaseText);

    const int enabled = ReadParam(*FindParam("MicCompEnable"));
    if (m_switch != nullptr) m_switch->setChecked(enabled == kSwitchOn);
    if (m_panel != nullptr) {
        m_panel->SetThreshold(CompThresholdDb(threshold));
        m_panel->SetRatioSlope(static_cast<float>(CompRatioCurve(ratio)));
        // A device value other than 0 and 1 leaves the box clear and shows no "OFF".
        m_panel->SetEnabled(enabled);
    }
}

void CMicCompDlg::ApplyLanguage() { ApplyWindowLanguageTexts(this, kDialogId); }

void CMicCompDlg::OnSliderChanged(int controlId) {
    CXBmpSlider* slider = Slider(controlId);
    if (slider == nullptr) return;
    // The slider reports also when it did not move; the same value goes again.
    const int p = slider->GetPos();
    switch (controlId) {
        case kGateSliderId:
            SetMicGateThreshold(p);
            SetValueText(controlId, GateText(p));
            break;
        case kThresholdSliderId:
            SetMicCompThreshold(p);
            SetValueText(controlId, CompThresholdText(p));
            if (m_panel != nullptr) m_panel->SetThreshold(CompThresholdDb(p));
            break;
        case kRatioSliderId:
            SetMicCompRatio(p);
            SetValueText(controlId, RatioText(p));
            if (m_panel != nullptr) m_panel->SetRatioSlope(static_cast<float>(CompRatioCurve(p)));
            break;
        case kAttackSliderId:
            SetMicCompAttack(p);
            SetValueText(controlId, AttackText(p));
            break;
        case kReleaseSliderId:
            SetMicCompRelease(p);
            SetValueText(controlId, ReleaseText(p));
            break;
        default: break;
    }
}

void CMicCompDlg::OnSwitchClicked() {
    const int enabled = m_switch->isChecked() ? kSwitchOn : 0;
    SetMicCompEnable(enabled);
    if (m_panel != nullptr) m_panel->SetEnabled(enabled);
}

void CMicCompDlg::SetValueText(int sliderId, const std::string& text) {
    if (QWidget* label = FindControl(this, sliderId + kValueTextOffset)) {
        SetControlText(label, QString::fromStdString(text));
    }
}

void CMicCompDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never close a page (nor, through it, the main window).
    if (!SwallowClosingKey(event)) QWidget::keyPressEvent(event);
}

}  // namespace sonoria
