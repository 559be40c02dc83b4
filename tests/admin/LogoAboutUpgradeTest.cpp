// The logo and About windows and the firmware upgrade, driven through the
// main window on the virtual device.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "admin/CAboutDlg.h"
#include "admin/CLogoDlg.h"
#include "admin/CUpgradeDlg.h"
#include "admin/CWaitUpDlg.h"
#include "admin/ReleaseHistory.h"
#include "app/HotKeys.h"
#include "app/MainWindowFixture.h"
#include "link/CommandSender.h"
#include "state/FirmwareTransfer.h"
#include "ui/Waits.h"
#include "ui/WindowState.h"

namespace sonoria {
namespace {

// What the device received apart from the meter requests, which the window sends on its own.
std::vector<Report> Commands(const VirtualDevice& device) {
    std::vector<Report> commands;
    for (const Report& r : device.Received()) {
        if (r[1] != CMD_GET_METERS) commands.push_back(r);
    }
    return commands;
}

std::vector<Report> WithCode(const std::vector<Report>& reports, int code) {
    std::vector<Report> matching;
    for (const Report& r : reports) {
        if (r[1] == code) matching.push_back(r);
    }
    return matching;
}

class LogoWindowTest : public test::MainWindowTest {
protected:
    CLogoDlg* OpenLogo() {
        window->ShowLogo();
        CLogoDlg* logo = window->LogoWindow();
        EXPECT_NE(logo, nullptr);
        return logo;
    }
    void Press(CLogoDlg* logo) { QTest::mouseClick(FindControlAs<QPushButton>(logo, 1), Qt::LeftButton); }
};

TEST_F(LogoWindowTest, TypingIsRaisedAndHeldToSevenAndOkSendsIt) {
    Open();
    // Ctrl+F6, as the application's hot keys see it, opens the window.
    HotKeys keys({[] { return false; }, {}, [this] { window->ShowLogo(); }, {}, {}});
    window->installEventFilter(&keys);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F6, Qt::ControlModifier);
    QCoreApplication::sendEvent(window.get(), &release);
    window->removeEventFilter(&keys);
    CLogoDlg* logo = window->LogoWindow();
    ASSERT_NE(logo, nullptr);
    QTest::keyClicks(logo->Edit(), "ab-1");
    EXPECT_EQ(logo->Edit()->text(), "AB-1");
    device->ClearRecord();
    Press(logo);
    ASSERT_TRUE(device->WaitForReceived(1, test::kEventTimeout));
    const auto logos = WithCode(device->Received(), CMD_SET_LOGO);
    ASSERT_EQ(logos.size(), 1u);
    EXPECT_EQ(logos[0], BuildCommandReport(CMD_SET_LOGO, {'A', 'B', '-', '1', 32, 32, 32}));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(logo->isVisible());  // it stays open, without a confirmation

    logo->Edit()->clear();
    QTest::keyClicks(logo->Edit(), "abcdefghij");
    EXPECT_EQ(logo->Edit()->text(), "ABCDEFG");
    // The same window again: one logo window only.
    window->ShowLogo();
    EXPECT_EQ(window->LogoWindow(), logo);
}

TEST_F(LogoWindowTest, RefusedTextsSendNothingAndOnlyAnEmptyOneIsCleared) {
    Open();
    CLogoDlg* logo = OpenLogo();
    device->ClearRecord();
    logo->Edit()->setText(QStringLiteral("       "));
    Press(logo);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QString::fromUtf8("没有输入有效字符！"));
    EXPECT_TRUE(logo->Edit()->text().isEmpty());

    logo->Edit()->setText(QStringLiteral("A_B"));
    Press(logo);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].startsWith(QString::fromUtf8("内容中有非法的字符")));
    EXPECT_EQ(logo->Edit()->text(), "A_B");

    logo->Edit()->setMaxLength(32767);  // a pasted text can be longer than the edit takes
    logo->Edit()->setText(QString::fromUtf8("straße"));
    Press(logo);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[2].startsWith(QString::fromUtf8("内容中有非法的字符")));
    test::ProcessQueuedEvents();
    EXPECT_TRUE(WithCode(device->Received(), CMD_SET_LOGO).empty());
}

TEST_F(LogoWindowTest, WithoutADeviceOkTellsSoAndEscapeEndsTheWindow) {
    device->Unplug();
    Open(false);
    CLogoDlg* logo = OpenLogo();
    logo->Edit()->setText(QStringLiteral("AB"));
    Press(logo);
    ASSERT_NE(window->InfoWindow(), nullptr);
    const QString info = window->InfoWindow()->Text();
    EXPECT_TRUE(info == QString::fromUtf8("设备没有连接!") || info == "Device is disconnected!") << info.toStdString();
    EXPECT_TRUE(device->Received().empty());
    QTest::keyClick(logo->Edit(), Qt::Key_Escape);
    EXPECT_TRUE(test::WaitUntil([&] { return window->LogoWindow() == nullptr; }));
}

class AboutWindowTest : public test::MainWindowTest {};

TEST_F(AboutWindowTest, ShowsTheDeviceVersionsTheHistoryAndTheConcealedSwitch) {
    device->SetSubVersion(7);
    Open();
    window->ShowAbout();
    CAboutDlg* about = window->AboutWindow();
    ASSERT_NE(about, nullptr);
    auto* sub = FindControlAs<QLabel>(about, kAboutSubVersionId);
    EXPECT_TRUE(FindControlAs<QLabel>(about, kAboutHardwareId)->text().startsWith(QString::fromUtf8("硬件版本:")));
    EXPECT_EQ(sub->text(), QString::fromUtf8("子版本:07"));
    EXPECT_TRUE(sub->isVisible());
    const QString history = FindControlAs<QPlainTextEdit>(about, kAboutHistoryId)->toPlainText();
    EXPECT_EQ(history.count(QString::fromLatin1(kReleaseSeparatorLine) + "\n"), kReleaseHistoryEntries - 1);
    EXPECT_TRUE(history.startsWith("2013-03-26\n"));
    EXPECT_EQ(QString::fromUtf8(kReleaseHistory).size(), kReleaseHistoryChars);
    EXPECT_TRUE(history.contains("2012-03-27\n"));

    auto* levelSwitch = FindControlAs<QCheckBox>(about, kAboutLevelSwitchId);
    QTest::keyClick(about, Qt::Key_F12);
    EXPECT_FALSE(levelSwitch->isVisible());
    EXPECT_EQ(sub->text(), QString::fromUtf8("子版本:07"));
    QTest::keyClick(about, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sub->text(), QString::fromUtf8("机器名称:KR710Q"));
    ASSERT_TRUE(levelSwitch->isVisible());
    EXPECT_TRUE(levelSwitch->isChecked());
    QTest::mouseClick(levelSwitch, Qt::LeftButton, {}, QPoint(5, levelSwitch->height() / 2));
    EXPECT_FALSE(window->Session().LevelDetection());
    QTest::mouseClick(levelSwitch, Qt::LeftButton, {}, QPoint(5, levelSwitch->height() / 2));
    EXPECT_TRUE(window->Session().LevelDetection());

    // A click in the main window closes it.
    QApplication::setActiveWindow(window.get());
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(test::WaitUntil([&] { return window->AboutWindow() == nullptr; }));
}

TEST_F(AboutWindowTest, WithoutADeviceTheVersionLabelsStayEmpty) {
    device->Unplug();
    Open(false);
    window->ShowAbout();
    CAboutDlg* about = window->AboutWindow();
    EXPECT_TRUE(FindControlAs<QLabel>(about, kAboutHardwareId)->text().isEmpty());
    EXPECT_FALSE(FindControlAs<QLabel>(about, kAboutSubVersionId)->isVisible());
    QTest::keyClick(about, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(FindControl(about, kAboutLevelSwitchId)->isVisible());
}

// The upgrade with an injected image.
class UpgradeTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        image.resize(4000);
        for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 5);
        SetFirmwareImageSource([this]() -> std::optional<FirmwareImage> { return image; });
    }
    // The device comes back in its upgrade mode (as after the key held at power-on).
    // `upgradeAnswer` answers the question whether to upgrade the device now.
    void ReplugInUpgradeMode(MessageAnswer upgradeAnswer = MessageAnswer::No) {
        device->SetUpgradeMode(true);
        device->Unplug();
        ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
        answer = upgradeAnswer;
        device->ClearRecord();
        device->Plug();
        ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 1; }));
        EXPECT_EQ(g_bUpgradeMode.load(), 1);
    }
    CGdipButton* StartButton() const {
        return FindControlAs<CGdipButton>(window->UpgradeWindow(), kUpgradeStartId);
    }
    bool Finished() const { return !FirmwareTransferRunning() && !SyncWorkersRunning(); }
    bool InfoSays(const char* text) const {
        return window->InfoWindow() != nullptr && window->InfoWindow()->Text() == QString::fromUtf8(text);
    }

    test::WindowStateGuard state;
    FirmwareImage image;
};

TEST_F(UpgradeTest, StartUpAsksTheDeviceIntoUpgradeModeAndTheReturningDeviceGetsTheImage) {
    Open();
    window->ShowFirmwareUpgrade();
    CUpgradeDlg* upgrade = window->UpgradeWindow();
    ASSERT_NE(upgrade, nullptr);
    EXPECT_FALSE(upgrade->StatusGreen());
    EXPECT_EQ(FindControlAs<QLabel>(upgrade, kUpgradeVersionId)->text(), "2012-07-05");

    // Answered No: nothing happens.
    device->ClearRecord();
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    EXPECT_TRUE(StartButton()->isEnabled());
    test::ProcessQueuedEvents();
    EXPECT_TRUE(Commands(*device).empty());

    answer = MessageAnswer::Yes;
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    EXPECT_FALSE(StartButton()->isEnabled());
    EXPECT_TRUE(window->Session().TransferRequested());
    ASSERT_TRUE(test::WaitUntil([&] { return !Commands(*device).empty(); }));
    EXPECT_EQ(Commands(*device), std::vector<Report>{BuildCommandReport(CMD_ENTER_LOADER, {})});
    // The device does not come back by itself: the wait window tells the user what to do.
    ASSERT_TRUE(test::WaitUntil([&] { return window->WaitForUpgradeWindow() != nullptr; }));
    EXPECT_EQ(window->WaitForUpgradeWindow()->Text(), QString::fromUtf8("请您按住音乐按键别放，重开关电源进入升级模式！"));

    // Back in upgrade mode: the wait window goes, the transfer starts without a question.
    const std::size_t questions = messages.size();
    device->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
    EXPECT_FALSE(upgrade->StatusGreen());
    device->ClearRecord();
    device->Plug();
    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 1; }));
    EXPECT_TRUE(test::WaitUntil([&] { return window->WaitForUpgradeWindow() == nullptr; }));
    EXPECT_EQ(messages.size(), questions);
    EXPECT_TRUE(upgrade->StatusGreen());
    EXPECT_TRUE(upgrade->Transferring());
    EXPECT_FALSE(window->Session().TransferRequested());
    EXPECT_FALSE(window->Session().MeterPollingActive());  // no synchronisation with a device in upgrade mode

    // A second transfer is refused while this one runs.
    EXPECT_EQ(StartFirmwareTransfer(image), TransferStart::AlreadyRunning);
    // Its close box only hides it; the end of the transfer still finds it and destroys it.
    upgrade->close();
    EXPECT_EQ(window->UpgradeWindow(), upgrade);
    EXPECT_FALSE(upgrade->isVisible());

    ASSERT_TRUE(test::WaitUntil([&] { return window->UpgradeWindow() == nullptr; }));
    EXPECT_EQ(device->FirmwareImage(), image);
    // Not a v1 firmware: the user restarts the device; no restart command.
    ASSERT_NE(window->WaitForUpgradeWindow(), nullptr);
    EXPECT_TRUE(window->WaitForUpgradeWindow()->Text() == QString::fromUtf8("升级完成，请重启机器电源!") ||
                window->WaitForUpgradeWindow()->Text() == "Please restart machine!");
    const auto received = device->Received();
    EXPECT_EQ(received.back()[1], CMD_PIECE);
    EXPECT_TRUE(WithCode(received, CMD_SAVE_MODE).empty());
}

TEST_F(UpgradeTest, AV1DeviceIsRestartedAfterACompleteTransfer) {
    device->SetVersionText('V', '1');
    Open();
    ReplugInUpgradeMode(MessageAnswer::Yes);
    ASSERT_TRUE(test::WaitUntil([&] { return window->UpgradeWindow() != nullptr; }));
    EXPECT_EQ(messages.back(), QString::fromUtf8("机器已进入升级模式，您需要升级吗?"));
    ASSERT_TRUE(test::WaitUntil([&] { return window->UpgradeWindow() == nullptr; }));
    EXPECT_EQ(device->FirmwareImage(), image);
    const auto received = device->Received();
    EXPECT_EQ(received.back(), BuildCommandReport(CMD_SAVE_MODE, {}));
    EXPECT_FALSE(device->InUpgradeMode());
    EXPECT_TRUE(InfoSays("升级完成，正在重启中……") || InfoSays("Restart……"));
}

TEST_F(UpgradeTest, AFailureMidTransferKeepsTheWindowOpenAndSendsNoRestart) {
    device->SetVersionText('V', '1');
    Open();
    ReplugInUpgradeMode();  // answered No: nothing starts
    EXPECT_EQ(window->UpgradeWindow(), nullptr);
    EXPECT_TRUE(device->Received().empty());
    window->ShowFirmwareUpgrade();
    CUpgradeDlg* upgrade = window->UpgradeWindow();
    EXPECT_TRUE(upgrade->StatusGreen());
    device->SetBreakAfter(30);
    upgrade->StartUpgrade(false);
    ASSERT_TRUE(test::WaitUntil([&] { return Finished() && !upgrade->Transferring(); }));
    EXPECT_TRUE(InfoSays("升级失败,请重试!") || InfoSays("Upgrade failed, please retry!"));
    ASSERT_EQ(window->UpgradeWindow(), upgrade);
    EXPECT_TRUE(upgrade->isVisible());
    EXPECT_TRUE(StartButton()->isEnabled());
    const auto received = device->Received();
    EXPECT_TRUE(WithCode(received, CMD_SAVE_MODE).empty());
    for (const Report& r : received) EXPECT_FALSE(r[1] == CMD_PIECE && r[2] == kTransferMarker);
}

TEST_F(UpgradeTest, AnImageOfTheWrongSizeOrNoImageSendsNothing) {
    Open();
    ReplugInUpgradeMode();
    window->ShowFirmwareUpgrade();
    CUpgradeDlg* upgrade = window->UpgradeWindow();
    for (std::size_t size : {std::size_t{2}, kMaxFirmwareBytes + 1}) {
        image.assign(size, 0x42);
        upgrade->StartUpgrade(false);
        EXPECT_TRUE(InfoSays("升级失败,请重试!") || InfoSays("Upgrade failed, please retry!"));
        EXPECT_TRUE(StartButton()->isEnabled());
        EXPECT_FALSE(upgrade->Transferring());
    }
    SetFirmwareImageSource({});
    upgrade->StartUpgrade(false);
    EXPECT_TRUE(InfoSays("升级失败,请重试!") || InfoSays("Upgrade failed, please retry!"));
    test::ProcessQueuedEvents();
    EXPECT_FALSE(FirmwareTransferRunning());
    EXPECT_TRUE(device->Received().empty());
}

TEST_F(UpgradeTest, ClosingTheMainWindowStopsTheTransferBeforeTheGoodbye) {
    image.assign(60000, 0x5A);
    device->SetAnswerDelay(std::chrono::milliseconds(3));
    Open();
    ReplugInUpgradeMode();
    window->ShowFirmwareUpgrade();
    window->UpgradeWindow()->StartUpgrade(false);
    ASSERT_TRUE(device->WaitForReceived(30, test::kEventTimeout));
    // Some progress for the picture of a transfer under way.
    ASSERT_TRUE(test::WaitUntil([&] { return FindControlAs<QProgressBar>(window->UpgradeWindow(), kUpgradeBarId)->value() > 0; }));
    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
    window->UpgradeWindow()->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/upgrade-transferring.png"));
    // Hidden by its close box, the window goes on transferring.
    window->UpgradeWindow()->close();
    ASSERT_NE(window->UpgradeWindow(), nullptr);
    EXPECT_TRUE(window->UpgradeWindow()->Transferring());
    window->close();
    EXPECT_FALSE(FirmwareTransferRunning());
    EXPECT_FALSE(SyncWorkersRunning());
    const auto received = device->Received();
    // The last report is the goodbye of a device in upgrade mode; no piece follows it.
    EXPECT_EQ(received.back(), BuildCommandReport(CMD_SELECT_MODE, {0, 0, 1}));
    EXPECT_LT(device->FirmwareImage().size(), image.size());
}

TEST_F(UpgradeTest, StartUpWithoutADeviceAsksNothingAndSendsNothing) {
    device->Unplug();
    Open(false);
    window->ShowFirmwareUpgrade();
    answer = MessageAnswer::Yes;
    QTest::mouseClick(StartButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(InfoSays("请先连接设备!"));
    EXPECT_TRUE(StartButton()->isEnabled());
    EXPECT_TRUE(device->Received().empty());
}

}  // namespace
}  // namespace sonoria
