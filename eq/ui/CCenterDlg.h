// The centre/sub EQ page (page 3 of the main window): for the centre or the
// sub output, two peak bands of the microphone or the music path over the
// channel EQ and the output's own filters, or the output's own high-pass and
// low-pass. While both outputs serve as rear left and right, every edit and
// reset goes to both.
#pragma once

#include "eq/ui/CEqPage.h"

namespace sonoria {

class CCenterDlg : public CEqPage {
    Q_OBJECT

public:
    static constexpr int kDialogId = 257;
    static constexpr int kResetId = 1190;
    static constexpr int kTitleId = 1196;
    enum Output : int { kCenter = 0, kSub = 1 };
    enum Source : int { kMicrophone = 0, kMusic = 1, kOutputFilters = 2 };

    explicit CCenterDlg(QWidget* parent = nullptr);

    // Chooses the output and the source; the caller refreshes and re-texts the page.
    void SetSelection(int output, int source);
    int Output() const { return m_output; }
    int Source() const { return m_source; }

private:
    int m_output = kCenter;
    int m_source = kMicrophone;
};

DialogSpec CenterDlgTemplate();

}  // namespace sonoria
