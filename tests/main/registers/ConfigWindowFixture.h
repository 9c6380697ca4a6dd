#pragma once
// What the configuration window tests share: a simulated chip on the selected link with the
// registers a test puts there, the configuration flags reset around each test, and the traffic
// since the window finished opening.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "main/ConfigFlags.h"
#include "tests/main/registers/ChipTraffic.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

namespace ConfigTest {

class ConfigWindowTest : public ::testing::Test {
  protected:
    // Traffic assertions run over the SMBus, where a write is not followed by the decoder's
    // read of the same register; tests of the flags switch to the USB board.
    void SetUp() override {
        General::ResetConfigFlags();
        fake_.UseSmbus();
    }
    void TearDown() override { General::ResetConfigFlags(); }

    void SetRegs(std::initializer_list<std::pair<int, int>> regs) {
        for (const auto& [reg, value] : regs) fake_.SetReg(reg, static_cast<uint8_t>(value));
    }
    int Reg(int reg) const { return fake_.Reg(reg); }
    std::vector<std::string> TrafficSinceClear() const { return Traffic(fake_); }

    TestSupport::FakeTransport fake_;
    TestSupport::MessageRecorder messages_;
};

}  // namespace ConfigTest
