#pragma once
// The data log's channel table and the text of its CSV file: the title block and header
// written at each start, and one line per interval. Lines are returned without their line end;
// the file uses CR LF.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace General {

inline constexpr int kLogChannelCount = 45;
inline constexpr int kLogValueRow = 0;      // the channel's current value
inline constexpr int kLogAvailableRow = 1;  // 1.0 when the channel can be logged
inline constexpr int kLogSelectedRow = 2;   // 1.0 when it was ticked at the start
// Rows by channel; nothing in this program feeds the value and availability rows yet.
extern std::array<std::array<float, kLogChannelCount>, 3> LogChannel;

// The column name of a channel, also the caption of its check box.
const char* LogChannelCaption(int channel);

// "Time ," and, for each selected channel in index order, its caption and " ,".
std::string BuildLogHeader();
// The elapsed time, ",", then each selected channel's value and " ,".
std::string BuildLogLine();
// What a start appends before the header: an empty line, the title line, an empty line.
std::string LogTitleBlock();

// The time column for LogSampleCount x LogIntervalMs milliseconds: seconds with up to three
// decimals, no trailing zeros and no zero before the point (0, .2, 1.5). Exact for any count
// and interval a run can reach.
std::string LogTimeText(int64_t milliseconds);

// The interval typed at the start: its numeric prefix rounded half to even. Nothing when it is
// negative or too large for the interval.
std::optional<int32_t> LogIntervalFromText(std::string_view text);

// Appends `text` to the file, opened and closed for the call. False when it cannot be opened
// or written.
bool AppendToLogFile(const std::string& fileName, const std::string& text);

}  // namespace General
