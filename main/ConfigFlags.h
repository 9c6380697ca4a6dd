#pragma once
// Decoded copies of the chip's configuration bits, so that the temperature coding, the
// manual-control status and the board's analog switches follow the chip's configuration
// without reading it each time. Decoded at start-up and after every successful register write
// over the USB board; over the SMBus nothing decodes them again after start-up.

#include <array>
#include <cstdint>

namespace General {

// Configuration 1 (0x40)
extern bool CfgSTRT, CfgLOCK, CfgFBST, CfgPMON, CfgTHIM;
// Configuration 2 (0x73)
extern bool CfgFPDT, CfgAV, CfgATTN, CfgShutdown;
// Configuration 3 (0x78)
extern bool CfgALERT, CfgT25, CfgBOOST, CfgFAST, CfgDC1, CfgDC2, CfgDC3, CfgDC4;
// Configuration 4 (0x7D)
extern int16_t Pin14Function;  // 0, 1 or 2; a field value of 3 leaves it as it was
extern bool CfgTHoff, CfgTHfan, Cfg2V5, CfgVccp, Cfg5V, Cfg12V;
// Configuration 5 (0x7C): True when bit 0 is clear (offset-64 temperature coding).
extern bool Offset64Mode;
extern bool CfgR1T, CfgLocT, CfgR2;
// Configuration 6 (0x10)
extern bool CfgSLO1, CfgSLOL, CfgSLO2, CfgSLOP, CfgSEN, CfgMEN, CfgVLow, CfgXSL;
// Configuration 7 (0x11)
extern bool CfgDTHYS, CfgFSPD, CfgVxI, CfgFDIS, CfgTODIS;
// PWM1..PWM3 frequency registers (0x5F..0x61), bit 3 H/L.
extern std::array<bool, 3> PwmHighFreq;
// PWM1..PWM3 configuration registers (0x5C..0x5E): behaviour bits 7:5 all set.
extern std::array<bool, 3> ManualMode;

// Wanted states of the evaluation board's sixteen analog switches: bank 0 (cells 0..7) is
// board port 0x4B, bank 1 (cells 8..15) board port 0x4A.
extern std::array<bool, 16> SwitchState;

inline constexpr int32_t kSwitchPortBank0 = 0x4B;
inline constexpr int32_t kSwitchPortBank1 = 0x4A;

void DecodeConfig1();
void DecodeConfig2();
void DecodeConfig3();
void DecodeConfig4();
void DecodeConfig5();
void DecodeConfig6();
void DecodeConfig7();
void DecodePwmFrequencies();
void DecodePwmManualMode(int32_t reg);
// Runs the seven configuration decoders and the PWM frequency decoder, in that order.
void ReadConfigFlags();
// Sets the switch cells that follow the flags and writes both board ports.
void UpdateBoardSwitches();
// The port byte of a bank (0 or 1). The caller's bank is multiplied by 8.
int32_t PackSwitchByte(int16_t& bank);
int32_t PackSwitchByte(int16_t&& bank);

// Back to the power-on state of the flags (all False, Pin14Function 0). For tests.
void ResetConfigFlags();

}  // namespace General
