#include "main/DeviceLink.h"

#include <cmath>
#include <memory>

#include "main/ConfigFlags.h"
#include "main/LibraryTransport.h"
#include "main/MessageBox.h"
#include "main/RuntimeError.h"

namespace USBStuff {

int32_t DeviceAddress;
int16_t LinkType;
bool SimulationMode;
std::array<uint8_t, kRegImageSize> RegImage;
std::array<uint8_t, kIoBufferSize> IoBuffer;
std::array<unsigned char, kNameBufferSize> NameBuffer;
std::string FirmwarePath;
std::string ProgramFolder;

namespace {

constexpr int16_t kRequestHeater = 0xDA;
constexpr int16_t kRequestBoard = 0xDB;
constexpr int16_t kRequestBlock = 0xDC;
constexpr int16_t kRequestControl = 0xDD;
constexpr int16_t kRequestRegister = 0xDE;
constexpr int16_t kRequestPort = 0xDF;
constexpr int16_t kDirectionIn = 1;
constexpr int16_t kDirectionOut = 0;
constexpr int16_t kCommsInterrupted = 3;
constexpr int16_t kHeaterError = 5;
// Returned, with no bus traffic, for a request outside what the chip or board can take.
constexpr int16_t kRefused = -1;

Transport* g_override = nullptr;
FatalErrorSink g_sink;
bool g_inFatalError = false;

Transport& Library() {
    static LibraryTransport transport(ProgramFolder);
    return transport;
}

bool IsRegister(int32_t reg) { return reg >= 0 && reg <= 255; }

int16_t Send(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t count,
             unsigned char* buffer) {
    return CurrentTransport().VendorIORequest(request, value, index, direction, count, buffer);
}

// A request whose data stage is empty still hands the library a buffer: one local byte, 0.
int16_t SendEmpty(int16_t request, int32_t value, int32_t index) {
    unsigned char local = 0;
    return Send(request, value, index, kDirectionOut, 0, &local);
}

}  // namespace

Transport& CurrentTransport() { return g_override ? *g_override : Library(); }

void SetTransport(Transport* transport) { g_override = transport; }

int16_t ReadRegister(int32_t address, int32_t reg) {
    if (SimulationMode) return reg >= 0 && reg < kRegImageSize ? RegImage[reg] : 0;
    if (!IsRegister(reg)) return 0;
    if (LinkType == kLinkUsb) {
        IoBuffer[0] = 0;
        if (Send(kRequestRegister, address, reg, kDirectionIn, 1, IoBuffer.data()) != 0)
            ShowFatalError(kCommsInterrupted);
        return IoBuffer[0];
    }
    if (LinkType == kLinkSmbus)
        return static_cast<int16_t>(CurrentTransport().ReadSmbus(address & 0xFF, reg) & 0xFF);
    return 0;
}

int16_t WriteRegister(int32_t address, int32_t reg, int32_t& value) {
    if (SimulationMode) {
        if (reg < 0 || reg >= kRegImageSize || value < 0 || value > 255) return kRefused;
        RegImage[reg] = static_cast<uint8_t>(value);
        return 0;
    }
    if (!IsRegister(reg)) return kRefused;
    if (LinkType == kLinkUsb) {
        if (value > 255) value = 255;
        if (value < 0) return kRefused;
        const int16_t status = SendEmpty(kRequestRegister, address, value * 256 + reg);
        if (status == 0) {
            RefreshAfterWrite(reg);
            return 0;
        }
        ShowFatalError(kCommsInterrupted);
        return status;
    }
    if (LinkType == kLinkSmbus) {
        if (value < 0 || value > 255) return kRefused;
        CurrentTransport().WriteSmbus(address & 0xFF, reg, value);
        return 0;
    }
    return 0;
}

int16_t WriteRegister(int32_t address, int32_t reg, int32_t&& value) {
    return WriteRegister(address, reg, value);
}

int16_t ReadRegisterBlock(int32_t address, int32_t first, int16_t count) {
    if (count < 0 || count > kIoBufferSize) return kRefused;
    if (SimulationMode) {
        if (first < 0 || first + count > kRegImageSize) return kRefused;
        for (int i = 0; i < count; ++i) IoBuffer[i] = RegImage[first + i];
        return 0;
    }
    if (!IsRegister(first) || (count > 0 && !IsRegister(first + count - 1))) return kRefused;
    if (LinkType == kLinkUsb) {
        const int16_t status = Send(kRequestBlock, address, first, kDirectionIn, count, IoBuffer.data());
        if (status != 0) ShowFatalError(kCommsInterrupted);
        return status;
    }
    if (LinkType == kLinkSmbus) {
        for (int i = 0; i < count; ++i) IoBuffer[i] = static_cast<uint8_t>(ReadRegister(address, first + i));
        return 0;
    }
    return 0;
}

int16_t SetHeaterPower(int32_t heater, int32_t& power) {
    if (power > 100) power = 100;
    if (power < 0) power = 0;
    if (LinkType != kLinkUsb) return 0;
    // Byte 0 of the buffer goes out with whatever the last request left there.
    const int16_t status = Send(kRequestHeater, heater, power, kDirectionOut, 1, IoBuffer.data());
    if (status != 0) ShowFatalError(kHeaterError);
    return status;
}

int16_t SetHeaterPower(int32_t heater, int32_t&& power) { return SetHeaterPower(heater, power); }

int16_t ReadHeaterStatus() {
    if (LinkType != kLinkUsb) return 0;
    const int16_t status = Send(kRequestHeater, 0, 0, kDirectionIn, 3, IoBuffer.data());
    if (status != 0) ShowFatalError(kHeaterError);
    return status;
}

int16_t ReadBoardPort(int32_t port) {
    if (LinkType != kLinkUsb) return 0;
    if (Send(kRequestPort, port, 0, kDirectionIn, 1, IoBuffer.data()) != 0)
        ShowFatalError(kCommsInterrupted);
    return IoBuffer[0];
}

int16_t WriteBoardPort(int32_t port, int32_t value) {
    if (LinkType != kLinkUsb || value < 0 || value > 255) return 0;
    const int16_t status = SendEmpty(kRequestPort, port, value);
    if (status != 0) ShowFatalError(kCommsInterrupted);
    return status;
}

int16_t ReadBoardSensor() {
    if (LinkType != kLinkUsb) return 0;
    Send(kRequestBoard, 0, 0, kDirectionIn, 2, IoBuffer.data());
    const float raw = static_cast<float>(IoBuffer[0] * 256 + IoBuffer[1]) / 32.0f;
    return static_cast<int16_t>(std::floor(raw) - 60);
}

int16_t WriteBoardControl(int32_t value, int32_t index) {
    if (LinkType != kLinkUsb) return 0;
    return SendEmpty(kRequestControl, value, index);
}

int16_t SendBoardCommand(int32_t& setting) {
    try {
        IoBuffer[0] = 0x48;
        IoBuffer[1] = 0x03;
        IoBuffer[2] = 0x00;
        IoBuffer[3] = 0xE0;
        int64_t wide = setting;
        if (wide < 0) wide += 256;
        wide *= 64;
        if (wide > INT32_MAX || wide < INT32_MIN) throw RuntimeError(6, "Overflow");
        setting = static_cast<int32_t>(wide);
        const int64_t high = (wide & 0xFFFFFF00LL) / 256;
        if (high < 0 || high > 255) throw RuntimeError(6, "Overflow");
        IoBuffer[4] = static_cast<uint8_t>(wide & 0xFF);
        IoBuffer[5] = static_cast<uint8_t>(high);
        // Byte 6 goes out with whatever it holds.
        Send(kRequestBoard, 0, 0, kDirectionOut, 7, IoBuffer.data());
        return Send(kRequestBoard, 0, 0, kDirectionIn, kIoBufferSize, IoBuffer.data());
    } catch (const RuntimeError& error) {
        Ui::Message(error.Description());
        return error.Number() != 0 ? static_cast<int16_t>(error.Number()) : kRefused;
    }
}

void StringToNameBuffer(const std::string& text) {
    const size_t length = std::min(text.size(), static_cast<size_t>(kNameBufferSize - 1));
    for (size_t i = 0; i < length; ++i) NameBuffer[i] = static_cast<unsigned char>(text[i]);
    NameBuffer[length] = 0;
}

int16_t DownloadFirmware() {
    FirmwarePath = ProgramFolder + "/QuorvexFW_SST.hex";
    // A path that does not fit would reach the library cut short; count the download failed.
    if (FirmwarePath.size() > static_cast<size_t>(kNameBufferSize - 1)) return 0;
    StringToNameBuffer(FirmwarePath);
    return CurrentTransport().LoadFirmWare(NameBuffer.data());
}

void RefreshAfterWrite(int32_t reg) {
    using namespace General;
    switch (reg) {
        case 0x10: DecodeConfig6(); break;
        case 0x11: DecodeConfig7(); break;
        case 0x40: DecodeConfig1(); break;
        case 0x5C:
        case 0x5D:
        case 0x5E: DecodePwmManualMode(reg); break;
        case 0x5F:
        case 0x60:
        case 0x61: DecodePwmFrequencies(); break;
        case 0x73: DecodeConfig2(); break;
        case 0x78: DecodeConfig3(); break;
        case 0x7C: DecodeConfig5(); break;
        case 0x7D: DecodeConfig4(); break;
        default: break;
    }
    UpdateBoardSwitches();
}

std::string FatalMessage(int16_t code) {
    switch (code) {
        case 0: return "Firmware failed to download - Check USB connections";
        case 1: return "SMBus enable error  - Check USB connections";
        case 2: return "Initial Connection Failed - Check USB connections";
        case 3: return "Communications Interrupted - Check USB connections";
        case 4: return "Device not found - Check USB connections";
        case 5: return "Error in Heater Module -  Do you wish to close the application?";
        default: return "";
    }
}

void SetFatalErrorSink(FatalErrorSink sink) { g_sink = std::move(sink); }

void ShowFatalError(int16_t code) {
    // The message box runs an event loop of its own: no tick and no second failure may stack
    // another box on a dead link meanwhile.
    if (g_inFatalError) return;
    g_inFatalError = true;
    if (g_sink.setTimerRunning) g_sink.setTimerRunning(false);
    if (code == kHeaterError) {
        if (Ui::Message(FatalMessage(code), Ui::Icon::None, Ui::Buttons::YesNo) == Ui::Answer::No) {
            if (g_sink.setTimerRunning) g_sink.setTimerRunning(true);
            g_inFatalError = false;
            return;
        }
    } else if (code >= 0 && code <= 4) {
        Ui::Message(FatalMessage(code), Ui::Icon::Critical);
    }
    if (g_sink.unloadAndEnd) g_sink.unloadAndEnd();
    g_inFatalError = false;
}

}  // namespace USBStuff
