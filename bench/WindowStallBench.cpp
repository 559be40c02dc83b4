// How long the main window's event loop can be kept from running while the
// user drags a master volume on a device that answers in 20 ms. A 1 ms
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
#include <memory>

#include "app/CSonoriaDlg.h"
#include "app/DeviceWatch.h"
#include "app/MainWindowTemplate.h"
#include "app/MessageService.h"
#include "app/Settings.h"
#include "controls/CXBmpSlider.h"
#include "controls/DialogTemplate.h"
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

// One drag of the mic volume from its left end to its right end and back,
// one mouse move every few milliseconds, as a hand moves.
void DragAcross(CXBmpSlider* slider) {
    const int y = slider->height() / 2;
    const QPoint start = slider->ThumbRect().center();
    QTest::mousePress(slider, Qt::LeftButton, {}, start);
    int step = 0;
    bool done = false;
    QTimer mover;
    mover.setTimerType(Qt::PreciseTimer);
    QObject::connect(&mover, &QTimer::timeout, [&] {
        const int half = kDragSteps / 2;
        const int k = step < half ? step : kDragSteps - step;
        const int x = slider->width() * k / half;
        QTest::mouseMove(slider, QPoint(x, y));
        if (++step > kDragSteps) {
            QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, y));
            mover.stop();
            done = true;
        }
    });
    mover.start(kDragStepMs);
    (void)QTest::qWaitFor([&] { return done; }, 60000);
}

void BM_SliderDragLongestStall(benchmark::State& state) {
    QTemporaryDir settings;
    SetSettingsFileForTesting(settings.filePath("settings.ini"));
    SetMessageHandler([](const MessageRequest&) { return MessageAnswer::No; });
    auto device = std::make_shared<VirtualDevice>("KR710Q");
    SetHidBackend(device);
    {
        CSonoriaDlg window;
        window.SetStartupDelay(0);
        window.SetDeviceWatch(CreateVirtualDeviceWatch(*device));
        window.show();
        const bool synchronised = QTest::qWaitFor([&] { return g_bDeviceOpen.load() == 1; }, 5000) &&
                                  QTest::qWaitFor([&] { return window.MeterPollingActive(); }, 20000);
        if (!synchronised) {
            state.SkipWithError("the virtual device did not connect");
        } else {
            device->SetAnswerDelay(kAnswerDelay);
            auto* slider = FindControlAs<CXBmpSlider>(&window, IDC_MIC_SLIDER);
            Heartbeat heartbeat;
            double longestMs = 0;
            for (auto _ : state) {
                heartbeat.Start();
                DragAcross(slider);
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
BENCHMARK(BM_SliderDragLongestStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace sonoria
