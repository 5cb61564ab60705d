#pragma once
#include "Logic/SocketMsg.h"

// The datagram socket the invitations leave by: bound to the group port with
// address reuse, a member of the group, TTL 5. It is never read.
class CMulticastSocket {
public:
    static constexpr const char* kGroup = "238.8.8.1";
    static constexpr int kPort = 8500;
    static constexpr int kTtl = 5;

    CMulticastSocket() = default;
    ~CMulticastSocket();
    CMulticastSocket(const CMulticastSocket&) = delete;
    CMulticastSocket& operator=(const CMulticastSocket&) = delete;

    // 1 ready; 0 not created or bound; -1 the group could not be joined.
    int Open();
    void Close();
    bool IsOpen() const { return m_socket >= 0; }
    // One datagram of the packet to the group. Bytes sent, or -1.
    int SendUdpMsg(const SocketMsg* msg);

private:
    int m_socket = -1;
};
