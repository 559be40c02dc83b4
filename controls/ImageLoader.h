// The program's images, each a PNG resource named by its id
// (resources/images/<id>.png, drawn by tools/draw_images.cpp, run by hand).
#pragma once

#include <QImage>
#include <QPixmap>

namespace sonoria {

// Loads PNG `id` into `image`; returns 1 when the image exists, else 0 and
// leaves `image` null.
int LoadPngImage(int id, QImage& image);

// The same as a pixmap (null when missing).
QPixmap LoadPngPixmap(int id);

}  // namespace sonoria
