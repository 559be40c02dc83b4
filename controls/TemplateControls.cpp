#include "controls/TemplateControls.h"

#include <QKeyEvent>
#include <QWidget>

#include "controls/DialogTemplate.h"

namespace sonoria {

void TakePlaceOf(QWidget* placeholder, QWidget* control) {
    const int id = ControlId(placeholder);
    // The placeholder gives up its name first, so that looking the id up finds the control.
    placeholder->setObjectName(QString());
    SetControlId(control, id);
    control->setGeometry(placeholder->geometry());
    control->stackUnder(placeholder);
    control->setVisible(placeholder->isVisibleTo(placeholder->parentWidget()));
    placeholder->hide();
    placeholder->deleteLater();
}

bool SwallowClosingKey(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape) return false;
    event->accept();
    return true;
}

}  // namespace sonoria
