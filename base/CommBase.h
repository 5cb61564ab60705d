#pragma once
#include <cstddef>

// A communication channel: opened once, then used to send and receive bytes.
class CCommBase {
public:
    virtual ~CCommBase() = default;
    virtual int Open() = 0;
    virtual int Receive(char* buffer, int length) = 0;
    virtual int Send(const char* bytes, int length) = 0;
    virtual int Close() = 0;
};
