// Starting the synchronisation workers that move the whole device state.
#pragma once

#include <functional>

namespace sonoria {

// Logs the start and runs the read-all worker installed with
// SetReadAllWorker (the read-all procedure itself lives with the
// synchronisation code).
void StartSynchronizeData();

// Installs the function that starts the read-all worker; returns the previous one.
std::function<void()> SetReadAllWorker(std::function<void()> starter);

}  // namespace sonoria
