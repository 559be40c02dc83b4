#include "app/Localization.h"

#include "app/ControlText.h"
#include "app/DialogTemplate.h"
#include "state/Language.h"

namespace sonoria {
namespace {

LanguageTable& Current() {
    static LanguageTable table;
    return table;
}

}  // namespace

bool LoadLanguage(int language) {
    SetCurrentLanguage(language);
    Current() = LanguageTable::FromResource(LanguageTableId(language));
    return !Current().IsEmpty();
}

const LanguageTable& CurrentLanguageTable() { return Current(); }

void ApplyLanguageTexts(QWidget* window, int dialogId) { ApplyLanguageTexts(window, dialogId, Current()); }

void ApplyLanguageTexts(QWidget* window, int dialogId, const LanguageTable& table) {
    if (window == nullptr) return;
    if (const auto title = table.Lookup(TitleKey(dialogId))) window->setWindowTitle(*title);
    for (QObject* child : window->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control == nullptr || control->isWindow()) continue;
        const int id = ControlId(control);
        if (id <= 0) continue;
        if (const auto text = table.Lookup(ControlKey(dialogId, id))) SetControlText(control, *text);
    }
}

}  // namespace sonoria
