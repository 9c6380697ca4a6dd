#pragma once

// Registers the automatic fan control window and its master timer task (the curve chart's
// operating points).
void RegisterAutoFanWindows();
