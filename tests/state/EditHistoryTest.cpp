// The edit history on its own: what a step keeps, how many steps are kept,
// and that only the thread that opened a step records into it.
#include "state/EditHistory.h"

#include <gtest/gtest.h>

#include <thread>

#include "state/DeviceState.h"
#include "state/ParamSender.h"

namespace sonoria {
namespace {

constexpr ParamAddress kAt{1, 24};

struct EditHistoryTest : ::testing::Test {
    void SetUp() override {
        ResetDeviceState();
        ClearEditHistory();
    }
    void TearDown() override { ClearEditHistory(); }
    static void Step(int value) {
        BeginEditStep();
        SendEncoded(kAt, Encoding::S7, value);
        EndEditStep();
    }
};

TEST_F(EditHistoryTest, KeepsTheNewestStepsAndUndoesThemInTurn) {
    for (int value = 1; value <= static_cast<int>(kEditHistoryLimit) + 5; ++value) Step(value % 100 + 1);
    EXPECT_EQ(EditStepCount(), kEditHistoryLimit);
    int undone = 0;
    while (UndoEdit()) ++undone;
    EXPECT_EQ(undone, static_cast<int>(kEditHistoryLimit));
    EXPECT_EQ(GetParam(kAt).first, 5 % 100 + 1);  // the oldest kept step's value before
    EXPECT_TRUE(RedoEdit());
    EXPECT_EQ(GetParam(kAt).first, 6 % 100 + 1);
}

TEST_F(EditHistoryTest, OnlyChangesOfTheOpeningThreadInsideAStepAreKept) {
    SendEncoded(kAt, Encoding::S7, 9);  // outside any step
    BeginEditStep();
    std::thread([] { SendEncoded({1, 25}, Encoding::S7, 7); }).join();  // a worker's write
    SendEncoded(kAt, Encoding::S7, 9);                                  // no change
    EndEditStep();
    EXPECT_FALSE(CanUndoEdit());

    int undone = 0, redone = 0;
    BeginEditStep();
    BeginEditStep();  // nested: one step
    RecordEditAction([&] { ++undone; }, [&] { ++redone; });
    SendEncoded(kAt, Encoding::S7, 3);
    EndEditStep();
    SendEncoded(kAt, Encoding::S7, 4);
    EndEditStep();
    EXPECT_EQ(EditStepCount(), 1u);
    ASSERT_TRUE(UndoEdit());
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(GetParam(kAt).first, 9);
    ASSERT_TRUE(RedoEdit());
    EXPECT_EQ(redone, 1);
    EXPECT_EQ(GetParam(kAt).first, 4);
    EXPECT_EQ(EditStepCount(), 1u);  // replaying records nothing new
}

}  // namespace
}  // namespace sonoria
