#include "platform/chipsim/Chip.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#include "main/registers/RegisterTable.h"

namespace chipsim {

namespace {

// Registers the measurement model writes.
constexpr int kPeci1 = 0x1A;
constexpr int kImon = 0x1D;
constexpr int kVtt = 0x1E;
constexpr int kExtRes3 = 0x1F;
constexpr int kV25 = 0x20;
constexpr int kTemp0 = 0x25;  // Remote1, Local, Remote2
constexpr int kTach0 = 0x28;  // low byte first, four tachs
constexpr int kDuty0 = 0x30;
constexpr int kPeci0 = 0x33;
constexpr int kPeciLow = 0x34;
constexpr int kPeciHigh = 0x35;
constexpr int kMaxDuty0 = 0x38;
constexpr int kStatus1 = 0x41;
constexpr int kStatus2 = 0x42;
constexpr int kStatus3 = 0x43;
constexpr int kVoltLimit0 = 0x44;  // 2.5V, Vccp, Vcc, 5V, 12V: low, high pairs
constexpr int kTempLimit0 = 0x4E;  // Remote1, Local, Remote2: low, high pairs
constexpr int kTachMin0 = 0x54;
constexpr int kPwmConfig0 = 0x5C;
constexpr int kTrange0 = 0x5F;  // per temperature channel
constexpr int kEnhanced1 = 0x62;
constexpr int kMinDuty0 = 0x64;
constexpr int kTmin0 = 0x67;
constexpr int kThermLimit0 = 0x6A;
constexpr int kExtRes1 = 0x76;
constexpr int kExtRes2 = 0x77;
constexpr int kConfig3 = 0x78;
constexpr int kThermTimer = 0x79;
constexpr int kConfig5 = 0x7C;
constexpr int kStatus4 = 0x81;
constexpr int kVttLow = 0x84;
constexpr int kImonLow = 0x85;
constexpr int kVttHigh = 0x86;
constexpr int kImonHigh = 0x87;
constexpr int kTest3 = 0x89;

constexpr double kThermStepSeconds = 0.02276;
constexpr double kHeaterLagSeconds = 30.0;
constexpr double kFanLagSeconds = 2.0;
constexpr double kTachClockTimes60 = 5400000.0;
constexpr uint16_t kStalledCount = 0xFFFF;
// Trange codes in degrees C, as the automatic fan control lists them.
constexpr double kTrangeC[16] = {2,        2.5, 10.0 / 3, 4,        5,  20.0 / 3, 8,         10,
                                 40.0 / 3, 16,  20,       80.0 / 3, 32, 40,       160.0 / 3, 80};

struct RegisterFlags {
    std::array<bool, Chip::kRegisterCount> exists{};
    std::array<bool, Chip::kRegisterCount> readOnly{};
    std::array<uint8_t, Chip::kRegisterCount> defaults{};
};

const RegisterFlags& Flags() {
    static const RegisterFlags flags = [] {
        RegisterFlags f;
        for (const auto& info : RegMapStuff::RegisterDescriptions()) {
            if (info.IsAlias) continue;
            const int reg = info.Address & 0xFF;
            f.exists[reg] = true;
            f.readOnly[reg] = info.ReadOnly;
            f.defaults[reg] = static_cast<uint8_t>(info.DefaultValue);
        }
        return f;
    }();
    return flags;
}

double Wave(double t, double period, double phase) {
    return std::sin(2 * std::numbers::pi * t / period + phase);
}

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int8_t Signed(uint8_t b) { return static_cast<int8_t>(b); }

void SetBit(uint8_t& byte, int bit, bool on) {
    byte = static_cast<uint8_t>(on ? (byte | (1u << bit)) : (byte & ~(1u << bit)));
}

void SetField(uint8_t& byte, int shift, int value) {
    byte = static_cast<uint8_t>((byte & ~(3u << shift)) | ((value & 3u) << shift));
}

}  // namespace

Chip::Chip(bool staticMode, double phase)
    : static_(staticMode), phase_(phase), clock_(SteadySeconds) {
    PowerOn();
}

bool Chip::Exists(int reg) { return reg >= 0 && reg < kRegisterCount && Flags().exists[reg]; }

bool Chip::IsReadOnly(int reg) { return Exists(reg) && Flags().readOnly[reg]; }

void Chip::PowerOn() {
    regs_ = Flags().defaults;
    started_ = false;
    heaterRise_ = {};
    fanRpm_ = {};
    temps_ = {};
    thermSeconds_ = 0.0;
    thermAsserted_ = false;
}

void Chip::SetStatic(bool staticMode) {
    if (static_ == staticMode) return;
    static_ = staticMode;
    // Coming back to life must not count the frozen time as elapsed.
    started_ = false;
}

void Chip::SetClock(std::function<double()> clock) {
    clock_ = clock ? std::move(clock) : std::function<double()>(SteadySeconds);
    started_ = false;
}

void Chip::SetHeaterPower(int heater, int percent) {
    if (heater < 1 || heater > 2) return;
    heaterPower_[heater - 1] = std::clamp(percent, 0, 100);
}

uint8_t Chip::Read(int reg) {
    if (!Exists(reg)) return 0;
    Update();
    return regs_[reg];
}

void Chip::Write(int reg, uint8_t value) {
    if (!Exists(reg)) return;
    if (reg == kTest3) {
        // Start-up sets bit 0 of this test register; the other bits stay the chip's own.
        SetBit(regs_[reg], 0, value & 1);
        return;
    }
    if (Flags().readOnly[reg]) return;
    regs_[reg] = value;
}

uint8_t Chip::Peek(int reg) const { return reg >= 0 && reg < kRegisterCount ? regs_[reg] : 0; }

void Chip::Poke(int reg, uint8_t value) {
    if (reg >= 0 && reg < kRegisterCount) regs_[reg] = value;
}

void Chip::Update() {
    if (static_) return;
    Simulate(clock_());
}

bool Chip::TwosComplement() const { return regs_[kConfig5] & 1; }

double Chip::TempOfCode(uint8_t limit) const {
    return TwosComplement() ? Signed(limit) : limit - 64.0;
}

void Chip::Simulate(double now) {
    if (!started_) {
        started_ = true;
        start_ = now;
        last_ = now;
    }
    // A clock that stepped back, or a long pause, must not upset the lags.
    const double dt = std::clamp(now - last_, 0.0, 3600.0);
    last_ = now;
    const double t = now - start_ + phase_ * 97.0;

    for (int k = 0; k < 2; ++k) {
        const double target = heaterPower_[k] / 100.0 * kHeaterRiseC;
        heaterRise_[k] += (target - heaterRise_[k]) * (1 - std::exp(-dt / kHeaterLagSeconds));
    }
    temps_[0] = 44.0 + 3.0 * Wave(t, 300, 1.0 + phase_) + heaterRise_[0];
    temps_[1] = 31.0 + 1.5 * Wave(t, 420, phase_) + 0.5 * Wave(t, 61, 0.3);
    temps_[2] = 37.0 + 2.0 * Wave(t, 360, 2.0 + phase_) + heaterRise_[1];

    CodeTemperatures();
    CodePeci(t);
    CodeVoltages(t);
    RunFans(t, dt);
    RunThermTimer(dt);
    SetStatusBits();
}

void Chip::CodeTemperatures() {
    for (int ch = 0; ch < 3; ++ch) {
        int code;
        if (TwosComplement()) {
            code = std::clamp(static_cast<int>(std::lround(temps_[ch] * 4)), -512, 511) & 0x3FF;
        } else {
            code = std::clamp(static_cast<int>(std::lround((temps_[ch] + 64) * 4)), 0, 1023);
        }
        regs_[kTemp0 + ch] = static_cast<uint8_t>(code >> 2);
        // Extension bits: Remote1 3:2, Local 5:4, Remote2 7:6.
        SetField(regs_[kExtRes2], 2 + 2 * ch, code & 3);
    }
}

void Chip::CodePeci(double t) {
    // PECI readings are negative distances to the processor's limit, always two's complement.
    const double base[4] = {-25, -31, -36, -42};
    for (int k = 0; k < 4; ++k) {
        const long v = std::lround(base[k] + 3 * Wave(t, 150 + 20 * k, k + phase_));
        const int reg = k == 0 ? kPeci0 : kPeci1 + k - 1;
        regs_[reg] = static_cast<uint8_t>(v & 0xFF);
    }
}

void Chip::CodeVoltages(double t) {
    // Code 768 of 1023 is the nominal voltage of every input.
    struct Input {
        int reg, extReg, shift;
    };
    constexpr Input inputs[7] = {{kImon, kExtRes3, 6}, {kVtt, kExtRes3, 4}, {kV25, kExtRes1, 0},
                                 {0x21, kExtRes1, 2},  {0x22, kExtRes1, 4}, {0x23, kExtRes1, 6},
                                 {0x24, kExtRes2, 0}};
    for (int k = 0; k < 7; ++k) {
        const int code = 768 + static_cast<int>(std::lround(4 * Wave(t, 97 + 13 * k, k + phase_)));
        regs_[inputs[k].reg] = static_cast<uint8_t>(code >> 2);
        SetField(regs_[inputs[k].extReg], inputs[k].shift, code & 3);
    }
}

void Chip::RunFans(double t, double dt) {
    for (int p = 0; p < 3; ++p) {
        const uint8_t config = regs_[kPwmConfig0 + p];
        const int behaviour = config >> 5;
        const bool alternate = config & 0x08;
        // Manual mode and the alternate (PECI) sources keep the duty register as written.
        if (behaviour != 7 && !alternate) {
            double duty = 0;
            const uint8_t minDuty = regs_[kMinDuty0 + p];
            const uint8_t maxDuty = regs_[kMaxDuty0 + p];
            const bool alwaysOn = regs_[kEnhanced1] & (0x20 << p);
            auto channelDuty = [&](int ch) {
                const double tmin = TempOfCode(regs_[kTmin0 + ch]);
                const double range = kTrangeC[regs_[kTrange0 + ch] >> 4];
                if (temps_[ch] < tmin) return alwaysOn ? double(minDuty) : 0.0;
                const double d = minDuty + (temps_[ch] - tmin) * (255 - minDuty) / range;
                return std::min<double>(d, maxDuty);
            };
            switch (behaviour) {
                case 0:
                case 1:
                case 2:
                    duty = channelDuty(behaviour);
                    break;
                case 3:
                    duty = 255;
                    break;
                case 4:
                    duty = 0;
                    break;
                case 5:
                    duty = std::max(channelDuty(1), channelDuty(2));
                    break;
                default:
                    duty = std::max({channelDuty(0), channelDuty(1), channelDuty(2)});
                    break;
            }
            regs_[kDuty0 + p] = static_cast<uint8_t>(std::clamp(std::lround(duty), 0L, 255L));
        }
        const uint8_t duty = regs_[kDuty0 + p];
        const double target = duty == 0 ? 0.0 : 800 + duty / 255.0 * 4200 + 150 * p;
        fanRpm_[p] += (target - fanRpm_[p]) * (1 - std::exp(-dt / kFanLagSeconds));
        if (dt == 0 && fanRpm_[p] == 0) fanRpm_[p] = target;  // first look: already spinning
        const double rpm = fanRpm_[p] * (1 + 0.004 * Wave(t, 7 + p, p));
        uint16_t count = kStalledCount;
        if (rpm >= 90) count = static_cast<uint16_t>(std::min(65534.0, kTachClockTimes60 / rpm));
        regs_[kTach0 + 2 * p] = count & 0xFF;
        regs_[kTach0 + 2 * p + 1] = count >> 8;
    }
    // TACH4 has no fan on it.
    regs_[kTach0 + 6] = kStalledCount & 0xFF;
    regs_[kTach0 + 7] = kStalledCount >> 8;
}

void Chip::RunThermTimer(double dt) {
    bool asserted = false;
    for (int ch = 0; ch < 3; ++ch) {
        if (temps_[ch] > TempOfCode(regs_[kThermLimit0 + ch])) asserted = true;
    }
    if (asserted && !thermAsserted_) thermSeconds_ = 0;  // a new event starts a new count
    if (asserted) thermSeconds_ += dt;
    thermAsserted_ = asserted;
    const int steps = std::min(254, static_cast<int>(thermSeconds_ / kThermStepSeconds));
    regs_[kThermTimer] = static_cast<uint8_t>((steps & 0xFE) | (asserted ? 1 : 0));
}

void Chip::SetStatusBits() {
    auto tempOut = [&](int ch) {
        const double low = TempOfCode(regs_[kTempLimit0 + 2 * ch]);
        const double high = TempOfCode(regs_[kTempLimit0 + 2 * ch + 1]);
        const double reading = std::lround(temps_[ch] * 4) / 4.0;
        return reading < low || reading > high;
    };
    auto voltOut = [&](int valueReg, int lowReg, int highReg) {
        return regs_[valueReg] < regs_[lowReg] || regs_[valueReg] > regs_[highReg];
    };
    auto peciOut = [&](int reg) {
        const int v = Signed(regs_[reg]);
        return v < Signed(regs_[kPeciLow]) || v > Signed(regs_[kPeciHigh]);
    };

    uint8_t s4 = 0;
    SetBit(s4, 7, voltOut(kVtt, kVttLow, kVttHigh));
    SetBit(s4, 6, voltOut(kImon, kImonLow, kImonHigh));
    for (int k = 1; k <= 3; ++k) SetBit(s4, 2 + k, peciOut(kPeci1 + k - 1));

    uint8_t s3 = 0;
    SetBit(s3, 0, peciOut(kPeci0));
    SetBit(s3, 3, thermAsserted_);
    SetBit(s3, 7, s4 != 0);

    uint8_t s2 = 0;
    SetBit(s2, 0, voltOut(0x24, kVoltLimit0 + 8, kVoltLimit0 + 9));
    SetBit(s2, 1, s3 != 0);
    for (int f = 0; f < 4; ++f) {
        const int count = regs_[kTach0 + 2 * f] | regs_[kTach0 + 2 * f + 1] << 8;
        const int minimum = regs_[kTachMin0 + 2 * f] | regs_[kTachMin0 + 2 * f + 1] << 8;
        SetBit(s2, 2 + f, count > minimum);
    }

    uint8_t s1 = 0;
    // Pin 22 is either the 2.5V input or THERM.
    const bool pin22Therm = regs_[kConfig3] & 0x02;
    SetBit(s1, 0, pin22Therm ? thermAsserted_ : voltOut(kV25, kVoltLimit0, kVoltLimit0 + 1));
    for (int k = 1; k <= 3; ++k) {
        SetBit(s1, k, voltOut(kV25 + k, kVoltLimit0 + 2 * k, kVoltLimit0 + 2 * k + 1));
    }
    SetBit(s1, 4, tempOut(0));
    SetBit(s1, 5, tempOut(1));
    SetBit(s1, 6, tempOut(2));
    SetBit(s1, 7, s2 != 0);

    regs_[kStatus1] = s1;
    regs_[kStatus2] = s2;
    regs_[kStatus3] = s3;
    regs_[kStatus4] = s4;
}

}  // namespace chipsim
