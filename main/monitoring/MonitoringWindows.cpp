#include "main/monitoring/MonitoringWindows.h"

#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/monitoring/GraphSubs.h"
#include "main/monitoring/LimitFormSubs.h"
#include "main/monitoring/frmGraph.h"
#include "main/monitoring/frmLimits.h"

void RegisterMonitoringWindows() {
    Windows::Register(Windows::Kind::Limits, [] { return new frmLimits; });
    Windows::Register(Windows::Kind::Graph, [] { return new frmGraph; });

    MasterTimer::TaskHooks& hooks = MasterTimer::Hooks();
    hooks.updateGraphs = [] {
        if (!General::GraphOpen) return;
        if (auto* window = Windows::FindAs<frmGraph>(Windows::Kind::Graph))
            GraphSubs::UpdateGraphs(*window);
    };
    hooks.showLimits = [] {
        if (!General::LimitsOpen) return;
        if (auto* window = Windows::FindAs<frmLimits>(Windows::Kind::Limits))
            LimitFormSubs::ShowLimitsTask(*window);
    };
}
