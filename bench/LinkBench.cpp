// Costs on the link's hot paths: handling a received report on the read
// thread, and a full command round trip through the virtual device (which
// bounds how fast a synchronisation of ~220 commands can run).
#include <benchmark/benchmark.h>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/LinkState.h"
#include "state/ReportDispatch.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/ParameterTable.h"
#include "state/Synchronize.h"

namespace sonoria {
namespace {

void BM_DispatchParameterReport(benchmark::State& state) {
    Report report{};
    report[0] = 2;
    report[1] = CMD_GET_PARAM;
    report[2] = 7;
    report[3] = 15;
    for (auto _ : state) {
        report[4] = static_cast<std::uint8_t>(report[4] + 1);
        DispatchReport(report);
    }
}
BENCHMARK(BM_DispatchParameterReport);

void BM_FindParamByName(benchmark::State& state) {
    const auto params = AllParams();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindParam(params[i++ % params.size()].name));
    }
}
BENCHMARK(BM_FindParamByName);

// One command and its answer through the read thread.
void BM_VirtualRoundTrip(benchmark::State& state) {
    auto device = std::make_shared<VirtualDevice>();
    SetHidBackend(device);
    if (ConnectDeviceImage(nullptr) != 1) {
        state.SkipWithError("virtual device did not connect");
        return;
    }
    for (auto _ : state) SendCommand(CMD_GET_PARAM, {1, 24, kEndOfArguments});
    DisconnectDevice();
    SetHidBackend(nullptr);
}
BENCHMARK(BM_VirtualRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A whole read-all (about 220 commands) against a device that answers at once.
void BM_ReadAll(benchmark::State& state) {
    auto device = std::make_shared<VirtualDevice>("KR710QX");
    SetHidBackend(device);
    if (ConnectDeviceImage(nullptr) != 1) {
        state.SkipWithError("virtual device did not connect");
        return;
    }
    for (auto _ : state) {
        ReadAll();
        device->ClearRecord();
    }
    DisconnectDevice();
    SetHidBackend(nullptr);
}
// ReadAll ends with its fixed 200 ms pause for late answers; the rest is the link's own cost.
BENCHMARK(BM_ReadAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace sonoria
