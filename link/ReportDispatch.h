// What the program does with each report the device sends: store its content
// in the device image, release the next write, and tell the main window where
// a window must react.
#pragma once

#include "link/Report.h"

namespace sonoria {

// Called by the read thread for every received report.
void DispatchReport(const Report& report);

}  // namespace sonoria
