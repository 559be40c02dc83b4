#include "eq/ui/CMicHLDlg.h"

namespace sonoria {
namespace {

const ControlSpec kControls[] = {
    {CEqPage::kPanelId, ControlKind::Label, "", 2, 14, 585, 173},
    {CMicHLDlg::kResetId, ControlKind::ImageButton, "Reset", 530, 0, 56, 13},
    {CMicHLDlg::kTitleId, ControlKind::Label, "", 6, 3, 66, 8},
    CEqPage::kHintRow,
    CEqPage::kImportRow,
    CEqPage::kExportRow,
};

}  // namespace

DialogSpec MicHLDlgTemplate() { return {CMicHLDlg::kDialogId, "", 613, 246, kDialogFont8, kControls}; }

CMicHLDlg::CMicHLDlg(QWidget* parent)
    : CEqPage(parent, MicHLDlgTemplate(), kResetId, kTitleId, EqView::Mic) {
    RefreshEq();
    ApplyLanguage();
}

void CMicHLDlg::SetChannel(int channel) { SetView(channel == kMusic ? EqView::Music : EqView::Mic); }

}  // namespace sonoria
