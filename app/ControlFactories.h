// Makes the dialog-template builder create the program's own controls.
#pragma once

namespace sonoria {

// Idempotent; call once before building windows.
void RegisterControlFactories();

}  // namespace sonoria
