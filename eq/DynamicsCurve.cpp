#include "eq/DynamicsCurve.h"

#include <algorithm>
#include <cstdlib>

namespace sonoria {
namespace {

constexpr int kPlotInsetX = 30;
constexpr int kPlotInsetY = 20;

// Pixel positions are truncated toward zero, as the integer conversion does.
int Trunc(float value) { return static_cast<int>(value); }

}  // namespace

DynamicsPlot::DynamicsPlot(int clientWidth, int clientHeight)
    : width(clientWidth),
      height(clientHeight),
      plotWidth(clientWidth - kPlotInsetX),
      plotHeight(clientHeight - kPlotInsetY) {}

int DynamicsPlot::X(float inputDb) const {
    return Trunc(kLeft + (inputDb - kLowDb) * static_cast<float>(plotWidth) / kSpanDb);
}

int DynamicsPlot::Y(float outputDb) const {
    return Trunc(kTop + (kHighDb - outputDb) * static_cast<float>(plotHeight) / kSpanDb);
}

int DynamicsPlot::GridX(int line) const {
    const float scale = static_cast<float>(plotWidth) / kSpanDb;
    return Trunc(kLeft + static_cast<float>(GridInputDb(line) - kLowDb) * scale);
}

int DynamicsPlot::GridY(int line) const {
    const float scale = static_cast<float>(plotHeight) / kSpanDb;
    return Trunc(kTop + static_cast<float>(kHighDb - GridOutputDb(line)) * scale);
}

DynamicsCurve ComputeDynamicsCurve(const DynamicsPlot& plot, const DynamicsSettings& s) {
    const float h = static_cast<float>(plot.plotHeight);
    DynamicsCurve curve;
    curve.knee = {plot.X(s.threshold), plot.Y(s.threshold)};
    curve.gateKnee = {plot.X(s.gateLevel), plot.Y(s.gateLevel)};
    curve.leftEnd = {DynamicsPlot::kLeft,
                     plot.Y(s.gateLevel) + Trunc(h * (s.gateLevel - DynamicsPlot::kLowDb) / DynamicsPlot::kSpanDb *
                                                 s.gateSlope)};
    curve.rightEnd = {plot.width - DynamicsPlot::kRightGap,
                      plot.Y(s.threshold) -
                          Trunc((DynamicsPlot::kHighDb - s.threshold) * h / DynamicsPlot::kSpanDb * s.ratioSlope)};
    curve.bandX = DynamicsPlot::kLeft;
    curve.bandWidth = plot.plotWidth;
    curve.bandTop = std::min(curve.leftEnd.y, curve.rightEnd.y);
    curve.bandHeight = std::abs(curve.rightEnd.y - curve.leftEnd.y);
    return curve;
}

}  // namespace sonoria
