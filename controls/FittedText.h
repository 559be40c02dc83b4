// Fitting a one-line text into the room its control gives it, for texts whose
// length the control cannot know in advance (values, notices).
#pragma once

#include <QFont>
#include <QString>

#include <functional>

class QPaintDevice;

namespace sonoria {

struct FittedText {
    QString text;
    QFont font;
    bool whole = true;  // false when the text had to be elided
};

// `text` in `font` when `fits` accepts its width in pixels. Otherwise the
// font is made up to `maxShrinkPixels` pixels smaller (a font without a pixel
// size is not changed), and if the text is still too wide at the smallest
// size it is elided at its end until it fits.
FittedText FitText(const QString& text, const QFont& font, int maxShrinkPixels,
                   const std::function<bool(int width)>& fits, QPaintDevice* device = nullptr);

}  // namespace sonoria
