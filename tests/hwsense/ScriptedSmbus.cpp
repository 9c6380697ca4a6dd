#include "ScriptedSmbus.h"

// Plain static arrays only: the tests unload this library between cases, which the loader refuses
// for a library holding unique template statics.
namespace {

constexpr int kChipAddress = 0x2E;
constexpr int kNoChip = 0xFF;
constexpr int kRegisterCount = 256;
constexpr int kLogCapacity = 4096;

unsigned char registers[kRegisterCount];
bool ignoreWrites[kRegisterCount];
int writeDelay[kRegisterCount];
bool pending[kRegisterCount];
int pendingValue[kRegisterCount];
int pendingReads[kRegisterCount];
int readExtraBits;
ScriptedCall calls[kLogCapacity];
int callCount;

void Log(int kind, int first, int second, int third) {
    if (callCount < kLogCapacity) {
        calls[callCount] = ScriptedCall{kind, first, second, third};
    }
    ++callCount;
}

bool OnChip(int address, int reg) {
    return address == kChipAddress && reg >= 0 && reg < kRegisterCount;
}

}  // namespace

extern "C" {

#ifndef SCRIPTED_WITHOUT_DETECT
int DetectSmbus(int flag) {
    Log(kScriptedDetect, flag, 0, 0);
    return 1;
}
#endif

#ifndef SCRIPTED_WITHOUT_READ
int ReadSmbus(int address, int reg) {
    Log(kScriptedRead, address, reg, 0);
    if (!OnChip(address, reg)) {
        return kNoChip;
    }
    if (pending[reg]) {
        if (pendingReads[reg] > 0) {
            --pendingReads[reg];
        } else {
            registers[reg] = static_cast<unsigned char>(pendingValue[reg]);
            pending[reg] = false;
        }
    }
    return registers[reg] | readExtraBits;
}
#endif

#ifndef SCRIPTED_WITHOUT_WRITE
int WriteSmbus(int address, int reg, int value) {
    Log(kScriptedWrite, address, reg, value);
    if (!OnChip(address, reg) || ignoreWrites[reg]) {
        return 0;
    }
    if (writeDelay[reg] > 0) {
        pending[reg] = true;
        pendingValue[reg] = value & 0xFF;
        pendingReads[reg] = writeDelay[reg];
    } else {
        registers[reg] = static_cast<unsigned char>(value);
    }
    return 0;
}
#endif

void ScriptReset(void) {
    for (int reg = 0; reg < kRegisterCount; ++reg) {
        registers[reg] = 0;
        ignoreWrites[reg] = false;
        writeDelay[reg] = 0;
        pending[reg] = false;
    }
    readExtraBits = 0;
    callCount = 0;
}

void ScriptSetRegister(int reg, int value) { registers[reg] = static_cast<unsigned char>(value); }

int ScriptRegister(int reg) { return registers[reg]; }

void ScriptIgnoreWrites(int reg, int ignore) { ignoreWrites[reg] = ignore != 0; }

void ScriptDelayWrites(int reg, int reads) { writeDelay[reg] = reads; }

void ScriptSetReadExtraBits(int bits) { readExtraBits = bits; }

int ScriptCallCount(void) { return callCount; }

ScriptedCall ScriptCallAt(int index) { return calls[index]; }

}  // extern "C"
