// hwsense.dll as a Windows program meets it: loaded at run time, bound by name or by ordinal, and
// talking to a scripted SMBus library. Windows looks for a library named without a folder in the
// program's folder first and then in the folder that SetDllDirectory names. The program's folder
// holds no SMBus library, so each case picks its variant by naming that variant's folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "hwsense/hwsense.h"
#include "tests/hwsense/ScriptedSmbus.h"

bool operator==(const ScriptedCall& a, const ScriptedCall& b) {
    return a.kind == b.kind && a.first == b.first && a.second == b.second && a.third == b.third;
}

void PrintTo(const ScriptedCall& call, std::ostream* out) {
    *out << static_cast<char>(call.kind) << "(" << std::hex << "0x" << call.first << ", 0x"
         << call.second << ", 0x" << call.third << ")";
}

namespace {

constexpr int kChip = 0x2E;
using Calls = std::vector<ScriptedCall>;

ScriptedCall Detect(int flag) { return {kScriptedDetect, flag, 0, 0}; }
ScriptedCall Read(int reg) { return {kScriptedRead, kChip, reg, 0}; }
ScriptedCall Write(int reg, int value) { return {kScriptedWrite, kChip, reg, value}; }

// In ordinal order, from 1.
const std::vector<std::string> kExports = {
    "Initialise",       "Cleanup",          "Get_SuperioId",    "Get_SuperioSn",
    "Get_CPUTemp",      "Get_SYSTemp",      "Get_CPUFan_Speed", "Get_SYSFan_Speed",
    "Get_PWRFan_Speed", "Set_CPUFan_Speed", "Set_SYSFan_Speed", "Set_PWRFan_Speed",
    "Set_Low",          "Set_High",         "Set_Auto"};

WORD OrdinalOf(const std::string& name) {
    for (size_t i = 0; i < kExports.size(); ++i) {
        if (kExports[i] == name) {
            return static_cast<WORD>(i + 1);
        }
    }
    return 0;
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length);
    return program.substr(0, program.find_last_of('\\'));
}

std::string VariantFolder(const std::string& variant) {
    return ProgramFolder() + "\\scripted\\" + variant;
}

// Asks the loader without loading: true when a module of that file name is in the process.
bool IsLoaded(const char* name) { return GetModuleHandleA(name) != nullptr; }

enum class Binding { ByName, ByOrdinal };

class Library {
  public:
    explicit Library(const std::string& path) : handle_(LoadLibraryA(path.c_str())) {}
    ~Library() {
        if (handle_ != nullptr) {
            FreeLibrary(handle_);
        }
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HMODULE Handle() const { return handle_; }
    bool IsOpen() const { return handle_ != nullptr; }

    template <typename Function>
    Function Find(Binding binding, const char* name) const {
        if (handle_ == nullptr) {
            return nullptr;
        }
        const FARPROC address = binding == Binding::ByName
                                    ? GetProcAddress(handle_, name)
                                    : GetProcAddress(handle_, MAKEINTRESOURCEA(OrdinalOf(name)));
        // Through void*: a cast straight from FARPROC changes the function type.
        return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
    }

  private:
    HMODULE handle_;
};

// Where the loader finds "smbus.dll" for as long as it lives.
class SmbusFolder {
  public:
    explicit SmbusFolder(const std::string& variant) {
        EXPECT_TRUE(SetDllDirectoryA(VariantFolder(variant).c_str()));
    }
    ~SmbusFolder() { SetDllDirectoryA(nullptr); }
    SmbusFolder(const SmbusFolder&) = delete;
    SmbusFolder& operator=(const SmbusFolder&) = delete;
};

// Binds a member function pointer through the members `library` and `binding` declared before it.
#define BIND(name) decltype(&::name) name = library.Find<decltype(&::name)>(binding, #name)

// The copy of hwsense.dll beside this program, its functions typed by the public header.
struct Hwsense {
    explicit Hwsense(Binding how = Binding::ByName)
        : binding(how), library(ProgramFolder() + "\\hwsense.dll") {}
    Binding binding;
    Library library;
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
    void ExpectInert() const {
        EXPECT_EQ(Get_SuperioId(), 0);
        EXPECT_EQ(Get_SuperioSn(), 0);
        EXPECT_EQ(Get_CPUTemp(), 0);
        EXPECT_EQ(Get_SYSTemp(), 0);
        EXPECT_EQ(Get_CPUFan_Speed(), 0);
        EXPECT_EQ(Get_SYSFan_Speed(), 0);
        EXPECT_EQ(Get_PWRFan_Speed(), 0);
        EXPECT_EQ(Set_CPUFan_Speed(50), 0);
        EXPECT_EQ(Set_SYSFan_Speed(50), 0);
        EXPECT_EQ(Set_PWRFan_Speed(50), 0);
        EXPECT_EQ(Set_Low(), 0);
        EXPECT_EQ(Set_High(), 0);
        EXPECT_EQ(Set_Auto(), 0);
    }
};

// The test's own hold on one variant of the scripted SMBus library and its controls.
struct ScriptedBus {
    explicit ScriptedBus(const std::string& variant)
        : library(VariantFolder(variant) + "\\smbus.dll") {}
    Binding binding = Binding::ByName;
    Library library;
    BIND(ScriptReset);
    BIND(ScriptSetRegister);
    BIND(ScriptIgnoreWrites);
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

TEST(HwsenseWindowsExports, EachNameAndItsOrdinalGiveTheSameFunction) {
    const Library hw(ProgramFolder() + "\\hwsense.dll");
    ASSERT_TRUE(hw.IsOpen());
    for (size_t i = 0; i < kExports.size(); ++i) {
        SCOPED_TRACE(kExports[i]);
        const FARPROC byName = GetProcAddress(hw.Handle(), kExports[i].c_str());
        EXPECT_NE(byName, nullptr);
        EXPECT_EQ(GetProcAddress(hw.Handle(), MAKEINTRESOURCEA(i + 1)), byName);
    }
    EXPECT_EQ(GetProcAddress(hw.Handle(), MAKEINTRESOURCEA(kExports.size() + 1)), nullptr);
}

// Reads the export directory of the loaded image, as an import library or a program that binds by
// ordinal sees it.
TEST(HwsenseWindowsExports, ExportTableHoldsTheFifteenFunctionsAlone) {
    const Library hw(ProgramFolder() + "\\hwsense.dll");
    ASSERT_TRUE(hw.IsOpen());
    const auto* image = reinterpret_cast<const BYTE*>(hw.Handle());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(entry.VirtualAddress, 0u);
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(image + entry.VirtualAddress);

    EXPECT_STREQ(reinterpret_cast<const char*>(image + exports->Name), "hwsense.dll");
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_EQ(exports->NumberOfFunctions, kExports.size());
    const auto* names = reinterpret_cast<const DWORD*>(image + exports->AddressOfNames);
    const auto* indexes = reinterpret_cast<const WORD*>(image + exports->AddressOfNameOrdinals);
    std::map<std::string, DWORD> ordinals;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        ordinals[reinterpret_cast<const char*>(image + names[i])] = exports->Base + indexes[i];
    }
    std::map<std::string, DWORD> expected;
    for (const std::string& name : kExports) {
        expected[name] = OrdinalOf(name);
    }
    EXPECT_EQ(ordinals, expected);
}

TEST(HwsenseWindowsInitialise, BindsTheLibraryAndDetectsWithFlagOne) {
    const SmbusFolder folder("full");
    const ScriptedBus bus("full");
    ASSERT_TRUE(bus.library.IsOpen());
    bus.ScriptReset();
    const Hwsense hw;
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

TEST(HwsenseWindowsInitialise, ReportsWhatIsMissingAndReleasesTheLibrary) {
    for (const auto& failure : kInitialiseFailures) {
        SCOPED_TRACE(failure.variant);
        const SmbusFolder folder(failure.variant);
        const Hwsense hw;
        ASSERT_TRUE(hw.library.IsOpen());
        EXPECT_EQ(hw.Initialise(), failure.result);
        EXPECT_FALSE(IsLoaded("smbus.dll"));
    }
}

TEST(HwsenseWindowsInitialise, LeavesEveryExportInertAfterAFailure) {
    for (const auto& failure : kInitialiseFailures) {
        SCOPED_TRACE(failure.variant);
        const SmbusFolder folder(failure.variant);
        // The test's own load keeps whatever hwsense looked up valid, so a call through it would
        // show in the log rather than crash.
        std::unique_ptr<ScriptedBus> bus;
        if (failure.hasLibrary) {
            bus = std::make_unique<ScriptedBus>(failure.variant);
            ASSERT_TRUE(bus->library.IsOpen());
            bus->FillChip();
        }
        const Hwsense hw;
        ASSERT_EQ(hw.Initialise(), failure.result);
        hw.ExpectInert();
        if (bus != nullptr) {
            EXPECT_EQ(bus->Log(), Calls{});
        }

        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_EQ(IsLoaded("smbus.dll"), failure.hasLibrary)
            << "released a load that hwsense did not hold";
    }
    EXPECT_FALSE(IsLoaded("smbus.dll"));
}

TEST(HwsenseWindowsLifecycle, EachInitialiseIsGivenBackByOneCleanup) {
    const SmbusFolder folder("full");
    {
        const Hwsense hw;
        ASSERT_EQ(hw.Initialise(), 1);
        EXPECT_TRUE(IsLoaded("smbus.dll"));
        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_FALSE(IsLoaded("smbus.dll"));

        ASSERT_EQ(hw.Initialise(), 1);
        ASSERT_EQ(hw.Initialise(), 1);
        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_TRUE(IsLoaded("smbus.dll"));
        EXPECT_EQ(hw.Cleanup(), 1);
        EXPECT_FALSE(IsLoaded("smbus.dll"));
    }
    EXPECT_FALSE(IsLoaded("hwsense.dll"));
}

TEST(HwsenseWindowsLifecycle, TouchesNoBusOutsideInitialiseAndCleanup) {
    const SmbusFolder folder("full");
    const ScriptedBus bus("full");
    bus.FillChip();
    const Hwsense hw;
    hw.ExpectInert();
    EXPECT_EQ(bus.Log(), Calls{});

    ASSERT_EQ(hw.Initialise(), 1);
    EXPECT_EQ(hw.Get_SuperioId(), 3);
    EXPECT_EQ(hw.Cleanup(), 1);
    bus.FillChip();
    hw.ExpectInert();
    EXPECT_EQ(bus.Log(), Calls{});
}

TEST(HwsenseWindowsLifecycle, RepeatedCleanupLeavesAnotherUsersLoadAlone) {
    const SmbusFolder folder("full");
    const ScriptedBus bus("full");
    const Hwsense hw;
    ASSERT_EQ(hw.Initialise(), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(hw.Cleanup(), 1);
    }
    EXPECT_TRUE(IsLoaded("smbus.dll"));
    bus.ScriptReset();
    EXPECT_EQ(bus.ScriptCallCount(), 0);
}

// hwsense initialised over the full scripted library and bound by ordinal, as a program written
// against the ordinal table calls it; the log emptied before each case.
class ReadyHwsense : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus_.library.IsOpen());
        ASSERT_TRUE(hw_.library.IsOpen());
        ASSERT_EQ(hw_.Initialise(), 1);
        bus_.ScriptReset();
    }
    void TearDown() override { hw_.Cleanup(); }

    SmbusFolder folder_{"full"};
    ScriptedBus bus_{"full"};
    Hwsense hw_{Binding::ByOrdinal};
};

using HwsenseWindowsRead = ReadyHwsense;
using HwsenseWindowsWrite = ReadyHwsense;

TEST_F(HwsenseWindowsRead, IdentifiesTheChipInOneRead) {
    struct Case {
        int reg;
        int value;
        int32_t expected;
    };
    const Case cases[] = {{0x3E, 0x41, 3}, {0x3E, 0x40, 0}, {0x3D, 0x75, 5071}, {0x3D, 0x74, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "reg 0x" << c.reg << " = 0x" << c.value);
        bus_.ScriptReset();
        bus_.ScriptSetRegister(c.reg, c.value);
        EXPECT_EQ(c.reg == 0x3E ? hw_.Get_SuperioId() : hw_.Get_SuperioSn(), c.expected);
        EXPECT_EQ(bus_.Log(), Calls{Read(c.reg)});
    }
}

TEST_F(HwsenseWindowsRead, TemperaturesInEitherCoding) {
    struct Case {
        int coding;
        int code;
        int32_t expected;
    };
    const Case cases[] = {{0x00, 0x59, 25}, {0x01, 0xE7, -25}, {0x00, 0xD0, -112}};
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

TEST_F(HwsenseWindowsRead, FanSpeedsFromLowThenHighByte) {
    struct Case {
        int low;
        int high;
        int32_t expected;
    };
    const Case cases[] = {
        {0x00, 0x00, 0}, {0x46, 0x05, 4000}, {0xFF, 0xFF, 0}, {0x01, 0x00, 5400000}};
    const std::pair<int, decltype(hw_.Get_CPUFan_Speed)> exports[] = {
        {0x28, hw_.Get_CPUFan_Speed}, {0x2A, hw_.Get_SYSFan_Speed}, {0x2C, hw_.Get_PWRFan_Speed}};
    for (const auto& [lowReg, read] : exports) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << std::hex << "reg 0x" << lowReg << " count 0x"
                                            << c.high << "/0x" << c.low);
            bus_.ScriptReset();
            bus_.ScriptSetRegister(lowReg, c.low);
            bus_.ScriptSetRegister(lowReg + 1, c.high);
            EXPECT_EQ(read(), c.expected);
            EXPECT_EQ(bus_.Log(), (Calls{Read(lowReg), Read(lowReg + 1)}));
        }
    }
}

TEST_F(HwsenseWindowsWrite, FanDutyInManualModeReadBack) {
    struct Output {
        const char* name;
        decltype(hw_.Set_CPUFan_Speed) set;
        int configReg;
        int dutyReg;
    };
    const Output outputs[] = {{"Set_CPUFan_Speed", hw_.Set_CPUFan_Speed, 0x5C, 0x30},
                              {"Set_SYSFan_Speed", hw_.Set_SYSFan_Speed, 0x5D, 0x31},
                              {"Set_PWRFan_Speed", hw_.Set_PWRFan_Speed, 0x5E, 0x32}};
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.name);
        bus_.ScriptReset();
        bus_.ScriptSetRegister(output.configReg, 0x02);
        EXPECT_EQ(output.set(100), 1);
        EXPECT_EQ(bus_.Log(), (Calls{Read(output.configReg), Write(output.configReg, 0xE2),
                                     Write(output.dutyReg, 254), Read(output.dutyReg)}));

        bus_.ScriptReset();
        bus_.ScriptIgnoreWrites(output.dutyReg, 1);
        EXPECT_EQ(output.set(50), 0);
        Calls dropped{Read(output.configReg), Write(output.configReg, 0xE0),
                      Write(output.dutyReg, 127)};
        dropped.insert(dropped.end(), 50, Read(output.dutyReg));
        EXPECT_EQ(bus_.Log(), dropped);
    }
}

TEST_F(HwsenseWindowsWrite, FieldBitsSevenAndSixKeepingTheRest) {
    struct Case {
        const char* name;
        decltype(hw_.Set_Low) set;
        int before;
        int written;
    };
    const Case cases[] = {{"Set_Auto", hw_.Set_Auto, 0x15, 0xD5},
                          {"Set_Low", hw_.Set_Low, 0xD5, 0x55},
                          {"Set_High", hw_.Set_High, 0x55, 0x95}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bus_.ScriptReset();
        bus_.ScriptSetRegister(0x7B, c.before);
        EXPECT_EQ(c.set(), 1);
        EXPECT_EQ(bus_.Log(), (Calls{Read(0x7B), Write(0x7B, c.written), Read(0x7B)}));
    }
}

}  // namespace
