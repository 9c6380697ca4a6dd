#include "main/fancontrol/AutoFanWindows.h"

#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/fancontrol/frmAutoGraph.h"

void RegisterAutoFanWindows() {
    Windows::Register(Windows::Kind::AutoGraph, [] { return new frmAutoGraph; });
    MasterTimer::Hooks().autoGraphPlot = [] {
        if (!General::AutoGraphOpen) return;
        if (auto* window = Windows::FindAs<frmAutoGraph>(Windows::Kind::AutoGraph))
            window->PlotAFCTemps();
    };
}
