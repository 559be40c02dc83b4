#include "eq/ui/CPanelFonts.h"

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <algorithm>

#include "controls/DialogTemplateFonts.h"

namespace sonoria {
namespace {

QStringList Faces(const char* face) {
    const QString name = QString::fromUtf8(face);
    if (name == QString::fromUtf8("宋体")) return {name, QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")};
    if (name == QString::fromUtf8("黑体")) return {name, QStringLiteral("SimHei"), QStringLiteral("WenQuanYi Micro Hei")};
    return {name, QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")};
}

}  // namespace

QFont PanelEmFont(const char* face, int pixels, QFont::Weight weight) {
    InstallDialogFonts();  // "Tahoma" and "宋体" resolve as in the dialogs
    QFont font;
    font.setFamilies(Faces(face));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

QFont PanelCellFont(const char* face, int cellHeight) {
    QFont font = PanelEmFont(face, cellHeight);
    const qreal line = QFontMetricsF(font).height();
    if (line > 0) font.setPixelSize(std::max(1, qRound(cellHeight * cellHeight / line)));
    return font;
}

}  // namespace sonoria
