#include "main/fancontrol/FanConfigRegisters.h"

#include <algorithm>

#include "main/DeviceLink.h"

namespace FanControl {

namespace {

int32_t Read(int32_t reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }

void Write(int32_t reg, int32_t value) {
    USBStuff::WriteRegister(USBStuff::DeviceAddress, reg, value);
}

bool Bit(int32_t value, int bit) { return (value >> bit) & 1; }

// A list index as a field; an index outside the list (none chosen) must not spill into the
// neighbouring bits, and a stray 7 in a behaviour field would mean manual mode.
int32_t Field(int index, int maximum) { return std::clamp(index, 0, maximum); }

constexpr int32_t kPwmConfiguration = 0x5C;
constexpr int32_t kMaxDuty = 0x38;
constexpr int32_t kMinDuty = 0x64;
constexpr int32_t kFrequency = 0x5F;
constexpr int32_t kEnhancedAcoustics = 0x62;
constexpr int32_t kTachPulses = 0x7B;

}  // namespace

int32_t WithBit(int32_t value, int32_t mask, bool set) {
    return set ? value | mask : value & ~mask;
}

int32_t PwmConfigurationByte(const PwmOutputSettings& output) {
    int32_t w = Field(output.spinup, 7);
    w = WithBit(w, 0x08, output.alternate);
    w = WithBit(w, 0x10, output.activeLow);
    return w + 32 * Field(output.alternate ? output.altBehaviour : output.behaviour, 7);
}

int32_t TachPulsesByte(const std::array<int, 4>& fields) {
    int32_t w = 0;
    for (int k = 0; k < 4; ++k) w += Field(fields[k], 3) << (2 * k);
    return w;
}

int32_t FrequencyByte(int32_t current, int lowFrequency, bool highFrequency) {
    // Bits 7:4 belong to the automatic fan control (its temperature range): kept.
    return WithBit((current & 0xF0) | Field(lowFrequency, 7), 0x08, highFrequency);
}

FanConfigSettings ReadFanConfig() {
    FanConfigSettings s;
    int32_t v = Read(0x10);
    s.extraSlow = Bit(v, 7);
    v = Read(0x11);
    s.fullSpeed = Bit(v, 1);
    s.spinupDisabled = Bit(v, 3);
    v = Read(0x40);
    s.thermOnManual = Bit(v, 5);
    s.fanBoost = Bit(v, 3);
    v = Read(0x78);
    s.boost = Bit(v, 2);
    s.fastTach = Bit(v, 3);
    s.syncToPwm3 = Bit(Read(kEnhancedAcoustics), 4);
    s.speedOnTherm = (Read(0x7D) & 8) / 8;
    for (int i = 0; i < 3; ++i) {
        PwmOutputSettings& out = s.pwm[i];
        v = Read(kPwmConfiguration + i);
        out.spinup = v & 7;
        out.alternate = Bit(v, 3);
        out.activeLow = Bit(v, 4);
        out.behaviour = out.altBehaviour = (v & 0xE0) / 32;
        out.maxDuty = Read(kMaxDuty + i);
        out.minDuty = Read(kMinDuty + i);
        v = Read(kFrequency + i);
        out.lowFrequency = v & 7;
        out.highFrequency = Bit(v, 3);
    }
    v = Read(kEnhancedAcoustics);
    for (int i = 0; i < 3; ++i) s.pwm[i].holdMinBelowTmin = Bit(v, 5 + i);
    v = Read(0x78);
    for (int k = 0; k < 4; ++k) s.continuousTach[k] = Bit(v, 4 + k);
    v = Read(kTachPulses);
    for (int k = 0; k < 4; ++k) s.tachPulses[k] = (v >> (2 * k)) & 3;
    return s;
}

void WriteFanConfig(const FanConfigSettings& s) {
    Write(0x10, WithBit(Read(0x10), 0x80, s.extraSlow));
    Write(0x11, WithBit(WithBit(Read(0x11), 0x02, s.fullSpeed), 0x08, s.spinupDisabled));
    Write(0x40, WithBit(WithBit(Read(0x40), 0x20, s.thermOnManual), 0x08, s.fanBoost));
    Write(0x78, WithBit(WithBit(Read(0x78), 0x04, s.boost), 0x08, s.fastTach));
    Write(0x7D, WithBit(Read(0x7D), 0x08, s.speedOnTherm != 0));
    Write(kEnhancedAcoustics, WithBit(Read(kEnhancedAcoustics), 0x10, s.syncToPwm3));
    // 0x78 again: the read picks up what the write above left in bits 3:0.
    int32_t w = Read(0x78) & 0x0F;
    for (int k = 0; k < 4; ++k) w = WithBit(w, 0x10 << k, s.continuousTach[k]);
    Write(0x78, w);
    Write(kTachPulses, TachPulsesByte(s.tachPulses));
    for (int i = 0; i < 3; ++i) {
        const PwmOutputSettings& out = s.pwm[i];
        Write(kPwmConfiguration + i, PwmConfigurationByte(out));
        Write(kMaxDuty + i, std::clamp(out.maxDuty, 0, 255));
        Write(kMinDuty + i, std::clamp(out.minDuty, 0, 255));
        Write(kFrequency + i,
              FrequencyByte(Read(kFrequency + i), out.lowFrequency, out.highFrequency));
    }
    w = Read(kEnhancedAcoustics);
    for (int i = 0; i < 3; ++i) w = WithBit(w, 0x20 << i, s.pwm[i].holdMinBelowTmin);
    Write(kEnhancedAcoustics, w);
}

}  // namespace FanControl
