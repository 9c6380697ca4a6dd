#pragma once
// The program's description of the chip's register map: 129 records, built once at start-up
// and constant afterwards. The register map window builds its tree from it and the register
// settings files walk it in index order. The simulated chip takes its power-on image and
// read-only flags from the same data.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace RegMapStuff {

struct RegisterInfo {
    int32_t Address = 0;
    std::string Name;
    std::string Description;  // a copy of Name
    std::string BitNames;     // eight names separated by ":", bit 7 first
    int16_t DefaultValue = 0;
    bool ReadOnly = false;
    bool IsAlias = false;
};

inline constexpr int kRegisterCount = 129;

// Empty until BuildRegisterTable runs.
extern std::array<RegisterInfo, kRegisterCount> RegisterTable;

// Fills RegisterTable, records 0..128, from the chip's register descriptions.
void BuildRegisterTable();

// The constant descriptions themselves (what BuildRegisterTable copies), usable before
// start-up: the simulated chip's power-on image comes from here.
const std::array<RegisterInfo, kRegisterCount>& RegisterDescriptions();

// Index of the first record with this address (so an aliased address finds the non-alias
// record), or -1. Looks in RegisterTable.
int FindRegisterByAddress(int32_t address);
// Index of the record with this name (aliases included), or -1.
int FindRegisterByName(std::string_view name);
// The record at an index, or nullptr outside 0..128.
const RegisterInfo* RegisterAt(int index);

// The eight bit names of a BitNames text, bit 7 first.
std::array<std::string, 8> SplitBitNames(std::string_view bitNames);

}  // namespace RegMapStuff
