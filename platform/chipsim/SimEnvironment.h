#pragma once
// The settings of the two outside-library stand-ins, read from QUORVEX_SIM_* environment
// variables at their first call (the program itself reads none): which bus addresses hold a
// simulated chip, whether the board is attached, a static chip, a call log and injected faults.

#include <optional>
#include <string>
#include <vector>

namespace chipsim {

struct SimEnvironment {
    static constexpr int kDefaultChip = 0x5C;

    std::vector<int> smbusChips{kDefaultChip};  // 8-bit addresses
    std::vector<int> usbChips{kDefaultChip};
    bool boardAttached = true;
    bool staticChips = false;
    std::string logPath;             // empty: no log
    std::optional<int> failRequest;  // every request with this code fails
    long failAfter = 0;              // the n-th request and all later ones fail; 0: never

    static SimEnvironment FromProcess();

    // "5C,5E" (hex, optionally 0x-prefixed, separated by commas, semicolons or blanks).
    // Entries that are not an even address 0x00..0xFE are skipped.
    static std::vector<int> ParseAddresses(const std::string& text);
};

}  // namespace chipsim
