// Starting the virtual device from a mode data file, so that a saved setting
// can be tried without the hardware.
#pragma once

#include <string>

namespace sonoria {

class VirtualDevice;

// Puts the file's parameters in the device's working memory and its current
// stored mode, and the records the file carries (machine settings included)
// in its records. A file routed to the rear gives the sub and centre outputs
// their rear values. Returns false with the reason in `error` when the file
// is refused as a load would refuse it (ReadModeFileBytes); the device is
// unchanged then.
bool LoadVirtualDeviceState(VirtualDevice& device, const std::string& path, std::string* error);

}  // namespace sonoria
