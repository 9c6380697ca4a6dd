#pragma once
// A transport that records every call and answers from plain register arrays, for the device
// link's own tests (layouts of each request byte by byte).

#include <array>
#include <map>
#include <vector>

#include "main/DeviceLink.h"
#include "main/Transport.h"

struct Request {
    int16_t request, direction, count;
    int32_t value, index;
    std::vector<uint8_t> sent;  // what the buffer held on the way out (direction 0)
};

class RecordingTransport : public USBStuff::Transport {
public:
    RecordingTransport() { USBStuff::SetTransport(this); }
    ~RecordingTransport() override { USBStuff::SetTransport(nullptr); }

    int DetectSmbus(int flag) override {
        smbusLog.push_back({'D', flag, 0, 0});
        return 0;
    }
    int ReadSmbus(int address, int reg) override {
        smbusLog.push_back({'R', address, reg, 0});
        return smbus[address][reg & 0xFF];
    }
    int WriteSmbus(int address, int reg, int value) override {
        smbusLog.push_back({'W', address, reg, value});
        smbus[address][reg & 0xFF] = static_cast<uint8_t>(value);
        return 0;
    }
    int16_t LoadFirmWare(unsigned char*) override {
        ++firmwareLoads;
        return 1;
    }
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                            int16_t count, unsigned char* buffer) override {
        Request r{request, direction, count, value, index, {}};
        if (direction == 0) r.sent.assign(buffer, buffer + count);
        requests.push_back(r);
        const int16_t status = failRequest == request ? 1 : 0;
        if (direction == 1 && status == 0) {
            if (request == 0xDE) buffer[0] = usb[index & 0xFF];
            if (request == 0xDC)
                for (int i = 0; i < count; ++i) buffer[i] = usb[(index + i) & 0xFF];
            if (request == 0xDF) buffer[0] = 0x5A;
            if (request == 0xDB && count == 2) {
                buffer[0] = sensor[0];
                buffer[1] = sensor[1];
            }
        }
        if (direction == 0 && request == 0xDE && status == 0) usb[index & 0xFF] = static_cast<uint8_t>(index >> 8);
        return status;
    }

    struct SmbusCall {
        char kind;
        int address, reg, value;
    };
    std::array<uint8_t, 256> usb{};
    std::map<int, std::array<uint8_t, 256>> smbus;
    std::array<uint8_t, 2> sensor{};
    std::vector<Request> requests;
    std::vector<SmbusCall> smbusLog;
    int firmwareLoads = 0;
    int16_t failRequest = 0;
};
