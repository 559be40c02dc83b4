// The stored-mode commands: clamping, the bytes sent and the read-all start.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/CommandSender.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/ModeCommands.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

class ModeCommands : public test::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ConnectFakeDevice();
        backend->wire->echoAnswers = true;
    }
    std::vector<Report> Sent() { return backend->Written(); }
};

TEST_F(ModeCommands, LoadClampsTheModeAndStartsAReadAll) {
    test::LogCapture log;
    LoadMode(7);
    EXPECT_EQ(Sent(), std::vector<Report>{BuildCommandReport(5, {3, -1})});
    EXPECT_EQ(g_Device.currentMode.load(), 3);
    EXPECT_TRUE(SyncWorkersRunning());
    EXPECT_EQ(g_bSyncIdle.load(), 0);
    const auto lines = log.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Start thread:SynchronizeData\n"), 1);
}

TEST_F(ModeCommands, RecallDefaultSendsCommandSixThenReadsAll) {
    RecallDefaultMode(-5);
    EXPECT_EQ(Sent(), std::vector<Report>{BuildCommandReport(6, {0, -1})});
    EXPECT_EQ(g_Device.currentMode.load(), 0);
    EXPECT_TRUE(SyncWorkersRunning());
}

TEST_F(ModeCommands, SaveClearsTheModifiedFlagOnlyWhenTheCommandWentOut) {
    g_Device.modified.store(1);
    SaveMode(-2);
    EXPECT_EQ(Sent(), std::vector<Report>{BuildCommandReport(4, {0, -1})});
    EXPECT_EQ(g_Device.modified.load(), 0);

    g_Device.modified.store(1);
    backend->wire->writeResult = 0;
    SaveMode(1);
    EXPECT_EQ(g_Device.modified.load(), 1);
    EXPECT_FALSE(SyncWorkersRunning());
}

TEST_F(ModeCommands, SelectAndSaveSelectsThenStoresTheSameMode) {
    SelectAndSaveMode(2);
    EXPECT_EQ(Sent(), (std::vector<Report>{BuildCommandReport(3, {2, -1}), BuildCommandReport(4, {2, -1})}));
    EXPECT_EQ(g_Device.currentMode.load(), 2);
}

}  // namespace
}  // namespace sonoria
