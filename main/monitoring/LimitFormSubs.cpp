#include "main/monitoring/LimitFormSubs.h"

#include <QString>
#include <cmath>
#include <string>
#include <type_traits>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/Numbers.h"
#include "main/monitoring/Measurements.h"
#include "main/monitoring/frmLimits.h"

namespace LimitFormSubs {

namespace {

constexpr int kNeedleTop = 0;
constexpr int kNeedleReading = 1;
constexpr int kMarkerLow = 2;
constexpr int kMarkerHigh = 3;
constexpr int kMarkerThird = 4;

constexpr double kThermSecondsPerStep = 0.02276;
constexpr float kFanGaugeTop = 12000;

struct TempChannel {
    const char* name;
    int32_t low, high, therm;
};
constexpr TempChannel kTempChannels[] = {
    {"Remote1", 0x4E, 0x4F, 0x6A}, {"Local", 0x50, 0x51, 0x6B}, {"Remote2", 0x52, 0x53, 0x6C}};

struct FanChannel {
    const char* name;
    int32_t low, high;
};
constexpr FanChannel kFanChannels[] = {
    {"Fan1", 0x54, 0x55}, {"Fan2", 0x56, 0x57}, {"Fan3", 0x58, 0x59}, {"Fan4", 0x5A, 0x5B}};

struct VoltChannel {
    const char* name;
    int32_t low, high;
    float nominal;
};
constexpr VoltChannel kVoltChannels[] = {
    {"Imon", 0x85, 0x87, 1.6875f}, {"Vtt", 0x84, 0x86, 1.6875f}, {"2.5V", 0x44, 0x45, 2.5f},
    {"Vccp", 0x46, 0x47, 2.25f},   {"Vcc", 0x48, 0x49, 3.3f},    {"5V", 0x4A, 0x4B, 5.0f},
    {"12V", 0x4C, 0x4D, 12.0f}};

constexpr const char* kPeciChannels[] = {"PECI0", "PECI1", "PECI2", "PECI3"};

constexpr int32_t kPeciLow = 0x34, kPeciHigh = 0x35, kPeciTcontrol = 0x3D;
constexpr int32_t kThermLimit = 0x7A;

// The channel a combo box shows: its text, blanks trimmed, among the names; -1 for none.
template <class Table>
int ChannelOf(const QComboBox* combo, const Table& table) {
    const QString text = combo->currentText().trimmed();
    int index = 0;
    for (const auto& entry : table) {
        if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>) {
            if (text == QLatin1String(entry)) return index;
        } else {
            if (text == QLatin1String(entry.name)) return index;
        }
        ++index;
    }
    return -1;
}

int32_t Read(int32_t reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }
void Write(int32_t reg, int32_t value) {
    USBStuff::WriteRegister(USBStuff::DeviceAddress, reg, value);
}

int32_t Byte(double code) { return static_cast<int32_t>(Numbers::Saturate(code, 0, 255)); }

int TwosComplement(int byte) { return byte > 127 ? byte - 256 : byte; }

// Places a marker and remembers what it came from.
void Place(frmLimits& window, Controls::Gauge* gauge, GaugeId id, int marker, int channel,
           double value, int32_t raw0, int32_t raw1 = 0) {
    gauge->SetValue(marker, value);
    PlacedMarker& placed = window.shown.At(id, marker);
    placed.valid = true;
    placed.channel = channel;
    // Read back what the gauge holds, so the comparison on write is exact.
    placed.value = gauge->Value(marker);
    placed.raw = {raw0, raw1};
}

// The placement of a marker that still stands where the last Show of this channel put it.
const PlacedMarker* Untouched(frmLimits& window, Controls::Gauge* gauge, GaugeId id, int marker,
                              int channel) {
    const PlacedMarker& placed = window.shown.At(id, marker);
    if (!placed.valid || placed.channel != channel || gauge->Value(marker) != placed.value)
        return nullptr;
    return &placed;
}

QString Caption(float value, const char* unit) {
    return QString::fromStdString(Numbers::CaptionNumber(value, true)) + QString::fromUtf8(unit);
}

}  // namespace

int TemperatureLimitValue(int byte, bool offset64) {
    return offset64 ? byte - 64 : TwosComplement(byte);
}

int32_t TemperatureLimitCode(double degrees, bool offset64) {
    const double whole = Numbers::RoundHalfEven(degrees);
    if (offset64) return Byte(whole + 64);
    return Byte(whole < 0 ? whole + 256 : whole);
}

// ---- initialisation ----

void InitTempLimitGauge(frmLimits& window) {
    window.cmbTemp->setCurrentText(QLatin1String(kTempChannels[0].name));
    ShowTempLimits(window);
}

void InitFanLimitGauge(frmLimits& window) {
    window.cmbFan->setCurrentText(QLatin1String(kFanChannels[0].name));
    ShowFanLimit(window);
}

void InitVoltLimitGauge(frmLimits& window) {
    window.cmbVolt->setCurrentText(QLatin1String(kVoltChannels[0].name));
    ShowVoltLimits(window);
}

void InitPECILimitGauge(frmLimits& window) {
    window.cmbPECI->setCurrentText(QLatin1String(kPeciChannels[0]));
    ShowPECILimits(window);
}

void InitThermGauge(frmLimits& window) { ShowThermLimit(window); }

// ---- temperature limits ----

void ShowTempLimits(frmLimits& window) {
    const int channel = ChannelOf(window.cmbTemp, kTempChannels);
    if (channel < 0) return;
    const TempChannel& c = kTempChannels[channel];
    const int32_t low = Read(c.low);
    const int32_t high = Read(c.high);
    const int32_t therm = Read(c.therm);
    const bool offset64 = General::Offset64Mode;
    Place(window, window.ggeTemp, GaugeId::Temp, kMarkerLow, channel,
          static_cast<float>(TemperatureLimitValue(low, offset64)), low);
    Place(window, window.ggeTemp, GaugeId::Temp, kMarkerHigh, channel,
          static_cast<float>(TemperatureLimitValue(high, offset64)), high);
    Place(window, window.ggeTemp, GaugeId::Temp, kMarkerThird, channel,
          static_cast<int16_t>(TemperatureLimitValue(therm, offset64)), therm);
}

void WriteTempLimits(frmLimits& window) {
    const int channel = ChannelOf(window.cmbTemp, kTempChannels);
    if (channel < 0) return;
    const TempChannel& c = kTempChannels[channel];
    const int32_t registers[] = {c.low, c.high, c.therm};
    for (int marker = kMarkerLow; marker <= kMarkerThird; ++marker) {
        int32_t code;
        if (const PlacedMarker* placed =
                Untouched(window, window.ggeTemp, GaugeId::Temp, marker, channel))
            code = placed->raw[0];
        else
            code = TemperatureLimitCode(window.ggeTemp->Value(marker), General::Offset64Mode);
        Write(registers[marker - kMarkerLow], code);
    }
    ShowTempLimits(window);
}

// ---- tach minimum limits ----

namespace {

float RpmOfTachPair(int32_t low, int32_t high) {
    if (low == 0 && high == 0) return kFanGaugeTop;
    const int32_t count = high * 256 + low;
    const float rpm = static_cast<float>(General::TachClockHz * 60.0) / static_cast<float>(count);
    return rpm < 100 ? 0.0f : rpm;
}

}  // namespace

float TachLimitToRpm(int32_t highRegister) {
    const int32_t low = Read(highRegister - 1);
    const int32_t high = Read(highRegister);
    return RpmOfTachPair(low, high);
}

int32_t RpmToTachCount(float& rpm, int32_t& low, int32_t& high) {
    if (rpm == 0) rpm = 1;
    const double dividend = General::TachClockHz * 60.0;
    int64_t count = Numbers::Saturate(Numbers::RoundHalfEven(dividend / rpm), 0, INT32_MAX);
    if (count == static_cast<int64_t>(dividend)) count = 0xFFFF;
    low = static_cast<int32_t>(count & 0xFF);
    // Beyond 0xFFFF the high part no longer fits a byte; the chip gets its largest high byte.
    high = static_cast<int32_t>(std::min<int64_t>(count >> 8, 0xFF));
    return static_cast<int32_t>(count);
}

void ShowFanLimit(frmLimits& window) {
    const int channel = ChannelOf(window.cmbFan, kFanChannels);
    if (channel < 0) return;
    const FanChannel& c = kFanChannels[channel];
    const int32_t low = Read(c.low);
    const int32_t high = Read(c.high);
    Place(window, window.ggeFan, GaugeId::Fan, kMarkerHigh, channel, RpmOfTachPair(low, high), low,
          high);
}

void WriteFanLimit(frmLimits& window) {
    const int channel = ChannelOf(window.cmbFan, kFanChannels);
    if (channel < 0) return;
    const FanChannel& c = kFanChannels[channel];
    int32_t low, high;
    if (const PlacedMarker* placed =
            Untouched(window, window.ggeFan, GaugeId::Fan, kMarkerHigh, channel)) {
        low = placed->raw[0];
        high = placed->raw[1];
    } else {
        float rpm = static_cast<float>(window.ggeFan->Value(kMarkerHigh));
        RpmToTachCount(rpm, low, high);
    }
    Write(c.low, low);
    Write(c.high, high);
    ShowFanLimit(window);
}

// ---- voltage limits ----

float CodeToVolts(int16_t code, float nominal) {
    const float volts = static_cast<float>(code * static_cast<double>(nominal) / 192.0);
    return static_cast<float>(Numbers::RoundHalfEvenTo(volts, 2));
}

void ShowVoltLimits(frmLimits& window) {
    const int channel = ChannelOf(window.cmbVolt, kVoltChannels);
    if (channel < 0) return;
    const VoltChannel& c = kVoltChannels[channel];
    const int32_t low = Read(c.low);
    const float lowVolts = CodeToVolts(static_cast<int16_t>(low), c.nominal);
    const int32_t high = Read(c.high);
    const float highVolts = CodeToVolts(static_cast<int16_t>(high), c.nominal);
    Controls::Gauge* gauge = window.ggeVolt;
    gauge->SetScale(0, Numbers::RoundHalfEvenTo(c.nominal * 255.0 / 192.0, 2));
    gauge->SetValue(kNeedleTop, gauge->ScaleMax());
    gauge->SetValue(kNeedleReading, gauge->ScaleMax() / 2);
    Place(window, gauge, GaugeId::Volt, kMarkerLow, channel, lowVolts, low);
    Place(window, gauge, GaugeId::Volt, kMarkerHigh, channel, highVolts, high);
}

void WriteVoltLimits(frmLimits& window) {
    const int channel = ChannelOf(window.cmbVolt, kVoltChannels);
    if (channel < 0) return;
    const VoltChannel& c = kVoltChannels[channel];
    const int32_t registers[] = {c.low, c.high};
    for (int marker = kMarkerLow; marker <= kMarkerHigh; ++marker) {
        int32_t code;
        if (const PlacedMarker* placed =
                Untouched(window, window.ggeVolt, GaugeId::Volt, marker, channel))
            code = placed->raw[0];
        else
            code = Byte(Numbers::RoundHalfEven(window.ggeVolt->Value(marker) * 192.0 / c.nominal));
        Write(registers[marker - kMarkerLow], code);
    }
    ShowVoltLimits(window);
}

// ---- PECI limits: one set for the four channels, always two's complement ----

void ShowPECILimits(frmLimits& window) {
    const int32_t low = Read(kPeciLow);
    const int32_t high = Read(kPeciHigh);
    const int32_t tcontrol = Read(kPeciTcontrol);
    Place(window, window.ggePECI, GaugeId::PECI, kMarkerLow, 0,
          static_cast<float>(TwosComplement(low)), low);
    Place(window, window.ggePECI, GaugeId::PECI, kMarkerHigh, 0,
          static_cast<float>(TwosComplement(high)), high);
    Place(window, window.ggePECI, GaugeId::PECI, kMarkerThird, 0,
          static_cast<int16_t>(TwosComplement(tcontrol)), tcontrol);
}

void WritePECILimits(frmLimits& window) {
    const int32_t registers[] = {kPeciLow, kPeciHigh, kPeciTcontrol};
    for (int marker = kMarkerLow; marker <= kMarkerThird; ++marker) {
        int32_t code;
        if (const PlacedMarker* placed =
                Untouched(window, window.ggePECI, GaugeId::PECI, marker, 0))
            code = placed->raw[0];
        else
            code = TemperatureLimitCode(window.ggePECI->Value(marker), false);
        Write(registers[marker - kMarkerLow], code);
    }
    ShowPECILimits(window);
}

// ---- THERM timer limit ----

void ShowThermLimit(frmLimits& window) {
    const int32_t code = Read(kThermLimit);
    Place(window, window.ggeTHERM, GaugeId::Therm, kMarkerHigh, 0,
          static_cast<float>(code * kThermSecondsPerStep), code);
}

void WriteThermLimit(frmLimits& window) {
    int32_t code;
    if (const PlacedMarker* placed =
            Untouched(window, window.ggeTHERM, GaugeId::Therm, kMarkerHigh, 0))
        code = placed->raw[0];
    else
        code = Byte(std::floor(window.ggeTHERM->Value(kMarkerHigh) / kThermSecondsPerStep));
    Write(kThermLimit, code);
    ShowThermLimit(window);
}

// ---- readings ----

void ShowTempReading(frmLimits& window) {
    const int channel = ChannelOf(window.cmbTemp, kTempChannels);
    if (channel < 0) return;
    const float value = General::Temperatures[channel];
    window.ggeTemp->SetValue(kNeedleReading, value);
    window.ggeTemp->SetCaption(Caption(value, "\u00B0C"));
}

void ShowFanReading(frmLimits& window) {
    const int channel = ChannelOf(window.cmbFan, kFanChannels);
    if (channel < 0) return;
    const int32_t rpm = General::FanRpm[channel];
    window.ggeFan->SetValue(kNeedleReading, rpm);
    window.ggeFan->SetCaption(QString::fromStdString(Numbers::CaptionNumber(int64_t{rpm}, true)) +
                              QStringLiteral("rpm"));
}

void ShowVoltReading(frmLimits& window) {
    const int channel = ChannelOf(window.cmbVolt, kVoltChannels);
    if (channel < 0) return;
    const float value = General::Voltages[channel];
    window.ggeVolt->SetValue(kNeedleReading, value);
    window.ggeVolt->SetCaption(Caption(value, "V"));
}

void ShowPECIReading(frmLimits& window) {
    const int channel = ChannelOf(window.cmbPECI, kPeciChannels);
    if (channel < 0) return;
    const float value = General::PECIReadings[channel];
    window.ggePECI->SetValue(kNeedleReading, value);
    window.ggePECI->SetCaption(Caption(value, "\u00B0C"));
}

void ShowThermTimer(frmLimits& window) {
    const float value = General::ThermTimerSeconds;
    window.ggeTHERM->SetValue(kNeedleReading, value);
    window.ggeTHERM->SetCaption(Caption(value, " sec"));
}

void ShowInterruptStatus(frmLimits& window) {
    using namespace General;
    auto bit = [](int16_t status, int n) { return ((status >> n) & 1) != 0; };
    window.tglTempAlert[0]->SetValue(bit(IntStatus1, 4));
    window.tglTempAlert[1]->SetValue(bit(IntStatus1, 5));
    window.tglTempAlert[2]->SetValue(bit(IntStatus1, 6));
    window.tglTempAlert[3]->SetValue(bit(IntStatus3, 3));
    window.tglTempAlert[4]->SetValue(bit(IntStatus2, 6));
    window.tglTempAlert[5]->SetValue(bit(IntStatus2, 7));
    window.tglFanAlert[0]->SetValue(bit(IntStatus2, 2));
    window.tglFanAlert[1]->SetValue(bit(IntStatus2, 3));
    window.tglFanAlert[2]->SetValue(bit(IntStatus2, 4));
    // Pin 14 is the fourth tach input only in function 0; otherwise its lamp means nothing.
    const bool fan4 = Pin14Function == 0;
    window.lblFan[3]->setEnabled(fan4);
    if (fan4) window.tglFanAlert[3]->SetValue(bit(IntStatus2, 5));
    window.tglVoltAlert[0]->SetValue(bit(IntStatus4, 6));
    window.tglVoltAlert[1]->SetValue(bit(IntStatus4, 7));
    // Pin 22 is the 2.5V input only while it is not configured as THERM.
    const bool input25 = !CfgT25;
    window.lblVolt[2]->setEnabled(input25);
    if (input25) window.tglVoltAlert[2]->SetValue(bit(IntStatus1, 0));
    window.tglVoltAlert[3]->SetValue(bit(IntStatus1, 1));
    window.tglVoltAlert[4]->SetValue(bit(IntStatus1, 2));
    window.tglVoltAlert[5]->SetValue(bit(IntStatus1, 3));
    window.tglVoltAlert[6]->SetValue(bit(IntStatus2, 0));
    window.tglPECIAlert[0]->SetValue(bit(IntStatus3, 0));
    window.tglPECIAlert[1]->SetValue(bit(IntStatus4, 3));
    window.tglPECIAlert[2]->SetValue(bit(IntStatus4, 4));
    window.tglPECIAlert[3]->SetValue(bit(IntStatus4, 5));
    window.tglPECIAlert[4]->SetValue(bit(IntStatus3, 1));
    window.tglPECIAlert[5]->SetValue(bit(IntStatus3, 2));
}

void ShowLimitsTask(frmLimits& window) {
    ShowTempReading(window);
    ShowFanReading(window);
    ShowVoltReading(window);
    ShowPECIReading(window);
    ShowThermTimer(window);
    ShowInterruptStatus(window);
}

}  // namespace LimitFormSubs
