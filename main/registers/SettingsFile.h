#pragma once
// The register settings file ("*.sav"): plain 8-bit text, CR LF line ends, a fixed header, a
// "{" line, one line per register ("0x40<TAB>0x05<TAB> // Configuration 1") and a "}" line.
// Writing and reading live here, free of any window or toolkit, so that the tests and the
// fuzzer reach them directly.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace RegMapStuff {

// "0x" and at least two upper-case hex digits: 5 -> "0x05", 255 -> "0xFF", 256 -> "0x100".
std::string FormatHex(int32_t n);

// The comment as line 6 holds it: CR and LF become blanks (so a comment can never start a
// line of its own, let alone a register line), then leading and trailing blanks go.
std::string CommentLineText(std::string_view comment);

// Lines 1 to 7, each ending in CR LF, with the date and time already turned into text.
std::string SettingsHeader(std::string_view dateText, std::string_view timeText,
                           std::string_view comment);

// Line 8, the "{" line, one line per saved register and the "}" line, which carries no line
// end of its own (the file write adds it). Every writable, non-alias record of RegisterTable
// is read through `readRegister`, in table order, also those whose line is left out because
// `onlyDiffering` is set and the value equals the default.
std::string SettingsRegisterList(bool onlyDiffering,
                                 const std::function<int(int32_t address)>& readRegister);

// One register write that a settings file asks for.
struct SettingsWrite {
    int line = 0;  // index of the line it came from, counting lines as ParseSettings splits them
    int address = 0;
    int value = 0;
};

struct SettingsContent {
    bool listFound = false;             // a "{" was there; nothing is written without one
    bool listClosed = false;            // a line beginning with "}" ended the list
    std::vector<SettingsWrite> writes;  // in file order
};

// Reads a settings file. Everything up to the first "{" and the rest of its line is passed
// over. After it the text is taken a line at a time (a line ends at CR, LF or CR LF); an empty
// line is skipped; a line whose first character is "}" ends the list; any other line gives one
// write when it holds two hex fields, each an "x" followed by one or two hex digits (any case),
// the address field first; a line without them gives none. The rest of a line after the data
// field is ignored. Both fields come from the same line, whatever the line holds.
SettingsContent ParseSettings(std::string_view text);

}  // namespace RegMapStuff
