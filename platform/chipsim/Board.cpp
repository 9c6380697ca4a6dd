#include "platform/chipsim/Board.h"

#include <algorithm>
#include <cmath>

namespace chipsim {

namespace {

constexpr int16_t kRead = 1;
constexpr int16_t kWrite = 0;
constexpr int kHeaterStatusLength = 3;
constexpr int kSensorLength = 2;

// Copies at most `count` bytes of `bytes` into the caller's buffer.
void Give(unsigned char* buffer, int16_t count, const uint8_t* bytes, int length) {
    if (!buffer) return;
    std::copy_n(bytes, std::min<int>(count, length), buffer);
}

}  // namespace

int16_t Board::Request(int16_t request, int32_t value, int32_t index, int16_t direction,
                       int16_t count, unsigned char* buffer) {
    if (direction != kRead && direction != kWrite) return kBadRequest;
    if (count < 0 || count > kMaxTransfer) return kBadArgument;
    if (count > 0 && !buffer) return kBadArgument;
    switch (static_cast<uint16_t>(request)) {
        case 0xDA:
            return HeaterRequest(value, index, direction, count, buffer);
        case 0xDB:
            return SensorOrCommand(direction, count, buffer);
        case 0xDC:
            return BlockRead(value, index, direction, count, buffer);
        case 0xDD:
            return ControlRequest(value, index, direction, count, buffer);
        case 0xDE:
            return RegisterRequest(value, index, direction, count, buffer);
        case 0xDF:
            return PortRequest(value, index, direction, count, buffer);
        default:
            return kBadRequest;
    }
}

int16_t Board::RegisterRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                               unsigned char* buffer) {
    if (value < 0 || value > 0xFF) return kBadArgument;
    if (direction == kRead) {
        if (index < 0 || index > 0xFF) return kBadArgument;
        const uint8_t byte = bus_.Read(value, index);
        Give(buffer, count, &byte, 1);
        return kOk;
    }
    // A write carries the value in the high byte of the index: value x 256 + register.
    if (index < 0 || index > 0xFFFF) return kBadArgument;
    bus_.Write(value, index & 0xFF, static_cast<uint8_t>(index >> 8));
    return kOk;
}

int16_t Board::BlockRead(int32_t value, int32_t index, int16_t direction, int16_t count,
                         unsigned char* buffer) {
    if (direction != kRead) return kBadRequest;
    if (value < 0 || value > 0xFF || index < 0 || index + count > 0x100) return kBadArgument;
    for (int i = 0; i < count; ++i) buffer[i] = bus_.Read(value, index + i);
    return kOk;
}

int16_t Board::HeaterRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                             unsigned char* buffer) {
    if (direction == kRead) {
        // Heater powers in half-percent steps, then a byte of heater flags.
        const uint8_t status[kHeaterStatusLength] = {
            static_cast<uint8_t>(heaters_[0] * 2), static_cast<uint8_t>(heaters_[1] * 2),
            static_cast<uint8_t>((heaters_[0] > 0 ? 1 : 0) | (heaters_[1] > 0 ? 2 : 0))};
        Give(buffer, count, status, kHeaterStatusLength);
        return kOk;
    }
    if (value < 1 || value > 2 || index < 0 || index > 100) return kBadArgument;
    SetHeaterPower(value, index);
    return kOk;
}

void Board::SetHeaterPower(int heater, int percent) {
    if (heater < 1 || heater > 2) return;
    heaters_[heater - 1] = std::clamp(percent, 0, 100);
    for (int address : bus_.Addresses()) bus_.At(address)->SetHeaterPower(heater, percent);
}

int Board::HeaterPower(int heater) const {
    return heater >= 1 && heater <= 2 ? heaters_[heater - 1] : 0;
}

int Board::Port(int port) const {
    if (port == kPortSwitchBank1) return ports_[0];
    if (port == kPortSwitchBank0) return ports_[1];
    return -1;
}

int16_t Board::PortRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                           unsigned char* buffer) {
    if (value != kPortSwitchBank0 && value != kPortSwitchBank1) return kBadArgument;
    uint8_t& latch = ports_[value == kPortSwitchBank1 ? 0 : 1];
    if (direction == kRead) {
        Give(buffer, count, &latch, 1);
        return kOk;
    }
    if (index < 0 || index > 0xFF) return kBadArgument;
    latch = static_cast<uint8_t>(index);
    return kOk;
}

double Board::BoardTemperature() const {
    // The heaters sit near the sensor and warm it a little.
    return boardTemperature_ + (heaters_[0] + heaters_[1]) * 0.05;
}

int16_t Board::SensorOrCommand(int16_t direction, int16_t count, unsigned char* buffer) {
    if (direction == kWrite) {
        command_.assign(buffer, buffer + count);
        return kOk;
    }
    if (count == kSensorLength) {
        // The program reads (byte 0 x 256 + byte 1) / 32 - 60 degrees.
        const int raw =
            std::clamp(static_cast<int>(std::lround((BoardTemperature() + 60) * 32)), 0, 0xFFFF);
        const uint8_t bytes[kSensorLength] = {static_cast<uint8_t>(raw >> 8),
                                              static_cast<uint8_t>(raw & 0xFF)};
        Give(buffer, count, bytes, kSensorLength);
        return kOk;
    }
    // The reply to a board command: the command echoed, the rest zero.
    std::vector<uint8_t> reply(kMaxTransfer, 0);
    std::copy(command_.begin(), command_.end(), reply.begin());
    Give(buffer, count, reply.data(), kMaxTransfer);
    return kOk;
}

int16_t Board::ControlRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                              unsigned char* buffer) {
    if (direction == kWrite) {
        controlValue_ = value;
        controlIndex_ = index;
        return kOk;
    }
    const uint8_t bytes[4] = {static_cast<uint8_t>(controlValue_ & 0xFF),
                              static_cast<uint8_t>((controlValue_ >> 8) & 0xFF),
                              static_cast<uint8_t>(controlIndex_ & 0xFF),
                              static_cast<uint8_t>((controlIndex_ >> 8) & 0xFF)};
    Give(buffer, count, bytes, 4);
    return kOk;
}

}  // namespace chipsim
