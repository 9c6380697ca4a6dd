#pragma once
// Records a signal's emissions with their arguments, for tests that build without the Qt test
// library.

#include <QObject>
#include <tuple>
#include <vector>

template <typename... Args>
struct SignalLog {
    std::vector<std::tuple<Args...>> calls;

    template <typename Sender, typename Signal>
    SignalLog(Sender* sender, Signal signal) {
        QObject::connect(sender, signal, [this](Args... args) { calls.emplace_back(args...); });
    }
    int count() const { return int(calls.size()); }
};
