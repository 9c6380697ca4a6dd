#pragma once
// The recording fake of the two outside libraries that window tests run against. It serves
// simulated chips in-process (no shared library is loaded): a static chip at 8-bit address 0x5C
// on the USB board and one at 0x5C on the SMBus, both at their power-on defaults, and the board
// itself (ports, heaters, sensor, control word, board command). Every call is recorded, so a
// test asserts the exact register traffic; a static chip changes a register only when it is
// written, so what a test puts there with SetReg stays there.
//
// Constructing one installs it as the transport and selects the USB chip (DeviceAddress 0x5C,
// LinkType 1, SimulationMode off); destroying it restores the bound libraries and the link
// state (DeviceAddress, LinkType, SimulationMode) that was there before.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "main/Transport.h"
#include "platform/chipsim/Chip.h"

namespace chipsim {
class Board;
class Bus;
}  // namespace chipsim

namespace TestSupport {

struct BusCall {
    enum class Kind { DetectSmbus, ReadSmbus, WriteSmbus, LoadFirmWare, Vendor } kind;
    int address = 0, reg = 0, value = 0;  // SMBus calls (value: written or read)
    int16_t request = 0;
    int32_t vvalue = 0, index = 0;
    int16_t direction = 0, count = 0;  // Vendor
    std::vector<uint8_t> data;         // bytes sent (dir 0) or returned (dir 1)
    int16_t status = 0;
};

class FakeTransport : public USBStuff::Transport {
  public:
    FakeTransport();
    ~FakeTransport() override;
    FakeTransport(const FakeTransport&) = delete;
    FakeTransport& operator=(const FakeTransport&) = delete;

    // Selects the chip at 0x5C on that link (DeviceAddress and LinkType).
    void UseUsb();
    void UseSmbus();

    // The chips at 0x5C (created again by AddUsbChip/AddSmbusChip(0x5C) after RemoveAllChips).
    // Peek/Poke reach their registers without recording traffic.
    chipsim::Chip& UsbChip();
    chipsim::Chip& SmbusChip();
    // Any chip by bus and 8-bit address; nullptr when there is none.
    chipsim::Chip* UsbChipAt(int address8);
    chipsim::Chip* SmbusChipAt(int address8);
    // The evaluation board (port latches, heater powers, control word, last board command).
    chipsim::Board& Board();

    // A register of the selected link's chip (LinkType 2 -> SMBus, else USB), bypassing the
    // read-only flags, not recorded.
    uint8_t Reg(int reg) const;
    void SetReg(int reg, uint8_t value);

    const std::vector<BusCall>& Calls() const;
    void ClearCalls();
    // (register, value) of every chip register write, either link, in order.
    std::vector<std::pair<int, int>> RegisterWrites() const;
    // Every chip register read in order, a block read expanded register by register.
    std::vector<int> RegisterReads() const;
    // (port, value) of the board port writes (request 0xDF, direction 0).
    std::vector<std::pair<int, int>> PortWrites() const;

    // Every later Vendor call with this request returns `status` (and moves no data).
    void FailRequest(int16_t request, int16_t status = 1);
    // The n-th Vendor call from now (1 = the next one) returns `status`; the others succeed.
    void FailNthVendorCall(int n, int16_t status = 1);
    // What LoadFirmWare answers: 1 when present (the default), 0 when not.
    void SetBoardPresent(bool present);

    // For discovery tests: static chips at power-on defaults at these 8-bit addresses.
    void AddSmbusChip(int address8);
    void AddUsbChip(int address8);
    void RemoveAllChips();

    // USBStuff::Transport
    int DetectSmbus(int flag) override;
    int ReadSmbus(int address, int reg) override;
    int WriteSmbus(int address, int reg, int value) override;
    int16_t LoadFirmWare(unsigned char* path) override;
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                            int16_t count, unsigned char* buffer) override;

    // The flag of the last DetectSmbus (0: addresses in 8-bit form, the default; 1: 7-bit).
    int SmbusAddressFlag() const { return smbusFlag_; }

  private:
    std::unique_ptr<chipsim::Bus> smbus_;
    std::unique_ptr<chipsim::Board> board_;
    std::vector<BusCall> calls_;
    std::vector<std::pair<int16_t, int16_t>> failRequests_;
    int vendorCallsUntilFailure_ = 0;
    int16_t nthFailureStatus_ = 1;
    bool boardPresent_ = true;
    int smbusFlag_ = 0;
    int32_t savedDeviceAddress_;
    int16_t savedLinkType_;
    bool savedSimulationMode_;
};

}  // namespace TestSupport
