// Preview for looking the pictures over in place: the upper part of the main
// window assembled from them (both routings), the sliders on dark and light
// backgrounds, and the small pictures enlarged. Written only on request
// (--preview); nothing of it is embedded in the program.

#include "draw_common.h"

#include <QFontMetricsF>

#include <map>

namespace draw {
namespace {

using Library = std::map<int, QImage>;

QRectF du(double x, double y, double w, double h) { return QRectF(duX(x), duY(y), duX(w), duY(h)); }

struct FlowButton {
    int id;
    double x, y, w, h;
    int image;
    const char* caption;
};

const FlowButton kFlow[] = {
    {2200, 17, 40, 46, 16, 296, "MNG+CP"},     {2201, 76, 40, 50, 16, 296, "MFS 12Hz"},
    {2202, 136, 40, 34, 16, 292, "PEQ"},       {2203, 187, 40, 46, 16, 296, "Direct 90"},
    {2224, 147, 62, 46, 16, 296, "Efx Vol 64"}, {2208, 199, 62, 34, 16, 295, "Efx"},
    {2204, 17, 84, 46, 16, 296, "MNG -60dB"},  {2205, 76, 84, 50, 16, 296, "Pitch 64"},
    {2206, 136, 84, 34, 16, 292, "PEQ"},       {2239, 257, 33, 39, 14, 296, "Mic 100"},
    {2240, 257, 48, 39, 14, 296, "Music 100"}, {2226, 257, 70, 39, 14, 291, "Mic 80"},
    {2227, 257, 85, 39, 14, 291, "Music 80"},  {2229, 257, 106, 39, 14, 293, "Mic 60"},
    {2230, 257, 121, 39, 14, 293, "Music 60"}, {2215, 307, 48, 47, 14, 296, "Delay 0.00ms"},
    {2216, 307, 85, 47, 14, 291, "Delay 0.00ms"}, {2217, 306, 121, 47, 14, 293, "Delay 0.00ms"},
    {2218, 363, 33, 34, 14, 296, "+PEQ"},      {2219, 363, 49, 34, 14, 296, "+PEQ"},
    {2220, 363, 70, 34, 14, 291, "+PEQ+"},     {2221, 363, 85, 34, 14, 291, "+PEQ+"},
    {2222, 363, 106, 34, 14, 293, "+PEQ+"},    {2223, 363, 121, 34, 14, 293, "+PEQ+"},
    {2212, 408, 76, 34, 16, 291, "PEQ"},       {2214, 408, 114, 34, 16, 293, "PEQ"},
    {2213, 451, 121, 47, 16, 293, "Phase 0\u00b0"}, {2234, 451, 31, 47, 16, 296, "Main L(L)"},
    {2235, 451, 49, 47, 16, 296, "Main R(R)"}, {2233, 451, 76, 47, 16, 291, "Center(C)"},
    {2232, 451, 104, 47, 16, 293, "Sub(S)"},
};

bool hiddenInRear(int id) {
    switch (id) {
    case 2212: case 2220: case 2221: case 2226: case 2227: case 2213: case 2214: case 2216: return true;
    default: return false;
    }
}

void button(QPainter& p, const QRectF& r, const QImage& face, const QString& caption, const QColor& colour) {
    p.drawImage(r, face);
    if (caption.isEmpty()) return;
    p.setFont(uiFont(11, QFont::Normal));
    p.setPen(colour);
    p.drawText(r.adjusted(1, 0, 1, 0), Qt::AlignCenter, caption);
}

void checkBox(QPainter& p, double x, double y, const QString& text) {
    const QRectF box = du(x, y, 8, 10);
    p.setPen(QColor(200, 200, 200));
    p.setBrush(QColor(20, 20, 20));
    p.drawRect(QRectF(box.left() + 0.5, box.center().y() - 6.5, 12, 12));
    p.setFont(uiFont(11, QFont::Normal));
    p.setPen(Qt::white);
    p.drawText(QPointF(box.left() + 17, box.center().y() + 4), text);
}

void slider(QPainter& p, const QPointF& at, const Library& lib, double fraction, int thumb, const QColor& bg) {
    const QImage& track = lib.at(311);
    p.fillRect(QRectF(at, track.size()), bg);
    p.drawImage(at, track);
    const int d = static_cast<int>(148.0 * fraction + 5.0);
    p.drawImage(at, lib.at(310), QRectF(0, 0, d, track.height()));
    p.drawImage(at + QPointF(d, 1), lib.at(thumb));
}

QImage mainWindowTop(const Library& lib, bool rear) {
    QImage image = canvas(static_cast<int>(duX(506)), static_cast<int>(duY(141)), QColor(199, 199, 199));
    QPainter p(&image);
    prepare(p);
    p.fillRect(du(1, 25, 504, 115), panelColour());
    p.drawImage(du(65, 29, 385, 111), lib.at(rear ? 352 : 283));
    for (const FlowButton& b : kFlow) {
        if (rear && hiddenInRear(b.id)) continue;
        double y = b.y;
        if (rear && b.id == 2233) y = 104;
        if (rear && b.id == 2232) y = 121;
        const bool selected = b.id == 2202;
        const bool label = b.id >= 2232 && b.id <= 2235;
        QString caption = QString::fromUtf8(b.caption);
        if (rear && b.id == 2233) caption = QStringLiteral("Rear L(R.L)");
        if (rear && b.id == 2232) caption = QStringLiteral("Rear R(R.R)");
        button(p, du(b.x, y, b.w, b.h), lib.at(selected ? 294 : b.image), caption,
               selected ? Qt::white : (label ? QColor(120, 120, 120) : QColor(60, 240, 40)));
    }
    checkBox(p, 85, 29, QStringLiteral("MFS"));
    checkBox(p, 433, 65, QStringLiteral("C&S To Rear L&R"));
    p.drawImage(du(5, 41, 11, 18).topLeft(), lib.at(281));
    p.drawImage(du(2, 84, 14, 16).topLeft(), lib.at(280));
    p.drawImage(du(10, 111, 23, 22).topLeft(), lib.at(rear ? 341 : 339));
    for (int i = 0; i < 4; ++i)
        button(p, du(120 + 27 * i, 119, 21, 14), lib.at(330 + 2 * i + (i == 1 ? 1 : 0)), QString(), Qt::white);
    button(p, du(21, 5, 41, 17), lib.at(268), QStringLiteral("Function"), Qt::white);
    button(p, du(2, 5, 19, 17), lib.at(292), QStringLiteral("\u4e2d\u6587"), Qt::white);
    const double xs[4] = {66, 177, 288, 399};
    const double fill[4] = {0.0, 0.5, 0.8, 1.0};
    for (int i = 0; i < 4; ++i) slider(p, du(xs[i], 11, 99, 11).topLeft(), lib, fill[i], i == 1 ? 313 : 301,
                                       QColor(199, 199, 199));
    return image;
}

// The delay window with both sections, and the automatic-sub window.
QImage smallWindows(const Library& lib) {
    QImage image = canvas(static_cast<int>(duX(324 + 230)), static_cast<int>(duY(134)), panelColour());
    QPainter p(&image);
    prepare(p);
    p.drawImage(du(0, 0, 324, 63).topLeft(), lib.at(360));
    p.drawImage(du(0, 71, 324, 63).topLeft(), lib.at(358));
    auto group = [&](double x, double y, double w, double h) {
        p.setPen(QColor(0, 144, 120));
        p.setBrush(Qt::NoBrush);
        p.drawRect(du(x, y + 4, w, h - 4).adjusted(0.5, 0.5, -0.5, -0.5));
    };
    auto label = [&](double x, double y, const QString& text) {
        p.setPen(Qt::white);
        p.setFont(uiFont(11, QFont::Normal));
        p.drawText(du(x, y, 80, 9).topLeft() + QPointF(0, 12), text);
    };
    for (double off : {0.0, 71.0}) {
        group(28, 0 + off, 125, 29);
        group(27, 29 + off, 261, 29);
        label(35, 4 + off, QStringLiteral("Direct Level"));
        label(35, 33 + off, QStringLiteral("Delay Level"));
        label(160, 33 + off, QStringLiteral("Delay time"));
        slider(p, du(34, 15 + off, 115, 12).topLeft(), lib, 0.6, 301, panelColour());
        slider(p, du(34, 44 + off, 115, 12).topLeft(), lib, 0.3, 301, panelColour());
        slider(p, du(159, 44 + off, 115, 12).topLeft(), lib, 0.1, 301, panelColour());
    }
    // Automatic sub, to the right.
    const double ax = 330;
    label(ax + 8, 31, QStringLiteral("Restore time"));
    slider(p, du(ax + 52, 30, 115, 12).topLeft(), lib, 0.3, 301, panelColour());
    p.drawImage(du(ax + 60, 45, 100, 18).topLeft(), lib.at(323));
    label(ax + 13, 63, QStringLiteral("Sub ratio"));
    slider(p, du(ax + 52, 64, 115, 12).topLeft(), lib, 0.5, 301, panelColour());
    return image;
}

}  // namespace

QImage previewSheet(const std::vector<Picture>& pictures) {
    Library lib;
    for (const auto& pic : pictures) lib[pic.id] = pic.image;

    const QImage normal = mainWindowTop(lib, false);
    const QImage rear = mainWindowTop(lib, true);
    const int scale = 2;
    const int width = normal.width() * scale + 40;

    // Sliders on the dark and the light background, enlarged 3 times.
    QImage sliders = canvas(173 * 2 + 30, 19 * 3 + 20, QColor(199, 199, 199));
    {
        QPainter p(&sliders);
        p.fillRect(QRect(0, 0, 173 + 15, sliders.height()), panelColour());
        slider(p, QPointF(5, 5), lib, 0.45, 301, panelColour());
        slider(p, QPointF(5, 30), lib, 0.8, 313, panelColour());
        slider(p, QPointF(5, 55), lib, 0.2, 303, panelColour());
        slider(p, QPointF(173 + 25, 5), lib, 0.45, 301, QColor(199, 199, 199));
        slider(p, QPointF(173 + 25, 30), lib, 0.8, 313, QColor(199, 199, 199));
        slider(p, QPointF(173 + 25, 55), lib, 0.0, 303, QColor(199, 199, 199));
    }

    const int smallIds[] = {301, 313, 303, 339, 341, 281, 280, 330, 331, 363, 364, 234, 235};
    const int zoom = 6;
    int smallWidth = 0;
    int smallHeight = 0;
    for (int id : smallIds) {
        smallWidth += lib.at(id).width() * zoom + 12;
        smallHeight = std::max(smallHeight, lib.at(id).height() * zoom);
    }

    const QImage windows = smallWindows(lib);
    const int height = 20 + normal.height() * scale * 2 + 20 + sliders.height() * 3 + 20 + smallHeight + 20 +
                       windows.height() * 2 + 20;
    QImage sheet = canvas(std::max(width, smallWidth + 40), height, QColor(60, 60, 60));
    QPainter p(&sheet);
    int y = 20;
    p.drawImage(QRect(20, y, normal.width() * scale, normal.height() * scale), normal);
    y += normal.height() * scale;
    p.drawImage(QRect(20, y, rear.width() * scale, rear.height() * scale), rear);
    y += rear.height() * scale + 20;
    p.drawImage(QRect(20, y, sliders.width() * 3, sliders.height() * 3), sliders);
    y += sliders.height() * 3 + 20;
    int x = 20;
    for (int id : smallIds) {
        const QImage& img = lib.at(id);
        const QRect r(x, y, img.width() * zoom, img.height() * zoom);
        p.fillRect(r, panelColour());
        p.drawImage(r, img);
        x += r.width() + 12;
    }
    y += smallHeight + 20;
    p.drawImage(QRect(20, y, windows.width() * 2, windows.height() * 2), windows);
    return sheet;
}

}  // namespace draw
