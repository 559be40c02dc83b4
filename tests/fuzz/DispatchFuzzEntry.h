// Feeds arbitrary bytes to the report dispatcher, 61 bytes per report.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sonoria::fuzz {

void DispatchReports(const std::uint8_t* data, std::size_t size);

}  // namespace sonoria::fuzz
