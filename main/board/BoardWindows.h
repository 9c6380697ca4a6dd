#pragma once
// Registers the switch, heater, About, data log and dynamic Tmin windows and installs their
// master timer tasks (the heater labels, the log line and its failure, the dynamic Tmin graph).

void RegisterBoardWindows();
