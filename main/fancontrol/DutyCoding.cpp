#include "main/fancontrol/DutyCoding.h"

#include "main/Numbers.h"
#include "main/monitoring/Measurements.h"

namespace FanControl {

int32_t DutyRegisterFromPercent(double percent) {
    return static_cast<int32_t>(Numbers::Saturate(Numbers::RoundHalfEven(percent * 2.55), 0, 255));
}

int32_t DutyRegisterFromText(std::string_view text) {
    return DutyRegisterFromPercent(Numbers::NumericPrefix(text));
}

std::string DutyText(int registerValue) {
    return std::to_string(General::DutyFromRegister(registerValue));
}

}  // namespace FanControl
