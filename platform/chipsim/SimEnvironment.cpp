#include "platform/chipsim/SimEnvironment.h"

#include <cstdlib>

namespace chipsim {

namespace {

const char* Get(const char* name) { return std::getenv(name); }

bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }

// A whole-text hex number (optional 0x); nullopt for anything else.
std::optional<long> ParseHex(std::string text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text = text.substr(2);
    }
    if (text.empty() || text.size() > 6) return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 16);
    if (*end != '\0') return std::nullopt;
    return value;
}

}  // namespace

std::vector<int> SimEnvironment::ParseAddresses(const std::string& text) {
    std::vector<int> addresses;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSeparator(text[i])) ++i;
        size_t end = i;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        if (end > i) {
            const auto value = ParseHex(text.substr(i, end - i));
            if (value && *value >= 0 && *value <= 0xFE && *value % 2 == 0) {
                addresses.push_back(static_cast<int>(*value));
            }
        }
        i = end;
    }
    return addresses;
}

SimEnvironment SimEnvironment::FromProcess() {
    SimEnvironment env;
    if (const char* v = Get("QUORVEX_SIM_SMBUS_CHIPS")) env.smbusChips = ParseAddresses(v);
    if (const char* v = Get("QUORVEX_SIM_USB_CHIPS")) env.usbChips = ParseAddresses(v);
    if (const char* v = Get("QUORVEX_SIM_BOARD")) env.boardAttached = std::string(v) != "0";
    if (const char* v = Get("QUORVEX_SIM_STATIC")) env.staticChips = std::string(v) == "1";
    if (const char* v = Get("QUORVEX_SIM_LOG")) env.logPath = v;
    if (const char* v = Get("QUORVEX_SIM_FAIL_REQUEST")) {
        const auto request = ParseHex(v);
        if (request && *request <= 0xFFFF) env.failRequest = static_cast<int>(*request);
    }
    if (const char* v = Get("QUORVEX_SIM_FAIL_AFTER")) {
        char* end = nullptr;
        const long n = std::strtol(v, &end, 10);
        if (end != v && *end == '\0' && n > 0) env.failAfter = n;
    }
    return env;
}

}  // namespace chipsim
