#include "hwsense.h"

#include "SmbusBinding.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace hwsense {

namespace {

constexpr int kChipAddress = 0x2E;

constexpr int kCompanyIdRegister = 0x3E;
constexpr int kCompanyId = 0x41;
constexpr int kIdentifiedResult = 3;
constexpr int kSecondIdRegister = 0x3D;
constexpr int kSecondId = 0x75;
constexpr int kIdentifyingNumber = 5071;

// Bit 0 set: temperatures are two's complement; clear: offset-64.
constexpr int kTemperatureCodingRegister = 0x7C;
constexpr int kCpuTemperatureRegister = 0x25;
constexpr int kSysTemperatureRegister = 0x27;

constexpr int kCpuTachLowRegister = 0x28;
constexpr int kSysTachLowRegister = 0x2A;
constexpr int kPwrTachLowRegister = 0x2C;
constexpr int kTachClockTicksPerMinute = 90000 * 60;
// A stalled fan leaves the count at 0xFFFF, and every count from 65061 up gives 82 rpm.
constexpr int kStalledRpm = 82;

constexpr int kPwmConfigRegister = 0x5C;  // + output index
constexpr int kPwmDutyRegister = 0x30;    // + output index
constexpr int kPwmManualModeBits = 0xE0;
constexpr int kDutyReadBackLimit = 50;

constexpr int kFieldRegister = 0x7B;
constexpr int kFieldLow = 1;
constexpr int kFieldHigh = 2;
constexpr int kFieldAuto = 3;

// Exports keep their state here; loading hwsense runs no code for it.
constinit SmbusBinding bus;

// The SMBus library may return more than a byte; only the register's 8 bits count.
int ReadChip(int reg) { return bus.Read(kChipAddress, reg) & 0xFF; }

void WriteChip(int reg, int value) { bus.Write(kChipAddress, reg, value); }

int32_t Identify(int reg, int expected, int32_t result) {
    if (!bus.IsBound()) {
        return 0;
    }
    return ReadChip(reg) == expected ? result : 0;
}

int32_t ReadTemperature(int reg) {
    if (!bus.IsBound()) {
        return 0;
    }
    const bool twosComplement = (ReadChip(kTemperatureCodingRegister) & 0x01) != 0;
    const int code = ReadChip(reg);
    return twosComplement ? static_cast<int8_t>(code) : static_cast<int8_t>((code - 64) & 0xFF);
}

int32_t ReadFanSpeed(int lowRegister) {
    if (!bus.IsBound()) {
        return 0;
    }
    const int low = ReadChip(lowRegister);
    const int high = ReadChip(lowRegister + 1);
    if (low == 0 && high == 0) {
        return 0;
    }
    const int rpm = kTachClockTicksPerMinute / (high * 256 + low);
    return rpm == kStalledRpm ? 0 : rpm;
}

int32_t SetFanDuty(int output, int32_t percent) {
    // Outside 0..100 the byte conversion wraps (101 % would become a duty of 1), so such a
    // request must not reach the chip at all.
    if (!bus.IsBound() || percent < 0 || percent > 100) {
        return 0;
    }
    const int configRegister = kPwmConfigRegister + output;
    const int dutyRegister = kPwmDutyRegister + output;
    WriteChip(configRegister, ReadChip(configRegister) | kPwmManualModeBits);

    // Truncated, so 100 % gives 254: callers have always seen that duty for full speed.
    const int duty = static_cast<int>(percent * 2.55) & 0xFF;
    WriteChip(dutyRegister, duty);
    for (int read = 0; read < kDutyReadBackLimit; ++read) {
        if (ReadChip(dutyRegister) == duty) {
            return 1;
        }
    }
    return 0;
}

int32_t SetField(int field) {
    if (!bus.IsBound()) {
        return 0;
    }
    WriteChip(kFieldRegister, (ReadChip(kFieldRegister) & 0x3F) | (field << 6));
    return ((ReadChip(kFieldRegister) >> 6) & 0x03) == field ? 1 : 0;
}

}  // namespace

}  // namespace hwsense

using hwsense::bus;

extern "C" {

int32_t Initialise(void) {
    switch (bus.Bind()) {
        case hwsense::SmbusBinding::BindResult::LibraryMissing:
            return 30;
        case hwsense::SmbusBinding::BindResult::DetectMissing:
            return 31;
        case hwsense::SmbusBinding::BindResult::ReadMissing:
            return 32;
        case hwsense::SmbusBinding::BindResult::WriteMissing:
            return 33;
        case hwsense::SmbusBinding::BindResult::Bound:
            break;
    }
    bus.Detect(1);
    return 1;
}

int32_t Cleanup(void) {
    bus.Release();
    return 1;
}

int32_t Get_SuperioId(void) {
    return hwsense::Identify(hwsense::kCompanyIdRegister, hwsense::kCompanyId,
                             hwsense::kIdentifiedResult);
}

int32_t Get_SuperioSn(void) {
    return hwsense::Identify(hwsense::kSecondIdRegister, hwsense::kSecondId,
                             hwsense::kIdentifyingNumber);
}

int32_t Get_CPUTemp(void) { return hwsense::ReadTemperature(hwsense::kCpuTemperatureRegister); }

int32_t Get_SYSTemp(void) { return hwsense::ReadTemperature(hwsense::kSysTemperatureRegister); }

int32_t Get_CPUFan_Speed(void) { return hwsense::ReadFanSpeed(hwsense::kCpuTachLowRegister); }

int32_t Get_SYSFan_Speed(void) { return hwsense::ReadFanSpeed(hwsense::kSysTachLowRegister); }

int32_t Get_PWRFan_Speed(void) { return hwsense::ReadFanSpeed(hwsense::kPwrTachLowRegister); }

int32_t Set_CPUFan_Speed(int32_t percent) { return hwsense::SetFanDuty(0, percent); }

int32_t Set_SYSFan_Speed(int32_t percent) { return hwsense::SetFanDuty(1, percent); }

int32_t Set_PWRFan_Speed(int32_t percent) { return hwsense::SetFanDuty(2, percent); }

int32_t Set_Low(void) { return hwsense::SetField(hwsense::kFieldLow); }

int32_t Set_High(void) { return hwsense::SetField(hwsense::kFieldHigh); }

int32_t Set_Auto(void) { return hwsense::SetField(hwsense::kFieldAuto); }

}  // extern "C"

#ifdef _WIN32
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
