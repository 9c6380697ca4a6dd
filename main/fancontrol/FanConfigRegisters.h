#pragma once
// The chip side of the fan configuration window: what it shows, read from the chip in one pass,
// and written back in one pass in a fixed order. Lists are held as item indices, duties as
// register values; the window turns them into its controls and back.

#include <array>
#include <cstdint>

namespace FanControl {

struct PwmOutputSettings {
    int spinup = 0;                 // 0x5C + i, bits 2:0
    bool alternate = false;         // 0x5C + i, bit 3: the alternate behaviour list applies
    bool activeLow = false;         // 0x5C + i, bit 4
    int behaviour = 0;              // 0x5C + i, bits 7:5 when not alternate
    int altBehaviour = 0;           // 0x5C + i, bits 7:5 when alternate
    int32_t maxDuty = 0;            // 0x38 + i, whole register
    int32_t minDuty = 0;            // 0x64 + i, whole register
    int lowFrequency = 0;           // 0x5F + i, bits 2:0
    bool highFrequency = false;     // 0x5F + i, bit 3
    bool holdMinBelowTmin = false;  // 0x62, bit 5 + i
};

struct FanConfigSettings {
    bool extraSlow = false;       // 0x10 bit 7
    bool fullSpeed = false;       // 0x11 bit 1
    bool spinupDisabled = false;  // 0x11 bit 3
    bool thermOnManual = false;   // 0x40 bit 5
    bool fanBoost = false;        // 0x40 bit 3
    bool boost = false;           // 0x78 bit 2
    int speedOnTherm = 0;         // 0x7D bit 3: 0 full duty, 1 maximum duty
    std::array<PwmOutputSettings, 3> pwm{};
    std::array<int, 4> tachPulses{};       // 0x7B, two bits each: pulses per revolution - 1
    std::array<bool, 4> continuousTach{};  // 0x78 bits 4..7
    bool fastTach = false;                 // 0x78 bit 3
    bool syncToPwm3 = false;               // 0x62 bit 4
};

// Reads 0x10, 0x11, 0x40, 0x78, 0x62, 0x7D, then per output 0x5C, 0x38, 0x64, 0x5F (+ i),
// then 0x62, 0x78, 0x7B: 21 reads, no write. Both behaviour lists get the register's code.
FanConfigSettings ReadFanConfig();

// Writes all 21 registers whether or not anything changed; bits the window does not show are
// read back first and kept, except in the registers it owns whole (0x7B, 0x5C..0x5E and the
// duty registers).
void WriteFanConfig(const FanConfigSettings& settings);

// The codings, for the window's tests and its writer.
int32_t WithBit(int32_t value, int32_t mask, bool set);
int32_t PwmConfigurationByte(const PwmOutputSettings& output);
int32_t TachPulsesByte(const std::array<int, 4>& fields);
int32_t FrequencyByte(int32_t current, int lowFrequency, bool highFrequency);

}  // namespace FanControl
