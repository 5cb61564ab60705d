#include "base/CommUdp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(unsigned short port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool BindTo(int fd, unsigned short port)
{
    const sockaddr_in a = Loopback(port);
    return bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
}

} // namespace

CCommUdp::~CCommUdp() { Close(); }

int CCommUdp::Open()
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        std::_Exit(0);
    bool bound = false;
    bool refused = false;
    for (unsigned short port = kFirstLocalPort; port <= kLastLocalPort && !bound; ++port) {
        bound = BindTo(fd, port);
        if (!bound && (errno == EACCES || errno == EPERM))
            refused = true;
    }
    if (!bound && refused)
        bound = BindTo(fd, 0);
    if (!bound)
        std::_Exit(0);
    m_socket = fd;
    return 0;
}

int CCommUdp::Receive(char*, int) { return 0; }

int CCommUdp::Send(const char* bytes, int length)
{
    const int fd = m_socket;
    if (fd < 0 || length < 0)
        return -1;
    const sockaddr_in to = Loopback(kViewerPort);
    const ssize_t sent = sendto(fd, bytes, static_cast<size_t>(length), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return sent == length ? length : -1;
}

int CCommUdp::Close()
{
    const int fd = m_socket.exchange(-1);
    if (fd >= 0)
        ::close(fd);
    return 0;
}

int CCommUdp::LocalPort() const
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (m_socket < 0 || getsockname(m_socket, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return -1;
    return ntohs(a.sin_port);
}
