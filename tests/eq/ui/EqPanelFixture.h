// An EQ graph in a window, as an EQ page holds it, with a record of every
// band the graph hands to its owner.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include <vector>

#include "controls/DialogTemplate.h"
#include "eq/ui/CEqPanel.h"
#include "ui/Waits.h"

namespace sonoria::test {

// The graph's control id in the EQ pages.
inline constexpr int kPanelId = 1015;
// A panel of 722 x 240 pixels has a plot of 680 x 200: 200 pixels a decade
// and 0.15 dB a pixel, its zero line at y = 120.
inline constexpr int kPanelWidth = 722;
inline constexpr int kPanelHeight = 240;
inline constexpr int kPlotWidth = 680;
inline constexpr int kPlotHeight = 200;
inline constexpr int kZeroLineY = 120;

struct Reported {
    bool picked;  // picked, else changed
    int index;
    float frequency;
    float gain;
    float q;
    int controlId;
};

class EqPanelFixture : public ::testing::Test {
public:
    // Keeps every band `target` hands out, in order.
    static void Record(CEqPanel* target, std::vector<Reported>& into) {
        QObject::connect(target, &CEqPanel::bandPicked, target, [&into](const EqBand& band, int id) {
            into.push_back({true, band.index, band.frequency, band.gain, band.q, id});
        });
        QObject::connect(target, &CEqPanel::bandChanged, target, [&into](const EqBand& band, int id) {
            into.push_back({false, band.index, band.frequency, band.gain, band.q, id});
        });
    }

protected:
    EqPanelFixture() : panel(new CEqPanel(&window)) {
        window.resize(kPanelWidth + 40, kPanelHeight + 40);
        panel->setGeometry(20, 20, kPanelWidth, kPanelHeight);
        SetControlId(panel, kPanelId);
        Record(panel, reports);
    }

    // Shows the window, makes it active and paints the panel, which places the markers.
    void ShowActive() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window, test::kEventTimeoutMs));
        panel->repaint();
    }

    // Where band `index` was drawn, in panel pixels.
    QPoint Marker(int index) const {
        const EqBand& band = panel->GetBand(index);
        return {CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y};
    }

    void SetValues(int index, float frequency, float gain, float q) {
        panel->SetBandValue(index, EqField::Frequency, frequency);
        panel->SetBandValue(index, EqField::Gain, gain);
        panel->SetBandValue(index, EqField::Q, q);
    }

    int Count(bool picked) const {
        int n = 0;
        for (const Reported& r : reports) n += r.picked == picked ? 1 : 0;
        return n;
    }

    QWidget window;
    CEqPanel* panel;
    std::vector<Reported> reports;
};

}  // namespace sonoria::test
