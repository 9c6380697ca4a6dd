#pragma once
// A bus of simulated chips, keyed by 8-bit bus address (0x20 to 0x60, even). Where no chip
// answers, a read gives 0xFF, as an undriven SMBus data line reads, and a write goes nowhere.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/chipsim/Chip.h"

namespace chipsim {

class Bus {
  public:
    static constexpr uint8_t kNoAnswer = 0xFF;

    // Adds a chip (replacing one already there) and returns it.
    Chip& Add(int address8, bool staticMode = false);
    void RemoveAll();
    // The chip at this 8-bit address, or nullptr.
    Chip* At(int address8);
    const Chip* At(int address8) const;
    std::vector<int> Addresses() const;

    uint8_t Read(int address8, int reg);
    // False when no chip answers.
    bool Write(int address8, int reg, uint8_t value);

  private:
    std::map<int, std::unique_ptr<Chip>> chips_;
};

}  // namespace chipsim
