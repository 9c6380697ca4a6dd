#include "main/MasterTimer.h"

#include <QFile>
#include <QDateTime>
#include <string>

#include "main/LocalTime.h"
#include "main/Numbers.h"
#include "main/SharedState.h"
#include "main/monitoring/Measurements.h"

namespace MasterTimer {

namespace {

std::function<float()>& Clock() {
    static std::function<float()> clock;
    return clock;
}

// Appends one line to the log file, opened and closed for the line.
bool AppendLogLine(const std::string& line) {
    QFile file(QString::fromStdString(General::LogFileName));
    if (!file.open(QIODevice::Append)) return false;
    const std::string text = line + "\r\n";
    const bool written = file.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size());
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace

float TimeOfDay() {
    if (Clock()) return Clock()();
    return static_cast<float>(LocalTime::MsOfDay(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}

void SetClock(std::function<float()> clock) { Clock() = std::move(clock); }

bool IsDue(float now, double stamp, double periodSeconds) {
    const float limit = static_cast<float>(stamp + periodSeconds);
    const float storedStamp = static_cast<float>(stamp);
    return !(storedStamp <= now && now <= limit);
}

TaskHooks& Hooks() {
    static TaskHooks hooks;
    return hooks;
}

bool Tasks::RunIfDue(int task, double periodSeconds, const std::function<void()>& action) {
    double& stamp = stamps_[task - 1];
    if (!IsDue(TimeOfDay(), stamp, periodSeconds)) return false;
    if (action) action();
    stamp = TimeOfDay();
    return true;
}

void Tasks::Tick() {
    using namespace General;
    TaskHooks& hooks = Hooks();
    if (ReadingEnabled)
        RunIfDue(1, ReadIntervalMs / 1000.0, [this] {
            ReadMeasurements(static_cast<int16_t>(readStep_ + 1));
            readStep_ = static_cast<int16_t>(readStep_ + 1);
            if (readStep_ > 6) readStep_ = 0;
        });
    if (GraphOpen) RunIfDue(2, GraphIntervalMs / 1000.0, hooks.updateGraphs);
    // The check box is read on every tick; the stamp moves only when the read ran.
    if (RegMapOpen && hooks.regMapContinuousTicked && hooks.regMapContinuousTicked())
        RunIfDue(3, 1.0, hooks.regMapRead);
    if (HeatersOpen) RunIfDue(4, 1.0, hooks.heaterLabels);
    if (LimitsOpen) RunIfDue(5, 0.5, hooks.showLimits);
    if (ManualOpen)
        RunIfDue(6, 1.0, [&hooks] {
            if (hooks.manualStatus) hooks.manualStatus();
            if (!ManualSliderBusy && hooks.manualSliders) hooks.manualSliders();
        });
    if (AutoGraphOpen) RunIfDue(7, 0.3, hooks.autoGraphPlot);
    if (DynTminOpen) RunIfDue(8, 0.1, hooks.dynTminGraph);
    if (LoggingActive)
        RunIfDue(9, LogIntervalMs / 1000.0, [&hooks] {
            const std::string line = hooks.buildLogLine ? hooks.buildLogLine() : std::string();
            if (!AppendLogLine(line)) {
                if (hooks.logWriteFailed) hooks.logWriteFailed();
                return;
            }
            ++LogSampleCount;
        });
}

std::string HeaterLabelText(const char* name, float value) {
    return std::string(name) + " = " + Numbers::ShortestText(value) + "\u00B0C";
}

}  // namespace MasterTimer
