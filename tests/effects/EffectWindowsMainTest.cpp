// The effect windows in the main window: the Efx flow button opens one effect
// window and reuses it, synchronisation and language changes reach both
// windows, and every way of closing the effect window with its multi-tap
// window open tears both down safely (run these under AddressSanitizer too).
#include "app/MainWindowFixture.h"

#include <QComboBox>
#include <QPointer>

#include "controls/ControlText.h"
#include "eq/ui/CEqPanel.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"

namespace sonoria::test {
namespace {

constexpr int kEfxButton = 2208;

class EffectWindowsTest : public MainWindowTest {
protected:
    std::vector<Report> ParameterCommands() const {
        std::vector<Report> commands;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM || r[1] == CMD_GET_PARAM) commands.push_back(r);
        }
        return commands;
    }
    // Opens the effect window from its flow button, then its multi-tap window.
    void OpenBoth() {
        QTest::mouseClick(FindControl(window.get(), kEfxButton), Qt::LeftButton);
        effect = window->EffectWindow();
        ASSERT_NE(effect, nullptr);
        QTest::mouseClick(FindControl(effect.data(), CEfxDlg::kAdvancedId), Qt::LeftButton);
        taps = window->MultiTapWindow();
        ASSERT_NE(taps, nullptr);
        ASSERT_TRUE(taps->isVisible());
    }
    void ExpectBothGone() {
        EXPECT_EQ(window ? window->EffectWindow() : nullptr, nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(effect, nullptr);
        EXPECT_EQ(taps, nullptr);
    }
    void SetUp() override {
        MainWindowTest::SetUp();
        device->SetParam(2, 7, 0, 4);  // multi-tap echo: "Advanced" is enabled
    }

    QPointer<CEfxDlg> effect;
    QPointer<CTapDlg> taps;
};

TEST_F(EffectWindowsTest, TheEfxButtonOpensOneWindowAndOpeningSendsNothing) {
    Open();
    device->ClearRecord();
    OpenBoth();
    EXPECT_TRUE(effect->isVisible());
    QTest::mouseClick(FindControl(window.get(), kEfxButton), Qt::LeftButton);
    // The click on the main window closed it; the button opens a new one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(window->EffectWindow(), nullptr);
    QPointer<CEfxDlg> second = window->EffectWindow();
    window->ShowEffect();
    EXPECT_EQ(window->EffectWindow(), second.data());
    EXPECT_TRUE(ParameterCommands().empty());
}

TEST_F(EffectWindowsTest, SynchronisationAndLanguageReachBothWindows) {
    Open();
    OpenBoth();
    ASSERT_EQ(window->Language(), kLanguageChinese);
    EXPECT_EQ(effect->windowTitle(), QString::fromUtf8("话筒效果"));
    EXPECT_EQ(taps->windowTitle(), QString::fromUtf8("高级设置"));
    EXPECT_EQ(ControlText(FindControl(effect.data(), 1080)), QString::fromUtf8("回声反馈高频衰减"));

    // English: the multi-tap window is named in the English table; the effect
    // window is not, and keeps its texts, while its lists follow.
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    EXPECT_EQ(taps->windowTitle(), QStringLiteral("Multi Tap Setting"));
    EXPECT_EQ(ControlText(FindControl(taps.data(), 1053)), QStringLiteral("Echo1 Delay"));
    EXPECT_EQ(effect->windowTitle(), QString::fromUtf8("话筒效果"));
    EXPECT_EQ(FindControlAs<QComboBox>(effect.data(), CEfxDlg::kEchoTypeList)->currentText(),
              QStringLiteral("4: Multi Tap Echo"));

    // After a synchronisation both show what the device holds.
    g_Device.extendedEcho.store(0);
    SetParamFirst(2, 17, 127);
    SetParamFirst(2, 13, 64);
    device->ClearRecord();
    window->RefreshAfterSync();
    EXPECT_EQ(effect->EchoPanel()->GetLayout(), kEqLayoutEcho);
    EXPECT_EQ(taps->Slider(2108)->GetPos(), 127);
    EXPECT_EQ(effect->Slider(2131)->GetPos(), 64);
    g_Device.extendedEcho.store(1);
    window->RefreshAfterSync();
    EXPECT_EQ(effect->EchoPanel()->GetLayout(), kEqLayoutEchoThreePoint);
    EXPECT_TRUE(ParameterCommands().empty());
}

TEST_F(EffectWindowsTest, ClosingTheEffectWindowByItsCloseBoxTakesTheTapWindowAlong) {
    Open();
    OpenBoth();
    EXPECT_TRUE(effect->close());
    ExpectBothGone();
}

TEST_F(EffectWindowsTest, AClickOnTheMainWindowClosesBoth) {
    Open();
    OpenBoth();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), test::kEventTimeoutMs));
    QTest::mouseClick(FindControl(window.get(), IDC_STATUS_TEXT), Qt::LeftButton);
    ExpectBothGone();
    // And through the service itself, with nothing open.
    window->CloseTransientWindows();
}

TEST_F(EffectWindowsTest, ClosingTheMainWindowClosesBoth) {
    Open();
    OpenBoth();
    window->close();
    EXPECT_EQ(window->EffectWindow(), nullptr);
    window.reset();
    ExpectBothGone();
}

TEST_F(EffectWindowsTest, DestroyingTheMainWindowWithBothOpenIsSafe) {
    Open();
    OpenBoth();
    window.reset();
    EXPECT_EQ(effect, nullptr);
    EXPECT_EQ(taps, nullptr);
}

}  // namespace
}  // namespace sonoria::test
