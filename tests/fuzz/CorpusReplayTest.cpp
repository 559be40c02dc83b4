// Replays the fuzz corpora in the normal test run, so that every input that
// once found a fault keeps being checked under the sanitizers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/DispatchFuzzEntry.h"
#include "fuzz/ModeFileFuzzEntry.h"
#include "link/HostMessages.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

int Replay(const char* corpus, void (*fuzzEntry)(const std::uint8_t*, std::size_t)) {
    const std::filesystem::path folder = std::filesystem::path(SONORIA_FUZZ_CORPUS) / corpus;
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        fuzzEntry(bytes.data(), bytes.size());
        ++replayed;
    }
    ResetDeviceState();
    return replayed;
}

TEST(CorpusReplay, EveryReportInputIsHandledSafely) {
    ASSERT_EQ(g_hMainWnd.load(), nullptr);
    EXPECT_GT(Replay("dispatch", fuzz::DispatchReports), 10);
}

TEST(CorpusReplay, EveryModeFileInputIsReadSafely) { EXPECT_GE(Replay("modefile", fuzz::LoadModeFile), 10); }

}  // namespace
}  // namespace sonoria
