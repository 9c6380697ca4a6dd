#pragma once
// How the heater window turns the board's heater status into slider positions and a slider
// position into a heater power.

#include <cstdint>

namespace Heaters {

// The board reports each heater's power in half-percent steps: a status byte of 7 is 3.5 %.
double SliderFromStatusByte(uint8_t statusByte);

// The power sent for a slider position: the nearest whole percent, ties to the even one
// (3.5 -> 4, 2.5 -> 2).
int32_t PowerFromSlider(double position);

}  // namespace Heaters
