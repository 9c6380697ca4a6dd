#include "main/fancontrol/RampTime.h"

#include "main/Numbers.h"

namespace AutoFan {

RampTable RampTime{};

namespace {
constexpr std::array<double, kRampCodes> kBaseSeconds = {37.5, 18.8, 12.5, 7.5, 4.7, 3.1, 1.6, 0.8};
}  // namespace

float RampSeconds(bool slow, bool longer, int code) {
    const double slowFactor = slow ? 4 : 1;
    const float extraFactor = longer ? 1.392f : 1.0f;
    return static_cast<float>(
        Numbers::RoundHalfEvenTo(slowFactor * kBaseSeconds[code & 7] * extraFactor, 2));
}

RampTable RampTimesFor(int reg10) {
    RampTable table{};
    const bool longer = (reg10 & 0x80) != 0;
    for (int ch = 0; ch < kTempChannels; ++ch)
        for (int code = 0; code < kRampCodes; ++code)
            table[ch][code] = RampSeconds((reg10 & (1 << ch)) != 0, longer, code);
    return table;
}

std::string RampEntryText(float seconds) {
    return " " + Numbers::CaptionNumber(seconds, false) + " secs";
}

std::optional<int> RampCodeOfText(const RampTable& table, int ch, std::string_view text) {
    if (ch < 0 || ch >= kTempChannels) return std::nullopt;
    const float value = static_cast<float>(Numbers::NumericPrefix(text));
    for (int code = 0; code < kRampCodes; ++code)
        if (table[ch][code] == value) return code;
    return std::nullopt;
}

}  // namespace AutoFan
