#include "effects/CTapDlg.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "effects/CEfxDlg.h"
#include "effects/EffectLook.h"
#include "state/ParamReaders.h"
#include "state/ParamSender.h"
#include "state/ValueScaling.h"

namespace sonoria {
namespace {

const QColor kFrame(160, 160, 160);

struct TapRow {
    int sliderId;
    int valueId;
    const char* param;
};

// In refresh order.
constexpr TapRow kTaps[] = {
    {2107, 2157, "TapMainLevel"}, {2108, 2158, "Tap1Level"}, {2109, 2159, "Tap1Delay"},
    {2110, 2160, "Tap2Level"},    {2111, 2161, "Tap2Delay"}, {2112, 2162, "Tap3Level"},
    {2113, 2163, "Tap3Delay"},
};

const TapRow* TapOfSlider(int sliderId) {
    for (const TapRow& tap : kTaps) {
        if (tap.sliderId == sliderId) return &tap;
    }
    return nullptr;
}

// The template's captions are Chinese; the English table names them all.
const ControlSpec kControls[] = {
    {-1, ControlKind::GroupBox, "", 5, 0, 121, 73},
    {-2, ControlKind::GroupBox, "", 130, 1, 121, 73},
    {-3, ControlKind::GroupBox, "", 255, 1, 121, 73},
    {-4, ControlKind::GroupBox, "", 380, 1, 121, 73},
    {1089, ControlKind::Label, "主回声音量", 10, 10, 57, 9},
    {2107, ControlKind::Slider, "", 7, 20, 115, 12},
    {2157, ControlKind::Label, "0", 95, 11, 26, 9, kRightAligned},
    {1060, ControlKind::Label, "回声1音量", 135, 9, 48, 9},
    {2108, ControlKind::Slider, "", 133, 20, 115, 12},
    {2158, ControlKind::Label, "0", 220, 9, 27, 9, kRightAligned},
    {1053, ControlKind::Label, "回声1占总延时比例", 135, 45, 72, 9},
    {2109, ControlKind::Slider, "", 132, 56, 115, 12},
    {2159, ControlKind::Label, "0", 220, 45, 27, 9, kRightAligned},
    {1061, ControlKind::Label, "回声2音量", 260, 9, 60, 9},
    {2110, ControlKind::Slider, "", 258, 20, 115, 12},
    {2160, ControlKind::Label, "0", 339, 9, 31, 9, kRightAligned},
    {1062, ControlKind::Label, "回声2占总延时比例", 260, 45, 68, 9},
    {2111, ControlKind::Slider, "", 259, 56, 115, 12},
    {2161, ControlKind::Label, "0", 339, 45, 31, 9, kRightAligned},
    {1063, ControlKind::Label, "回声3音量", 383, 9, 66, 9},
    {2112, ControlKind::Slider, "", 382, 20, 115, 12},
    {2162, ControlKind::Label, "0", 463, 9, 31, 9, kRightAligned},
    {1064, ControlKind::Label, "回声3占总延时比例", 383, 45, 66, 9},
    {2113, ControlKind::Slider, "", 382, 56, 115, 12},
    {2163, ControlKind::Label, "0", 463, 46, 31, 9, kRightAligned},
};

const DialogSpec kTemplate{CTapDlg::kDialogId, "高级设置", 505, 79, kDialogFont8, kControls};

}  // namespace

CTapDlg::CTapDlg(CEfxDlg* owner) : QDialog(owner), m_owner(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    BuildDialog(this, kTemplate);
    SetDarkClientArea(this);
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) MakeWhiteLabel(label);
    for (CXPGroupBox* box : findChildren<CXPGroupBox*>(Qt::FindDirectChildrenOnly)) box->SetFrameColor(kFrame);
    for (const TapRow& tap : kTaps) {
        CXBmpSlider* slider = Slider(tap.sliderId);
        if (slider == nullptr) continue;
        // All seven stay enabled whatever the echo type.
        SetUpEffectSlider(slider, CXBmpSlider::kThumbImageId);
        connect(slider, &CXBmpSlider::sliderChanged, this, &CTapDlg::OnSlider);
    }
    RefreshTaps();
    ApplyLanguage();
    CentreOver(this, owner);
}

CTapDlg::~CTapDlg() {
    if (CEfxDlg* owner = m_owner.data(); owner != nullptr && !owner->IsClosing()) owner->RefreshEcho();
}

CXBmpSlider* CTapDlg::Slider(int id) const { return FindControlAs<CXBmpSlider>(this, id); }

void CTapDlg::ShowValue(int sliderId) {
    const TapRow* tap = TapOfSlider(sliderId);
    if (tap == nullptr) return;
    if (QWidget* value = FindControl(this, tap->valueId)) {
        const ParamInfo& param = RequireParam(tap->param);
        SetControlText(value, QString::fromStdString(FormatParamText(param, ReadParam(param))));
    }
}

void CTapDlg::RefreshTaps() {
    for (const TapRow& tap : kTaps) {
        CXBmpSlider* slider = Slider(tap.sliderId);
        if (slider == nullptr) continue;
        slider->SetPos(std::clamp(ReadParam(RequireParam(tap.param)), slider->GetRangeMin(), slider->GetRangeMax()));
        slider->update();
        ShowValue(tap.sliderId);
    }
}

void CTapDlg::ApplyLanguage() { ApplyWindowLanguageTexts(this, kDialogId); }

void CTapDlg::OnSlider(int id, int position) {
    const TapRow* tap = TapOfSlider(id);
    if (tap == nullptr) return;
    SendParam(RequireParam(tap->param), position);
    ShowValue(id);
}

void CTapDlg::keyPressEvent(QKeyEvent* event) {
    if (SwallowDialogKey(event)) return;
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
