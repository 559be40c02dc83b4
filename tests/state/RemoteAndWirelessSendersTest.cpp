// Remote-key learning commands and the wireless-microphone senders: the exact
// bytes on the wire, what the image keeps, and the room table.
#include <gtest/gtest.h>

#include "link/CommandCodes.h"
#include "link/ProtocolLimits.h"
#include "state/DeviceState.h"
#include "state/RemoteKeys.h"
#include "state/WirelessMics.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using test::Cmd;

class RemoteKeysTest : public test::VirtualDeviceLinkTest {};

TEST_F(RemoteKeysTest, LearnAndStopSendTheirCommandsAndKeysOutsideTheRangeSendNothing) {
    device->SetLearnDelay(std::chrono::seconds(10));
    EXPECT_FALSE(StartKeyLearning(0));
    EXPECT_FALSE(StartKeyLearning(16));
    EXPECT_TRUE(StartKeyLearning(7));
    EXPECT_TRUE(StopKeyLearning());
    EXPECT_EQ(Received(), (std::vector<Report>{Cmd(CMD_LEARN_KEY, {7}), Cmd(CMD_END_LEARN)}));
}

TEST(RemoteKeyNames, KeysParseStrictlyAndEachHasItsFunction) {
    EXPECT_EQ(ParseRemoteKey("1"), 1);
    EXPECT_EQ(ParseRemoteKey("15"), 15);
    for (const char* bad : {"0", "16", "", "+3", " 3", "3x", "-1"}) EXPECT_FALSE(ParseRemoteKey(bad)) << bad;
    EXPECT_EQ(RemoteKeyFunction(0), "remote code");
    EXPECT_EQ(RemoteKeyFunction(7), "music volume up");
    EXPECT_EQ(RemoteKeyFunction(15), "effect volume down");
    EXPECT_TRUE(RemoteKeyFunction(16).empty());
}

TEST(WirelessRooms, TheTableNamesAndFindsRooms) {
    const int b3 = *RoomFromName("b3");
    EXPECT_EQ(b3, 10);
    EXPECT_EQ(RoomName(b3), "B3");
    EXPECT_EQ(ChannelsOfRoom(b3).mic1, 6);
    EXPECT_EQ(ChannelsOfRoom(b3).mic2, 14);
    EXPECT_EQ(RoomName(*RoomFromName("A8")), "A8");
    for (const char* bad : {"C1", "A0", "A9", "A", "A10"}) EXPECT_FALSE(RoomFromName(bad)) << bad;
    // A channel is found as either microphone's; an unknown one gives A1.
    EXPECT_EQ(RoomOfChannel(14), b3);
    EXPECT_EQ(RoomOfChannel(62), *RoomFromName("B7"));
    EXPECT_EQ(RoomOfChannel(1), 0);
    EXPECT_EQ(ChannelFrequency(6), 2406);
}

class WirelessSendersTest : public test::VirtualDeviceLinkTest {
protected:
    WirelessSendersTest() : VirtualDeviceLinkTest("KR710QX") {}
};

TEST_F(WirelessSendersTest, EachSettingIsStoredAndSentWithCommand18) {
    SetWirelessVolume(0, 200);
    SetWirelessGate(1, 300);  // clamped
    SetWirelessPower(1, 1);
    EXPECT_EQ(Received(), (std::vector<Report>{Cmd(CMD_WMIC_SET, {0, 16, 65, 200}), Cmd(CMD_WMIC_SET, {1, 9, 30, 255}),
                                               Cmd(CMD_WMIC_SET, {1, 16, 66, 1})}));
    EXPECT_EQ(g_Device.wirelessMics[0].volume.load(), 200);
    EXPECT_EQ(g_Device.wirelessMics[1].gate.load(), 255);
    EXPECT_EQ(g_Device.wirelessMics[1].power.load(), 1);
    SetWirelessVolume(2, 10);  // no third microphone
    EXPECT_EQ(Received().size(), 3u);
}

TEST_F(WirelessSendersTest, PairingSetsBothChannelsSendsOneAndThenThePairingRequest) {
    SetWirelessRoom(1, *RoomFromName("B3"));
    EXPECT_EQ(g_Device.wirelessMics[0].channel.load(), 6);
    EXPECT_EQ(g_Device.wirelessMics[1].channel.load(), 14);
    EXPECT_TRUE(StartWirelessPairing(1));
    EXPECT_EQ(Received(), (std::vector<Report>{Cmd(CMD_WMIC_SET, {1, 16, 64, 14}),
                                               Cmd(CMD_WMIC_SET, {1, 0x14, 0x60, 0xF0})}));
    ASSERT_TRUE(window.WaitFor(WM_WMIC_STATUS));
    EXPECT_EQ(g_Device.wirelessMics[1].pairing.load(), kMicPaired | kMicActive);
    EXPECT_EQ(device->WirelessMic(1).channel, 14);
}

}  // namespace
}  // namespace sonoria
