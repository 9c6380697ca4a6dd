// The evaluation board library stand-in: a simulated board with simulated chips behind it
// (QUORVEX_SIM_USB_CHIPS, one at 8-bit 0x5C unless told otherwise). Requests are served
// whether or not LoadFirmWare ran first, so a test can talk to the board straight away; a
// board that is not attached (QUORVEX_SIM_BOARD=0) fails every request and every download.

#include "platform/boardlink/BoardLink.h"

#include <mutex>
#include <string>

#include "platform/boardlink/IntelHex.h"
#include "platform/chipsim/Board.h"
#include "platform/chipsim/CallLog.h"
#include "platform/chipsim/SimEnvironment.h"

namespace {

using chipsim::CallLog;

struct State {
    chipsim::SimEnvironment env = chipsim::SimEnvironment::FromProcess();
    CallLog log{env.logPath};
    chipsim::Board board;
    long requests = 0;

    State() {
        for (int address : env.usbChips) board.Chips().Add(address, env.staticChips);
    }

    bool Injected(short request) {
        ++requests;
        if (env.failRequest && (*env.failRequest & 0xFFFF) == (request & 0xFFFF)) return true;
        return env.failAfter > 0 && requests >= env.failAfter;
    }
};

std::mutex g_mutex;

State& Get() {
    static State state;
    return state;
}

}  // namespace

short LoadFirmWare(unsigned char* path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    State& s = Get();
    const std::string file = path ? reinterpret_cast<const char*>(path) : "";
    const short result =
        s.env.boardAttached && !file.empty() && boardlink::IsWellFormedIntelHexFile(file) ? 1 : 0;
    if (s.log.Enabled()) {
        s.log.Append("BoardLink LoadFirmWare path=\"" + file + "\" -> " + std::to_string(result));
    }
    return result;
}

short VendorIORequest(short request, int value, int index, short direction, short count,
                      unsigned char* buffer) {
    std::lock_guard<std::mutex> lock(g_mutex);
    State& s = Get();
    std::string sent;
    if (s.log.Enabled() && direction == 0 && count > 0 && buffer) {
        sent = CallLog::Bytes(buffer, count);
    }
    short status;
    if (s.Injected(request)) {
        status = kBoardLinkInjected;
    } else if (!s.env.boardAttached) {
        status = kBoardLinkNoBoard;
    } else {
        status = s.board.Request(request, value, index, direction, count, buffer);
    }
    if (s.log.Enabled()) {
        std::string line = "BoardLink VendorIORequest request=" + CallLog::Hex(request & 0xFFFF) +
                           " value=" + CallLog::Hex(value) + " index=" + CallLog::Hex(index) +
                           " direction=" + std::to_string(direction) +
                           " count=" + std::to_string(count) + " -> " + std::to_string(status);
        if (direction == 0 && !sent.empty()) line += " sent=" + sent;
        if (direction == 1 && status == 0 && count > 0 && buffer) {
            line += " data=" + CallLog::Bytes(buffer, count);
        }
        s.log.Append(line);
    }
    return status;
}
