#pragma once
#include "base/CommBase.h"

#include <atomic>

// The log channel: one UDP socket bound on 127.0.0.1, sending to the log viewer
// at 127.0.0.1 port 106.
class CCommUdp : public CCommBase {
public:
    static constexpr unsigned short kViewerPort = 106;
    static constexpr unsigned short kFirstLocalPort = 122;
    static constexpr unsigned short kLastLocalPort = 137;

    ~CCommUdp() override;
    // Binds the first free port of 122..137; where the system refuses those ports
    // for lack of privilege, an OS-chosen one. Ends the process (exit code 0) when
    // no socket can be had.
    int Open() override;
    int Receive(char* buffer, int length) override;
    int Send(const char* bytes, int length) override;
    int Close() override;

    int LocalPort() const;

private:
    std::atomic<int> m_socket{-1};
};
