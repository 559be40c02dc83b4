// sonoria-cli logo: the window's checks before the device is touched, then the command.
#include "cli/CliFixture.h"

namespace sonoria::cli {
namespace {

TEST_F(CliTest, LogoSendsTheRaisedTextPaddedWithSpaces) {
    const CliRun run = Cli({"--virtual", "--trace", "logo", "ab-1"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "logo set to \"AB-1\"\n");
    EXPECT_NE(run.err.find("> 02 c1 41 42 2d 31 20 20 20\n"), std::string::npos) << run.err;
}

TEST_F(CliTest, LogoRefusalsSendNothingAndExitWithTwo) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{"--virtual", "--trace", "logo", "       "}, "no character but white space"},
        {{"--virtual", "--trace", "logo", "abcdefgh"}, "longer than 7 characters"},
        {{"--virtual", "--trace", "logo", "A_B"}, "only letters A-Z"},
        {{"--virtual", "--trace", "logo", "stra\xc3\x9f" "e"}, "only letters A-Z"},
        {{"--virtual", "--trace", "--lang=zh", "logo", "A_B"}, "内容中有非法的字符"},
        {{"--virtual", "--trace", "logo"}, "logo takes one text"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, kExitUsage) << c.args.back();
        EXPECT_TRUE(run.ErrHas(c.error)) << run.err;
        EXPECT_TRUE(run.err.find("> ") == std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace sonoria::cli
