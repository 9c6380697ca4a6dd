#include "main/fancontrol/ManualFanWindows.h"

#include <QColor>
#include <QPalette>
#include <algorithm>

#include "main/ConfigFlags.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/fancontrol/frmFanConfig.h"
#include "main/fancontrol/frmManualControl.h"
#include "main/monitoring/Measurements.h"

namespace {

frmManualControl* OpenManualControl() {
    if (!General::ManualOpen) return nullptr;
    return Windows::FindAs<frmManualControl>(Windows::Kind::ManualControl);
}

void SetTextColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    if (palette.color(QPalette::WindowText) == colour) return;
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

}  // namespace

void RegisterManualFanWindows() {
    Windows::Register(Windows::Kind::ManualControl, [] { return new frmManualControl; });
    Windows::Register(Windows::Kind::FanConfig, [] { return new frmFanConfig; });
    MasterTimer::TaskHooks& hooks = MasterTimer::Hooks();
    hooks.manualStatus = [] { General::UpdateManualControlStatus(); };
    hooks.manualSliders = [] { General::UpdateManualControlSliders(); };
}

namespace General {

void UpdateManualControlStatus() {
    if (frmManualControl* window = OpenManualControl()) UpdateManualControlStatus(*window);
}

void UpdateManualControlSliders() {
    if (frmManualControl* window = OpenManualControl()) UpdateManualControlSliders(*window);
}

void UpdateManualControlStatus(frmManualControl& window) {
    for (int i = 0; i < 3; ++i) {
        const bool manual = ManualMode[i];
        window.lblManual[i]->setText(manual ? "Enabled" : "Disabled");
        SetTextColour(*window.lblManual[i], manual ? QColor(0, 127, 0) : QColor(255, 0, 0));
        window.sldManual[i]->setEnabled(manual);
    }
}

void UpdateManualControlSliders(frmManualControl& window) {
    for (int i = 0; i < 3; ++i) window.sldManual[i]->SetValue(std::min<int>(PwmDuty[i], 100));
}

}  // namespace General
