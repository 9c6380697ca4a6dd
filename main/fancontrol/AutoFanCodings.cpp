#include "main/fancontrol/AutoFanCodings.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "main/Numbers.h"

namespace AutoFan {
namespace {

// Keeps typed numbers of any size away from integer overflow before the coding's arithmetic.
int64_t Whole(double wholeNumber) {
    return Numbers::Saturate(Numbers::RoundHalfEven(wholeNumber), -(int64_t{1} << 40),
                             int64_t{1} << 40);
}

std::optional<int32_t> InByte(int64_t value) {
    if (value < 0 || value > 255) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t DutyPercentShown(int reg) {
    return static_cast<int32_t>(Numbers::RoundHalfEven(reg * 100.0 / 255.0));
}

std::optional<int32_t> DutyCode(double percent) {
    if (!std::isfinite(percent)) return std::nullopt;
    return InByte(Whole(percent * 255.0 / 100.0));
}

int32_t TemperatureShown(int reg, bool offset64) {
    if (offset64) return reg - 64;
    return reg > 127 ? reg - 256 : reg;
}

std::optional<int32_t> TemperatureCode(double wholeNumber, bool offset64) {
    if (!std::isfinite(wholeNumber)) return std::nullopt;
    const int64_t whole = Whole(wholeNumber);
    // Only temperatures the coding can hold: in two's complement -129 would otherwise become
    // 127 and 200 would read back as -56.
    if (offset64) return InByte(whole + 64);
    if (whole < -128 || whole > 127) return std::nullopt;
    return InByte(whole < 0 ? whole + 256 : whole);
}

int32_t PeciShown(int reg) { return reg > 127 ? reg - 256 : reg; }

std::optional<int32_t> PeciCode(double wholeNumber) { return TemperatureCode(wholeNumber, false); }

std::optional<double> StrictNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.size();
    while (end > i && text[end - 1] == ' ') --end;
    const std::string_view body = text.substr(i, end - i);
    size_t j = 0;
    if (j < body.size() && (body[j] == '+' || body[j] == '-')) ++j;
    size_t digits = 0;
    while (j < body.size() && std::isdigit(static_cast<unsigned char>(body[j]))) ++j, ++digits;
    if (j < body.size() && body[j] == '.') {
        ++j;
        while (j < body.size() && std::isdigit(static_cast<unsigned char>(body[j]))) ++j, ++digits;
    }
    if (digits == 0 || j != body.size()) return std::nullopt;
    return Numbers::NumericPrefix(body);
}

int32_t WithBits(int old, int mask, bool set) { return set ? (old | mask) : (old & ~mask & 0xFF); }

int32_t WithField(int old, int mask, int shift, int code) {
    return (old & ~mask & 0xFF) | ((code << shift) & mask);
}

int HystRegister(int ch) { return ch < 2 ? 0x6D : 0x6E; }

bool HystHighNibble(int ch) { return ch % 2 == 0; }

int32_t HystShown(int reg, bool high) { return high ? (reg & 0xF0) / 16 : reg & 0x0F; }

int32_t WithHyst(int old, bool high, double wholeNumber) {
    // Two's complement low bits, as the typed number has them: -1 keeps 15.
    const int32_t nibble = static_cast<int32_t>(
        Numbers::Saturate(Numbers::RoundHalfEven(wholeNumber), std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max()) &
        0x0F);
    return high ? (old & 0x0F) | (nibble * 16) : (old & 0xF0) | nibble;
}

std::string NumberText(int32_t value) { return std::to_string(value); }

}  // namespace AutoFan
