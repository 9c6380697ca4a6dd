#pragma once
// The number rules that recur all over the program, in one place: rounding half to even,
// the numeric prefix of a typed text, twips and upper-case hex. Call these; do not copy them.

#include <cstdint>
#include <string>
#include <string_view>

namespace Numbers {

// Nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> -0).
double RoundHalfEven(double value);

// Rounds to `decimals` places, ties to even, applied to the double value as given
// (0.3125 -> 0.312 at three places).
double RoundHalfEvenTo(double value, int decimals);

// The numeric prefix of a text: leading blanks skipped, an optional sign, digits, an optional
// decimal point and digits. A text without one reads 0 ("abc" -> 0, "12ab" -> 12, ".5" -> 0.5).
double NumericPrefix(std::string_view text);

// A typed number as a whole number: the numeric prefix rounded half to even.
double TypedWholeNumber(std::string_view text);

// Clamps a double into [lo, hi]; NaN gives lo. For saturating typed numbers before they
// reach a fixed-width field.
int64_t Saturate(double value, int64_t lo, int64_t hi);

// Hex digits up to the first character that is not one ("5Ch on USB" -> 0x5C); leading blanks
// skipped; no digits reads 0. Saturates at INT32_MAX instead of overflowing.
int32_t HexPrefix(std::string_view text);

// Upper-case hex without leading zeros ("5C", "0").
std::string Hex(int64_t value);

// Upper-case hex followed by "h", as addresses are shown ("5Ch").
std::string HexH(int64_t value);

// Twips, the unit of window geometry in the window descriptions: 15 to a pixel.
inline constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// The shortest decimal text of a single-precision value (up to 7 significant digits, a point
// as separator, no leading blank): 23.25, -5.5, 40.
std::string ShortestText(float value);

// A number as captions and legends show it: the shortest text, a magnitude below 1 without its
// leading zero (.5, -.25), whole numbers in full. With `blankForSign`, a value that is not
// negative gets one leading blank where a minus sign would stand (" 25.75", "-3.5", " .5").
std::string CaptionNumber(float value, bool blankForSign);
std::string CaptionNumber(int64_t value, bool blankForSign);

}  // namespace Numbers
