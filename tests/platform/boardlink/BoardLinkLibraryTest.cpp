#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/boardlink/BoardLink.h"
#include "platform/smbus/smbus.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/StandInEnvironment.h"

namespace {

using LoadFn = short (*)(unsigned char*);
using VendorFn = short (*)(short, int, int, short, short, unsigned char*);

// The names the program binds: the decorated forms of the two declarations.
constexpr const char* kLoadSymbol = "_Z12LoadFirmWarePh";
constexpr const char* kVendorSymbol = "_Z15VendorIORequestsiissPh";
const std::string kFirmware = QUORVEX_BIN_DIR "/QuorvexFW_SST.hex";

struct BoardLinkLibrary {
    LoadFn load = nullptr;
    VendorFn vendor = nullptr;

    BoardLinkLibrary() {
        void* handle = dlopen(QUORVEX_BIN_DIR "/libBoardLink.so", RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << dlerror();
        if (!handle) return;
        load = reinterpret_cast<LoadFn>(dlsym(handle, kLoadSymbol));
        vendor = reinterpret_cast<VendorFn>(dlsym(handle, kVendorSymbol));
        EXPECT_TRUE(load && vendor);
    }
    bool Ok() const { return load && vendor; }
    short Load(const std::string& path) {
        std::vector<unsigned char> name(path.begin(), path.end());
        name.push_back(0);
        return load(name.data());
    }
};

// A buffer with guard bytes: the library must never touch more than `count` bytes.
struct Guarded {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(80, 0xA5);
    unsigned char* data() { return bytes.data(); }
    void ExpectUntouchedFrom(size_t from) const {
        for (size_t i = from; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0xA5) << "byte " << i;
    }
};

std::string TempPath(const std::string& stem) {
    return (std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(getpid())))
        .string();
}

}  // namespace

using TestSupport::ClearSimEnvironment;
using TestSupport::ReadFile;

TEST(BoardLinkLibrary, FirmwareDownloadNeedsAWellFormedFile) {
    const std::string bad = TempPath("bad_fw.hex");
    std::ofstream(bad) << ":0100000055AB\n:00000001FF\n";
    TestSupport::RunInChild([&] {
        ClearSimEnvironment();
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        EXPECT_GT(lib.Load(kFirmware), 0);
        EXPECT_EQ(lib.Load(kFirmware + ".missing"), 0);
        EXPECT_EQ(lib.Load(bad), 0);
        EXPECT_EQ(lib.Load(""), 0);
        EXPECT_EQ(lib.load(nullptr), 0);
    });
    std::filesystem::remove(bad);
}

TEST(BoardLinkLibrary, RegisterRequestsAsTheProgramLaysThemOut) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        // Served before any download.
        Guarded read;
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, read.data()), 0);
        EXPECT_EQ(read.bytes[0], 0x41);
        read.ExpectUntouchedFrom(1);

        unsigned char zero = 0;
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x50 * 256 + 0x4F, 0, 0, &zero), 0);
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x4F, 1, 1, read.data()), 0);
        EXPECT_EQ(read.bytes[0], 0x50);

        Guarded block;
        EXPECT_EQ(lib.vendor(0xDC, 0x5C, 0x3E, 1, 3, block.data()), 0);
        EXPECT_EQ(block.bytes[0], 0x41);
        EXPECT_EQ(block.bytes[1], 0x6C);
        block.ExpectUntouchedFrom(3);

        // Discovery: every other address answers 0xFF with success.
        for (int address = 0x20; address <= 0x60; address += 2) {
            if (address == 0x5C) continue;
            Guarded none;
            EXPECT_EQ(lib.vendor(0xDE, address, 0x3E, 1, 1, none.data()), 0);
            EXPECT_EQ(none.bytes[0], 0xFF);
        }
    });
}

TEST(BoardLinkLibrary, BoardRequests) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        unsigned char zero = 0;
        EXPECT_EQ(lib.vendor(0xDD, 0x30, 0x33, 0, 0, &zero), 0);
        EXPECT_EQ(lib.vendor(0xDF, 0x4B, 0xA7, 0, 0, &zero), 0);
        Guarded port;
        EXPECT_EQ(lib.vendor(0xDF, 0x4B, 0, 1, 1, port.data()), 0);
        EXPECT_EQ(port.bytes[0], 0xA7);
        port.ExpectUntouchedFrom(1);

        unsigned char power = 0;
        EXPECT_EQ(lib.vendor(0xDA, 1, 40, 0, 1, &power), 0);
        Guarded heaters;
        EXPECT_EQ(lib.vendor(0xDA, 0, 0, 1, 3, heaters.data()), 0);
        EXPECT_EQ(heaters.bytes[0], 80);
        EXPECT_EQ(heaters.bytes[1], 0);
        heaters.ExpectUntouchedFrom(3);

        Guarded sensor;
        EXPECT_EQ(lib.vendor(0xDB, 0, 0, 1, 2, sensor.data()), 0);
        const int degrees = (sensor.bytes[0] * 256 + sensor.bytes[1]) / 32 - 60;
        EXPECT_GT(degrees, 10);
        EXPECT_LT(degrees, 50);
        sensor.ExpectUntouchedFrom(2);

        unsigned char command[7] = {0x48, 0x03, 0x00, 0xE0, 0x00, 0x36, 0x00};
        EXPECT_EQ(lib.vendor(0xDB, 0, 0, 0, 7, command), 0);
        Guarded reply;
        EXPECT_EQ(lib.vendor(0xDB, 0, 0, 1, 64, reply.data()), 0);
        EXPECT_EQ(reply.bytes[0], 0x48);
        reply.ExpectUntouchedFrom(64);

        // Malformed requests fail and move nothing.
        Guarded untouched;
        EXPECT_NE(lib.vendor(0xDC, 0x5C, 0x10, 1, 65, untouched.data()), 0);
        EXPECT_NE(lib.vendor(0x12, 0, 0, 1, 4, untouched.data()), 0);
        untouched.ExpectUntouchedFrom(0);
    });
}

TEST(BoardLinkLibrary, BoardNotAttached) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_BOARD", "0", 1);
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        EXPECT_EQ(lib.Load(kFirmware), 0);
        Guarded read;
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, read.data()), kBoardLinkNoBoard);
        read.ExpectUntouchedFrom(0);
    });
}

TEST(BoardLinkLibrary, ChipsFromTheEnvironment) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_USB_CHIPS", "5E 20", 1);
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        for (const auto& [address, expected] :
             std::vector<std::pair<int, int>>{{0x5C, 0xFF}, {0x5E, 0x41}, {0x20, 0x41}}) {
            unsigned char byte = 0;
            EXPECT_EQ(lib.vendor(0xDE, address, 0x3E, 1, 1, &byte), 0);
            EXPECT_EQ(byte, expected) << address;
        }
    });
}

TEST(BoardLinkLibrary, FailRequestFailsEveryRequestOfThatCode) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_FAIL_REQUEST", "DF", 1);
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        Guarded port;
        EXPECT_EQ(lib.vendor(0xDF, 0x4B, 0, 1, 1, port.data()), kBoardLinkInjected);
        EXPECT_EQ(lib.vendor(0xDF, 0x4B, 0, 1, 1, port.data()), kBoardLinkInjected);
        port.ExpectUntouchedFrom(0);
        unsigned char byte = 0;
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, &byte), 0);
        EXPECT_EQ(byte, 0x41);
    });
}

TEST(BoardLinkLibrary, FailAfterFailsTheNthRequestAndAllLater) {
    TestSupport::RunInChild([] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_FAIL_AFTER", "3", 1);
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        unsigned char byte = 0;
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, &byte), 0);
        EXPECT_EQ(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, &byte), 0);
        EXPECT_NE(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, &byte), 0);
        EXPECT_NE(lib.vendor(0xDD, 0x30, 0x33, 0, 0, &byte), 0);
        EXPECT_NE(lib.vendor(0xDE, 0x5C, 0x3E, 1, 1, &byte), 0);
    });
}

TEST(BoardLinkLibrary, BothLibrariesAppendToOneLog) {
    const std::string log = TempPath("sim_log");
    std::filesystem::remove(log);
    TestSupport::RunInChild([&] {
        ClearSimEnvironment();
        setenv("QUORVEX_SIM_LOG", log.c_str(), 1);
        setenv("QUORVEX_SIM_STATIC", "1", 1);
        BoardLinkLibrary lib;
        if (!lib.Ok()) return;
        lib.Load(kFirmware);
        unsigned char block[3] = {};
        lib.vendor(0xDC, 0x5C, 0x3E, 1, 3, block);
        unsigned char command[7] = {0x48, 0x03, 0x00, 0xE0, 0x00, 0x36, 0x07};
        lib.vendor(0xDB, 0, 0, 0, 7, command);

        void* smbus = dlopen(QUORVEX_BIN_DIR "/libsmbus.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(smbus, nullptr);
        auto read = reinterpret_cast<ReadSmbusFunction>(dlsym(smbus, "ReadSmbus"));
        ASSERT_NE(read, nullptr);
        read(0x5C, 0x3F);
    });
    const std::string text = ReadFile(log);
    const std::string lines[] = {
        "BoardLink LoadFirmWare path=\"" + kFirmware + "\" -> 1\n",
        "BoardLink VendorIORequest request=0xDC value=0x5C index=0x3E direction=1 count=3 -> 0 "
        "data=41 6C 04\n",
        "BoardLink VendorIORequest request=0xDB value=0x0 index=0x0 direction=0 count=7 -> 0 "
        "sent=48 03 00 E0 00 36 07\n",
        "smbus ReadSmbus address=0x5C reg=0x3F -> 0x6C\n",
    };
    size_t at = 0;
    for (const auto& line : lines) {
        const size_t found = text.find(line, at);
        EXPECT_NE(found, std::string::npos) << line << "in:\n" << text;
        if (found != std::string::npos) at = found + line.size();
    }
    std::filesystem::remove(log);
}
