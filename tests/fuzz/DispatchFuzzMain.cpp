// libFuzzer target for the report dispatcher.
#include "fuzz/DispatchFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sonoria::fuzz::DispatchReports(data, size);
    return 0;
}
