// The signal-flow panel: its buttons and switches as built from the template,
// the value captions, what a click opens, and the centre/sub to rear routing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/ControlFactories.h"
#include "controls/ControlText.h"
#include "app/FlowPanel.h"
#include "app/Localization.h"
#include "app/MainWindowTemplate.h"
#include "controls/CGdipButton.h"
#include "controls/ImageLoader.h"
#include "link/CommandSender.h"
#include "link/HostMessages.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"
#include "ui/Waits.h"
#include "ui/WindowState.h"

namespace sonoria {
namespace {

// The main window's volume captions the routing renames, where the main window has them.
const ControlSpec kVolumeCaptions[] = {
    {IDC_CENTER_CAPTION, ControlKind::Label, "CENTER", 289, 1, 48, 8},
    {IDC_SUB_CAPTION, ControlKind::Label, "SUB", 401, 1, 29, 8},
};

// A stand-in for the main window: paints the panel frame and the routing
// diagram as the main window does, so the buttons pick up that background.
class PanelWindow : public QWidget {
public:
    PanelWindow() {
        std::vector<ControlSpec> controls(FlowPanelControls().begin(), FlowPanelControls().end());
        controls.insert(controls.end(), std::begin(kVolumeCaptions), std::end(kVolumeCaptions));
        m_controls = std::move(controls);
        BuildDialog(this, {kMainDialogId, "SONORIA-S2", kMainWidthDu, kMainHeightDu, kMainWindowFont, m_controls});
        // The main window gives the switches its dark colours.
        for (int id : {IDC_SHIFT_SWITCH, IDC_PITCH_SWITCH, IDC_REAR_SWITCH})
            FindControl(this, id)->setStyleSheet("QCheckBox { color: white; background: rgb(32,32,32); }");
        LoadPngImage(283, m_normalDiagram);
        LoadPngImage(352, m_rearDiagram);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(199, 199, 199));
        painter.fillRect(FindControl(this, IDC_PANEL_FRAME)->geometry(), QColor(32, 32, 32));
        const QImage& diagram = g_Device.rearRouting.load() == 1 ? m_rearDiagram : m_normalDiagram;
        painter.drawImage(QRectF(FindControl(this, IDC_DIAGRAM_AREA)->geometry()), diagram);
    }

private:
    std::vector<ControlSpec> m_controls;
    QImage m_normalDiagram;
    QImage m_rearDiagram;
};

class FlowPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterControlFactories();
        ResetDeviceState();
        SetCurrentLanguage(kLanguageChinese);
        window = std::make_unique<PanelWindow>();
        panel = new FlowPanel(window.get(), RecordingActions());
        panel->Init();
    }

    // Every call the panel makes into the main window, as text.
    FlowPanelActions RecordingActions() {
        auto note = [this](std::string text) { calls.push_back(std::move(text)); };
        FlowPanelActions actions;
        actions.showInfo = [this, note](const QString& text, int ms) {
            infoTexts.push_back(text);
            waitCursorDuringInfo = QGuiApplication::overrideCursor() != nullptr &&
                                   QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
            note("info " + std::to_string(ms));
        };
        actions.showLevelPopup = [note](int id) { note("level " + std::to_string(id)); };
        actions.showMixPopup = [note](int id) { note("mix " + std::to_string(id)); };
        actions.showDelayWindow = [note](int id) { note("delay " + std::to_string(id)); };
        actions.showEffect = [note] { note("effect"); };
        actions.showPage = [note](int page) { note("page " + std::to_string(page)); };
        actions.setupPage = [note](int page, int id) { note("setup " + std::to_string(page) + " " + std::to_string(id)); };
        actions.refreshVolumeStrip = [note] { note("volumes"); };
        actions.invalidate = [note] { note("invalidate"); };
        actions.changeRouting = [this, note](bool toRear) {
            note(toRear ? "route rear" : "route front");
            if (startRouting) startRouting(toRear);
        };
        return actions;
    }

    CGdipButton* Button(int id) const { return panel->FlowButton(id); }
    QString Caption(int id) const { return ControlText(Button(id)); }
    QString Text(int id) const { return ControlText(FindControl(window.get(), id)); }
    int Bottom(int id) const { return Button(id)->y() + Button(id)->height(); }

    test::WindowStateGuard state;
    std::vector<std::string> calls;
    std::vector<QString> infoTexts;
    bool waitCursorDuringInfo = false;
    std::function<void(bool toRear)> startRouting;  // what runs the routing change, if anything
    // Last, so that the panel goes first: its actions note into the members above.
    std::unique_ptr<PanelWindow> window;
    FlowPanel* panel = nullptr;  // owned by the window
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST_F(FlowPanelTest, OnlyTheTemplatesVisibleEnabledButtonsCanBeClicked) {
    std::set<int> ids;
    for (const ControlSpec& control : FlowPanelControls()) ids.insert(control.id);
    for (int id = IDC_FLOW_FIRST; id <= IDC_FLOW_LAST; ++id) EXPECT_TRUE(ids.count(id)) << id;
    EXPECT_EQ(FlowPanelControls().size(), std::size_t(kFlowButtonCount + 5));

    const std::set<int> clickable = {2200, 2201, 2202, 2203, 2204, 2205, 2206, 2208, 2212, 2213, 2214,
                                     2215, 2216, 2217, 2218, 2219, 2220, 2221, 2222, 2223, 2224, 2226,
                                     2227, 2229, 2230, 2239, 2240};
    for (int id = IDC_FLOW_FIRST; id <= IDC_FLOW_LAST; ++id) {
        ASSERT_NE(Button(id), nullptr) << id;
        EXPECT_EQ(!Button(id)->isHidden() && Button(id)->isEnabled(), clickable.count(id) == 1) << id;
    }
    // The output labels are shown but greyed out.
    for (int id : {2232, 2233, 2234, 2235}) EXPECT_FALSE(Button(id)->isHidden()) << id;
    EXPECT_TRUE(FindControl(window.get(), IDC_PITCH_SWITCH)->isHidden());
    EXPECT_FALSE(FindControl(window.get(), IDC_REAR_SWITCH)->isHidden());
    // The painted areas are rectangles only.
    EXPECT_TRUE(FindControl(window.get(), IDC_DIAGRAM_AREA)->isHidden());
    EXPECT_EQ(FindControl(window.get(), IDC_PANEL_FRAME)->geometry(), DialogUnitsToPixels(kMainWindowFont, 1, 25, 504, 115));
}

TEST_F(FlowPanelTest, InitGivesPicturesCaptionColoursAndChineseHints) {
    QImage blue, glow;
    ASSERT_EQ(LoadPngImage(292, blue), 1);
    ASSERT_EQ(LoadPngImage(294, glow), 1);
    EXPECT_EQ(Button(2202)->StandardImage().Image(), blue);
    EXPECT_EQ(Button(2206)->StandardImage().Image(), blue);
    EXPECT_EQ(Button(2240)->AlternateImage().Image(), glow);
    EXPECT_NE(Button(2200)->StandardImage().Image(), blue);

    EXPECT_EQ(Button(2200)->CaptionColor(), QColor(60, 240, 40));
    EXPECT_EQ(Button(2233)->CaptionColor(), QColor(120, 120, 120));
    EXPECT_EQ(Button(2238)->CaptionColor(), QColor(120, 120, 120));

    SetCurrentLanguage(kLanguageEnglish);
    panel->Init();
    EXPECT_EQ(Button(2203)->toolTip(), U("话筒直达声总音量"));
    EXPECT_EQ(Button(2203)->HintText(), U("话筒直达声总音量"));
    EXPECT_TRUE(Button(2239)->toolTip().isEmpty());
}

TEST_F(FlowPanelTest, CaptionsShowValuesInBothLanguages) {
    SetParam(7, 24, {3, 192});   // 960 samples
    SetParam(5, 24, {0, 48});    // 48 samples
    SetParam(7, 25, {0, 36});    // phase step 36
    SetParam(2, 25, {100, 0});
    SetParam(1, 23, {127, 0});   // the highest shift
    SetParam(5, 1, {66, 0});     // two semitones up
    SetParam(5, 18, {12, 0});

    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2217), U("延时 10.00ms"));
    EXPECT_EQ(Caption(2215), U("延时 0.50ms"));
    EXPECT_EQ(Caption(2213), U("相位 180°"));
    EXPECT_EQ(Caption(2203), U("直达音量 100"));
    EXPECT_EQ(Caption(2201), U("移频 +5.0Hz"));
    EXPECT_EQ(Caption(2205), U("变调# +2"));
    EXPECT_EQ(Caption(2239), U("话筒 12"));

    SetCurrentLanguage(kLanguageEnglish);
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2217), "Delay 10.00ms");
    EXPECT_EQ(Caption(2213), U("Phase 180°"));
    EXPECT_EQ(Caption(2203), "Direct 100");
    EXPECT_EQ(Caption(2201), "MFS +5.0Hz");
    EXPECT_EQ(Caption(2205), "Pitch# +2");
    EXPECT_EQ(Caption(2239), "Mic 12");
    // Blocks without a value keep what the template or the language table gave them.
    EXPECT_EQ(Caption(2202), "PEQ");
}

TEST_F(FlowPanelTest, AnUnsetPitchReadsAsNoShift) {
    SetParam(5, 1, {0, 0});
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2205), U("变调 +0"));
    SetParam(5, 1, {62, 0});
    SetCurrentLanguage(kLanguageEnglish);
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2205), "Pitchb -2");
}

TEST_F(FlowPanelTest, GateCaptionFollowsTheMachineName) {
    SetParam(1, 2, {199, 0});  // (199 - 1) / 3 - 66 = 0 dB
    for (const char* baseName : {"KR710", "kr710", "KR710P"}) {
        g_Device.machineName.Set(baseName);
        SetCurrentLanguage(kLanguageChinese);
        panel->RefreshFlowCaptions();
        EXPECT_EQ(Caption(2200), U("噪声门0.0dB")) << baseName;
        SetCurrentLanguage(kLanguageEnglish);
        panel->RefreshFlowCaptions();
        EXPECT_EQ(Caption(2200), "MNG 0.0dB") << baseName;
    }
    SetParam(1, 2, {0, 0});
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2200), "MNG Bypass");

    g_Device.machineName.Set("KR710Q");
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2200), "MNG+CP");
    SetCurrentLanguage(kLanguageChinese);
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2200), U("噪声门+压限"));
    // The music gate has its own value whatever the model.
    EXPECT_EQ(Caption(2204), U("噪声门关闭"));
}

TEST_F(FlowPanelTest, SubAndCentreCaptionsReadTheCopyInUse) {
    SetParam(7, 15, {10, 0}, ParamCopy::Normal);
    SetParam(7, 15, {20, 0}, ParamCopy::Rear);
    SetParam(8, 24, {0, 96}, ParamCopy::Normal);
    SetParam(8, 24, {1, 32}, ParamCopy::Rear);  // 288 samples
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2229), U("话筒 10"));
    EXPECT_EQ(Caption(2216), U("延时 1.00ms"));
    g_Device.rearRouting.store(1);
    panel->RefreshFlowCaptions();
    EXPECT_EQ(Caption(2229), U("话筒 20"));
    EXPECT_EQ(Caption(2216), U("延时 3.00ms"));
}

TEST_F(FlowPanelTest, AClickLightsTheButtonAndOpensItsEditor) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), test::kEventTimeoutMs));
    QTest::mouseClick(Button(2203), Qt::LeftButton);
    EXPECT_EQ(calls, std::vector<std::string>{"level 2203"});
    EXPECT_EQ(panel->SelectedBlock(), 2203);
    EXPECT_TRUE(Button(2203)->IsSelected());
    EXPECT_EQ(Button(2203)->CaptionColor(), QColor(Qt::white));

    Button(2208)->SetGreyed(true);
    QTest::mouseClick(Button(2208), Qt::LeftButton);
    EXPECT_EQ(calls.back(), "effect");
    EXPECT_FALSE(Button(2203)->IsSelected());
    EXPECT_EQ(Button(2203)->CaptionColor(), QColor(60, 240, 40));
    EXPECT_TRUE(Button(2208)->IsSelected());
    EXPECT_FALSE(Button(2208)->IsGreyed());
    int selected = 0;
    for (int id = IDC_FLOW_FIRST; id <= IDC_FLOW_LAST; ++id) selected += Button(id)->IsSelected();
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(Button(2234)->CaptionColor(), QColor(120, 120, 120));
}

TEST_F(FlowPanelTest, EachBlockOpensItsOwnEditor) {
    g_Device.machineName.Set("KR710Q");
    const std::vector<std::pair<int, std::vector<std::string>>> expected = {
        {2200, {"setup 0 2200", "page 0"}},
        {2202, {"setup 1 2202", "page 1"}},
        {2206, {"setup 1 2206", "page 1"}},
        {2218, {"setup 2 2218", "page 2"}},
        {2219, {"setup 2 2219", "page 2"}},
        {2220, {"setup 3 2220", "page 3"}},
        {2214, {"setup 3 2214", "page 3"}},
        {2201, {"level 2201"}},
        {2205, {"level 2205"}},
        {2213, {"level 2213"}},
        {2240, {"level 2240"}},
        {2226, {"mix 2226"}},
        {2239, {"mix 2239"}},
        {2215, {"delay 2215"}},
        {2217, {"delay 2217"}},
        {2208, {"effect"}},
    };
    for (const auto& [id, actions] : expected) {
        calls.clear();
        panel->SelectFlowBlock(id);
        EXPECT_EQ(calls, actions) << id;
    }
    EXPECT_EQ(panel->CurrentPage(), kCenterSubEqPage);  // popups leave the page alone

    // On the base model the gate button is a one-slider popup.
    g_Device.machineName.Set("kr710");
    calls.clear();
    panel->SelectFlowBlock(2200);
    EXPECT_EQ(calls, std::vector<std::string>{"level 2200"});
    EXPECT_EQ(panel->CurrentPage(), kCenterSubEqPage);
}

TEST_F(FlowPanelTest, HiddenAndDisabledBlocksDoNothing) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), test::kEventTimeoutMs));
    panel->SelectFlowBlock(2203);
    calls.clear();
    QTest::mouseClick(Button(2233), Qt::LeftButton);
    QTest::mouseClick(Button(2235), Qt::LeftButton);
    for (int id : {2207, 2225, 2231, 2237, 2238, 2232, 2199, 2241}) panel->SelectFlowBlock(id);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(panel->SelectedBlock(), 2203);
    EXPECT_FALSE(Button(2233)->IsSelected());

    g_Device.rearRouting.store(1);
    panel->RefreshRoutingDisplay();
    calls.clear();
    panel->SelectFlowBlock(2212);
    EXPECT_TRUE(calls.empty());
}

TEST_F(FlowPanelTest, RoutingDisplayHidesCentreBlocksMovesAndRenamesOutputs) {
    const int centerLabelTop = Button(2233)->y();
    const int subLabelTop = Button(2232)->y();
    const std::vector<int> centreBlocks = {2212, 2220, 2221, 2226, 2227, 2213, 2214, 2216};

    g_Device.rearRouting.store(1);
    panel->RefreshRoutingDisplay();
    for (int id : centreBlocks) EXPECT_TRUE(Button(id)->isHidden()) << id;
    EXPECT_FALSE(Button(2222)->isHidden());
    EXPECT_EQ(Bottom(2233), Bottom(2222));
    EXPECT_EQ(Button(2232)->y(), Button(2223)->y());
    EXPECT_EQ(Button(2233)->x(), DialogUnitsToPixels(kMainWindowFont, 451, 0, 0, 0).x());
    EXPECT_EQ(Caption(2233), U("后置左(R.L)"));
    EXPECT_EQ(Caption(2232), U("后置右(R.R)"));
    EXPECT_EQ(Text(IDC_CENTER_CAPTION), U("后置左"));
    EXPECT_EQ(Text(IDC_SUB_CAPTION), U("后置右"));
    EXPECT_EQ(calls, (std::vector<std::string>{"setup 3 0", "volumes", "invalidate"}));

    // English: the rear captions name the same sides as the Chinese ones.
    SetCurrentLanguage(kLanguageEnglish);
    panel->RefreshRoutingDisplay();
    EXPECT_EQ(Caption(2233), "Rear L(R.L)");
    EXPECT_EQ(Caption(2232), "Rear R(R.R)");
    EXPECT_EQ(Text(IDC_CENTER_CAPTION), "Rear.L");
    EXPECT_EQ(Text(IDC_SUB_CAPTION), "Rear.R");

    g_Device.rearRouting.store(0);
    panel->RefreshRoutingDisplay();
    for (int id : centreBlocks) EXPECT_FALSE(Button(id)->isHidden()) << id;
    // Back where the template has them.
    EXPECT_EQ(Button(2233)->y(), centerLabelTop);
    EXPECT_EQ(Button(2233)->y(), Button(2212)->y());
    EXPECT_EQ(Button(2232)->y(), subLabelTop);
    EXPECT_EQ(Bottom(2232), Bottom(2222));
    EXPECT_EQ(Button(2213)->y(), Button(2223)->y());
    EXPECT_EQ(Caption(2233), "Center(C)");
    EXPECT_EQ(Caption(2232), "Sub(S)");
    EXPECT_EQ(Text(IDC_CENTER_CAPTION), "Center");
    EXPECT_EQ(Text(IDC_SUB_CAPTION), "Sub");
    SetCurrentLanguage(kLanguageChinese);
    panel->RefreshRoutingDisplay();
    EXPECT_EQ(Caption(2233), U("中置输出(C)"));
    EXPECT_EQ(Text(IDC_SUB_CAPTION), U("超低音量"));
}

TEST_F(FlowPanelTest, ALanguageChangeKeepsTheRearNames) {
    g_Device.rearRouting.store(1);
    panel->RefreshRoutingDisplay();
    // What the main window's language switch does: table texts first, then the routing display.
    ASSERT_TRUE(LoadLanguage(kLanguageEnglish));
    ApplyLanguageTexts(window.get(), kMainDialogId);
    EXPECT_EQ(Caption(2233), "Center(C)");  // the table alone would undo the routing
    panel->RefreshRoutingDisplay();
    EXPECT_EQ(Caption(2233), "Rear L(R.L)");
    EXPECT_EQ(Caption(2232), "Rear R(R.R)");
    EXPECT_EQ(Text(IDC_CENTER_CAPTION), "Rear.L");
    EXPECT_EQ(Text(IDC_SUB_CAPTION), "Rear.R");
    EXPECT_TRUE(Button(2212)->isHidden());
    ASSERT_TRUE(LoadLanguage(kLanguageChinese));
}

TEST_F(FlowPanelTest, RearRoutingOnTheCentreSubPageSetsItUpForTheRear) {
    panel->SelectFlowBlock(2221);
    calls.clear();
    g_Device.rearRouting.store(1);
    panel->RefreshRoutingDisplay();
    EXPECT_EQ(calls, (std::vector<std::string>{"setup 3 -1", "page 3", "setup 3 0", "volumes", "invalidate"}));
}

// With the virtual device on the link, as the program runs with it.
class FlowPanelDeviceTest : public FlowPanelTest {
protected:
    void SetUp() override {
        FlowPanelTest::SetUp();
        startRouting = StartRearRouting;
        SetHidBackend(device);
        g_bSyncIdle.store(1);
        ASSERT_EQ(ConnectDeviceImage(&test::NoListener()), 1);
        // Low rear volumes keep the routing change from ramping.
        SetParam(7, 22, {0, 5}, ParamCopy::Rear);
        SetParam(8, 22, {0, 5}, ParamCopy::Rear);
        device->ClearRecord();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), test::kEventTimeoutMs));
    }
    static Report Set(int block, int index, int first, int second) {
        return BuildCommandReport(9, {block, index, first, second});
    }

    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
};

TEST_F(FlowPanelDeviceTest, RoutingSwitchSilencesTheOutputsAndShowsTheRear) {
    auto* rear = FindControlAs<QCheckBox>(window.get(), IDC_REAR_SWITCH);
    QTest::mouseClick(rear, Qt::LeftButton);
    // The click comes back before the change has run; the panel waits for its end.
    EXPECT_TRUE(panel->RoutingChangeRunning());
    EXPECT_FALSE(Button(2212)->isHidden());
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    panel->OnRoutingDone();

    EXPECT_EQ(g_Device.rearRouting.load(), 1);
    ASSERT_EQ(infoTexts.size(), 1u);
    EXPECT_EQ(infoTexts[0], U("中置超低转后置输出"));
    EXPECT_TRUE(waitCursorDuringInfo);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const std::vector<Report> received = device->Received();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0], Set(7, 22, 0, 0));
    EXPECT_EQ(received[1], Set(8, 22, 0, 0));
    EXPECT_EQ(device->Param(4, 32).first, 0);  // the device routes to the rear now
    EXPECT_EQ(device->Param(4, 33).first, 127);
    EXPECT_EQ(calls.front(), "info 1500");
    EXPECT_TRUE(Button(2212)->isHidden());
    EXPECT_EQ(Caption(2233), U("后置左(R.L)"));
    // The captions now show the rear copy.
    EXPECT_EQ(Caption(2229), QString(U("话筒 %1")).arg(GetParam(7, 15, ParamCopy::Rear).first));

    SetCurrentLanguage(kLanguageEnglish);
    device->ClearRecord();
    QTest::mouseClick(rear, Qt::LeftButton);
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    panel->OnRoutingDone();
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
    ASSERT_EQ(infoTexts.size(), 2u);
    EXPECT_EQ(infoTexts[1], "Rear to center sub");
    EXPECT_EQ(device->Received().at(0), Set(7, 22, 0, 0));
    EXPECT_EQ(device->Param(4, 32).first, 64);
    EXPECT_FALSE(Button(2212)->isHidden());
    EXPECT_EQ(Caption(2233), "Center(C)");
}

TEST_F(FlowPanelTest, RoutingSwitchNoticeInEnglishAndPageSetupWhenTheChangeEnds) {
    SetCurrentLanguage(kLanguageEnglish);
    panel->OnRoutingSwitch(true);
    ASSERT_EQ(infoTexts.size(), 1u);
    EXPECT_EQ(infoTexts[0], "Center sub to rear");
    EXPECT_EQ(calls, (std::vector<std::string>{"info 1500", "route rear"}));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // A second click while the change runs is undone and starts nothing.
    auto* rear = FindControlAs<QCheckBox>(window.get(), IDC_REAR_SWITCH);
    rear->setChecked(true);
    panel->OnRoutingSwitch(false);
    EXPECT_TRUE(rear->isChecked());
    EXPECT_EQ(calls.size(), 2u);

    calls.clear();
    g_Device.rearRouting.store(1);  // what the change did to the image
    panel->OnRoutingDone();
    // The centre/sub page is set up for the rear and the current page (still 1) shown again.
    EXPECT_EQ(calls, (std::vector<std::string>{"setup 3 -1", "page 1", "setup 3 0", "volumes", "invalidate"}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Text(IDC_CENTER_CAPTION), "Rear.L");
    // Only the end of a change the panel started counts.
    calls.clear();
    panel->OnRoutingDone();
    EXPECT_TRUE(calls.empty());
}

TEST_F(FlowPanelDeviceTest, ShiftSwitchSendsAndMirroringSendsNothing) {
    SetParam(1, 22, {0, 1});
    SetParam(5, 0, {0, 1});
    g_Device.rearRouting.store(1);
    panel->CheckBoxesFromImage();
    EXPECT_TRUE(FindControlAs<QCheckBox>(window.get(), IDC_SHIFT_SWITCH)->isChecked());
    EXPECT_TRUE(FindControlAs<QCheckBox>(window.get(), IDC_PITCH_SWITCH)->isChecked());
    EXPECT_TRUE(FindControlAs<QCheckBox>(window.get(), IDC_REAR_SWITCH)->isChecked());
    EXPECT_TRUE(device->Received().empty());
    EXPECT_TRUE(infoTexts.empty());

    QTest::mouseClick(FindControl(window.get(), IDC_SHIFT_SWITCH), Qt::LeftButton);
    ASSERT_TRUE(device->WaitForReceived(1, test::kEventTimeout));
    EXPECT_EQ(device->Received().at(0), Set(1, 22, 0, 0));
    EXPECT_EQ(GetParam(1, 22).second, 0);
    QTest::mouseClick(FindControl(window.get(), IDC_SHIFT_SWITCH), Qt::LeftButton);
    ASSERT_TRUE(device->WaitForReceived(2, test::kEventTimeout));
    EXPECT_EQ(device->Received().at(1), Set(1, 22, 0, 1));
}

QImage GrabPanel(QWidget* window) {
    QApplication::processEvents();
    return window->grab(FindControl(window, IDC_PANEL_FRAME)->geometry()).toImage();
}

void Save(const QImage& image, const char* name) {
    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
    EXPECT_TRUE(image.save(QDir(SONORIA_SCREENSHOT_DIR).filePath(name)));
}

TEST_F(FlowPanelTest, ScreenshotsOfBothRoutings) {
    g_Device.machineName.Set("KR710Q");
    SetParam(7, 24, {3, 192});
    SetParam(2, 25, {90, 0});
    SetParam(5, 18, {100, 0});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), test::kEventTimeoutMs));
    panel->RefreshFlowCaptions();
    panel->RefreshRoutingDisplay();
    panel->SelectFlowBlock(2203);
    const QImage normal = GrabPanel(window.get());
    Save(normal, "flow_panel_normal.png");

    g_Device.rearRouting.store(1);
    panel->RefreshRoutingDisplay();
    panel->RefreshFlowCaptions();
    panel->CheckBoxesFromImage();
    window->update();
    const QImage rear = GrabPanel(window.get());
    Save(rear, "flow_panel_rear.png");

    SetCurrentLanguage(kLanguageEnglish);
    panel->RefreshRoutingDisplay();
    panel->RefreshFlowCaptions();
    Save(GrabPanel(window.get()), "flow_panel_rear_english.png");

    ASSERT_EQ(normal.size(), rear.size());
    // Where the centre PEQ sat, the rear picture shows the diagram instead of the button.
    const QRect peq = Button(2212)->geometry().translated(-FindControl(window.get(), IDC_PANEL_FRAME)->pos());
    EXPECT_NE(normal.copy(peq), rear.copy(peq));
}

}  // namespace
}  // namespace sonoria
