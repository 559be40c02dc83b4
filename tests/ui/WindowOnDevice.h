// A window or page tested on its own against a virtual device, without the
// main window: the device is connected and its image read, and messages the
// link would post to a main window go nowhere.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/ControlFactories.h"
#include "app/Localization.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ReportDispatch.h"
#include "state/SyncWorkers.h"

namespace sonoria::test {

class NoWindow : public HostMessageSink {
public:
    void Post(unsigned, std::uintptr_t, std::intptr_t) override {}
    void Send(unsigned, std::uintptr_t, std::intptr_t) override {}
};

class WindowOnDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterControlFactories();
        SetHidBackend(device);
        g_bSyncIdle.store(1);
        ASSERT_EQ(ConnectDeviceImage(&sink), 1);
    }
    // A test deletes its window first, then calls this.
    void TearDown() override {
        DisconnectDevice();
        SetHidBackend(nullptr);
        g_hMainWnd.store(nullptr);
        ResetDeviceState();
        LoadLanguage(kLanguageEnglish);
    }

    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
    NoWindow sink;
};

}  // namespace sonoria::test
