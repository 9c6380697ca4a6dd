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
    int line = 0;  // index of the line it came from, counting lines as the reader splits them
    int address = 0;
    int value = 0;
};

struct SettingsContent {
    bool listFound = false;             // a "{" was there; nothing is written without one
    bool listClosed = false;            // a line beginning with "}" ended the list
    std::vector<SettingsWrite> writes;  // in file order
};

// Reads a settings file as it arrives, a piece at a time, so that a file of any size costs no
// more memory than one line. Everything up to the first "{" and the rest of its line is passed
// over. After it the text is taken a line at a time; a line ends at CR, LF or CR LF, and a line
// that the end of the file cuts off before its line end gives nothing (a copy cut short must not
// write half a line). An empty line is skipped; a line whose first character is "}" ends the list
// and nothing after it is read; any other line gives one write when it holds two hex fields, each
// an "x" followed by one or two hex digits (any case), the address field first; a line without
// them, or longer than kMaxLineLength, gives none. The rest of a line after the data field is
// ignored. Both fields come from the same line, whatever the line holds.
class SettingsReader {
  public:
    // Far longer than any register line; a longer one is garbage and is not kept.
    static constexpr size_t kMaxLineLength = 4096;

    // The next piece of the file. Does nothing once the list has ended.
    void Feed(std::string_view bytes);
    bool ListFound() const { return state_ != State::BeforeBrace; }
    bool ListClosed() const { return state_ == State::Closed; }
    // The writes of the lines completed so far and not yet taken, in file order.
    std::vector<SettingsWrite> TakeWrites();

  private:
    enum class State { BeforeBrace, BraceLine, List, Closed };
    void EndLine();

    State state_ = State::BeforeBrace;
    std::string line_;       // the list line read so far
    bool overlong_ = false;  // the line has outgrown kMaxLineLength: garbage
    bool afterCr_ = false;   // the last character was a CR: an LF next belongs to its line end
    int lineIndex_ = 0;
    std::vector<SettingsWrite> writes_;
};

// The whole text at once (see SettingsReader).
SettingsContent ParseSettings(std::string_view text);

}  // namespace RegMapStuff
