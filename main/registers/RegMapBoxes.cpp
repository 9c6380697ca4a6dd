#include "main/registers/RegMapBoxes.h"

#include <cstdint>
#include <limits>

#include "main/Numbers.h"

namespace RegMapStuff {

int64_t HexBoxNumber(std::string_view text) { return Numbers::HexPrefix(text); }

int64_t DecBoxNumber(std::string_view text) {
    return Numbers::Saturate(Numbers::TypedWholeNumber(text), std::numeric_limits<int32_t>::min(),
                             std::numeric_limits<int32_t>::max());
}

std::string HexTextOfDecBox(std::string_view decText) {
    const int64_t value = DecBoxNumber(decText);
    return value < 0 ? "-" + Numbers::Hex(-value) : Numbers::Hex(value);
}

std::string DecTextOfHexBox(std::string_view hexText) {
    return std::to_string(HexBoxNumber(hexText));
}

bool IsDeviceAddress(int64_t address) { return address >= 1 && address <= 255; }

bool IsRegisterAddress(int64_t reg) { return reg >= 0 && reg <= 255; }

std::optional<int32_t> ByteToWrite(int64_t value) {
    if (value < 0) return std::nullopt;
    return static_cast<int32_t>(value > 255 ? 255 : value);
}

}  // namespace RegMapStuff
