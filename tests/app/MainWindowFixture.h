// The main window on the virtual device, for the window tests: settings in a
// temporary file, message boxes answered by the test, and helpers that wait
// for the connection and read back what the device received.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "app/CSonoriaDlg.h"
#include "app/DeviceWatch.h"
#include "app/MainWindowTemplate.h"
#include "app/MessageService.h"
#include "app/Settings.h"
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "controls/DialogTemplate.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/SyncWorkers.h"
#include "ui/Waits.h"

namespace sonoria::test {

// Closes a main window opened by a test and leaves the link, the handlers,
// the settings file and the image as a new test expects them.
inline void CloseWindowAndLink(std::unique_ptr<CSonoriaDlg>& window) {
    SetMessageHandler([](const MessageRequest&) { return MessageAnswer::No; });
    if (window) window->close();
    window.reset();
    StopSyncWorkers();
    DisconnectDevice();
    SetHidBackend(nullptr);
    SetMessageHandler({});
    SetSaveFileHandler({});
    SetOpenFileHandler({});
    SetSettingsFileForTesting({});
    g_bSyncIdle.store(1);
    ResetDeviceState();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsFileForTesting(settingsDir.filePath("settings.ini"));
        SetMessageHandler([this](const MessageRequest& request) {
            messages.push_back(request.text);
            return answer;
        });
        SetHidBackend(device);
    }
    void TearDown() override { CloseWindowAndLink(window); }
    // Opens the window and waits for the start-up connection and its synchronisation.
    void Open(bool expectConnection = true) {
        window = std::make_unique<CSonoriaDlg>();
        window->Session().SetStartupDelay(10);
        window->Session().SetDeviceWatch(CreateVirtualDeviceWatch(*device));
        window->show();
        if (expectConnection) WaitForSync();
    }
    void WaitForSync() {
        // A plug or unplug the device has already told of is handled first:
        // it may start the read-all waited for here.
        ProcessQueuedEvents();
        ASSERT_TRUE(WaitUntil([&] { return g_bDeviceOpen.load() == 1; }));
        ASSERT_TRUE(WaitUntil([&] { return !SyncWorkersRunning() && window->SyncWindow() == nullptr; }));
        ProcessQueuedEvents();
    }
    QString StatusText() const { return FindControlAs<QLabel>(window.get(), IDC_STATUS_TEXT)->text(); }
    CXBmpSlider* Slider(int id) const { return FindControlAs<CXBmpSlider>(window.get(), id); }
    std::vector<Report> Sets(int block, int index) const {
        std::vector<Report> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM && r[2] == block && r[3] == index) sets.push_back(r);
        }
        return sets;
    }
    void SaveScreenshot(const QString& name) {
        QDir().mkpath(SONORIA_SCREENSHOT_DIR);
        window->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/%1.png").arg(name));
    }

    QTemporaryDir settingsDir;
    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
    std::unique_ptr<CSonoriaDlg> window;
    std::vector<QString> messages;
    MessageAnswer answer = MessageAnswer::No;
};

}  // namespace sonoria::test
