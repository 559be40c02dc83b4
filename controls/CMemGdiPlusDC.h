// Off-screen drawing surface for one painting step: draw into it with the
// target's coordinates; when it goes out of scope the picture is copied onto
// the target in one go, so nothing flickers.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

namespace sonoria {

class CMemGdiPlusDC {
public:
    // `rect` is in the target's logical coordinates; QRect() (all zero) means
    // the target's clip box (the whole device when it is not clipped).
    // Printing targets are drawn on directly.
    explicit CMemGdiPlusDC(QPainter* target, const QRect& rect = QRect());
    ~CMemGdiPlusDC();

    CMemGdiPlusDC(const CMemGdiPlusDC&) = delete;
    CMemGdiPlusDC& operator=(const CMemGdiPlusDC&) = delete;

    // Where to draw: the off-screen painter, or the target when printing.
    QPainter* painter() { return m_memoryMode ? &m_memPainter : m_target; }
    QPainter* operator->() { return painter(); }

    const QRect& rect() const { return m_rect; }
    // 1 when drawing goes to the off-screen picture, 0 when straight to the target.
    int memoryMode() const { return m_memoryMode; }

    // The target's visible area in its logical coordinates.
    static QRect ClipBox(const QPainter& target);
    static bool IsPrinting(const QPainter& target);

private:
    QPainter* m_target;
    QRect m_rect;
    int m_memoryMode = 0;
    QImage m_bitmap;
    QPainter m_memPainter;
};

}  // namespace sonoria
