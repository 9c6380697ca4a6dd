#include "main/LibraryTransport.h"

#include "main/RuntimeError.h"

namespace USBStuff {

LibraryTransport::LibraryTransport(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

void* LibraryTransport::Bind(std::unique_ptr<Loader::SharedLibrary>& library, const char* file,
                             const char* symbol) {
    if (!library) {
        library = Loader::SharedLibrary::Open(file, programFolder_);
        if (!library) throw RuntimeError(RuntimeError::kFileNotFound, std::string("File not found: ") + file);
    }
    void* address = library->Symbol(symbol);
    if (!address)
        throw RuntimeError(RuntimeError::kEntryPointNotFound,
                           std::string("Can't find DLL entry point ") + symbol + " in " + file);
    return address;
}

template <class F>
static F As(void* address) {
    return reinterpret_cast<F>(address);
}

int LibraryTransport::DetectSmbus(int flag) {
    if (!detectSmbus_) detectSmbus_ = As<int (*)(int)>(Bind(smbus_, kSmbusFile, "DetectSmbus"));
    return detectSmbus_(flag);
}

int LibraryTransport::ReadSmbus(int address, int reg) {
    if (!readSmbus_) readSmbus_ = As<int (*)(int, int)>(Bind(smbus_, kSmbusFile, "ReadSmbus"));
    return readSmbus_(address, reg);
}

int LibraryTransport::WriteSmbus(int address, int reg, int value) {
    if (!writeSmbus_)
        writeSmbus_ = As<int (*)(int, int, int)>(Bind(smbus_, kSmbusFile, "WriteSmbus"));
    return writeSmbus_(address, reg, value);
}

void LibraryTransport::BindSmbus() {
    if (!detectSmbus_) detectSmbus_ = As<int (*)(int)>(Bind(smbus_, kSmbusFile, "DetectSmbus"));
    if (!readSmbus_) readSmbus_ = As<int (*)(int, int)>(Bind(smbus_, kSmbusFile, "ReadSmbus"));
    if (!writeSmbus_)
        writeSmbus_ = As<int (*)(int, int, int)>(Bind(smbus_, kSmbusFile, "WriteSmbus"));
}

int16_t LibraryTransport::LoadFirmWare(unsigned char* path) {
    if (!loadFirmWare_)
        loadFirmWare_ =
            As<short (*)(unsigned char*)>(Bind(boardLink_, kBoardLinkFile, kLoadFirmWareSymbol));
    return loadFirmWare_(path);
}

int16_t LibraryTransport::VendorIORequest(int16_t request, int32_t value, int32_t index,
                                          int16_t direction, int16_t count, unsigned char* buffer) {
    if (!vendorIORequest_)
        vendorIORequest_ = As<short (*)(short, int, int, short, short, unsigned char*)>(
            Bind(boardLink_, kBoardLinkFile, kVendorIORequestSymbol));
    return vendorIORequest_(request, value, index, direction, count, buffer);
}

}  // namespace USBStuff
