#include "controls/FittedText.h"

#include <QFontMetrics>

namespace sonoria {
namespace {

int Width(const QString& text, const QFont& font, QPaintDevice* device) {
    const QFontMetrics metrics = device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
    return metrics.horizontalAdvance(text);
}

}  // namespace

FittedText FitText(const QString& text, const QFont& font, int maxShrinkPixels,
                   const std::function<bool(int width)>& fits, QPaintDevice* device) {
    FittedText fitted{text, font};
    if (fits(Width(text, font, device))) return fitted;
    const int pixels = font.pixelSize();
    if (pixels > 0) {
        for (int shrink = 1; shrink <= maxShrinkPixels && pixels - shrink > 0; ++shrink) {
            fitted.font.setPixelSize(pixels - shrink);
            if (fits(Width(text, fitted.font, device))) return fitted;
        }
    }
    const QFontMetrics metrics =
        device != nullptr ? QFontMetrics(fitted.font, device) : QFontMetrics(fitted.font);
    fitted.whole = false;
    for (int room = metrics.horizontalAdvance(text) - 1; room > 0; --room) {
        fitted.text = metrics.elidedText(text, Qt::ElideRight, room);
        if (fits(metrics.horizontalAdvance(fitted.text))) return fitted;
    }
    fitted.text.clear();
    return fitted;
}

}  // namespace sonoria
