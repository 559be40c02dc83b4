#include "controls/DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "controls/ControlText.h"
#include "controls/ImageLoader.h"

namespace sonoria {
namespace {

constexpr const char* kControlIdProperty = "controlId";
constexpr const char* kDialogIdProperty = "dialogId";

// Rounds a * b / c to the nearest integer, as dialog-unit conversion does.
int MulDivRound(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>(product >= 0 ? (product + c / 2) / c : (product - c / 2) / c);
}

QHash<int, ControlFactory>& Factories() {
    static QHash<int, ControlFactory> factories;
    return factories;
}

QWidget* CreateStandard(ControlKind kind, const ControlSpec& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text != nullptr ? control.text : "");
    switch (kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            if (control.flags & kCentered) label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            if (control.flags & kRightAligned) label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            return label;
        }
        case ControlKind::Picture: {
            auto* picture = new QLabel(parent);
            if (const int imageId = text.toInt(); imageId > 0) picture->setPixmap(LoadPngPixmap(imageId));
            return picture;
        }
        case ControlKind::PushButton:
        case ControlKind::ImageButton: {
            auto* button = new QPushButton(parent);
            button->setDefault(control.flags & kDefault);
            return button;
        }
        case ControlKind::CheckBox: return new QCheckBox(parent);
        case ControlKind::RadioButton: return new QRadioButton(parent);
        case ControlKind::ComboBox: return new QComboBox(parent);
        case ControlKind::Edit: return new QLineEdit(parent);
        case ControlKind::GroupBox: return new QGroupBox(parent);
        case ControlKind::ProgressBar: return new QProgressBar(parent);
        case ControlKind::Slider:
        case ControlKind::PeakMeter:
        case ControlKind::PageHost:
        case ControlKind::Frame: {
            auto* frame = new QFrame(parent);
            return frame;
        }
    }
    return new QWidget(parent);
}

}  // namespace

QRect DialogUnitsToPixels(const DialogFont& font, int x, int y, int width, int height) {
    return {MulDivRound(x, font.baseX, 4), MulDivRound(y, font.baseY, 8), MulDivRound(width, font.baseX, 4),
            MulDivRound(height, font.baseY, 8)};
}

void SetControlFactory(ControlKind kind, ControlFactory factory) {
    Factories().insert(static_cast<int>(kind), std::move(factory));
}

int ControlId(const QWidget* widget) { return widget ? widget->property(kControlIdProperty).toInt() : 0; }

void SetControlId(QWidget* widget, int id) {
    // Controls that report their id in signals declare it as a property and get it here.
    widget->setProperty(kControlIdProperty, id);
    if (id > 0) widget->setObjectName(QStringLiteral("IDC_%1").arg(id));
}

int DialogId(const QWidget* dialog) { return dialog ? dialog->property(kDialogIdProperty).toInt() : 0; }

void BuildDialog(QWidget* dialog, const DialogSpec& table) {
    dialog->setProperty(kDialogIdProperty, table.id);
    dialog->setWindowTitle(QString::fromUtf8(table.title != nullptr ? table.title : ""));
    dialog->setFont(TemplateFont(table.font.face, PointsToPixels(table.font.pointSize)));
    const QRect size = DialogUnitsToPixels(table.font, 0, 0, table.width, table.height);
    dialog->resize(size.size());
    for (const ControlSpec& control : table.controls) {
        const auto factory = Factories().value(static_cast<int>(control.kind));
        QWidget* widget = factory ? factory(dialog) : CreateStandard(control.kind, control, dialog);
        SetControlId(widget, control.id);
        widget->setGeometry(DialogUnitsToPixels(table.font, control.x, control.y, control.width, control.height));
        if (control.kind != ControlKind::Picture && control.text != nullptr && *control.text != '\0') {
            SetControlText(widget, QString::fromUtf8(control.text));
        }
        if (control.flags & kDisabled) widget->setEnabled(false);
        widget->setVisible(!(control.flags & kHidden));
    }
}

QWidget* FindControl(const QWidget* dialog, int id) {
    if (dialog == nullptr || id <= 0) return nullptr;
    return dialog->findChild<QWidget*>(QStringLiteral("IDC_%1").arg(id));
}

}  // namespace sonoria
