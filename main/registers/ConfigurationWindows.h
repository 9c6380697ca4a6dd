#pragma once
// The chip configuration windows: general, voltage, THERM and PECI.

// Registers how to build each of the four window kinds. None of them has a master timer task.
void RegisterConfigurationWindows();
