// The SMBus library stand-in. By default it serves simulated chips (QUORVEX_SIM_SMBUS_CHIPS,
// one at 8-bit 0x5C unless told otherwise); with QUORVEX_SMBUS_ADAPTER naming an i2c-dev
// adapter it reaches the real bus of the machine instead.

#include "platform/smbus/smbus.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "platform/chipsim/Bus.h"
#include "platform/chipsim/CallLog.h"
#include "platform/chipsim/SimEnvironment.h"
#include "platform/smbus/I2cAdapter.h"

namespace {

constexpr int kNoAnswer = 0xFF;

struct State {
    chipsim::SimEnvironment env = chipsim::SimEnvironment::FromProcess();
    chipsim::CallLog log{env.logPath};
    std::unique_ptr<smbus::I2cAdapter> adapter;  // set: the real bus, not the simulation
    chipsim::Bus bus;
    bool sevenBit = false;

    State() {
        const char* device = std::getenv("QUORVEX_SMBUS_ADAPTER");
        if (device && *device) {
            adapter = std::make_unique<smbus::I2cAdapter>(device);
        } else {
            for (int address : env.smbusChips) bus.Add(address, env.staticChips);
        }
    }

    // The 8-bit form the simulated bus is keyed by, or the 7-bit form the kernel takes.
    int Address8(int address) const { return sevenBit ? (address & 0x7F) << 1 : address & 0xFE; }
    int Address7(int address) const { return sevenBit ? address & 0x7F : (address & 0xFF) >> 1; }
};

std::mutex g_mutex;

State& Get() {
    static State state;
    return state;
}

}  // namespace

extern "C" {

int DetectSmbus(int flag) {
    std::lock_guard<std::mutex> lock(g_mutex);
    State& s = Get();
    s.sevenBit = flag == 1;
    const int result = s.adapter ? (s.adapter->IsOpen() ? 1 : 0) : 1;
    if (s.log.Enabled()) {
        s.log.Append("smbus DetectSmbus flag=" + std::to_string(flag) + " -> " +
                     std::to_string(result));
    }
    return result;
}

int ReadSmbus(int address, int reg) {
    std::lock_guard<std::mutex> lock(g_mutex);
    State& s = Get();
    int value = kNoAnswer;
    if (s.adapter) {
        const int byte = s.adapter->ReadByteData(s.Address7(address), reg & 0xFF);
        if (byte >= 0) value = byte & 0xFF;
    } else {
        value = s.bus.Read(s.Address8(address), reg & 0xFF);
    }
    if (s.log.Enabled()) {
        s.log.Append("smbus ReadSmbus address=" + chipsim::CallLog::Hex(address) +
                     " reg=" + chipsim::CallLog::Hex(reg) + " -> " + chipsim::CallLog::Hex(value));
    }
    return value;
}

int WriteSmbus(int address, int reg, int value) {
    std::lock_guard<std::mutex> lock(g_mutex);
    State& s = Get();
    bool taken;
    if (s.adapter) {
        taken =
            s.adapter->WriteByteData(s.Address7(address), reg & 0xFF, static_cast<uint8_t>(value));
    } else {
        taken = s.bus.Write(s.Address8(address), reg & 0xFF, static_cast<uint8_t>(value));
    }
    const int result = taken ? 0 : -1;
    if (s.log.Enabled()) {
        s.log.Append("smbus WriteSmbus address=" + chipsim::CallLog::Hex(address) +
                     " reg=" + chipsim::CallLog::Hex(reg) +
                     " value=" + chipsim::CallLog::Hex(value) + " -> " + std::to_string(result));
    }
    return result;
}

}  // extern "C"
