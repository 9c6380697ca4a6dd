#include "main/SharedState.h"

namespace General {

bool GraphOpen;
bool RegMapOpen;
bool HeatersOpen;
bool LimitsOpen;
bool ManualOpen;
bool AutoGraphOpen;
bool DynTminOpen;

int32_t LogIntervalMs;
int32_t ReadIntervalMs;
bool ReadingEnabled;
int16_t GraphIntervalMs;

bool LoggingActive;
std::string LogFileName;
int32_t LogSampleCount;

bool ManualSliderBusy;
int16_t FileNum;
std::string DeviceName;

}  // namespace General
