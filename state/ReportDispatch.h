// What the program does with each report the device sends: store its content
// in the device image, say whether it answers the last command (which lets the
// next write go), and tell the main window where a window must react.
#pragma once

#include "link/HostMessages.h"
#include "link/Report.h"

namespace sonoria {

// Called by the read thread for every received report. Returns false for the
// reports the device sends on its own (a learned key, a microphone's status).
bool DispatchReport(const Report& report);

// Connects with the image as the receiver of every report: registers
// DispatchReport with the link, connects, and starts a found device from a
// fresh image. Returns what ConnectDevice returns.
int ConnectDeviceImage(HostMessageSink* mainWindow);

}  // namespace sonoria
