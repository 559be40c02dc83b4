#include "draw_common.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace draw {

namespace {
int g_density = 1;
}

void setDensity(int density) { g_density = std::max(1, density); }
int density() { return g_density; }

QImage canvas(int width, int height, const QColor& fill) {
    QImage image(width * g_density, height * g_density, QImage::Format_ARGB32_Premultiplied);
    // Painters on the image then draw in the 1x coordinates at full density.
    image.setDevicePixelRatio(g_density);
    image.fill(fill);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(const QColor& c, int alpha) {
    QColor out = c;
    out.setAlpha(std::clamp(alpha, 0, 255));
    return out;
}

QPainterPath pillPath(const QRectF& r) {
    QPainterPath path;
    const double radius = std::min(r.width(), r.height()) / 2.0;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath roundPath(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

namespace {

// One horizontal box pass over premultiplied pixels, from src into dst.
void boxPass(const QImage& src, QImage& dst, int radius, bool horizontal) {
    const int w = src.width();
    const int h = src.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    const int window = 2 * radius + 1;
    std::vector<std::uint32_t> line(static_cast<size_t>(length));
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < length; ++i) {
            const int x = horizontal ? i : l;
            const int y = horizontal ? l : i;
            line[static_cast<size_t>(i)] = reinterpret_cast<const std::uint32_t*>(src.constScanLine(y))[x];
        }
        long sum[4] = {0, 0, 0, 0};
        auto channel = [](std::uint32_t p, int c) { return static_cast<long>((p >> (c * 8)) & 0xFF); };
        auto at = [&](int i) -> std::uint32_t {
            if (i < 0 || i >= length) return 0u;
            return line[static_cast<size_t>(i)];
        };
        for (int i = -radius; i <= radius; ++i)
            for (int c = 0; c < 4; ++c) sum[c] += channel(at(i), c);
        for (int i = 0; i < length; ++i) {
            std::uint32_t out = 0;
            for (int c = 0; c < 4; ++c)
                out |= static_cast<std::uint32_t>((sum[c] + window / 2) / window) << (c * 8);
            const int x = horizontal ? i : l;
            const int y = horizontal ? l : i;
            reinterpret_cast<std::uint32_t*>(dst.scanLine(y))[x] = out;
            for (int c = 0; c < 4; ++c) sum[c] += channel(at(i + radius + 1), c) - channel(at(i - radius), c);
        }
    }
}

}  // namespace

void blur(QImage& image, int radius) {
    if (radius <= 0) return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Three box passes of half the radius each approximate a Gaussian.
    const int r = std::max(1, static_cast<int>(std::lround(radius * image.devicePixelRatio())) / 2);
    QImage temp(image.size(), image.format());
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, temp, r, true);
        boxPass(temp, image, r, false);
    }
}

void paintGlow(QImage& target, const QPainterPath& shape, const QColor& colour, int radius, double strength,
               const QPointF& offset) {
    const QSize size = target.deviceIndependentSize().toSize();
    QImage layer = canvas(size.width(), size.height());
    {
        QPainter p(&layer);
        prepare(p);
        p.translate(offset);
        p.fillPath(shape, colour);
    }
    blur(layer, radius);
    QPainter p(&target);
    p.setOpacity(std::clamp(strength, 0.0, 1.0));
    p.drawImage(0, 0, layer);
    if (strength > 1.0) {
        p.setOpacity(std::clamp(strength - 1.0, 0.0, 1.0));
        p.drawImage(0, 0, layer);
    }
}

QFont uiFont(double pixelSize, int weight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath textPath(const QString& text, const QFont& font, const QPointF& centre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(centre - box.center());
    return path;
}

}  // namespace draw
