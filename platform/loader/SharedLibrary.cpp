#include "platform/loader/SharedLibrary.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace Loader {

namespace {

void* OpenHandle(const std::string& path, std::string* error) {
#ifdef _WIN32
    void* handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (!handle && error) *error = "cannot load " + path;
#else
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && error) {
        const char* message = dlerror();
        *error = message ? message : "cannot load " + path;
    }
#endif
    return handle;
}

}  // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& fileName,
                                                   const std::string& programFolder,
                                                   std::string* error) {
    void* handle = nullptr;
    if (!programFolder.empty()) {
        const std::filesystem::path local = std::filesystem::path(programFolder) / fileName;
        std::error_code ignored;
        if (std::filesystem::exists(local, ignored)) handle = OpenHandle(local.string(), error);
    }
    if (!handle) handle = OpenHandle(fileName, error);
    if (!handle) return nullptr;
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() {
#ifdef _WIN32
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

void* SharedLibrary::Symbol(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

}  // namespace Loader
