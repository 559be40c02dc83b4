#include "controls/ImageLoader.h"

#include <QString>

namespace sonoria {

int LoadPngImage(int id, QImage& image) {
    image = QImage(QStringLiteral(":/images/%1.png").arg(id));
    return image.isNull() ? 0 : 1;
}

QPixmap LoadPngPixmap(int id) {
    QImage image;
    LoadPngImage(id, image);
    return QPixmap::fromImage(image);
}

}  // namespace sonoria
