#include "app/Localization.h"

#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "app/Settings.h"
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

void SelectLanguage(int language, QWidget* mainWindow, int mainDialogId, const std::function<void()>& refresh) {
    if (LoadLanguage(language)) ApplyLanguageTexts(mainWindow, mainDialogId);
    if (refresh) refresh();
    if (mainWindow != nullptr) mainWindow->update();
}

int ToggleLanguage(int language, QWidget* mainWindow, int mainDialogId, const std::function<void()>& refresh) {
    const int next = language != 0 ? 0 : 1;
    WriteSettingDword(QString::fromLatin1(kLanguageSetting), static_cast<std::uint32_t>(next));
    SelectLanguage(next, mainWindow, mainDialogId, refresh);
    return next;
}

}  // namespace sonoria
