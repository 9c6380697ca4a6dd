// A scripted stand-in for the SMBus library: one chip at address 0x2E whose registers a test sets,
// a log of every call, and registers whose writes are dropped or show only after some reads.
// Built in variants that lack one of the three bus functions.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

enum ScriptedCallKind { kScriptedDetect = 'D', kScriptedRead = 'R', kScriptedWrite = 'W' };

// Detect: first = flag. Read: first = address, second = register. Write: first = address,
// second = register, third = value.
struct ScriptedCall {
    int kind;
    int first;
    int second;
    int third;
};

// Registers all 0, every write taking effect at once, the log empty.
void ScriptReset(void);
void ScriptSetRegister(int reg, int value);
int ScriptRegister(int reg);
// Writes to reg change nothing while ignore is non-zero.
void ScriptIgnoreWrites(int reg, int ignore);
// The next reads reads of reg after a write still return the value from before it.
void ScriptDelayWrites(int reg, int reads);
// Bits above the byte that every read of the chip returns along with the register's value.
void ScriptSetReadExtraBits(int bits);
int ScriptCallCount(void);
struct ScriptedCall ScriptCallAt(int index);

#ifdef __cplusplus
}
#endif
