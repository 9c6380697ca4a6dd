#include "main/board/BoardWindows.h"

#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/board/frmHeaters.h"
#include "main/board/frmSwitches.h"
#include "main/fancontrol/frmDynamicTmin.h"
#include "main/frmAbout.h"
#include "main/monitoring/LogFormat.h"
#include "main/monitoring/frmLogging.h"

void RegisterBoardWindows() {
    Windows::Register(Windows::Kind::Switches, [] { return new frmSwitches; });
    Windows::Register(Windows::Kind::Heaters, [] { return new frmHeaters; });
    Windows::Register(Windows::Kind::About, [] { return new frmAbout; });
    Windows::Register(Windows::Kind::Logging, [] { return new frmLogging; });
    Windows::Register(Windows::Kind::DynamicTmin, [] { return new frmDynamicTmin; });

    MasterTimer::TaskHooks& hooks = MasterTimer::Hooks();
    hooks.heaterLabels = [] {
        if (!General::HeatersOpen) return;
        if (auto* window = Windows::FindAs<frmHeaters>(Windows::Kind::Heaters))
            window->UpdateTemperatureLabels();
    };
    hooks.buildLogLine = [] { return General::BuildLogLine(); };
    hooks.logWriteFailed = [] { frmLogging::LogWriteFailed(); };
    hooks.dynTminGraph = [] {
        if (!General::DynTminOpen) return;
        if (auto* window = Windows::FindAs<frmDynamicTmin>(Windows::Kind::DynamicTmin))
            window->UpdateDynTminGraph();
    };
}
