#pragma once
// The register traffic of a test in the order it went over either link, as short texts:
// "R 7D" a read, "B 3B" a register of a block read, "W 7D=05" a write. One list shows that a
// window wrote each register right after reading it, which two separate lists cannot.

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/FakeTransport.h"

namespace ConfigTest {

inline std::string Read(int reg) {
    char text[8];
    std::snprintf(text, sizeof text, "R %02X", reg & 0xFF);
    return text;
}

inline std::string Block(int reg) {
    char text[8];
    std::snprintf(text, sizeof text, "B %02X", reg & 0xFF);
    return text;
}

inline std::string Write(int reg, int value) {
    char text[12];
    std::snprintf(text, sizeof text, "W %02X=%02X", reg & 0xFF, value & 0xFF);
    return text;
}

// A read of a register followed by the write of a new value: one read-modify-write.
inline std::vector<std::string> Rmw(int reg, int value) { return {Read(reg), Write(reg, value)}; }

inline std::vector<std::string> Traffic(const TestSupport::FakeTransport& fake) {
    constexpr int16_t kRegisterRequest = 0xDE;
    constexpr int16_t kBlockRequest = 0xDC;
    std::vector<std::string> traffic;
    for (const TestSupport::BusCall& call : fake.Calls()) {
        using Kind = TestSupport::BusCall::Kind;
        if (call.kind == Kind::ReadSmbus) traffic.push_back(Read(call.reg));
        if (call.kind == Kind::WriteSmbus) traffic.push_back(Write(call.reg, call.value));
        if (call.kind != Kind::Vendor || call.status != 0) continue;
        if (call.request == kRegisterRequest && call.direction == 1)
            traffic.push_back(Read(call.index));
        if (call.request == kRegisterRequest && call.direction == 0)
            traffic.push_back(Write(call.index & 0xFF, call.index >> 8));
        if (call.request == kBlockRequest && call.direction == 1)
            for (int i = 0; i < call.count; ++i) traffic.push_back(Block(call.index + i));
    }
    return traffic;
}

// Concatenates pieces of expected traffic.
inline std::vector<std::string> Seq(std::initializer_list<std::vector<std::string>> pieces) {
    std::vector<std::string> all;
    for (const auto& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

}  // namespace ConfigTest
