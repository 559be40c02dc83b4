// The generated images are embedded at the sizes the windows are laid out
// for; a contact sheet of all of them is saved for people to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QPainter>

#include "controls/ImageLoader.h"

namespace sonoria {
namespace {

TEST(ImageResources, EveryImageTheWindowsCiteExistsAtItsSize) {
    const struct {
        int id, width, height;
    } expected[] = {
        {291, 150, 45}, {292, 150, 45}, {293, 150, 45}, {294, 150, 45}, {295, 150, 45}, {296, 150, 45},
        {268, 108, 45}, {247, 107, 39}, {330, 38, 24},  {331, 38, 24},  {336, 38, 24},  {337, 38, 24},
        {234, 16, 10},  {235, 16, 10},  {210, 516, 110},
    };
    for (const auto& image : expected) {
        QImage loaded;
        ASSERT_EQ(LoadPngImage(image.id, loaded), 1) << image.id;
        EXPECT_EQ(loaded.size(), QSize(image.width, image.height)) << image.id;
    }
    for (int id : {301, 303, 310, 311, 313, 339, 341, 280, 281, 283, 352, 209}) {
        EXPECT_FALSE(LoadPngPixmap(id).isNull()) << id;
    }
    QImage thumb, focused;
    LoadPngImage(301, thumb);
    LoadPngImage(313, focused);
    EXPECT_EQ(thumb.size(), focused.size());  // the focused thumb replaces the normal one in place
}

TEST(ImageResources, EveryImageHasASharpTwinOfTwiceItsSize) {
    QStringList ids;
    QStringList twins;
    QDirIterator it(QStringLiteral(":/images"));
    while (it.hasNext()) {
        const QString name = QFileInfo(it.next()).fileName();
        if (!name.endsWith(QStringLiteral(".png"))) continue;
        (name.endsWith(QStringLiteral("@2x.png")) ? twins : ids) << name.section(QLatin1Char('@'), 0, 0).section(QLatin1Char('.'), 0, 0);
    }
    ids.sort();
    twins.sort();
    ASSERT_FALSE(ids.isEmpty());
    // A picture without its twin would be blurred on a high-density screen, a
    // twin without its picture never shown.
    EXPECT_EQ(ids, twins);
    for (const QString& id : ids) {
        const QImage plain(QStringLiteral(":/images/%1.png").arg(id));
        const QImage sharp(QStringLiteral(":/images/%1@2x.png").arg(id));
        EXPECT_EQ(sharp.size(), plain.size() * 2) << qPrintable(id);
    }
}

TEST(ImageResources, ContactSheet) {
    QList<QImage> images;
    QStringList names;
    QDirIterator it(QStringLiteral(":/images"));
    while (it.hasNext()) names << it.next();
    names.removeIf([](const QString& name) { return name.endsWith(QStringLiteral("@2x.png")); });
    names.sort();
    int width = 0, height = 0;
    for (const QString& name : names) {
        images << QImage(name);
        width = std::max(width, images.back().width());
        height += images.back().height() + 8;
    }
    ASSERT_FALSE(images.isEmpty());
    QImage sheet(width + 16, height + 8, QImage::Format_ARGB32);
    sheet.fill(QColor(32, 32, 32));
    QPainter painter(&sheet);
    int y = 8;
    for (const QImage& image : images) {
        painter.drawImage(8, y, image);
        y += image.height() + 8;
    }
    painter.end();
    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
    EXPECT_TRUE(sheet.save(SONORIA_SCREENSHOT_DIR "/images.png"));
}

}  // namespace
}  // namespace sonoria
