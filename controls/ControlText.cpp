#include "controls/ControlText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace sonoria {

void SetControlText(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else {
        QString plain = text;
        plain.replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(plain);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(plain);
        } else {
            control->setWindowTitle(plain);
        }
    }
}

QString ControlText(const QWidget* control) {
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    return control->windowTitle();
}

}  // namespace sonoria
