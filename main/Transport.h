#pragma once
// What the device link needs of the two outside libraries: the five functions of the SMBus
// library and the USB board library. The program's own implementation binds the real shared
// libraries at their first call (LibraryTransport); tests install a recording fake instead.
// A function that cannot be bound raises RuntimeError in the caller.

#include <cstdint>

namespace USBStuff {

class Transport {
public:
    virtual ~Transport() = default;
    // SMBus library
    virtual int DetectSmbus(int flag) = 0;
    virtual int ReadSmbus(int address, int reg) = 0;
    virtual int WriteSmbus(int address, int reg, int value) = 0;
    // Binds all three SMBus functions now, raising RuntimeError when the library or any of
    // them is missing (the start-up probe). A fake has nothing to bind.
    virtual void BindSmbus() {}
    // USB board library
    virtual int16_t LoadFirmWare(unsigned char* path) = 0;
    virtual int16_t VendorIORequest(int16_t request, int32_t value, int32_t index,
                                    int16_t direction, int16_t count, unsigned char* buffer) = 0;
};

// The transport every register and board request goes through.
Transport& CurrentTransport();

// Replaces the transport (nullptr restores the bound libraries). For tests.
void SetTransport(Transport* transport);

}  // namespace USBStuff
