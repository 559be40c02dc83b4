// One HID report as it travels in either direction, and its fixed size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sonoria {

inline constexpr std::size_t kReportSize = 61;
// Byte 0 of every report the host writes.
inline constexpr std::uint8_t kOutputReportId = 2;

using Report = std::array<std::uint8_t, kReportSize>;

}  // namespace sonoria
