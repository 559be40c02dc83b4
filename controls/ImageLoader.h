// The program's images, each a PNG resource named by its id
// (resources/images/<id>.png, drawn by tools/draw_images.cpp, run by hand).
#pragma once

#include <QImage>
#include <QPixmap>

namespace sonoria {

// Loads PNG `id` into `image`; returns 1 when the image exists, else 0 and
// leaves `image` null. When the screens' pixel ratio is above 1 it takes the
// <id>@2x.png drawing with a device pixel ratio of 2: its size in
// device-independent pixels (deviceIndependentSize) is that of the 1x one.
int LoadPngImage(int id, QImage& image);

// The same as a pixmap (null when missing).
QPixmap LoadPngPixmap(int id);

}  // namespace sonoria
