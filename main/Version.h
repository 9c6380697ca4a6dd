#pragma once
// The program's version, major.minor.revision, from the build.

#include <string>

#ifndef QUORVEX_VERSION_MAJOR
#define QUORVEX_VERSION_MAJOR 1
#define QUORVEX_VERSION_MINOR 0
#define QUORVEX_VERSION_PATCH 4
#endif

// `prefix` followed by "major.minor.revision", each in decimal without leading zero or blank.
inline std::string QuorvexVersionText(const std::string& prefix) {
    return prefix + std::to_string(QUORVEX_VERSION_MAJOR) + "." + std::to_string(QUORVEX_VERSION_MINOR) +
           "." + std::to_string(QUORVEX_VERSION_PATCH);
}
