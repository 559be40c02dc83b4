#include "controls/CGdiPlusBitmap.h"

#include "controls/ImageLoader.h"

namespace sonoria {

CGdiPlusBitmap::CGdiPlusBitmap(const QImage& image) { SetImage(image); }

void CGdiPlusBitmap::SetImage(const QImage& image) {
    // Colour-matrix and scaling work expects straight ARGB; keep one format.
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32);
}

void CGdiPlusBitmap::Empty() { m_image = QImage(); }

bool CGdiPlusBitmapResource::LoadFromResource(int id) {
    Empty();
    m_resourceId = 0;
    QImage loaded;
    if (LoadPngImage(id, loaded) != 1) return false;
    SetImage(loaded);
    if (IsEmpty()) return false;
    m_resourceId = id;
    return true;
}

}  // namespace sonoria
