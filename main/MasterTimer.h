#pragma once
// The work of the main window's 50 ms tick: up to nine periodic tasks in a fixed order, each
// with its gate and its own period. A task is due when the time of day has passed its last run
// by more than its period, or has fallen below it (past midnight).

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace MasterTimer {

// Time of day in seconds since midnight, single precision; replaceable for tests.
float TimeOfDay();
void SetClock(std::function<float()> clock);

// Whether a task with this stamp and period is due at `now`.
bool IsDue(float now, double stamp, double periodSeconds);

// The actions of the tasks that windows bring; each window module installs its own when it
// registers. An action left empty does nothing.
struct TaskHooks {
    std::function<void()> updateGraphs;            // task 2
    std::function<bool()> regMapContinuousTicked;  // task 3 gate, with RegMapOpen
    std::function<void()> regMapRead;              // task 3
    std::function<void()> heaterLabels;            // task 4
    std::function<void()> showLimits;              // task 5
    std::function<void()> manualStatus;            // task 6
    std::function<void()> manualSliders;           // task 6, unless a slider is held
    std::function<void()> autoGraphPlot;           // task 7
    std::function<void()> dynTminGraph;            // task 8
    std::function<std::string()> buildLogLine;     // task 9: the text of one log line
    // Task 9's failure: the log line could not be written (the data log stops logging).
    std::function<void()> logWriteFailed;
};
TaskHooks& Hooks();

// The timer state of the main window: the round robin step and the nine stamps, all 0 when
// the window is created and never reset.
class Tasks {
public:
    void Tick();

    int16_t ReadStep() const { return readStep_; }
    double Stamp(int task) const { return stamps_[task - 1]; }

private:
    bool RunIfDue(int task, double periodSeconds, const std::function<void()>& action);

    int16_t readStep_ = 0;
    std::array<double, 9> stamps_{};
};

// The text of task 4's heater labels: "Remote1 = 23.25°C".
std::string HeaterLabelText(const char* name, float value);

}  // namespace MasterTimer
