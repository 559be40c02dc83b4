// The process-wide state of the windows, on top of the link's and the state's.
#pragma once

#include "app/LanguageTable.h"
#include "app/MessageService.h"
#include "support/ProcessState.h"

namespace sonoria::test {

// A ProcessStateGuard that also restores the message, save and open
// handlers and the language table. The settings file cannot be read back: it
// goes back to the platform store, where the tests start (a private one, see
// UiTestMain).
class WindowStateGuard : public ProcessStateGuard {
public:
    WindowStateGuard();
    ~WindowStateGuard();

private:
    MessageHandler messages_;
    SaveFileHandler saveFile_;
    OpenFileHandler openFile_;
    LanguageTable table_;
};

}  // namespace sonoria::test
