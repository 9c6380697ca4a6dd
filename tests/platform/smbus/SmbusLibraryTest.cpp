#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/smbus/smbus.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/StandInEnvironment.h"

namespace {

struct SmbusLibrary {
    void* handle = nullptr;
    DetectSmbusFunction detect = nullptr;
    ReadSmbusFunction read = nullptr;
    WriteSmbusFunction write = nullptr;

    SmbusLibrary() {
        handle = dlopen(QUORVEX_BIN_DIR "/libsmbus.so", RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << dlerror();
        if (!handle) return;
        detect = reinterpret_cast<DetectSmbusFunction>(dlsym(handle, "DetectSmbus"));
        read = reinterpret_cast<ReadSmbusFunction>(dlsym(handle, "ReadSmbus"));
        write = reinterpret_cast<WriteSmbusFunction>(dlsym(handle, "WriteSmbus"));
        EXPECT_TRUE(detect && read && write);
    }
    bool Ok() const { return detect && read && write; }
};

}  // namespace

using TestSupport::ClearSimEnvironment;
using TestSupport::ReadFile;

TEST(SmbusLibrary, BindsTheThreeFunctionsByTheirPlainNames) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        SmbusLibrary lib;
        EXPECT_TRUE(lib.Ok());
    });
}

TEST(SmbusLibrary, DefaultChipAnswersInTheEightBitFormUntilDetectSaysSeven) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        SmbusLibrary lib;
        if (!lib.Ok()) return;
        // Before any DetectSmbus: the 8-bit form.
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0x41);
        EXPECT_EQ(lib.read(0x2E, 0x3E), 0xFF);
        EXPECT_EQ(lib.detect(1), 1);
        EXPECT_EQ(lib.read(0x2E, 0x3E), 0x41);
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0xFF);
        EXPECT_EQ(lib.detect(0), 1);
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0x41);
        for (int address = 0x20; address <= 0x60; address += 2) {
            if (address != 0x5C) {
                EXPECT_EQ(lib.read(address, 0x3E), 0xFF) << address;
            }
        }
    });
}

TEST(SmbusLibrary, WritesReachTheChipButNotItsReadOnlyRegisters) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        SmbusLibrary lib;
        if (!lib.Ok()) return;
        EXPECT_EQ(lib.write(0x5C, 0x4F, 0x50), 0);
        EXPECT_EQ(lib.read(0x5C, 0x4F), 0x50);
        lib.write(0x5C, 0x3E, 0x00);
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0x41);
        EXPECT_EQ(lib.write(0x5E, 0x4F, 0x50), -1);  // nobody there
        // The same chip seen through the 7-bit form.
        lib.detect(1);
        EXPECT_EQ(lib.read(0x2E, 0x4F), 0x50);
    });
}

TEST(SmbusLibrary, LiveChipReadsPlausibleTemperatures) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        SmbusLibrary lib;
        if (!lib.Ok()) return;
        for (int reg = 0x25; reg <= 0x27; ++reg) {
            const int byte = lib.read(0x5C, reg);  // two's complement whole degrees
            EXPECT_GT(byte, 15) << reg;
            EXPECT_LT(byte, 70) << reg;
        }
        const int count = lib.read(0x5C, 0x28) | lib.read(0x5C, 0x29) << 8;
        EXPECT_GT(count, 0);
        EXPECT_LT(count, 0xFFFF);
    });
}

TEST(SmbusLibrary, ChipsFromTheEnvironmentStaticModeAndLog) {
    const std::string log =
        (std::filesystem::temp_directory_path() / ("smbus_log_" + std::to_string(getpid())))
            .string();
    std::filesystem::remove(log);
    TestSupport::RunInChild([&] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_SMBUS_CHIPS", "5C,0x5e", 1);
        setenv("QUORVEX_SIM_STATIC", "1", 1);
        setenv("QUORVEX_SIM_LOG", log.c_str(), 1);
        SmbusLibrary lib;
        if (!lib.Ok()) return;
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0x41);
        EXPECT_EQ(lib.read(0x5E, 0x3E), 0x41);
        EXPECT_EQ(lib.read(0x60, 0x3E), 0xFF);
        // Static: the power-on value stays.
        EXPECT_EQ(lib.read(0x5E, 0x25), 0x80);
        usleep(20000);
        EXPECT_EQ(lib.read(0x5E, 0x25), 0x80);
        lib.write(0x5E, 0x30, 0x12);
        lib.detect(1);
    });
    const std::string text = ReadFile(log);
    EXPECT_NE(text.find("smbus ReadSmbus address=0x5C reg=0x3E -> 0x41\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("smbus ReadSmbus address=0x60 reg=0x3E -> 0xFF\n"), std::string::npos);
    EXPECT_NE(text.find("smbus WriteSmbus address=0x5E reg=0x30 value=0x12 -> 0\n"),
              std::string::npos);
    EXPECT_NE(text.find("smbus DetectSmbus flag=1 -> 1\n"), std::string::npos);
    std::filesystem::remove(log);
}

TEST(SmbusLibrary, EmptyChipListMeansNoChip) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_SMBUS_CHIPS", "", 1);
        SmbusLibrary lib;
        if (!lib.Ok()) return;
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0xFF);
    });
}

TEST(SmbusLibrary, AdapterThatCannotBeOpenedReadsFF) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        setenv("QUORVEX_SMBUS_ADAPTER", "/nonexistent/i2c-99", 1);
        SmbusLibrary lib;
        if (!lib.Ok()) return;
        EXPECT_EQ(lib.detect(0), 0);
        // The simulated chip is not served instead of the real bus.
        EXPECT_EQ(lib.read(0x5C, 0x3E), 0xFF);
        EXPECT_EQ(lib.write(0x5C, 0x30, 0x10), -1);
    });
}
