#pragma once
// The register codings of the configuration windows, kept apart from the widgets: which bit or
// field each setting owns, how a list's text becomes a field value, and how a typed number
// becomes a byte. The windows only move values between these and their controls.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace RegMapStuff {

// Registers the configuration windows own bits of.
inline constexpr int32_t kRegConfig6 = 0x10;
inline constexpr int32_t kRegConfig7 = 0x11;
inline constexpr int32_t kRegPeciAveraging = 0x36;  // averaging bits 2:0, CPU1 domains bit 3
inline constexpr int32_t kRegPeciTmin = 0x3B;
inline constexpr int32_t kRegPeciTrange = 0x3C;  // bits 7:4
inline constexpr int32_t kRegPeciTcontrol = 0x3D;
inline constexpr int32_t kRegConfig1 = 0x40;
inline constexpr int32_t kRegHysteresis = 0x6E;  // PECI bits 3:0, remote 2 bits 7:4
inline constexpr int32_t kRegConfig2 = 0x73;
inline constexpr int32_t kRegConfig3 = 0x78;
inline constexpr int32_t kRegConfig5 = 0x7C;
inline constexpr int32_t kRegConfig4 = 0x7D;
inline constexpr int32_t kRegPeciCpus = 0x88;     // CPU count bits 7:6, CPU2..4 domains bits 5..3
inline constexpr int32_t kRegPeciOffset0 = 0x94;  // 0x94..0x97

// List items, index 0 first; an item's index is the value of the field it stands for.
inline constexpr std::array<std::string_view, 2> kPin10Items{"PWM2", "ALERT"};
inline constexpr std::array<std::string_view, 4> kPin14Items{"Tach4", "THERM", "SMBALERT",
                                                             "Reserved"};
inline constexpr std::array<std::string_view, 2> kPin22Items{"2.5V", "THERM"};
inline constexpr std::array<std::string_view, 2> kTempRangeItems{"Offset 64", "2's Complement"};
inline constexpr std::array<std::string_view, 2> kTempOffsetItems{
    "-63 to 64, 0.5\u00b0C resolution", "-63 to 127, 1\u00b0C resolution"};
inline constexpr std::array<std::string_view, 2> kThermIoItems{"Input Only", "Bidirectional"};
inline constexpr std::array<std::string_view, 16> kTrangeItems{
    "2",     "2.5", "3.33", "4",     "5",  "6.67", "8",     "10",
    "13.33", "16",  "20",   "26.67", "32", "40",   "53.33", "80"};
inline constexpr std::array<std::string_view, 8> kAveragingItems{
    "None", "250ms", "500ms", "1 sec", "2 sec", "3 sec", "4 sec", "Reserved"};
inline constexpr std::array<std::string_view, 4> kCpuCountItems{"1", "2", "3", "4"};
inline constexpr std::array<std::string_view, 2> kDomainItems{"1", "2"};

// Pin 14 "THERM": choosing it forces pin 22 away from THERM.
inline constexpr int kPin14Therm = 1;

// The byte with the bits of `mask` set or cleared; every other bit as in `value`.
int32_t WithBits(int32_t value, int32_t mask, bool set);
// True when any bit of `mask` is set in `value`.
bool BitsSet(int32_t value, int32_t mask);

// Index of the first item equal to `text`, or -1 when none is (a list with nothing selected).
int IndexOfText(std::span<const std::string_view> items, std::string_view text);

// The pin 14 field for a list text: the first of "Tach4", "THERM", "SMBALERT" it equals, else 3.
int32_t Pin14Field(std::string_view text);

// Read-modify-write of one register of the selected chip: reads it, then writes it back with
// the bits of `mask` set or cleared. The other bits keep the value read just before.
void WriteRegisterBits(int32_t reg, int32_t mask, bool set);

// Signed value of a two's complement byte (0x80 -> -128).
int32_t SignedByte(int32_t byte);

// A typed number as a two's complement byte: the whole number of the text (half to even, 0
// for no number) limited to -128..127 so that no typed value wraps into another one (-200
// would otherwise become +56) or leaves the byte.
int32_t SignedByteOfText(std::string_view text);

// A typed hysteresis as a 4-bit field: limited to 0..15 so that it cannot spill into the
// neighbouring nibble of its register.
int32_t NibbleOfText(std::string_view text);

// The PECI registers as "Apply" writes them, from the value read just before. A list index
// below 0 (nothing selected) leaves its field as read.
int32_t PeciAveragingRegister(int32_t read, int averagingIndex, bool cpu1TwoDomains);
int32_t PeciCpuRegister(int32_t read, int cpuCountIndex, const std::array<bool, 3>& twoDomains);
int32_t PeciTrangeRegister(int32_t read, int trangeIndex);
int32_t PeciHysteresisRegister(int32_t read, int32_t nibble);

}  // namespace RegMapStuff
