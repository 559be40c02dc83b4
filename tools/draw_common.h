// Shared pieces of the image generator: the list the drawing functions fill,
// a few colour and shape helpers, a blur for glows and shadows, and the
// dialog-unit conversion used to size pictures that sit on dialog controls.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

namespace draw {

// One finished picture: resource id, pixels and a one-line description.
struct Picture {
    int id;
    QImage image;
    QString what;
};

class Gallery {
public:
    void add(int id, const QImage& image, const QString& what) { pictures_.push_back({id, image, what}); }
    const std::vector<Picture>& pictures() const { return pictures_; }

private:
    std::vector<Picture> pictures_;
};

// The drawing modules; each adds its pictures to the gallery.
void drawSliders(Gallery& gallery);
void drawButtons(Gallery& gallery);
void drawSymbols(Gallery& gallery);
void drawRouting(Gallery& gallery);
void drawWindowPictures(Gallery& gallery);

// The handheld wireless microphone picture (56 x 56 at scale 1), also used
// by the pairing guide.
QImage handheldMic(int number, bool active, double scale = 1.0);

// The pictures shown in place, for checking them (not embedded).
QImage previewSheet(const std::vector<Picture>& pictures);

// Dialog units of the 9-point dialog font to pixels.
inline double duX(double x) { return x * 7.0 / 4.0; }
inline double duY(double y) { return y * 15.0 / 8.0; }

// The dark panel colour most windows use.
inline QColor panelColour() { return QColor(32, 32, 32); }

// The density the pictures are drawn at: 1 for <id>.png, 2 for <id>@2x.png.
// Every drawing works in the 1x coordinates; canvas() takes care of the rest.
void setDensity(int density);
int density();

// A premultiplied ARGB canvas cleared to `fill` (transparent by default):
// width x height in drawing coordinates, density times as many pixels.
QImage canvas(int width, int height, const QColor& fill = Qt::transparent);

// Sets up a painter with antialiasing and smooth scaling.
void prepare(QPainter& painter);

// Colour helpers: linear mix (t = 0 gives a), and a copy with another alpha.
QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(const QColor& c, int alpha);

// Pill (fully rounded ends) and rounded-rectangle outlines.
QPainterPath pillPath(const QRectF& r);
QPainterPath roundPath(const QRectF& r, double radius);

// Gaussian-like blur (three box passes) of a premultiplied image, in place;
// `radius` is in drawing coordinates.
void blur(QImage& image, int radius);

// Paints a soft glow of `shape` in `colour`, `radius` pixels wide, under
// whatever is drawn afterwards. `strength` scales the glow's opacity.
void paintGlow(QImage& target, const QPainterPath& shape, const QColor& colour, int radius, double strength = 1.0,
               const QPointF& offset = QPointF());

// Font helper: DejaVu Sans at a pixel size.
QFont uiFont(double pixelSize, int weight = QFont::Bold);

// A path holding `text` centred on `centre` (for crisp, glow-able lettering).
QPainterPath textPath(const QString& text, const QFont& font, const QPointF& centre);

}  // namespace draw
