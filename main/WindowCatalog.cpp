// Every child window kind of the program, registered with its module. One line per window
// module; each module's Register function also installs its master timer hooks.

#include "main/Windows.h"
#include "main/board/BoardWindows.h"
#include "main/registers/ConfigurationWindows.h"
#include "main/fancontrol/AutoFanWindows.h"
#include "main/fancontrol/ManualFanWindows.h"
#include "main/monitoring/MonitoringWindows.h"
#include "main/registers/RegisterMapWindows.h"

namespace Windows {

void RegisterAllWindows() {
    RegisterConfigurationWindows();
    RegisterAutoFanWindows();
    RegisterBoardWindows();
    RegisterManualFanWindows();
    RegisterMonitoringWindows();
    RegisterRegisterMapWindows();
}

}  // namespace Windows
