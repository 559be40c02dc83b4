// Windows reached from the Function window: About closes with it, and the
// windows that would wait for the device (remote learning, wireless pairing,
// the upgrade) show the disconnected notice after a lost link and send nothing.
#include "app/MainWindowFixture.h"

#include <QAbstractButton>
#include <QPointer>

#include <chrono>
#include <functional>
#include <thread>

#include "admin/CAboutDlg.h"
#include "admin/CDlgFunction.h"
#include "admin/CInfoDlg.h"
#include "admin/CRemoteDlg.h"
#include "admin/CUpgradeDlg.h"
#include "admin/CWMicDlg.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;

class FunctionSubWindowsTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        device = std::make_shared<VirtualDevice>("KR710QX");
        MainWindowTest::SetUp();
    }
    QString TakeInfoText() {
        QPointer<CInfoDlg> info = window->InfoWindow();
        const QString text = info.isNull() ? QString() : info->Text();
        delete info.data();
        return text;
    }
};

TEST_F(FunctionSubWindowsTest, AboutOpenedFromTheFunctionWindowClosesWithIt) {
    Open();
    window->ShowFunction();
    QPointer<CDlgFunction> function = window->FunctionWindow();
    FindControlAs<QAbstractButton>(function, CDlgFunction::kAboutId)->click();
    QPointer<CAboutDlg> about = window->AboutWindow();
    ASSERT_FALSE(about.isNull());
    EXPECT_EQ(about->parentWidget(), function.data());

    // Closed with its owner: the reference goes at once, before Qt deletes either.
    function->close();
    EXPECT_EQ(window->AboutWindow(), nullptr);
    ASSERT_FALSE(about.isNull());
    EXPECT_FALSE(about->isVisible());
    // Opened again meanwhile from the main window: a new one, owned by it.
    window->ShowAbout();
    QPointer<CAboutDlg> again = window->AboutWindow();
    ASSERT_FALSE(again.isNull());
    EXPECT_NE(again.data(), about.data());
    EXPECT_EQ(again->parentWidget(), window.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return about.isNull() && function.isNull(); }, 5000));
    EXPECT_EQ(window->AboutWindow(), again.data());
    EXPECT_TRUE(again->isVisible());

    // From a new Function window, the main window's About gives way to one it owns.
    window->ShowFunction();
    FindControlAs<QAbstractButton>(window->FunctionWindow(), CDlgFunction::kAboutId)->click();
    ASSERT_NE(window->AboutWindow(), nullptr);
    EXPECT_EQ(window->AboutWindow()->parentWidget(), window->FunctionWindow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return again.isNull(); }, 5000));
    QTest::keyClick(window->FunctionWindow(), Qt::Key_Escape);
    EXPECT_EQ(window->AboutWindow(), nullptr);
}

TEST_F(FunctionSubWindowsTest, AfterALostLinkTheWaitingWindowsShowTheNoticeAndSendNothing) {
    Open();
    window->ShowRemoteLearning();
    window->ShowWirelessMics();
    window->ShowFirmwareUpgrade();
    answer = MessageAnswer::Yes;  // should the upgrade question come, it would be answered Yes
    const struct {
        const char* window;
        std::function<void()> act;
        const char* english;
        const char* chinese;
        std::function<bool()> waiting;
    } cases[] = {
        {"remote learning", [&] { window->RemoteWindow()->LearnKey(7); }, "Device is disconnected!", "设备没有连接!",
         [&] { return window->RemoteWindow()->Progress() != nullptr; }},
        {"wireless pairing", [&] { window->WirelessWindow()->Pair(0); }, "Device is disconnected!", "设备没有连接!",
         [&] { return window->WirelessWindow()->PairingPending(); }},
        {"upgrade", [&] { FindControlAs<QAbstractButton>(window->UpgradeWindow(), kUpgradeStartId)->click(); },
         "请先连接设备!", "请先连接设备!", [&] { return window->Session().TransferRequested(); }},
    };
    const int language = CurrentLanguage();
    device->BreakLink();
    // First while the window has not yet heard of the loss, then after it has.
    while (g_bReadThreadEnd.load() == 0) std::this_thread::sleep_for(5ms);
    device->ClearRecord();
    for (const bool handled : {false, true}) {
        if (handled) {
            ASSERT_TRUE(QTest::qWaitFor([] { return g_bDeviceOpen.load() == 0; }, 5000));
        }
        for (const int shown : {kLanguageEnglish, kLanguageChinese}) {
            SetCurrentLanguage(shown);
            for (const auto& c : cases) {
                c.act();
                if (handled && window->InfoWindow() != nullptr) {
                    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
                    window->InfoWindow()->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/notice-%1-%2.png")
                                                          .arg(QString::fromUtf8(c.window).replace(' ', '-'))
                                                          .arg(shown == kLanguageEnglish ? "en" : "zh"));
                }
                EXPECT_EQ(TakeInfoText(), QString::fromUtf8(shown == kLanguageEnglish ? c.english : c.chinese))
                    << c.window << " handled " << handled;
                EXPECT_FALSE(c.waiting()) << c.window;
            }
        }
    }
    SetCurrentLanguage(language);
    EXPECT_TRUE(messages.empty());  // no upgrade question
    EXPECT_TRUE(FindControl(window->UpgradeWindow(), kUpgradeStartId)->isEnabled());
    EXPECT_TRUE(device->Received().empty());
}

}  // namespace
}  // namespace sonoria
