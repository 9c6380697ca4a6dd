#pragma once
// Registers the limits and graph windows and installs their master timer tasks (the strip
// charts' feed and the limits window's readings).

void RegisterMonitoringWindows();
