#include "main/registers/ConfigRegisters.h"

#include <algorithm>

#include "main/DeviceLink.h"
#include "main/Numbers.h"

namespace RegMapStuff {

int32_t WithBits(int32_t value, int32_t mask, bool set) {
    return (set ? (value | mask) : (value & ~mask)) & 0xFF;
}

bool BitsSet(int32_t value, int32_t mask) { return (value & mask) != 0; }

int IndexOfText(std::span<const std::string_view> items, std::string_view text) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

int32_t Pin14Field(std::string_view text) {
    // "Reserved" is never compared: anything that is not one of the three functions codes 3.
    const int index = IndexOfText(std::span(kPin14Items).first(3), text);
    return index < 0 ? 3 : index;
}

void WriteRegisterBits(int32_t reg, int32_t mask, bool set) {
    const int32_t value = USBStuff::ReadRegister(USBStuff::DeviceAddress, reg);
    USBStuff::WriteRegister(USBStuff::DeviceAddress, reg, WithBits(value, mask, set));
}

int32_t SignedByte(int32_t byte) {
    byte &= 0xFF;
    return byte > 127 ? byte - 256 : byte;
}

int32_t SignedByteOfText(std::string_view text) {
    const auto number =
        static_cast<int32_t>(Numbers::Saturate(Numbers::TypedWholeNumber(text), -128, 127));
    return number < 0 ? number + 256 : number;
}

int32_t NibbleOfText(std::string_view text) {
    return static_cast<int32_t>(Numbers::Saturate(Numbers::TypedWholeNumber(text), 0, 15));
}

int32_t PeciAveragingRegister(int32_t read, int averagingIndex, bool cpu1TwoDomains) {
    int32_t value = read & 0xFF;
    if (averagingIndex >= 0) value = (value & 0xF8) | (averagingIndex & 0x07);
    return WithBits(value, 0x08, cpu1TwoDomains);
}

int32_t PeciCpuRegister(int32_t read, int cpuCountIndex, const std::array<bool, 3>& twoDomains) {
    int32_t value = read & 0xFF;
    if (cpuCountIndex >= 0) value = (value & 0x3F) | ((cpuCountIndex & 0x03) << 6);
    value = WithBits(value, 0x20, twoDomains[0]);
    value = WithBits(value, 0x10, twoDomains[1]);
    return WithBits(value, 0x08, twoDomains[2]);
}

int32_t PeciTrangeRegister(int32_t read, int trangeIndex) {
    if (trangeIndex < 0) return read & 0xFF;
    return ((trangeIndex & 0x0F) << 4) | (read & 0x0F);
}

int32_t PeciHysteresisRegister(int32_t read, int32_t nibble) {
    return (read & 0xF0) | std::clamp(nibble, 0, 15);
}

}  // namespace RegMapStuff
