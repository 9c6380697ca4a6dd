#include "main/ConfigFlags.h"

#include <initializer_list>

#include "main/DeviceLink.h"

namespace General {

bool CfgSTRT, CfgLOCK, CfgFBST, CfgPMON, CfgTHIM;
bool CfgFPDT, CfgAV, CfgATTN, CfgShutdown;
bool CfgALERT, CfgT25, CfgBOOST, CfgFAST, CfgDC1, CfgDC2, CfgDC3, CfgDC4;
int16_t Pin14Function;
bool CfgTHoff, CfgTHfan, Cfg2V5, CfgVccp, Cfg5V, Cfg12V;
bool Offset64Mode;
bool CfgR1T, CfgLocT, CfgR2;
bool CfgSLO1, CfgSLOL, CfgSLO2, CfgSLOP, CfgSEN, CfgMEN, CfgVLow, CfgXSL;
bool CfgDTHYS, CfgFSPD, CfgVxI, CfgFDIS, CfgTODIS;
std::array<bool, 3> PwmHighFreq;
std::array<bool, 3> ManualMode;
std::array<bool, 16> SwitchState;

namespace {

int ReadConfigRegister(int32_t reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }

bool Bit(int value, int bit) { return (value & (1 << bit)) != 0; }

struct FlagBit {
    bool* flag;
    int bit;
};

// Reads a configuration register once and sets each flag from its bit.
int DecodeBits(int32_t reg, std::initializer_list<FlagBit> flags) {
    const int value = ReadConfigRegister(reg);
    for (const FlagBit& f : flags) *f.flag = Bit(value, f.bit);
    return value;
}

}  // namespace

void DecodeConfig1() {
    DecodeBits(0x40, {{&CfgSTRT, 0}, {&CfgLOCK, 1}, {&CfgFBST, 3}, {&CfgPMON, 4}, {&CfgTHIM, 5}});
}

void DecodeConfig2() {
    DecodeBits(0x73, {{&CfgFPDT, 0}, {&CfgAV, 4}, {&CfgATTN, 5}, {&CfgShutdown, 7}});
}

void DecodeConfig3() {
    DecodeBits(0x78, {{&CfgALERT, 0},
                      {&CfgT25, 1},
                      {&CfgBOOST, 2},
                      {&CfgFAST, 3},
                      {&CfgDC1, 4},
                      {&CfgDC2, 5},
                      {&CfgDC3, 6},
                      {&CfgDC4, 7}});
}

void DecodeConfig4() {
    const int v = DecodeBits(
        0x7D,
        {{&CfgTHoff, 2}, {&CfgTHfan, 3}, {&Cfg2V5, 4}, {&CfgVccp, 5}, {&Cfg5V, 6}, {&Cfg12V, 7}});
    // Field value 3 is not a pin function; keep the last one that was.
    if ((v & 3) != 3) Pin14Function = static_cast<int16_t>(v & 3);
}

void DecodeConfig5() {
    const int v = DecodeBits(0x7C, {{&CfgR1T, 5}, {&CfgLocT, 6}, {&CfgR2, 7}});
    Offset64Mode = !Bit(v, 0);
}

void DecodeConfig6() {
    DecodeBits(0x10, {{&CfgSLO1, 0},
                      {&CfgSLOL, 1},
                      {&CfgSLO2, 2},
                      {&CfgSLOP, 3},
                      {&CfgSEN, 4},
                      {&CfgMEN, 5},
                      {&CfgVLow, 6},
                      {&CfgXSL, 7}});
}

void DecodeConfig7() {
    DecodeBits(0x11, {{&CfgDTHYS, 0}, {&CfgFSPD, 1}, {&CfgVxI, 2}, {&CfgFDIS, 3}, {&CfgTODIS, 4}});
}

void DecodePwmFrequencies() {
    for (int k = 0; k < 3; ++k) PwmHighFreq[k] = Bit(ReadConfigRegister(0x5F + k), 3);
}

void DecodePwmManualMode(int32_t reg) {
    const int v = ReadConfigRegister(reg);
    const int cell = reg - 0x5C;
    if (cell >= 0 && cell < 3) ManualMode[cell] = (v & 0xE0) == 0xE0;
}

void ReadConfigFlags() {
    DecodeConfig1();
    DecodeConfig2();
    DecodeConfig3();
    DecodeConfig4();
    DecodeConfig5();
    DecodeConfig6();
    DecodeConfig7();
    DecodePwmFrequencies();
}

void UpdateBoardSwitches() {
    SwitchState[0] = CfgALERT;
    SwitchState[1] = CfgALERT;
    SwitchState[2] = !CfgT25;
    SwitchState[4] = CfgT25;
    if (Pin14Function == 0) {
        SwitchState[6] = false;
        SwitchState[7] = true;
    } else {
        SwitchState[6] = true;
        SwitchState[7] = false;
    }
    USBStuff::WriteBoardPort(kSwitchPortBank0, PackSwitchByte(0));
    SwitchState[9] = !PwmHighFreq[1];
    SwitchState[10] = !PwmHighFreq[0];
    SwitchState[12] = !PwmHighFreq[2];
    USBStuff::WriteBoardPort(kSwitchPortBank1, PackSwitchByte(1));
}

int32_t PackSwitchByte(int16_t& bank) {
    bank = static_cast<int16_t>(bank * 8);
    int32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        const int cell = bank + i;
        if (cell >= 0 && cell < 16 && SwitchState[cell]) result |= 1 << i;
    }
    return result;
}

int32_t PackSwitchByte(int16_t&& bank) { return PackSwitchByte(bank); }

void ResetConfigFlags() {
    for (bool* flag :
         {&CfgSTRT,  &CfgLOCK,     &CfgFBST,      &CfgPMON,  &CfgTHIM,  &CfgFPDT, &CfgAV,
          &CfgATTN,  &CfgShutdown, &CfgALERT,     &CfgT25,   &CfgBOOST, &CfgFAST, &CfgDC1,
          &CfgDC2,   &CfgDC3,      &CfgDC4,       &CfgTHoff, &CfgTHfan, &Cfg2V5,  &CfgVccp,
          &Cfg5V,    &Cfg12V,      &Offset64Mode, &CfgR1T,   &CfgLocT,  &CfgR2,   &CfgSLO1,
          &CfgSLOL,  &CfgSLO2,     &CfgSLOP,      &CfgSEN,   &CfgMEN,   &CfgVLow, &CfgXSL,
          &CfgDTHYS, &CfgFSPD,     &CfgVxI,       &CfgFDIS,  &CfgTODIS})
        *flag = false;
    Pin14Function = 0;
    PwmHighFreq.fill(false);
    ManualMode.fill(false);
    SwitchState.fill(false);
}

}  // namespace General
