#pragma once
// How the automatic fan control window turns register bytes into the numbers it shows and typed
// numbers back into register bytes. A typed number whose register value would fall outside a
// byte has no code (std::nullopt): the window then writes nothing rather than a wrapped or
// clamped value the user did not ask for.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace AutoFan {

// Min and max duty boxes: percent shown for a duty register, and the register for a typed
// percent (taken with its decimals). Both round half to even.
int32_t DutyPercentShown(int reg);
std::optional<int32_t> DutyCode(double percent);

// Tmin and THERM of Remote1, Local and Remote2: offset-64 (-64..191) or two's complement
// (-128..127), as the chip is configured. A temperature the coding cannot hold has no code.
int32_t TemperatureShown(int reg, bool offset64);
std::optional<int32_t> TemperatureCode(double wholeNumber, bool offset64);

// PECI Tmin and Tcontrol: always two's complement.
int32_t PeciShown(int reg);
std::optional<int32_t> PeciCode(double wholeNumber);

// The PECI Tmin box takes its text only when the whole text is one number (blanks around it
// allowed); an empty box or a lone sign while typing has none.
std::optional<double> StrictNumber(std::string_view text);

// Read-modify-write of one field: the bits outside `mask` stay as read.
int32_t WithBits(int old, int mask, bool set);
int32_t WithField(int old, int mask, int shift, int code);

// Tmin hysteresis nibbles: registers 0x6D and 0x6E hold two channels each.
int HystRegister(int ch);
bool HystHighNibble(int ch);
int32_t HystShown(int reg, bool high);
// Only the low four bits of the typed whole number are kept (20 -> 4).
int32_t WithHyst(int old, bool high, double wholeNumber);

// Numbers in the boxes: decimal, a minus sign when negative, no blanks.
std::string NumberText(int32_t value);

}  // namespace AutoFan
