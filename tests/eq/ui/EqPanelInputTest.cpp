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

#include "tests/eq/ui/EqPanelFixture.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using test::EqPanelFixture;
using test::Reported;

// The frequency under a marker drawn `x` pixels right of the plot's left edge.
double FrequencyAt(int x) { return 10.0 * std::pow(10.0, x * 3.4 / test::kPlotWidth); }

void Wheel(QObject* target, QPointF at, int delta, int sideways = 0) {
    QWheelEvent event(at, at, QPoint(), QPoint(sideways, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(target, &event);
}

// The mic EQ with its four peaks spread out, shown and painted.
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

    // A press, moves to each offset from the press, and the release at the last.
    void Drag(QPoint from, std::initializer_list<QPoint> moves, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(panel, button, {}, from);
        QPoint at = from;
        for (QPoint move : moves) QTest::mouseMove(panel, at = from + move);
        QTest::mouseRelease(panel, button, {}, at);
    }
};

TEST_F(EqPanelInputTest, APressPicksWithinFifteenPixelsAndTheReleaseReportsOnce) {
    const QPoint centre = Marker(4);
    auto pickedAt = [&](QPoint offset) {
        QTest::mouseClick(panel, Qt::LeftButton, {}, centre + offset);
        return panel->GetSelectedBand() == 4;
    };
    EXPECT_TRUE(pickedAt({15, 0}));
    EXPECT_FALSE(pickedAt({16, 0}));
    EXPECT_TRUE(pickedAt({-15, 0}));
    EXPECT_FALSE(pickedAt({-16, 0}));
    // The reach runs from 19 pixels above the centre to 11 below.
    EXPECT_TRUE(pickedAt({0, -19}));
    EXPECT_FALSE(pickedAt({0, -20}));
    EXPECT_TRUE(pickedAt({0, 11}));
    EXPECT_FALSE(pickedAt({0, 15}));

    reports.clear();
    QTest::mousePress(panel, Qt::LeftButton, {}, centre);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].picked);
    EXPECT_EQ(reports[0].index, 4);
    EXPECT_EQ(reports[0].controlId, test::kPanelId);
    EXPECT_TRUE(panel->hasFocus());
    QTest::mouseRelease(panel, Qt::LeftButton, {}, centre);
    ASSERT_EQ(reports.size(), 2u);
    // Picking without moving changes nothing.
    EXPECT_FALSE(reports[1].picked);
    EXPECT_EQ(reports[1].frequency, 1000.0f);
    EXPECT_EQ(reports[1].gain, 0.0f);
    EXPECT_EQ(panel->GetSelectedBand(), 4);  // the keys go on working on it

    // A press beside every marker clears the selection, and its drag reports nothing.
    reports.clear();
    Drag(QPoint(centre.x() + 60, 30), {{30, 30}});
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EqPanelInputTest, ADragMovesFrequencyAndGainWithThePointerWithinTheLimits) {
    const QPoint start = Marker(4);
    const int x = panel->GetBand(4).x;
    QTest::mousePress(panel, Qt::LeftButton, {}, start);
    // 200 pixels are one decade; 40 pixels up are +6 dB.
    QTest::mouseMove(panel, start + QPoint(200, -40));
    EXPECT_NEAR(panel->GetBand(4).frequency, FrequencyAt(x + 200), 0.01);
    EXPECT_NEAR(panel->GetBand(4).gain, 6.0, 1e-4);
    QTest::mouseMove(panel, start + QPoint(-100, 20));
    EXPECT_NEAR(panel->GetBand(4).frequency, FrequencyAt(x - 100), 0.01);
    EXPECT_NEAR(panel->GetBand(4).gain, -3.0, 1e-4);
    const auto& response = panel->GetBand(4).response;
    EXPECT_NEAR(*std::min_element(response.begin(), response.end()), -3.0, 0.01);
    QTest::mouseMove(panel, start + QPoint(2000, -2000));
    EXPECT_EQ(panel->GetBand(4).frequency, 19200.0f);
    EXPECT_EQ(panel->GetBand(4).gain, 12.0f);
    QTest::mouseMove(panel, start + QPoint(-2000, 2000));
    EXPECT_EQ(panel->GetBand(4).frequency, 20.0f);
    EXPECT_EQ(panel->GetBand(4).gain, -12.0f);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, start);

    ASSERT_EQ(reports.size(), 6u);  // pick, four moves, release
    EXPECT_NEAR(reports[1].gain, 6.0, 1e-4);
    EXPECT_EQ(reports[5].frequency, 20.0f);

    // A pass filter moves along the zero line only.
    reports.clear();
    Drag(Marker(7), {{-100, -50}});
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
    QTest::mouseMove(panel, start + QPoint(20, 0));
    QTest::mouseMove(panel, start + QPoint(40, 25));  // up and down are no matter
    EXPECT_NEAR(panel->GetBand(4).q, 2.533, 1e-5);
    EXPECT_EQ(panel->GetBand(4).frequency, 1000.0f);
    EXPECT_EQ(panel->GetBand(4).gain, 0.0f);
    QTest::mouseMove(panel, start + QPoint(-1000, 0));
    EXPECT_EQ(panel->GetBand(4).q, 0.77f);
    QTest::mouseRelease(panel, Qt::RightButton, {}, start);
    EXPECT_EQ(reports.size(), 5u);  // pick, three moves, release

    // A fixed Q stays; a right press beside every marker clears the selection first.
    Drag(Marker(1), {{80, 0}}, Qt::RightButton);
    EXPECT_EQ(panel->GetBand(1).q, 0.1f);
    EXPECT_EQ(panel->GetBand(1).frequency, 40.0f);
    reports.clear();
    Drag(QPoint(Marker(4).x() + 60, 30), {{40, 0}}, Qt::RightButton);
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EqPanelInputTest, LockedBandsAreHoveredButNeverPickedAndHiddenOnesStillAre) {
    panel->SetLayout(kEqLayoutMainMic);
    SetValues(0, 200.0f, 0.0f, 1.533f);
    SetValues(1, 700.0f, 0.0f, 1.533f);
    SetValues(7, 1000.0f, 4.0f, 2.0f);  // the mic EQ's fourth peak, for reference
    panel->repaint();
    QTest::mouseMove(panel, Marker(7));
    EXPECT_EQ(panel->GetHoverBand(), 7);
    Drag(Marker(7), {{50, 50}});
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    EXPECT_EQ(panel->GetBand(7).frequency, 1000.0f);
    EXPECT_TRUE(reports.empty());

    // With the plot showing only "OFF", bands are picked where they were last drawn.
    const QPoint where = Marker(1);
    panel->SetShowOff(true);
    panel->repaint();
    Drag(where, {{0, -20}});
    EXPECT_NEAR(panel->GetBand(1).gain, 3.0, 1e-4);
    EXPECT_EQ(reports.size(), 3u);
}

TEST_F(EqPanelInputTest, APlotWithoutWidthOrHeightIsBlackAndIgnoresDragMoves) {
    const QPoint where = Marker(4);
    for (const QSize size : {QSize(42, 240), QSize(722, 40), QSize(10, 10)}) {
        SCOPED_TRACE(size.width() * 1000 + size.height());
        panel->resize(size);
        const QImage image = panel->grab().toImage();
        EXPECT_EQ(image.pixelColor(size.width() / 2, size.height() / 2), QColor(Qt::black));
        reports.clear();
        QTest::mousePress(panel, Qt::LeftButton, {}, where);
        QTest::mouseMove(panel, where + QPoint(30, -30));
        Drag(where, {{60, -60}}, Qt::RightButton);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, where);
        const EqBand& band = panel->GetBand(4);
        EXPECT_EQ(band.frequency, 1000.0f);
        EXPECT_EQ(band.gain, 0.0f);
        EXPECT_EQ(band.q, 1.533f);
        for (const Reported& r : reports) EXPECT_FALSE(std::isnan(r.frequency) || std::isnan(r.gain));
    }
}

TEST_F(EqPanelInputTest, TheKeysNudgeTheSelectedBandWithinItsLimits) {
    QTest::mouseClick(panel, Qt::LeftButton, {}, Marker(5));  // 5 kHz, +3 dB, Q 1.533
    reports.clear();
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(panel, key);
    }
    QTest::keyClick(panel, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(panel, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(panel, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(panel->GetBand(5).frequency, 4999.0f);
    EXPECT_NEAR(panel->GetBand(5).gain, 2.9, 1e-5);
    EXPECT_NEAR(panel->GetBand(5).q, 1.433, 1e-5);
    EXPECT_EQ(reports.size(), 9u);
    EXPECT_NEAR(reports.back().q, 1.433, 1e-5);
    // The main keyboard's plus and minus, and other keys, report nothing.
    reports.clear();
    for (Qt::Key key : {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_A}) QTest::keyClick(panel, key);
    EXPECT_TRUE(reports.empty());

    SetValues(5, 19200.0f, 12.0f, 15.3f);
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Up}) QTest::keyClick(panel, key);
    QTest::keyClick(panel, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(panel->GetBand(5).frequency, 19200.0f);
    EXPECT_EQ(panel->GetBand(5).gain, 12.0f);
    EXPECT_EQ(panel->GetBand(5).q, 15.3f);
    // A pass filter's gain stays at 0 dB.
    ASSERT_TRUE(panel->SetSelectedBand(0));
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Right}) QTest::keyClick(panel, key);
    EXPECT_EQ(panel->GetBand(0).gain, 0.0f);
    EXPECT_EQ(panel->GetBand(0).frequency, 21.0f);
}

// A window that counts the keys reaching it.
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
    auto* panel = new CEqPanel(&window);
    panel->setGeometry(20, 30, 722, 240);
    new QPushButton(QStringLiteral("last"), &window);
    int shortcuts = 0;
    auto* action = new QAction(&window);
    action->setShortcuts({QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_A)});
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&shortcuts] { ++shortcuts; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, test::kEventTimeoutMs));
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
    // Without the focus the panel takes nothing.
    first->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_A);
    EXPECT_EQ(shortcuts, 1);
}

TEST_F(EqPanelInputTest, EachWheelEventStepsTheSelectedGainOnce) {
    Wheel(panel, QPointF(300, 100), 120);  // nothing selected
    EXPECT_TRUE(reports.empty());
    QTest::mouseClick(panel, Qt::LeftButton, {}, Marker(5));
    reports.clear();
    Wheel(panel, QPointF(300, 100), 480);  // a large turn is still one step
    Wheel(panel, QPointF(300, 100), 120);
    Wheel(panel, QPointF(300, 100), -8);  // as fine as a touchpad's
    Wheel(panel, QPointF(300, 100), 0, 120);  // sideways
    EXPECT_NEAR(panel->GetBand(5).gain, 3.1, 1e-5);
    EXPECT_EQ(reports.size(), 3u);
    SetValues(5, 5000.0f, -12.0f, 1.533f);
    Wheel(panel, QPointF(300, 100), -120);
    EXPECT_EQ(panel->GetBand(5).gain, -12.0f);
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
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, test::kEventTimeoutMs));
    ASSERT_TRUE(left->SetSelectedBand(2));
    ASSERT_TRUE(right->SetSelectedBand(2));
    left->setFocus();
    Wheel(window.windowHandle(), QPointF(1000, 100), 120);
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&alone, test::kEventTimeoutMs));
    alone.repaint();
    const QPoint where(CEqPanel::kPlotLeft + alone.GetBand(2).x, CEqPanel::kPlotTop + alone.GetBand(2).y);
    QTest::mousePress(&alone, Qt::LeftButton, {}, where);
    QTest::mouseMove(&alone, where + QPoint(0, -20));
    QTest::mouseRelease(&alone, Qt::LeftButton, {}, where + QPoint(0, -20));
    QTest::keyClick(&alone, Qt::Key_Up);
    EXPECT_NEAR(alone.GetBand(2).gain, 3.1, 1e-4);  // it still edits
    EXPECT_TRUE(told.empty());
}

// An owner that closes its window while handling a report must not leave the
// panel working on itself afterwards (the sanitizer builds catch that).
TEST_F(EqPanelInputTest, AnOwnerMayDeleteThePanelWhileItIsBeingTold) {
    QPointer<CEqPanel> watched(panel);
    QObject::connect(panel, &CEqPanel::bandChanged, panel, [this] { delete panel; });
    QTest::mousePress(panel, Qt::LeftButton, {}, Marker(4));
    QTest::mouseMove(panel, Marker(4) + QPoint(10, 0));
    EXPECT_TRUE(watched.isNull());

    auto* second = new CEqPanel(&window);
    second->SetLayout(kEqLayoutMusic);
    ASSERT_TRUE(second->SetSelectedBand(2));
    QPointer<CEqPanel> watchedSecond(second);
    QObject::connect(second, &CEqPanel::bandChanged, second, [second] { delete second; });
    QTest::keyPress(second, Qt::Key_Up);  // only the press: the release would find no panel
    EXPECT_TRUE(watchedSecond.isNull());
}

}  // namespace
}  // namespace sonoria
