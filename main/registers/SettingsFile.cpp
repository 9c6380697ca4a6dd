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

void SettingsReader::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        if (state_ == State::Closed) return;
        if (IsLineEnd(c)) {
            // CR LF is one line end, also when the two arrive in different pieces.
            const bool secondHalf = c == '\n' && afterCr_;
            afterCr_ = c == '\r';
            if (!secondHalf) EndLine();
            continue;
        }
        afterCr_ = false;
        if (state_ == State::BeforeBrace) {
            if (c == '{') state_ = State::BraceLine;
        } else if (state_ == State::List) {
            if (line_.empty() && !overlong_ && c == '}') {
                state_ = State::Closed;
                return;
            }
            if (overlong_) continue;
            if (line_.size() == kMaxLineLength) {
                overlong_ = true;
                line_.clear();
                line_.shrink_to_fit();
                continue;
            }
            line_ += c;
        }
    }
}

void SettingsReader::EndLine() {
    const int index = lineIndex_++;
    if (state_ == State::BraceLine) {
        state_ = State::List;
        return;
    }
    if (state_ != State::List) return;
    int address = 0;
    int value = 0;
    if (!overlong_ && !line_.empty() && ParseListLine(line_, address, value))
        writes_.push_back({index, address, value});
    line_.clear();
    overlong_ = false;
}

std::vector<SettingsWrite> SettingsReader::TakeWrites() {
    std::vector<SettingsWrite> taken;
    taken.swap(writes_);
    return taken;
}

SettingsContent ParseSettings(std::string_view text) {
    SettingsReader reader;
    reader.Feed(text);
    return {reader.ListFound(), reader.ListClosed(), reader.TakeWrites()};
}

}  // namespace RegMapStuff
