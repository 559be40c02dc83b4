// The EQ reset sequences and the section re-reads, command by command.
#include <gtest/gtest.h>

#include "state/DeviceState.h"
#include "state/EqResets.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using test::Get;
using test::Set;

class EqResetsTest : public test::VirtualDeviceLinkTest {};

TEST_F(EqResetsTest, MicrophoneEq) {
    ResetMicEq();
    EXPECT_EQ(Received(),
              (std::vector<Report>{
                  Set(1, 9, 64, 0), Set(1, 10, 0, 0), Set(1, 11, 64, 0), Set(1, 12, 127, 0),
                  Set(1, 14, 64, 0), Set(1, 15, 64, 0), Set(1, 17, 64, 0), Set(1, 18, 64, 0),
                  Set(2, 1, 64, 0), Set(2, 2, 64, 0), Set(2, 4, 64, 0), Set(2, 5, 64, 0),
                  Set(1, 16, 0, 102), Set(1, 19, 0, 187), Set(2, 3, 1, 494 - 256), Set(2, 6, 4, 1072 - 1024),
                  Set(1, 20, 127, 255), Set(1, 21, 0, 0)}));
    EXPECT_EQ(GetParam(1, 12), (ParamBytes{127, 0}));
    EXPECT_EQ(GetParam(2, 6), (ParamBytes{4, 48}));
}

TEST_F(EqResetsTest, MusicEqWritesBothChannels) {
    ResetMusicEq();
    EXPECT_EQ(Received(),
              (std::vector<Report>{
                  Set(4, 9, 64, 0), Set(4, 25, 64, 0), Set(4, 10, 64, 0), Set(4, 26, 64, 0),
                  Set(4, 12, 64, 0), Set(4, 28, 64, 0), Set(4, 13, 64, 0), Set(4, 29, 64, 0),
                  Set(4, 11, 1, 425 - 256), Set(4, 27, 1, 425 - 256), Set(4, 14, 6, 1593 - 1536),
                  Set(4, 30, 6, 1593 - 1536),
                  Set(4, 4, 64, 0), Set(4, 20, 64, 0), Set(4, 5, 0, 0), Set(4, 21, 0, 0), Set(4, 6, 64, 0),
                  Set(4, 22, 64, 0), Set(4, 7, 127, 0), Set(4, 23, 127, 0), Set(4, 15, 0, 0), Set(4, 31, 0, 0)}));
}

TEST_F(EqResetsTest, MainOutputEqsWriteBothSides) {
    ResetMainMicEq();
    const auto mic = Received();
    ASSERT_EQ(mic.size(), 12u);
    EXPECT_EQ(mic[0], Set(5, 5, 64, 0));
    EXPECT_EQ(mic[1], Set(6, 5, 64, 0));
    EXPECT_EQ(mic[2], Set(5, 6, 64, 0));
    EXPECT_EQ(mic[8], Set(5, 7, 1, 169));
    EXPECT_EQ(mic[11], Set(6, 10, 6, 57));
    device->ClearRecord();
    ResetMainMusicEq();
    const auto music = Received();
    ASSERT_EQ(music.size(), 12u);
    EXPECT_EQ(music[0], Set(5, 12, 64, 0));
    EXPECT_EQ(music[11], Set(6, 17, 6, 57));
}

TEST_F(EqResetsTest, SubAndCenterSetsHaveTheirOwnFrequencies) {
    ResetSubEqA();
    ResetSubEqB();
    ResetCenterEqA();
    ResetCenterEqB();
    const auto sent = Received();
    ASSERT_EQ(sent.size(), 24u);
    EXPECT_EQ(std::vector<Report>(sent.begin(), sent.begin() + 6),
              (std::vector<Report>{Set(7, 1, 64, 0), Set(7, 2, 64, 0), Set(7, 4, 64, 0), Set(7, 5, 64, 0),
                                   Set(7, 3, 0, 84), Set(7, 6, 0, 252)}));
    EXPECT_EQ(sent[10], Set(7, 10, 0, 84));
    EXPECT_EQ(sent[11], Set(7, 13, 0, 252));
    EXPECT_EQ(sent[16], Set(8, 3, 1, 164));
    EXPECT_EQ(sent[23], Set(8, 13, 6, 143));
}

TEST_F(EqResetsTest, FiltersDependOnRouting) {
    ResetSubFilters();
    ResetCenterFilters();
    EXPECT_EQ(Received(), (std::vector<Report>{Set(7, 20, 2, 21), Set(7, 21, 0, 88), Set(8, 20, 0, 0),
                                               Set(8, 21, 0, 0)}));
    EXPECT_EQ(GetParam(7, 20, ParamCopy::Normal), (ParamBytes{2, 21}));
    device->ClearRecord();
    SetParam(7, 20, {3, 3}, ParamCopy::Rear);
    g_Device.rearRouting.store(1);
    ResetSubFilters();
    EXPECT_EQ(Received(), (std::vector<Report>{Set(7, 20, 0, 0), Set(7, 21, 0, 0)}));
    EXPECT_EQ(GetParam(7, 20, ParamCopy::Rear), (ParamBytes{0, 0}));
    EXPECT_EQ(GetParam(7, 20, ParamCopy::Normal), (ParamBytes{2, 21}));
}

TEST_F(EqResetsTest, ReverbEqGoesFlatWithTheShelfAtItsTop) {
    SetParam(3, 6, {1, 2});
    ResetReverbEq();
    EXPECT_EQ(Received(), (std::vector<Report>{Set(3, 6, 0, 0), Set(3, 4, 64, 0), Set(3, 5, 127, 255)}));
    EXPECT_EQ(GetParam(3, 6), (ParamBytes{0, 0}));
    EXPECT_EQ(GetParam(3, 5), (ParamBytes{127, 255}));
}

TEST_F(EqResetsTest, EchoEqResetsTheLowShelfOnlyWhereTheDeviceHasIt) {
    ResetEchoEq();
    const std::vector<Report> twoPoint = {Set(2, 8, 0, 0), Set(2, 9, 64, 0), Set(2, 10, 127, 255)};
    EXPECT_EQ(Received(), twoPoint);
    device->ClearRecord();
    g_Device.extendedEcho.store(1);
    ResetEchoEq();
    std::vector<Report> threePoint = twoPoint;
    threePoint.push_back(Set(2, 26, 64, 0));
    threePoint.push_back(Set(2, 27, 5, 31));  // 40 Hz
    EXPECT_EQ(Received(), threePoint);
    EXPECT_EQ(GetParam(2, 27), (ParamBytes{5, 31}));
}

TEST_F(EqResetsTest, ReverbAndEchoRereads) {
    RereadReverb();
    EXPECT_EQ(Received(), (std::vector<Report>{Get(3, 1), Get(3, 4), Get(3, 5), Get(3, 6), Get(3, 7), Get(3, 10),
                                               Get(3, 11), Get(2, 23)}));
    device->ClearRecord();
    SetParamSecond(2, 7, 1);
    RereadEcho();
    std::vector<Report> echo = {Get(3, 3)};
    for (int i = 8; i <= 15; ++i) echo.push_back(Get(2, i));
    echo.push_back(Get(2, 26));
    echo.push_back(Get(2, 27));
    EXPECT_EQ(Received(), echo);
    device->ClearRecord();
    SetParamSecond(2, 7, 4);
    RereadEcho();
    EXPECT_EQ(Received().size(), 1u + 15u + 2u);
}

}  // namespace
}  // namespace sonoria
