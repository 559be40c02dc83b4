// The wireless-microphone window on the model with a receiver: it shows the
// image, pairs by room with the pause between the two commands, sends each
// setting the user changes, and follows the receiver's status reports.
#include "app/MainWindowFixture.h"

#include <QComboBox>
#include <QRadioButton>

#include "admin/CWMicDlg.h"
#include "controls/ControlText.h"
#include "link/CommandSender.h"
#include "ui/Waits.h"

namespace sonoria::test {
namespace {

using namespace std::chrono_literals;

class WirelessMicWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        device = std::make_shared<VirtualDevice>("KR710QX");
        MainWindowTest::SetUp();
    }
    CWMicDlg* OpenWireless() {
        window->ShowWirelessMics();
        CWMicDlg* wmic = window->WirelessWindow();
        EXPECT_NE(wmic, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(wmic, test::kEventTimeoutMs));
        return wmic;
    }
    std::vector<Report> WirelessSets() const {
        std::vector<Report> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_WMIC_SET) sets.push_back(r);
        }
        return sets;
    }
    static Report Wmic(int mic, int group, int item, int value) {
        return BuildCommandReport(CMD_WMIC_SET, {mic, group, item, value});
    }
    QString Text(QWidget* dialog, int id) const { return ControlText(FindControl(dialog, id)); }
    QComboBox* Rooms(CWMicDlg* wmic) const { return FindControlAs<QComboBox>(wmic, kWmicRoomListId); }
};

TEST_F(WirelessMicWindowTest, OpeningShowsTheImageAndSendsNothing) {
    Open();
    device->ClearRecord();
    g_Device.wirelessMics[0].channel.store(14);  // room B3's second channel: B3 is shown
    g_Device.wirelessMics[1].power.store(1);
    g_Device.wirelessMics[1].gate.store(77);
    CWMicDlg* wmic = OpenWireless();
    EXPECT_EQ(FindControlAs<CXBmpSlider>(wmic, kWmicVolumeSliderId)->GetPos(), 200);
    EXPECT_EQ(Text(wmic, 2000), "200");
    EXPECT_EQ(FindControlAs<CXBmpSlider>(wmic, kWmicGate2SliderId)->GetPos(), 77);
    EXPECT_EQ(Text(wmic, 2003), "77");
    EXPECT_EQ(Rooms(wmic)->count(), 16);
    EXPECT_EQ(Rooms(wmic)->itemText(10), QString::fromUtf8("房间号:B3    MIC1:2406MHz    MIC2:2414MHz"));
    EXPECT_EQ(Rooms(wmic)->currentIndex(), 10);
    EXPECT_EQ(Text(wmic, kWmicTipId), QString::fromUtf8("提示:建议您隔壁房间不要选择A3和B3房间号，避免信道干扰!"));
    EXPECT_TRUE(FindControlAs<QRadioButton>(wmic, kWmicPower1FullId)->isChecked());
    EXPECT_TRUE(FindControlAs<QRadioButton>(wmic, kWmicPower2LowId)->isChecked());
    EXPECT_EQ(FindControl(wmic, kWmicPower2LowId)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(FindControl(wmic, kWmicPower2FullId)->palette().color(QPalette::WindowText), QColor(Qt::white));
    // Paired and active (status 5).
    EXPECT_EQ(wmic->ShownImage(1128), kWmicIconPaired);
    EXPECT_EQ(wmic->ShownImage(1144), kWmicIconPaired);
    EXPECT_EQ(wmic->ShownImage(1126), 367);
    EXPECT_EQ(wmic->ShownImage(1127), 368);
    EXPECT_EQ(g_Device.wirelessMics[0].channel.load(), 14);  // an unlisted channel would not change either
    EXPECT_TRUE(device->Received().empty());

    window->ShowWirelessMics();
    EXPECT_EQ(window->WirelessWindow(), wmic);
    EXPECT_EQ(wmic->parentWidget(), window.get());
}

TEST_F(WirelessMicWindowTest, PairingByRoomSendsTheChannelPausesThenStartsPairing) {
    Open();
    CWMicDlg* wmic = OpenWireless();
    device->SetLearnDelay(300ms);
    device->ClearRecord();
    Rooms(wmic)->setCurrentIndex(10);  // B3
    EXPECT_TRUE(WirelessSets().empty());
    QTest::mouseClick(FindControl(wmic, kWmicPairMic1Id), Qt::LeftButton);
    EXPECT_EQ(WirelessSets(), (std::vector<Report>{Wmic(0, 16, 64, 6)}));
    EXPECT_EQ(g_Device.wirelessMics[0].channel.load(), 6);
    EXPECT_EQ(g_Device.wirelessMics[1].channel.load(), 14);
    // During the pause nothing can start another pairing or close the window.
    ASSERT_TRUE(wmic->PairingPending());
    for (int id : {kWmicPairMic1Id, kWmicPairMic2Id, kWmicGuidePairMic1Id, kWmicGuidePairMic2Id, kWmicRoomListId}) {
        EXPECT_FALSE(FindControl(wmic, id)->isEnabled()) << id;
    }
    QTest::mouseClick(FindControl(wmic, kWmicGuidePairMic2Id), Qt::LeftButton);
    QTest::keyClick(wmic, Qt::Key_Escape);
    wmic->close();
    EXPECT_EQ(window->WirelessWindow(), wmic);
    ASSERT_TRUE(test::WaitUntil([&] { return WirelessSets().size() == 2; }));
    EXPECT_EQ(WirelessSets()[1], Wmic(0, 0x14, 0x60, 0xF0));
    EXPECT_TRUE(FindControl(wmic, kWmicPairMic1Id)->isEnabled());
    // The receiver's report comes later and shows.
    g_Device.wirelessMics[0].pairing.store(0);
    wmic->RefreshWirelessStatus();
    EXPECT_EQ(wmic->ShownImage(1128), kWmicIconUnpaired);
    ASSERT_TRUE(test::WaitUntil([&] { return wmic->ShownImage(1128) == kWmicIconPaired; }));
    EXPECT_EQ(device->WirelessMic(0).channel, 6);

    // With no room selected nothing is sent.
    device->ClearRecord();
    Rooms(wmic)->setCurrentIndex(-1);
    QTest::mouseClick(FindControl(wmic, kWmicPairMic2Id), Qt::LeftButton);
    EXPECT_FALSE(wmic->PairingPending());  // no pause runs that would send later
    test::ProcessQueuedEvents();
    EXPECT_TRUE(WirelessSets().empty());
}

TEST_F(WirelessMicWindowTest, EachSettingTheUserChangesIsSent) {
    Open();
    CWMicDlg* wmic = OpenWireless();
    device->ClearRecord();
    emit FindControlAs<CXBmpSlider>(wmic, kWmicVolumeSliderId)->sliderChanged(kWmicVolumeSliderId, 180);
    EXPECT_EQ(Text(wmic, 2000), "180");
    emit FindControlAs<CXBmpSlider>(wmic, kWmicGate1SliderId)->sliderChanged(kWmicGate1SliderId, 30);
    EXPECT_EQ(Text(wmic, 2002), "30");
    emit FindControlAs<CXBmpSlider>(wmic, kWmicGate2SliderId)->sliderChanged(kWmicGate2SliderId, 31);
    QTest::mouseClick(FindControl(wmic, kWmicPower1LowId), Qt::LeftButton);
    QTest::mouseClick(FindControl(wmic, kWmicPower2FullId), Qt::LeftButton);
    EXPECT_EQ(WirelessSets(), (std::vector<Report>{Wmic(0, 16, 65, 180), Wmic(1, 16, 65, 180), Wmic(0, 9, 30, 30),
                                                   Wmic(1, 9, 30, 31), Wmic(0, 16, 66, 1), Wmic(1, 16, 66, 0)}));
    EXPECT_EQ(FindControl(wmic, kWmicPower1LowId)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(device->WirelessMic(0).volume, 180);
    EXPECT_EQ(device->WirelessMic(1).gate, 31);
    EXPECT_EQ(device->WirelessMic(0).power, 1);

    // Refreshing from the image sends nothing.
    device->ClearRecord();
    wmic->RefreshWirelessWindow();
    QTest::keyClick(wmic, Qt::Key_Return);  // Enter does nothing
    EXPECT_TRUE(WirelessSets().empty());
    EXPECT_TRUE(wmic->isVisible());
}

TEST_F(WirelessMicWindowTest, StatusReportsBlinkThenSettleAndTheWindowOutlivesItsOpener) {
    Open();
    CWMicDlg* wmic = OpenWireless();
    device->SendWirelessStatus(2, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return wmic->Blinking(0); }));
    EXPECT_FALSE(wmic->Blinking(1));
    EXPECT_EQ(wmic->ShownImage(1129), kWmicIconUnpaired);
    EXPECT_EQ(wmic->ShownImage(1127), 366);
    const int first = wmic->ShownImage(1128);
    ASSERT_TRUE(test::WaitUntil([&] { return wmic->ShownImage(1128) != first; }));
    EXPECT_EQ(wmic->ShownImage(1142), wmic->ShownImage(1128));

    device->SendWirelessStatus(5, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return !wmic->Blinking(0); }));
    EXPECT_EQ(wmic->ShownImage(1128), kWmicIconPaired);
    EXPECT_EQ(wmic->ShownImage(1126), 367);

    // 12 has bits 3 and 2 set: stored as 8, neither paired nor active.
    device->SendWirelessStatus(12, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return wmic->ShownImage(1128) == kWmicIconUnpaired; }));
    EXPECT_EQ(g_Device.wirelessMics[0].pairing.load(), 8);
    EXPECT_EQ(wmic->ShownImage(1126), 365);

    // The English tip of room B5.
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    Rooms(wmic)->setCurrentIndex(12);
    EXPECT_EQ(Text(wmic, kWmicTipId), "Tips:For cause disturb, please don't select room No: A5 , No:B5!");

    // A click in the main window leaves it; Escape destroys it.
    window->CloseTransientWindows();
    EXPECT_EQ(window->WirelessWindow(), wmic);
    QPointer<CWMicDlg> watched(wmic);
    QTest::keyClick(wmic, Qt::Key_Escape);
    ASSERT_TRUE(test::WaitUntil([&] { return watched.isNull(); }));
    EXPECT_EQ(window->WirelessWindow(), nullptr);
    window->Session().Send(WM_WMIC_STATUS, 0, 0);  // nobody to refresh
    test::ProcessQueuedEvents();
}

TEST_F(WirelessMicWindowTest, ScreenshotsInBothLanguages) {
    Open();
    for (const char* language : {"zh", "en"}) {
        CWMicDlg* wmic = OpenWireless();
        EXPECT_EQ(wmic->windowTitle(), QString::fromLatin1(language) == "en" ? QStringLiteral("Wireless Mic")
                                                                              : QString::fromUtf8("无线话筒"));
        QDir().mkpath(SONORIA_SCREENSHOT_DIR);
        wmic->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/wireless-mics-%1.png").arg(language));
        wmic->close();
        test::ProcessQueuedEvents();
        if (QString::fromLatin1(language) == "zh") {
            QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
        }
    }
}

}  // namespace
}  // namespace sonoria::test
