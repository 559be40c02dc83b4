// The rules a power-on logo text must pass, and what reaches the device.
#include <gtest/gtest.h>

#include "link/CommandCodes.h"
#include "state/LogoText.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

LogoTextCheck Check(const char* utf8) { return CheckLogoText(DecodeUtf8(utf8)); }

TEST(LogoTextRules, LowerCaseLettersAreRaisedAndThePaddingIsSpaces) {
    EXPECT_EQ(Check("ab-1").bytes, "AB-1   ");
    // A leading blank is part of the text; only a text of nothing but blanks is empty.
    EXPECT_EQ(Check(" A").bytes, " A     ");
    EXPECT_EQ(Check("seven77").bytes, "SEVEN77");
}

TEST(LogoTextRules, RefusalsComeInOrderEmptyThenLengthThenCharacter) {
    EXPECT_EQ(Check("       ").problem, LogoTextProblem::Empty);
    EXPECT_EQ(Check("").problem, LogoTextProblem::Empty);
    EXPECT_EQ(Check("\t\u3000 ").problem, LogoTextProblem::Empty);  // ideographic space counts as white
    EXPECT_EQ(Check("ABCDEFGH").problem, LogoTextProblem::TooLong);
    EXPECT_EQ(Check("A_B").problem, LogoTextProblem::BadCharacter);
    // Too long is told before a bad character.
    EXPECT_EQ(Check("a_bcdefgh").problem, LogoTextProblem::TooLong);
}

TEST(LogoTextRules, OnlyAsciiLettersChangeCaseSoNoOtherLetterSlipsThrough) {
    // "ß" would grow into "SS" and "ı" (dotless i) into "I" under a full case mapping.
    EXPECT_EQ(Check("ß").problem, LogoTextProblem::BadCharacter);
    EXPECT_EQ(Check("ı").problem, LogoTextProblem::BadCharacter);
    EXPECT_EQ(Check("ﬀ").problem, LogoTextProblem::BadCharacter);
    EXPECT_EQ(Check("é").problem, LogoTextProblem::BadCharacter);
    // Seven characters stay seven: the length is counted after the conversion.
    EXPECT_EQ(Check("ßßßßßßß").problem, LogoTextProblem::BadCharacter);
    EXPECT_EQ(LogoUpper(U"aßz"), U"AßZ");
}

TEST(LogoTextRules, BrokenUtf8IsRefusedAsABadCharacter) {
    EXPECT_EQ(Check("A\xff").problem, LogoTextProblem::BadCharacter);
    EXPECT_EQ(DecodeUtf8("a\xe4\xb8\xad"), U"a中");
}

class LogoSendTest : public test::VirtualDeviceLinkTest {};

TEST_F(LogoSendTest, TheSevenBytesFollowTheCommandCode) {
    ASSERT_EQ(SendLogo(Check("ab-1").bytes), 61);
    ASSERT_TRUE(device->WaitForReceived(1, test::kEventTimeout));
    const auto sent = ReceivedWithCode(CMD_SET_LOGO);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], test::Cmd(CMD_SET_LOGO, {'A', 'B', '-', '1', 32, 32, 32}));
    EXPECT_EQ(device->Logo(), "AB-1   ");
}

}  // namespace
}  // namespace sonoria
