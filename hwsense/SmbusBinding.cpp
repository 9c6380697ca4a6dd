#include "SmbusBinding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace hwsense {

namespace {

// By file name alone, so that the platform loader's search order applies. On Linux hwsense's
// run path sends it to hwsense's own folder first; Windows looks in the calling program's folder
// first, where a program ships the libraries it uses.
#ifdef _WIN32
constexpr const char* kSmbusLibraryFile = "smbus.dll";

void* LoadLibraryFile() { return reinterpret_cast<void*>(LoadLibraryA(kSmbusLibraryFile)); }
void ReleaseLibrary(void* library) { FreeLibrary(reinterpret_cast<HMODULE>(library)); }
void* FindFunction(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}
#else
constexpr const char* kSmbusLibraryFile = "libsmbus.so";

void* LoadLibraryFile() { return dlopen(kSmbusLibraryFile, RTLD_NOW | RTLD_LOCAL); }
void ReleaseLibrary(void* library) { dlclose(library); }
void* FindFunction(void* library, const char* name) { return dlsym(library, name); }
#endif

}  // namespace

SmbusBinding::BindResult SmbusBinding::Bind() {
    // Whatever this attempt gives, the functions of an earlier one must not be called any more.
    Unbind();

    void* library = LoadLibraryFile();
    if (library == nullptr) {
        return BindResult::LibraryMissing;
    }
    const auto detect = reinterpret_cast<DetectSmbusFn>(FindFunction(library, "DetectSmbus"));
    const auto read = reinterpret_cast<ReadSmbusFn>(FindFunction(library, "ReadSmbus"));
    const auto write = reinterpret_cast<WriteSmbusFn>(FindFunction(library, "WriteSmbus"));
    const BindResult result = detect == nullptr  ? BindResult::DetectMissing
                              : read == nullptr  ? BindResult::ReadMissing
                              : write == nullptr ? BindResult::WriteMissing
                                                 : BindResult::Bound;
    if (result != BindResult::Bound) {
        ReleaseLibrary(library);
        return result;
    }

    library_ = library;
    ++loadsHeld_;
    detect_ = detect;
    read_ = read;
    write_ = write;
    bound_ = true;
    return result;
}

void SmbusBinding::Release() {
    Unbind();
    if (loadsHeld_ > 0) {
        ReleaseLibrary(library_);
        if (--loadsHeld_ == 0) {
            library_ = nullptr;
        }
    }
}

void SmbusBinding::Unbind() {
    bound_ = false;
    detect_ = nullptr;
    read_ = nullptr;
    write_ = nullptr;
}

void SmbusBinding::Detect(int flag) const { detect_(flag); }

int SmbusBinding::Read(int address, int reg) const { return read_(address, reg); }

void SmbusBinding::Write(int address, int reg, int value) const { write_(address, reg, value); }

}  // namespace hwsense
