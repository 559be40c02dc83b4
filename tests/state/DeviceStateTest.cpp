// Connection defaults, the active copy of the sub and centre blocks, and the
// rule that stores an incoming parameter report.
#include <gtest/gtest.h>

#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "support/ProcessState.h"

namespace sonoria {
namespace {

class DeviceImage : public ::testing::Test {
protected:
    void SetUp() override { ResetDeviceState(); }
    test::ProcessStateGuard state;
};

TEST_F(DeviceImage, ConnectionDefaults) {
    g_Device.machineName.Set("KR710QX");
    g_Device.versionText.Set("v1");
    for (auto* flag : {&g_Device.currentMode, &g_Device.modified, &g_Device.recordLayout, &g_Device.extendedEcho,
                       &g_Device.rearRouting, &g_Device.firmwareV1, &g_Device.subVersion}) {
        flag->store(3);
    }
    g_Device.autoSub[0].store(5);
    g_Device.remote[7].store(5);
    g_Device.machineDevice[3].store(5);
    g_Device.machineEdit[13].store(5);
    SetParam(3, 4, {1, 2});
    SetParam(1, 25, {9, 9});
    SetParam(7, 27, {8, 8}, ParamCopy::Rear);

    ResetDeviceState();

    EXPECT_EQ(g_Device.machineName.Get(), "KR710");
    EXPECT_EQ(g_Device.hardwareVersion.Get(), "2011-11-17");
    EXPECT_EQ(g_Device.versionText.Get(), "");
    for (auto* flag : {&g_Device.currentMode, &g_Device.modified, &g_Device.recordLayout, &g_Device.extendedEcho,
                       &g_Device.rearRouting, &g_Device.firmwareV1, &g_Device.subVersion}) {
        EXPECT_EQ(flag->load(), 0);
    }
    EXPECT_EQ(g_Device.autoSub[0].load(), 0);
    EXPECT_EQ(g_Device.remote[7].load(), 0);
    EXPECT_EQ(g_Device.machineDevice[3].load(), 0);
    EXPECT_EQ(g_Device.machineEdit[13].load(), 0);
    EXPECT_EQ(GetParam(3, 4), (ParamBytes{}));
    // Slots no synchronisation touches keep what a mode file put there.
    EXPECT_EQ(GetParam(1, 25), (ParamBytes{9, 9}));
    EXPECT_EQ(GetParam(7, 27, ParamCopy::Rear), (ParamBytes{8, 8}));
}

TEST_F(DeviceImage, ParameterDefaultsAfterReset) {
    EXPECT_EQ(GetParam(5, 1).first, 64);  // PitchShift: no shift
    EXPECT_EQ(GetParam(6, 1).first, 64);
    EXPECT_EQ(GetParam(1, 24).first, 0);  // MicVolume
    EXPECT_EQ(GetParam(1, 23), (ParamBytes{0, 1}));
    for (int block : {7, 8}) {
        for (int index : {14, 15, 16}) {
            EXPECT_EQ(GetParam(block, index, ParamCopy::Rear).first, 63);
            EXPECT_EQ(GetParam(block, index, ParamCopy::Normal).first, 0);
        }
        EXPECT_EQ(GetParam(block, 22, ParamCopy::Rear), (ParamBytes{0, 36}));
        EXPECT_EQ(GetParam(block, 22, ParamCopy::Normal), (ParamBytes{0, 0}));
    }
}

TEST_F(DeviceImage, TheActiveCopyFollowsTheRoutingFlag) {
    SetParam(7, 15, {10, 0}, ParamCopy::Normal);
    EXPECT_EQ(GetParam(7, 15).first, 10);
    g_Device.rearRouting.store(1);
    EXPECT_EQ(GetParam(7, 15).first, 63);
    SetParam(7, 15, {20, 0});
    EXPECT_EQ(GetParam(7, 15, ParamCopy::Rear).first, 20);
    EXPECT_EQ(GetParam(7, 15, ParamCopy::Normal).first, 10);
    // Blocks with one copy ignore the choice.
    SetParam(4, 1, {5, 0}, ParamCopy::Rear);
    EXPECT_EQ(GetParam(4, 1, ParamCopy::Normal).first, 5);
}

TEST_F(DeviceImage, OutOfRangeAddressesReadZeroAndAreNeverWritten) {
    SetParam(9, 0, {1, 1});
    SetParam(0, 0, {1, 1});
    SetParam(3, 12, {1, 1});
    SetParam(-1, 0, {1, 1});
    EXPECT_EQ(GetParam(3, 12), (ParamBytes{}));
    EXPECT_EQ(GetParam(4, 0), (ParamBytes{}));
    EXPECT_EQ(GetParam(9, 0), (ParamBytes{}));
}

TEST_F(DeviceImage, SubAndCenterReportsKeepTheRearCopy) {
    StoreParameterReport(7, 22, 0, 90);
    EXPECT_EQ(GetParam(7, 22, ParamCopy::Normal).second, 90);
    EXPECT_EQ(GetParam(7, 22, ParamCopy::Rear).second, 36);
    StoreParameterReport(8, 15, 44, 0);
    EXPECT_EQ(GetParam(8, 15, ParamCopy::Normal).first, 44);
    EXPECT_EQ(GetParam(8, 15, ParamCopy::Rear).first, 44);
    g_Device.rearRouting.store(1);
    StoreParameterReport(8, 22, 0, 70);
    EXPECT_EQ(GetParam(8, 22, ParamCopy::Normal).second, 70);
    EXPECT_EQ(GetParam(8, 22, ParamCopy::Rear).second, 70);
}

TEST_F(DeviceImage, RoutingAndExtendedEchoFlagsFollowTheirReports) {
    StoreParameterReport(4, 32, 0, 0);
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
    StoreParameterReport(4, 33, 127, 255);
    EXPECT_EQ(g_Device.rearRouting.load(), 1);
    StoreParameterReport(4, 32, 64, 0);
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
    EXPECT_EQ(GetParam(4, 32).first, 64);

    StoreParameterReport(0, 2, 7, 220);
    EXPECT_EQ(g_Device.extendedEcho.load(), 1);
    StoreParameterReport(0, 3, 0, 0);  // other block-0 indexes are not looked at
    EXPECT_EQ(g_Device.extendedEcho.load(), 1);
    StoreParameterReport(0, 2, 7, 221);
    EXPECT_EQ(g_Device.extendedEcho.load(), 0);
}

TEST_F(DeviceImage, W15ValuesAreStoredHighByteFirst) {
    StoreParameterReport(1, 9, 0x40, 0x00);
    EXPECT_EQ(GetParam(1, 9), (ParamBytes{64, 0}));
}

TEST_F(DeviceImage, KnownModelsAreRecognisedWithoutRegardToCase) {
    for (const char* model : {"KR710Q", "KR710R", "KR710QX", "KR710S", "KR710T", "HX-N3", "kr710q", "hx-n3"}) {
        EXPECT_TRUE(IsKnownModel(model)) << model;
    }
    for (const char* model : {"KR710", "KR710P", "KR710Q ", "KR710QXX", ""}) EXPECT_FALSE(IsKnownModel(model)) << model;
    EXPECT_TRUE(IsWirelessModel("kr710qx"));
    EXPECT_FALSE(IsWirelessModel("KR710Q"));
}

}  // namespace
}  // namespace sonoria
