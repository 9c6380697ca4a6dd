// What a Windows program alone sees of hwsense.dll: its exports numbered by ordinal, as an import
// library or a program that binds by ordinal relies on them. Its behaviour is tested by the tests
// shared with Linux, which the Windows test program builds as well.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "tests/hwsense/HwsenseExports.h"
#include "tests/hwsense/HwsensePlatform.h"

namespace HwsenseTest {
namespace {

TEST(HwsenseWindowsExports, EachNameAndItsOrdinalGiveTheSameFunction) {
    const Library hw(HwsensePath("full"));
    ASSERT_TRUE(hw.IsOpen());
    const auto module = static_cast<HMODULE>(hw.Handle());
    for (size_t i = 0; i < kExports.size(); ++i) {
        SCOPED_TRACE(kExports[i]);
        const FARPROC byName = GetProcAddress(module, kExports[i].c_str());
        EXPECT_NE(byName, nullptr);
        EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(i + 1)), byName);
    }
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(kExports.size() + 1)), nullptr);
}

// Reads the export directory of the loaded image, as an import library or a program that binds by
// ordinal sees it.
TEST(HwsenseWindowsExports, ExportTableHoldsTheFifteenFunctionsAlone) {
    const Library hw(HwsensePath("full"));
    ASSERT_TRUE(hw.IsOpen());
    const auto* image = static_cast<const BYTE*>(hw.Handle());
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
    for (size_t i = 0; i < kExports.size(); ++i) {
        expected[kExports[i]] = static_cast<DWORD>(i + 1);
    }
    EXPECT_EQ(ordinals, expected);
}

}  // namespace
}  // namespace HwsenseTest
