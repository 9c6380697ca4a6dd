#pragma once
// A simulated Quorvex: the register image a real chip shows on the bus. It powers on with the
// register table's defaults, ignores writes to read-only registers (bit 0 of 0x89 aside, which
// start-up sets) and, unless static, lets its measurement registers drift slowly with time:
// temperatures, PECI, voltages, tach counts that follow the fan duty, the THERM timer and the
// interrupt status bits against the limits. A static chip changes a register only when it is
// written, so tests see exactly what they put there.

#include <array>
#include <cstdint>
#include <functional>

namespace chipsim {

class Chip {
  public:
    static constexpr int kRegisterCount = 256;

    // `phase` staggers the drift of several chips so they do not show the same readings.
    explicit Chip(bool staticMode = false, double phase = 0.0);

    // Bus access: a read first brings the measurements up to date; a write obeys the read-only
    // flags. Registers the chip does not have read 0 and ignore writes.
    uint8_t Read(int reg);
    void Write(int reg, uint8_t value);

    // Direct access for tests: no update, no read-only check.
    uint8_t Peek(int reg) const;
    void Poke(int reg, uint8_t value);

    // Back to the power-on image (measurements restart from their first values).
    void PowerOn();

    bool IsStatic() const { return static_; }
    void SetStatic(bool staticMode);

    // Heater power 0..100 % of the evaluation board warms the remote diode of its channel
    // (heater 1 -> Remote1, heater 2 -> Remote2) by up to kHeaterRiseC, with a lag.
    static constexpr double kHeaterRiseC = 40.0;
    void SetHeaterPower(int heater, int percent);

    // Seconds as the simulation sees them; defaults to a monotonic wall clock. Tests install
    // their own to step time.
    void SetClock(std::function<double()> clock);
    // Brings the measurement registers to the clock's present time (nothing when static).
    void Update();

    // True when the register holds a register of the chip (has a description).
    static bool Exists(int reg);
    // True when bus writes to the register are ignored.
    static bool IsReadOnly(int reg);

    // The temperatures (degrees C) the simulation last coded, Remote1, Local, Remote2.
    std::array<double, 3> Temperatures() const { return temps_; }

  private:
    void Simulate(double now);
    void CodeTemperatures();
    void CodePeci(double t);
    void CodeVoltages(double t);
    void RunFans(double t, double dt);
    void RunThermTimer(double dt);
    void SetStatusBits();
    double TempOfCode(uint8_t limit) const;
    bool TwosComplement() const;

    std::array<uint8_t, kRegisterCount> regs_{};
    bool static_;
    double phase_;
    std::function<double()> clock_;
    bool started_ = false;
    double start_ = 0.0;
    double last_ = 0.0;
    std::array<int, 2> heaterPower_{};
    std::array<double, 2> heaterRise_{};
    std::array<double, 3> fanRpm_{};
    std::array<double, 3> temps_{};
    double thermSeconds_ = 0.0;
    bool thermAsserted_ = false;
};

}  // namespace chipsim
