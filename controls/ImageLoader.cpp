#include "controls/ImageLoader.h"

#include <QGuiApplication>
#include <QString>

namespace sonoria {

int LoadPngImage(int id, QImage& image) {
    // On a high-density screen the twice-as-dense drawing keeps edges sharp;
    // its density makes it cover the same area as the 1x picture.
    if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0) {
        image = QImage(QStringLiteral(":/images/%1@2x.png").arg(id));
        if (!image.isNull()) {
            image.setDevicePixelRatio(2.0);
            return 1;
        }
    }
    image = QImage(QStringLiteral(":/images/%1.png").arg(id));
    return image.isNull() ? 0 : 1;
}

QPixmap LoadPngPixmap(int id) {
    QImage image;
    LoadPngImage(id, image);
    return QPixmap::fromImage(image);
}

}  // namespace sonoria
