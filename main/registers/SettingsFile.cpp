#include "main/registers/SettingsFile.h"

#include <cstdio>

#include "main/registers/RegisterTable.h"

namespace RegMapStuff {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A hex field starting at the "x" at `at`: one or two hex digits right behind it. Returns the
// value and moves `at` past the two characters the field occupies, or -1 when no digit follows.
int ReadField(std::string_view line, size_t& at) {
    int value = 0;
    int digits = 0;
    size_t i = at + 1;
    for (; i < line.size() && i < at + 3; ++i) {
        const int digit = HexDigit(line[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
        ++digits;
    }
    at += 3;
    return digits > 0 ? value : -1;
}

// The address and value of a list line: the first "x" opens the address field and the next
// "x" after that field opens the value field. Anything else leaves the line without a write,
// rather than guessing at a register.
bool ParseListLine(std::string_view line, int& address, int& value) {
    size_t at = line.find('x');
    if (at == std::string_view::npos) return false;
    address = ReadField(line, at);
    if (address < 0 || at >= line.size()) return false;
    at = line.find('x', at);
    if (at == std::string_view::npos) return false;
    value = ReadField(line, at);
    return value >= 0;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Moves `at` past the line end at `at` (CR, LF or CR LF).
void SkipLineEnd(std::string_view text, size_t& at) {
    if (at >= text.size()) return;
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    ++at;
}

}  // namespace

std::string FormatHex(int32_t n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(n));
    return std::string("0x") + digits;
}

std::string CommentLineText(std::string_view comment) {
    std::string text(comment);
    for (char& c : text)
        if (IsLineEnd(c)) c = ' ';
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string SettingsHeader(std::string_view dateText, std::string_view timeText,
                           std::string_view comment) {
    std::string text;
    text += "Halvern Inc.";
    text += kLineEnd;
    text += "Quorvex Evaluation Software";
    text += kLineEnd;
    text += kLineEnd;
    text += "Saved: ";
    text += dateText;
    text += " at ";
    text += timeText;
    text += kLineEnd;
    text += kLineEnd;
    text += "Comment : ";
    text += CommentLineText(comment);
    text += kLineEnd;
    text += kLineEnd;
    return text;
}

std::string SettingsRegisterList(bool onlyDiffering,
                                 const std::function<int(int32_t address)>& readRegister) {
    std::string text = "Address\tData\tRegister";
    text += kLineEnd;
    text += "{";
    text += kLineEnd;
    for (const RegisterInfo& info : RegisterTable) {
        if (info.ReadOnly || info.IsAlias) continue;
        const int value = readRegister(info.Address);
        if (onlyDiffering && value == info.DefaultValue) continue;
        text += FormatHex(info.Address);
        text += '\t';
        text += FormatHex(value);
        text += "\t // ";
        text += info.Description;
        text += kLineEnd;
    }
    text += "}";
    return text;
}

SettingsContent ParseSettings(std::string_view text) {
    SettingsContent content;
    const size_t brace = text.find('{');
    if (brace == std::string_view::npos) return content;
    content.listFound = true;

    // Line indices count every line of the text, the "{" line among them.
    int line = 0;
    size_t at = 0;
    auto nextLineEnd = [&text](size_t from) {
        size_t end = from;
        while (end < text.size() && !IsLineEnd(text[end])) ++end;
        return end;
    };
    // Pass over the lines before the "{" line and the rest of the "{" line itself.
    for (;;) {
        const size_t end = nextLineEnd(at);
        const bool holdsBrace = brace < end;
        at = end;
        SkipLineEnd(text, at);
        ++line;
        if (holdsBrace) break;
    }
    while (at < text.size()) {
        const size_t end = nextLineEnd(at);
        const std::string_view current = text.substr(at, end - at);
        at = end;
        SkipLineEnd(text, at);
        const int index = line++;
        if (current.empty()) continue;
        if (current.front() == '}') {
            content.listClosed = true;
            break;
        }
        int address = 0;
        int value = 0;
        if (ParseListLine(current, address, value))
            content.writes.push_back({index, address, value});
    }
    return content;
}

}  // namespace RegMapStuff
