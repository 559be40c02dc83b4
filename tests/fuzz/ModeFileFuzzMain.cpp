// libFuzzer target for the mode data file reader.
#include "fuzz/ModeFileFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sonoria::fuzz::LoadModeFile(data, size);
    return 0;
}
