// A plain parent window painted in one colour, for drawing controls on.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <memory>

namespace sonoria::test {

inline std::unique_ptr<QWidget> MakeDarkParent(QSize size, QColor color) {
    auto parent = std::make_unique<QWidget>();
    QPalette palette = parent->palette();
    palette.setColor(QPalette::Window, color);
    parent->setPalette(palette);
    parent->setAutoFillBackground(true);
    parent->resize(size);
    return parent;
}

}  // namespace sonoria::test
