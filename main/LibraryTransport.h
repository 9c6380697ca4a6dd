#pragma once
// The real transport: the SMBus library and the USB board library, bound at run time, each
// function at its first call. A library that cannot be loaded raises RuntimeError "File not
// found: <file>"; a missing function "Can't find DLL entry point <name> in <file>".

#include <memory>
#include <string>

#include "main/Transport.h"
#include "platform/loader/SharedLibrary.h"

namespace USBStuff {

class LibraryTransport : public Transport {
public:
    // Libraries are looked for in `programFolder` first.
    explicit LibraryTransport(std::string programFolder);

    int DetectSmbus(int flag) override;
    int ReadSmbus(int address, int reg) override;
    int WriteSmbus(int address, int reg, int value) override;
    void BindSmbus() override;
    int16_t LoadFirmWare(unsigned char* path) override;
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                            int16_t count, unsigned char* buffer) override;

    static constexpr const char* kSmbusFile = "libsmbus.so";
    static constexpr const char* kBoardLinkFile = "libBoardLink.so";
    // The board library's functions are bound by their compiler-decorated names.
    static constexpr const char* kLoadFirmWareSymbol = "_Z12LoadFirmWarePh";
    static constexpr const char* kVendorIORequestSymbol = "_Z15VendorIORequestsiissPh";

private:
    void* Bind(std::unique_ptr<Loader::SharedLibrary>& library, const char* file, const char* symbol);

    std::string programFolder_;
    std::unique_ptr<Loader::SharedLibrary> smbus_;
    std::unique_ptr<Loader::SharedLibrary> boardLink_;
    int (*detectSmbus_)(int) = nullptr;
    int (*readSmbus_)(int, int) = nullptr;
    int (*writeSmbus_)(int, int, int) = nullptr;
    short (*loadFirmWare_)(unsigned char*) = nullptr;
    short (*vendorIORequest_)(short, int, int, short, short, unsigned char*) = nullptr;
};

}  // namespace USBStuff
