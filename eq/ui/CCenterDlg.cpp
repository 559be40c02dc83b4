#include "eq/ui/CCenterDlg.h"

namespace sonoria {
namespace {

// The source buttons stay hidden: the main window's flow buttons choose the view.
const ControlSpec kControls[] = {
    {CEqPage::kPanelId, ControlKind::Label, "", 2, 14, 585, 173},
    {CCenterDlg::kResetId, ControlKind::ImageButton, "Reset EQ", 530, 0, 56, 13},
    {CCenterDlg::kTitleId, ControlKind::Label, "", 6, 3, 91, 8},
    CEqPage::kHintRow,
    CEqPage::kImportRow,
    CEqPage::kExportRow,
    {2200, ControlKind::ImageButton, "Mic Center", 116, 1, 50, 12, kHidden},
    {2201, ControlKind::ImageButton, "Music Center", 167, 1, 50, 12, kHidden},
    {2202, ControlKind::ImageButton, "Center Out", 219, 1, 50, 12, kHidden},
};

EqView ViewOf(int output, int source) {
    const bool sub = output == CCenterDlg::kSub;
    switch (source) {
        case CCenterDlg::kMusic: return sub ? EqView::SubMusic : EqView::CenterMusic;
        case CCenterDlg::kOutputFilters: return sub ? EqView::SubOut : EqView::CenterOut;
        default: return sub ? EqView::SubMic : EqView::CenterMic;
    }
}

}  // namespace

DialogSpec CenterDlgTemplate() { return {CCenterDlg::kDialogId, "", 604, 214, kDialogFont8, kControls}; }

CCenterDlg::CCenterDlg(QWidget* parent)
    : CEqPage(parent, CenterDlgTemplate(), kResetId, kTitleId, EqView::CenterMic) {
    PrepareHiddenButtons({2200, 2201, 2202});
    RefreshEq();
    ApplyLanguage();
}

void CCenterDlg::SetSelection(int output, int source) {
    m_output = output == kSub ? kSub : kCenter;
    m_source = source == kMusic || source == kOutputFilters ? source : kMicrophone;
    SetView(ViewOf(m_output, m_source));
}

}  // namespace sonoria
