#pragma once
// The device link: the only road between the program and the hardware. Every window reads and
// writes the chip through ReadRegister, WriteRegister and ReadRegisterBlock; the board's own
// requests (heaters, ports, sensor, control word, command) and the firmware download live here
// too. Requests go through the current Transport (the two outside libraries).

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace USBStuff {

inline constexpr int16_t kLinkUsb = 1;
inline constexpr int16_t kLinkSmbus = 2;
inline constexpr int kIoBufferSize = 64;
inline constexpr int kRegImageSize = 201;
inline constexpr int kNameBufferSize = 512;

// Bus address of the selected chip in 8-bit form; 0 until the first device-list selection.
extern int32_t DeviceAddress;
// 1 = USB evaluation board, 2 = SMBus; any other value makes register operations do nothing.
extern int16_t LinkType;
// When set, register operations use RegImage instead of any bus. Start-up clears it.
extern bool SimulationMode;
extern std::array<uint8_t, kRegImageSize> RegImage;
// Transfer buffer of board requests and block reads, overwritten by each of them: a block
// read of n registers from r leaves register r + i in byte i. Bytes a request does not fill
// keep what the previous request left.
extern std::array<uint8_t, kIoBufferSize> IoBuffer;
extern std::array<unsigned char, kNameBufferSize> NameBuffer;
extern std::string FirmwarePath;
// The program's folder: where the firmware file and the outside libraries are looked for first.
extern std::string ProgramFolder;

// Register operations. Results are 0..255 (reads) or a status, 0 = success. A failed USB
// request ends the program through ShowFatalError(3).
int16_t ReadRegister(int32_t address, int32_t reg);
// Over the USB board a value above 255 is sent as 255 and the caller's variable is set to 255.
int16_t WriteRegister(int32_t address, int32_t reg, int32_t& value);
int16_t WriteRegister(int32_t address, int32_t reg, int32_t&& value);
int16_t ReadRegisterBlock(int32_t address, int32_t first, int16_t count);

// Board requests; each sends nothing and returns 0 unless LinkType is 1 (SendBoardCommand
// aside). A heater request clamps the caller's power to 0..100.
int16_t SetHeaterPower(int32_t heater, int32_t& power);
int16_t SetHeaterPower(int32_t heater, int32_t&& power);
int16_t ReadHeaterStatus();
int16_t ReadBoardPort(int32_t port);
int16_t WriteBoardPort(int32_t port, int32_t value);
int16_t ReadBoardSensor();
int16_t WriteBoardControl(int32_t value, int32_t index);
// Changes the caller's setting (negative + 256, then x 64). Sent whatever the link.
int16_t SendBoardCommand(int32_t& setting);
int16_t DownloadFirmware();
void StringToNameBuffer(const std::string& text);

// Re-decodes the configuration register just written over the USB board and rewrites the
// board switch ports.
void RefreshAfterWrite(int32_t reg);

// Shows the message of `code` (0..5), unloads every window and ends the program. For code 5
// (a heater failure) the user is asked, and on No it returns.
void ShowFatalError(int16_t code);
// The six messages, "" outside 0..5.
std::string FatalMessage(int16_t code);

// What ShowFatalError does besides its message box (Ui::Message); the main window installs it.
struct FatalErrorSink {
    // Stops the master timer (before the message, so no tick runs inside the message box's
    // event loop), and starts it again when a heater failure is answered No.
    std::function<void(bool running)> setTimerRunning;
    // Unloads every window and ends the program.
    std::function<void()> unloadAndEnd;
};
void SetFatalErrorSink(FatalErrorSink sink);

}  // namespace USBStuff
