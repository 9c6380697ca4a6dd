#pragma once
// The duty-versus-temperature curves of one PWM output, as the chip's automatic fan control
// runs it: for each source a level line at the base duty up to Tmin, the ramp from MinPWM
// towards 100 % over Trange, cut at MaxPWM, and the THERM step; the Tmin hysteresis step; and
// the live operating points. Everything here is arithmetic on the records, so any typed
// number gives finite, saturated points and never undefined behaviour.

#include <array>
#include <cstdint>
#include <vector>

#include "main/fancontrol/AFCRecord.h"

namespace AutoFan {

// Channels of the chart: curve of source k, its operating point, its hysteresis step.
inline constexpr int16_t kOperatingChannel = 7;
inline constexpr int16_t kHystChannel = 14;
// Only this many sources of an output are drawn.
inline constexpr int16_t kDrawnSources = 4;

struct CurvePoint {
    int16_t x;
    int16_t y;
    bool operator==(const CurvePoint&) const = default;
};

// The points of one source: its polyline, and its hysteresis step (empty when it has none).
struct SourceCurve {
    std::vector<CurvePoint> curve;
    std::vector<CurvePoint> hyst;
};

struct ChartPoint {
    int16_t channel;
    double x;
    double y;
    bool operator==(const ChartPoint&) const = default;
};

// The temperature span after Tmin at which the ramp reaches MaxPWM; 0 when MaxPWM <= MinPWM
// or when the ramp has no usable slope (a zero Trange, or MinPWM at 100 %), where the source is
// drawn as a step to MaxPWM at Tmin.
float GetEffectiveRange(const AFCRecord& record, int k);
// The ramp's duty at the source's THERM limit; MaxPWM when the ramp has none.
float GetDutyAtTherm(const AFCRecord& record, int k);

// The curves of every source of the record against the chart's visible range (right edge
// minus span to right edge). A record whose MaxPWM <= MinPWM gets MinPWM := MaxPWM, as the
// chip clamps it; later sources see the changed value.
std::vector<SourceCurve> BuildAFCCurves(AFCRecord& record, bool thermFullSpeed, double span,
                                        double rightEdge);

// What is added to the chart, in order: the curve points of the first `count` sources (cut to
// four through the reference) that are not right of the right edge, then their hysteresis
// steps pulled back to the right edge.
std::vector<ChartPoint> PlotCurvePoints(const std::vector<SourceCurve>& curves, int16_t& count,
                                        double rightEdge);

// Operating points: the present temperature of each source against the output's present
// duty, each added twice so the chart shows a dot.
std::vector<ChartPoint> OperatingPoints(const AFCRecord& record, int16_t duty,
                                        const std::array<float, 3>& temperatures,
                                        const std::array<float, 4>& peci);

}  // namespace AutoFan
