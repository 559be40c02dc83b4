// What the EQ graph draws where: the grid and its lines' greys, the total
// curve through the bands' levels, the shaded selected band, the notes and
// the "OFF" picture, the texts of the active band and their colours; and
// screenshots of several views for a look by eye.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "eq/EqAxes.h"
#include "tests/eq/ui/EqPanelFixture.h"
#include "ui/Waits.h"

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

TEST_F(EqPanelPaintTest, TheCurveRunsThroughTheBandsLevelsAndTheSelectedBandIsShaded) {
    MusicWithPeak(6.0f);
    const QImage plain = Picture();
    // Columns far from the peak lie on the zero line; column 330 on the peak's flank.
    EXPECT_NEAR(CurveRow(plain, 102), kZeroLineY, 1);
    const int column = 330;
    const int x = static_cast<int>(column * test::kPlotWidth / 512.0 + CEqPanel::kPlotLeft);
    const double level = panel->GetBand(3).response[column];
    ASSERT_GT(level, 1.0);
    const int curve = CurveRow(plain, x);
    EXPECT_NEAR(curve, kZeroLineY - level * test::kPlotHeight / 30.0, 1.5);

    // Selected, the band's area between its curve and the zero line turns grey.
    ASSERT_TRUE(panel->SetSelectedBand(3));
    const QImage selected = Picture();
    int shaded = 0;
    for (int y = curve + 3; y < kZeroLineY - 1; ++y) {
        if (plain.pixelColor(x, y) != kBlack) continue;  // a grid line
        const QColor c = selected.pixelColor(x, y);
        EXPECT_TRUE(c.red() == c.green() && c.green() == c.blue() && c.red() > 5) << y;
        ++shaded;
    }
    EXPECT_GT(shaded, 5);
    EXPECT_EQ(selected.pixelColor(x, kZeroLineY + 10), kBlack);
}

TEST_F(EqPanelPaintTest, OnlyTheOutputViewsCarryTheNoteAndOffShowsNothingElse) {
    auto yellow = [](const QColor& c) { return c.red() > 150 && c.green() > 150 && c.blue() < 60; };
    auto noteIn = [&](const QImage& image) {
        return CountPixels(image, QRect(image.width() / 2, 0, image.width() / 2, 18), yellow) > 10;
    };
    for (int layout = 0; layout < kEqLayoutCount; ++layout) {
        SCOPED_TRACE(layout);
        panel->SetLayout(layout);
        EXPECT_EQ(noteIn(Picture()), layout == 3 || layout == 11 || (layout >= 5 && layout <= 8));
    }
    panel->SetLayout(kEqLayoutMainMic);
    panel->SetBandValue(0, EqField::Gain, 9.0f);
    panel->SetShowOff(true);
    const QImage image = Picture();
    auto offBlue = [](const QColor& c) { return c.blue() > 150 && c.red() < 40 && c.green() > c.blue() * 0.4; };
    const QRect middle(image.width() / 2 - 80, image.height() / 2 - 40, 160, 80);
    EXPECT_GT(CountPixels(image, middle, offBlue), 200);
    EXPECT_EQ(CountPixels(image, image.rect(), IsCurveGreen), 0);
    EXPECT_TRUE(noteIn(image));
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

    // The hovered band takes the texts, unless a drag is on: a press beside every
    // marker drags nothing, and nothing is selected.
    ShowActive();
    QTest::mouseMove(panel, Marker(3));
    EXPECT_GT(InfoGainRedToGreen(), 0);
    QTest::mousePress(panel, Qt::LeftButton, {}, Marker(3) + QPoint(40, -60));
    QTest::mouseMove(panel, Marker(3));
    EXPECT_EQ(InfoGainRedToGreen(), -1);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, Marker(3));
    EXPECT_GT(InfoGainRedToGreen(), 0);
}

TEST(EqPanelTexts, TheActiveBandsTextsReadAsTheOwnersExpect) {
    EqBand band;
    band.index = 0;
    band.type = EqBandType::HighPass;
    band.frequency = 18.0f;
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=1 Frequency=OFF "));
    EXPECT_EQ(CEqPanel::InfoLineText(band, false), QString::fromUtf8("控制号=1 频率=OFF "));
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutMic), QStringLiteral("OFF"));
    EXPECT_EQ(CEqPanel::MarkerLabel(band), QStringLiteral("1: HP"));

    band.index = 6;
    band.type = EqBandType::HighShelf;
    band.frequency = 2999.6f;
    band.gain = -0.04f;
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=7 Frequency=3000Hz Gain="));
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
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutCentreMic), QStringLiteral("15202Hz"));
    band.frequency = 20001.0f;
    EXPECT_EQ(CEqPanel::FrequencyText(band, kEqLayoutMic), QStringLiteral("OFF"));
    EXPECT_EQ(CEqPanel::InfoLineText(band, true), QStringLiteral("Index=12 Frequency=20001Hz "));
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, test::kEventTimeoutMs));

    using Values = std::vector<std::array<float, 3>>;  // frequency, gain, Q of bands 0, 1, ...
    const Values mic{{60, 0, 0.48f}, {120, 4, 0.1f},    {250, -5, 1.533f}, {700, 3.5f, 2.5f},
                     {2500, -3, 1}, {5000, 6, 4}, {3000, -2, 0.1f}, {12000, 0, 0.48f}};
    auto join = [](Values a, const Values& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Shot {
        const char* file;
        int layout;
        bool english;
        int selected;
        Values values;
        bool off;
    };
    const Shot shots[] = {
        {"eq-panel-mic.png", kEqLayoutMic, true, 4, mic, false},
        {"eq-panel-main-mic-zh.png", kEqLayoutMainMic, false, 1, join({{200, 5, 2}, {1500, -7.5f, 1.2f}}, mic), false},
        {"eq-panel-centre-music.png", kEqLayoutCentreMusic, true, 0,
         {{80, 4, 1.533f}, {400, -3, 3}, {30, 0, 0.63f}, {100, 3, 0.1f}, {500, 2, 1.533f}, {1000, -2, 1.533f},
          {3000, 2, 0.1f}, {100, 0, 0.707f}, {15202, 0, 0.5f}},
         false},
        {"eq-panel-sub-filters.png", kEqLayoutSubFilters, true, 1, {{40, 0, 0.707f}, {15202, 0, 0.5f}}, false},
        {"eq-panel-echo.png", kEqLayoutEchoThreePoint, true, 2,
         {{150, 0, 0.707f}, {300, 5, 0.707f}, {1500, -8, 0.707f}}, false},
        {"eq-panel-off.png", kEqLayoutMusic, true, -1, {}, true},
    };
    for (const Shot& shot : shots) {
        panel->SetLayout(shot.layout);
        panel->SetEnglish(shot.english);
        panel->SetShowOff(shot.off);
        for (std::size_t i = 0; i < shot.values.size(); ++i) {
            const int band = static_cast<int>(i);
            panel->SetBandValue(band, EqField::Frequency, shot.values[i][0]);
            panel->SetBandValue(band, EqField::Gain, shot.values[i][1]);
            panel->SetBandValue(band, EqField::Q, shot.values[i][2]);
        }
        panel->SetSelectedBand(shot.selected);
        EXPECT_TRUE(panel->grab().save(QDir(dir).filePath(QString::fromLatin1(shot.file))));
    }
}

}  // namespace
}  // namespace sonoria
