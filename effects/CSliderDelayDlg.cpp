#include "effects/CSliderDelayDlg.h"

#include <QLabel>

#include <algorithm>

#include "controls/ControlText.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/ImageLoader.h"
#include "controls/LanguageTexts.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ValueScaling.h"

namespace sonoria {
namespace {

using D = CSliderDelayDlg;
constexpr int kLowerSectionPicture = 358;
constexpr int kPictureHeight = 63;  // dialog units: the window ends here with one section

const ControlSpec kControls[] = {
    {D::kPictureId, ControlKind::Picture, "349", 0, 0, 324, 63},
    {D::kLowerPictureId, ControlKind::Picture, "358", 0, 71, 324, 63},
    {1106, ControlKind::GroupBox, "", 28, 0, 125, 29},
    {1004, ControlKind::GroupBox, "", 27, 29, 261, 29},
    {1107, ControlKind::GroupBox, "", 28, 71, 125, 29},
    {1005, ControlKind::GroupBox, "", 27, 100, 261, 29},
    {1026, ControlKind::Label, "Gain", 35, 4, 56, 9},
    {D::kTopDirectId, ControlKind::Slider, "", 34, 15, 115, 12},
    {D::kTopDirectValueId, ControlKind::Label, "0", 127, 4, 22, 9, kRightAligned},
    {1030, ControlKind::Label, "Gain", 35, 33, 56, 9},
    {D::kTopDelayLevelId, ControlKind::Slider, "", 34, 44, 115, 12},
    {D::kTopDelayLevelValueId, ControlKind::Label, "0", 127, 32, 22, 9, kRightAligned},
    {1028, ControlKind::Label, "Delay Time", 160, 33, 56, 9},
    {D::kTopDelayId, ControlKind::Slider, "", 159, 44, 115, 12},
    {D::kTopDelayValueId, ControlKind::Label, "0", 250, 32, 36, 9, kCentered},
    {1032, ControlKind::Label, "Gain", 35, 75, 56, 9},
    {D::kBottomDirectId, ControlKind::Slider, "", 34, 86, 115, 12},
    {D::kBottomDirectValueId, ControlKind::Label, "0", 127, 75, 22, 9, kRightAligned},
    {1036, ControlKind::Label, "Gain", 35, 104, 56, 9},
    {D::kBottomDelayLevelId, ControlKind::Slider, "", 34, 115, 115, 12},
    {D::kBottomDelayLevelValueId, ControlKind::Label, "0", 127, 103, 22, 9, kRightAligned},
    {1034, ControlKind::Label, "Delay Time", 160, 104, 56, 9},
    {D::kBottomDelayId, ControlKind::Slider, "", 159, 115, 115, 12},
    {D::kBottomDelayValueId, ControlKind::Label, "0", 250, 103, 36, 9, kCentered},
};

// One section's controls.
struct SectionIds {
    int direct, delayLevel, delay, directValue, delayLevelValue, delayValue;
};
constexpr SectionIds kTop{D::kTopDirectId,      D::kTopDelayLevelId,      D::kTopDelayId,
                          D::kTopDirectValueId, D::kTopDelayLevelValueId, D::kTopDelayValueId};
constexpr SectionIds kBottom{D::kBottomDirectId,      D::kBottomDelayLevelId,      D::kBottomDelayId,
                             D::kBottomDirectValueId, D::kBottomDelayLevelValueId, D::kBottomDelayValueId};

int DelayRaw(const DelaySection& section) {
    const ParamBytes bytes = GetParam(section.delay);
    return bytes.first * 256 + bytes.second;
}

}  // namespace

DialogSpec SliderDelayDlgTemplate() { return {CSliderDelayDlg::kDialogId, "", 323, 134, kDialogFont8, kControls}; }

CSliderDelayDlg::CSliderDelayDlg(int buttonId, QWidget* owner, std::function<void()> valuesChanged)
    : CLevelWindow(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      buttonId_(buttonId),
      instance_(FindDelayInstance(buttonId)),
      valuesChanged_(std::move(valuesChanged)) {
    BuildDialog(this, SliderDelayDlgTemplate());
    FillGround(this, kDarkGround);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (auto* label = qobject_cast<QLabel*>(child)) {
            label->setScaledContents(!label->pixmap().isNull());  // the pictures fill their place
            SetTextColour(label, Qt::white);
        }
        if (auto* box = qobject_cast<CXPGroupBox*>(child)) box->SetFrameColor(kSectionFrame);
        if (auto* slider = qobject_cast<CXBmpSlider*>(child)) {
            const int id = slider->controlId();
            const bool delayTime = id == kTopDelayId || id == kBottomDelayId;
            PrepareLevelSlider(slider, 0, delayTime ? kDelaySliderMax : 127, kDarkSliderGround);
            connect(slider, &CXBmpSlider::sliderChanged, this, &CSliderDelayDlg::OnSliderChanged);
        }
    }
    RefreshDelayWindow();
    const bool rear = RearCopyActive();
    if (instance_ != nullptr) {
        // Title and picture follow the routing and the language at opening.
        const bool english = IsEnglish();
        const char* title = rear ? (english ? instance_->rearTitleEnglish : instance_->rearTitleChinese)
                                 : (english ? instance_->titleEnglish : instance_->titleChinese);
        setWindowTitle(QString::fromUtf8(title));
        if (auto* picture = FindControlAs<QLabel>(this, kPictureId)) {
            picture->setPixmap(LoadPngPixmap(rear ? instance_->rearPicture : instance_->picture));
        }
        oneSection_ = instance_->oneSectionUnlessRear && !rear;
    }
    ApplyLanguage();
    if (oneSection_) {
        resize(width(), DialogUnitsToPixels(kDialogFont8, 0, 0, 0, kPictureHeight).height());
    }
}

void CSliderDelayDlg::ApplyLanguage() {
    // The title is not in the tables; it keeps the text set at opening.
    const QString title = windowTitle();
    ApplyWindowLanguageTexts(this, kDialogId);
    setWindowTitle(title);
}

void CSliderDelayDlg::RefreshDelayWindow() {
    if (instance_ == nullptr) return;
    const struct {
        const SectionIds& ids;
        const DelaySection* section;
    } sections[] = {{kTop, instance_->top}, {kBottom, RearCopyActive() ? instance_->rearBottom : instance_->bottom}};
    for (const auto& [ids, section] : sections) {
        if (section == nullptr) continue;
        const int direct = GetParam(section->direct).first;
        const int delayLevel = GetParam(section->delayLevel).first;
        const int raw = DelayRaw(*section);
        SetSliderClamped(FindControlAs<CXBmpSlider>(this, ids.direct), direct);
        SetSliderClamped(FindControlAs<CXBmpSlider>(this, ids.delayLevel), delayLevel);
        SetSliderClamped(FindControlAs<CXBmpSlider>(this, ids.delay), raw / 2);
        ShowNumber(ids.directValue, FindControlAs<CXBmpSlider>(this, ids.direct)->GetPos());
        ShowNumber(ids.delayLevelValue, FindControlAs<CXBmpSlider>(this, ids.delayLevel)->GetPos());
        // The stored value, also beyond what the slider reaches.
        ShowDelay(ids.delayValue, raw);
    }
}

const DelaySection* CSliderDelayDlg::SectionOf(int controlId) const {
    if (instance_ == nullptr) return nullptr;
    if (controlId == kTopDirectId || controlId == kTopDelayLevelId || controlId == kTopDelayId) return instance_->top;
    return RearCopyActive() ? instance_->rearBottom : instance_->bottom;
}

void CSliderDelayDlg::OnSliderChanged(int controlId, int position) {
    const DelaySection* section = SectionOf(controlId);
    const SectionIds& ids = controlId >= kBottomDirectId ? kBottom : kTop;
    if (controlId == ids.delay) {
        const int raw = 2 * std::clamp(position, 0, kDelaySliderMax);
        if (section != nullptr) {
            section->setDelay(raw);
            ShowDelay(ids.delayValue, DelayRaw(*section));
            if (valuesChanged_) valuesChanged_();
        } else {
            ShowDelay(ids.delayValue, raw);
        }
        return;
    }
    const bool direct = controlId == ids.direct;
    if (section != nullptr) (direct ? section->setDirect : section->setDelayLevel)(position);
    ShowNumber(direct ? ids.directValue : ids.delayLevelValue, position);
}

void CSliderDelayDlg::ShowNumber(int valueId, int value) {
    SetControlText(FindControl(this, valueId), QString::number(value));
}

void CSliderDelayDlg::ShowDelay(int valueId, int raw) {
    SetControlText(FindControl(this, valueId), QString::fromStdString(DelayText(raw)));
}

}  // namespace sonoria
