// The release history the About window shows: twelve entries, newest first,
// each a date line, a product-and-version line and numbered notes; entries
// are parted by a line of a blank and two tabs, lines end in CR LF.
#pragma once

namespace sonoria {

extern const char* const kReleaseHistory;
inline constexpr int kReleaseHistoryEntries = 12;
inline constexpr int kReleaseHistoryChars = 744;
inline constexpr const char* kReleaseSeparatorLine = " \t\t";

}  // namespace sonoria
