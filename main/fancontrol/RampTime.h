#pragma once
// Ramp-rate times of the four temperature channels. The chip's ramp code selects a base time;
// the channel's slow bit (register 0x10 bit ch) makes it four times longer and the longer-ramp
// bit (0x10 bit 7) adds 39.2 %. The ramp lists show these times and a choice is written back
// as the code whose time the chosen text names.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace AutoFan {

inline constexpr int kTempChannels = 4;
inline constexpr int kRampCodes = 8;
using RampTable = std::array<std::array<float, kRampCodes>, kTempChannels>;

// Seconds for channel ch and code j, as the ramp lists were last filled.
extern RampTable RampTime;

// The time of one code, rounded to hundredths (half to even), single precision.
float RampSeconds(bool slow, bool longer, int code);
// Every channel's row from the value of register 0x10.
RampTable RampTimesFor(int reg10);
// List entry: " 37.5 secs", " .8 secs".
std::string RampEntryText(float seconds);
// The first code of channel ch whose time equals the number that the text starts with, both
// in single precision; none when no time matches (an empty or foreign text).
std::optional<int> RampCodeOfText(const RampTable& table, int ch, std::string_view text);

}  // namespace AutoFan
