// Setting and reading the text of any kind of control the same way.
#pragma once

#include <QString>
#include <QWidget>

namespace sonoria {

// Sets a control's visible text. "&&" shows a single "&" on every kind of
// control (buttons and group boxes read it that way themselves; for the
// others it is turned into "&" here).
void SetControlText(QWidget* control, const QString& text);

// The text as set (with "&&" where the control itself reads mnemonics).
QString ControlText(const QWidget* control);

}  // namespace sonoria
