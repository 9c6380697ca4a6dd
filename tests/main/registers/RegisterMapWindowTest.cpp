#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <set>
#include <string>
#include <vector>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Windows.h"
#include "main/registers/RegisterMapWindows.h"
#include "main/registers/RegisterTable.h"
#include "main/registers/frmRegMap.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using RegMapStuff::RegisterTable;
using TestSupport::FakeTransport;
using TestSupport::MessageRecorder;

namespace {

std::string S(const QString& text) { return text.toStdString(); }

std::vector<std::string> BitNames(const frmRegMap& window) {
    std::vector<std::string> names;
    for (QLabel* label : window.lblInfo) names.push_back(S(label->text()));
    return names;
}

std::string Bits(const frmRegMap& window) {
    std::string bits;
    for (int b = 7; b >= 0; --b) bits += S(window.lblBit[b]->text());
    return bits;
}

QTreeWidgetItem* Node(const frmRegMap& window, const std::string& text) {
    const auto found = window.TreeView1->findItems(QString::fromStdString(text),
                                                   Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

class RegisterMapWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        RegMapStuff::BuildRegisterTable();
        General::ResetConfigFlags();
        General::RegMapOpen = false;
    }
    FakeTransport fake_;
    MessageRecorder messages_;
};

}  // namespace

TEST_F(RegisterMapWindow, TreeHoldsEveryRecordOnceUnderItsGroup) {
    frmRegMap window;
    EXPECT_TRUE(General::RegMapOpen);
    EXPECT_EQ(window.windowTitle(), "Register Map");
    QTreeWidget& tree = *window.TreeView1;
    ASSERT_EQ(tree.topLevelItemCount(), 18);
    const std::vector<std::string> groups = {"General",
                                             "Configuration Regs 1-7",
                                             "PWM1 Control",
                                             "PWM2 Control",
                                             "PWM3 Control",
                                             "Remote1 Control",
                                             "Local Control",
                                             "Remote2 Control",
                                             "PECI Control",
                                             "Dynamic Tmin",
                                             "Operating Points",
                                             "THERM Timer",
                                             "Enhanced Acoustics",
                                             "Measurements",
                                             "Interrupts",
                                             "Temperature Limits",
                                             "Voltage Limits",
                                             "Fan Limits"};
    std::multiset<std::string> names;
    int nodes = 0;
    for (int g = 0; g < 18; ++g) {
        QTreeWidgetItem* group = tree.topLevelItem(g);
        EXPECT_EQ(S(group->text(0)), groups[g]);
        EXPECT_EQ(group->isExpanded(), g == 0) << groups[g];
        EXPECT_EQ(group->foreground(0).color(), QColor(0, 128, 0));
        ++nodes;
        for (int r = 0; r < group->childCount(); ++r) {
            names.insert(S(group->child(r)->text(0)));
            EXPECT_EQ(group->child(r)->foreground(0).color(), QColor(0, 0, 192));
            ++nodes;
        }
    }
    EXPECT_EQ(nodes, 147);
    EXPECT_EQ(names.size(), 129u);
    for (const auto& info : RegisterTable) EXPECT_EQ(names.count(info.Name), 1u) << info.Name;
    EXPECT_EQ(S(tree.topLevelItem(1)->child(0)->text(0)), "Configuration 1");
    EXPECT_EQ(S(tree.topLevelItem(8)->child(11)->text(0)), "PECI Hysteresis");
    EXPECT_EQ(S(window.txtDevAddr->text()), "5C");
    EXPECT_TRUE(fake_.Calls().empty());  // loading reads nothing
}

TEST_F(RegisterMapWindow, NodeClickShowsTheRecordAndReadShowsTheFirstRecordOfTheAddress) {
    fake_.SetReg(0x5F, 0xA5);
    frmRegMap window;
    window.TreeView1_NodeClick(Node(window, "Remote1 Trange"));
    EXPECT_EQ(S(window.lblRegDescription->text()), "Remote1 Trange Register");
    EXPECT_EQ(S(window.lblCurrentAddr->text()), "5Fh");
    EXPECT_EQ(S(window.txtReadAddr->text()), "5Fh");
    EXPECT_EQ(S(window.lblReadOnly->text()), "No");
    EXPECT_EQ(BitNames(window),
              (std::vector<std::string>{"RNG", "RNG", "RNG", "RNG", "H/L", "FRQ", "FRQ", "FRQ"}));
    EXPECT_EQ(S(window.lblDecVal->text()), "165");
    EXPECT_EQ(S(window.lblHexVal->text()), "A5");
    EXPECT_EQ(Bits(window), "10100101");
    EXPECT_EQ(fake_.RegisterReads(), std::vector<int>{0x5F});

    window.cmdRead_Click();
    EXPECT_EQ(S(window.lblRegDescription->text()), "PWM1 Frequency Register");

    window.TreeView1_NodeClick(Node(window, "Company ID"));
    EXPECT_EQ(S(window.lblReadOnly->text()), "Yes");
    EXPECT_EQ(S(window.lblHexVal->text()), "41");

    // A group node changes nothing and says nothing.
    fake_.ClearCalls();
    window.TreeView1_NodeClick(window.TreeView1->topLevelItem(3));
    EXPECT_TRUE(fake_.Calls().empty());
    EXPECT_EQ(S(window.lblRegDescription->text()), "Company ID Register");
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(RegisterMapWindow, ReadTakesTheTypedAddressAndShowsUnknownForUnlistedOnes) {
    frmRegMap window;
    for (const char* typed : {"40h", "40"}) {
        window.txtReadAddr->setText(typed);
        window.cmdRead_Click();
        EXPECT_EQ(S(window.lblRegDescription->text()), "Configuration 1 Register") << typed;
        EXPECT_EQ(S(window.txtReadAddr->text()), "40h") << typed;
    }
    EXPECT_EQ(S(window.lblReadOnly->text()), "No");

    fake_.SetReg(0x37, 0x81);
    window.txtReadAddr->setText("37");
    window.cmdRead_Click();
    EXPECT_EQ(S(window.lblRegDescription->text()), "Unknown");
    EXPECT_EQ(S(window.lblCurrentAddr->text()), "37h");
    EXPECT_EQ(S(window.txtReadAddr->text()), "37h");
    EXPECT_EQ(BitNames(window), (std::vector<std::string>{"7", "6", "5", "4", "3", "2", "1", "0"}));
    EXPECT_EQ(S(window.lblReadOnly->text()), "No");  // kept from before
    EXPECT_EQ(fake_.RegisterReads().back(), 0x37);
}

TEST_F(RegisterMapWindow, ValueBoxesFollowEachOtherAndEnterWrites) {
    frmRegMap window;
    window.txtReadAddr->setText("30");
    window.txtHex->setText("FF");
    EXPECT_EQ(S(window.txtDec->text()), "255");
    // The decimal box's number is rounded half to even and saturated before it is shown.
    struct Case {
        const char* dec;
        const char* hex;
    };
    for (const Case& c : {Case{"12.5", "C"}, Case{"13.5", "E"}, Case{"-5", "-5"}, Case{"7x", "7"},
                          Case{"99999999999999999999", "7FFFFFFF"}}) {
        window.txtDec->setText(c.dec);
        EXPECT_EQ(S(window.txtHex->text()), c.hex) << c.dec;
    }
    window.txtDec->setText("");
    EXPECT_EQ(S(window.txtHex->text()), "0");
    window.txtHex->setText("");
    EXPECT_EQ(S(window.txtDec->text()), "0");

    window.txtHex->setText("7f");
    fake_.ClearCalls();
    window.txtHex_KeyDown(13, 0);
    EXPECT_EQ(fake_.RegisterWrites(), (std::vector<std::pair<int, int>>{{0x30, 0x7F}}));
    EXPECT_EQ(S(window.lblDecVal->text()), "127");
    EXPECT_EQ(S(window.lblRegDescription->text()), "PWM1 % Duty Register");

    window.txtDec->setText("64");
    window.txtDec_KeyDown(65, 0);  // any other key does nothing
    EXPECT_TRUE(fake_.RegisterWrites().size() == 1);
    emit window.txtDec->returnPressed();
    EXPECT_EQ(fake_.Reg(0x30), 64);
}

TEST_F(RegisterMapWindow, WritesOnlyBytesOnBothLinks) {
    for (bool smbus : {false, true}) {
        if (smbus) fake_.UseSmbus();
        frmRegMap window;
        window.txtReadAddr->setText("31");
        window.txtDec->setText("300");
        fake_.ClearCalls();
        window.cmdWrite_Click();
        EXPECT_EQ(fake_.RegisterWrites(), (std::vector<std::pair<int, int>>{{0x31, 255}})) << smbus;
        EXPECT_EQ(S(window.lblDecVal->text()), "255") << smbus;

        fake_.ClearCalls();
        window.txtDec->setText(smbus ? "-99999999999999999999" : "-1");
        window.cmdWrite_Click();
        EXPECT_TRUE(fake_.Calls().empty()) << smbus;
        ASSERT_EQ(messages_.Messages().size(), 1u);
        messages_.Clear();
    }
}

TEST_F(RegisterMapWindow, RefusedAddressesNeverReachTheBus) {
    frmRegMap window;
    struct Case {
        const char* device;
        const char* reg;
    };
    for (const Case& c : {Case{"0", "40"}, Case{"", "40"}, Case{"zz", "40"}, Case{"100", "40"},
                          Case{"5C", "100"}, Case{"5C", "FFFFFFFFFF"}}) {
        window.txtDevAddr->setText(c.device);
        window.txtReadAddr->setText(c.reg);
        window.txtDec->setText("1");
        fake_.ClearCalls();
        messages_.Clear();
        window.cmdRead_Click();
        window.cmdWrite_Click();
        if (std::string(c.reg) == "40") window.TreeView1_NodeClick(Node(window, "Configuration 1"));
        window.ContinuousRead();
        EXPECT_TRUE(fake_.Calls().empty()) << c.device << " " << c.reg;
        EXPECT_FALSE(messages_.Messages().empty()) << c.device << " " << c.reg;
    }
    // The continuous read says nothing: its message would come back every second.
    window.txtDevAddr->setText("0");
    messages_.Clear();
    window.ContinuousRead();
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(RegisterMapWindow, UsesTheDeviceAddressInItsOwnBox) {
    fake_.AddUsbChip(0x5E);
    fake_.UsbChipAt(0x5E)->Poke(0x40, 0x33);
    frmRegMap window;
    window.txtDevAddr->setText("5e");
    window.txtReadAddr->setText("40");
    window.cmdRead_Click();
    EXPECT_EQ(S(window.lblHexVal->text()), "33");
    EXPECT_EQ(USBStuff::DeviceAddress, 0x5C);
}

TEST_F(RegisterMapWindow, BitClickFlipsOneBitOfTheLastRead) {
    frmRegMap window;
    window.lblBit_Click(0);  // nothing read yet: the labels mean nothing
    EXPECT_TRUE(fake_.Calls().empty());

    fake_.SetReg(0x62, 0x04);
    window.TreeView1_NodeClick(Node(window, "Enhanced Acoustics 1"));
    window.lblBit_Click(0);
    EXPECT_EQ(fake_.RegisterWrites(), (std::vector<std::pair<int, int>>{{0x62, 0x05}}));
    EXPECT_EQ(Bits(window), "00000101");
    window.lblBit_Click(2);
    EXPECT_EQ(fake_.Reg(0x62), 0x01);
    window.lblBit_Click(7);
    EXPECT_EQ(fake_.Reg(0x62), 0x81);

    // A read-only register is written all the same; the panel shows what the chip keeps.
    window.TreeView1_NodeClick(Node(window, "Company ID"));
    fake_.ClearCalls();
    window.lblBit_Click(1);
    EXPECT_EQ(fake_.RegisterWrites(), (std::vector<std::pair<int, int>>{{0x3E, 0x43}}));
    EXPECT_EQ(S(window.lblHexVal->text()), "41");

    // A refused write leaves the bit as the chip has it.
    window.txtDevAddr->setText("0");
    window.lblBit_Click(3);
    EXPECT_EQ(Bits(window), "01000001");
}

TEST_F(RegisterMapWindow, ContinuousReadRunsFromTheMasterTimerWhileTicked) {
    RegisterRegisterMapWindows();
    const bool reading = General::ReadingEnabled;
    General::ReadingEnabled = false;
    float now = 1000.0f;
    MasterTimer::SetClock([&now] { return now; });
    MasterTimer::Tasks tasks;

    auto* window = Windows::FindAs<frmRegMap>(Windows::Kind::RegMap);
    ASSERT_EQ(window, nullptr);
    window = qobject_cast<frmRegMap*>(Windows::Open(Windows::Kind::RegMap));
    ASSERT_NE(window, nullptr);
    window->txtReadAddr->setText("4E");
    tasks.Tick();
    EXPECT_TRUE(fake_.Calls().empty());  // box not ticked

    window->chkContRead->setChecked(true);
    tasks.Tick();
    EXPECT_EQ(fake_.RegisterReads(), std::vector<int>{0x4E});
    EXPECT_EQ(S(window->lblRegDescription->text()), "Remote1 Low Limit Register");
    now += 0.5f;
    tasks.Tick();
    EXPECT_EQ(fake_.RegisterReads().size(), 1u);
    // The address typed since is read without pressing Read.
    window->txtReadAddr->setText("4F");
    now += 0.6f;
    tasks.Tick();
    EXPECT_EQ(fake_.RegisterReads(), (std::vector<int>{0x4E, 0x4F}));

    Windows::Close(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(General::RegMapOpen);
    EXPECT_EQ(Windows::Find(Windows::Kind::RegMap), nullptr);
    now += 5.0f;
    tasks.Tick();
    EXPECT_EQ(fake_.RegisterReads().size(), 2u);

    window = qobject_cast<frmRegMap*>(Windows::Open(Windows::Kind::RegMap));
    EXPECT_FALSE(window->chkContRead->isChecked());
    EXPECT_TRUE(window->TreeView1->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(window->TreeView1->topLevelItem(1)->isExpanded());
    Windows::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    MasterTimer::SetClock(nullptr);
    General::ReadingEnabled = reading;
}
