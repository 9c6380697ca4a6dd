#include "tests/support/FakeTransport.h"

#include <algorithm>
#include <stdexcept>

#include "main/DeviceLink.h"
#include "platform/chipsim/Board.h"
#include "platform/chipsim/Bus.h"

namespace TestSupport {

namespace {

constexpr int kDefaultChip = 0x5C;
constexpr int16_t kRegisterRequest = 0xDE;
constexpr int16_t kBlockRequest = 0xDC;
constexpr int16_t kPortRequest = 0xDF;

chipsim::Chip& Existing(chipsim::Chip* chip, const char* link) {
    if (!chip) throw std::logic_error(std::string("no chip at 0x5C on the ") + link);
    return *chip;
}

BusCall NewCall(BusCall::Kind kind) {
    BusCall call;
    call.kind = kind;
    return call;
}

}  // namespace

FakeTransport::FakeTransport()
    : smbus_(std::make_unique<chipsim::Bus>()),
      board_(std::make_unique<chipsim::Board>()),
      savedDeviceAddress_(USBStuff::DeviceAddress),
      savedLinkType_(USBStuff::LinkType),
      savedSimulationMode_(USBStuff::SimulationMode) {
    board_->Chips().Add(kDefaultChip, true);
    smbus_->Add(kDefaultChip, true);
    USBStuff::SimulationMode = false;
    UseUsb();
    USBStuff::SetTransport(this);
}

FakeTransport::~FakeTransport() {
    USBStuff::SetTransport(nullptr);
    USBStuff::DeviceAddress = savedDeviceAddress_;
    USBStuff::LinkType = savedLinkType_;
    USBStuff::SimulationMode = savedSimulationMode_;
}

void FakeTransport::UseUsb() {
    USBStuff::DeviceAddress = kDefaultChip;
    USBStuff::LinkType = USBStuff::kLinkUsb;
}

void FakeTransport::UseSmbus() {
    USBStuff::DeviceAddress = kDefaultChip;
    USBStuff::LinkType = USBStuff::kLinkSmbus;
}

chipsim::Chip& FakeTransport::UsbChip() { return Existing(UsbChipAt(kDefaultChip), "USB board"); }

chipsim::Chip& FakeTransport::SmbusChip() { return Existing(SmbusChipAt(kDefaultChip), "SMBus"); }

chipsim::Chip* FakeTransport::UsbChipAt(int address8) { return board_->Chips().At(address8); }

chipsim::Chip* FakeTransport::SmbusChipAt(int address8) { return smbus_->At(address8); }

chipsim::Board& FakeTransport::Board() { return *board_; }

uint8_t FakeTransport::Reg(int reg) const {
    const chipsim::Bus& bus =
        USBStuff::LinkType == USBStuff::kLinkSmbus ? *smbus_ : board_->Chips();
    const chipsim::Chip* chip = bus.At(USBStuff::DeviceAddress);
    if (!chip) chip = bus.At(kDefaultChip);
    if (!chip) throw std::logic_error("no chip selected");
    return chip->Peek(reg);
}

void FakeTransport::SetReg(int reg, uint8_t value) {
    chipsim::Chip* chip = USBStuff::LinkType == USBStuff::kLinkSmbus
                              ? smbus_->At(USBStuff::DeviceAddress)
                              : board_->Chips().At(USBStuff::DeviceAddress);
    if (!chip) {
        chip = USBStuff::LinkType == USBStuff::kLinkSmbus ? SmbusChipAt(kDefaultChip)
                                                          : UsbChipAt(kDefaultChip);
    }
    if (!chip) throw std::logic_error("no chip selected");
    chip->Poke(reg, value);
}

const std::vector<BusCall>& FakeTransport::Calls() const { return calls_; }

void FakeTransport::ClearCalls() { calls_.clear(); }

std::vector<std::pair<int, int>> FakeTransport::RegisterWrites() const {
    std::vector<std::pair<int, int>> writes;
    for (const BusCall& call : calls_) {
        if (call.kind == BusCall::Kind::WriteSmbus) {
            writes.emplace_back(call.reg, call.value);
        } else if (call.kind == BusCall::Kind::Vendor && call.request == kRegisterRequest &&
                   call.direction == 0 && call.status == 0) {
            writes.emplace_back(call.index & 0xFF, (call.index >> 8) & 0xFF);
        }
    }
    return writes;
}

std::vector<int> FakeTransport::RegisterReads() const {
    std::vector<int> reads;
    for (const BusCall& call : calls_) {
        if (call.kind == BusCall::Kind::ReadSmbus) {
            reads.push_back(call.reg);
        } else if (call.kind == BusCall::Kind::Vendor && call.direction == 1 && call.status == 0) {
            if (call.request == kRegisterRequest) reads.push_back(call.index);
            if (call.request == kBlockRequest) {
                for (int i = 0; i < call.count; ++i) reads.push_back(call.index + i);
            }
        }
    }
    return reads;
}

std::vector<std::pair<int, int>> FakeTransport::PortWrites() const {
    std::vector<std::pair<int, int>> writes;
    for (const BusCall& call : calls_) {
        if (call.kind == BusCall::Kind::Vendor && call.request == kPortRequest &&
            call.direction == 0 && call.status == 0) {
            writes.emplace_back(call.vvalue, call.index);
        }
    }
    return writes;
}

void FakeTransport::FailRequest(int16_t request, int16_t status) {
    failRequests_.emplace_back(request, status);
}

void FakeTransport::FailNthVendorCall(int n, int16_t status) {
    vendorCallsUntilFailure_ = std::max(n, 0);
    nthFailureStatus_ = status;
}

void FakeTransport::SetBoardPresent(bool present) { boardPresent_ = present; }

void FakeTransport::AddSmbusChip(int address8) { smbus_->Add(address8, true); }

void FakeTransport::AddUsbChip(int address8) { board_->Chips().Add(address8, true); }

void FakeTransport::RemoveAllChips() {
    smbus_->RemoveAll();
    board_->Chips().RemoveAll();
}

int FakeTransport::DetectSmbus(int flag) {
    smbusFlag_ = flag;
    BusCall call = NewCall(BusCall::Kind::DetectSmbus);
    call.value = flag;
    calls_.push_back(call);
    return 1;
}

int FakeTransport::ReadSmbus(int address, int reg) {
    const int address8 = smbusFlag_ == 1 ? address * 2 : address;
    BusCall call = NewCall(BusCall::Kind::ReadSmbus);
    call.address = address;
    call.reg = reg;
    call.value = smbus_->Read(address8, reg);
    calls_.push_back(call);
    return call.value;
}

int FakeTransport::WriteSmbus(int address, int reg, int value) {
    const int address8 = smbusFlag_ == 1 ? address * 2 : address;
    smbus_->Write(address8, reg, static_cast<uint8_t>(value));
    BusCall call = NewCall(BusCall::Kind::WriteSmbus);
    call.address = address;
    call.reg = reg;
    call.value = value;
    calls_.push_back(call);
    return 0;
}

int16_t FakeTransport::LoadFirmWare(unsigned char* /*path*/) {
    BusCall call = NewCall(BusCall::Kind::LoadFirmWare);
    call.status = boardPresent_ ? 1 : 0;
    calls_.push_back(call);
    return call.status;
}

int16_t FakeTransport::VendorIORequest(int16_t request, int32_t value, int32_t index,
                                       int16_t direction, int16_t count, unsigned char* buffer) {
    BusCall call = NewCall(BusCall::Kind::Vendor);
    call.request = request;
    call.vvalue = value;
    call.index = index;
    call.direction = direction;
    call.count = count;

    int16_t failure = 0;
    if (vendorCallsUntilFailure_ > 0 && --vendorCallsUntilFailure_ == 0) {
        failure = nthFailureStatus_;
    }
    for (const auto& [failing, status] : failRequests_) {
        if (failing == request) failure = status;
    }
    if (direction == 0 && buffer && count > 0) call.data.assign(buffer, buffer + count);
    if (failure != 0) {
        call.status = failure;
    } else {
        call.status = board_->Request(request, value, index, direction, count, buffer);
        if (direction == 1 && call.status == 0 && buffer && count > 0) {
            call.data.assign(buffer, buffer + count);
        }
    }
    calls_.push_back(call);
    return call.status;
}

}  // namespace TestSupport
