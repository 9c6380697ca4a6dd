#pragma once
// Start-up: probes the two transports, shows the splash, creates the main window (whose load
// finds every chip), then brings the defaults, the register table, the board switches and the
// chip's configuration into a known state and starts the master timer.

#include <functional>

class frmMain;

namespace General {

extern bool SMBusPresent;
extern bool UsbBoardPresent;
// The one main window, created by Main.
extern frmMain* MainForm;

// The program's entry after the application object exists. A step that raises a run-time
// error is skipped and the next one runs.
void Main();

void InitDefaults();
void InitBoardSwitches();
void InitBoardSetup();
void SetDeviceName();
void LoadSimulatedRegisters();

// Busy-waits `ms` milliseconds without processing window events (monotonic, so it also ends
// across midnight). Tests replace the wait.
void Delay(float ms);
void SetDelayFunction(std::function<void(float ms)> delay);

}  // namespace General
