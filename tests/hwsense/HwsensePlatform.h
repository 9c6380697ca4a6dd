#pragma once
// What the tests of hwsense need from the platform's loader, the same on Linux and on Windows:
// load a library by path and find its functions, ask whether a library is in the process, and
// load hwsense so that it finds one variant of the scripted SMBus library. Each platform's source
// file implements it; the tests themselves are written once against it.

#include <string>

namespace HwsenseTest {

// Windows programs may bind hwsense by the ordinals of its export table as well as by name; a
// shared object has names alone, and nothing is found in one by ordinal.
enum class Binding { ByName, ByOrdinal };

// How the tests of an initialised hwsense bind it: on Windows by ordinal, as a program written
// against the ordinal table calls it; by name elsewhere.
extern const Binding kReadyBinding;

// The file name under which hwsense loads the SMBus library, and the loader knows it.
extern const char* const kSmbusFileName;

// A path in the folder of one variant of the scripted SMBus library (see ScriptedSmbusVariants).
std::string ScriptedSmbusPath(const std::string& variant);
// The copy of hwsense that the tests load for that variant.
std::string HwsensePath(const std::string& variant);

// Asks the loader without loading: true when a library of that file name or path is in the
// process.
bool IsLoaded(const std::string& nameOrPath);

class Library {
  public:
    explicit Library(const std::string& path);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool IsOpen() const { return handle_ != nullptr; }
    void* Handle() const { return handle_; }

    // Null when the library is not open or lacks the function. By ordinal, the name stands for
    // its place among hwsense's exports.
    void* Address(const char* name, Binding binding = Binding::ByName) const;

    template <typename Function>
    Function Find(const char* name, Binding binding = Binding::ByName) const {
        return reinterpret_cast<Function>(Address(name, binding));
    }

  private:
    void* handle_;
};

// hwsense loaded so that its Initialise finds the variant's scripted SMBus library. On Linux each
// variant's folder holds a copy of hwsense, which finds the library beside itself. On Windows the
// one copy of hwsense.dll lies beside this program, whose folder has no SMBus library, and the
// loader is sent to the variant's folder for as long as this lives.
class HwsenseLibrary : public Library {
  public:
    explicit HwsenseLibrary(const std::string& variant);
    ~HwsenseLibrary();
};

}  // namespace HwsenseTest
