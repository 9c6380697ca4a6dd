#pragma once
// The USB evaluation board: a bus of simulated chips behind it, two port latches (0x4A, 0x4B)
// driving the analog switches, two heaters, a board temperature sensor, the control word and
// the board command. Request() answers the board requests 0xDA to 0xDF as the program lays
// them out; it never moves more than `count` bytes into or out of the caller's buffer.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/chipsim/Bus.h"

namespace chipsim {

class Board {
  public:
    // Statuses of refused requests (0 is success).
    static constexpr int16_t kOk = 0;
    static constexpr int16_t kBadRequest = 1;   // unknown request code or direction
    static constexpr int16_t kBadArgument = 2;  // value, index or count out of range

    static constexpr int kMaxTransfer = 64;
    static constexpr int kCommandLength = 7;
    static constexpr int kPortSwitchBank0 = 0x4B;
    static constexpr int kPortSwitchBank1 = 0x4A;

    int16_t Request(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t count,
                    unsigned char* buffer);

    Bus& Chips() { return bus_; }
    const Bus& Chips() const { return bus_; }

    // Port latch of 0x4A or 0x4B; -1 for any other port.
    int Port(int port) const;
    int HeaterPower(int heater) const;  // heater 1 or 2, percent
    void SetHeaterPower(int heater, int percent);
    // The board sensor's temperature in degrees C (its reading is (T + 60) x 32).
    double BoardTemperature() const;
    void SetBoardTemperature(double celsius) { boardTemperature_ = celsius; }
    int32_t ControlValue() const { return controlValue_; }
    int32_t ControlIndex() const { return controlIndex_; }
    // The bytes of the last board command (request 0xDB, direction 0).
    const std::vector<uint8_t>& LastCommand() const { return command_; }

  private:
    int16_t RegisterRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                            unsigned char* buffer);
    int16_t BlockRead(int32_t value, int32_t index, int16_t direction, int16_t count,
                      unsigned char* buffer);
    int16_t HeaterRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                          unsigned char* buffer);
    int16_t PortRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                        unsigned char* buffer);
    int16_t SensorOrCommand(int16_t direction, int16_t count, unsigned char* buffer);
    int16_t ControlRequest(int32_t value, int32_t index, int16_t direction, int16_t count,
                           unsigned char* buffer);

    Bus bus_;
    std::array<uint8_t, 2> ports_{};  // 0x4A, 0x4B
    std::array<int, 2> heaters_{};
    double boardTemperature_ = 25.0;
    int32_t controlValue_ = 0;
    int32_t controlIndex_ = 0;
    std::vector<uint8_t> command_;
};

}  // namespace chipsim
