// What the EQ graph draws where: the grid and its lines' greys, the total
// curve through the bands' levels, the shaded selected band, the notes and
// the "OFF" picture, the texts of the active band and their colours; and
// screenshots of several views for a look by eye.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cmath>
#include <functional>

#include "eq/EqAxes.h"
#include "tests/eq/EqPanelFixture.h"

namespace sonoria {
namespace {

using test::EqPanelFixture;
using test::kZeroLineY;

const QColor kBlack(0, 0, 0);
const QColor kOuterGrey(120, 120, 120);
const QColor kMajorGrey(60, 60, 60);
const QColor kMinorGrey(20, 20, 20);

// The total curve (0, 255, 102) at some coverage over a dark background.
bool IsCurveGreen(const QColor& c) {
    return c.green() > 60 && c.red() < c.green() * 0.15 && c.blue() > c.green() * 0.3 && c.blue() < c.green() * 0.5;
}

// The row of column x where the curve colour is strongest, or -1.
int CurveRow(const QImage& image, int x) {
    int best = -1;
    int strongest = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QColor c = image.pixelColor(x, y);
        if (IsCurveGreen(c) && c.green() > strongest) {
            strongest = c.green();
            best = y;
        }
    }
    return best;
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

class EqPanelPaintTest : public EqPanelFixture {
protected:
    QImage Picture() { return panel->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The music EQ, flat but for one peak at 1 kHz.
    void MusicWithPeak(float gain) {
        panel->SetLayout(kEqLayoutMusic);
        panel->SetBandValue(1, EqField::Gain, 0.0f);
        panel->SetBandValue(4, EqField::Gain, 0.0f);
        SetValues(2, 500.0f, 0.0f, 1.533f);
        SetValues(3, 1000.0f, gain, 1.533f);
    }

    // Colour of the info line's gain: the ratio of red to green of its brightest pixel.
    double InfoGainRedToGreen() {
        const QImage image = Picture();
        QColor brightest(0, 0, 0);
        for (int y = 0; y < 18; ++y) {
            for (int x = CEqPanel::kPlotLeft; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                // The line's own text is pure green; the gain carries red.
                if (c.red() > 40 && c.blue() < 20 && c.red() + c.green() > brightest.red() + brightest.green()) {
                    brightest = c;
                }
            }
        }
        return brightest.green() > 0 ? static_cast<double>(brightest.red()) / brightest.green() : -1;
    }
};

TEST_F(EqPanelPaintTest, TheGridHasItsLinesInTheirGreys) {
    panel->SetLayout(kEqLayoutMusic);
    const QImage image = Picture();
    // Column 50 lies between the 10 Hz and 20 Hz lines. Level lines every 200/30 pixels from y = 20.
    EXPECT_EQ(image.pixelColor(50, 20), kOuterGrey);   // +15 dB
    EXPECT_EQ(image.pixelColor(50, 26), kMinorGrey);   // +14 dB
    EXPECT_EQ(image.pixelColor(50, 40), kMajorGrey);   // +12 dB
    EXPECT_EQ(image.pixelColor(50, 30), kBlack);
    EXPECT_EQ(image.pixelColor(50, 220), kOuterGrey);  // -15 dB
    EXPECT_EQ(image.pixelColor(50, 221), kOuterGrey);  // the closing line under the plot
    EXPECT_EQ(image.pixelColor(50, 222), kBlack);
    // Lines end one pixel short of X0 + W, as GDI draws them.
    EXPECT_EQ(image.pixelColor(715, 26), kMinorGrey);
    EXPECT_EQ(image.pixelColor(716, 26), kBlack);

    // The 1 kHz line, 400 pixels into the plot, runs from just below the top line to just above the bottom one.
    const int x = CEqPanel::kPlotLeft + static_cast<int>(std::trunc(FrequencyOffset(1000.0, test::kPlotWidth)));
    EXPECT_EQ(image.pixelColor(x, 30), kMajorGrey);
    EXPECT_EQ(image.pixelColor(x, 21), kMajorGrey);
    EXPECT_EQ(image.pixelColor(x, 219), kMajorGrey);
    EXPECT_EQ(image.pixelColor(x, 20), kOuterGrey);
    EXPECT_EQ(image.pixelColor(x - 2, 30), kBlack);

    // The labels are blue-grey: decibels left of the plot, hertz under it.
    auto bluish = [](const QColor& c) { return c.blue() > 60 && c.blue() > c.red() + 20 && c.blue() > c.green(); };
    EXPECT_GT(CountPixels(image, QRect(0, kZeroLineY - 7, CEqPanel::kPlotLeft - 5, 15), bluish), 5);
    EXPECT_EQ(CountPixels(image, QRect(CEqPanel::kPlotLeft - 4, 0, 4, image.height()), bluish), 0);
    EXPECT_GT(CountPixels(image, QRect(x - 20, 226, 40, 14), bluish), 5);
}

TEST_F(EqPanelPaintTest, TheTotalCurveRunsThroughTheBandsLevels) {
    MusicWithPeak(6.0f);
    const QImage image = Picture();
    const auto& response = panel->GetBand(3).response;
    // Columns far from the peak lie on the zero line; column 330 on the peak's flank.
    EXPECT_NEAR(CurveRow(image, 102), kZeroLineY, 1);
    const int column = 330;
    const int x = static_cast<int>(column * test::kPlotWidth / 512.0 + CEqPanel::kPlotLeft);
    const double level = response[column];
    ASSERT_GT(level, 1.0);
    EXPECT_NEAR(CurveRow(image, x), kZeroLineY - level * test::kPlotHeight / 30.0, 1.5);
}

TEST_F(EqPanelPaintTest, TheSelectedBandsAreaIsShadedDownToTheZeroLine) {
    MusicWithPeak(6.0f);
    const QImage plain = Picture();
    ASSERT_TRUE(panel->SetSelectedBand(3));
    const QImage selected = Picture();
    const int x = static_cast<int>(330 * test::kPlotWidth / 512.0 + CEqPanel::kPlotLeft);
    const int curve = CurveRow(plain, x);
    ASSERT_GT(curve, 20);
    int shaded = 0;
    for (int y = curve + 3; y < kZeroLineY - 1; ++y) {
        if (plain.pixelColor(x, y) != kBlack) continue;  // a grid line
        const QColor c = selected.pixelColor(x, y);
        EXPECT_TRUE(c.red() == c.green() && c.green() == c.blue() && c.red() > 5) << y;
        ++shaded;
    }
    EXPECT_GT(shaded, 5);
    // Under the zero line there is nothing to shade.
    EXPECT_EQ(selected.pixelColor(x, kZeroLineY + 10), kBlack);
}

TEST_F(EqPanelPaintTest, OffShowsOnlyTheWordButKeepsTheNote) {
    panel->SetLayout(kEqLayoutMainMic);
    panel->SetBandValue(0, EqField::Gain, 9.0f);
    panel->SetShowOff(true);
    const QImage image = Picture();
    auto offBlue = [](const QColor& c) { return c.blue() > 150 && c.red() < 40 && c.green() > c.blue() * 0.4; };
    const QRect middle(image.width() / 2 - 80, image.height() / 2 - 40, 160, 80);
    EXPECT_GT(CountPixels(image, middle, offBlue), 200);
    EXPECT_EQ(CountPixels(image, image.rect(), IsCurveGreen), 0);
    auto yellow = [](const QColor& c) { return c.red() > 150 && c.green() > 150 && c.blue() < 60; };
    EXPECT_GT(CountPixels(image, QRect(image.width() / 2, 0, image.width() / 2, 18), yellow), 10);
}

TEST_F(EqPanelPaintTest, OnlyTheOutputViewsCarryTheReferenceNote) {
    auto yellow = [](const QColor& c) { return c.red() > 150 && c.green() > 150 && c.blue() < 60; };
    for (int layout = 0; layout < kEqLayoutCount; ++layout) {
        SCOPED_TRACE(layout);
        panel->SetLayout(layout);
        const QImage image = Picture();
        const bool noted = layout == 3 || layout == 11 || (layout >= 5 && layout <= 8);
        const int count = CountPixels(image, QRect(image.width() / 2, 0, image.width() / 2, 18), yellow);
        EXPECT_EQ(count > 10, noted) << count;
    }
}

TEST_F(EqPanelPaintTest, TheInfoLinesGainIsColouredByItsWholeDecibels) {
    MusicWithPeak(0.0f);
    ASSERT_TRUE(panel->SetSelectedBand(3));
    const double amber = 200.0 / 160.0;
    const double green = 123.0 / 209.0;
    for (bool english : {true, false}) {
        SCOPED_TRACE(english);
        panel->SetEnglish(english);
        const std::pair<float, double> cases[] = {{12.0f, amber}, {6.9f, green}, {-7.0f, amber}, {-6.9f, green},
                                                  {0.0f, green},  {13.0f, amber}};
        for (const auto& [gain, ratio] : cases) {
            SCOPED_TRACE(gain);
            panel->SetBandValue(3, EqField::Gain, gain);
            EXPECT_NEAR(InfoGainRedToGreen(), ratio, 0.08);
        }
    }
    // A pass filter's line has no gain.
    ASSERT_TRUE(panel->SetSelectedBand(0));
    EXPECT_EQ(InfoGainRedToGreen(), -1);
}

TEST_F(EqPanelPaintTest, AHoveredBandTakesTheTextsUnlessADragIsOn) {
    MusicWithPeak(6.0f);
    ShowActive();
    auto infoPixels = [&] {
        const QImage image = Picture();
        return CountPixels(image, QRect(CEqPanel::kPlotLeft, 0, 300, 16),
                           [](const QColor& c) { return c.green() > 120 && c.red() < 30 && c.blue() < 30; });
    };
    EXPECT_EQ(infoPixels(), 0);  // nothing active
    QTest::mouseMove(panel, Marker(2));
    EXPECT_EQ(panel->GetHoverBand(), 2);
    EXPECT_GT(infoPixels(), 20);

    // A left press beside every marker starts a drag of nothing: the texts are the selection's, none.
    const QPoint empty(Marker(2).x() + 40, 40);
    QTest::mousePress(panel, Qt::LeftButton, {}, empty);
    QTest::mouseMove(panel, Marker(2));
    EXPECT_EQ(panel->GetHoverBand(), 2);
    EXPECT_EQ(infoPixels(), 0);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, Marker(2));
    EXPECT_GT(infoPixels(), 20);
}

TEST(EqPanelTexts, TheActiveBandsTextsReadAsTheOwnersExpect) {
    EqBand band;
    band.index = 0;
    band.type = EqBandType::HighPass;
    band.frequency = 18.0f;
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=1 Frequency=OFF "));
    EXPECT_EQ(CEqPanel::InfoLineText(band, false), QString::fromUtf8("控制号=1 频率=OFF "));
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutMic), QStringLiteral("OFF"));
    EXPECT_FALSE(CEqPanel::InfoLineShowsGain(band));
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("1: HP"));
    band.frequency = 22.0f;
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=1 Frequency=22Hz "));

    band.index = 6;
    band.type = EqBandType::HighShelf;
    band.frequency = 2999.6f;
    band.gain = -0.04f;
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=7 Frequency=3000Hz Gain="));
    EXPECT_EQ(CEqPanel::InfoLineText(band, false), QString::fromUtf8("控制号=7 频率=3000Hz 增益="));
    EXPECT_EQ(CEqPanel::InfoGainText(band), QStringLiteral("-0.0dB "));
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("7: HS"));

    band.index = 2;
    band.type = EqBandType::Peak;
    band.frequency = 1000.0f;
    band.gain = 3.0f;
    band.q = 1.533f;
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=3 Frequency=1000Hz Q=1.533  Gain="));
    EXPECT_EQ(CEqPanel::InfoLineText(band, false),
              QString::fromUtf8("控制号=3 频率=1000Hz Q值=1.533(右键选中左右移动)  增益="));
    EXPECT_EQ(CEqPanel::InfoGainText(band), QStringLiteral("+3.0dB "));
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("3"));
    band.locked = true;
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("P"));

    // Two-digit bands drop the colon; locked ones show only their shape.
    band.locked = false;
    band.index = 11;
    band.type = EqBandType::LowPass;
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("12 LP"));
    band.locked = true;
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("LP"));

    // The output low-pass at its off value: off only in the filter views; the mic low-pass past 20 kHz always.
    band.frequency = 15202.0f;
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutCentreFilters), QStringLiteral("OFF"));
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutSubFilters), QStringLiteral("OFF"));
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutCentreMic), QStringLiteral("15202Hz"));
    band.frequency = 20001.0f;
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutMic), QStringLiteral("OFF"));
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=12 Frequency=20001Hz "));
}

TEST_F(EqPanelPaintTest, APanelWithoutRoomForAPlotIsJustBlack) {
    MusicWithPeak(6.0f);
    ASSERT_TRUE(panel->SetSelectedBand(3));
    for (const QSize size : {QSize(42, 240), QSize(722, 40), QSize(30, 20)}) {
        panel->resize(size);
        const QImage image = Picture();
        EXPECT_EQ(CountPixels(image, image.rect(), [](const QColor& c) { return c != QColor(0, 0, 0); }), 0);
    }
}

// Views of the pages at their template size, saved for a look by eye.
TEST(EqPanelScreenshots, SavesTheMainViews) {
    const QString dir = QStringLiteral(SONORIA_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    QWidget window;
    window.resize(878, 281);
    auto* panel = new CEqPanel(&window);
    panel->setGeometry(0, 0, 878, 281);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto save = [&](const char* name) {
        EXPECT_TRUE(panel->grab().save(QDir(dir).filePath(QString::fromLatin1(name))));
    };
    auto set = [&](int index, float hz, float gain, float q) {
        panel->SetBandValue(index, EqField::Frequency, hz);
        panel->SetBandValue(index, EqField::Gain, gain);
        panel->SetBandValue(index, EqField::Q, q);
    };
    auto fillMic = [&](int first) {
        set(first + 0, 60.0f, 0.0f, 0.48f);
        set(first + 1, 120.0f, 4.0f, 0.1f);
        set(first + 2, 250.0f, -5.0f, 1.533f);
        set(first + 3, 700.0f, 3.5f, 2.5f);
        set(first + 4, 2500.0f, -3.0f, 1.0f);
        set(first + 5, 5000.0f, 6.0f, 4.0f);
        set(first + 6, 3000.0f, -2.0f, 0.1f);
        set(first + 7, 12000.0f, 0.0f, 0.48f);
    };

    panel->SetLayout(kEqLayoutMic);
    fillMic(0);
    panel->SetSelectedBand(4);
    save("eq-panel-mic.png");

    panel->SetEnglish(false);
    panel->SetLayout(kEqLayoutMainMic);
    set(0, 200.0f, 5.0f, 2.0f);
    set(1, 1500.0f, -7.5f, 1.2f);
    fillMic(2);
    panel->SetSelectedBand(1);
    save("eq-panel-main-mic-zh.png");

    panel->SetEnglish(true);
    panel->SetLayout(kEqLayoutCentreMusic);
    set(0, 80.0f, 4.0f, 1.533f);
    set(1, 400.0f, -3.0f, 3.0f);
    set(2, 30.0f, 0.0f, 0.63f);
    set(3, 100.0f, 3.0f, 0.1f);
    set(4, 500.0f, 2.0f, 1.533f);
    set(5, 1000.0f, -2.0f, 1.533f);
    set(6, 3000.0f, 2.0f, 0.1f);
    set(7, 100.0f, 0.0f, 0.707f);
    set(8, 15202.0f, 0.0f, 0.5f);
    panel->SetSelectedBand(0);
    save("eq-panel-centre-music.png");

    panel->SetLayout(kEqLayoutSubFilters);
    set(0, 40.0f, 0.0f, 0.707f);
    set(1, 15202.0f, 0.0f, 0.5f);
    panel->SetSelectedBand(1);
    save("eq-panel-sub-filters.png");

    panel->SetLayout(kEqLayoutEchoThreePoint);
    set(0, 150.0f, 0.0f, 0.707f);
    set(1, 300.0f, 5.0f, 0.707f);
    set(2, 1500.0f, -8.0f, 0.707f);
    panel->SetSelectedBand(2);
    save("eq-panel-echo.png");

    panel->SetLayout(kEqLayoutMusic);
    panel->SetShowOff(true);
    save("eq-panel-off.png");
}

}  // namespace
}  // namespace sonoria
