#include "main/ConfigFlags.h"

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

}  // namespace

void DecodeConfig1() {
    const int v = ReadConfigRegister(0x40);
    CfgSTRT = Bit(v, 0);
    CfgLOCK = Bit(v, 1);
    CfgFBST = Bit(v, 3);
    CfgPMON = Bit(v, 4);
    CfgTHIM = Bit(v, 5);
}

void DecodeConfig2() {
    const int v = ReadConfigRegister(0x73);
    CfgFPDT = Bit(v, 0);
    CfgAV = Bit(v, 4);
    CfgATTN = Bit(v, 5);
    CfgShutdown = Bit(v, 7);
}

void DecodeConfig3() {
    const int v = ReadConfigRegister(0x78);
    CfgALERT = Bit(v, 0);
    CfgT25 = Bit(v, 1);
    CfgBOOST = Bit(v, 2);
    CfgFAST = Bit(v, 3);
    CfgDC1 = Bit(v, 4);
    CfgDC2 = Bit(v, 5);
    CfgDC3 = Bit(v, 6);
    CfgDC4 = Bit(v, 7);
}

void DecodeConfig4() {
    const int v = ReadConfigRegister(0x7D);
    // Field value 3 is not a pin function; keep the last one that was.
    if ((v & 3) != 3) Pin14Function = static_cast<int16_t>(v & 3);
    CfgTHoff = Bit(v, 2);
    CfgTHfan = Bit(v, 3);
    Cfg2V5 = Bit(v, 4);
    CfgVccp = Bit(v, 5);
    Cfg5V = Bit(v, 6);
    Cfg12V = Bit(v, 7);
}

void DecodeConfig5() {
    const int v = ReadConfigRegister(0x7C);
    Offset64Mode = !Bit(v, 0);
    CfgR1T = Bit(v, 5);
    CfgLocT = Bit(v, 6);
    CfgR2 = Bit(v, 7);
}

void DecodeConfig6() {
    const int v = ReadConfigRegister(0x10);
    CfgSLO1 = Bit(v, 0);
    CfgSLOL = Bit(v, 1);
    CfgSLO2 = Bit(v, 2);
    CfgSLOP = Bit(v, 3);
    CfgSEN = Bit(v, 4);
    CfgMEN = Bit(v, 5);
    CfgVLow = Bit(v, 6);
    CfgXSL = Bit(v, 7);
}

void DecodeConfig7() {
    const int v = ReadConfigRegister(0x11);
    CfgDTHYS = Bit(v, 0);
    CfgFSPD = Bit(v, 1);
    CfgVxI = Bit(v, 2);
    CfgFDIS = Bit(v, 3);
    CfgTODIS = Bit(v, 4);
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
    for (bool* flag : {&CfgSTRT, &CfgLOCK, &CfgFBST, &CfgPMON, &CfgTHIM, &CfgFPDT, &CfgAV, &CfgATTN,
                       &CfgShutdown, &CfgALERT, &CfgT25, &CfgBOOST, &CfgFAST, &CfgDC1, &CfgDC2,
                       &CfgDC3, &CfgDC4, &CfgTHoff, &CfgTHfan, &Cfg2V5, &CfgVccp, &Cfg5V, &Cfg12V,
                       &Offset64Mode, &CfgR1T, &CfgLocT, &CfgR2, &CfgSLO1, &CfgSLOL, &CfgSLO2,
                       &CfgSLOP, &CfgSEN, &CfgMEN, &CfgVLow, &CfgXSL, &CfgDTHYS, &CfgFSPD, &CfgVxI,
                       &CfgFDIS, &CfgTODIS})
        *flag = false;
    Pin14Function = 0;
    PwmHighFreq.fill(false);
    ManualMode.fill(false);
    SwitchState.fill(false);
}

}  // namespace General
