#include "effects/CAutoSubDlg.h"

#include <QCheckBox>

#include "controls/ClassicCheckStyle.h"
#include "controls/ControlText.h"
#include "controls/CXBmpSlider.h"
#include "controls/LanguageTexts.h"
#include "state/AutoSubSender.h"
#include "state/DeviceState.h"
#include "state/Language.h"

namespace sonoria {
namespace {

using A = CAutoSubDlg;
constexpr int kRestoreMax = 255;
constexpr int kRatioMax = 99;
// Switching on: one second, and a fifth of the sub when no ratio was set.
constexpr int kDefaultRestore = 10;
constexpr int kDefaultRatio = 20;
const QColor kSwitchText(0, 228, 80);

const ControlSpec kControls[] = {
    {A::kHintId, ControlKind::Label, "Sub auto control", 39, 10, 90, 8, kRightAligned},
    {A::kSwitchId, ControlKind::CheckBox, "ON", 135, 9, 23, 11},
    {A::kRestoreLabelId, ControlKind::Label, "Restore T.", 8, 31, 41, 9, kRightAligned},
    {A::kRestoreSliderId, ControlKind::Slider, "", 52, 30, 115, 12},
    {A::kRestoreValueId, ControlKind::Label, "0", 171, 32, 28, 9},
    {-1, ControlKind::Picture, "323", 60, 45, 100, 18},
    {A::kRatioLabelId, ControlKind::Label, "Sub Ratio", 13, 63, 36, 9, kRightAligned},
    {A::kRatioSliderId, ControlKind::Slider, "", 52, 64, 115, 12},
    {A::kRatioValueId, ControlKind::Label, "0", 171, 65, 28, 9},
};

int RestoreTime() { return g_Device.autoSub[0].load(std::memory_order_relaxed); }
int Ratio() { return g_Device.autoSub[1].load(std::memory_order_relaxed); }

}  // namespace

DialogSpec AutoSubDlgTemplate() { return {CAutoSubDlg::kDialogId, "Auto Sub", 219, 81, kDialogFont8, kControls}; }

CAutoSubDlg::CAutoSubDlg(QWidget* owner)
    : CLevelWindow(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    BuildDialog(this, AutoSubDlgTemplate());
    FillGround(this, kDarkGround);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) SetTextColour(child, Qt::white);
    if (auto* check = FindControlAs<QCheckBox>(this, kSwitchId)) {
        // The classic box, so that its own text colour shows.
        check->setStyle(ClassicCheckStyleInstance());
        SetTextColour(check, kSwitchText);
        QPalette palette = check->palette();
        palette.setColor(QPalette::Button, kDarkGround);
        check->setPalette(palette);
        connect(check, &QAbstractButton::clicked, this, &CAutoSubDlg::OnSwitchClicked);
    }
    for (const auto& [id, maximum] : {std::pair{kRestoreSliderId, kRestoreMax}, std::pair{kRatioSliderId, kRatioMax}}) {
        auto* slider = FindControlAs<CXBmpSlider>(this, id);
        PrepareLevelSlider(slider, 0, maximum, kDarkSliderGround);
        connect(slider, &CXBmpSlider::sliderChanged, this, &CAutoSubDlg::OnSliderChanged);
    }
    RefreshAutoSub();
    ApplyLanguage();
    if (owner != nullptr) move(owner->frameGeometry().center() - rect().center());
}

void CAutoSubDlg::RefreshAutoSub() {
    const int restore = RestoreTime();
    const int ratio = Ratio();
    SetSliderClamped(FindControlAs<CXBmpSlider>(this, kRestoreSliderId), restore);
    SetSliderClamped(FindControlAs<CXBmpSlider>(this, kRatioSliderId), ratio);
    QString restoreText;
    QString ratioText;
    if (restore != 0) {
        restoreText = QString::asprintf("%.1fs", restore / 10.0);
        ratioText = QString::asprintf("%d%%", ratio);  // the stored number, also above the slider's end
    } else {
        restoreText = ratioText = IsEnglish() ? QStringLiteral("Invalid") : QString::fromUtf8("无效");
    }
    SetControlText(FindControl(this, kRestoreValueId), restoreText);
    SetControlText(FindControl(this, kRatioValueId), ratioText);
    if (auto* check = FindControlAs<QCheckBox>(this, kSwitchId)) check->setChecked(restore != 0);
}

void CAutoSubDlg::ApplyLanguage() {
    ApplyWindowLanguageTexts(this, kDialogId);
    RefreshAutoSub();  // "Invalid" follows the language
}

void CAutoSubDlg::OnSliderChanged(int controlId, int position) {
    if (controlId == kRestoreSliderId) {
        SetAutoSub(position, Ratio());
    } else if (controlId == kRatioSliderId) {
        SetAutoSub(RestoreTime(), position);
    } else {
        return;
    }
    RefreshAutoSub();
}

void CAutoSubDlg::OnSwitchClicked() {
    if (RestoreTime() != 0) {
        SetAutoSub(0, Ratio());
    } else if (Ratio() != 0) {
        SetAutoSub(kDefaultRestore, Ratio());
    } else {
        SetAutoSub(kDefaultRestore, kDefaultRatio);
    }
    RefreshAutoSub();
}

}  // namespace sonoria
