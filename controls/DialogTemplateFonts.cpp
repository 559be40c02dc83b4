#include "controls/DialogTemplateFonts.h"

#include <QFile>
#include <QFontDatabase>

#include <string>

#include "link/DebugLog.h"

namespace sonoria {
namespace {

// Chinese glyphs come from here whatever face a text asks for.
constexpr const char* kCjkFace = "WenQuanYi Micro Hei";
constexpr const char* kMetricFace = "Tahoma";

// Windows UI faces that a template or a drawing routine may name.
const char* const kUiFaces[] = {"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Microsoft Sans Serif"};
// The Song faces: their Latin letters are set in a sans face here, never a serif one.
const char* const kSongFaces[] = {"宋体", "新宋体", "SimSun", "NSimSun"};
// The Hei faces are sans throughout.
const char* const kHeiFaces[] = {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei"};

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;

bool FamilyInstalled(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

bool LoadFace(const DialogFaceSource& source) {
    if (FamilyInstalled(source.family)) return true;
    for (const QString& file : source.files) {
        if (QFile::exists(file)) QFontDatabase::addApplicationFont(file);
    }
    return FamilyInstalled(source.family);
}

void Substitute(const QString& name, const QStringList& faces) {
    QFont::removeSubstitutions(name);
    if (!faces.isEmpty()) QFont::insertSubstitutions(name, faces);
}

bool& FaceFound() {
    static bool found = false;
    return found;
}

}  // namespace

DialogFaceSource DefaultDialogFaceSource() {
    return {QString::fromLatin1(kMetricFace),
            {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"), QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"),
             QStringLiteral("/usr/local/share/wine/fonts/tahoma.ttf"),
             QStringLiteral("/usr/local/share/wine/fonts/tahomabd.ttf")}};
}

bool SetUpDialogFonts(const DialogFaceSource& source) {
    const bool found = LoadFace(source);
    const QString cjk = QString::fromLatin1(kCjkFace);
    const QStringList withCjk = found ? QStringList{source.family, cjk} : QStringList{};
    for (const char* face : kUiFaces) Substitute(QString::fromUtf8(face), withCjk);
    // Without the metric face the Song faces still get the CJK face, whose
    // Latin letters are sans.
    for (const char* face : kSongFaces) Substitute(QString::fromUtf8(face), found ? withCjk : QStringList{cjk});
    for (const char* face : kHeiFaces) Substitute(QString::fromUtf8(face), {cjk});
    // Texts that name the metric face itself find their Chinese glyphs there too.
    Substitute(source.family, found ? QStringList{cjk} : QStringList{});
    if (!found) {
        const std::string family = source.family.toStdString();
        DebugLogFormat(200, "Dialog font %s not found: dialog texts use the default face\n", family.c_str());
    }
    return found;
}

void InstallDialogFonts() {
    static const bool installed = [] {
        FaceFound() = SetUpDialogFonts(DefaultDialogFaceSource());
        return true;
    }();
    (void)installed;
}

bool DialogFaceFound() {
    InstallDialogFonts();
    return FaceFound();
}

QFont TemplateFont(const char* face, int pixelSize) {
    InstallDialogFonts();
    QFont font(QString::fromUtf8(face));
    font.setPixelSize(pixelSize);
    return font;
}

int PointsToPixels(int points) { return (points * kScreenDpi + kPointsPerInch / 2) / kPointsPerInch; }

}  // namespace sonoria
