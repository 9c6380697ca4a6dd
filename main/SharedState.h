#pragma once
// Program-wide settings and flags that several windows and the master timer share. Start-up
// sets the defaults (InitDefaults); each window sets its open flag once it is fully built and
// clears it when it goes.

#include <cstdint>
#include <string>

namespace General {

// Window-open flags: the master timer runs a window's task only while its flag is set.
extern bool GraphOpen;
extern bool RegMapOpen;
extern bool HeatersOpen;
extern bool LimitsOpen;
extern bool ManualOpen;
extern bool AutoGraphOpen;
extern bool DynTminOpen;

// Defaults written at start-up.
extern int32_t LogIntervalMs;    // data log period
extern int32_t ReadIntervalMs;   // measurement round robin period
extern bool ReadingEnabled;      // gate of the measurement task
extern int16_t GraphIntervalMs;  // strip chart period (the graph window changes it)

// Data log state (the log window owns it; the timer's log task reads it).
extern bool LoggingActive;
extern std::string LogFileName;
extern int32_t LogSampleCount;

// Held while the user drags a manual control slider: the timer leaves the sliders alone.
extern bool ManualSliderBusy;

// The one file number shared by the data log and the register settings files.
extern int16_t FileNum;

// "Quorvex": shown in the discovery texts.
extern std::string DeviceName;

// The program's title, the settings store's application name.
inline constexpr const char* kProgramTitle = "Quorvex Evaluation Software";

}  // namespace General
