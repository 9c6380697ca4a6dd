#include "main/registers/RegisterMapWindows.h"

#include "main/MasterTimer.h"
#include "main/Windows.h"
#include "main/registers/frmRegMap.h"
#include "main/registers/frmSave.h"

void RegisterRegisterMapWindows() {
    Windows::Register(Windows::Kind::RegMap, [] { return new frmRegMap; });
    Windows::Register(Windows::Kind::Save, [] { return new frmSave; });
    MasterTimer::TaskHooks& hooks = MasterTimer::Hooks();
    hooks.regMapContinuousTicked = [] {
        const frmRegMap* window = Windows::FindAs<frmRegMap>(Windows::Kind::RegMap);
        return window && window->chkContRead->isChecked();
    };
    hooks.regMapRead = [] {
        if (frmRegMap* window = Windows::FindAs<frmRegMap>(Windows::Kind::RegMap))
            window->ContinuousRead();
    };
}
