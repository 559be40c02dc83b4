// The main output EQ page (page 2 of the main window): two peak bands of the
// microphone or the music path to the main outputs, over the channel EQ that
// feeds that path.
#pragma once

#include "eq/ui/CEqPage.h"

namespace sonoria {

class CMainDlg : public CEqPage {
    Q_OBJECT

public:
    static constexpr int kDialogId = 259;
    static constexpr int kResetId = 1190;
    static constexpr int kTitleId = 1196;
    enum Path : int { kMicrophone = 0, kMusic = 1 };

    explicit CMainDlg(QWidget* parent = nullptr);

    // Chooses the path; the caller refreshes and re-texts the page.
    void SetPath(int path);
    int Path() const { return View() == EqView::MainMusic ? kMusic : kMicrophone; }
};

DialogSpec MainDlgTemplate();

}  // namespace sonoria
