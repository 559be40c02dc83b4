#include "fuzz/DispatchFuzzEntry.h"

#include <algorithm>

#include "state/ReportDispatch.h"
#include "state/DeviceState.h"

namespace sonoria::fuzz {

void DispatchReports(const std::uint8_t* data, std::size_t size) {
    for (std::size_t offset = 0; offset < size; offset += kReportSize) {
        Report report{};
        std::copy_n(data + offset, std::min(kReportSize, size - offset), report.begin());
        DispatchReport(report);
        // Whatever arrived, the identity texts stay inside their fields.
        if (g_Device.machineName.Get().size() >= kMachineNameChars ||
            g_Device.hardwareVersion.Get().size() >= kHardwareVersionChars ||
            g_Device.versionText.Get().size() >= kVersionTextChars) {
            __builtin_trap();
        }
    }
}

}  // namespace sonoria::fuzz
