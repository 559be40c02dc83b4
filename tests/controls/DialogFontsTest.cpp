// The faces the templates name, and the installed faces they become.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <QTextLayout>

#include <string>
#include <vector>

#include "controls/DialogTemplate.h"
#include "controls/DialogTemplateFonts.h"
#include "link/DebugLog.h"

namespace sonoria {
namespace {

// The faces that set the Latin and the Chinese part of a text.
struct Faces {
    QString latin;
    QString chinese;
};

// The face that sets `text` (all of it in one face).
QString FaceSetting(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.size() == 1 ? runs.front().rawFont().familyName().toLower() : QStringLiteral("(several faces)");
}

Faces FacesOf(const QFont& font) {
    return {FaceSetting(QStringLiteral("Ab 12.5dB"), font), FaceSetting(QString::fromUtf8("延时话筒"), font)};
}

// GDI's rule for a dialog font's horizontal base unit: the average width of
// the 52 letters, rounded.
int HorizontalBaseUnit(const QFont& font) {
    const int letters = QFontMetrics(font).horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return (letters / 26 + 1) / 2;
}

TEST(DialogFonts, WindowsFacesBecomeTheMetricFaceWithChineseFromTheCjkFace) {
    ASSERT_TRUE(DialogFaceFound()) << "run scripts/setup.sh (fonts-wine)";
    for (const char* face : {kShellDialogFace, kSongFace, "SimSun", "MS Sans Serif"}) {
        const Faces faces = FacesOf(TemplateFont(face, 12));
        EXPECT_EQ(faces.latin, "tahoma") << face;
        EXPECT_EQ(faces.chinese, "wenquanyi micro hei") << face;
    }
    EXPECT_EQ(FacesOf(TemplateFont("黑体", 12)).chinese, "wenquanyi micro hei");
}

TEST(DialogFonts, TheDialogFaceHasTheBaseUnitsTheTemplatesWereSizedFor) {
    ASSERT_TRUE(DialogFaceFound());
    for (const DialogFont& font : {kMainWindowFont, kDialogFont8}) {
        EXPECT_EQ(HorizontalBaseUnit(TemplateFont(font.face, PointsToPixels(font.pointSize))), font.baseX)
            << font.pointSize << " pt";
    }
    EXPECT_EQ(PointsToPixels(9), 12);
    EXPECT_EQ(PointsToPixels(8), 11);
}

TEST(DialogFonts, BuiltWindowsUseTheTemplateFont) {
    const ControlSpec controls[] = {{1026, ControlKind::Label, "Mic Vol", 68, 1, 33, 8}};
    QWidget dialog;
    BuildDialog(&dialog, {229, "", 506, 323, kMainWindowFont, controls});
    const QFont font = FindControl(&dialog, 1026)->font();
    EXPECT_EQ(font.family(), kShellDialogFace);
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_EQ(QFontInfo(font).family(), "Tahoma");
}

TEST(DialogFonts, WithoutTheFaceUiTextsKeepTheDefaultFaceAndTheLogSaysSo) {
    InstallDialogFonts();  // the program's own set-up first, so that it does not come after this one
    std::vector<std::string> lines;
    const DebugLogSink previous = SetDebugLogSink([&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_FALSE(SetUpDialogFonts({QStringLiteral("No Such Face"), {QStringLiteral("/nonexistent/face.ttf")}}));
    // Sizes nobody else uses: the font cache keeps what it resolved per size.
    const QString uiFace = QFontInfo(TemplateFont(kShellDialogFace, 17)).family();
    const QString defaultFace = QFontInfo(QFont()).family();
    const Faces song = FacesOf(TemplateFont(kSongFace, 19));
    EXPECT_TRUE(SetUpDialogFonts(DefaultDialogFaceSource()));
    SetDebugLogSink(previous);

    EXPECT_EQ(uiFace, defaultFace);
    EXPECT_EQ(song.latin, "wenquanyi micro hei") << "sans Latin even without the metric face";
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("No Such Face"), std::string::npos) << lines[0];
}

}  // namespace
}  // namespace sonoria
