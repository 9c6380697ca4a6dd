#include "main/registers/RegisterTable.h"

#include <algorithm>

namespace RegMapStuff {

std::array<RegisterInfo, kRegisterCount> RegisterTable;

namespace {

struct Row {
    int32_t address;
    const char* name;
    const char* bitNames;
    int16_t defaultValue;
    bool readOnly;
    bool isAlias;
};

// Index order matters: the settings files write registers in it, and the five aliases at the
// end share their address with an earlier record so that a lookup by address finds the
// original. The alias rows carry no default: nothing reads an alias's default.
constexpr Row kRows[kRegisterCount] = {
    {0x10, "Configuration 6", "XSL:VLow:MEN:SEN:SLOP:SLO2:SLOL:SLO1", 0x00, false, false},
    {0x11, "Configuration 7", "-:-:-:TODIS:FDIS:VxI:FSPD:DTHYS", 0x00, false, false},
    {0x1A, "PECI1", "7:6:5:4:3:2:1:0", 0x80, true, false},
    {0x1B, "PECI2", "7:6:5:4:3:2:1:0", 0x80, true, false},
    {0x1C, "PECI3", "7:6:5:4:3:2:1:0", 0x80, true, false},
    {0x1D, "IMON Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x1E, "Vtt Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x1F, "Extended Resolution 3", "IMON:IMON:Vtt:Vtt:-:-:-:-", 0x00, true, false},
    {0x20, "2.5V Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x21, "Vccp Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x22, "Vcc Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x23, "5V Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x24, "12V Value", "9:8:7:6:5:4:3:2", 0x00, true, false},
    {0x25, "Remote1 Temp", "9:8:7:6:5:4:3:2", 0x80, true, false},
    {0x26, "Local Temp", "9:8:7:6:5:4:3:2", 0x80, true, false},
    {0x27, "Remote2 Temp", "9:8:7:6:5:4:3:2", 0x80, true, false},
    {0x28, "Tach1 Low Byte", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x29, "Tach1 High Byte", "15:14:13:12:11:10:9:8", 0x00, true, false},
    {0x2A, "Tach2 Low Byte", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x2B, "Tach2 High Byte", "15:14:13:12:11:10:9:8", 0x00, true, false},
    {0x2C, "Tach3 Low Byte", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x2D, "Tach3 High Byte", "15:14:13:12:11:10:9:8", 0x00, true, false},
    {0x2E, "Tach4 Low Byte", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x2F, "Tach4 High Byte", "15:14:13:12:11:10:9:8", 0x00, true, false},
    {0x30, "PWM1 % Duty", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x31, "PWM2 % Duty", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x32, "PWM3 % Duty", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x33, "PECI0", "7:6:5:4:3:2:1:0", 0x80, true, false},
    {0x34, "PECI Low Limit", "7:6:5:4:3:2:1:0", 0x81, false, false},
    {0x35, "PECI High Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x36, "PECI Configuration 1", "-:-:-:REPL:DOM0:AVG2:AVG1:AVG0", 0x00, false, false},
    {0x38, "Max PWM1 Duty", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x39, "Max PWM2 Duty", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x3A, "Max PWM3 Duty", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x3B, "PECI Tmin", "7:6:5:4:3:2:1:0", 0xE0, false, false},
    {0x3C, "PECI Trange/Acoustics", "RNG:RNG:RNG:RNG:ENP:ACOU:ACOU:ACOU", 0xC0, false, false},
    {0x3D, "PECI Tcontrol", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x3E, "Company ID", "7:6:5:4:3:2:1:0", 0x41, true, false},
    {0x3F, "Version/Revision", "VER:VER:VER:VER:4W:PECI:REV:REV", 0x6C, true, false},
    {0x40, "Configuration 1", "-:-:THIM:PMON:FBST:RDY:LOCK:STRT", 0x04, false, false},
    {0x41, "Interrupt Status 1", "OOL:R2T:LT:R1T:5V:VCC:VCCP:2.5/TH", 0x00, true, false},
    {0x42, "Interrupt Status 2", "D2:D1:FAN4:FAN3:FAN2:FAN1:OOL:12V/VC", 0x00, true, false},
    {0x43, "Interrupt Status 3", "OOL:-:-:-:OVT:COMM:DATA:PECI0", 0x00, true, false},
    {0x44, "2.5V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x45, "2.5V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x46, "Vccp Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x47, "Vccp High Limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x48, "Vcc Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x49, "Vcc High Limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x4A, "5V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x4B, "5V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x4C, "12V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x4D, "12V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x4E, "Remote1 Low Limit", "7:6:5:4:3:2:1:0", 0x81, false, false},
    {0x4F, "Remote1 High Limit", "7:6:5:4:3:2:1:0", 0x7F, false, false},
    {0x50, "Local Low Limit", "7:6:5:4:3:2:1:0", 0x81, false, false},
    {0x51, "Local High Limit", "7:6:5:4:3:2:1:0", 0x7F, false, false},
    {0x52, "Remote2 Low Limit", "7:6:5:4:3:2:1:0", 0x81, false, false},
    {0x53, "Remote2 High Limit", "7:6:5:4:3:2:1:0", 0x7F, false, false},
    {0x54, "Tach1 Minimum Low Byte", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x55, "Tach1 Minimum High Byte", "15:14:13:12:11:10:9:8", 0xFF, false, false},
    {0x56, "Tach2 Minimum Low Byte", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x57, "Tach2 Minimum High Byte", "15:14:13:12:11:10:9:8", 0xFF, false, false},
    {0x58, "Tach3 Minimum Low Byte", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x59, "Tach3 Minimum High Byte", "15:14:13:12:11:10:9:8", 0xFF, false, false},
    {0x5A, "Tach4 Minimum Low Byte", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x5B, "Tach4 Minimum High Byte", "15:14:13:12:11:10:9:8", 0xFF, false, false},
    {0x5C, "PWM1 Configuration", "BHVR:BHVR:BHVR:INV:ALT:Spin:Spin:Spin", 0x62, false, false},
    {0x5D, "PWM2 Configuration", "BHVR:BHVR:BHVR:INV:ALT:Spin:Spin:Spin", 0x62, false, false},
    {0x5E, "PWM3 Configuration", "BHVR:BHVR:BHVR:INV:ALT:Spin:Spin:Spin", 0x62, false, false},
    {0x5F, "PWM1 Frequency", "RNG:RNG:RNG:RNG:H/L:FRQ:FRQ:FRQ", 0xC4, false, false},
    {0x60, "PWM2 Frequency", "RNG:RNG:RNG:RNG:H/L:FRQ:FRQ:FRQ", 0xC4, false, false},
    {0x61, "PWM3 Frequency", "RNG:RNG:RNG:RNG:H/L:FRQ:FRQ:FRQ", 0xC4, false, false},
    {0x62, "Enhanced Acoustics 1", "Min3:Min2:Min1:SYNC:EN1:Acou:Acou:Acou", 0x00, false, false},
    {0x63, "Enhanced Acoustics 2", "EN2:Acou2:Acou2:Acou2:EN3:Acou3:Acou3:Acou3", 0x00, false,
     false},
    {0x64, "PWM1 Min Duty Cycle", "7:6:5:4:3:2:1:0", 0x80, false, false},
    {0x65, "PWM2 Min Duty Cycle", "7:6:5:4:3:2:1:0", 0x80, false, false},
    {0x66, "PWM3 Min Duty Cycle", "7:6:5:4:3:2:1:0", 0x80, false, false},
    {0x67, "Remote 1 Temp Tmin", "7:6:5:4:3:2:1:0", 0x5A, false, false},
    {0x68, "Local Temp Tmin", "7:6:5:4:3:2:1:0", 0x5A, false, false},
    {0x69, "Remote 2 Temp Tmin", "7:6:5:4:3:2:1:0", 0x5A, false, false},
    {0x6A, "Remote 1 THERM# Temp Limit", "7:6:5:4:3:2:1:0", 0x64, false, false},
    {0x6B, "Local THERM# Temp Limit", "7:6:5:4:3:2:1:0", 0x64, false, false},
    {0x6C, "Remote 2 THERM# Temp Limit", "7:6:5:4:3:2:1:0", 0x64, false, false},
    {0x6D, "Remote1 Hysteresis", "HYSR1:HYSR1:HYSR1:HYSR1:HYSL:HYSL:HYSL:HYSL", 0x44, false, false},
    {0x6E, "Remote2 Hysteresis", "HYSR2:HYSR2:HYSR2:HYSR2:HYSP:HYSP:HYSP:HYSP", 0x44, false, false},
    {0x6F, "XNOR Tree Test Enable", "7:6:5:4:3:2:1:XEN", 0x00, false, false},
    {0x70, "Remote 1 Temperature Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x71, "Local Temperature Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x72, "Remote 2 Temperatue Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x73, "Configuration 2", "Shutdown:CONV:ATTN:AV:F3D:F2D:F1D:FPDT", 0x00, false, false},
    {0x74, "Interrupt Mask 1", "OOL:R2T:LT:R1T:5V:Vcc:Vccp:2.5V/TH", 0x00, false, false},
    {0x75, "Interrupt Mask 2", "D2:D1:F4P:Fan3:Fan2:Fan1:OVT:12V/VC", 0x00, false, false},
    {0x76, "Extended Resolution 1", "5V:5V:Vcc:Vcc:Vccp:Vccp:2.5V:2.5V", 0x00, true, false},
    {0x77, "Extended Resolution 2", "TDM2:TDM2:LTMP:LTMP:TDM1:TDM1:12V:12V", 0x00, true, false},
    {0x78, "Configuration 3", "DC4:DC3:DC2:DC1:FAST:BOOST:T/2.5:ALERT", 0x00, false, false},
    {0x79, "THERM# Timer Status", "TMR:TMR:TMR:TMR:TMR:TMR:TMR:ASRT", 0x00, true, false},
    {0x7A, "THERM# Timer Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x7B, "TACH pulses per Revolution", "Fan4:Fan4:Fan3:Fan3:Fan2:Fan2:Fan1:Fan1", 0x55, false,
     false},
    {0x7C, "Configuration 5", "R2:LocT:R1T:PECI:3:2:Temp:2's", 0x01, false, false},
    {0x7D, "Configuration 4", "12V:5V:Vccp:2.5V:THfan:THoff:Pin14:Pin14", 0x00, false, false},
    {0x7E, "Test 1", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x7F, "Test 2", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x80, "GPIO Configuration", "G1Dir:G2Dir:G1Pol:G2Pol:GPIO1:GPIO2:1:0", 0x00, false, false},
    {0x81, "Interrupt Status 4", "Vtt:Imon:PECI3:PECI2:PECI1:2:1:0", 0x00, true, false},
    {0x82, "Interrupt Mask 3", "OOL:6:5:4:OVT:Comm:Data:PECI0", 0x00, false, false},
    {0x83, "Interrupt Mask 4", "Vtt:Imon:PECI3:PECI2:PECI1:2:1:0", 0x00, false, false},
    {0x84, "Vtt Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x85, "Imon Low Limit", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x86, "Vtt High limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x87, "Imon High Limit", "7:6:5:4:3:2:1:0", 0xFF, false, false},
    {0x88, "PECI Configuration 2", "#CPU:#CPU:DOM1:DOM2:DOM3:2:1:0", 0x00, false, false},
    {0x89, "Test 3", "7:6:5:4:3:2:1:0", 0x00, true, false},
    {0x8A, "PECI Operating Point", "7:6:5:4:3:2:1:0", 0xFB, false, false},
    {0x8B, "Remote 1 Operating Point", "7:6:5:4:3:2:1:0", 0x64, false, false},
    {0x8C, "Local Operating Point", "7:6:5:4:3:2:1:0", 0x64, false, false},
    {0x8D, "Remote 2 Operating Point", "7:6:5:4:3:2:1:0", 0x64, false, false},
    {0x8E, "Dynamic Tmin Control 1", "R2T:LT:R1T:PHTR2:PHTL:PHTR1:VccpLO:CYR2", 0x00, false, false},
    {0x8F, "Dynamic Tmin Control 2", "CYR2:CYR2:CYL:CLY:CYL:CYR1:CYR1:CYR1", 0x00, false, false},
    {0x90, "Dynamic Tmin Control 3", "PECI:PHTP:CYP:CYP:CYP:2:1:0", 0x00, false, false},
    {0x94, "PECI0 Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x95, "PECI1 Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x96, "PECI2 Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x97, "PECI3 Offset", "7:6:5:4:3:2:1:0", 0x00, false, false},
    {0x5F, "Remote1 Trange", "RNG:RNG:RNG:RNG:H/L:FRQ:FRQ:FRQ", 0, false, true},
    {0x60, "Local Trange", "RNG:RNG:RNG:RNG:H/L:FRQ:FRQ:FRQ", 0, false, true},
    {0x61, "Remote2 Trange", "RNG:RNG:RNG:RNG:H/L:FRQ:FRQ:FRQ", 0, false, true},
    {0x6D, "Local Hysteresis", "HYSR1:HYSR1:HYSR1:HYSR1:HYSL:HYSL:HYSL:HYSL", 0, false, true},
    {0x6E, "PECI Hysteresis", "HYSR2:HYSR2:HYSR2:HYSR2:HYSP:HYSP:HYSP:HYSP", 0, false, true},
};

std::array<RegisterInfo, kRegisterCount> MakeDescriptions() {
    std::array<RegisterInfo, kRegisterCount> table;
    for (int i = 0; i < kRegisterCount; ++i) {
        const Row& row = kRows[i];
        RegisterInfo& info = table[i];
        info.Address = row.address;
        info.BitNames = row.bitNames;
        info.Name = row.name;
        info.Description = info.Name;
        info.ReadOnly = row.readOnly;
        info.DefaultValue = row.defaultValue;
        info.IsAlias = row.isAlias;
    }
    return table;
}

// An unbuilt record has no name; it must not answer a lookup of address 0.
bool IsFilled(const RegisterInfo& info) { return !info.Name.empty(); }

}  // namespace

const std::array<RegisterInfo, kRegisterCount>& RegisterDescriptions() {
    static const std::array<RegisterInfo, kRegisterCount> descriptions = MakeDescriptions();
    return descriptions;
}

void BuildRegisterTable() { RegisterTable = RegisterDescriptions(); }

int FindRegisterByAddress(int32_t address) {
    for (int i = 0; i < kRegisterCount; ++i) {
        if (IsFilled(RegisterTable[i]) && RegisterTable[i].Address == address) return i;
    }
    return -1;
}

int FindRegisterByName(std::string_view name) {
    if (name.empty()) return -1;
    for (int i = 0; i < kRegisterCount; ++i) {
        if (RegisterTable[i].Name == name) return i;
    }
    return -1;
}

const RegisterInfo* RegisterAt(int index) {
    if (index < 0 || index >= kRegisterCount) return nullptr;
    return &RegisterTable[index];
}

std::array<std::string, 8> SplitBitNames(std::string_view bitNames) {
    std::array<std::string, 8> names;
    size_t start = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const size_t colon = bitNames.find(':', start);
        if (bit == 7 || colon == std::string_view::npos) {
            // The last name keeps whatever follows, so a malformed text loses nothing.
            names[bit] = std::string(bitNames.substr(std::min(start, bitNames.size())));
            break;
        }
        names[bit] = std::string(bitNames.substr(start, colon - start));
        start = colon + 1;
    }
    return names;
}

}  // namespace RegMapStuff
