#pragma once
// The dynamic Tmin window's own codings and the state it shares with the rest of the program:
// its temperature coding (register byte - 64, whatever the chip's temperature mode), the fan
// lists of its charts and where a trace label goes on a chart.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace DynamicTmin {

// True from "Run Demo" to "Stop..."; survives closing the window.
extern bool DemoRunning;
// Plotted operating point, Tmin and limits per remote channel (element 1 Remote1, 2 Remote2).
// Nothing in this program feeds them, so they plot 0.
extern std::array<int16_t, 3> DynOpPoint;
extern std::array<int16_t, 3> DynTminValue;
extern std::array<int16_t, 3> DynHighLimit;
extern std::array<int16_t, 3> DynLowLimit;

// A register byte as the window shows it: b - 64.
std::string TemperatureText(uint8_t registerByte);
// The register value for a typed temperature: the leading number rounded half to even, + 64.
// Above 255 gives 255; below 0 gives nothing to write.
std::optional<int32_t> RegisterFromTemperature(std::string_view text);

// Operating-point hysteresis: bits 7:4 of its register.
int HysteresisFromRegister(uint8_t registerByte);
// The whole register written for a typed hysteresis: its low four bits x 16 (bits 3:0 clear).
int32_t HysteresisRegister(std::string_view text);

// The chart's hysteresis trace: the operating point minus the number typed in the hysteresis
// box (its leading number, decimals kept; 0 when there is none).
double HysteresisTrace(int16_t opPoint, std::string_view hysteresisText);

// The cycle-time field of the window's second control register after choosing item `item` in
// the Remote1 (`remote` 0, bits 2:0) or Remote2 (bits 5:3) list.
int32_t CycleRegister(int32_t current, int remote, int item);

// The fans a chart plots: the PWM outputs whose behaviour code names its channel.
struct FanTraceList {
    std::array<int16_t, 4> Fan{};
    std::array<std::string, 4> Name{};
    int16_t Count = 0;
};
// From the four PWM configuration bytes: code 1 or 6 in bits 7:5 puts the fan on the Remote1
// list (element 0), code 2 or 6 on the Remote2 list (element 1).
std::array<FanTraceList, 2> FanTracesFromBehaviour(const std::array<uint8_t, 4>& behaviour);
// The legend label of the k-th fan of a chart: 6, 7, 8, then 11.
int16_t FanLabel(int k);

// Where a trace label goes for `value` on an axis running from `low` (drawn at `bottom`) to
// `high` (drawn at 0.03), held within that band. Nothing when the axis has no extent.
std::optional<float> TraceLabelPosition(double value, double low, double high, float bottom);

}  // namespace DynamicTmin
