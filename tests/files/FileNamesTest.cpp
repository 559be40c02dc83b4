// Extension and target-mode rules of file names.
#include <gtest/gtest.h>

#include "files/FileNames.h"

namespace sonoria {
namespace {

TEST(FileNames, TheExtensionOfTheNameIsReplacedOrAdded) {
    EXPECT_EQ(WithExtension("party", "k71x"), "party.k71x");
    EXPECT_EQ(WithExtension("party.txt", "k71x"), "party.k71x");
    EXPECT_EQ(WithExtension("party.k71", "k71x"), "party.k71x");
    EXPECT_EQ(WithExtension("/home/a.b/party", "k71x"), "/home/a.b/party.k71x");
    EXPECT_EQ(WithExtension("/home/a.b/live.set.txt", "remo"), "/home/a.b/live.set.remo");
    EXPECT_EQ(WithExtension("C:\\x.y\\codes", "remo"), "C:\\x.y\\codes.remo");
    EXPECT_EQ(WithExtension("codes.txt", "remo"), "codes.remo");
}

TEST(FileNames, TargetModeComesFromTheStartOfTheName) {
    struct Case {
        const char* path;
        int mode;
    };
    const Case cases[] = {
        {"M2 vocal.k71x", 1},         {"vocal m2.k71x", -1},         {"/a/m1.k71x", 0},
        {"/m4/x.k71x", -1},           {"默认3 歌厅.k71x", 2},        {"Melorin4-live.k71x", 3},
        {"melorin1.k71x", 0},         {"m5.k71x", -1},               {"m2", -1},
        {"m3.k71x.bak", 2},           {"dir/M1.K71X", -1},           {"", -1},
        {"m12.k71x", 0},              {"melorin5.k71x", -1},         {"C:\\modes\\m2.k71x", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(TargetModeForFileName(c.path), c.mode) << c.path;
    // A name alone (the Function window takes it from the platform's path rules):
    // a backslash is then part of the name.
    EXPECT_EQ(TargetModeForName("m4 live.k71x"), 3);
    EXPECT_EQ(TargetModeForName("x\\m1.k71x"), -1);
}

TEST(FileNames, WriteFailureText) {
    EXPECT_EQ(WriteFailureText(13, "/x/a.k71x"),
              "Errcode=13,Can't write to file:\n/x/a.k71x\nProbaby it is write protected.");
}

}  // namespace
}  // namespace sonoria
