// What windows built from templates share beyond the builder: putting a
// custom control where the template has a placeholder, and keeping Enter and
// Escape from closing a page.
#pragma once

class QKeyEvent;
class QWidget;

namespace sonoria {

// Gives `control` (a sibling of the placeholder) the placeholder's id, place,
// stacking and visibility, and removes the placeholder.
void TakePlaceOf(QWidget* placeholder, QWidget* control);

// Accepts Enter, Return and Escape, so that they do nothing; true for them.
bool SwallowClosingKey(QKeyEvent* event);

}  // namespace sonoria
