#pragma once
// A Linux i2c-dev adapter (/dev/i2c-N): byte-data SMBus transfers to a 7-bit address. An
// adapter that cannot be opened reads 0xFF everywhere and takes no writes.

#include <cstdint>
#include <string>

namespace smbus {

class I2cAdapter {
  public:
    explicit I2cAdapter(const std::string& device);
    ~I2cAdapter();
    I2cAdapter(const I2cAdapter&) = delete;
    I2cAdapter& operator=(const I2cAdapter&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The byte, or -1 when the transfer failed.
    int ReadByteData(int address7, int reg);
    bool WriteByteData(int address7, int reg, uint8_t value);

  private:
    bool Select(int address7);

    int fd_ = -1;
    int selected_ = -1;
};

}  // namespace smbus
