#pragma once
// The manual fan control and fan configuration windows: their registration with the window
// catalogue and the master timer's refresh of the manual control window (task 6).

class frmManualControl;

// Registers Windows::Kind::ManualControl and Windows::Kind::FanConfig and installs the master
// timer's manual control hooks.
void RegisterManualFanWindows();

namespace General {

// The manual-mode status of each output: "Enabled" in dark green with its slider enabled, or
// "Disabled" in red with its slider disabled, as ManualMode says. Acts on the open window only.
void UpdateManualControlStatus();
// The slider positions from the measured duty (at most 100). Moves the sliders only: the chip
// is written by the user's own moves alone.
void UpdateManualControlSliders();

// The same for a given window (its load runs these before the window counts as open).
void UpdateManualControlStatus(frmManualControl& window);
void UpdateManualControlSliders(frmManualControl& window);

}  // namespace General
