// The main window when the link misbehaves: a lost link, a device that falls
// silent or answers slowly, failed synchronisations, a failed save at close,
// a device held by another program, and the routing change that must not
// keep the window waiting.
#include "app/MainWindowFixture.h"

#include <QAbstractButton>
#include <QGuiApplication>

#include <algorithm>
#include <thread>

#include "admin/CSynDlg.h"
#include "app/FlowPanel.h"
#include "link/CommandSender.h"
#include "link/HostMessages.h"
#include "state/RearRouting.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;

const QString kSyncFailure = QString::fromUtf8(kSyncGiveUpText);
const QString kRemovalQuestion = QString::fromUtf8("设备已断开，请问是否需要保存参数文件?");

class WindowLinkTest : public test::MainWindowTest {
protected:
    std::size_t CountReceived(int code) const {
        const auto received = device->Received();
        return static_cast<std::size_t>(
            std::count_if(received.begin(), received.end(), [code](const Report& r) { return r[1] == code; }));
    }
    std::vector<Report> ParameterSets() const {
        std::vector<Report> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM) sets.push_back(r);
        }
        return sets;
    }
    QString InfoText() const { return window->InfoWindow() != nullptr ? window->InfoWindow()->Text() : QString(); }
    // A change the device acknowledges, so that there is something unsaved.
    void ChangeSomething() {
        emit Slider(IDC_MUSIC_SLIDER)->sliderChanged(IDC_MUSIC_SLIDER, 77);
        ASSERT_TRUE(test::WaitUntil([] { return g_Device.modified.load() == 1; }));
    }
    void ReopenWithFreshDevice() {
        window->close();
        window.reset();
        StopSyncWorkers();
        device = std::make_shared<VirtualDevice>("KR710Q");
        SetHidBackend(device);
        Open();
    }
};

TEST_F(WindowLinkTest, ALostLinkEndsTheConnectionLikeARemovalAndAnArrivalReconnects) {
    Open();
    window->Session().SetPendingModeSlot(3);
    device->BreakLink();
    ASSERT_TRUE(test::WaitUntil([&] { return StatusText() == QString::fromUtf8("未连接"); }));
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
    EXPECT_FALSE(window->Session().MeterPollingActive());
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
    EXPECT_TRUE(messages.empty());  // nothing was changed: nothing to ask

    // Pulling and plugging the device in again connects anew.
    device->Unplug();
    device->Plug();
    WaitForSync();
    EXPECT_EQ(StatusText(), QString::fromUtf8("已连接"));
    EXPECT_TRUE(window->Session().MeterPollingActive());

    // With unsaved changes the removal question comes once, whichever of the
    // lost link and the removal is heard first.
    ChangeSomething();
    device->BreakLink();
    ASSERT_TRUE(test::WaitUntil([&] { return !messages.empty(); }));
    device->Unplug();
    test::ProcessQueuedEvents();  // the removal
    EXPECT_EQ(messages, std::vector<QString>{kRemovalQuestion});

    device->Plug();
    WaitForSync();
    ChangeSomething();
    messages.clear();
    device->Unplug();  // the removal and the read thread's failure both report it
    // Closing the link waits for the read thread, which has then told the window.
    ASSERT_TRUE(test::WaitUntil([&] { return !messages.empty() && g_bDeviceOpen.load() == 0; }));
    test::ProcessQueuedEvents();
    EXPECT_EQ(messages, std::vector<QString>{kRemovalQuestion});
}

TEST_F(WindowLinkTest, ADeviceSilentDuringTheFirstReadAllEndsDisconnectedWithTheFailureText) {
    device->SetSilentAfter(2);  // it names itself, then says nothing more
    Open(false);
    ASSERT_TRUE(test::WaitUntil(
        [&] { return InfoText() == kSyncFailure && g_bDeviceOpen.load() == 0 && window->SyncWindow() == nullptr; }));
    EXPECT_EQ(StatusText(), QString::fromUtf8("未连接"));
    EXPECT_FALSE(window->Session().MeterPollingActive());
    EXPECT_FALSE(window->Synchronising());
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowLinkTest, FailedSynchronisationsAreNeverAccepted) {
    Open();
    // A read-all that failed (e.g. after a mode load): the link is closed.
    device->ClearRecord();
    window->Session().Post(WM_SYNC_DONE, kSyncReadAll, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
    EXPECT_EQ(StatusText(), QString::fromUtf8("未连接"));
    EXPECT_EQ(InfoText(), kSyncFailure);
    EXPECT_FALSE(window->Session().MeterPollingActive());
    ASSERT_FALSE(device->Received().empty());
    EXPECT_EQ(device->Received().back()[1], CMD_BYE);

    device->Unplug();
    device->Plug();
    WaitForSync();
    // A write-all that failed: the mode the file named is not stored, the link stays.
    window->Session().SetPendingModeSlot(2);
    if (window->InfoWindow() != nullptr) window->InfoWindow()->close();
    device->ClearRecord();
    window->Session().Post(WM_SYNC_DONE, kSyncWriteAll, 0);
    ASSERT_TRUE(test::WaitUntil(
        [&] { return InfoText() == kSyncFailure && window->InfoWindow() != nullptr && window->InfoWindow()->isVisible(); }));
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
    EXPECT_EQ(CountReceived(CMD_SELECT_MODE) + CountReceived(CMD_SAVE_MODE), 0u);
    EXPECT_EQ(StatusText(), QString::fromUtf8("已连接"));
    // One that succeeded stores it.
    window->Session().SetPendingModeSlot(1);
    window->Session().Post(WM_SYNC_DONE, kSyncWriteAll, 1);
    ASSERT_TRUE(test::WaitUntil([&] { return CountReceived(CMD_SAVE_MODE) == 1; }));
    EXPECT_EQ(CountReceived(CMD_SELECT_MODE), 1u);
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
}

TEST_F(WindowLinkTest, ARemovalStopsTheReadAllSoThatItNeverRunsOnTheNextLink) {
    // Pulled and plugged again as soon as the progress window of the first
    // read-all is up, while that read-all still pauses before it reads.
    bool replugged = false;
    test::WhenFirst whileSynchronising([&] { return window && window->SyncWindow() != nullptr; }, [&] {
        replugged = SyncWorkersRunning() && CountReceived(CMD_GET_NAME) == 0;
        device->Unplug();
        device->Plug();
    });
    Open(false);
    ASSERT_TRUE(test::WaitUntil([&] { return replugged; }));
    WaitForSync();  // every worker has ended: the old read-all can send nothing more
    EXPECT_FALSE(SyncWorkersRunning());
    EXPECT_EQ(CountReceived(CMD_GET_NAME), 1u);
    EXPECT_EQ(StatusText(), QString::fromUtf8("已连接"));
}

TEST_F(WindowLinkTest, TheRoutingSwitchReturnsAtOnceAndSendsWhatItAlwaysSent) {
    // What the change sends when run straight through.
    Open();
    ResetRearRoutingFirstTime();
    device->ClearRecord();
    // On a thread of its own, as the switch's worker runs it: the window's
    // thread would take its writes as edits.
    bool ran = false;
    std::thread([&] { ran = SetRearRouting(1); }).join();
    ASSERT_TRUE(ran);
    const std::vector<Report> direct = ParameterSets();
    ASSERT_GT(direct.size(), 30u);

    ReopenWithFreshDevice();
    ResetRearRoutingFirstTime();
    device->ClearRecord();
    auto* routing = FindControlAs<QAbstractButton>(window.get(), IDC_REAR_SWITCH);
    routing->click();
    // Back in the event loop before the change has been seen through.
    EXPECT_TRUE(window->Panel()->RoutingChangeRunning());
    EXPECT_NE(window->SyncWindow(), nullptr);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_CENTER_CAPTION)->text(), QString::fromUtf8("中置音量"));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);

    ASSERT_TRUE(test::WaitUntil(
        [&] { return !window->Panel()->RoutingChangeRunning() && window->SyncWindow() == nullptr; }));
    EXPECT_EQ(ParameterSets(), direct);
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_CENTER_CAPTION)->text(), QString::fromUtf8("后置左"));
    EXPECT_TRUE(routing->isChecked());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window->Session().MeterPollingActive());
}

TEST_F(WindowLinkTest, NothingWaitsOnASlowDevice) {
    Open();
    // The device owes an answer while meter polls fall due: they are skipped
    // until the answer came, and resume after it.
    ASSERT_TRUE(test::WaitUntil([] { return !AnswerOutstanding(); }));
    device->HoldReports(true);
    device->ClearRecord();
    ASSERT_EQ(SendCommand(CMD_GET_VOLUMES), static_cast<int>(kReportSize));
    ASSERT_TRUE(test::LetTimersDueWithinFire(std::chrono::milliseconds(kMeterPollMs)));
    EXPECT_TRUE(AnswerOutstanding());
    EXPECT_EQ(CountReceived(CMD_GET_METERS), 0u);
    device->HoldReports(false);
    ASSERT_TRUE(test::WaitUntil([&] { return CountReceived(CMD_GET_METERS) > 0; }));

    // A drag keeps only the latest position while an answer is owed.
    ASSERT_TRUE(test::WaitUntil([] { return !AnswerOutstanding(); }));
    device->HoldReports(true);
    device->ClearRecord();
    for (int position = 10; position <= 20; ++position) {
        emit Slider(IDC_MIC_SLIDER)->sliderChanged(IDC_MIC_SLIDER, position);
    }
    EXPECT_EQ(FindControlAs<QLabel>(window.get(), IDC_MIC_VALUE)->text(), "10");
    EXPECT_EQ(Sets(1, 24).size(), 1u);
    device->HoldReports(false);
    ASSERT_TRUE(test::WaitUntil([&] { return Sets(1, 24).size() == 2; }));
    EXPECT_EQ(Sets(1, 24)[0][4], 10);
    EXPECT_EQ(Sets(1, 24)[1][4], 20);
    EXPECT_EQ(GetParam(1, 24).first, 20);

    // A plain click still sends its one step at once.
    ASSERT_TRUE(test::WaitUntil([] { return !AnswerOutstanding(); }));
    device->ClearRecord();
    CXBmpSlider* slider = Slider(IDC_MIC_SLIDER);
    const int before = slider->GetPos();
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->ThumbRect().left() - 3, slider->height() / 2));
    ASSERT_EQ(Sets(1, 24).size(), 1u);
    EXPECT_EQ(Sets(1, 24)[0][4], before - 1);
}

TEST_F(WindowLinkTest, AFailedSaveAtCloseIsToldAndNoKeepsTheWindow) {
    Open();
    ChangeSomething();
    const QString saveQuestion = QString::fromUtf8("请问是否需要保存当前参数?");
    const QString closeAnyway = QString::fromUtf8("是否仍要关闭程序?");
    MessageAnswer closeAnswer = MessageAnswer::No;
    SetMessageHandler([&](const MessageRequest& request) {
        messages.push_back(request.text);
        if (request.text == saveQuestion) return MessageAnswer::Yes;
        if (request.text == closeAnyway || request.text == "Close the program anyway?") return closeAnswer;
        return MessageAnswer::Ok;
    });
    device->SetSilent(true);
    window->close();
    EXPECT_EQ(messages, (std::vector<QString>{saveQuestion, QString::fromUtf8("保存失败,设备没有响应!"), closeAnyway}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(g_bDeviceOpen.load(), 1);
    EXPECT_EQ(g_Device.modified.load(), 1);  // still unsaved

    // In English, on a link that broke; "Yes" closes.
    FindControlAs<QAbstractButton>(window.get(), IDC_LANGUAGE)->click();
    messages.clear();
    closeAnswer = MessageAnswer::Yes;
    device->BreakLink();
    window->close();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1], "Save failed: the device did not answer!");
    EXPECT_EQ(messages[2], "Close the program anyway?");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
}

TEST_F(WindowLinkTest, ADeviceHeldByAnotherProgramIsToldOncePerDevice) {
    std::optional<long> holder = 4242;
    device->Unplug();
    window = std::make_unique<CSonoriaDlg>();
    window->Session().SetStartupDelay(10);
    window->Session().SetDeviceHolderQuery([&] { return holder; });
    auto watch = std::make_unique<DeviceWatch>();
    DeviceWatch* platform = watch.get();
    window->Session().SetDeviceWatch(std::move(watch));
    window->show();
    const QString told = QString::fromUtf8("设备正被另一个程序使用(进程 4242)。");
    ASSERT_TRUE(test::WaitUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages, std::vector<QString>{told});
    // Further arrivals of the same device do not repeat it; a removal ends it.
    emit platform->deviceArrived(QString::fromLatin1(kVirtualDevicePath));
    emit platform->deviceArrived(QString::fromLatin1(kVirtualDevicePath));
    EXPECT_EQ(messages.size(), 1u);
    emit platform->deviceRemoved(QString::fromLatin1(kVirtualDevicePath));
    emit platform->deviceArrived(QString::fromLatin1(kVirtualDevicePath));
    EXPECT_EQ(messages, (std::vector<QString>{told, told}));
    EXPECT_EQ(StatusText(), QString::fromUtf8("未连接"));

    // Let go by the other program: the next arrival connects.
    holder.reset();
    device->Plug();
    emit platform->deviceArrived(QString::fromLatin1(kVirtualDevicePath));
    WaitForSync();
    EXPECT_EQ(StatusText(), QString::fromUtf8("已连接"));
    EXPECT_EQ(messages.size(), 2u);
}

TEST(MainWindowLifetime, AWindowDestroyedWithoutClosingLeavesNoListenerBehind) {
    CSonoriaDlg kept;
    {
        CSonoriaDlg other;
        g_hMainWnd.store(&kept.Session());
    }
    EXPECT_EQ(g_hMainWnd.load(), &kept.Session());
    {
        CSonoriaDlg gone;
        g_hMainWnd.store(&gone.Session());
    }
    EXPECT_EQ(g_hMainWnd.load(), nullptr);
}

}  // namespace
}  // namespace sonoria
