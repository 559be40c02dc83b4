// Whether every text of a window fits its control: labels, push buttons,
// check boxes, radio buttons, image buttons and group boxes, each measured in
// the font it is drawn with and against the room its control gives it.
#pragma once

#include <QString>
#include <QWidget>

#include <span>
#include <vector>

namespace sonoria::test {

struct ClippedText {
    int dialogId;   // the template the control belongs to
    int controlId;  // 0 for controls nobody addresses
    QString text;   // as shown
    int needed;     // pixels the text takes, with the control's own margins
    int available;  // pixels the control has for it
};

// Every control of `window` shown now (nested pages included) whose text does
// not fit. Hidden controls are skipped: check them in the state that shows them.
std::vector<ClippedText> FindClippedTexts(const QWidget* window);

// A clipping that is accepted, and why.
struct FitAllowance {
    int dialogId;
    int controlId;
    const char* reason;
};

// One line per clipped text that no allowance covers ("window 229, control
// 1207 "Disconnected": needs 80 px, has 74 px"); empty when everything fits.
QString UnallowedClippings(const QWidget* window, std::span<const FitAllowance> allowed);

}  // namespace sonoria::test
