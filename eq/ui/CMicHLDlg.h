// The channel EQ page (page 1 of the main window): the microphone channel's
// eight-band EQ or the music channel's five-band EQ.
#pragma once

#include "eq/ui/CEqPage.h"

namespace sonoria {

class CMicHLDlg : public CEqPage {
    Q_OBJECT

public:
    static constexpr int kDialogId = 249;
    static constexpr int kResetId = 1016;
    static constexpr int kTitleId = 1194;
    enum Channel : int { kMicrophone = 0, kMusic = 1 };

    explicit CMicHLDlg(QWidget* parent = nullptr);

    // Chooses the channel; the caller refreshes and re-texts the page.
    void SetChannel(int channel);
    int Channel() const { return View() == EqView::Music ? kMusic : kMicrophone; }
};

// The page's template.
DialogSpec MicHLDlgTemplate();

}  // namespace sonoria
