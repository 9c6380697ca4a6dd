#include "main/registers/ConfigurationWindows.h"

#include "main/Windows.h"
#include "main/registers/frmGenConfig.h"
#include "main/registers/frmPECI.h"
#include "main/registers/frmTherm.h"
#include "main/registers/frmVoltConfig.h"

void RegisterConfigurationWindows() {
    Windows::Register(Windows::Kind::GenConfig, [] { return new frmGenConfig; });
    Windows::Register(Windows::Kind::VoltConfig, [] { return new frmVoltConfig; });
    Windows::Register(Windows::Kind::Therm, [] { return new frmTherm; });
    Windows::Register(Windows::Kind::PECI, [] { return new frmPECI; });
}
