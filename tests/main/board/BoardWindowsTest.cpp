#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/board/BoardWindows.h"
#include "main/board/HeaterLevels.h"
#include "main/board/frmHeaters.h"
#include "main/board/frmSwitches.h"
#include "main/monitoring/Measurements.h"
#include "platform/chipsim/Board.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using Pairs = std::vector<std::pair<int, int>>;
using TestSupport::BusCall;

namespace {

constexpr int16_t kHeaterRequest = 0xDA;
constexpr int16_t kPortRequest = 0xDF;

class BoardWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        General::ResetConfigFlags();
        General::ResetMeasurements();
        RegisterBoardWindows();
    }
    void TearDown() override {
        Windows::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        USBStuff::SetFatalErrorSink({});
        General::ResetConfigFlags();
        General::ResetMeasurements();
    }

    // The board requests of one kind, in order.
    std::vector<BusCall> Requests(int16_t request) const {
        std::vector<BusCall> found;
        for (const BusCall& call : fake_.Calls())
            if (call.kind == BusCall::Kind::Vendor && call.request == request)
                found.push_back(call);
        return found;
    }
    // (port, direction) of every port request.
    Pairs PortTraffic() const {
        Pairs traffic;
        for (const BusCall& call : Requests(kPortRequest))
            traffic.emplace_back(call.vvalue, call.direction);
        return traffic;
    }
    void SetPorts(int bank0, int bank1) {
        USBStuff::WriteBoardPort(General::kSwitchPortBank0, bank0);
        USBStuff::WriteBoardPort(General::kSwitchPortBank1, bank1);
        fake_.ClearCalls();
    }
    std::vector<bool> Ticked(const frmSwitches& window) const {
        std::vector<bool> ticked;
        for (QCheckBox* box : window.chkSwitch) ticked.push_back(box->isChecked());
        return ticked;
    }

    TestSupport::FakeTransport fake_;
    TestSupport::MessageRecorder messages_{Ui::Answer::No};
};

std::vector<bool> Bits(int bank0, int bank1) {
    std::vector<bool> bits;
    for (int byte : {bank0, bank1})
        for (int i = 0; i < 8; ++i) bits.push_back((byte >> i) & 1);
    return bits;
}

// Port 0x4B first, then 0x4A, each read once.
const Pairs kBothPortsRead{{0x4B, 1}, {0x4A, 1}};

}  // namespace

TEST_F(BoardWindows, SwitchWindowShowsBothPortsBitByBit) {
    SetPorts(0x81, 0x22);
    frmSwitches window;
    EXPECT_EQ(PortTraffic(), kBothPortsRead);
    EXPECT_EQ(Ticked(window), Bits(0x81, 0x22));
    EXPECT_EQ(window.chkSwitch[9]->text(), "Fan2 3-wire");

    // "Read" shows what the board holds now.
    SetPorts(0x10, 0x80);
    window.cmdRefresh->click();
    EXPECT_EQ(PortTraffic(), kBothPortsRead);
    EXPECT_EQ(Ticked(window), Bits(0x10, 0x80));
}

TEST_F(BoardWindows, ApplyWritesBothPortsFromTheBoxesThenReadsThemBack) {
    SetPorts(0xFF, 0xFF);
    frmSwitches window;
    for (QCheckBox* box : window.chkSwitch) box->setChecked(false);
    for (int i : {0, 2, 7}) window.chkSwitch[i]->setChecked(true);
    // A box in the third state is not a ticked one.
    window.chkSwitch[9]->setCheckState(Qt::PartiallyChecked);
    fake_.ClearCalls();

    window.cmbApply->click();
    EXPECT_EQ(fake_.PortWrites(), (Pairs{{0x4B, 0x85}, {0x4A, 0x00}}));
    EXPECT_EQ(PortTraffic(), (Pairs{{0x4B, 0}, {0x4A, 0}, {0x4B, 1}, {0x4A, 1}}));
    EXPECT_EQ(Ticked(window), Bits(0x85, 0x00));
    EXPECT_TRUE(fake_.RegisterWrites().empty());
}

TEST_F(BoardWindows, TheNextUsbRegisterWriteUndoesWhatApplySet) {
    frmSwitches window;
    for (QCheckBox* box : window.chkSwitch) box->setChecked(true);
    window.cmbApply->click();
    ASSERT_EQ(fake_.Board().Port(0x4B), 0xFF);

    // Any register write rewrites both ports from the wanted switch states.
    USBStuff::WriteRegister(USBStuff::DeviceAddress, 0x30, 0x40);
    EXPECT_EQ(fake_.Board().Port(0x4B), General::PackSwitchByte(int16_t{0}));
    EXPECT_EQ(fake_.Board().Port(0x4A), General::PackSwitchByte(int16_t{1}));
}

TEST_F(BoardWindows, SwitchWindowOfAnSmbusDeviceSendsNothing) {
    SetPorts(0xFF, 0xFF);
    fake_.UseSmbus();
    frmSwitches window;
    EXPECT_EQ(Ticked(window), Bits(0, 0));
    window.chkSwitch[3]->setChecked(true);
    window.cmbApply->click();
    EXPECT_TRUE(fake_.Calls().empty());
    EXPECT_EQ(fake_.Board().Port(0x4B), 0xFF);
}

TEST(HeaterLevels, StatusBytesAreHalfPercentAndPowersRoundHalfToEven) {
    EXPECT_EQ(Heaters::SliderFromStatusByte(7), 3.5);
    EXPECT_EQ(Heaters::SliderFromStatusByte(200), 100.0);
    const std::pair<double, int> cases[] = {{3.5, 4},    {2.5, 2}, {0.5, 0}, {1.5, 2},
                                            {99.5, 100}, {40, 40}, {-3, 0},  {250, 100}};
    for (const auto& [position, power] : cases)
        EXPECT_EQ(Heaters::PowerFromSlider(position), power) << position;
}

TEST_F(BoardWindows, HeaterWindowShowsTheStatusAndSendsNoPowerOnOpening) {
    fake_.Board().SetHeaterPower(1, 30);
    fake_.Board().SetHeaterPower(2, 55);
    {
        frmHeaters window;
        EXPECT_TRUE(General::HeatersOpen);
        const auto requests = Requests(kHeaterRequest);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].direction, 1);
        EXPECT_EQ(requests[0].count, 3);
        EXPECT_EQ(window.sldHeater[0]->Value(), 30);
        EXPECT_EQ(window.sldHeater[1]->Value(), 55);
        EXPECT_EQ(window.lblTemp[0]->text(), "Remote1 = ");
        EXPECT_EQ(window.lblTemp[1]->text(), "Remote2 = ");

        // The user's move sends the power of that heater.
        fake_.ClearCalls();
        window.sldHeater[1]->UserPress();
        window.sldHeater[1]->UserMoveTo(72);
        window.sldHeater[1]->UserRelease();
        const auto sent = Requests(kHeaterRequest);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back().direction, 0);
        EXPECT_EQ(sent.back().vvalue, 2);
        EXPECT_EQ(sent.back().index, 72);
        EXPECT_EQ(fake_.Board().HeaterPower(2), 72);
        EXPECT_EQ(fake_.Board().HeaterPower(1), 30);

        // Set from code, a slider sends nothing.
        fake_.ClearCalls();
        window.sldHeater[0]->SetValue(10);
        EXPECT_TRUE(Requests(kHeaterRequest).empty());
    }
    EXPECT_FALSE(General::HeatersOpen);
}

TEST_F(BoardWindows, HeaterErrorAnsweredNoCarriesOnAndYesEndsTheProgram) {
    int ended = 0;
    USBStuff::SetFatalErrorSink({[](bool) {}, [&ended] { ++ended; }});
    fake_.FailRequest(kHeaterRequest);
    const std::string question = "Error in Heater Module -  Do you wish to close the application?";

    messages_.SetAnswer(Ui::Answer::No);
    frmHeaters window;
    ASSERT_EQ(messages_.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(messages_.Messages()[0].buttons, Ui::Buttons::YesNo);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(General::HeatersOpen);

    messages_.Clear();
    messages_.SetAnswer(Ui::Answer::Yes);
    window.sldHeater[0]->UserPress();
    window.sldHeater[0]->UserMoveTo(20);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(ended, 1);
}

TEST_F(BoardWindows, HeaterLabelsFollowTheTimerWhileTheWindowIsOpen) {
    auto& hooks = MasterTimer::Hooks();
    auto* window = Windows::FindAs<frmHeaters>(Windows::Kind::Heaters);
    ASSERT_EQ(window, nullptr);
    hooks.heaterLabels();  // no window: nothing to do

    window = qobject_cast<frmHeaters*>(Windows::Open(Windows::Kind::Heaters));
    ASSERT_NE(window, nullptr);
    General::Temperatures = {23.25f, 30.0f, -5.5f};
    hooks.heaterLabels();
    EXPECT_EQ(window->lblTemp[0]->text(), QString::fromUtf8("Remote1 = 23.25\u00B0C"));
    EXPECT_EQ(window->lblTemp[1]->text(), QString::fromUtf8("Remote2 = -5.5\u00B0C"));

    // Reopened, the window asks the board again and shows bare labels until the next run.
    window->cmdClose_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(General::HeatersOpen);
    fake_.ClearCalls();
    window = qobject_cast<frmHeaters*>(Windows::Open(Windows::Kind::Heaters));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Requests(kHeaterRequest).size(), 1u);
    EXPECT_EQ(window->lblTemp[0]->text(), "Remote1 = ");
}

TEST_F(BoardWindows, HeaterWindowOfAnSmbusDeviceAsksNothingAndStartsAtZero) {
    fake_.Board().SetHeaterPower(1, 80);
    USBStuff::IoBuffer[0] = 0xC8;  // left by an earlier request
    fake_.UseSmbus();
    frmHeaters window;
    EXPECT_EQ(window.sldHeater[0]->Value(), 0);
    window.sldHeater[0]->UserPress();
    window.sldHeater[0]->UserMoveTo(50);
    EXPECT_TRUE(fake_.Calls().empty());
    EXPECT_EQ(fake_.Board().HeaterPower(1), 80);
}
