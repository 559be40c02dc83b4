#include "eq/ui/CMainDlg.h"

namespace sonoria {
namespace {

// The path buttons stay hidden: the main window's flow buttons choose the path.
const ControlSpec kControls[] = {
    {CEqPage::kPanelId, ControlKind::Label, "", 2, 14, 585, 173},
    {CMainDlg::kResetId, ControlKind::ImageButton, "Reset EQ", 530, 0, 56, 13},
    {CMainDlg::kTitleId, ControlKind::Label, "", 6, 3, 66, 8},
    CEqPage::kHintRow,
    CEqPage::kImportRow,
    CEqPage::kExportRow,
    {2200, ControlKind::ImageButton, "Mic Main Out", 87, 1, 56, 12, kHidden},
    {2201, ControlKind::ImageButton, "Music Main Out", 144, 1, 56, 12, kHidden},
};

}  // namespace

DialogSpec MainDlgTemplate() { return {CMainDlg::kDialogId, "", 616, 199, kDialogFont8, kControls}; }

CMainDlg::CMainDlg(QWidget* parent) : CEqPage(parent, MainDlgTemplate(), kResetId, kTitleId, EqView::MainMic) {
    PrepareHiddenButtons({2200, 2201});
    RefreshEq();
    ApplyLanguage();
}

void CMainDlg::SetPath(int path) { SetView(path == kMusic ? EqView::MainMusic : EqView::MainMic); }

}  // namespace sonoria
