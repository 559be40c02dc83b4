// The EQ graph under the user's hands: which press picks which marker, what
// left and right drags, the keys and the wheel do to a band, what the owner
// is told and when, and the cases where nothing may happen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "tests/eq/EqPanelFixture.h"

namespace sonoria {
namespace {

using test::EqPanelFixture;
using test::kPlotHeight;
using test::kPlotWidth;
using test::Reported;

// The frequency under a marker drawn `x` pixels right of the plot's left edge.
double FrequencyAt(int x) { return 10.0 * std::pow(10.0, x * 3.4 / kPlotWidth); }

void Wheel(QWidget* widget, QPoint at, int delta, int sideways = 0) {
    const QPointF pos(at);
    QWheelEvent event(pos, widget->mapToGlobal(pos), QPoint(), QPoint(sideways, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// The mic EQ with its four peaks spread out, at 0 dB, shown and painted.
class EqPanelInputTest : public EqPanelFixture {
protected:
    void SetUp() override {
        panel->SetLayout(kEqLayoutMic);
        SetValues(2, 60.0f, 0.0f, 1.533f);
        SetValues(3, 200.0f, 0.0f, 1.533f);
        SetValues(4, 1000.0f, 0.0f, 1.533f);
        SetValues(5, 5000.0f, 3.0f, 1.533f);
        ShowActive();
    }

    void Click(int band, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(panel, button, {}, Marker(band));
        QTest::mouseRelease(panel, button, {}, Marker(band));
    }
};

TEST_F(EqPanelInputTest, APressPicksAMarkerWithinFifteenPixelsAndOffCentreVertically) {
    const QPoint centre = Marker(4);
    auto pickedAt = [&](QPoint offset) {
        QTest::mousePress(panel, Qt::LeftButton, {}, centre + offset);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, centre + offset);
        return panel->GetSelectedBand() == 4;
    };
    EXPECT_TRUE(pickedAt({15, 0}));
    EXPECT_FALSE(pickedAt({16, 0}));
    EXPECT_TRUE(pickedAt({-15, 0}));
    EXPECT_FALSE(pickedAt({-16, 0}));
    // The reach runs from 19 pixels above the centre to 11 below.
    EXPECT_TRUE(pickedAt({0, -15}));
    EXPECT_TRUE(pickedAt({0, -19}));
    EXPECT_FALSE(pickedAt({0, -20}));
    EXPECT_TRUE(pickedAt({0, 11}));
    EXPECT_FALSE(pickedAt({0, 12}));
    EXPECT_FALSE(pickedAt({0, 15}));
}

TEST_F(EqPanelInputTest, ALeftPressReportsThePickAndTheReleaseOneChange) {
    QTest::mousePress(panel, Qt::LeftButton, {}, Marker(4));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].picked);
    EXPECT_EQ(reports[0].index, 4);
    EXPECT_EQ(reports[0].frequency, 1000.0f);
    EXPECT_EQ(reports[0].controlId, test::kPanelId);
    EXPECT_TRUE(panel->hasFocus());
    EXPECT_TRUE(panel->IsLeftDragging());

    QTest::mouseRelease(panel, Qt::LeftButton, {}, Marker(4));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[1].picked);
    EXPECT_EQ(reports[1].index, 4);
    // Picking without moving changes nothing.
    EXPECT_EQ(reports[1].frequency, 1000.0f);
    EXPECT_EQ(reports[1].gain, 0.0f);
    EXPECT_FALSE(panel->IsLeftDragging());
    EXPECT_EQ(panel->GetSelectedBand(), 4);  // the keys go on working on it
}

TEST_F(EqPanelInputTest, APressBesideEveryMarkerClearsTheSelectionAndReportsNothing) {
    Click(4);
    reports.clear();
    const QPoint empty(Marker(4).x() + 60, 30);
    QTest::mousePress(panel, Qt::LeftButton, {}, empty);
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    QTest::mouseMove(panel, empty + QPoint(30, 30));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, empty + QPoint(30, 30));
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(panel->GetBand(4).frequency, 1000.0f);
}

TEST_F(EqPanelInputTest, ADragMovesFrequencyAndGainWithThePointerAndReportsEveryMove) {
    const QPoint start = Marker(4);
    const int x = panel->GetBand(4).x;
    QTest::mousePress(panel, Qt::LeftButton, {}, start);
    // 200 pixels are one decade; 40 pixels up are +6 dB.
    QTest::mouseMove(panel, start + QPoint(200, -40));
    EXPECT_NEAR(panel->GetBand(4).frequency, FrequencyAt(x + 200), 0.01);
    EXPECT_NEAR(panel->GetBand(4).frequency, 10000.0, 120.0);
    EXPECT_NEAR(panel->GetBand(4).gain, 6.0, 1e-4);
    QTest::mouseMove(panel, start + QPoint(-100, 20));
    EXPECT_NEAR(panel->GetBand(4).frequency, FrequencyAt(x - 100), 0.01);
    EXPECT_NEAR(panel->GetBand(4).gain, -3.0, 1e-4);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, start + QPoint(-100, 20));

    ASSERT_EQ(reports.size(), 4u);  // pick, two moves, release
    EXPECT_FALSE(reports[1].picked);
    EXPECT_NEAR(reports[1].gain, 6.0, 1e-4);
    EXPECT_NEAR(reports[2].gain, -3.0, 1e-4);
    EXPECT_EQ(reports[3].frequency, reports[2].frequency);
    // The response follows the band: its deepest column is the new gain.
    const auto& response = panel->GetBand(4).response;
    EXPECT_NEAR(*std::min_element(response.begin(), response.end()), -3.0, 0.01);
}

TEST_F(EqPanelInputTest, ADragBeyondThePlotStopsAtTheBandsLimits) {
    const QPoint start = Marker(4);
    QTest::mousePress(panel, Qt::LeftButton, {}, start);
    QTest::mouseMove(panel, start + QPoint(2000, -2000));
    EXPECT_EQ(panel->GetBand(4).frequency, 19200.0f);
    EXPECT_EQ(panel->GetBand(4).gain, 12.0f);
    QTest::mouseMove(panel, start + QPoint(-2000, 2000));
    EXPECT_EQ(panel->GetBand(4).frequency, 20.0f);
    EXPECT_EQ(panel->GetBand(4).gain, -12.0f);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, start);
}

TEST_F(EqPanelInputTest, APassFilterIsDraggedAlongTheZeroLineOnly) {
    const QPoint start = Marker(7);  // the mic low-pass at 15 kHz
    QTest::mousePress(panel, Qt::LeftButton, {}, start);
    QTest::mouseMove(panel, start + QPoint(-100, -50));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, start + QPoint(-100, -50));
    EXPECT_EQ(panel->GetBand(7).gain, 0.0f);
    EXPECT_LT(panel->GetBand(7).frequency, 15000.0f);
    panel->repaint();
    EXPECT_EQ(Marker(7).y(), test::kZeroLineY);
    for (const Reported& r : reports) EXPECT_EQ(r.gain, 0.0f);
}

TEST_F(EqPanelInputTest, ARightDragChangesQByOneEveryFortyPixels) {
    const QPoint start = Marker(4);
    QTest::mousePress(panel, Qt::RightButton, {}, start);
    EXPECT_FALSE(panel->hasFocus());  // only a left press takes the focus
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].picked);
    QTest::mouseMove(panel, start + QPoint(20, 0));
    QTest::mouseMove(panel, start + QPoint(40, 25));  // up and down are no matter
    EXPECT_NEAR(panel->GetBand(4).q, 2.533, 1e-5);
    EXPECT_EQ(panel->GetBand(4).frequency, 1000.0f);
    EXPECT_EQ(panel->GetBand(4).gain, 0.0f);
    QTest::mouseMove(panel, start + QPoint(-1000, 0));
    EXPECT_EQ(panel->GetBand(4).q, 0.77f);
    QTest::mouseRelease(panel, Qt::RightButton, {}, start);
    EXPECT_EQ(reports.size(), 5u);  // pick, three moves, release
    EXPECT_EQ(panel->GetSelectedBand(), 4);
}

TEST_F(EqPanelInputTest, ARightDragLeavesAFixedQAlone) {
    const QPoint start = Marker(1);  // the low shelf
    QTest::mousePress(panel, Qt::RightButton, {}, start);
    QTest::mouseMove(panel, start + QPoint(80, 0));
    QTest::mouseRelease(panel, Qt::RightButton, {}, start + QPoint(80, 0));
    EXPECT_EQ(panel->GetBand(1).q, 0.1f);
    EXPECT_EQ(panel->GetBand(1).frequency, 40.0f);
}

TEST_F(EqPanelInputTest, ARightPressClearsTheSelectionFirst) {
    Click(4);
    reports.clear();
    QTest::mousePress(panel, Qt::RightButton, {}, QPoint(Marker(4).x() + 60, 30));
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    QTest::mouseMove(panel, QPoint(Marker(4).x() + 100, 30));
    QTest::mouseRelease(panel, Qt::RightButton, {}, QPoint(Marker(4).x() + 100, 30));
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(panel->GetBand(4).q, 1.533f);
}

TEST_F(EqPanelInputTest, LockedBandsAreHoveredButNeverPicked) {
    panel->SetLayout(kEqLayoutMainMic);
    SetValues(0, 200.0f, 0.0f, 1.533f);
    SetValues(1, 700.0f, 0.0f, 1.533f);
    SetValues(7, 1000.0f, 4.0f, 2.0f);  // the mic EQ's fourth peak, for reference
    panel->repaint();
    QTest::mouseMove(panel, Marker(7));
    EXPECT_EQ(panel->GetHoverBand(), 7);
    QTest::mousePress(panel, Qt::LeftButton, {}, Marker(7));
    QTest::mouseMove(panel, Marker(7) + QPoint(50, 50));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, Marker(7) + QPoint(50, 50));
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    EXPECT_EQ(panel->GetBand(7).frequency, 1000.0f);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EqPanelInputTest, InvisibleBandsCanStillBePickedWhereTheyWereLastDrawn) {
    const QPoint where = Marker(4);
    panel->SetShowOff(true);
    panel->repaint();
    QTest::mousePress(panel, Qt::LeftButton, {}, where);
    QTest::mouseMove(panel, where + QPoint(0, -20));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, where + QPoint(0, -20));
    EXPECT_NEAR(panel->GetBand(4).gain, 3.0, 1e-4);
    EXPECT_EQ(reports.size(), 3u);
}

TEST_F(EqPanelInputTest, APlotWithoutWidthOrHeightIgnoresDragMoves) {
    const QPoint where = Marker(4);
    for (const QSize size : {QSize(42, 240), QSize(722, 40), QSize(10, 10)}) {
        SCOPED_TRACE(size.width() * 1000 + size.height());
        panel->resize(size);
        panel->repaint();  // paints the background only
        reports.clear();
        QTest::mousePress(panel, Qt::LeftButton, {}, where);
        QTest::mouseMove(panel, where + QPoint(30, -30));
        QTest::mousePress(panel, Qt::RightButton, {}, where);
        QTest::mouseMove(panel, where + QPoint(60, -60));
        QTest::mouseRelease(panel, Qt::RightButton, {}, where);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, where);
        const EqBand& band = panel->GetBand(4);
        EXPECT_EQ(band.frequency, 1000.0f);
        EXPECT_EQ(band.gain, 0.0f);
        EXPECT_EQ(band.q, 1.533f);
        for (const Reported& r : reports) EXPECT_FALSE(std::isnan(r.frequency) || std::isnan(r.gain));
    }
}

TEST_F(EqPanelInputTest, TheArrowKeysAndTheNumberPadNudgeTheSelectedBand) {
    Click(5);  // 5 kHz, +3 dB, Q 1.533
    reports.clear();
    QTest::keyClick(panel, Qt::Key_Right);
    EXPECT_EQ(panel->GetBand(5).frequency, 5001.0f);
    QTest::keyClick(panel, Qt::Key_Left);
    QTest::keyClick(panel, Qt::Key_Left);
    EXPECT_EQ(panel->GetBand(5).frequency, 4999.0f);
    QTest::keyClick(panel, Qt::Key_Up);
    EXPECT_NEAR(panel->GetBand(5).gain, 3.1, 1e-5);
    QTest::keyClick(panel, Qt::Key_Down);
    QTest::keyClick(panel, Qt::Key_Down);
    EXPECT_NEAR(panel->GetBand(5).gain, 2.9, 1e-5);
    QTest::keyClick(panel, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_NEAR(panel->GetBand(5).q, 1.633, 1e-5);
    QTest::keyClick(panel, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(panel, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_NEAR(panel->GetBand(5).q, 1.433, 1e-5);
    EXPECT_EQ(reports.size(), 9u);
    EXPECT_EQ(reports.back().index, 5);
    EXPECT_NEAR(reports.back().q, 1.433, 1e-5);

    // The main keyboard's plus and minus, and other keys, change nothing and report nothing.
    reports.clear();
    QTest::keyClick(panel, Qt::Key_Plus);
    QTest::keyClick(panel, Qt::Key_Minus);
    QTest::keyClick(panel, Qt::Key_A);
    EXPECT_TRUE(reports.empty());
    EXPECT_NEAR(panel->GetBand(5).q, 1.433, 1e-5);
}

TEST_F(EqPanelInputTest, KeysKeepToTheLimitsAndLeaveAPassFiltersGainAtZero) {
    SetValues(5, 19200.0f, 12.0f, 15.3f);
    ASSERT_TRUE(panel->SetSelectedBand(5));
    QTest::keyClick(panel, Qt::Key_Right);
    QTest::keyClick(panel, Qt::Key_Up);
    QTest::keyClick(panel, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(panel->GetBand(5).frequency, 19200.0f);
    EXPECT_EQ(panel->GetBand(5).gain, 12.0f);
    EXPECT_EQ(panel->GetBand(5).q, 15.3f);

    ASSERT_TRUE(panel->SetSelectedBand(0));  // the mic high-pass, gain limits -15..15
    QTest::keyClick(panel, Qt::Key_Up);
    QTest::keyClick(panel, Qt::Key_Right);
    EXPECT_EQ(panel->GetBand(0).gain, 0.0f);
    EXPECT_EQ(panel->GetBand(0).frequency, 21.0f);
}

// A window that counts the keys reaching it and a shortcut of its own.
class KeyWindow : public QWidget {
public:
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

TEST(EqPanelKeyRouting, EveryKeyStopsAtTheFocusedPanelTabIncluded) {
    KeyWindow window;
    window.resize(800, 320);
    auto* first = new QPushButton(QStringLiteral("first"), &window);
    first->setGeometry(0, 0, 80, 20);
    auto* panel = new CEqPanel(&window);
    panel->setGeometry(20, 30, 722, 240);
    auto* last = new QPushButton(QStringLiteral("last"), &window);
    last->setGeometry(100, 0, 80, 20);
    int shortcuts = 0;
    auto* action = new QAction(&window);
    action->setShortcuts({QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_A)});
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&shortcuts] { ++shortcuts; });
    std::vector<Reported> reports;
    EqPanelFixture::Record(panel, reports);

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Focus from a left press on an empty part of the plot: nothing is selected.
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(700, 40));
    ASSERT_TRUE(panel->hasFocus());
    ASSERT_EQ(panel->GetSelectedBand(), -1);

    for (Qt::Key key : {Qt::Key_Left, Qt::Key_A, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Return}) {
        QTest::keyClick(window.windowHandle(), key);
    }
    EXPECT_TRUE(panel->hasFocus());
    EXPECT_EQ(window.keys, 0);
    EXPECT_EQ(shortcuts, 0);
    EXPECT_TRUE(reports.empty());

    // Without the focus the panel takes nothing: the shortcut works again.
    first->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_A);
    EXPECT_EQ(shortcuts, 1);
}

TEST_F(EqPanelInputTest, EachWheelEventStepsTheGainOnce) {
    Click(5);
    reports.clear();
    Wheel(panel, QPoint(300, 100), 120);
    EXPECT_NEAR(panel->GetBand(5).gain, 3.1, 1e-5);
    Wheel(panel, QPoint(300, 100), 480);  // a larger turn is still one step
    EXPECT_NEAR(panel->GetBand(5).gain, 3.2, 1e-5);
    Wheel(panel, QPoint(300, 100), -8);  // as fine as a touchpad's
    EXPECT_NEAR(panel->GetBand(5).gain, 3.1, 1e-5);
    Wheel(panel, QPoint(300, 100), 0, 120);  // sideways
    EXPECT_NEAR(panel->GetBand(5).gain, 3.1, 1e-5);
    EXPECT_EQ(reports.size(), 3u);
    EXPECT_NEAR(reports.back().gain, 3.1, 1e-5);

    SetValues(5, 5000.0f, -12.0f, 1.533f);
    Wheel(panel, QPoint(300, 100), -120);
    EXPECT_EQ(panel->GetBand(5).gain, -12.0f);
}

TEST_F(EqPanelInputTest, TheWheelDoesNothingWithoutASelection) {
    Wheel(panel, QPoint(300, 100), 120);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(panel->GetBand(5).gain, 3.0f);
}

TEST(EqPanelWheelRouting, TheWheelActsOnThePanelUnderThePointer) {
    QWidget window;
    window.resize(1500, 300);
    auto* left = new CEqPanel(&window);
    left->setGeometry(0, 0, 722, 240);
    auto* right = new CEqPanel(&window);
    right->setGeometry(750, 0, 722, 240);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(left->SetSelectedBand(2));
    ASSERT_TRUE(right->SetSelectedBand(2));
    left->setFocus();

    const QPointF over(1000, 100);
    QWheelEvent event(over, window.mapToGlobal(over), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window.windowHandle(), &event);
    EXPECT_NEAR(right->GetBand(2).gain, 0.1, 1e-6);
    EXPECT_EQ(left->GetBand(2).gain, 0.0f);
}

TEST_F(EqPanelInputTest, APanelWithoutAnOwnerTellsNobody) {
    CEqPanel alone;
    std::vector<Reported> told;
    Record(&alone, told);
    alone.resize(test::kPanelWidth, test::kPanelHeight);
    alone.SetLayout(kEqLayoutMusic);
    alone.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&alone));
    alone.repaint();
    const EqBand& band = alone.GetBand(2);
    const QPoint where(CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y);
    QTest::mousePress(&alone, Qt::LeftButton, {}, where);
    QTest::mouseMove(&alone, where + QPoint(0, -20));
    QTest::mouseRelease(&alone, Qt::LeftButton, {}, where + QPoint(0, -20));
    QTest::keyClick(&alone, Qt::Key_Up);
    EXPECT_NEAR(alone.GetBand(2).gain, 3.1, 1e-4);  // it still edits
    EXPECT_TRUE(told.empty());
}

TEST_F(EqPanelInputTest, AnOwnerMayCloseThePanelWhileItIsBeingTold) {
    QPointer<CEqPanel> watched(panel);
    QObject::connect(panel, &CEqPanel::bandChanged, panel, [this] { delete panel; });
    QTest::mousePress(panel, Qt::LeftButton, {}, Marker(4));
    QTest::mouseMove(panel, Marker(4) + QPoint(10, 0));
    EXPECT_TRUE(watched.isNull());
    panel = nullptr;

    // The same during a pick, from a fresh panel.
    auto* second = new CEqPanel(&window);
    second->setGeometry(20, 20, test::kPanelWidth, test::kPanelHeight);
    second->SetLayout(kEqLayoutMusic);
    second->show();
    second->repaint();
    QPointer<CEqPanel> watchedSecond(second);
    QObject::connect(second, &CEqPanel::bandPicked, second, [second] { delete second; });
    const EqBand& band = second->GetBand(2);
    QTest::mousePress(second, Qt::LeftButton, {}, QPoint(CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y));
    EXPECT_TRUE(watchedSecond.isNull());

    // And during a key (pressed only: the release would go to a panel that is gone).
    auto* third = new CEqPanel(&window);
    third->SetLayout(kEqLayoutMusic);
    ASSERT_TRUE(third->SetSelectedBand(2));
    QPointer<CEqPanel> watchedThird(third);
    QObject::connect(third, &CEqPanel::bandChanged, third, [third] { delete third; });
    QTest::keyPress(third, Qt::Key_Up);
    EXPECT_TRUE(watchedThird.isNull());
}

TEST_F(EqPanelInputTest, HoverFollowsThePointerAndTakesLockedBandsToo) {
    QTest::mouseMove(panel, Marker(3));
    EXPECT_EQ(panel->GetHoverBand(), 3);
    QTest::mouseMove(panel, Marker(3) + QPoint(0, 60));
    EXPECT_EQ(panel->GetHoverBand(), -1);
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace sonoria
