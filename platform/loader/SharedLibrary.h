#pragma once
// Run-time binding of an outside library, as the platform's loader does it: the program's own
// folder first, then the loader's search path.

#include <memory>
#include <string>

namespace Loader {

class SharedLibrary {
public:
    // Opens `fileName` from `programFolder` when it is there, else by name on the search path.
    // Returns nullptr and the loader's message in `error` when neither works.
    static std::unique_ptr<SharedLibrary> Open(const std::string& fileName,
                                               const std::string& programFolder,
                                               std::string* error = nullptr);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported symbol, or nullptr.
    void* Symbol(const char* name) const;

private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace Loader
