#pragma once
// How the manual control and the fan configuration window turn percent into a PWM duty register
// (0..255 for 0..100 %) and back. The reading side is the measurements' own rule
// (General::DutyFromRegister); the automatic fan control window codes duties its own way.

#include <cstdint>
#include <string>
#include <string_view>

namespace FanControl {

// Round(percent x 2.55), ties to even on the double product, limited to 0..255 so that a typed
// percent outside 0..100 can neither overflow nor hand a negative value to the link.
int32_t DutyRegisterFromPercent(double percent);

// The register value for the text of a duty box: its numeric prefix with its decimals (0 for
// none), so 12.5 gives Round(31.875) = 32.
int32_t DutyRegisterFromText(std::string_view text);

// The text a duty box shows for a register value: Round(value / 2.55) without blanks.
std::string DutyText(int registerValue);

}  // namespace FanControl
