#pragma once
// How the register map window reads its four boxes and what it lets reach the bus. The link
// carries bytes only: a device address must be 1..255 (0 is the general-call address, which
// every chip on the bus answers), a register address 0..255, and a value is never negative;
// a value above 255 is written as 255 on either link.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace RegMapStuff {

// A hex box (device address, register address, hex value): its hex digits up to the first
// character that is not one, "40h" and "40" alike; saturates instead of overflowing.
int64_t HexBoxNumber(std::string_view text);

// The decimal value box: its numeric prefix rounded half to even, saturated to 32 bits.
int64_t DecBoxNumber(std::string_view text);

// The text each value box gives the other: the hex box shows the decimal box's number in
// upper-case hex without "h" ("-" and the hex of its size when negative), the decimal box the
// hex box's number in decimal. An empty box gives "0".
std::string HexTextOfDecBox(std::string_view decText);
std::string DecTextOfHexBox(std::string_view hexText);

bool IsDeviceAddress(int64_t address);
bool IsRegisterAddress(int64_t reg);
// The byte written for a typed value: nothing for a negative one, 255 for one above 255.
std::optional<int32_t> ByteToWrite(int64_t value);

}  // namespace RegMapStuff
