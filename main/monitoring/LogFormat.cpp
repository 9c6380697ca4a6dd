#include "main/monitoring/LogFormat.h"

#include <QFile>
#include <cmath>
#include <limits>

#include "main/Numbers.h"
#include "main/SharedState.h"

namespace General {

std::array<std::array<float, kLogChannelCount>, 3> LogChannel{};

namespace {

constexpr const char* kCaptions[kLogChannelCount] = {
    "Local Temp",
    "Remote1 Temp",
    "Remote2 Temp",
    "Remote3 Temp",
    "Tach1",
    "Tach2",
    "Tach3",
    "Tach4",
    "Tach5",
    "Tach6",
    "Tach7",
    "Tach8",
    "PWM1%",
    "PWM2%",
    "PWM3%",
    "PWM4%",
    "12V1",
    "12V2",
    "3.3V-Pin13",
    "2.5V-Pin15",
    "1.8V-Pin15",
    "1.25V-Pin20",
    "0.9V-Pin20",
    "5V",
    "12V3",
    "Vccp1",
    "1.5V-Pin23",
    "1.8-Pin23",
    "2.5V-Pin23",
    "Vccp2",
    "1.5V-Pin24",
    "1.8V-Pin24",
    "2.5V-Pin24",
    "1.2V-Pin25",
    "3.3V-Pin25",
    "1.2V-Pin26",
    "VBatt",
    "1.5V2",
    "1.5V1",
    "Local Tmin",
    "Remote1 Tmin",
    "Remote2 Tmin",
    "Remote3 Tmin",
    "Remote1 Op-Point",
    "Remote2 Op-Point",
};

bool Selected(int channel) { return LogChannel[kLogSelectedRow][channel] == 1.0f; }

}  // namespace

const char* LogChannelCaption(int channel) {
    return channel >= 0 && channel < kLogChannelCount ? kCaptions[channel] : "";
}

std::string BuildLogHeader() {
    std::string header = "Time ,";
    for (int i = 0; i < kLogChannelCount; ++i)
        if (Selected(i)) header += std::string(kCaptions[i]) + " ,";
    return header;
}

std::string BuildLogLine() {
    std::string line =
        LogTimeText(static_cast<int64_t>(LogSampleCount) * static_cast<int64_t>(LogIntervalMs)) +
        ",";
    for (int i = 0; i < kLogChannelCount; ++i)
        if (Selected(i)) line += Numbers::CaptionNumber(LogChannel[kLogValueRow][i], false) + " ,";
    return line;
}

std::string LogTitleBlock() { return "\r\nQuorvex Log File\r\n\r\n"; }

std::string LogTimeText(int64_t milliseconds) {
    const bool negative = milliseconds < 0;
    // Magnitude in unsigned arithmetic, so even the most negative count has one.
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(milliseconds) : static_cast<uint64_t>(milliseconds);
    const uint64_t whole = magnitude / 1000;
    std::string fraction = std::to_string(magnitude % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string text = negative ? "-" : "";
    if (whole != 0 || fraction.empty()) text += std::to_string(whole);
    if (!fraction.empty()) text += "." + fraction;
    return text;
}

std::optional<int32_t> LogIntervalFromText(std::string_view text) {
    const double interval = Numbers::TypedWholeNumber(text);
    if (!(interval >= 0) || interval > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(interval);
}

bool AppendToLogFile(const std::string& fileName, const std::string& text) {
    if (fileName.empty()) return false;
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::Append)) return false;
    const auto size = static_cast<qint64>(text.size());
    const bool written = file.write(text.data(), size) == size;
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace General
