#pragma once
// Everything that fills the limits window: reading the limit registers of the chosen channels
// onto the gauges' markers, writing them back when the user drags a marker, showing the live
// readings on the needles and the interrupt status on the lamps. Owns the codings of the limit
// registers (temperature, tach minimum, voltage, PECI and THERM timer limits).

#include <array>
#include <cstdint>

class frmLimits;

namespace LimitFormSubs {

// The gauges of the window, in tab order.
enum class GaugeId { Temp, Fan, Volt, PECI, Therm };

// What a Show put on one marker and the register byte(s) it came from (low, high for a tach
// pair). A write sends these bytes again for a marker whose value is still the one placed, so a
// limit the user did not move never goes through a lossy round trip.
struct PlacedMarker {
    bool valid = false;
    int channel = -1;
    double value = 0;
    std::array<int32_t, 2> raw{};
};

// Per gauge, per value index (markers 2 to 4; 0 and 1 are needles and unused).
struct ShownLimits {
    std::array<std::array<PlacedMarker, 5>, 5> markers;
    PlacedMarker& At(GaugeId gauge, int marker) { return markers[static_cast<int>(gauge)][marker]; }
};

void InitTempLimitGauge(frmLimits& window);
void InitFanLimitGauge(frmLimits& window);
void InitVoltLimitGauge(frmLimits& window);
void InitPECILimitGauge(frmLimits& window);
void InitThermGauge(frmLimits& window);

void ShowTempLimits(frmLimits& window);
void ShowFanLimit(frmLimits& window);
void ShowVoltLimits(frmLimits& window);
void ShowPECILimits(frmLimits& window);
void ShowThermLimit(frmLimits& window);

void WriteTempLimits(frmLimits& window);
void WriteFanLimit(frmLimits& window);
void WriteVoltLimits(frmLimits& window);
void WritePECILimits(frmLimits& window);
void WriteThermLimit(frmLimits& window);

void ShowTempReading(frmLimits& window);
void ShowFanReading(frmLimits& window);
void ShowVoltReading(frmLimits& window);
void ShowPECIReading(frmLimits& window);
void ShowThermTimer(frmLimits& window);
void ShowInterruptStatus(frmLimits& window);

// The limits task of the master timer: the five readings, then the lamps.
void ShowLimitsTask(frmLimits& window);

// Fan speed shown for the tach minimum whose high byte is at `highRegister` (the low byte is
// the register before it, read first): 12000 for 0/0, 0 below 100 rpm.
float TachLimitToRpm(int32_t highRegister);
// The tach count of a fan speed, in floating point. An rpm of exactly 0 becomes 1 in the
// caller's variable, and rpm 1 gives the count 0xFFFF. low and high are the bytes to write;
// a count beyond 0xFFFF keeps its low byte and sends 0xFF as the high byte.
int32_t RpmToTachCount(float& rpm, int32_t& low, int32_t& high);
// Volts of an 8-bit voltage limit code, to two decimals.
float CodeToVolts(int16_t code, float nominal);

// Register coding of a temperature limit (whole degrees, half to even), within 0..255.
int32_t TemperatureLimitCode(double degrees, bool offset64);
// Temperature of a limit byte.
int TemperatureLimitValue(int byte, bool offset64);

}  // namespace LimitFormSubs
