#include "platform/controls/Scale.h"

#include <algorithm>
#include <cmath>

namespace Controls::Scale {

namespace {
constexpr int kMaxTicks = 200;
}

double NiceStep(double range, int wanted) {
    if (!(range > 0) || !std::isfinite(range)) return 1;
    const double raw = range / std::max(1, wanted);
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double r = raw / mag;
    return (r <= 1 ? 1 : r <= 2 ? 2 : r <= 5 ? 5 : 10) * mag;
}

std::vector<double> Ticks(double min, double max, double step, double offset) {
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(min) || !std::isfinite(max)) return ticks;
    const double first = std::ceil((min + offset) / step - 1e-9) * step - offset;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double v = first + i * step;
        if (v > max + step * 1e-9) break;
        if (!ticks.empty() && v == ticks.back()) break;  // the step vanished in the rounding
        ticks.push_back(v);
    }
    return ticks;
}

QString TickText(double value, double step) {
    if (std::abs(value) < step * 1e-6) value = 0;
    if (std::abs(value) >= 1e9) return QString::number(value, 'g', 6);
    // As many decimals as the step has, so 0.25 steps read 2.25, not 2.3.
    int decimals = 0;
    for (double scaled = step; decimals < 9; ++decimals, scaled *= 10)
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) break;
    return QString::number(value, 'f', decimals);
}

}  // namespace Controls::Scale
