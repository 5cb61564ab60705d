#include "Logic/MulticastSocket.h"

#include "base/Log.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

CMulticastSocket::~CMulticastSocket() { Close(); }

int CMulticastSocket::Open()
{
    Close();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(kPort));
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        LogError(QStringLiteral("Multicast Socket Create Error"));
        if (fd >= 0)
            ::close(fd);
        return 0;
    }
    ip_mreq group{};
    inet_pton(AF_INET, kGroup, &group.imr_multiaddr);
    group.imr_interface.s_addr = htonl(INADDR_ANY);
    if (setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group) != 0) {
        LogError(QStringLiteral("IP_ADD_MEMBERSHIP Error"));
        ::close(fd);
        return -1;
    }
    const unsigned char ttl = kTtl;
    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
    m_socket = fd;
    return 1;
}

void CMulticastSocket::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}

int CMulticastSocket::SendUdpMsg(const SocketMsg* msg)
{
    if (m_socket < 0 || !msg || msg->Length <= 0 || msg->Length > kMaxPacketLength)
        return -1;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(uint16_t(kPort));
    inet_pton(AF_INET, kGroup, &to.sin_addr);
    return int(sendto(m_socket, msg->Data, size_t(msg->Length), MSG_NOSIGNAL,
                      reinterpret_cast<sockaddr*>(&to), sizeof to));
}
