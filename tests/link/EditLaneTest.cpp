// The user's edits on the lane's thread never wait for the device: what they
// write while an answer is owed waits, newest value per parameter, whole edit
// by whole edit, and goes out one write per answer. Checked on the wire of
// the virtual device, which can hold its answers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "link/CommandCodes.h"
#include "link/EditLane.h"
#include "link/LinkState.h"
#include "state/ParamSender.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using test::Set;

class EditLaneTest : public test::VirtualDeviceLinkTest {
protected:
    void SetUp() override {
        VirtualDeviceLinkTest::SetUp();
        InstallEditLane(std::this_thread::get_id(), [this] { ++wakes; });
        ASSERT_TRUE(test::Eventually([] { return !AnswerOutstanding(); }));
        device->ClearRecord();
    }
    void TearDown() override {
        RemoveEditLane();
        VirtualDeviceLinkTest::TearDown();
    }
    // Lets the device answer and sends what waits, one write per answer, as
    // the window's driver does.
    void AnswerEverything() {
        device->HoldReports(false);
        while (EditsPending()) {
            ASSERT_TRUE(test::Eventually([] { return !AnswerOutstanding(); }));
            PumpEdits();
        }
        ASSERT_TRUE(test::Eventually([] { return !AnswerOutstanding(); }));
    }
    static void Write(int block, int index, int value) { SendRawBytes(block, index, value, 0); }

    std::atomic<int> wakes{0};
};

TEST_F(EditLaneTest, TheNewestValueOfEachParameterWaitsAndTheyGoInTheOrderFirstKept) {
    device->HoldReports(true);
    Write(1, 24, 10);  // nothing owed: at once
    ASSERT_TRUE(device->WaitForReceived(1, test::kEventTimeout));
    Write(4, 2, 5);
    Write(1, 24, 11);
    Write(4, 2, 6);
    EXPECT_EQ(Received().size(), 1u);
    EXPECT_TRUE(EditsPending());
    EXPECT_GT(wakes.load(), 0);
    EXPECT_FALSE(PumpEdits());  // the answer is still owed
    AnswerEverything();
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 24, 10, 0), Set(4, 2, 6, 0), Set(1, 24, 11, 0)}));
}

TEST_F(EditLaneTest, AnEditGoesWholeAndANewerEditOfTheSameParametersReplacesItWhole) {
    const auto band = [](int value) {
        const EditGroup edit;
        Write(1, 14, value);
        Write(1, 16, value);
        Write(1, 15, value);
    };
    device->HoldReports(true);
    band(1);  // its gain at once, the rest after the answers
    band(2);
    band(3);  // replaces the second whole; the first has begun and stays
    AnswerEverything();
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 14, 1, 0), Set(1, 16, 1, 0), Set(1, 15, 1, 0),
                                               Set(1, 14, 3, 0), Set(1, 16, 3, 0), Set(1, 15, 3, 0)}));
}

TEST_F(EditLaneTest, AnyOtherWriteFromTheLaneThreadSendsTheKeptEditsFirst) {
    device->HoldReports(true);
    Write(1, 24, 10);
    Write(4, 2, 5);  // kept
    device->HoldReports(false);
    EXPECT_EQ(SendCommand(CMD_GET_METERS), static_cast<int>(kReportSize));
    EXPECT_FALSE(EditsPending());
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 24, 10, 0), Set(4, 2, 5, 0), test::Cmd(CMD_GET_METERS)}));
}

TEST_F(EditLaneTest, DroppedEditsNeverGoAndOtherThreadsWriteStraightThrough) {
    device->HoldReports(true);
    Write(1, 24, 10);
    Write(4, 2, 5);  // kept, then forgotten with its link
    DropEdits();
    EXPECT_FALSE(EditsPending());
    device->HoldReports(false);
    // A worker's write is never kept: it waits for the device itself.
    std::thread([] { Write(4, 2, 7); }).join();
    EXPECT_FALSE(EditsPending());
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 24, 10, 0), Set(4, 2, 7, 0)}));

    // Without a lane the window's thread writes straight through as well.
    RemoveEditLane();
    ASSERT_TRUE(test::Eventually([] { return !AnswerOutstanding(); }));
    device->ClearRecord();
    Write(1, 24, 12);
    Write(1, 24, 13);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 24, 12, 0), Set(1, 24, 13, 0)}));
}

}  // namespace
}  // namespace sonoria
