#include "main/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

namespace Numbers {

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    return std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
}

double RoundHalfEvenTo(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    // The fixed-point text of a double is its exact binary value rounded once, ties to even: a
    // tie is a double that lies exactly halfway. Scaling by 10^decimals first would round the
    // product and could turn a value a hair off the half into a tie.
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                       std::max(0, decimals));
    if (written.ec != std::errc()) return value;  // too large for the text: a whole number
    double rounded = value;
    std::from_chars(text, written.ptr, rounded);
    return rounded;
}

double NumericPrefix(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    // from_chars reads with a point whatever the user's locale; it takes no "+".
    const char* first = text.data() + start;
    const char* last = text.data() + i;
    const bool negative = *first == '-';
    if (*first == '+' || negative) ++first;
    double value = 0.0;
    if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range) {
        // Too many digits for a double: a huge number, or a tiny one behind a run of zeros.
        const bool huge = std::find_if(first, last, [](char c) { return c >= '1' && c <= '9'; }) <
                          std::find(first, last, '.');
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

double TypedWholeNumber(std::string_view text) { return RoundHalfEven(NumericPrefix(text)); }

int64_t Saturate(double value, int64_t lo, int64_t hi) {
    if (std::isnan(value) || value <= static_cast<double>(lo)) return lo;
    if (value >= static_cast<double>(hi)) return hi;
    return static_cast<int64_t>(value);
}

int32_t HexPrefix(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    int64_t result = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        result = result * 16 + digit;
        if (result > std::numeric_limits<int32_t>::max())
            result = std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(result);
}

std::string Hex(int64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string HexH(int64_t value) { return Hex(value) + "h"; }

int TwipsToPixels(double twips) {
    return static_cast<int>(
        Saturate(RoundHalfEven(twips / kTwipsPerPixel), INT32_MIN / 2, INT32_MAX / 2));
}

double PixelsToTwips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

std::string ShortestText(float value) {
    if (value == 0.0f) return "0";
    // to_chars writes a point whatever the user's locale.
    char text[64];
    char* end = text;
    for (int precision = 1; precision <= 7; ++precision) {
        end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision)
                  .ptr;
        float back = 0.0f;
        std::from_chars(text, end, back);
        if (back == value) break;
    }
    std::string out(text, end);
    // The general form may give an exponent for very large or small values; spell them out.
    if (out.find('e') != std::string::npos) {
        end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 7).ptr;
        out.assign(text, end);
        while (!out.empty() && out.back() == '0') out.pop_back();
        if (!out.empty() && out.back() == '.') out.pop_back();
    }
    return out;
}

std::string CaptionNumber(float value, bool blankForSign) {
    std::string text = ShortestText(value);
    const bool negative = !text.empty() && text[0] == '-';
    const size_t digits = negative ? 1 : 0;
    if (text.compare(digits, 2, "0.") == 0) text.erase(digits, 1);
    if (blankForSign && !negative) text.insert(0, 1, ' ');
    return text;
}

std::string CaptionNumber(int64_t value, bool blankForSign) {
    std::string text = std::to_string(value);
    if (blankForSign && value >= 0) text.insert(0, 1, ' ');
    return text;
}

}  // namespace Numbers
