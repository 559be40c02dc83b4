// The link's debug log: the exact log lines of the transport and protocol go
// through one function. Nothing is written by default; SONORIA_DEBUG=1 sends
// the lines to standard error, and tests install a sink to capture them.
#pragma once

#include <functional>
#include <string_view>

namespace sonoria {

using DebugLogSink = std::function<void(std::string_view line)>;

void DebugLog(std::string_view line);

// Formats into a bounded buffer of `capacity` characters (the rest is cut off)
// and logs the result.
void DebugLogFormat(std::size_t capacity, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Replaces the sink; an empty sink restores the default. Returns the previous one.
DebugLogSink SetDebugLogSink(DebugLogSink sink);

}  // namespace sonoria
