#pragma once
// The settings records of the automatic fan control: for each PWM output, the temperature
// sources that drive it with their limits, and the output's duty limits and flags. They are
// gathered from what the window's controls show (not from the chip), so the curve chart draws
// what the user sees.

#include <array>
#include <cstdint>
#include <string>

namespace AutoFan {

inline constexpr int kOutputs = 3;
inline constexpr int kMaxSources = 7;

struct AFCSource {
    int16_t Type = 0;  // 0 none, 1 Remote1, 2 Local, 3 Remote2, 4 PECI
    std::string Name;  // "Remote1" ... "PECI3"; "" for none
    int16_t Tmin = 0;
    int16_t TminHyst = 0;
    int16_t Trange = 0;
    int16_t THERM = 0;
};

struct AFCRecord {
    int16_t NumSources = 0;
    std::array<AFCSource, kMaxSources> Sources;
    int16_t MinPWM = 0;
    int16_t MaxPWM = 0;
    bool AlwaysOn = false;
    bool AltControl = false;
};

struct AFCSettings {
    bool ThermFullSpeed = false;
    std::array<AFCRecord, kOutputs> Records;  // PWM1..PWM3
};

// The entries of the behaviour lists; an entry's index is the code in bits 7:5.
extern const std::array<const char*, 8> kControlEntries;
extern const std::array<const char*, 8> kAltControlEntries;
extern const std::array<const char*, 16> kTrangeEntries;
extern const std::array<const char*, 2> kSpeedOnThermEntries;

// What the window's controls show, as the records are gathered from them.
struct OutputControls {
    bool alwaysOn = false;    // chkMinSpeed ticked
    std::string minPwm;       // txtMinPWM text
    std::string maxPwm;       // txtMaxPWM text
    bool altVisible = false;  // cmbAltControl is the visible list
    std::string controlText;  // shown text of the visible behaviour list
};
struct ChannelControls {
    std::string tmin, tminHyst, trange, therm;  // texts of the channel's tab
};
struct AFCControls {
    std::string speedOnTherm;  // shown text of cmbSpeedOnTHERM
    std::array<OutputControls, kOutputs> outputs;
    std::array<ChannelControls, 4> channels;
};

// A box's number for a 16-bit field: its numeric prefix rounded half to even, saturated, so a
// typed "40000" is 32767 rather than an overflow.
int16_t FieldNumber(const std::string& text);

void ClearAFCRecords(AFCSettings& settings);
void GatherAFCSettings(const AFCControls& controls, AFCSettings& settings);
void ResolveControlSources(const AFCControls& controls, AFCRecord& record, int p);
void LoadSourceLimits(const AFCControls& controls, AFCRecord& record, int k);

// The chart's horizontal scale for an output: by the "Alternate Control" box, and whether the
// alternate list shows "Fastest of all thermal zones".
struct GraphScale {
    int16_t span;
    int16_t rightEdge;
};
GraphScale GraphScaleFor(bool altTicked, bool altShowsAllZones);

}  // namespace AutoFan
