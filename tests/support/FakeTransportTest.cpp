#include <gtest/gtest.h>

#include "main/DeviceLink.h"
#include "platform/chipsim/Board.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using TestSupport::BusCall;
using TestSupport::FakeTransport;
using Pairs = std::vector<std::pair<int, int>>;

TEST(FakeTransport, SelectsTheUsbChipAndRestoresTheLinkAfterwards) {
    USBStuff::DeviceAddress = 0x22;
    USBStuff::LinkType = 7;
    USBStuff::SimulationMode = true;
    {
        FakeTransport fake;
        EXPECT_EQ(&USBStuff::CurrentTransport(), &fake);
        EXPECT_EQ(USBStuff::DeviceAddress, 0x5C);
        EXPECT_EQ(USBStuff::LinkType, 1);
        EXPECT_FALSE(USBStuff::SimulationMode);
        fake.UseSmbus();
        EXPECT_EQ(USBStuff::LinkType, 2);
    }
    EXPECT_EQ(USBStuff::DeviceAddress, 0x22);
    EXPECT_EQ(USBStuff::LinkType, 7);
    EXPECT_TRUE(USBStuff::SimulationMode);
    USBStuff::SimulationMode = false;
}

TEST(FakeTransport, RecordsUsbRegisterTraffic) {
    FakeTransport fake;
    TestSupport::MessageRecorder messages;
    EXPECT_EQ(USBStuff::ReadRegister(0x5C, 0x3E), 0x41);
    ASSERT_EQ(fake.Calls().size(), 1u);
    const BusCall& read = fake.Calls()[0];
    EXPECT_EQ(read.kind, BusCall::Kind::Vendor);
    EXPECT_EQ(read.request, 0xDE);
    EXPECT_EQ(read.vvalue, 0x5C);
    EXPECT_EQ(read.index, 0x3E);
    EXPECT_EQ(read.direction, 1);
    EXPECT_EQ(read.count, 1);
    EXPECT_EQ(read.data, std::vector<uint8_t>{0x41});

    fake.ClearCalls();
    EXPECT_EQ(USBStuff::WriteRegister(0x5C, 0x30, 0x40), 0);
    EXPECT_EQ(fake.Reg(0x30), 0x40);
    EXPECT_EQ(fake.RegisterWrites(), (Pairs{{0x30, 0x40}}));
    // Every successful USB write rewrites both switch ports.
    ASSERT_EQ(fake.PortWrites().size(), 2u);
    EXPECT_EQ(fake.PortWrites()[0].first, 0x4B);
    EXPECT_EQ(fake.PortWrites()[1].first, 0x4A);

    fake.ClearCalls();
    EXPECT_EQ(USBStuff::ReadRegisterBlock(0x5C, 0x3E, 3), 0);
    EXPECT_EQ(fake.RegisterReads(), (std::vector<int>{0x3E, 0x3F, 0x40}));
    EXPECT_EQ(USBStuff::IoBuffer[0], 0x41);
    EXPECT_EQ(USBStuff::IoBuffer[1], 0x6C);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(FakeTransport, SmbusChipIsSeparateFromTheUsbChip) {
    FakeTransport fake;
    fake.UseSmbus();
    fake.SetReg(0x25, 0x33);  // read-only on the bus, but a test may set it
    EXPECT_EQ(USBStuff::ReadRegister(0x5C, 0x25), 0x33);
    EXPECT_EQ(fake.UsbChip().Peek(0x25), 0x80);
    EXPECT_EQ(fake.SmbusChip().Peek(0x25), 0x33);
    EXPECT_EQ(USBStuff::WriteRegister(0x5C, 0x4F, 0x50), 0);
    EXPECT_EQ(fake.SmbusChip().Peek(0x4F), 0x50);
    ASSERT_EQ(fake.Calls().size(), 2u);
    EXPECT_EQ(fake.Calls()[0].kind, BusCall::Kind::ReadSmbus);
    EXPECT_EQ(fake.Calls()[0].address, 0x5C);
    EXPECT_EQ(fake.Calls()[0].value, 0x33);
    EXPECT_EQ(fake.RegisterWrites(), (Pairs{{0x4F, 0x50}}));
    EXPECT_TRUE(fake.PortWrites().empty());
}

TEST(FakeTransport, SevenBitAddressesAfterDetectSmbusOne) {
    FakeTransport fake;
    EXPECT_EQ(fake.ReadSmbus(0x2E, 0x3E), 0xFF);  // 8-bit form by default: nobody at 0x2E
    fake.DetectSmbus(1);
    EXPECT_EQ(fake.ReadSmbus(0x2E, 0x3E), 0x41);
    fake.DetectSmbus(0);
    EXPECT_EQ(fake.ReadSmbus(0x5C, 0x3E), 0x41);
}

TEST(FakeTransport, InjectedFailuresMoveNoData) {
    FakeTransport fake;
    unsigned char buffer[4] = {9, 9, 9, 9};
    fake.FailRequest(0xDF, 3);
    EXPECT_EQ(fake.VendorIORequest(0xDF, 0x4B, 0, 1, 1, buffer), 3);
    EXPECT_EQ(buffer[0], 9);
    EXPECT_EQ(fake.VendorIORequest(0xDE, 0x5C, 0x3E, 1, 1, buffer), 0);
    EXPECT_EQ(buffer[0], 0x41);
    EXPECT_EQ(fake.Calls()[0].status, 3);
    EXPECT_TRUE(fake.Calls()[0].data.empty());

    fake.FailNthVendorCall(2, 5);
    EXPECT_EQ(fake.VendorIORequest(0xDE, 0x5C, 0x3E, 1, 1, buffer), 0);
    EXPECT_EQ(fake.VendorIORequest(0xDE, 0x5C, 0x3E, 1, 1, buffer), 5);
    EXPECT_EQ(fake.VendorIORequest(0xDE, 0x5C, 0x3E, 1, 1, buffer), 0);
    // A failed write does not count as a register write.
    fake.FailNthVendorCall(1);
    EXPECT_NE(fake.VendorIORequest(0xDE, 0x5C, 0x12 * 256 + 0x30, 0, 0, buffer), 0);
    EXPECT_TRUE(fake.RegisterWrites().empty());
    EXPECT_EQ(fake.UsbChip().Peek(0x30), 0xFF);
}

TEST(FakeTransport, BoardPresenceAndChipsForDiscovery) {
    FakeTransport fake;
    EXPECT_GT(fake.LoadFirmWare(nullptr), 0);
    fake.SetBoardPresent(false);
    EXPECT_EQ(fake.LoadFirmWare(nullptr), 0);

    fake.RemoveAllChips();
    fake.AddUsbChip(0x5E);
    fake.AddSmbusChip(0x20);
    EXPECT_EQ(USBStuff::ReadRegister(0x5C, 0x3E), 0xFF);
    EXPECT_EQ(USBStuff::ReadRegister(0x5E, 0x3E), 0x41);
    EXPECT_EQ(fake.UsbChipAt(0x5C), nullptr);
    EXPECT_THROW(fake.UsbChip(), std::logic_error);
    fake.UseSmbus();
    EXPECT_EQ(USBStuff::ReadRegister(0x20, 0x3E), 0x41);
    EXPECT_EQ(USBStuff::ReadRegister(0x5E, 0x3E), 0xFF);
}

TEST(FakeTransport, BoardRequestsReachTheBoardModel) {
    FakeTransport fake;
    int32_t power = 150;
    EXPECT_EQ(USBStuff::SetHeaterPower(2, power), 0);
    EXPECT_EQ(fake.Board().HeaterPower(2), 100);
    EXPECT_EQ(USBStuff::WriteBoardPort(0x4B, 0x21), 0);
    EXPECT_EQ(fake.Board().Port(0x4B), 0x21);
    EXPECT_EQ(fake.PortWrites(), (Pairs{{0x4B, 0x21}}));
    EXPECT_EQ(USBStuff::ReadBoardPort(0x4B), 0x21);
}
