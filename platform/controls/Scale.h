#pragma once
// Scale arithmetic shared by the controls that draw numbered scales.

#include <QString>
#include <vector>

namespace Controls::Scale {

// A step of 1, 2 or 5 times a power of ten giving about `wanted` intervals over `range`.
double NiceStep(double range, int wanted);

// The multiples of `step` (shifted by `offset`) from `min` to `max`. Bounded in number, so a
// range far from zero whose step is below the precision of its values cannot loop for ever.
std::vector<double> Ticks(double min, double max, double step, double offset = 0);

// A tick's number with as many decimals as the step needs; never "-0".
QString TickText(double value, double step);

}  // namespace Controls::Scale
