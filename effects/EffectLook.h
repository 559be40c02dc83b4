// What the effect windows share in look and keys: the dark client area with
// white labels, the sliders' images and colours, centring over the owner,
// and the keys that must never close them.
#pragma once

class QKeyEvent;
class QLabel;
class QWidget;

namespace sonoria {

class CXBmpSlider;

// Client area RGB(32,32,32), white window text; labels and buttons are set up one by one.
void SetDarkClientArea(QWidget* window);
// White text straight on the window's dark background.
void MakeWhiteLabel(QLabel* label);
// Range 0 to 127, the standard track and thumbs with `disabledThumbId` for a
// disabled slider, margins 5/4/1/1, dark background.
void SetUpEffectSlider(CXBmpSlider* slider, int disabledThumbId);
// Puts `window` in the middle of `owner` (nothing without an owner).
void CentreOver(QWidget* window, const QWidget* owner);
// Escape and Enter are taken here so that they never close the window (the
// close box still does). Returns whether the key was taken.
bool SwallowDialogKey(QKeyEvent* event);

}  // namespace sonoria
