#pragma once
// The chip's readings in engineering units. ReadMeasurements is the only code that writes
// these variables; the limits window, the strip charts, the heater labels and the fan control
// windows only read them. Every variable is 0 until its group is first read.

#include <array>
#include <cstdint>

namespace General {

extern std::array<float, 3> Temperatures;   // degrees C: 0 Remote1, 1 Local, 2 Remote2
extern std::array<float, 4> PECIReadings;   // PECI0..PECI3, whole degrees C
extern std::array<float, 23> Voltages;      // 0 Imon, 1 Vtt, 2 2.5V, 3 Vccp, 4 Vcc, 5 5V, 6 12V
extern std::array<int32_t, 5> FanRpm;       // TACH1..TACH4; 0 outside 90..200000 rpm
extern std::array<int16_t, 4> PwmDuty;      // PWM1..PWM3 in whole percent
extern float ThermTimerSeconds;
extern int16_t IntStatus1, IntStatus2, IntStatus3, IntStatus4;  // 0x41, 0x42, 0x43, 0x81

// Tach clock of the chip (set at start-up).
extern int32_t TachClockHz;

inline constexpr int16_t kMeasurementGroups = 7;

// Reads one measurement group (1..7) and converts it; any other group does nothing.
void ReadMeasurements(int16_t group);

// Conversions of register bytes to readings, shared with the windows that show limits.
float TemperatureFromRegister(int byte, int extension, bool offset64);
float PeciFromRegister(int byte);
// Fan speed of a tach count; 0 outside 90..200000 rpm. A count above 65535 sets the caller's
// count to -1.
int32_t TachToRpm(int32_t& count);
int32_t TachToRpm(int32_t&& count);
int16_t DutyFromRegister(int byte);
// Nominal voltage of input 0..6 (Imon, Vtt, 2.5V, Vccp, Vcc, 5V, 12V).
double NominalVoltage(int input);
float VoltageFromCode(int code, int input);
float ThermTimerFromRegister(int byte);

// Back to all zeros. For tests.
void ResetMeasurements();

}  // namespace General
