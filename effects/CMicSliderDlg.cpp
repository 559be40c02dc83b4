#include "effects/CMicSliderDlg.h"

#include <QFrame>
#include <QLabel>

#include "controls/ControlText.h"
#include "controls/CXBmpSlider.h"
#include "state/Language.h"

namespace sonoria {
namespace {

constexpr int kRuleId = -1;

const ControlSpec kControls[] = {
    {CMicSliderDlg::kFirstSliderId, ControlKind::Slider, "", 28, 1, 115, 12},
    {CMicSliderDlg::kSecondSliderId, ControlKind::Slider, "", 28, 15, 115, 12},
    {CMicSliderDlg::kFirstNameId, ControlKind::Label, "Direct", 1, 3, 24, 8, kCentered},
    {CMicSliderDlg::kSecondNameId, ControlKind::Label, "Efx", 1, 16, 24, 8, kCentered},
    {CMicSliderDlg::kFirstValueId, ControlKind::Label, "0", 145, 3, 27, 8, kCentered},
    {CMicSliderDlg::kSecondValueId, ControlKind::Label, "0", 145, 16, 27, 8, kCentered},
    {kRuleId, ControlKind::Frame, "", 1, 12, 171, 1},
};

}  // namespace

DialogSpec MicSliderDlgTemplate() { return {CMicSliderDlg::kDialogId, "", 176, 28, kDialogFont8, kControls}; }

CMicSliderDlg::CMicSliderDlg(int buttonId, QWidget* owner, std::function<void()> valuesChanged)
    : CLevelWindow(owner, Qt::Tool | Qt::FramelessWindowHint),
      buttonId_(buttonId),
      instance_(FindMixInstance(buttonId)),
      valuesChanged_(std::move(valuesChanged)) {
    BuildDialog(this, MicSliderDlgTemplate());
    FillGround(this, kPopupGround);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->metaObject() == &QFrame::staticMetaObject) {  // the etched rule between the rows
            auto* rule = static_cast<QFrame*>(child);
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
        }
        SetTextColour(child, kPopupText);
    }
    for (int id : {kFirstSliderId, kSecondSliderId}) {
        auto* slider = FindControlAs<CXBmpSlider>(this, id);
        PrepareLevelSlider(slider, 0, 127, kPopupSliderGround);
        connect(slider, &CXBmpSlider::sliderChanged, this, &CMicSliderDlg::OnSliderChanged);
    }
    if (instance_ != nullptr) {
        // The names follow the language the popup opens in.
        const bool english = IsEnglish();
        SetControlText(FindControl(this, kFirstNameId),
                       QString::fromUtf8(english ? instance_->firstEnglish : instance_->firstChinese));
        SetControlText(FindControl(this, kSecondNameId),
                       QString::fromUtf8(english ? instance_->secondEnglish : instance_->secondChinese));
    }
    RefreshMixPopup();
}

void CMicSliderDlg::RefreshMixPopup() {
    if (instance_ == nullptr) return;
    const struct {
        int sliderId, valueId;
        const LevelSlider& source;
    } rows[] = {{kFirstSliderId, kFirstValueId, instance_->first}, {kSecondSliderId, kSecondValueId, instance_->second}};
    for (const auto& row : rows) {
        auto* slider = FindControlAs<CXBmpSlider>(this, row.sliderId);
        SetSliderClamped(slider, row.source.read());
        ShowPosition(row.valueId, slider->GetPos());
    }
}

void CMicSliderDlg::OnSliderChanged(int controlId, int position) {
    if (instance_ != nullptr && controlId == kFirstSliderId) {
        instance_->first.write(position);
        ShowPosition(kFirstValueId, position);
    } else if (instance_ != nullptr && controlId == kSecondSliderId) {
        instance_->second.write(position);
        ShowPosition(kSecondValueId, position);
    }
    if (valuesChanged_) valuesChanged_();
}

void CMicSliderDlg::ShowPosition(int valueId, int position) {
    SetControlText(FindControl(this, valueId), QString::number(position));
}

void CMicSliderDlg::paintEvent(QPaintEvent* event) {
    CLevelWindow::paintEvent(event);
    DrawThinBorder(this);
}

}  // namespace sonoria
