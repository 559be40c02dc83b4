#include "effects/CSliderDlg.h"

#include "controls/CXBmpSlider.h"

namespace sonoria {
namespace {

const ControlSpec kControls[] = {
    {CSliderDlg::kSliderId, ControlKind::Slider, "", 4, 2, 115, 12},
};

}  // namespace

DialogSpec SliderDlgTemplate() { return {CSliderDlg::kDialogId, "", 124, 16, kDialogFont8, kControls}; }

CSliderDlg::CSliderDlg(int buttonId, QWidget* owner, std::function<void()> valuesChanged)
    : CLevelWindow(owner, Qt::Tool | Qt::FramelessWindowHint),
      buttonId_(buttonId),
      instance_(FindLevelInstance(buttonId)),
      valuesChanged_(std::move(valuesChanged)) {
    BuildDialog(this, SliderDlgTemplate());
    FillGround(this, kPopupGround);
    slider_ = FindControlAs<CXBmpSlider>(this, kSliderId);
    const LevelSlider range = instance_ ? instance_->slider : LevelSlider{0, 127, nullptr, nullptr};
    PrepareLevelSlider(slider_, range.minimum, range.maximum, kPopupSliderGround);
    connect(slider_, &CXBmpSlider::sliderChanged, this, &CSliderDlg::OnSliderChanged);
    RefreshLevelPopup();
}

void CSliderDlg::RefreshLevelPopup() {
    if (instance_ == nullptr) return;
    SetSliderClamped(slider_, instance_->slider.read());
}

void CSliderDlg::OnSliderChanged(int controlId, int position) {
    if (controlId != kSliderId || instance_ == nullptr) return;
    instance_->slider.write(position);
    if (valuesChanged_) valuesChanged_();
}

void CSliderDlg::paintEvent(QPaintEvent* event) {
    CLevelWindow::paintEvent(event);
    DrawThinBorder(this);
}

}  // namespace sonoria
