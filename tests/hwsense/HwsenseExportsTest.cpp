// What other programs can see of hwsense: its exported names, its search path for the SMBus
// library and the ordinals of a Windows build.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "hwsense/hwsense.h"
#include "tests/hwsense/HwsenseExports.h"

namespace {

using HwsenseTest::kExports;

const std::string kLibrary = std::string(QUORVEX_BIN_DIR) + "/libhwsense.so";

using Query = int32_t (*)();
using Setter = int32_t (*)(int32_t);
static_assert(std::is_same_v<decltype(&Initialise), Query>);
static_assert(std::is_same_v<decltype(&Cleanup), Query>);
static_assert(std::is_same_v<decltype(&Get_SuperioId), Query>);
static_assert(std::is_same_v<decltype(&Get_SuperioSn), Query>);
static_assert(std::is_same_v<decltype(&Get_CPUTemp), Query>);
static_assert(std::is_same_v<decltype(&Get_SYSTemp), Query>);
static_assert(std::is_same_v<decltype(&Get_CPUFan_Speed), Query>);
static_assert(std::is_same_v<decltype(&Get_SYSFan_Speed), Query>);
static_assert(std::is_same_v<decltype(&Get_PWRFan_Speed), Query>);
static_assert(std::is_same_v<decltype(&Set_CPUFan_Speed), Setter>);
static_assert(std::is_same_v<decltype(&Set_SYSFan_Speed), Setter>);
static_assert(std::is_same_v<decltype(&Set_PWRFan_Speed), Setter>);
static_assert(std::is_same_v<decltype(&Set_Low), Query>);
static_assert(std::is_same_v<decltype(&Set_High), Query>);
static_assert(std::is_same_v<decltype(&Set_Auto), Query>);

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
}

TEST(HwsenseExports, DynamicSymbolTableHoldsTheFifteenFunctionsAlone) {
    const std::string table = RunCommand("nm -D --defined-only '" + kLibrary + "'");
    std::map<std::string, std::string> types;
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        types[name] = type;
    }

    std::set<std::string> names;
    for (const auto& [name, type] : types) {
        names.insert(name);
        EXPECT_EQ(type, "T") << name << " is not a plain function";
    }
    EXPECT_EQ(names, std::set<std::string>(kExports.begin(), kExports.end())) << table;
}

TEST(HwsenseExports, LooksForTheSmbusLibraryInItsOwnFolder) {
    const std::string dynamic = RunCommand("readelf -d '" + kLibrary + "'");
    EXPECT_NE(dynamic.find("(RUNPATH)"), std::string::npos) << dynamic;
    EXPECT_NE(dynamic.find("[$ORIGIN]"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("(RPATH)"), std::string::npos) << dynamic;
}

TEST(HwsenseExports, ModuleDefinitionNumbersTheExportsInOrder) {
    std::ifstream def(HWSENSE_DEF_FILE);
    ASSERT_TRUE(def.is_open());
    std::string line;
    bool inExports = false;
    std::vector<std::string> names;
    while (std::getline(def, line)) {
        std::istringstream fields(line);
        std::string name, ordinal;
        fields >> name >> ordinal;
        if (name == "EXPORTS") {
            inExports = true;
        } else if (inExports && !name.empty()) {
            EXPECT_EQ(ordinal, "@" + std::to_string(names.size() + 1)) << name;
            names.push_back(name);
        }
    }
    EXPECT_EQ(names, kExports);
}

}  // namespace
