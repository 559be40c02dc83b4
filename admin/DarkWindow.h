// The look the dark administration windows share: the client area in
// RGB(32, 32, 32), white texts on a transparent ground, and image buttons with
// white captions drawn over that ground.
#pragma once

#include <QColor>

class QWidget;

namespace sonoria {

class CGdipButton;

inline constexpr QColor kAdminBackground(32, 32, 32);

// Colours the window and every label and check box in it; its image buttons
// get the plain ground when it is first shown.
void MakeDark(QWidget* window);

// Prepares image button `id` of `window` with PNG `imageId` and a white
// caption; null when the window has no such image button.
CGdipButton* PrepareImageButton(QWidget* window, int id, int imageId);

// Hands every image button of `window` its part of the plain dark ground.
void GiveButtonsDarkBackground(QWidget* window);

// Text of a pair by the current language.
const char* ByLanguage(const char* chinese, const char* english);

}  // namespace sonoria
