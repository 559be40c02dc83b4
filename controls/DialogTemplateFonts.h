// The faces the window templates and drawing code name are Windows faces.
// Each is mapped once per process to installed faces with the same metrics
// (or the closest kind), so that texts fit the controls as they were sized.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace sonoria {

// The dialog font of the templates, and the face the image-button captions
// and the information window use.
inline constexpr const char* kShellDialogFace = "MS Shell Dlg";
inline constexpr const char* kSongFace = "宋体";

// The face with the dialog font's metrics and where to find it when it is not
// installed system-wide (Debian's fonts-wine keeps it outside the font path).
struct DialogFaceSource {
    QString family;
    QStringList files;
};
DialogFaceSource DefaultDialogFaceSource();

// Sets up the substitutions from `source`, replacing earlier ones: the Windows
// UI faces become the metric-compatible face with the CJK face behind it;
// "宋体" becomes the CJK face for Chinese and a sans face for Latin text.
// Without the face the UI faces keep the default face, and the debug log says
// so. Returns whether the face was found.
bool SetUpDialogFonts(const DialogFaceSource& source);

// SetUpDialogFonts with the default source, the first time only. The builder
// and every control that picks a face call it, so the program and the tests
// get the same fonts.
void InstallDialogFonts();
// Whether the metric-compatible face was found by InstallDialogFonts.
bool DialogFaceFound();

// `face` at `pixelSize` pixels, with the substitutions installed.
QFont TemplateFont(const char* face, int pixelSize);

// A template's point size in pixels: dialog units are counted at 96 pixels
// per inch, so the font is too.
int PointsToPixels(int points);

}  // namespace sonoria
