#include "main/monitoring/Measurements.h"

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/Numbers.h"

namespace General {

std::array<float, 3> Temperatures;
std::array<float, 4> PECIReadings;
std::array<float, 23> Voltages;
std::array<int32_t, 5> FanRpm;
std::array<int16_t, 4> PwmDuty;
float ThermTimerSeconds;
int16_t IntStatus1, IntStatus2, IntStatus3, IntStatus4;
int32_t TachClockHz = 90000;

namespace {

using USBStuff::IoBuffer;

int Read(int32_t reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }
void ReadBlock(int32_t first, int16_t count) {
    USBStuff::ReadRegisterBlock(USBStuff::DeviceAddress, first, count);
}
int Bits(int value, int low) { return (value >> low) & 3; }

void ReadTemperatures() {
    const int ext = Read(0x77);
    ReadBlock(0x25, 3);
    static constexpr int kExtensionShift[3] = {2, 4, 6};
    for (int k = 0; k < 3; ++k)
        Temperatures[k] = TemperatureFromRegister(IoBuffer[k], Bits(ext, kExtensionShift[k]), Offset64Mode);
    PECIReadings[0] = PeciFromRegister(Read(0x33));
    ReadBlock(0x1A, 3);
    for (int k = 0; k < 3; ++k) PECIReadings[k + 1] = PeciFromRegister(IoBuffer[k]);
}

void ReadFans() {
    ReadBlock(0x28, 8);
    for (int k = 0; k < 4; ++k) FanRpm[k] = TachToRpm(IoBuffer[2 * k + 1] * 256 + IoBuffer[2 * k]);
}

void ReadDuties() {
    ReadBlock(0x30, 3);
    for (int k = 0; k < 3; ++k) PwmDuty[k] = DutyFromRegister(IoBuffer[k]);
}

void ReadVoltages() {
    const int e1 = Read(0x76);
    const int e2 = Read(0x77);
    ReadBlock(0x1D, 8);  // 0x1D..0x24; 0x1F carries the Imon and Vtt extension bits
    const int e3 = IoBuffer[0x1F - 0x1D];
    struct Input {
        int reg, extension;
    };
    const Input inputs[7] = {{0x1D, Bits(e3, 6)}, {0x1E, Bits(e3, 4)}, {0x20, Bits(e1, 0)},
                             {0x21, Bits(e1, 2)}, {0x22, Bits(e1, 4)}, {0x23, Bits(e1, 6)},
                             {0x24, Bits(e2, 0)}};
    for (int k = 0; k < 7; ++k)
        Voltages[k] = VoltageFromCode(IoBuffer[inputs[k].reg - 0x1D] * 4 + inputs[k].extension, k);
}

void ReadThermTimer() {
    ReadBlock(0x79, 1);
    ThermTimerSeconds = ThermTimerFromRegister(IoBuffer[0]);
}

void ReadInterruptStatus() {
    ReadBlock(0x41, 3);
    IntStatus1 = IoBuffer[0];
    IntStatus2 = IoBuffer[1];
    IntStatus3 = IoBuffer[2];
    IntStatus4 = Read(0x81);
}

}  // namespace

void ReadMeasurements(int16_t group) {
    switch (group) {
        case 1: ReadTemperatures(); break;
        case 2: ReadFans(); break;
        case 3: ReadDuties(); break;
        case 4: ReadVoltages(); break;
        case 5: ReadThermTimer(); break;
        case 6: break;  // takes its turn, reads nothing
        case 7: ReadInterruptStatus(); break;
        default: break;
    }
}

float TemperatureFromRegister(int byte, int extension, bool offset64) {
    if (offset64) return static_cast<float>((byte - 64) + extension * 0.25);
    int code = byte * 4 + extension;
    if (code > 511) code -= 1024;
    return static_cast<float>(code * 0.25);
}

float PeciFromRegister(int byte) { return static_cast<float>(byte > 127 ? byte - 256 : byte); }

int32_t TachToRpm(int32_t& count) {
    if (count <= 0) return 0;
    if (count > 65535) {
        count = -1;
        return 0;
    }
    const int64_t rpm = static_cast<int64_t>(TachClockHz) * 60 / count;
    if (rpm < 90 || rpm > 200000) return 0;
    return static_cast<int32_t>(rpm);
}

int32_t TachToRpm(int32_t&& count) { return TachToRpm(count); }

int16_t DutyFromRegister(int byte) {
    return static_cast<int16_t>(Numbers::RoundHalfEven(byte / 2.55));
}

double NominalVoltage(int input) {
    static constexpr double kNominal[7] = {1.6875, 1.6875, 2.5, 2.25, 3.3, 5.0, 12.0};
    return input >= 0 && input < 7 ? kNominal[input] : 0.0;
}

float VoltageFromCode(int code, int input) {
    return static_cast<float>(Numbers::RoundHalfEvenTo(code * NominalVoltage(input) / 768.0, 3));
}

float ThermTimerFromRegister(int byte) {
    return static_cast<float>(Numbers::RoundHalfEvenTo(byte * 0.02276, 2));
}

void ResetMeasurements() {
    Temperatures.fill(0);
    PECIReadings.fill(0);
    Voltages.fill(0);
    FanRpm.fill(0);
    PwmDuty.fill(0);
    ThermTimerSeconds = 0;
    IntStatus1 = IntStatus2 = IntStatus3 = IntStatus4 = 0;
}

}  // namespace General
