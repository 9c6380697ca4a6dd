#pragma once
// A user whose regional settings write 2,5 for two and a half. Qt hands the C library the
// user's locale at start-up; this does the same for the life of the object, so that a test
// sees every number formatted or parsed as such a user's program would.

#include <clocale>
#include <cstring>
#include <string>

class DecimalCommaLocale {
  public:
    // Why a test skips where no such locale exists.
    static constexpr const char* kMissing =
        "no locale with a decimal comma (de_DE.UTF-8) on this machine; scripts/setup.sh makes "
        "one with localedef where it can install packages";

    DecimalCommaLocale() {
        const char* previous = std::setlocale(LC_ALL, nullptr);
        previous_ = previous ? previous : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (!std::setlocale(LC_ALL, name)) continue;
            if (std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
                active_ = true;
                return;
            }
        }
        std::setlocale(LC_ALL, previous_.c_str());
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool Active() const { return active_; }

  private:
    std::string previous_;
    bool active_ = false;
};
