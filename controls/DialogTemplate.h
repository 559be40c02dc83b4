// Windows are declared as tables of controls in dialog units and built by one
// function, which converts the units to pixels from the template's font,
// gives every widget its control id, and lets code find a child by id.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <span>

#include "controls/DialogTemplateFonts.h"

namespace sonoria {

enum class ControlKind {
    Label,
    PushButton,
    ImageButton,
    CheckBox,
    RadioButton,
    ComboBox,
    Edit,
    GroupBox,
    Slider,
    PeakMeter,
    Picture,
    ProgressBar,
    PageHost,
    Frame,
};

enum ControlFlag : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kCentered = 1u << 2,
    kDefault = 1u << 3,   // the default push button
    kRightAligned = 1u << 4,
};

struct ControlSpec {
    int id;          // 0 or negative for controls nobody addresses
    ControlKind kind;
    const char* text;  // template text (UTF-8); for pictures the image id in decimal
    int x, y, width, height;  // dialog units
    unsigned flags = 0;
};

// A template's font and its dialog base units, in pixels. The base units are
// those of the named face; the builder substitutes a face with its metrics.
struct DialogFont {
    int pointSize;
    int baseX;
    int baseY;
    const char* face = kShellDialogFace;
};
inline constexpr DialogFont kMainWindowFont{9, 7, 15};
inline constexpr DialogFont kDialogFont8{8, 6, 13};

struct DialogSpec {
    int id;             // dialog template id, also the key prefix of its texts
    const char* title;  // template caption (UTF-8)
    int width, height;  // dialog units
    DialogFont font;
    std::span<const ControlSpec> controls;
};

// Dialog units to pixels, rounded to the nearest pixel.
QRect DialogUnitsToPixels(const DialogFont& font, int x, int y, int width, int height);

// Builds the controls of `table` as direct children of `dialog`, sizes the
// dialog, sets its title and font, and marks it with its template id.
void BuildDialog(QWidget* dialog, const DialogSpec& table);

// Creates the widget of one kind; the windows' custom controls register here.
using ControlFactory = std::function<QWidget*(QWidget* parent)>;
void SetControlFactory(ControlKind kind, ControlFactory factory);

// The control id of a widget built from a template (0 for others).
int ControlId(const QWidget* widget);
void SetControlId(QWidget* widget, int id);

// The template id a dialog was built from (0 for others).
int DialogId(const QWidget* dialog);

// The descendant of `dialog` with that control id, or null.
QWidget* FindControl(const QWidget* dialog, int id);
template <typename T>
T* FindControlAs(const QWidget* dialog, int id) {
    return qobject_cast<T*>(FindControl(dialog, id));
}

}  // namespace sonoria
