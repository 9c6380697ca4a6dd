#include "main/board/HeaterLevels.h"

#include "main/Numbers.h"

namespace Heaters {

double SliderFromStatusByte(uint8_t statusByte) { return statusByte / 2.0; }

int32_t PowerFromSlider(double position) {
    return static_cast<int32_t>(Numbers::Saturate(Numbers::RoundHalfEven(position), 0, 100));
}

}  // namespace Heaters
