// Each variant's folder holds a copy of libhwsense.so beside that variant's scripted libsmbus.so,
// which the copy finds through its $ORIGIN run path; so choosing the copy chooses the variant.
#include <dlfcn.h>

#include "tests/hwsense/HwsensePlatform.h"

namespace HwsenseTest {

const Binding kReadyBinding = Binding::ByName;
const char* const kSmbusFileName = "libsmbus.so";

std::string ScriptedSmbusPath(const std::string& variant) {
    return std::string(HWSENSE_SCRIPTED_DIR) + "/" + variant + "/libsmbus.so";
}

std::string HwsensePath(const std::string& variant) {
    return std::string(HWSENSE_SCRIPTED_DIR) + "/" + variant + "/libhwsense.so";
}

bool IsLoaded(const std::string& nameOrPath) {
    void* handle = dlopen(nameOrPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle != nullptr;
}

Library::Library(const std::string& path) : handle_(dlopen(path.c_str(), RTLD_NOW)) {}

Library::~Library() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

void* Library::Address(const char* name, Binding binding) const {
    if (handle_ == nullptr || binding != Binding::ByName) {
        return nullptr;
    }
    return dlsym(handle_, name);
}

HwsenseLibrary::HwsenseLibrary(const std::string& variant) : Library(HwsensePath(variant)) {}

HwsenseLibrary::~HwsenseLibrary() = default;

}  // namespace HwsenseTest
