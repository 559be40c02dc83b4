// The whole link against the virtual device: reports come back through the
// read thread into the image, and the device's failures reach the link.
#include <gtest/gtest.h>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using test::Eventually;

class VirtualLink : public ::testing::Test {
protected:
    void SetUp() override {
        SetHidBackend(device);
        ASSERT_EQ(ConnectDeviceImage(&window), 1);
    }
    // Sends a command and then one more, so the first one's answer is stored.
    void Ask(int code, std::initializer_list<int> arguments = {-1}) {
        SendCommand(code, arguments);
        SendCommand(CMD_GET_MODE);
    }

    test::MessageRecorder window;  // the link posts to it until the guard closes the link
    test::ProcessStateGuard state;
    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710QX");
};

TEST_F(VirtualLink, IdentityAndParametersArriveInTheImage) {
    EXPECT_EQ(DevicePath(), kVirtualDevicePath);
    device->SetParam(3, 7, 77, 0);
    device->SetCurrentMode(2);
    for (int code : {CMD_GET_NAME, CMD_GET_HWVERSION, CMD_GET_RECORD_LAYOUT}) SendCommand(code);
    SendCommand(CMD_GET_PARAM, {3, 7, -1});
    SendCommand(CMD_GET_PARAM, {0, 2, -1});
    Ask(CMD_GET_MACHINE);
    EXPECT_EQ(g_Device.machineName.Get(), "KR710QX");
    EXPECT_EQ(g_Device.recordLayout.load(), 1);
    EXPECT_EQ(GetParam(3, 7).first, 77);
    EXPECT_EQ(g_Device.extendedEcho.load(), 1);
    EXPECT_EQ(g_Device.machineDevice[PowerOnMicVolume].load(), device->MachineRecord()[PowerOnMicVolume]);
    EXPECT_TRUE(Eventually([] { return g_Device.currentMode.load() == 2; }));
}

TEST_F(VirtualLink, AParameterChangeIsTakenAndMarksTheImageModified) {
    Ask(CMD_SET_PARAM, {1, 24, 70, 0, -1});
    EXPECT_EQ(device->Param(1, 24).first, 70);
    EXPECT_EQ(g_Device.modified.load(), 1);
}

TEST_F(VirtualLink, LearningAKeyReachesTheWindow) {
    device->SetLearnDelay(50ms);
    device->SetLearnedCode(0x33);
    SendCommand(CMD_LEARN_KEY, {4, -1});
    ASSERT_TRUE(window.WaitFor(WM_KEY_LEARNED));
    EXPECT_EQ(window.Messages().front().wParam, 0x33u);
    EXPECT_EQ(g_Device.remote[4].load(), 0x33);

    device->SendWirelessStatus(0x0C, 1);
    ASSERT_TRUE(window.WaitFor(WM_WMIC_STATUS));
    EXPECT_EQ(g_Device.wirelessMics[0].pairing.load(), 8);
}

TEST_F(VirtualLink, UnplugBreaksTheLinkAndAFreshConnectionWorks) {
    bool removed = false;
    device->SetPlugListener([&](bool arrived, const std::string&) { removed = !arrived; });
    device->Unplug();
    EXPECT_TRUE(removed);
    ASSERT_TRUE(Eventually([] { return g_bReadThreadEnd.load() == 1; }));
    EXPECT_EQ(SendCommand(CMD_GET_MODE), 0);

    DisconnectDevice();
    EXPECT_EQ(ConnectDeviceImage(&window), 0);  // nothing to find while unplugged
    device->Plug();
    ASSERT_EQ(ConnectDeviceImage(&window), 1);
    Ask(CMD_GET_NAME);
    EXPECT_EQ(g_Device.machineName.Get(), "KR710QX");
}

TEST_F(VirtualLink, ABrokenReadEndsTheReadThread) {
    device->BreakLink();
    ASSERT_TRUE(Eventually([] { return g_bReadThreadEnd.load() == 1; }));
    EXPECT_EQ(g_bSyncIdle.load(), 0);
}

TEST_F(VirtualLink, LateAnswersAreStillStoredInOrder) {
    device->SetAnswerDelay(30ms);
    device->SetParam(2, 13, 20, 0);
    device->SetParam(2, 14, 21, 0);
    SendCommand(CMD_GET_PARAM, {2, 13, -1});
    SendCommand(CMD_GET_PARAM, {2, 14, -1});
    Ask(CMD_GET_NAME);
    EXPECT_EQ(GetParam(2, 13).first, 20);
    EXPECT_EQ(GetParam(2, 14).first, 21);
    EXPECT_EQ(g_Device.machineName.Get(), "KR710QX");
}

}  // namespace
}  // namespace sonoria
