// hwsense as another program meets it, the same on Linux and on Windows: loaded at run time and
// set to find a scripted SMBus library, so every bus call it makes is logged and checked. Both test
// programs build this file; how each platform loads and finds the libraries is HwsensePlatform.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "hwsense/hwsense.h"
#include "tests/hwsense/HwsensePlatform.h"
#include "tests/hwsense/ScriptedSmbus.h"

bool operator==(const ScriptedCall& a, const ScriptedCall& b) {
    return a.kind == b.kind && a.first == b.first && a.second == b.second && a.third == b.third;
}

void PrintTo(const ScriptedCall& call, std::ostream* out) {
    *out << static_cast<char>(call.kind) << "(" << std::hex << "0x" << call.first << ", 0x"
         << call.second << ", 0x" << call.third << ")";
}

namespace HwsenseTest {
namespace {

constexpr int kChip = 0x2E;
using Calls = std::vector<ScriptedCall>;

ScriptedCall Detect(int flag) { return {kScriptedDetect, flag, 0, 0}; }
ScriptedCall Read(int reg) { return {kScriptedRead, kChip, reg, 0}; }
ScriptedCall Write(int reg, int value) { return {kScriptedWrite, kChip, reg, value}; }

// Binds a member function pointer through the members `library` and `binding` declared before it.
#define BIND(name) decltype(&::name) name = library.Find<decltype(&::name)>(#name, binding)

// One loaded hwsense, set to find the variant's scripted SMBus library, its functions typed by the
// public header.
struct Hwsense {
    explicit Hwsense(const std::string& variant, Binding how = Binding::ByName)
        : binding(how), library(variant) {}
    Binding binding;
    HwsenseLibrary library;
    BIND(Initialise);
    BIND(Cleanup);
    BIND(Get_SuperioId);
    BIND(Get_SuperioSn);
    BIND(Get_CPUTemp);
    BIND(Get_SYSTemp);
    BIND(Get_CPUFan_Speed);
    BIND(Get_SYSFan_Speed);
    BIND(Get_PWRFan_Speed);
    BIND(Set_CPUFan_Speed);
    BIND(Set_SYSFan_Speed);
    BIND(Set_PWRFan_Speed);
    BIND(Set_Low);
    BIND(Set_High);
    BIND(Set_Auto);

    // Every export that must reach the chip only through a bound SMBus library.
    std::vector<std::pair<const char*, std::function<int32_t()>>> BusExports() const {
        return {{"Get_SuperioId", Get_SuperioId},
                {"Get_SuperioSn", Get_SuperioSn},
                {"Get_CPUTemp", Get_CPUTemp},
                {"Get_SYSTemp", Get_SYSTemp},
                {"Get_CPUFan_Speed", Get_CPUFan_Speed},
                {"Get_SYSFan_Speed", Get_SYSFan_Speed},
                {"Get_PWRFan_Speed", Get_PWRFan_Speed},
                {"Set_CPUFan_Speed", [this] { return Set_CPUFan_Speed(50); }},
                {"Set_SYSFan_Speed", [this] { return Set_SYSFan_Speed(50); }},
                {"Set_PWRFan_Speed", [this] { return Set_PWRFan_Speed(50); }},
                {"Set_Low", Set_Low},
                {"Set_High", Set_High},
                {"Set_Auto", Set_Auto}};
    }
};

// The test's own hold on one variant of the scripted SMBus library and its controls.
struct ScriptedBus {
    explicit ScriptedBus(const std::string& variant) : library(ScriptedSmbusPath(variant)) {}
    Binding binding = Binding::ByName;
    Library library;
    BIND(ScriptReset);
    BIND(ScriptSetRegister);
    BIND(ScriptIgnoreWrites);
    BIND(ScriptDelayWrites);
    BIND(ScriptSetReadExtraBits);
    BIND(ScriptCallCount);
    BIND(ScriptCallAt);

    Calls Log() const {
        Calls calls;
        for (int i = 0; i < ScriptCallCount(); ++i) {
            calls.push_back(ScriptCallAt(i));
        }
        return calls;
    }

    // A chip on which every reading and every setter would give a non-zero result.
    void FillChip() const {
        ScriptReset();
        ScriptSetRegister(0x3E, 0x41);
        ScriptSetRegister(0x3D, 0x75);
        ScriptSetRegister(0x25, 0x59);
        ScriptSetRegister(0x27, 0x59);
        for (int reg = 0x28; reg <= 0x2D; ++reg) {
            ScriptSetRegister(reg, 0x05);
        }
    }
};

#undef BIND

void ExpectInert(const Hwsense& hw, const ScriptedBus* bus) {
    for (const auto& [name, call] : hw.BusExports()) {
        EXPECT_EQ(call(), 0) << name;
    }
    if (bus != nullptr) {
        EXPECT_EQ(bus->Log(), Calls{});
    }
}

TEST(HwsenseInitialise, BindsTheLibraryAndDetectsWithFlagOne) {
    ScriptedBus bus("full");
    ASSERT_TRUE(bus.library.IsOpen());
    bus.ScriptReset();
    Hwsense hw("full");
    ASSERT_TRUE(hw.library.IsOpen());

    EXPECT_EQ(hw.Initialise(), 1);
    EXPECT_EQ(bus.Log(), Calls{Detect(1)});
    EXPECT_EQ(hw.Cleanup(), 1);
}

struct InitialiseFailure {
    const char* variant;
    int32_t result;
    bool hasLibrary;
};

constexpr InitialiseFailure kInitialiseFailures[] = {{"absent", 30, false},
                                                     {"without_detect", 31, true},
                                                     {"without_read", 32, true},
                                                     {"without_write", 33, true}};

TEST(HwsenseInitialise, ReportsWhatIsMissingAndReleasesTheLibrary) {
    for (const auto& failure : kInitialiseFailures) {
        SCOPED_TRACE(failure.variant);
        Hwsense hw(failure.variant);
        ASSERT_TRUE(hw.library.IsOpen());
        EXPECT_EQ(hw.Initialise(), failure.result);
        EXPECT_FALSE(IsLoaded(kSmbusFileName));
    }
}

TEST(HwsenseInitialise, LeavesEveryExportInertAfterAFailure) {
    for (const auto& failure : kInitialiseFailures) {
        SCOPED_TRACE(failure.variant);
        // The test's own load keeps whatever hwsense looked up valid, so a call through it would
        // show in the log rather than crash.
        std::unique_ptr<ScriptedBus> bus;
        if (failure.hasLibrary) {
            bus = std::make_unique<ScriptedBus>(failure.variant);
            ASSERT_TRUE(bus->library.IsOpen());
            bus->FillChip();
        }
        Hwsense hw(failure.variant);
        ASSERT_EQ(hw.Initialise(), failure.result);
        ExpectInert(hw, bus.get());

        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_EQ(IsLoaded(ScriptedSmbusPath(failure.variant)), failure.hasLibrary)
            << "released a load that hwsense did not hold";
    }
    EXPECT_FALSE(IsLoaded(kSmbusFileName));
}

TEST(HwsenseLifecycle, TouchesNoBusBeforeInitialiseAndIsNoWorseForTheCalls) {
    ScriptedBus bus("full");
    bus.FillChip();
    Hwsense hw("full");
    ExpectInert(hw, &bus);

    ASSERT_EQ(hw.Initialise(), 1);
    EXPECT_EQ(hw.Get_SuperioId(), 3);
    EXPECT_EQ(hw.Cleanup(), 1);
}

TEST(HwsenseLifecycle, TouchesNoBusAfterCleanupUntilInitialisedAgain) {
    ScriptedBus bus("full");
    Hwsense hw("full");
    ASSERT_EQ(hw.Initialise(), 1);
    EXPECT_EQ(hw.Cleanup(), 1);
    bus.FillChip();
    ExpectInert(hw, &bus);

    ASSERT_EQ(hw.Initialise(), 1);
    EXPECT_EQ(hw.Get_SuperioId(), 3);
    EXPECT_EQ(hw.Cleanup(), 1);
}

TEST(HwsenseLifecycle, RepeatedCleanupLeavesAnotherUsersLoadAlone) {
    ScriptedBus bus("full");
    Hwsense hw("full");
    ASSERT_EQ(hw.Initialise(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(hw.Cleanup(), 1);
    }
    EXPECT_TRUE(IsLoaded(ScriptedSmbusPath("full")));
    bus.ScriptReset();
    EXPECT_EQ(bus.ScriptCallCount(), 0);
}

TEST(HwsenseLifecycle, EachInitialiseIsGivenBackByOneCleanup) {
    {
        Hwsense hw("full");
        ASSERT_EQ(hw.Initialise(), 1);
        EXPECT_TRUE(IsLoaded(kSmbusFileName));
        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_FALSE(IsLoaded(kSmbusFileName));

        ASSERT_EQ(hw.Initialise(), 1);
        ASSERT_EQ(hw.Initialise(), 1);
        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_TRUE(IsLoaded(kSmbusFileName));
        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_FALSE(IsLoaded(kSmbusFileName));
    }
    EXPECT_FALSE(IsLoaded(HwsensePath("full")));
}

// hwsense initialised over the full scripted library and bound as a program on this platform
// binds it, the log emptied before each case.
class ReadyHwsense : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus_.library.IsOpen());
        ASSERT_TRUE(hw_.library.IsOpen());
        ASSERT_EQ(hw_.Initialise(), 1);
        bus_.ScriptReset();
    }
    void TearDown() override { hw_.Cleanup(); }

    ScriptedBus bus_{"full"};
    Hwsense hw_{"full", kReadyBinding};
};

using HwsenseIdentify = ReadyHwsense;
using HwsenseTemperature = ReadyHwsense;
using HwsenseFanSpeed = ReadyHwsense;
using HwsenseField = ReadyHwsense;

TEST_F(HwsenseIdentify, AnswersOnlyForTheExpectedByteInOneRead) {
    struct Case {
        int reg;
        int value;
        int extraBits;
        int32_t expected;
    };
    const Case cases[] = {
        {0x3E, 0x41, 0, 3}, {0x3E, 0x40, 0, 0},     {0x3E, 0xC1, 0, 0},
        {0x3E, 0xFF, 0, 0}, {0x3E, 0x41, 0x100, 3}, {0x3D, 0x75, 0, 5071},
        {0x3D, 0x74, 0, 0}, {0x3D, 0xF5, 0, 0},     {0x3D, 0x75, 0x300, 5071},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "reg 0x" << c.reg << " = 0x" << c.value);
        bus_.ScriptReset();
        bus_.ScriptSetRegister(c.reg, c.value);
        bus_.ScriptSetReadExtraBits(c.extraBits);
        EXPECT_EQ(c.reg == 0x3E ? hw_.Get_SuperioId() : hw_.Get_SuperioSn(), c.expected);
        EXPECT_EQ(bus_.Log(), Calls{Read(c.reg)});
    }
}

TEST_F(HwsenseTemperature, ReadsCodingThenConvertsEitherCoding) {
    struct Case {
        int coding;
        int code;
        int32_t expected;
    };
    const Case cases[] = {
        {0x00, 0x59, 25},   {0x01, 0xE7, -25},  {0x00, 0xD0, -112}, {0x00, 0x00, -64},
        {0x00, 0xBF, 127},  {0x00, 0xC0, -128}, {0x00, 0xFF, -65},  {0x01, 0x7F, 127},
        {0x01, 0x80, -128}, {0x01, 0x00, 0},    {0xFE, 0x59, 25},   {0x81, 0x19, 25},
    };
    const std::pair<int, decltype(hw_.Get_CPUTemp)> exports[] = {{0x25, hw_.Get_CPUTemp},
                                                                 {0x27, hw_.Get_SYSTemp}};
    for (const auto& [reg, read] : exports) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << std::hex << "reg 0x" << reg << " coding 0x"
                                            << c.coding << " code 0x" << c.code);
            bus_.ScriptReset();
            bus_.ScriptSetRegister(0x7C, c.coding);
            bus_.ScriptSetRegister(reg, c.code);
            EXPECT_EQ(read(), c.expected);
            EXPECT_EQ(bus_.Log(), (Calls{Read(0x7C), Read(reg)}));
        }
    }
}

TEST_F(HwsenseFanSpeed, ReadsLowThenHighAndTruncates) {
    struct Case {
        int low;
        int high;
        int extraBits;
        int32_t expected;
    };
    const Case cases[] = {
        {0x00, 0x00, 0, 0},     {0x46, 0x05, 0, 4000},   {0x01, 0x00, 0, 5400000},
        {0x00, 0x01, 0, 21093}, {0x07, 0x00, 0, 771428}, {0x24, 0xFE, 0, 83},
        {0x25, 0xFE, 0, 0},     {0xFF, 0xFF, 0, 0},      {0x46, 0x05, 0x100, 4000},
        {0x00, 0x00, 0x100, 0},
    };
    const std::pair<int, decltype(hw_.Get_CPUFan_Speed)> exports[] = {
        {0x28, hw_.Get_CPUFan_Speed}, {0x2A, hw_.Get_SYSFan_Speed}, {0x2C, hw_.Get_PWRFan_Speed}};
    for (const auto& [lowReg, read] : exports) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << std::hex << "reg 0x" << lowReg << " count 0x"
                                            << c.high << "/0x" << c.low);
            bus_.ScriptReset();
            bus_.ScriptSetRegister(lowReg, c.low);
            bus_.ScriptSetRegister(lowReg + 1, c.high);
            bus_.ScriptSetReadExtraBits(c.extraBits);
            EXPECT_EQ(read(), c.expected);
            EXPECT_EQ(bus_.Log(), (Calls{Read(lowReg), Read(lowReg + 1)}));
        }
    }
}

struct DutyOutput {
    const char* name;
    int configReg;
    int dutyReg;
};

constexpr DutyOutput kDutyOutputs[] = {{"Set_CPUFan_Speed", 0x5C, 0x30},
                                       {"Set_SYSFan_Speed", 0x5D, 0x31},
                                       {"Set_PWRFan_Speed", 0x5E, 0x32}};

class HwsenseFanDutyOutputs : public ReadyHwsense {
  protected:
    decltype(hw_.Set_CPUFan_Speed) Setter(const DutyOutput& output) const {
        return output.configReg == 0x5C   ? hw_.Set_CPUFan_Speed
               : output.configReg == 0x5D ? hw_.Set_SYSFan_Speed
                                          : hw_.Set_PWRFan_Speed;
    }
};

using HwsenseFanDuty = HwsenseFanDutyOutputs;

TEST_F(HwsenseFanDuty, SetsManualModeThenWritesTheTruncatedDuty) {
    const std::pair<int32_t, int> percentToDuty[] = {
        {0, 0}, {1, 2}, {50, 127}, {99, 252}, {100, 254}};
    for (const auto& output : kDutyOutputs) {
        for (const auto& [percent, duty] : percentToDuty) {
            SCOPED_TRACE(testing::Message() << output.name << "(" << percent << ")");
            bus_.ScriptReset();
            bus_.ScriptSetRegister(output.configReg, 0x02);
            EXPECT_EQ(Setter(output)(percent), 1);
            EXPECT_EQ(bus_.Log(), (Calls{Read(output.configReg), Write(output.configReg, 0xE2),
                                         Write(output.dutyReg, duty), Read(output.dutyReg)}));
        }
    }
}

TEST_F(HwsenseFanDuty, KeepsOnlyTheByteOfEachRead) {
    bus_.ScriptSetRegister(0x5C, 0x1F);
    bus_.ScriptSetReadExtraBits(0x100);
    EXPECT_EQ(hw_.Set_CPUFan_Speed(100), 1);
    EXPECT_EQ(bus_.Log(), (Calls{Read(0x5C), Write(0x5C, 0xFF), Write(0x30, 254), Read(0x30)}));
}

TEST_F(HwsenseFanDuty, ReadsBackAtMostFiftyTimesAndNeverWritesAgain) {
    struct Case {
        const char* name;
        int delayReads;
        bool ignored;
        int32_t expected;
        int reads;
    };
    const Case cases[] = {{"shows on the 50th read", 49, false, 1, 50},
                          {"would show on the 51st read", 50, false, 0, 50},
                          {"write dropped", 0, true, 0, 50}};
    for (const auto& output : kDutyOutputs) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << output.name << ": " << c.name);
            bus_.ScriptReset();
            bus_.ScriptSetRegister(output.dutyReg, 0x10);
            bus_.ScriptDelayWrites(output.dutyReg, c.delayReads);
            bus_.ScriptIgnoreWrites(output.dutyReg, c.ignored);
            EXPECT_EQ(Setter(output)(50), c.expected);
            Calls expected{Read(output.configReg), Write(output.configReg, 0xE0),
                           Write(output.dutyReg, 127)};
            expected.insert(expected.end(), c.reads, Read(output.dutyReg));
            EXPECT_EQ(bus_.Log(), expected);
        }
    }
}

TEST_F(HwsenseFanDuty, RefusesPercentOutsideZeroToHundredWithoutTouchingTheBus) {
    for (const auto& output : kDutyOutputs) {
        for (const int32_t percent : {-1, 101, 255, 256, -255, INT_MIN, INT_MAX}) {
            SCOPED_TRACE(testing::Message() << output.name << "(" << percent << ")");
            bus_.ScriptReset();
            EXPECT_EQ(Setter(output)(percent), 0);
            EXPECT_EQ(bus_.Log(), Calls{});
        }
    }
}

TEST_F(HwsenseField, WritesBitsSevenAndSixKeepingTheRest) {
    struct Case {
        const char* name;
        decltype(hw_.Set_Low) set;
        int before;
        int written;
    };
    const Case cases[] = {
        {"Set_Auto", hw_.Set_Auto, 0x15, 0xD5}, {"Set_Low", hw_.Set_Low, 0xD5, 0x55},
        {"Set_High", hw_.Set_High, 0x55, 0x95}, {"Set_Low", hw_.Set_Low, 0x00, 0x40},
        {"Set_High", hw_.Set_High, 0xFF, 0xBF}, {"Set_Auto", hw_.Set_Auto, 0x3F, 0xFF},
        {"Set_Auto", hw_.Set_Auto, 0xC0, 0xC0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << std::hex << " from 0x" << c.before);
        bus_.ScriptReset();
        bus_.ScriptSetRegister(0x7B, c.before);
        EXPECT_EQ(c.set(), 1);
        EXPECT_EQ(bus_.Log(), (Calls{Read(0x7B), Write(0x7B, c.written), Read(0x7B)}));
    }
}

TEST_F(HwsenseField, ReportsAFieldThatDoesNotReadBackWithoutRetrying) {
    const std::pair<const char*, decltype(hw_.Set_Low)> setters[] = {
        {"Set_Low", hw_.Set_Low}, {"Set_High", hw_.Set_High}, {"Set_Auto", hw_.Set_Auto}};
    for (const auto& [name, set] : setters) {
        for (const bool ignored : {true, false}) {
            SCOPED_TRACE(testing::Message() << name << (ignored ? " dropped" : " late"));
            bus_.ScriptReset();
            bus_.ScriptSetRegister(0x7B, 0x00);
            bus_.ScriptIgnoreWrites(0x7B, ignored);
            bus_.ScriptDelayWrites(0x7B, ignored ? 0 : 1);
            EXPECT_EQ(set(), 0);
            ASSERT_EQ(bus_.ScriptCallCount(), 3);
            EXPECT_EQ(bus_.ScriptCallAt(2), Read(0x7B));
        }
    }
}

}  // namespace
}  // namespace HwsenseTest
