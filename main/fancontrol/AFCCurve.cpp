#include "main/fancontrol/AFCCurve.h"

#include <algorithm>
#include <cmath>

#include "main/Numbers.h"

namespace AutoFan {
namespace {

// Slope of the ramp in percent per degree; 0 when it has none that a curve can use.
float Slope(const AFCRecord& record, const AFCSource& source) {
    if (source.Trange == 0) return 0;
    const float s = static_cast<float>((100.0 - record.MinPWM) / source.Trange);
    return std::isfinite(s) ? s : 0;
}

bool HasRamp(const AFCRecord& record, const AFCSource& source) {
    return record.MaxPWM > record.MinPWM && Slope(record, source) != 0;
}

// A point of a table: rounded half to even and saturated to 16 bits; a point that is not
// finite is left out.
void Add(std::vector<CurvePoint>& points, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const auto clamp16 = [](double v) {
        return static_cast<int16_t>(
            Numbers::Saturate(Numbers::RoundHalfEven(v), INT16_MIN, INT16_MAX));
    };
    points.push_back({clamp16(x), clamp16(y)});
}

}  // namespace

float GetEffectiveRange(const AFCRecord& record, int k) {
    const AFCSource& source = record.Sources[k];
    if (!HasRamp(record, source)) return 0;
    const float s = Slope(record, source);
    const float b = static_cast<float>(record.MinPWM) - static_cast<float>(source.Tmin) * s;
    const float range = (static_cast<float>(record.MaxPWM) - b) / s - source.Tmin;
    return std::isfinite(range) ? range : 0;
}

float GetDutyAtTherm(const AFCRecord& record, int k) {
    const AFCSource& source = record.Sources[k];
    if (!HasRamp(record, source)) return record.MaxPWM;
    const float s = Slope(record, source);
    const float b = static_cast<float>(record.MinPWM) - static_cast<float>(source.Tmin) * s;
    return static_cast<float>(source.THERM) * s + b;
}

std::vector<SourceCurve> BuildAFCCurves(AFCRecord& record, bool thermFullSpeed, double span,
                                        double rightEdge) {
    std::vector<SourceCurve> curves;
    const int16_t numSources = record.NumSources;
    const double xL = Numbers::RoundHalfEven(rightEdge - span);
    const double xR = Numbers::RoundHalfEven(rightEdge - 1);
    for (int k = 0; k < numSources && k < kMaxSources; ++k) {
        const AFCSource& source = record.Sources[k];
        const double thermDuty = thermFullSpeed ? 100 : record.MaxPWM;
        const float range = GetEffectiveRange(record, k);
        const float dutyAtTherm = GetDutyAtTherm(record, k);
        const int16_t therm = source.THERM;
        const double tmin = source.Tmin;
        const float rampEnd = static_cast<float>(source.Tmin) + range;

        if (record.MaxPWM <= record.MinPWM) record.MinPWM = record.MaxPWM;
        const double minPwm = record.MinPWM;
        const double maxPwm = record.MaxPWM;
        const double y0 = record.AlwaysOn ? minPwm : 0;

        SourceCurve out;
        bool hystAllowed = true;
        if (rampEnd <= therm) {
            Add(out.curve, xL, y0);
            Add(out.curve, tmin, y0);
            Add(out.curve, tmin, minPwm);
            Add(out.curve, Numbers::RoundHalfEven(rampEnd), maxPwm);
            Add(out.curve, therm, maxPwm);
            Add(out.curve, therm, thermDuty);
            Add(out.curve, xR, therm == 1000 ? maxPwm : thermDuty);
        } else if (therm > source.Tmin) {
            Add(out.curve, xL, y0);
            Add(out.curve, tmin, y0);
            Add(out.curve, tmin, minPwm);
            Add(out.curve, therm, Numbers::RoundHalfEven(dutyAtTherm));
            Add(out.curve, therm, thermDuty);
            Add(out.curve, xR, thermDuty);
        } else {
            Add(out.curve, xL, y0);
            Add(out.curve, therm, y0);
            Add(out.curve, therm, thermDuty);
            Add(out.curve, xR, thermDuty);
            hystAllowed = false;
        }
        if (hystAllowed && !record.AlwaysOn) {
            const double hystX = tmin - source.TminHyst;
            Add(out.hyst, hystX, 0);
            Add(out.hyst, hystX, minPwm);
            Add(out.hyst, tmin, minPwm);
        }
        curves.push_back(std::move(out));
    }
    return curves;
}

std::vector<ChartPoint> PlotCurvePoints(const std::vector<SourceCurve>& curves, int16_t& count,
                                        double rightEdge) {
    if (count > kDrawnSources) count = kDrawnSources;
    const int drawn = std::min<int>(count, static_cast<int>(curves.size()));
    std::vector<ChartPoint> points;
    for (int k = 0; k < drawn; ++k)
        for (const CurvePoint& pt : curves[k].curve)
            if (pt.x <= rightEdge)
                points.push_back({static_cast<int16_t>(k), double(pt.x), double(pt.y)});
    for (int k = 0; k < drawn; ++k)
        for (const CurvePoint& pt : curves[k].hyst) {
            const double x = pt.x > rightEdge ? Numbers::RoundHalfEven(rightEdge) : pt.x;
            points.push_back({static_cast<int16_t>(k + kHystChannel), x, double(pt.y)});
        }
    return points;
}

std::vector<ChartPoint> OperatingPoints(const AFCRecord& record, int16_t duty,
                                        const std::array<float, 3>& temperatures,
                                        const std::array<float, 4>& peci) {
    std::vector<ChartPoint> points;
    for (int k = 0; k < record.NumSources && k < kMaxSources; ++k) {
        const std::string& name = record.Sources[k].Name;
        double t;
        if (name == "Remote1")
            t = temperatures[0];
        else if (name == "Local")
            t = temperatures[1];
        else if (name == "Remote2")
            t = temperatures[2];
        else if (name.size() == 5 && name.rfind("PECI", 0) == 0 && name[4] >= '0' && name[4] <= '3')
            t = peci[name[4] - '0'];
        else
            continue;
        const ChartPoint point{static_cast<int16_t>(k + kOperatingChannel), t, double(duty)};
        points.push_back(point);
        points.push_back(point);
    }
    return points;
}

}  // namespace AutoFan
