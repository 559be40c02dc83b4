// Cost of one frame of an EQ drag at 1000 x 400 pixels: the dragged band's
// response recomputed, the total curve summed and the whole graph painted
// off-screen; goal under 4 ms a frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "eq/EqResponse.h"
#include "eq/ui/CEqPanel.h"

namespace sonoria {
namespace {

// The application of the run (bench/BenchMain.cpp) must exist: widgets need it.
void EnsureApplication() { Q_ASSERT(QApplication::instance() != nullptr); }

// The fullest view (twelve bands: two peaks, the mic EQ and the output
// filters), every band away from 0 dB, in a 1000 x 400 window.
struct DragScene {
    QWidget window;
    CEqPanel* panel;

    DragScene() : panel(new CEqPanel(&window)) {
        window.resize(1000, 400);
        panel->setGeometry(0, 0, 1000, 400);
        panel->SetLayout(kEqLayoutCentreMic);
        const float frequencies[] = {100, 250, 30, 120, 80, 160, 500, 1000, 3000, 12000, 60, 14000};
        for (int i = 0; i < panel->GetBandCount(); ++i) {
            panel->SetBandValue(i, EqField::Frequency, frequencies[i]);
            panel->SetBandValue(i, EqField::Gain, i % 2 == 0 ? 4.0f : -3.0f);
        }
        window.show();
        QApplication::processEvents();
        panel->repaint();
    }

    QPoint Marker(int index) const {
        const EqBand& band = panel->GetBand(index);
        return {CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y};
    }
};

// Through the panel's own path: a mouse move of a left drag recomputes the
// band, reports it and repaints the panel at once.
void BM_EqPanelDragFrame(benchmark::State& state) {
    EnsureApplication();
    DragScene scene;
    CEqPanel* panel = scene.panel;
    const QPoint start = scene.Marker(0);
    QMouseEvent press(QEvent::MouseButtonPress, start, panel->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(panel, &press);
    if (panel->GetSelectedBand() != 0) {
        state.SkipWithError("the band was not picked");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        // Back and forth over a decade and 9 dB, a new place every frame.
        const QPoint to = start + QPoint(step % 200 - 100, step % 60 - 30);
        ++step;
        QMouseEvent move(QEvent::MouseMove, to, panel->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(panel, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, start, panel->mapToGlobal(start), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(panel, &release);
}
BENCHMARK(BM_EqPanelDragFrame)->Unit(benchmark::kMicrosecond);

// The same frame assembled by hand into an image: band, total (summed while
// painting) and the picture, without the window system's part.
void BM_EqPanelPaintIntoImage(benchmark::State& state) {
    EnsureApplication();
    DragScene scene;
    CEqPanel* panel = scene.panel;
    panel->SetSelectedBand(0);
    QImage image(panel->size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        panel->SetBandValue(0, EqField::Frequency, 100.0f + static_cast<float>(step++ % 900));
        panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_EqPanelPaintIntoImage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sonoria
