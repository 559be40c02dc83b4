// sonoria-draw-images: draws every picture the program embeds and writes
// them as <folder>/<id>.png and, twice as dense for high-density screens,
// <folder>/<id>@2x.png, and the program icon for the desktop's icon
// theme as <folder>/icons/sonoria-<size>.png.
//
//   sonoria-draw-images <output folder> [--contact-sheet <file.png>]
//                       [--preview <file.png>]
//
// The optional contact sheet shows all pictures enlarged on a dark
// background; the preview shows them in place (main window, sliders), for
// looking them over.

#include "draw_common.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kProgramIconId = 209;

QImage contactSheet(const std::vector<draw::Picture>& pictures) {
    constexpr int kSheetWidth = 1900;
    constexpr int kGap = 16;
    constexpr int kLabel = 18;
    struct Cell {
        const draw::Picture* picture;
        int scale;
        QRect rect;
    };
    std::vector<Cell> cells;
    int x = kGap;
    int y = kGap;
    int rowHeight = 0;
    for (const auto& picture : pictures) {
        const QSize size = picture.image.size();
        // Small pictures are enlarged more, so their pixels can be judged.
        int scale = std::max(1, std::min(8, 120 / std::max(1, size.height())));
        while (scale > 1 && size.width() * scale > kSheetWidth - 2 * kGap) --scale;
        const int w = size.width() * scale;
        const int h = size.height() * scale + kLabel;
        if (x + w > kSheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        cells.push_back({&picture, scale, QRect(x, y, w, h)});
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    QImage sheet(kSheetWidth, y + rowHeight + kGap, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(18, 18, 18));
    QPainter p(&sheet);
    p.setFont(draw::uiFont(12, QFont::Normal));
    for (const auto& cell : cells) {
        const QImage& image = cell.picture->image;
        const QRect area(cell.rect.x(), cell.rect.y() + kLabel, image.width() * cell.scale,
                         image.height() * cell.scale);
        p.fillRect(area, draw::panelColour());
        p.drawImage(area, image);  // nearest-neighbour enlargement
        p.setPen(QColor(200, 200, 200));
        p.drawText(QPointF(cell.rect.x(), cell.rect.y() + 13),
                   QStringLiteral("%1  %2x%3").arg(cell.picture->id).arg(image.width()).arg(image.height()));
    }
    return sheet;
}

// The sizes the hicolor icon theme asks for.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Halves the image until one more halving would pass `size`, then scales the
// rest of the way: each step averages whole pixels, so the thin waves of the
// icon stay visible at 16 pixels instead of being skipped over.
QImage iconAt(const QImage& source, int size) {
    QImage image = source;
    while (image.width() / 2 >= size) {
        image = image.scaled(image.width() / 2, image.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (image.width() != size) image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32);
}

int writeIcons(const std::vector<draw::Picture>& pictures, const QString& folder) {
    const auto icon = std::find_if(pictures.begin(), pictures.end(), [](const auto& p) { return p.id == kProgramIconId; });
    if (icon == pictures.end() || !QDir().mkpath(QDir(folder).filePath(QStringLiteral("icons")))) {
        std::fprintf(stderr, "cannot write the theme icons\n");
        return 1;
    }
    int failures = 0;
    for (const int size : kIconSizes) {
        const QString path = QDir(folder).filePath(QStringLiteral("icons/sonoria-%1.png").arg(size));
        if (!iconAt(icon->image, size).save(path, "PNG", 9)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
            continue;
        }
        std::printf("icon  %3d x %-3d  %s\n", size, size, qPrintable(path));
    }
    return failures;
}

// Every picture at one density, sorted by id.
std::vector<draw::Picture> drawAll(int density) {
    draw::setDensity(density);
    draw::Gallery gallery;
    draw::drawSliders(gallery);
    draw::drawButtons(gallery);
    draw::drawSymbols(gallery);
    draw::drawRouting(gallery);
    draw::drawWindowPictures(gallery);
    draw::setDensity(1);
    std::vector<draw::Picture> pictures = gallery.pictures();
    std::sort(pictures.begin(), pictures.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    return pictures;
}

int writePicture(const QImage& image, const QString& path) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    // The file keeps no density of its own: the loader sets it from the name.
    out.setDevicePixelRatio(1.0);
    if (out.save(path, "PNG", 9)) return 0;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString folder;
    QString sheetFile;
    QString previewFile;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--contact-sheet") && i + 1 < argc) {
            sheetFile = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == QStringLiteral("--preview") && i + 1 < argc) {
            previewFile = QString::fromLocal8Bit(argv[++i]);
        } else if (folder.isEmpty() && !arg.startsWith(QLatin1Char('-'))) {
            folder = arg;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: %s <output folder> [--contact-sheet <file.png>] [--preview <file.png>]\n", argv[0]);
        return 2;
    }
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }

    std::vector<draw::Picture> pictures = drawAll(1);
    const std::vector<draw::Picture> doubled = drawAll(2);

    int failures = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const draw::Picture& picture = pictures[i];
        const draw::Picture& sharp = doubled[i];
        // The 2x picture must cover exactly the same area, or layouts would shift.
        if (sharp.id != picture.id || sharp.image.size() != picture.image.size() * 2) {
            std::fprintf(stderr, "picture %d: the 2x drawing is not twice the 1x one\n", picture.id);
            ++failures;
            continue;
        }
        failures += writePicture(picture.image, QDir(folder).filePath(QStringLiteral("%1.png").arg(picture.id)));
        failures += writePicture(sharp.image, QDir(folder).filePath(QStringLiteral("%1@2x.png").arg(picture.id)));
        std::printf("%4d  %4d x %-4d  %s\n", picture.id, picture.image.width(), picture.image.height(),
                    qPrintable(picture.what));
    }
    failures += writeIcons(pictures, folder);
    if (!sheetFile.isEmpty() && !contactSheet(pictures).save(sheetFile, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(sheetFile));
        ++failures;
    }
    if (!previewFile.isEmpty() && !draw::previewSheet(pictures).save(previewFile, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(previewFile));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
