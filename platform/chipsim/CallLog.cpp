#include "platform/chipsim/CallLog.h"

#include <cstdio>
#include <mutex>

namespace chipsim {

namespace {
std::mutex& LogMutex() {
    static std::mutex mutex;
    return mutex;
}
}  // namespace

void CallLog::Append(const std::string& line) const {
    if (path_.empty()) return;
    std::lock_guard<std::mutex> lock(LogMutex());
    if (std::FILE* file = std::fopen(path_.c_str(), "a")) {
        std::fputs(line.c_str(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

std::string CallLog::Hex(long value) {
    char text[24];
    if (value < 0) {
        std::snprintf(text, sizeof text, "-0x%lX", -value);
    } else {
        std::snprintf(text, sizeof text, "0x%lX", value);
    }
    return text;
}

std::string CallLog::Bytes(const uint8_t* bytes, int count) {
    std::string text;
    for (int i = 0; bytes && i < count; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        if (i) text += ' ';
        text += hex;
    }
    return text;
}

}  // namespace chipsim
