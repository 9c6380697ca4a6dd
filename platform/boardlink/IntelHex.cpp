#include "platform/boardlink/IntelHex.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace boardlink {

namespace {

constexpr int kEndOfFile = 1;
constexpr int kHighestType = 5;
constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The bytes of one record line (without its ':'), or empty when it is not hex pairs.
std::vector<int> RecordBytes(const std::string& digits) {
    std::vector<int> bytes;
    if (digits.size() % 2 != 0) return {};
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int high = HexDigit(digits[i]);
        const int low = HexDigit(digits[i + 1]);
        if (high < 0 || low < 0) return {};
        bytes.push_back(high * 16 + low);
    }
    return bytes;
}

}  // namespace

bool IsWellFormedIntelHex(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    bool ended = false;
    while (std::getline(lines, line)) {
        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        if (line.empty()) continue;
        if (ended || line[0] != ':') return false;  // nothing may follow the end record
        const std::vector<int> bytes = RecordBytes(line.substr(1));
        // Length, two address bytes, type, checksum at the least.
        if (bytes.size() < 5 || bytes[0] + 5u != bytes.size()) return false;
        int sum = 0;
        for (int b : bytes) sum += b;
        if (sum % 256 != 0) return false;
        const int type = bytes[3];
        if (type > kHighestType) return false;
        if (type == kEndOfFile) {
            if (bytes[0] != 0) return false;
            ended = true;
        }
    }
    return ended;
}

bool IsWellFormedIntelHexFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream text;
    text << file.rdbuf();
    const std::string content = text.str();
    if (content.size() > kMaxFileSize) return false;
    return IsWellFormedIntelHex(content);
}

}  // namespace boardlink
