// Windows looks for a library named without a folder in the program's folder first and then in
// the folder that SetDllDirectory names. The program's folder holds hwsense.dll but no SMBus
// library; each variant of the scripted one lies in scripted\<variant> beside the program.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/hwsense/HwsenseExports.h"
#include "tests/hwsense/HwsensePlatform.h"

namespace HwsenseTest {

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length);
    return program.substr(0, program.find_last_of('\\'));
}

std::string VariantFolder(const std::string& variant) {
    return ProgramFolder() + "\\scripted\\" + variant;
}

WORD OrdinalOf(const char* name) {
    for (size_t i = 0; i < kExports.size(); ++i) {
        if (kExports[i] == name) {
            return static_cast<WORD>(i + 1);
        }
    }
    return 0;
}

}  // namespace

const Binding kReadyBinding = Binding::ByOrdinal;
const char* const kSmbusFileName = "smbus.dll";

std::string ScriptedSmbusPath(const std::string& variant) {
    return VariantFolder(variant) + "\\smbus.dll";
}

std::string HwsensePath(const std::string&) { return ProgramFolder() + "\\hwsense.dll"; }

bool IsLoaded(const std::string& nameOrPath) {
    return GetModuleHandleA(nameOrPath.c_str()) != nullptr;
}

Library::Library(const std::string& path) : handle_(LoadLibraryA(path.c_str())) {}

Library::~Library() {
    if (handle_ != nullptr) {
        FreeLibrary(static_cast<HMODULE>(handle_));
    }
}

void* Library::Address(const char* name, Binding binding) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    const auto module = static_cast<HMODULE>(handle_);
    FARPROC address = nullptr;
    if (binding == Binding::ByName) {
        address = GetProcAddress(module, name);
    } else if (const WORD ordinal = OrdinalOf(name); ordinal != 0) {
        address = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    }
    // Through void*: a cast straight from FARPROC to another function type draws a warning.
    return reinterpret_cast<void*>(address);
}

HwsenseLibrary::HwsenseLibrary(const std::string& variant) : Library(HwsensePath(variant)) {
    EXPECT_TRUE(SetDllDirectoryA(VariantFolder(variant).c_str()));
}

HwsenseLibrary::~HwsenseLibrary() { SetDllDirectoryA(nullptr); }

}  // namespace HwsenseTest
