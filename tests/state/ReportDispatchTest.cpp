// What each received report does to the device image, whether it answers the
// last command, and what reaches the main window.
#include <gtest/gtest.h>

#include <chrono>

#include "link/HostMessages.h"
#include "link/LinkState.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using test::MakeInputReport;

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDeviceState();
        g_hMainWnd.store(&window);
    }
    // Dispatches and tells whether the report answers the last command.
    bool DispatchAnswers(const Report& report) { return DispatchReport(report); }
    test::MessageRecorder window;
    test::ProcessStateGuard state;
};

TEST_F(Dispatch, ModeMetersAndVolumes) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(7, {2})));
    EXPECT_EQ(g_Device.currentMode.load(), 2);

    SetParamFirst(1, 0, 99);
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(8, {10, 20, 30})));
    EXPECT_EQ(GetParam(1, 0), (ParamBytes{99, 10}));  // only the second byte is the meter
    EXPECT_EQ(GetParam(4, 0).second, 20);
    EXPECT_EQ(GetParam(4, 16).second, 30);

    SetParamSecond(1, 24, 255);
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(12, {80, 90})));
    EXPECT_EQ(GetParam(1, 24), (ParamBytes{80, 255}));
    EXPECT_EQ(GetParam(4, 2).first, 90);
    EXPECT_EQ(GetParam(4, 18).first, 90);
}

TEST_F(Dispatch, ParameterAcknowledgementMarksTheImageModified) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(9)));
    EXPECT_EQ(g_Device.modified.load(), 1);
}

TEST_F(Dispatch, ParameterReportsStoreInsideTheImageOnly) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(10, {3, 7, 12, 34})));
    EXPECT_EQ(GetParam(3, 7), (ParamBytes{12, 34}));
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(11, {2, 27, 5, 6})));
    EXPECT_EQ(GetParam(2, 27), (ParamBytes{5, 6}));
    // Outside the fields: nothing stored, the answer still counts.
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(10, {9, 0, 1, 1})));
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(10, {3, 12, 1, 1})));
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(10, {255, 255, 1, 1})));
    EXPECT_EQ(GetParam(4, 0), (ParamBytes{}));  // the slot after block 3 in memory order
}

TEST_F(Dispatch, VersionTextAndFirmwareFlag) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(16, {'V', '1'})));
    EXPECT_EQ(g_Device.versionText.Get(), "V1");
    EXPECT_EQ(g_Device.firmwareV1.load(), 1);
    DispatchReport(MakeInputReport(16, {'v', '2'}));
    EXPECT_EQ(g_Device.firmwareV1.load(), 0);
    DispatchReport(MakeInputReport(16, {'v', 0}));
    EXPECT_EQ(g_Device.versionText.Get(), "v");
    EXPECT_EQ(g_Device.firmwareV1.load(), 0);
}

TEST_F(Dispatch, RecordsAndTheirIndexLimits) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(17, {99, 3, 4})));
    EXPECT_EQ(g_Device.autoSub[0].load(), 3);
    EXPECT_EQ(g_Device.autoSub[1].load(), 4);

    Report light = MakeInputReport(82, {3});
    for (int i = 0; i < 17; ++i) light[3 + i] = static_cast<std::uint8_t>(100 + i);
    EXPECT_TRUE(DispatchAnswers(light));
    EXPECT_EQ(g_Device.lightRecords[3][0].load(), 100);
    EXPECT_EQ(g_Device.lightRecords[3][16].load(), 116);
    light[2] = 4;
    light[3] = 7;
    EXPECT_TRUE(DispatchAnswers(light));
    EXPECT_EQ(g_Device.lightRecords[3][0].load(), 100);

    EXPECT_TRUE(DispatchAnswers(MakeInputReport(84, {2, 9})));
    EXPECT_EQ(g_Device.lightTable[2].load(), 9);
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(84, {3, 8})));

    Report remote = MakeInputReport(98);
    for (int i = 0; i < 16; ++i) remote[2 + i] = static_cast<std::uint8_t>(i * 3);
    EXPECT_TRUE(DispatchAnswers(remote));
    EXPECT_EQ(g_Device.remote[15].load(), 45);

    EXPECT_TRUE(DispatchAnswers(MakeInputReport(127, {5})));
    EXPECT_EQ(g_Device.subVersion.load(), 5);
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(3, {0, 0, 0, 0x5A, 0xA5})));
    EXPECT_EQ(g_Device.transferHeader[0].load(), 0x5A);
    EXPECT_EQ(g_Device.transferHeader[1].load(), 0xA5);
}

TEST_F(Dispatch, MachineRecordFollowsTheLayoutFlag) {
    Report record = MakeInputReport(146);
    for (int i = 0; i < 14; ++i) record[2 + i] = static_cast<std::uint8_t>(i + 1);
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(149, {0})));
    for (auto& byte : g_Device.machineDevice) byte.store(77);
    DispatchReport(record);
    EXPECT_EQ(g_Device.machineDevice[10].load(), 11);
    EXPECT_EQ(g_Device.machineDevice[11].load(), 77);  // short layout: 11..13 kept
    EXPECT_EQ(g_Device.machineEdit[10].load(), 11);

    DispatchReport(MakeInputReport(149, {1}));
    DispatchReport(record);
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) {
        EXPECT_EQ(g_Device.machineDevice[i].load(), i + 1);
        EXPECT_EQ(g_Device.machineEdit[i].load(), i + 1);
    }
}

TEST_F(Dispatch, IdentityTextsStopAtZeroOrWhenTheirFieldIsFull) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(128, {'K', 'R', '7', '1', '0', 'Q', 0, 'X'})));
    EXPECT_EQ(g_Device.machineName.Get(), "KR710Q");
    Report full = MakeInputReport(128);
    std::fill(full.begin() + 2, full.end(), 'A');
    DispatchReport(full);
    EXPECT_EQ(g_Device.machineName.Get(), std::string(29, 'A'));
    full[1] = 129;
    EXPECT_TRUE(DispatchAnswers(full));
    EXPECT_EQ(g_Device.hardwareVersion.Get(), std::string(10, 'A'));
    DispatchReport(MakeInputReport(129, {'2', '0', '1', '9'}));
    EXPECT_EQ(g_Device.hardwareVersion.Get(), "2019");
}

TEST_F(Dispatch, WirelessMicrophoneItems) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(19, {0, 16, 64, 80})));
    EXPECT_EQ(g_Device.wirelessMics[0].channel.load(), 62);
    DispatchReport(MakeInputReport(19, {1, 16, 65, 200}));
    DispatchReport(MakeInputReport(19, {1, 9, 30, 11}));
    DispatchReport(MakeInputReport(19, {1, 16, 66, 1}));
    EXPECT_EQ(g_Device.wirelessMics[1].volume.load(), 200);
    EXPECT_EQ(g_Device.wirelessMics[1].gate.load(), 11);
    EXPECT_EQ(g_Device.wirelessMics[1].power.load(), 1);
    // Pairing limits the microphone itself; both bits 8 and 4 read as 8.
    DispatchReport(MakeInputReport(19, {9, 16, 69, 0x0D}));
    EXPECT_EQ(g_Device.wirelessMics[1].pairing.load(), 8);
    DispatchReport(MakeInputReport(19, {0, 16, 69, 0x05}));
    EXPECT_EQ(g_Device.wirelessMics[0].pairing.load(), 5);
    // Other items for a microphone beyond the second are dropped.
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(19, {2, 16, 65, 1})));
    EXPECT_EQ(g_Device.wirelessMics[1].volume.load(), 200);
}

TEST_F(Dispatch, UnsolicitedReportsNotifyTheWindowWithoutAnswering) {
    EXPECT_FALSE(DispatchAnswers(MakeInputReport(96, {0x12, 15, 0x40})));
    EXPECT_EQ(g_Device.remote[0].load(), 0x12);
    EXPECT_EQ(g_Device.remote[15].load(), 0x40);
    EXPECT_FALSE(DispatchAnswers(MakeInputReport(96, {0x13, 16, 0x41})));
    EXPECT_EQ(g_Device.remote[0].load(), 0x13);  // only the out-of-range key is skipped

    EXPECT_FALSE(DispatchAnswers(MakeInputReport(161, {0x0C, 0x03})));
    EXPECT_EQ(g_Device.wirelessMics[0].pairing.load(), 8);
    EXPECT_EQ(g_Device.wirelessMics[1].pairing.load(), 3);

    const auto messages = window.Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[0].sent);
    EXPECT_EQ(messages[0].message, WM_KEY_LEARNED);
    EXPECT_EQ(messages[0].wParam, 0x40u);
    EXPECT_EQ(messages[1].wParam, 0x41u);
    EXPECT_EQ(messages[2].message, WM_WMIC_STATUS);
    EXPECT_EQ(messages[2].wParam, 0u);
}

TEST_F(Dispatch, UnknownReportsOnlyAnswer) {
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(250, {1, 2, 3})));
    EXPECT_TRUE(DispatchAnswers(MakeInputReport(1)));
    EXPECT_TRUE(window.Messages().empty());
    EXPECT_EQ(g_Device.modified.load(), 0);
}

}  // namespace
}  // namespace sonoria
