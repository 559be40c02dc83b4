#include "ui/WindowState.h"

#include "app/Localization.h"
#include "app/Settings.h"

namespace sonoria::test {

WindowStateGuard::WindowStateGuard()
    : messages_(ReadBack(SetMessageHandler)),
      saveFile_(ReadBack(SetSaveFileHandler)),
      openFile_(ReadBack(SetOpenFileHandler)),
      table_(CurrentLanguageTable()) {}

WindowStateGuard::~WindowStateGuard() {
    SetMessageHandler(std::move(messages_));
    SetSaveFileHandler(std::move(saveFile_));
    SetOpenFileHandler(std::move(openFile_));
    // LoadLanguage can only load one of the embedded tables, never the empty
    // one a process starts with; the table is a plain static, so the copy
    // goes back as it was.
    const_cast<LanguageTable&>(CurrentLanguageTable()) = std::move(table_);
    SetSettingsFileForTesting({});
}

}  // namespace sonoria::test
