#pragma once
// The fifteen exports of hwsense in ordinal order, from 1: the order of hwsense.def, which a
// Windows program bound by ordinal depends on.

#include <string>
#include <vector>

namespace HwsenseTest {

inline const std::vector<std::string> kExports = {
    "Initialise",       "Cleanup",          "Get_SuperioId",    "Get_SuperioSn",
    "Get_CPUTemp",      "Get_SYSTemp",      "Get_CPUFan_Speed", "Get_SYSFan_Speed",
    "Get_PWRFan_Speed", "Set_CPUFan_Speed", "Set_SYSFan_Speed", "Set_PWRFan_Speed",
    "Set_Low",          "Set_High",         "Set_Auto"};

}  // namespace HwsenseTest
