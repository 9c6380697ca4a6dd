#pragma once
// A run-time error in the sense of the program's failure rules: raised where an outside
// library cannot be loaded or lacks a function, trapped only where a procedure says so
// (start-up skips the step, the toolbar ignores it, saving and recalling end silently).
// Anywhere else it reaches the event loop and ends the program with its message.

#include <stdexcept>
#include <string>

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }
    std::string Description() const { return what(); }

    static constexpr int kFileNotFound = 53;
    static constexpr int kEntryPointNotFound = 453;

private:
    int number_;
};
