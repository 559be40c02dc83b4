// Replays the dispatcher's fuzz corpus in the normal test run, so that every
// input that once found a fault keeps being checked under the sanitizers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/DispatchFuzzEntry.h"
#include "link/HostMessages.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

TEST(DispatchCorpusReplay, EveryCorpusInputIsHandledSafely) {
    ASSERT_EQ(g_hMainWnd.load(), nullptr);
    const std::filesystem::path corpus = SONORIA_FUZZ_CORPUS;
    ASSERT_TRUE(std::filesystem::is_directory(corpus));
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        fuzz::DispatchReports(bytes.data(), bytes.size());
        ++replayed;
    }
    EXPECT_GT(replayed, 10);
    ResetDeviceState();
}

}  // namespace
}  // namespace sonoria
