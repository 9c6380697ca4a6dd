#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "main/registers/RegisterTable.h"

using namespace RegMapStuff;

namespace {

class RegisterTableTest : public ::testing::Test {
  protected:
    void SetUp() override { BuildRegisterTable(); }
};

std::vector<int> AddressesWhere(bool (*pick)(const RegisterInfo&)) {
    std::vector<int> addresses;
    for (const auto& info : RegisterTable) {
        if (pick(info)) addresses.push_back(info.Address);
    }
    return addresses;
}

}  // namespace

TEST_F(RegisterTableTest, HoldsTheRecordsInFileOrder) {
    ASSERT_EQ(RegisterTable.size(), 129u);
    EXPECT_EQ(RegisterTable[0].Address, 0x10);
    EXPECT_EQ(RegisterTable[1].Address, 0x11);
    EXPECT_EQ(RegisterTable[2].Address, 0x1A);
    EXPECT_EQ(RegisterTable[119].Address, 0x90);
    EXPECT_EQ(RegisterTable[120].Address, 0x94);
    EXPECT_EQ(RegisterTable[123].Address, 0x97);
    // Records 2..123 rise strictly: the settings files depend on this order.
    for (int i = 3; i <= 123; ++i)
        EXPECT_GT(RegisterTable[i].Address, RegisterTable[i - 1].Address);
}

TEST_F(RegisterTableTest, DistinctAddressesAndGaps) {
    std::set<int> addresses;
    for (const auto& info : RegisterTable) addresses.insert(info.Address);
    EXPECT_EQ(addresses.size(), 124u);
    for (int missing : {0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x37, 0x91, 0x92, 0x93}) {
        EXPECT_EQ(addresses.count(missing), 0u) << std::hex << missing;
        EXPECT_EQ(FindRegisterByAddress(missing), -1) << std::hex << missing;
    }
    for (int a = 0x10; a <= 0x97; ++a) {
        const bool gap = (a >= 0x12 && a <= 0x19) || a == 0x37 || (a >= 0x91 && a <= 0x93);
        EXPECT_EQ(addresses.count(a), gap ? 0u : 1u) << std::hex << a;
    }
}

TEST_F(RegisterTableTest, ReadOnlyRecords) {
    std::vector<int> expected;
    for (int a = 0x1A; a <= 0x2F; ++a) expected.push_back(a);
    for (int a : {0x33, 0x3E, 0x3F, 0x41, 0x42, 0x43, 0x76, 0x77, 0x79, 0x7E, 0x7F, 0x81, 0x89}) {
        expected.push_back(a);
    }
    const auto readOnly = AddressesWhere([](const RegisterInfo& i) { return i.ReadOnly; });
    EXPECT_EQ(readOnly, expected);
    EXPECT_EQ(readOnly.size(), 35u);
}

TEST_F(RegisterTableTest, AliasesShareTheAddressOfAnEarlierRecord) {
    struct Case {
        int alias;
        const char* name;
        int original;
        int address;
    };
    const Case cases[] = {{124, "Remote1 Trange", 70, 0x5F},
                          {125, "Local Trange", 71, 0x60},
                          {126, "Remote2 Trange", 72, 0x61},
                          {127, "Local Hysteresis", 84, 0x6D},
                          {128, "PECI Hysteresis", 85, 0x6E}};
    for (const auto& c : cases) {
        const RegisterInfo& alias = RegisterTable[c.alias];
        EXPECT_TRUE(alias.IsAlias);
        EXPECT_FALSE(alias.ReadOnly);
        EXPECT_EQ(alias.Name, c.name);
        EXPECT_EQ(alias.Address, c.address);
        EXPECT_EQ(RegisterTable[c.original].Address, c.address);
        EXPECT_EQ(alias.BitNames, RegisterTable[c.original].BitNames);
        // By address the original is found, by name the alias.
        EXPECT_EQ(FindRegisterByAddress(c.address), c.original);
        EXPECT_EQ(FindRegisterByName(c.name), c.alias);
    }
    const auto aliases = AddressesWhere([](const RegisterInfo& i) { return i.IsAlias; });
    EXPECT_EQ(aliases.size(), 5u);
    for (int i = 0; i < 124; ++i) EXPECT_FALSE(RegisterTable[i].IsAlias) << i;
}

TEST_F(RegisterTableTest, NamesAreUniqueAndDescriptionsCopyThem) {
    std::set<std::string> names;
    for (const auto& info : RegisterTable) {
        EXPECT_TRUE(names.insert(info.Name).second) << info.Name;
        EXPECT_EQ(info.Description, info.Name);
        EXPECT_EQ(FindRegisterByName(info.Name), &info - RegisterTable.data());
    }
}

TEST_F(RegisterTableTest, RecordsAsStored) {
    struct Case {
        int index, address;
        const char* name;
        const char* bits;
        int defaultValue;
        bool readOnly;
    };
    const Case cases[] = {
        {0, 0x10, "Configuration 6", "XSL:VLow:MEN:SEN:SLOP:SLO2:SLOL:SLO1", 0x00, false},
        {24, 0x30, "PWM1 % Duty", "7:6:5:4:3:2:1:0", 0xFF, false},
        {35, 0x3C, "PECI Trange/Acoustics", "RNG:RNG:RNG:RNG:ENP:ACOU:ACOU:ACOU", 0xC0, false},
        {37, 0x3E, "Company ID", "7:6:5:4:3:2:1:0", 0x41, true},
        {38, 0x3F, "Version/Revision", "VER:VER:VER:VER:4W:PECI:REV:REV", 0x6C, true},
        {39, 0x40, "Configuration 1", "-:-:THIM:PMON:FBST:RDY:LOCK:STRT", 0x04, false},
        {67, 0x5C, "PWM1 Configuration", "BHVR:BHVR:BHVR:INV:ALT:Spin:Spin:Spin", 0x62, false},
        {81, 0x6A, "Remote 1 THERM# Temp Limit", "7:6:5:4:3:2:1:0", 0x64, false},
        {89, 0x72, "Remote 2 Temperatue Offset", "7:6:5:4:3:2:1:0", 0x00, false},
        {94, 0x77, "Extended Resolution 2", "TDM2:TDM2:LTMP:LTMP:TDM1:TDM1:12V:12V", 0x00, true},
        {99, 0x7C, "Configuration 5", "R2:LocT:R1T:PECI:3:2:Temp:2's", 0x01, false},
        {109, 0x86, "Vtt High limit", "7:6:5:4:3:2:1:0", 0xFF, false},
        {112, 0x89, "Test 3", "7:6:5:4:3:2:1:0", 0x00, true},
        {113, 0x8A, "PECI Operating Point", "7:6:5:4:3:2:1:0", 0xFB, false},
        {118, 0x8F, "Dynamic Tmin Control 2", "CYR2:CYR2:CYL:CLY:CYL:CYR1:CYR1:CYR1", 0x00, false},
        {17, 0x29, "Tach1 High Byte", "15:14:13:12:11:10:9:8", 0x00, true},
    };
    for (const auto& c : cases) {
        const RegisterInfo& info = RegisterTable[c.index];
        EXPECT_EQ(info.Address, c.address) << c.name;
        EXPECT_EQ(info.Name, c.name);
        EXPECT_EQ(info.BitNames, c.bits) << c.name;
        EXPECT_EQ(info.DefaultValue, c.defaultValue) << c.name;
        EXPECT_EQ(info.ReadOnly, c.readOnly) << c.name;
    }
}

TEST_F(RegisterTableTest, EveryBitNamesTextHasEightNames) {
    for (const auto& info : RegisterTable) {
        const auto names = SplitBitNames(info.BitNames);
        int colons = 0;
        for (char ch : info.BitNames) colons += ch == ':';
        EXPECT_EQ(colons, 7) << info.Name;
        for (const auto& name : names) EXPECT_FALSE(name.empty()) << info.Name;
    }
}

TEST(SplitBitNames, SplitsBitSevenFirst) {
    const auto names = SplitBitNames("-:-:-:TODIS:FDIS:VxI:FSPD:DTHYS");
    const std::array<std::string, 8> expected = {"-",    "-",   "-",    "TODIS",
                                                 "FDIS", "VxI", "FSPD", "DTHYS"};
    EXPECT_EQ(names, expected);
    // A short text leaves the missing names empty rather than failing.
    const auto shortNames = SplitBitNames("A:B");
    EXPECT_EQ(shortNames[0], "A");
    EXPECT_EQ(shortNames[1], "B");
    EXPECT_EQ(shortNames[2], "");
}

TEST(RegisterTableLookup, IndexBoundsAndUnknownNames) {
    BuildRegisterTable();
    EXPECT_EQ(RegisterAt(-1), nullptr);
    EXPECT_EQ(RegisterAt(129), nullptr);
    ASSERT_NE(RegisterAt(128), nullptr);
    EXPECT_EQ(RegisterAt(128)->Name, "PECI Hysteresis");
    EXPECT_EQ(FindRegisterByName("Remote 2 Temperature Offset"), -1);  // stored misspelt
    EXPECT_EQ(FindRegisterByName(""), -1);
    EXPECT_EQ(FindRegisterByAddress(0x98), -1);
    EXPECT_EQ(FindRegisterByAddress(0), -1);
}

TEST(RegisterTableLookup, DescriptionsAreAvailableBeforeTheTableIsBuilt) {
    // The simulated chip takes its power-on image from here, independent of start-up.
    const auto& descriptions = RegisterDescriptions();
    EXPECT_EQ(descriptions[37].Name, "Company ID");
    EXPECT_EQ(descriptions[37].DefaultValue, 0x41);
}

TEST(RegisterTableLookup, UnbuiltTableFindsNothing) {
    // Until start-up builds it every record is empty; address 0 must not match those.
    RegisterTable = {};
    EXPECT_EQ(FindRegisterByAddress(0), -1);
    EXPECT_EQ(FindRegisterByAddress(0x3E), -1);
    EXPECT_EQ(FindRegisterByName("Company ID"), -1);
    BuildRegisterTable();
    EXPECT_EQ(FindRegisterByAddress(0x3E), 37);
}
