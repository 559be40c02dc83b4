// The EQ graph's views: which bands every layout shows with which limits and
// locks, what a layout change keeps and clears, and that nothing the owner
// writes into the graph is reported back as the user's change.
#include <gtest/gtest.h>

#include <QFrame>

#include <cmath>
#include <limits>
#include <vector>

#include "eq/EqResponse.h"
#include "tests/eq/ui/EqPanelFixture.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using test::EqPanelFixture;

constexpr float kPeakQ = std::numeric_limits<float>::quiet_NaN();  // the device's, not the layout's

// The band kinds the views are made of, as the owners' windows describe them.
struct Kind {
    EqBandType type;
    float frequency;  // peaks: given per layout
    float q;          // fixed Q, or kPeakQ
    float minFrequency, maxFrequency, minGain, maxGain;
};
constexpr Kind kP{EqBandType::Peak, 0, kPeakQ, 20, 19200, -12, 12};
constexpr Kind kMicHP{EqBandType::HighPass, 20, 0.48f, 18, 300, -15, 15};
constexpr Kind kMusicHP{EqBandType::HighPass, 18, 0.63f, 18, 300, -15, 15};
constexpr Kind kMicLS{EqBandType::LowShelf, 40, 0.1f, 40, 2000, -12, 12};
constexpr Kind kMusicLS{EqBandType::LowShelf, 40, 0.1f, 40, 1000, -12, 12};
constexpr Kind kHS{EqBandType::HighShelf, 3000, 0.1f, 500, 3000, -12, 12};
constexpr Kind kMicLP{EqBandType::LowPass, 15000, 0.48f, 7000, 20001, -15, 15};
constexpr Kind kOutHP{EqBandType::HighPass, 200, 0.707f, 18, 200, 0, 0};
constexpr Kind kOutLP{EqBandType::LowPass, 15200, 0.5f, 20, 15202, 0, 0};
constexpr Kind kFxHP900{EqBandType::HighPass, 20, 0.707f, 18, 900, -15, 15};
constexpr Kind kFxHP1800{EqBandType::HighPass, 20, 0.707f, 18, 1800, -15, 15};
constexpr Kind kFxLS{EqBandType::LowShelf, 40, 0.707f, 40, 1000, -12, 12};
constexpr Kind kFxHS12{EqBandType::HighShelf, 1000, 0.707f, 500, 2000, -12, 12};
constexpr Kind kFxHS6{EqBandType::HighShelf, 1000, 0.707f, 500, 2000, -12, 6};

struct Expected {
    Kind kind;
    float peakFrequency = 0;
    bool locked = false;
};
Expected E(const Kind& kind) { return {kind}; }
Expected P(float hz) { return {kP, hz}; }
Expected L(const Kind& kind) { return {kind, 0, true}; }
Expected LP(float hz) { return {kP, hz, true}; }

std::vector<Expected> Join(std::vector<Expected> a, const std::vector<Expected>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::vector<Expected>> ExpectedLayouts() {
    const std::vector<Expected> micRef{L(kMicHP), L(kMicLS), LP(80), LP(160), LP(500), LP(1000), L(kHS), L(kMicLP)};
    const std::vector<Expected> musicRef{L(kMusicHP), L(kMusicLS), LP(500), LP(1000), L(kHS)};
    const std::vector<Expected> outRef{L(kOutHP), L(kOutLP)};
    return {
        {E(kMicHP), E(kMicLS), P(80), P(160), P(500), P(1000), E(kHS), E(kMicLP)},
        {E(kFxHP1800), E(kFxHS6)},
        {E(kFxHP900), E(kFxHS12)},
        Join({P(200), P(700)}, micRef),
        {E(kMusicHP), E(kMusicLS), P(500), P(1000), E(kHS)},
        Join(Join({P(100), P(250)}, micRef), outRef),
        Join(Join({P(100), P(250)}, musicRef), outRef),
        Join(Join({P(100), P(250)}, micRef), outRef),
        Join(Join({P(100), P(250)}, musicRef), outRef),
        {E(kOutHP), E(kOutLP)},
        {E(kOutHP), E(kOutLP)},
        Join({P(200), P(700)}, musicRef),
        {E(kFxHP900), E(kFxLS), E(kFxHS12)},
    };
}

class EqPanelLayoutTest : public EqPanelFixture {};

TEST_F(EqPanelLayoutTest, EveryLayoutShowsItsBandsWithTheirLimitsAndLocks) {
    const auto layouts = ExpectedLayouts();
    ASSERT_EQ(layouts.size(), static_cast<std::size_t>(kEqLayoutCount));
    for (int layout = 0; layout < kEqLayoutCount; ++layout) {
        SCOPED_TRACE(layout);
        // Start each from a different view, so that nothing is left over by chance.
        panel->SetLayout((layout + 5) % kEqLayoutCount);
        ASSERT_TRUE(panel->SetLayout(layout));
        EXPECT_EQ(panel->GetLayout(), layout);
        const auto& expected = layouts[static_cast<std::size_t>(layout)];
        ASSERT_EQ(panel->GetBandCount(), static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            const Expected& e = expected[i];
            const EqBand& band = panel->GetBand(static_cast<int>(i));
            EXPECT_EQ(band.index, static_cast<int>(i));
            EXPECT_EQ(band.type, e.kind.type);
            EXPECT_EQ(band.locked, e.locked);
            EXPECT_EQ(band.frequency, e.kind.type == EqBandType::Peak ? e.peakFrequency : e.kind.frequency);
            EXPECT_EQ(band.minFrequency, e.kind.minFrequency);
            EXPECT_EQ(band.maxFrequency, e.kind.maxFrequency);
            EXPECT_EQ(band.minGain, e.kind.minGain);
            EXPECT_EQ(band.maxGain, e.kind.maxGain);
            if (std::isnan(e.kind.q)) {
                EXPECT_EQ(band.minQ, 0.77f);
                EXPECT_EQ(band.maxQ, 15.3f);
            } else {
                EXPECT_EQ(band.q, e.kind.q);
                EXPECT_EQ(band.minQ, e.kind.q);
                EXPECT_EQ(band.maxQ, e.kind.q);
            }
            // The curve is ready at once: the response is that of the band's values.
            EqBand fresh = band;
            fresh.response.fill(99.0f);
            ComputeBandResponse(fresh);
            EXPECT_EQ(fresh.response, band.response);
        }
    }
    EXPECT_TRUE(reports.empty());
}

// A layout change must leave no stale state: pass filters back on the 0 dB
// line, no selection, no hover; values it does not set stay as they were.
TEST_F(EqPanelLayoutTest, ALayoutChangeKeepsValuesButLeavesNoStaleState) {
    panel->SetLayout(kEqLayoutMic);
    panel->SetBandValue(0, EqField::Gain, 7.0f);  // high-pass: a gain nobody edits
    SetValues(2, 120.0f, 4.5f, 3.25f);
    SetValues(3, 170.0f, -3.0f, 2.0f);
    panel->SetBandValue(9, EqField::Gain, -5.0f);  // not in use yet
    ShowActive();
    QTest::mouseClick(panel, Qt::LeftButton, {}, Marker(3));
    QTest::mouseMove(panel, Marker(5));
    ASSERT_EQ(panel->GetSelectedBand(), 3);
    ASSERT_EQ(panel->GetHoverBand(), 5);
    reports.clear();

    // Main output, mic path: 0 and 1 peaks, then the locked mic EQ from its high-pass on.
    panel->SetLayout(kEqLayoutMainMic);
    EXPECT_EQ(panel->GetSelectedBand(), -1);
    EXPECT_EQ(panel->GetHoverBand(), -1);
    EXPECT_EQ(panel->GetBand(0).gain, 7.0f);   // a peak keeps the gain it held
    EXPECT_EQ(panel->GetBand(2).gain, 0.0f);   // the locked high-pass...
    EXPECT_EQ(panel->GetBand(9).gain, 0.0f);   // ...and low-pass sit on the 0 dB line
    EXPECT_EQ(panel->GetBand(3).gain, -3.0f);  // the locked shelf keeps its gain
    EXPECT_EQ(panel->GetBand(3).q, 0.1f);      // with its own Q
    EXPECT_EQ(panel->GetBand(12).frequency, 100.0f);  // bands beyond the layout keep everything
    panel->repaint();
    EXPECT_EQ(Marker(2).y(), test::kZeroLineY);
    EXPECT_EQ(Marker(9).y(), test::kZeroLineY);
    // The keys have nothing left to act on; an unknown layout changes nothing.
    QTest::keyClick(panel, Qt::Key_Up);
    EXPECT_FALSE(panel->SetLayout(kEqLayoutCount));
    EXPECT_FALSE(panel->SetLayout(-1));
    EXPECT_EQ(panel->GetLayout(), kEqLayoutMainMic);
    EXPECT_EQ(panel->GetBandCount(), 10);
    EXPECT_TRUE(reports.empty());
}

TEST_F(EqPanelLayoutTest, WritingValuesRecomputesButReportsNothing) {
    panel->SetLayout(kEqLayoutMusic);
    const auto flat = panel->GetBand(2).response;
    EXPECT_TRUE(panel->SetBandValue(2, EqField::Gain, 6.0f));
    EXPECT_NE(panel->GetBand(2).response, flat);
    // Values the device holds are taken as they are, beyond the drag limits too.
    EXPECT_TRUE(panel->SetBandValue(2, EqField::Frequency, 19512.0f));
    EXPECT_EQ(panel->GetBand(2).frequency, 19512.0f);
    EXPECT_FALSE(panel->SetBandValue(2, EqField::Gain, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(panel->GetBand(2).gain, 6.0f);

    // From a parameter: the number its text shows; a shelf frequency reading 0 is no value.
    EXPECT_TRUE(panel->FillBandValue(2, EqField::Q, TextRule::QText, 0));
    EXPECT_EQ(panel->GetBand(2).q, 0.767f);
    EXPECT_FALSE(panel->FillBandValue(1, EqField::Frequency, TextRule::Freq1kText, 0));
    EXPECT_EQ(panel->GetBand(1).frequency, 40.0f);

    // Only bands the user could pick can be selected from code.
    EXPECT_TRUE(panel->SetSelectedBand(2));
    panel->SetLayout(kEqLayoutMainMic);
    EXPECT_FALSE(panel->SetSelectedBand(2));   // locked
    EXPECT_FALSE(panel->SetSelectedBand(10));  // not in use
    panel->SetShowOff(true);
    panel->SetEnglish(false);
    EXPECT_TRUE(reports.empty());
}

TEST(EqPanelPlacementTest, APanelTakesThePlaceAndIdOfItsTemplateControl) {
    QWidget page;
    auto* placeholder = new QFrame(&page);
    placeholder->setGeometry(3, 23, 878, 281);
    SetControlId(placeholder, test::kPanelId);

    CEqPanel* panel = CEqPanel::ReplaceControl(placeholder);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(3, 23, 878, 281));
    EXPECT_EQ(panel->controlId(), test::kPanelId);
    EXPECT_EQ(ControlId(panel), test::kPanelId);
    EXPECT_EQ(FindControl(&page, test::kPanelId), panel);
    QFrame orphan;
    EXPECT_EQ(CEqPanel::ReplaceControl(&orphan), nullptr);  // no window to sit in

    std::vector<test::Reported> reports;
    test::EqPanelFixture::Record(panel, reports);
    page.resize(900, 320);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page, test::kEventTimeoutMs));
    panel->repaint();
    const EqBand& band = panel->GetBand(2);
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().controlId, test::kPanelId);
}

}  // namespace
}  // namespace sonoria
