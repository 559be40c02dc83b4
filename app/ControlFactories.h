// Makes the dialog-template builder create the program's own controls, and
// lets the windows outside app/ re-text themselves from the language tables
// and show the program's file dialogs and message boxes.
#pragma once

namespace sonoria {

// Idempotent; call once before building windows.
void RegisterControlFactories();

}  // namespace sonoria
