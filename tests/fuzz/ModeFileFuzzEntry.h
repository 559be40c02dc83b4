// Feeds arbitrary bytes to the mode data file reader.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sonoria::fuzz {

void LoadModeFile(const std::uint8_t* data, std::size_t size);

}  // namespace sonoria::fuzz
