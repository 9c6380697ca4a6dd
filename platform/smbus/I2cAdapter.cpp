#include "platform/smbus/I2cAdapter.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace smbus {

I2cAdapter::I2cAdapter(const std::string& device) {
    fd_ = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
}

I2cAdapter::~I2cAdapter() {
    if (fd_ >= 0) ::close(fd_);
}

bool I2cAdapter::Select(int address7) {
    if (fd_ < 0 || address7 < 0 || address7 > 0x7F) return false;
    if (selected_ == address7) return true;
    // No forcing: a chip that a kernel driver owns is left to that driver.
    if (::ioctl(fd_, I2C_SLAVE, static_cast<long>(address7)) < 0) {
        selected_ = -1;
        return false;
    }
    selected_ = address7;
    return true;
}

int I2cAdapter::ReadByteData(int address7, int reg) {
    if (!Select(address7)) return -1;
    i2c_smbus_data data{};
    i2c_smbus_ioctl_data args{};
    args.read_write = I2C_SMBUS_READ;
    args.command = static_cast<uint8_t>(reg);
    args.size = I2C_SMBUS_BYTE_DATA;
    args.data = &data;
    if (::ioctl(fd_, I2C_SMBUS, &args) < 0) return -1;
    return data.byte;
}

bool I2cAdapter::WriteByteData(int address7, int reg, uint8_t value) {
    if (!Select(address7)) return false;
    i2c_smbus_data data{};
    data.byte = value;
    i2c_smbus_ioctl_data args{};
    args.read_write = I2C_SMBUS_WRITE;
    args.command = static_cast<uint8_t>(reg);
    args.size = I2C_SMBUS_BYTE_DATA;
    args.data = &data;
    return ::ioctl(fd_, I2C_SMBUS, &args) >= 0;
}

}  // namespace smbus
