#pragma once

namespace hwsense {

// The outside SMBus library, loaded by file name through the platform's loader and bound by the
// names of its three functions. Holds no state beyond the load, so a program-wide instance needs
// no constructor or destructor to run when hwsense is loaded or unloaded.
class SmbusBinding {
  public:
    enum class BindResult { Bound, LibraryMissing, DetectMissing, ReadMissing, WriteMissing };

    // Loads the library once more and binds its functions. On failure the load is released again
    // and nothing stays bound, also when an earlier Bind had succeeded.
    BindResult Bind();
    // Gives back one load that Bind made; does nothing when none is held, so the library is never
    // released on behalf of someone else who loaded it. Unbinds the functions in either case.
    void Release();

    bool IsBound() const { return bound_; }

    // Only while bound.
    void Detect(int flag) const;
    int Read(int address, int reg) const;
    void Write(int address, int reg, int value) const;

  private:
    using DetectSmbusFn = int (*)(int flag);
    using ReadSmbusFn = int (*)(int address, int reg);
    using WriteSmbusFn = int (*)(int address, int reg, int value);

    void Unbind();

    // Loads by one file name all give the same module, so one handle serves every load held.
    void* library_ = nullptr;
    int loadsHeld_ = 0;
    bool bound_ = false;
    DetectSmbusFn detect_ = nullptr;
    ReadSmbusFn read_ = nullptr;
    WriteSmbusFn write_ = nullptr;
};

}  // namespace hwsense
