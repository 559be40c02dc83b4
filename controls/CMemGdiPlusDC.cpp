#include "controls/CMemGdiPlusDC.h"

#include <QPaintDevice>
#include <QPaintEngine>

namespace sonoria {

bool CMemGdiPlusDC::IsPrinting(const QPainter& target) {
    const QPaintDevice* device = target.device();
    if (device && device->devType() == QInternal::Printer) return true;
    const QPaintEngine* engine = target.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

QRect CMemGdiPlusDC::ClipBox(const QPainter& target) {
    if (target.hasClipping()) return target.clipBoundingRect().toAlignedRect();
    const QPaintDevice* device = target.device();
    if (!device) return {};
    // Widgets measure themselves in logical pixels, images and pixmaps in
    // device pixels; the painter's transform maps logical to device pixels.
    const qreal toDevice = device->devType() == QInternal::Widget ? device->devicePixelRatio() : 1.0;
    const QRectF deviceRect(0, 0, device->width() * toDevice, device->height() * toDevice);
    return target.combinedTransform().inverted().mapRect(deviceRect).toAlignedRect();
}

CMemGdiPlusDC::CMemGdiPlusDC(QPainter* target, const QRect& rect) : m_target(target) {
    if (!m_target || !m_target->isActive()) return;
    // QRect() is the all-zero rectangle (0, 0, 0, 0).
    m_rect = rect == QRect() ? ClipBox(*m_target) : rect.normalized();
    if (IsPrinting(*m_target)) return;

    m_memoryMode = 1;
    const qreal ratio = m_target->device() ? m_target->device()->devicePixelRatio() : 1.0;
    m_bitmap = QImage(m_rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_bitmap.setDevicePixelRatio(ratio);
    // Callers paint the whole rectangle; a defined start keeps forgotten
    // corners from showing stale memory.
    if (m_bitmap.isNull()) return;
    m_bitmap.fill(Qt::transparent);
    m_memPainter.begin(&m_bitmap);
    // Drawing uses the target's coordinates.
    m_memPainter.translate(-m_rect.topLeft());
}

CMemGdiPlusDC::~CMemGdiPlusDC() {
    if (!m_memoryMode || m_bitmap.isNull()) return;
    m_memPainter.end();
    m_target->save();
    // A block copy: the picture replaces what was under it.
    m_target->setCompositionMode(QPainter::CompositionMode_Source);
    m_target->drawImage(m_rect.topLeft(), m_bitmap);
    m_target->restore();
}

}  // namespace sonoria
