// The EQ pages in the main window: every PEQ flow button shows its page with
// its view, routing to the rear turns the centre/sub page to the rear outputs,
// and only the user's own edits reach the device.
#include "app/MainWindowFixture.h"

#include "app/FlowPanel.h"
#include "controls/CTabWnd.h"
#include "controls/ControlText.h"
#include "eq/ui/CEqPanel.h"
#include "ui/Waits.h"

namespace sonoria::test {
namespace {

class EqPagesWindowTest : public MainWindowTest {
protected:
    std::vector<Report> ParameterSets() const {
        std::vector<Report> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM) sets.push_back(r);
        }
        return sets;
    }
    CTabWnd* Host() const { return FindControlAs<CTabWnd>(window.get(), IDC_PAGE_HOST); }
    void ClickFlow(int id) { QTest::mouseClick(FindControl(window.get(), id), Qt::LeftButton); }
};

TEST_F(EqPagesWindowTest, EveryPeqButtonShowsItsPageAndViewWithoutSendingAnything) {
    Open();
    device->ClearRecord();
    const struct {
        int button;
        int page;
        EqView view;
        const char* title;
    } cases[] = {
        {IDC_FLOW_MIC_PEQ, kChannelEqPage, EqView::Mic, "Mic EQ"},
        {IDC_FLOW_MUSIC_PEQ, kChannelEqPage, EqView::Music, "Music EQ"},
        {IDC_FLOW_MAIN_MIC_PEQ, kMainOutputEqPage, EqView::MainMic, "Mic Main EQ"},
        {IDC_FLOW_MAIN_MUSIC_PEQ, kMainOutputEqPage, EqView::MainMusic, "Music Main EQ"},
        {IDC_FLOW_CENTER_MIC_PEQ, kCenterSubEqPage, EqView::CenterMic, "Mic C EQ"},
        {IDC_FLOW_CENTER_MUSIC_PEQ, kCenterSubEqPage, EqView::CenterMusic, "Music C EQ"},
        {IDC_FLOW_CENTER_PEQ, kCenterSubEqPage, EqView::CenterOut, "Center EQ"},
        {IDC_FLOW_SUB_MIC_PEQ, kCenterSubEqPage, EqView::SubMic, "Mic S EQ"},
        {IDC_FLOW_SUB_MUSIC_PEQ, kCenterSubEqPage, EqView::SubMusic, "Music S EQ"},
        {IDC_FLOW_SUB_PEQ, kCenterSubEqPage, EqView::SubOut, "Sub EQ"},
    };
    // English first, then Chinese: the toggle re-texts the pages too.
    ASSERT_EQ(window->Language(), kLanguageChinese);
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    for (const auto& c : cases) {
        ClickFlow(c.button);
        EXPECT_EQ(window->CurrentPage(), c.page);
        EXPECT_EQ(Host()->CurrentPage(), c.page);
        auto* page = qobject_cast<CEqPage*>(Host()->Page(c.page));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(page->View(), c.view) << c.title;
        EXPECT_EQ(page->Panel()->GetLayout(), EqViewLayout(c.view));
        EXPECT_EQ(page->TitleText(true), c.title);
        EXPECT_TRUE(page->NotBaseModel());  // a KR710Q
    }
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    EXPECT_EQ(ControlText(FindControl(window->CenterEqPage(), 1196)), QString::fromUtf8("超低输出均衡"));
    EXPECT_FALSE(window->CenterEqPage()->Panel()->IsEnglish());
    window->RefreshAfterSync();
    EXPECT_TRUE(ParameterSets().empty());
}

TEST_F(EqPagesWindowTest, ADragOnThePageGoesToTheDeviceAndARefreshShowsIt) {
    Open();
    ClickFlow(IDC_FLOW_MAIN_MIC_PEQ);
    CEqPanel* panel = window->MainEqPage()->Panel();
    panel->repaint();
    device->ClearRecord();
    const EqBand band = panel->GetBand(1);
    const QPoint marker(CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y);
    QTest::mousePress(panel, Qt::LeftButton, {}, marker);
    QTest::mouseMove(panel, marker + QPoint(0, -40));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, marker + QPoint(0, -40));
    const float gain = panel->GetBand(1).gain;
    EXPECT_GT(gain, band.gain);
    ASSERT_TRUE(test::EditsReachedDevice());
    const std::vector<Report> sets = ParameterSets();
    ASSERT_FALSE(sets.empty());
    // The last round: gain, frequency, Q of the second main mic band, each to both sides.
    ASSERT_GE(sets.size(), 6u);
    const std::vector<std::pair<int, int>> lastRound = {{5, 8}, {6, 8}, {5, 10}, {6, 10}, {5, 9}, {6, 9}};
    for (std::size_t i = 0; i < 6; ++i) {
        const Report& r = sets[sets.size() - 6 + i];
        EXPECT_EQ(std::make_pair(int(r[2]), int(r[3])), lastRound[i]) << i;
    }
    // What the device now holds shows the same gain after a refresh.
    window->RefreshAfterSync();
    EXPECT_NEAR(panel->GetBand(1).gain, gain, 0.051f);
}

TEST_F(EqPagesWindowTest, RoutingToTheRearTurnsTheCentreSubPageToTheRearOutputs) {
    Open();
    ClickFlow(IDC_FLOW_CENTER_MUSIC_PEQ);
    device->ClearRecord();
    QTest::mouseClick(FindControl(window.get(), IDC_REAR_SWITCH), Qt::LeftButton);
    ASSERT_TRUE(test::WaitUntil([&] { return !window->Panel()->RoutingChangeRunning(); }));
    ASSERT_TRUE(test::WaitUntil([&] { return window->SyncWindow() == nullptr; }));
    CCenterDlg* page = window->CenterEqPage();
    EXPECT_EQ(window->CurrentPage(), kCenterSubEqPage);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->View(), EqView::SubMic);
    EXPECT_EQ(ControlText(FindControl(page, 1196)), QString::fromUtf8("后置话筒均衡"));

    // An edit there goes to the sub's rear copy, then the centre's.
    device->ClearRecord();
    page->Panel()->repaint();
    const EqBand band = page->Panel()->GetBand(0);
    const QPoint marker(CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y);
    QTest::mousePress(page->Panel(), Qt::LeftButton, {}, marker);
    ASSERT_TRUE(test::EditsReachedDevice());
    const std::vector<Report> sets = ParameterSets();
    ASSERT_EQ(sets.size(), 6u);
    const int blocks[] = {7, 7, 7, 8, 8, 8};
    const int indices[] = {1, 3, 2, 1, 3, 2};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(sets[i][2], blocks[i]) << i;
        EXPECT_EQ(sets[i][3], indices[i]) << i;
    }
    QTest::mouseRelease(page->Panel(), Qt::LeftButton, {}, marker);
}

}  // namespace
}  // namespace sonoria::test
