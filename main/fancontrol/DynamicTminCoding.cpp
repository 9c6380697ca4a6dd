#include "main/fancontrol/DynamicTminCoding.h"

#include <cmath>
#include <limits>

#include "main/Numbers.h"

namespace DynamicTmin {

bool DemoRunning = false;
std::array<int16_t, 3> DynOpPoint{};
std::array<int16_t, 3> DynTminValue{};
std::array<int16_t, 3> DynHighLimit{};
std::array<int16_t, 3> DynLowLimit{};

namespace {
constexpr int kTemperatureOffset = 64;
constexpr float kLabelTop = 0.03f;
}  // namespace

std::string TemperatureText(uint8_t registerByte) {
    return std::to_string(static_cast<int>(registerByte) - kTemperatureOffset);
}

std::optional<int32_t> RegisterFromTemperature(std::string_view text) {
    const double value = Numbers::TypedWholeNumber(text) + kTemperatureOffset;
    if (value < 0) return std::nullopt;
    return static_cast<int32_t>(Numbers::Saturate(value, 0, 255));
}

int HysteresisFromRegister(uint8_t registerByte) { return (registerByte & 0xF0) / 16; }

int32_t HysteresisRegister(std::string_view text) {
    const int64_t typed =
        Numbers::Saturate(Numbers::TypedWholeNumber(text), std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max());
    return (static_cast<int32_t>(typed) & 15) * 16;
}

double HysteresisTrace(int16_t opPoint, std::string_view hysteresisText) {
    return opPoint - Numbers::NumericPrefix(hysteresisText);
}

int32_t CycleRegister(int32_t current, int remote, int item) {
    if (remote == 0) return (current & 0xF8) | item;
    return (current & 0xC7) | (item * 8);
}

std::array<FanTraceList, 2> FanTracesFromBehaviour(const std::array<uint8_t, 4>& behaviour) {
    std::array<FanTraceList, 2> lists;
    auto add = [](FanTraceList& list, int fan) {
        list.Fan[list.Count] = static_cast<int16_t>(fan);
        list.Name[list.Count] = "PWM" + std::to_string(fan + 1);
        ++list.Count;
    };
    for (int i = 0; i < 4; ++i) {
        const int code = (behaviour[i] & 0xE0) / 32;
        if (code == 1 || code == 6) add(lists[0], i);
        if (code == 2 || code == 6) add(lists[1], i);
    }
    return lists;
}

int16_t FanLabel(int k) { return static_cast<int16_t>(k < 3 ? k + 6 : 11); }

std::optional<float> TraceLabelPosition(double value, double low, double high, float bottom) {
    const float scale = static_cast<float>((kLabelTop - bottom) / (high - low));
    if (!(high != low) || !std::isfinite(scale)) return std::nullopt;
    const float offset = static_cast<float>(((bottom + kLabelTop) - (low + high) * scale) / 2);
    float y = static_cast<float>(value * scale + offset);
    if (y < kLabelTop) y = kLabelTop;
    if (y > bottom) y = bottom;
    return y;
}

}  // namespace DynamicTmin
