#include "platform/chipsim/Bus.h"

namespace chipsim {

Chip& Bus::Add(int address8, bool staticMode) {
    // The address staggers each chip's drift so two chips do not read alike.
    auto chip = std::make_unique<Chip>(staticMode, (address8 & 0xFF) / 2.0);
    Chip& ref = *chip;
    chips_[address8] = std::move(chip);
    return ref;
}

void Bus::RemoveAll() { chips_.clear(); }

Chip* Bus::At(int address8) {
    const auto it = chips_.find(address8);
    return it == chips_.end() ? nullptr : it->second.get();
}

const Chip* Bus::At(int address8) const {
    const auto it = chips_.find(address8);
    return it == chips_.end() ? nullptr : it->second.get();
}

std::vector<int> Bus::Addresses() const {
    std::vector<int> addresses;
    for (const auto& [address, chip] : chips_) addresses.push_back(address);
    return addresses;
}

uint8_t Bus::Read(int address8, int reg) {
    Chip* chip = At(address8);
    return chip ? chip->Read(reg) : kNoAnswer;
}

bool Bus::Write(int address8, int reg, uint8_t value) {
    Chip* chip = At(address8);
    if (!chip) return false;
    chip->Write(reg, value);
    return true;
}

}  // namespace chipsim
