// How long the main window's event loop can be kept from running while the
// user drags a master volume, an EQ band of the mic page or a slider of the
// effect window, on a device that answers in 20 ms. A 1 ms
// heartbeat timer notes the longest gap between its beats; the goal is to
// stay under 50 ms, so that dragging never stutters.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "app/CSonoriaDlg.h"
#include "app/FlowPanel.h"
#include "app/DeviceWatch.h"
#include "app/MainWindowTemplate.h"
#include "app/MessageService.h"
#include "app/Settings.h"
#include "controls/CXBmpSlider.h"
#include "controls/DialogTemplate.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/CMicHLDlg.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;

constexpr auto kAnswerDelay = 20ms;
constexpr int kDragSteps = 120;
constexpr int kDragStepMs = 4;

// The longest time between two beats of a 1 ms timer while it runs.
class Heartbeat {
public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestNs_ = std::max(longestNs_, clock_.nsecsElapsed());
            clock_.restart();
        });
    }
    void Start() {
        longestNs_ = 0;
        clock_.start();
        timer_.start();
    }
    double StopMs() {
        timer_.stop();
        return static_cast<double>(std::max(longestNs_, clock_.nsecsElapsed())) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longestNs_ = 0;
};

// One drag there and back along `along` (a point for each fraction 0..1 of
// the way), one mouse move every few milliseconds, as a hand moves.
void DragThereAndBack(QWidget* target, const std::function<QPoint(double)>& along) {
    QTest::mousePress(target, Qt::LeftButton, {}, along(0.0));
    int step = 0;
    bool done = false;
    QTimer mover;
    mover.setTimerType(Qt::PreciseTimer);
    QObject::connect(&mover, &QTimer::timeout, [&] {
        const int half = kDragSteps / 2;
        const int k = step < half ? step : kDragSteps - step;
        const QPoint at = along(static_cast<double>(k) / half);
        QTest::mouseMove(target, at);
        if (++step > kDragSteps) {
            QTest::mouseRelease(target, Qt::LeftButton, {}, at);
            mover.stop();
            done = true;
        }
    });
    mover.start(kDragStepMs);
    (void)QTest::qWaitFor([&] { return done; }, 60000);
}

// A slider dragged from its left end to its right end and back.
void DragSliderAcross(CXBmpSlider* slider) {
    const int y = slider->height() / 2;
    const QPoint start = slider->ThumbRect().center();
    DragThereAndBack(slider, [&](double t) {
        return t == 0.0 ? start : QPoint(static_cast<int>(slider->width() * t), y);
    });
}

// A band's marker dragged from where it is to the top of the plot and back,
// and across a third of the plot's width: gain and frequency change together.
void DragBand(CEqPanel* panel, int band) {
    panel->repaint();  // places the markers where a press finds them
    const EqBand& b = panel->GetBand(band);
    const QPoint start(CEqPanel::kPlotLeft + b.x, CEqPanel::kPlotTop + b.y);
    const int dx = panel->PlotWidth() / 3;
    const int dy = start.y() - CEqPanel::kPlotTop;
    DragThereAndBack(panel, [=](double t) {
        return start + QPoint(static_cast<int>(dx * t), -static_cast<int>(dy * t));
    });
}

// The main window on the virtual device, connected and synchronised; then
// the device answers in 20 ms and `drag` runs once per iteration while the
// heartbeat watches the event loop.
void MeasureOnConnectedWindow(benchmark::State& state,
                              const std::function<void(CSonoriaDlg&)>& prepare,
                              const std::function<void(CSonoriaDlg&)>& drag) {
    QTemporaryDir settings;
    SetSettingsFileForTesting(settings.filePath("settings.ini"));
    SetMessageHandler([](const MessageRequest&) { return MessageAnswer::No; });
    auto device = std::make_shared<VirtualDevice>("KR710Q");
    SetHidBackend(device);
    {
        CSonoriaDlg window;
        window.Session().SetStartupDelay(0);
        window.Session().SetDeviceWatch(CreateVirtualDeviceWatch(*device));
        window.show();
        const bool synchronised = QTest::qWaitFor([&] { return g_bDeviceOpen.load() == 1; }, 5000) &&
                                  QTest::qWaitFor([&] { return window.Session().MeterPollingActive(); }, 20000);
        if (!synchronised) {
            state.SkipWithError("the virtual device did not connect");
        } else {
            prepare(window);
            device->SetAnswerDelay(kAnswerDelay);
            Heartbeat heartbeat;
            double longestMs = 0;
            for (auto _ : state) {
                heartbeat.Start();
                drag(window);
                // Until the last position has reached the device.
                (void)QTest::qWaitFor([&] { return !AnswerOutstanding(); }, 5000);
                QTest::qWait(50);
                longestMs = std::max(longestMs, heartbeat.StopMs());
            }
            state.counters["longest_stall_ms"] = longestMs;
            state.counters["goal_ms"] = 50;
        }
        window.close();
    }
    StopSyncWorkers();
    DisconnectDevice();
    SetHidBackend(nullptr);
    SetMessageHandler({});
    SetSettingsFileForTesting({});
    ResetDeviceState();
}

void Nothing(CSonoriaDlg&) {}

void BM_SliderDragLongestStall(benchmark::State& state) {
    MeasureOnConnectedWindow(state, Nothing, [](CSonoriaDlg& window) {
        DragSliderAcross(FindControlAs<CXBmpSlider>(&window, IDC_MIC_SLIDER));
    });
}
BENCHMARK(BM_SliderDragLongestStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The mic EQ page, its first peak band.
void BM_EqBandDragLongestStall(benchmark::State& state) {
    constexpr int kFirstPeak = 2;
    MeasureOnConnectedWindow(
        state, [](CSonoriaDlg& window) { QTest::mouseClick(FindControl(&window, IDC_FLOW_MIC_PEQ), Qt::LeftButton); },
        [](CSonoriaDlg& window) { DragBand(window.ChannelEqPage()->Panel(), kFirstPeak); });
}
BENCHMARK(BM_EqBandDragLongestStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The effect window's first reverb slider.
void BM_EffectSliderDragLongestStall(benchmark::State& state) {
    constexpr int kReverbLevel = 2107;
    MeasureOnConnectedWindow(
        state, [](CSonoriaDlg& window) { QTest::mouseClick(FindControl(&window, IDC_FLOW_EFFECT), Qt::LeftButton); },
        [](CSonoriaDlg& window) { DragSliderAcross(window.EffectWindow()->Slider(kReverbLevel)); });
}
BENCHMARK(BM_EffectSliderDragLongestStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace sonoria
