// Framing of commands into output reports.
#include <gtest/gtest.h>

#include "link/CommandSender.h"

namespace sonoria {
namespace {

Report Expected(std::initializer_list<std::uint8_t> head) {
    Report report{};
    std::copy(head.begin(), head.end(), report.begin());
    return report;
}

TEST(CommandFraming, ArgumentsFollowTheCodeAndTheRestIsZero) {
    EXPECT_EQ(BuildCommandReport(9, {1, 24, 0, 0, -1}), Expected({2, 9, 1, 24, 0, 0}));
    EXPECT_EQ(BuildCommandReport(12, {-1}), Expected({2, 12}));
    EXPECT_EQ(BuildCommandReport(12, {}), Expected({2, 12}));
}

TEST(CommandFraming, OnlyMinusOneEndsTheList) {
    EXPECT_EQ(BuildCommandReport(19, {255, 0, 256 + 7, -1, 5}), Expected({2, 19, 255, 0, 7}));
    // Low eight bits of the code, whatever its value.
    EXPECT_EQ(BuildCommandReport(0x1C1, {-1}), Expected({2, 0xC1}));
    EXPECT_EQ(BuildCommandReport(-2, {-2, -1}), Expected({2, 0xFE, 0xFE}));
}

TEST(CommandFraming, AtMostFiftyNineArgumentsAreTaken) {
    const Report report = BuildCommandReport(99, {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                                     19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
                                     37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54,
                                     55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70});
    EXPECT_EQ(report[1], 99);
    for (std::size_t i = 2; i < report.size(); ++i) EXPECT_EQ(report[i], i - 1) << i;
}

}  // namespace
}  // namespace sonoria
