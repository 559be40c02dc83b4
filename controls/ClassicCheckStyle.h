// Check boxes and radio buttons drawn in the classic way whatever the
// platform's style: a white field in a sunken frame with a black tick or dot.
// Windows give it to the boxes whose text and ground colours they choose
// themselves (the boxes keep those colours; only the indicator is drawn here).
#pragma once

#include <QProxyStyle>

namespace sonoria {

class ClassicCheckStyle : public QProxyStyle {
    Q_OBJECT
public:
    ClassicCheckStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// The one instance the program's windows share; it lives as long as the application.
QStyle* ClassicCheckStyleInstance();

}  // namespace sonoria
