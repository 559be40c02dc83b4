// A window or page tested on its own against a virtual device, without the
// main window: the device is connected and its image read, and messages the
// link would post to a main window go nowhere.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/ControlFactories.h"
#include "link/LinkState.h"
#include "simulator/VirtualDevice.h"
#include "state/ReportDispatch.h"
#include "ui/WindowState.h"

namespace sonoria::test {

class WindowOnDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterControlFactories();
        SetHidBackend(device);
        g_bSyncIdle.store(1);
        ASSERT_EQ(ConnectDeviceImage(&NoListener()), 1);
    }

    // Goes after the windows of a derived fixture, and closes the link then.
    WindowStateGuard state;
    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
};

}  // namespace sonoria::test
