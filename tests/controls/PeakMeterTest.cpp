// The peak meter: how many segments light in which colour, where rows and
// columns sit, how levels and peaks fall, and when the decay timer runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include <array>
#include <vector>

#include "controls/CPeakMeterCtrl.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

const QColor kBackground(32, 32, 32);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kDimGreen(2, 128, 2);
const QColor kDimYellow(128, 128, 2);
const QColor kDimRed(128, 2, 2);

constexpr int kSegments = 35;
constexpr int kSegmentWidth = 4;

// The main window's input meter: one row of 35 segments over full scale 70.
void ConfigureAsInputMeter(CPeakMeterCtrl& meter, int height = 10) {
    meter.SetHorizontal(true);
    meter.SetBackgroundColor(kBackground);
    meter.SetMeterBands(1, kSegments);
    meter.ShowPeakLine(false);
    meter.ResetChannels();
    meter.resize(kSegments * kSegmentWidth, height);
}

bool Feed(CPeakMeterCtrl& meter, int value, int channel = 0) {
    std::vector<int> values(static_cast<size_t>(channel) + 1, 0);
    values.back() = value;
    return meter.SetData(channel, values);
}

// Ticks until nothing moves any more; returns the number of ticks taken.
int SettleToRest(CPeakMeterCtrl& meter) {
    for (int ticks = 1; ticks <= 1000; ++ticks) {
        meter.DecayStep();
        bool moving = false;
        for (int c = 0; c < meter.GetNumChannels(); ++c)
            moving = moving || meter.GetLevel(c) || meter.GetPeak(c) || meter.GetHoldCount(c);
        if (!moving) return ticks;
    }
    return -1;
}

// Lit segments of the single row, counted by colour at each segment's centre.
struct LitCount {
    int green = 0;
    int yellow = 0;
    int red = 0;
    int other = 0;
};

LitCount CountLit(CPeakMeterCtrl& meter) {
    const QImage image = meter.grab().toImage();
    LitCount count;
    bool unlitSeen = false;
    for (int k = 0; k < kSegments; ++k) {
        const QColor color = image.pixelColor(k * kSegmentWidth + kSegmentWidth / 2, meter.height() / 2);
        if (color == kBackground) {
            unlitSeen = true;
            continue;
        }
        // Lit segments run without a gap from the left.
        EXPECT_FALSE(unlitSeen) << "lit segment " << k << " after an unlit one";
        if (color == kGreen) {
            ++count.green;
        } else if (color == kYellow) {
            ++count.yellow;
        } else if (color == kRed) {
            ++count.red;
        } else {
            ++count.other;
        }
    }
    return count;
}

TEST(PeakMeterSegments, LevelsLightTheirShareOfTheScaleInBands) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    EXPECT_EQ(meter.ScaleSegments(), kSegments);
    struct Case {
        int value, green, yellow, red;
    };
    const Case cases[] = {
        {48, 24, 0, 0}, {50, 25, 0, 0}, {60, 25, 5, 0}, {70, 25, 5, 5},
        {200, 25, 5, 5}, {-5, 0, 0, 0}, {1, 0, 0, 0}, {2, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(Feed(meter, c.value));
        const LitCount lit = CountLit(meter);
        EXPECT_EQ(lit.green, c.green);
        EXPECT_EQ(lit.yellow, c.yellow);
        EXPECT_EQ(lit.red, c.red);
        EXPECT_EQ(lit.other, 0);
    }
}

TEST(PeakMeterSegments, UnlitSegmentsKeepADimEdgeInTheirBandColour) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    Feed(meter, 48);
    const QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 5), kDimGreen);    // lit segment 0 shows the edge too
    EXPECT_EQ(image.pixelColor(1, 5), kGreen);
    EXPECT_EQ(image.pixelColor(24 * 4, 5), kDimGreen);
    EXPECT_EQ(image.pixelColor(24 * 4 + 1, 5), kBackground);
    EXPECT_EQ(image.pixelColor(25 * 4, 5), kDimYellow);
    EXPECT_EQ(image.pixelColor(30 * 4, 5), kDimRed);
    // One row: no edge above or below.
    EXPECT_EQ(image.pixelColor(30 * 4 + 2, 0), kBackground);
}

TEST(PeakMeterSegments, GridDarkensUnlitSegments) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    meter.ShowGrid(true);
    Feed(meter, 20);
    const QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 5), kGreen);
    EXPECT_EQ(image.pixelColor(20 * 4 + 2, 5), QColor(17, 17, 17));
}

TEST(PeakMeterLayout, SingleRowFillsAShortMeter) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter, 4);
    Feed(meter, 70);
    const QImage image = meter.grab().toImage();
    for (int y = 0; y < 4; ++y) EXPECT_EQ(image.pixelColor(2, y), kGreen) << y;
}

TEST(PeakMeterLayout, RowsSitAtTheBottomWithTheRemainderAbove) {
    CPeakMeterCtrl meter;  // a fresh meter stands at full scale
    ConfigureAsInputMeter(meter, 20);
    meter.SetMeterBands(8, kSegments);
    meter.ResetChannels();
    // Rows of 2 pixels from y = 4; the lit part of so thin a row is empty.
    QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 3), kBackground);
    EXPECT_EQ(image.pixelColor(2, 4), kDimGreen);
    EXPECT_EQ(image.pixelColor(2, 19), kDimGreen);
    EXPECT_EQ(image.pixelColor(138, 4), kDimRed);

    // Rows of 3 pixels from y = 4 light their middle line.
    meter.resize(meter.width(), 28);
    image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 3), kBackground);
    EXPECT_EQ(image.pixelColor(2, 4), kDimGreen);
    EXPECT_EQ(image.pixelColor(2, 5), kGreen);
    EXPECT_EQ(image.pixelColor(2, 6), kDimGreen);
    EXPECT_EQ(image.pixelColor(2, 27), kDimGreen);
    EXPECT_EQ(image.pixelColor(2, 26), kGreen);
}

TEST(PeakMeterLayout, TooNarrowForItsSegmentsShowsOnlyBackground) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    meter.resize(20, 10);
    Feed(meter, 70);
    const QImage image = meter.grab().toImage();
    for (int x = 0; x < 20; ++x) EXPECT_EQ(image.pixelColor(x, 5), kBackground) << x;
}

TEST(PeakMeterLayout, ColumnsStackFromTheBottomWithAPeakLine) {
    CPeakMeterCtrl meter;
    meter.SetBackgroundColor(kBackground);
    meter.SetMeterBands(1, kSegments);
    meter.ResetChannels();  // peak at full scale
    meter.resize(10, kSegments * 4);
    Feed(meter, 50);
    QImage image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 138), kGreen);       // segment 0
    EXPECT_EQ(image.pixelColor(5, 136), kDimGreen);    // its top edge
    EXPECT_EQ(image.pixelColor(5, 42), kGreen);        // segment 24
    EXPECT_EQ(image.pixelColor(5, 38), kBackground);   // segment 25, unlit
    EXPECT_EQ(image.pixelColor(5, 36), kDimYellow);
    EXPECT_EQ(image.pixelColor(5, 0), QColor(0, 0, 0));  // the peak line at full scale

    meter.ShowPeakLine(false);
    image = meter.grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 0), kDimRed);
}

TEST(PeakMeterData, MissingValuesFailAndUnknownChannelsAreIgnored) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    ASSERT_TRUE(Feed(meter, 30));
    EXPECT_FALSE(meter.SetData(0, std::span<const int>()));
    EXPECT_EQ(meter.GetLevel(0), 30);
    // Channel 3 does not exist: accepted, nothing changes.
    EXPECT_TRUE(Feed(meter, 55, 3));
    EXPECT_TRUE(meter.SetData(-1, std::array<int, 1>{55}));
    EXPECT_EQ(meter.GetLevel(0), 30);
    // The value of channel k is element k: a one-element array has none for channel 1.
    meter.SetMeterBands(2, kSegments);
    meter.ResetChannels();
    EXPECT_FALSE(meter.SetData(1, std::array<int, 1>{10}));
    EXPECT_EQ(meter.GetLevel(1), 70);
    EXPECT_TRUE(meter.SetData(1, std::array<int, 2>{99, 10}));
    EXPECT_EQ(meter.GetLevel(1), 10);
    EXPECT_EQ(meter.GetLevel(0), 70);
}

TEST(PeakMeterDecay, FreshMeterFallsFromFullScale) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    EXPECT_EQ(meter.GetLevel(0), 70);
    EXPECT_EQ(meter.GetPeak(0), 70);
    EXPECT_EQ(meter.GetHoldCount(0), 10);
    // Level: 35 ticks of 2. Peak: held 10 ticks, then 70 ticks of 1 from the 10th.
    for (int tick = 1; tick <= 35; ++tick) meter.DecayStep();
    EXPECT_EQ(meter.GetLevel(0), 0);
    EXPECT_EQ(meter.GetPeak(0), 44);
    EXPECT_EQ(SettleToRest(meter), 44);
}

TEST(PeakMeterDecay, LevelFallsAStepAndPeakHoldsThenFallsHalfAStep) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    SettleToRest(meter);
    Feed(meter, 70);
    EXPECT_EQ(meter.GetHoldCount(0), 10);
    meter.DecayStep();
    meter.DecayStep();
    EXPECT_EQ(meter.GetLevel(0), 66);

    Feed(meter, 70);  // not above the peak: the hold keeps counting
    EXPECT_EQ(meter.GetHoldCount(0), 8);
    Feed(meter, 0);
    for (int tick = 3; tick <= 9; ++tick) meter.DecayStep();
    EXPECT_EQ(meter.GetPeak(0), 70);
    meter.DecayStep();  // the 10th tick ends the hold and starts the fall
    EXPECT_EQ(meter.GetPeak(0), 69);
    meter.DecayStep();
    EXPECT_EQ(meter.GetPeak(0), 68);

    Feed(meter, 69);  // a new maximum holds again
    EXPECT_EQ(meter.GetPeak(0), 69);
    EXPECT_EQ(meter.GetHoldCount(0), 10);
}

TEST(PeakMeterDecay, SingleSegmentMeterFallsByTenths) {
    CPeakMeterCtrl meter;
    meter.SetMeterBands(1, 1);
    meter.ResetChannels();
    EXPECT_EQ(meter.ScaleSegments(), 7);
    for (int tick = 1; tick <= 10; ++tick) meter.DecayStep();
    EXPECT_EQ(meter.GetLevel(0), 0);
    EXPECT_EQ(meter.GetPeak(0), 65);
}

TEST(PeakMeterDecay, FineScaleStillComesToRest) {
    CPeakMeterCtrl meter;
    meter.SetRanges(5, 6, 7);
    meter.SetMeterBands(1, 35);  // a step of 7 / 35 rounds to nothing
    meter.ResetChannels();
    EXPECT_GT(SettleToRest(meter), 0);
}

TEST(PeakMeterTimer, RunsUntilRestAndRestartsOnANewValue) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    ASSERT_TRUE(meter.StartDecayTimer());
    EXPECT_EQ(meter.GetTimerPeriod(), 35);
    EXPECT_TRUE(meter.IsDecayTimerRunning());
    // Full scale: the peak reaches zero on tick 79; tick 80 finds nothing moving.
    for (int tick = 1; tick <= 79; ++tick) meter.DecayStep();
    EXPECT_EQ(meter.GetPeak(0), 0);
    EXPECT_TRUE(meter.IsDecayTimerRunning());
    meter.DecayStep();
    EXPECT_FALSE(meter.IsDecayTimerRunning());

    EXPECT_TRUE(Feed(meter, 0));  // any hand-over, even of silence
    EXPECT_TRUE(meter.IsDecayTimerRunning());
    meter.DecayStep();
    EXPECT_FALSE(meter.IsDecayTimerRunning());
    Feed(meter, 12);
    EXPECT_TRUE(meter.IsDecayTimerRunning());
}

TEST(PeakMeterTimer, OnlyTheOwnerStartsTheDecay) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    Feed(meter, 40);
    EXPECT_FALSE(meter.IsDecayTimerRunning());
    EXPECT_FALSE(meter.StartDecayTimer(0));
    EXPECT_FALSE(meter.IsDecayTimerRunning());

    meter.StartDecayTimer();
    meter.StopDecayTimer();
    Feed(meter, 40);
    EXPECT_FALSE(meter.IsDecayTimerRunning());
}

TEST(PeakMeterTimer, TimerDrivesTheDecayFromTheEventLoop) {
    CPeakMeterCtrl meter;
    ConfigureAsInputMeter(meter);
    meter.StartDecayTimer();
    EXPECT_TRUE(test::WaitUntil([&] { return meter.GetLevel(0) < 70; }));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Delivers any repaint already asked for.
void FlushRepaints() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The paints each decay tick causes until the meter rests.
std::vector<int> PaintsPerTick(CPeakMeterCtrl& meter, PaintCounter& counter) {
    std::vector<int> paints;
    while (meter.GetLevel(0) || meter.GetPeak(0) || meter.GetHoldCount(0)) {
        const int before = counter.paints;
        meter.DecayStep();
        FlushRepaints();
        paints.push_back(counter.paints - before);
    }
    return paints;
}

// A tick repaints only when a segment goes out or the drawn peak line moves.
TEST(PeakMeterRepaint, OnlyAVisibleChangeRepaints) {
    CPeakMeterCtrl row;
    ConfigureAsInputMeter(row);
    row.show();
    PaintCounter rowPaints(row);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    SettleToRest(row);
    FlushRepaints();
    Feed(row, 40);
    FlushRepaints();
    // 40 falls 2 per tick, one segment of 35 over 70 each, while its held peak
    // (not drawn on a row) counts down and falls unseen.
    std::vector<int> expected(20, 1);
    const std::vector<int> paints = PaintsPerTick(row, rowPaints);
    ASSERT_GE(paints.size(), expected.size());
    expected.resize(paints.size(), 0);
    EXPECT_EQ(paints, expected);
    const int atRest = rowPaints.paints;
    Feed(row, 0);  // silence on a silent meter changes nothing
    FlushRepaints();
    EXPECT_EQ(rowPaints.paints, atRest);

    CPeakMeterCtrl column;  // 8 segments of 70 and a peak line 80 pixels high
    column.SetMeterBands(1, 8);
    column.ResetChannels();
    column.resize(20, 80);
    column.show();
    PaintCounter columnPaints(column);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&column));
    // The level falls 8 a tick, a segment each until 6 falls to 0 (both
    // unlit); the hold counts down 10 ticks, then the peak falls 4 a tick
    // (4.6 pixels): the line moves every tick.
    const std::vector<int> columnTicks = PaintsPerTick(column, columnPaints);
    ASSERT_GT(columnTicks.size(), 12u);
    for (std::size_t tick = 0; tick < columnTicks.size(); ++tick) {
        const bool levelFalls = tick < 8;
        const bool holding = tick < 9;
        EXPECT_EQ(columnTicks[tick], levelFalls || !holding ? 1 : 0) << "tick " << tick;
    }
}

// Renders meters at several levels for a look by eye.
TEST(PeakMeterScreenshot, RendersLevelsAndLayouts) {
    const QString dir = QStringLiteral(SONORIA_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));

    QWidget rows;
    rows.resize(200, 110);
    const int levels[] = {0, 20, 48, 55, 62, 70};
    int y = 6;
    for (int level : levels) {
        auto* meter = new CPeakMeterCtrl(&rows);
        ConfigureAsInputMeter(*meter, 12);
        meter->setGeometry(10, y, 175, 12);
        Feed(*meter, level);
        y += 17;
    }
    EXPECT_TRUE(rows.grab().save(dir + "/peak_meter_rows.png"));

    CPeakMeterCtrl columns;
    columns.resize(160, 160);
    columns.SetBackgroundColor(kBackground);
    SettleToRest(columns);
    const std::array<int, 8> values{0, 20, 35, 45, 56, 60, 66, 70};
    for (int c = 0; c < 8; ++c) columns.SetData(c, values);
    columns.DecayStep();  // the levels fall a step below their held peaks
    EXPECT_TRUE(columns.grab().save(dir + "/peak_meter_columns.png"));

    columns.ShowGrid(true);
    EXPECT_TRUE(columns.grab().save(dir + "/peak_meter_columns_grid.png"));
}

}  // namespace
}  // namespace sonoria
