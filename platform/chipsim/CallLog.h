#pragma once
// The stand-ins' log of every call, one line each, appended to a file that both libraries may
// share (QUORVEX_SIM_LOG). The file is opened and closed for each line so lines of the two
// libraries, or of two processes, interleave whole.

#include <cstdint>
#include <string>

namespace chipsim {

class CallLog {
  public:
    explicit CallLog(std::string path) : path_(std::move(path)) {}

    bool Enabled() const { return !path_.empty(); }
    void Append(const std::string& line) const;

    // "0x5C"
    static std::string Hex(long value);
    // "41 6C 04": the bytes of a transfer.
    static std::string Bytes(const uint8_t* bytes, int count);

  private:
    std::string path_;
};

}  // namespace chipsim
