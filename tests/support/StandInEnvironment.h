#pragma once
// What the tests of the two outside-library stand-ins share: a clean slate of the stand-ins'
// environment settings (they read them once, at their first call, so each forked child clears
// them before its first call) and reading back the call log they write.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace TestSupport {

inline void ClearSimEnvironment() {
    for (const char* name :
         {"QUORVEX_SIM_SMBUS_CHIPS", "QUORVEX_SIM_USB_CHIPS", "QUORVEX_SIM_BOARD",
          "QUORVEX_SIM_STATIC", "QUORVEX_SIM_LOG", "QUORVEX_SIM_FAIL_REQUEST",
          "QUORVEX_SIM_FAIL_AFTER", "QUORVEX_SMBUS_ADAPTER"}) {
        unsetenv(name);
    }
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace TestSupport
