// The wire trace both programs print with --trace: one line per report,
// "> " for a report written to the device, "< " for one received.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "link/Transport.h"

namespace sonoria {

// The trace line of one report: direction, then bytes 0.. the last non-zero
// one (at least bytes 0 and 1) as lower-case hexadecimal.
std::string TraceLine(bool written, const std::uint8_t* report, std::size_t size);

// A report trace (SetReportTrace) that hands each line, without its line
// end, to `writeLine`. It is called on the writing and on the reading thread.
ReportTrace WireTrace(std::function<void(const std::string& line)> writeLine);

}  // namespace sonoria
