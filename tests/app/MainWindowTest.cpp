// The main window against the virtual device: connecting, accepting or
// refusing the model, master volumes and locks, mode buttons, removal and
// close questions, the language toggle, and screenshots.
#include "app/MainWindowFixture.h"

#include <QFile>

#include <algorithm>

#include "app/FlowPanel.h"
#include "controls/CPeakMeterCtrl.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using test::MainWindowTest;

TEST_F(MainWindowTest, StartUpConnectsSynchronisesAndPollsTheMeters) {
    Open();
    EXPECT_EQ(window->Language(), 0);  // no stored language: Chinese
    EXPECT_EQ(StatusText(), QString::fromUtf8("已连接"));
    EXPECT_EQ(g_Device.machineName.Get(), "KR710Q");
    EXPECT_TRUE(window->Session().MeterPollingActive());
    device->ClearRecord();
    EXPECT_TRUE(test::WaitUntil([&] {
        const auto received = device->Received();
        return std::any_of(received.begin(), received.end(), [](const Report& r) { return r[1] == CMD_GET_METERS; });
    }));
    // The levels the device reports reach the meters.
    auto* meter = FindControlAs<CPeakMeterCtrl>(window.get(), IDC_MIC_METER);
    EXPECT_TRUE(test::WaitUntil([&] { return meter->GetLevel(0) > 0; }));
    // The strip shows the device's volumes: mic and music labels show half the value.
    EXPECT_EQ(Slider(IDC_MIC_SLIDER)->GetPos(), GetParam(1, 24).first);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_MIC_VALUE)->text(), QString::number(GetParam(1, 24).first / 2));
    EXPECT_TRUE(FindControlAs<CGdipButton>(window.get(), IDC_MODE_1)->IsSelected());
    SaveScreenshot("main-window-zh");
}

TEST_F(MainWindowTest, RefusedModelsAreToldOnceAndDisconnected) {
    for (const char* model : {"KR710", "KR710P"}) {
        device->SetModel(model);
        messages.clear();
        Open(false);
        ASSERT_TRUE(test::WaitUntil([&] { return !messages.empty(); })) << model;
        EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8("机器型号与软件不匹配,无法调控!")});
        EXPECT_EQ(g_bDeviceOpen.load(), 0);
        EXPECT_EQ(StatusText(), QString::fromUtf8("未连接"));
        EXPECT_FALSE(window->Session().MeterPollingActive());
        EXPECT_EQ(device->Received().back()[1], CMD_BYE);
        window->close();
        window.reset();
        StopSyncWorkers();
    }
}

TEST_F(MainWindowTest, MasterVolumesSendRespectLocksAndPairWhenRoutedToRear) {
    Open();
    device->ClearRecord();
    emit Slider(IDC_MIC_SLIDER)->sliderChanged(IDC_MIC_SLIDER, 100);
    // At once, or as soon as the device has answered a meter poll.
    ASSERT_TRUE(test::WaitUntil([&] { return !Sets(1, 24).empty(); }));
    EXPECT_EQ(Sets(1, 24).size(), 1u);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_MIC_VALUE)->text(), "50");

    g_Device.machineDevice[KeyLockEnable].store(1);
    g_Device.machineDevice[KeyLockBits].store(0x01);
    Slider(IDC_MIC_SLIDER)->SetPos(20);
    emit Slider(IDC_MIC_SLIDER)->sliderChanged(IDC_MIC_SLIDER, 20);
    EXPECT_EQ(Sets(1, 24).size(), 1u);  // nothing sent
    EXPECT_EQ(Slider(IDC_MIC_SLIDER)->GetPos(), 100);  // back to the stored value
    ASSERT_NE(window->InfoWindow(), nullptr);
    EXPECT_EQ(window->InfoWindow()->Text(), QString::fromUtf8("话筒音量已经被锁定!"));

    g_Device.rearRouting.store(1);
    emit Slider(IDC_CENTER_SLIDER)->sliderChanged(IDC_CENTER_SLIDER, 33);
    ASSERT_TRUE(test::WaitUntil([&] { return !Sets(7, 22).empty(); }));
    ASSERT_TRUE(test::EditsReachedDevice());  // its twin too
    EXPECT_EQ(Sets(8, 22).back()[5], 33);
    EXPECT_EQ(Sets(7, 22).back()[5], 33);
    EXPECT_EQ(Slider(IDC_SUB_SLIDER)->GetPos(), 33);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_SUB_VALUE)->text(), "33");
    g_Device.rearRouting.store(0);
}

TEST_F(MainWindowTest, ModeButtonsLoadModesUnlessLocked) {
    Open();
    device->ClearRecord();
    FindControlAs<CGdipButton>(window.get(), IDC_MODE_1 + 2)->click();
    WaitForSync();
    ASSERT_FALSE(device->Received().empty());
    EXPECT_EQ(device->Received().front()[1], CMD_LOAD_MODE);
    EXPECT_EQ(device->Received().front()[2], 2);
    EXPECT_TRUE(FindControlAs<CGdipButton>(window.get(), IDC_MODE_1 + 2)->IsSelected());

    g_Device.machineDevice[KeyLockEnable].store(1);
    g_Device.machineDevice[KeyLockBits].store(0x10);
    device->ClearRecord();
    FindControlAs<CGdipButton>(window.get(), IDC_MODE_1)->click();
    EXPECT_TRUE(device->Received().empty());
    EXPECT_EQ(window->InfoWindow()->Text(), QString::fromUtf8("载入模式已锁定!"));
}

TEST_F(MainWindowTest, UnplugDuringTheFirstSynchronisationAsksNothing) {
    device->SetAnswerDelay(20ms);
    window = std::make_unique<CSonoriaDlg>();
    window->Session().SetStartupDelay(10);
    window->Session().SetDeviceWatch(CreateVirtualDeviceWatch(*device));
    bool unplugged = false;
    bool progressOpen = false;
    test::WhenFirst whileSynchronising([&] { return window->SyncWindow() != nullptr; }, [&] {
        progressOpen = SyncWorkersRunning();
        g_Device.modified.store(1);
        device->Unplug();
        unplugged = true;
    });
    window->show();
    ASSERT_TRUE(test::WaitUntil(
        [&] { return unplugged && g_bDeviceOpen.load() == 0 && window->SyncWindow() == nullptr; }));
    EXPECT_TRUE(progressOpen);
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    test::ProcessQueuedEvents();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(StatusText(), QString::fromUtf8("未连接"));
}

TEST_F(MainWindowTest, UnplugAfterAChangeAsksToSaveTheParametersAsTheyWere) {
    Open();
    emit Slider(IDC_MUSIC_SLIDER)->sliderChanged(IDC_MUSIC_SLIDER, 77);
    ASSERT_TRUE(test::WaitUntil([] { return g_Device.modified.load() == 1; }));
    answer = MessageAnswer::Yes;
    QString savedTo;
    const QString chosen = settingsDir.filePath("after-unplug");
    SetSaveFileHandler([&](const QString&) {
        device->Plug();  // the device comes back while the question is open
        return chosen;
    });
    device->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages.front(), QString::fromUtf8("设备已断开，请问是否需要保存参数文件?"));
    QFile file(chosen + ".k71x");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 948);
    EXPECT_EQ(static_cast<unsigned char>(bytes[178 + 4]), 77);  // music volume 4/2 as it was
}

TEST_F(MainWindowTest, ClosingWithChangesAsksToSaveTheCurrentMode) {
    Open();
    emit Slider(IDC_MUSIC_SLIDER)->sliderChanged(IDC_MUSIC_SLIDER, 60);
    ASSERT_TRUE(test::WaitUntil([] { return g_Device.modified.load() == 1; }));
    ASSERT_TRUE(test::EditsReachedDevice());
    answer = MessageAnswer::Yes;
    device->ClearRecord();
    window->close();
    EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8("请问是否需要保存当前参数?")});
    const auto received = device->Received();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0][1], CMD_SAVE_MODE);
    EXPECT_EQ(received.back()[1], CMD_BYE);
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
    window.reset();
}

TEST_F(MainWindowTest, AWindowDestroyedWithoutClosingEndsItsWorkersAndReadThreadFirst) {
    Open();
    // A read-all in its pause, the read thread reading and an edit kept for an
    // answer the device holds back: all of it ends before the window is gone.
    StartSynchronizeData();
    device->HoldReports(true);
    emit Slider(IDC_MIC_SLIDER)->sliderChanged(IDC_MIC_SLIDER, 30);
    emit Slider(IDC_MIC_SLIDER)->sliderChanged(IDC_MIC_SLIDER, 31);
    EXPECT_TRUE(EditsPending());
    window.reset();
    EXPECT_FALSE(SyncWorkersRunning());
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
    EXPECT_EQ(g_hMainWnd.load(), nullptr);
    EXPECT_FALSE(EditsPending());
    device->HoldReports(false);
}

TEST_F(MainWindowTest, EscapeAndEnterDoNotCloseAndTheWindowDoesNotShrink) {
    Open();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->minimumSize(), window->size());
}

TEST_F(MainWindowTest, TheLanguageToggleRetextsAndPersists) {
    Open();
    auto* languageButton = FindControlAs<CGdipButton>(window.get(), 1019);
    EXPECT_EQ(languageButton->text(), "En");
    languageButton->click();
    EXPECT_EQ(window->Language(), 1);
    EXPECT_EQ(ReadLanguageSetting(), 1);
    EXPECT_EQ(languageButton->text(), QString::fromUtf8("中文"));
    EXPECT_EQ(StatusText(), "Connected");
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_MIC_CAPTION)->text(), "Mic Vol");
    SaveScreenshot("main-window-en");
    languageButton->click();
    EXPECT_EQ(ReadLanguageSetting(), 0);
    EXPECT_EQ(StatusText(), QString::fromUtf8("已连接"));
}

}  // namespace
}  // namespace sonoria

namespace sonoria {
namespace {

TEST(MainWindowControls, BuiltSlidersReportTheirOwnIds) {
    CSonoriaDlg window;
    for (int id : {IDC_MIC_SLIDER, IDC_MUSIC_SLIDER, IDC_CENTER_SLIDER, IDC_SUB_SLIDER}) {
        EXPECT_EQ(FindControlAs<CXBmpSlider>(&window, id)->controlId(), id);
    }
    EXPECT_EQ(FindControlAs<CGdipButton>(&window, IDC_FUNCTION)->controlId(), IDC_FUNCTION);
}

}  // namespace
}  // namespace sonoria

namespace sonoria {
namespace {

TEST_F(MainWindowTest, RoutingToTheRearRenamesTheVolumesAndSwapsTheDiagram) {
    Open();
    const QImage before = window->grab().toImage();
    auto* routing = FindControlAs<QAbstractButton>(window.get(), 1210);
    ASSERT_NE(routing, nullptr);
    routing->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !window->Panel()->RoutingChangeRunning(); }));
    EXPECT_EQ(g_Device.rearRouting.load(), 1);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_CENTER_CAPTION)->text(), QString::fromUtf8("后置左"));
    EXPECT_NE(window->grab().toImage(), before);
    SaveScreenshot("main-window-rear-zh");
    FindControlAs<QAbstractButton>(window.get(), 1019)->click();  // English, still routed to the rear
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_CENTER_CAPTION)->text(), "Rear.L");
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_SUB_CAPTION)->text(), "Rear.R");
    SaveScreenshot("main-window-rear-en");
    routing->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !window->Panel()->RoutingChangeRunning(); }));
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_CENTER_CAPTION)->text(), "Center");
}

}  // namespace
}  // namespace sonoria
