// Fuzz entry for the settings file reader: whatever the bytes, no crash, and every write it
// asks for must stand, whole, on a list line of its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "main/registers/SettingsFile.h"

namespace {

// The text's lines, split as the reader splits them: at CR, LF or CR LF.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        lines.push_back(text.substr(at, end - at));
        at = end;
        if (at < text.size() && text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        if (at < text.size()) ++at;
    }
    return lines;
}

int Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// True when an "x" of the line starting at or after `from` is followed by digits that read
// `value`; moves `from` past that field.
bool HasField(std::string_view line, size_t& from, int value) {
    for (size_t x = line.find('x', from); x != std::string_view::npos; x = line.find('x', x + 1)) {
        int read = 0, digits = 0;
        for (size_t i = x + 1; i < line.size() && i < x + 3 && Digit(line[i]) >= 0; ++i) {
            read = read * 16 + Digit(line[i]);
            ++digits;
        }
        if (digits > 0 && read == value) {
            from = x + 3;
            return true;
        }
    }
    return false;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RegMapStuff::SettingsContent content = RegMapStuff::ParseSettings(text);
    const bool hasBrace = text.find('{') != std::string_view::npos;
    Check(content.listFound == hasBrace);
    if (!hasBrace) Check(content.writes.empty() && !content.listClosed);

    // Read in pieces, as a recall reads a file, the text gives the same writes.
    RegMapStuff::SettingsReader reader;
    std::vector<RegMapStuff::SettingsWrite> pieceWrites;
    const size_t pieceSize = size == 0 ? 1 : 1 + data[0] % 7;
    for (size_t at = 0; at < size; at += pieceSize) {
        reader.Feed(text.substr(at, pieceSize));
        for (const auto& write : reader.TakeWrites()) pieceWrites.push_back(write);
    }
    Check(reader.ListFound() == content.listFound && reader.ListClosed() == content.listClosed);
    Check(pieceWrites.size() == content.writes.size());
    for (size_t i = 0; i < pieceWrites.size(); ++i)
        Check(pieceWrites[i].line == content.writes[i].line &&
              pieceWrites[i].address == content.writes[i].address &&
              pieceWrites[i].value == content.writes[i].value);

    const std::vector<std::string_view> lines = Lines(text);
    const bool lastLineCut = !text.empty() && text.back() != '\r' && text.back() != '\n';
    size_t braceLine = 0;
    while (hasBrace && braceLine < lines.size() &&
           lines[braceLine].find('{') == std::string_view::npos)
        ++braceLine;
    int previous = -1;
    for (const RegMapStuff::SettingsWrite& write : content.writes) {
        Check(write.address >= 0 && write.address <= 255);
        Check(write.value >= 0 && write.value <= 255);
        // One write per line, in file order, from a line after the "{" line.
        Check(write.line > previous);
        previous = write.line;
        Check(write.line >= 0 && static_cast<size_t>(write.line) < lines.size());
        Check(static_cast<size_t>(write.line) > braceLine);
        // A line the end of the text cut off before its line end is never written.
        Check(!(lastLineCut && static_cast<size_t>(write.line) + 1 == lines.size()));
        const std::string_view line = lines[write.line];
        Check(!line.empty() && line.front() != '}');
        // Both fields stand on that line, the address before the value.
        size_t from = 0;
        Check(HasField(line, from, write.address));
        Check(HasField(line, from, write.value));
    }
    // Nothing after the closing line.
    if (content.listClosed && !content.writes.empty()) {
        for (size_t i = braceLine + 1; i < static_cast<size_t>(content.writes.back().line); ++i)
            Check(lines[i].empty() || lines[i].front() != '}');
    }
    return 0;
}
