#include "Logic/StreamSocket.h"

#include "Logic/PacketFramer.h"
#include "base/Log.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <memory>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Long enough that an idle server wakes up only for its own reasons.
constexpr int kWaitMs = 2000 * 1000;
// Accepts per pass, so a burst of connections cannot starve the readers.
constexpr int kAcceptsPerPass = 256;

} // namespace

void RaiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

CStreamSocket::CStreamSocket(int port) : m_port(port)
{
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

CStreamSocket::~CStreamSocket()
{
    for (ClientEntry& c : m_clients)
        ::close(c.Socket);
    if (m_listen >= 0)
        ::close(m_listen);
    if (m_wake >= 0)
        ::close(m_wake);
}

void CStreamSocket::SetHandlers(ConnectedHandler connected, PacketHandler packet)
{
    m_onConnected = std::move(connected);
    m_onPacket = std::move(packet);
}

int CStreamSocket::Listen()
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        LogError(QStringLiteral("createSocket failed."));
        return -1;
    }
    const int on = 1;
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        LogError(QStringLiteral("setsockopt failed."));
        ::close(fd);
        return -1;
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(m_port));
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        LogError(QStringLiteral("bind failed.%s"), std::strerror(errno));
        ::close(fd);
        return -1;
    }
    if (listen(fd, kBacklog) != 0) {
        LogError(QStringLiteral("listen failed."));
        ::close(fd);
        return -1;
    }
    // Non-blocking, so one pass can take every waiting connection and stop.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (m_listen >= 0)
        ::close(m_listen);
    m_listen = fd;
    return 0;
}

int CStreamSocket::LocalPort() const
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (m_listen < 0 || getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return -1;
    return ntohs(a.sin_port);
}

void CStreamSocket::Stop()
{
    m_running = 0;
    const uint64_t one = 1;
    if (write(m_wake, &one, sizeof one) < 0)
        return; // the counter is already set, so the loop wakes anyway
}

int CStreamSocket::Run()
{
    std::vector<pollfd> fds;
    std::vector<std::list<ClientEntry>::iterator> served;
    auto msg = std::make_unique<SocketMsg>();
    while (m_running) {
        fds.clear();
        served.clear();
        fds.push_back({m_wake, POLLIN, 0});
        fds.push_back({m_listen, POLLIN, 0});
        // Only this thread changes the list, so it walks it without the lock.
        for (auto it = m_clients.begin(); it != m_clients.end() && int(served.size()) < kMaxReadSet;
             ++it) {
            if (it->Socket > 0) {
                fds.push_back({it->Socket, POLLIN, 0});
                served.push_back(it);
            }
        }
        const int ready = poll(fds.data(), fds.size(), kWaitMs);
        if (ready < 0) {
            if (errno != EINTR)
                poll(&fds[0], 1, kAcceptPauseMs);
            continue;
        }
        if (ready == 0)
            continue;
        if (fds[0].revents) {
            uint64_t count;
            if (read(m_wake, &count, sizeof count) < 0 && errno != EAGAIN)
                break;
            continue;
        }
        if (fds[1].revents & POLLIN)
            AcceptReady();
        for (size_t k = 0; k < served.size(); ++k) {
            if (!fds[k + 2].revents)
                continue;
            if (!ServeClient(*served[k], *msg))
                EndClient(served[k]);
        }
    }
    return 0;
}

void CStreamSocket::AcceptReady()
{
    for (int k = 0; k < kAcceptsPerPass; ++k) {
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const int fd = accept4(m_listen, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return;
            if (errno == EINTR)
                continue;
            // Out of descriptors or a connection aborted before it was taken: the
            // server goes on after a short pause instead of stopping for good.
            LogError(QStringLiteral("accept failed.nSockFd=%d, nRet=%d"), m_listen, errno);
            pollfd wake{m_wake, POLLIN, 0};
            poll(&wake, 1, kAcceptPauseMs);
            return;
        }
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        const QString ip = QString::fromLatin1(text).left(15);
        const int port = ntohs(peer.sin_port);
        LogInfo(QStringLiteral("%s:%d connected"), ip, port);
        AddClient(&ip, port, fd);
        if (m_onConnected)
            m_onConnected(ip, port);
    }
}

bool CStreamSocket::ServeClient(ClientEntry& entry, SocketMsg& msg)
{
    std::memset(&msg, 0, offsetof(SocketMsg, Data));
    CopyIpText(msg.PeerIP, entry.PeerIP);
    msg.PeerPort = entry.PeerPort;

    uint8_t stretch[2 * kMaxPacketLength];
    const int carried = int(entry.carry.size());
    if (carried > 0)
        std::memcpy(stretch, entry.carry.data(), size_t(carried));
    const ssize_t got = recv(entry.Socket, stretch + carried, kMaxPacketLength, MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return true;
    if (got <= 0)
        return false;

    const int length = carried + int(got);
    int pos = 0;
    for (;;) {
        const FrameResult r = FramePacket(stretch + pos, length - pos, &msg);
        if (!r.packet) {
            if (r.keepFrom < 0)
                entry.carry.clear();
            else
                entry.carry.assign(stretch + pos + r.keepFrom, stretch + length);
            return true;
        }
        msg.Socket = entry.Socket;
        LogInfo(QStringLiteral("RECV TCP %d bytes."), msg.Length);
        if (m_onPacket)
            m_onPacket(msg);
        pos += r.consumed;
        if (pos == length) {
            entry.carry.clear();
            return true;
        }
    }
}

void CStreamSocket::EndClient(std::list<ClientEntry>::iterator it)
{
    // Closed and unlinked under the lock: a sender either finished with the
    // descriptor or holds a duplicate of its own, so a reused number is never hit.
    std::lock_guard guard(m_clientLock);
    ::close(it->Socket);
    m_clients.erase(it);
}

int CStreamSocket::AddClient(const QString* ip, int port, int socket)
{
    if (!ip)
        return -1;
    ClientEntry entry;
    if (ip->size() < 16)
        entry.PeerIP = *ip;
    entry.PeerPort = port;
    entry.Socket = socket;
    std::lock_guard guard(m_clientLock);
    m_clients.push_front(std::move(entry));
    return 0;
}

int CStreamSocket::ClientCount()
{
    std::lock_guard guard(m_clientLock);
    return int(m_clients.size());
}

int CStreamSocket::SendTcpMsg(const uint8_t* bytes, const QString* ip, int port, int length)
{
    int sent = -1;
    int spare = -1;
    if (bytes && ip && length > 0) {
        std::lock_guard guard(m_clientLock);
        for (const ClientEntry& c : m_clients) {
            if (c.PeerIP != *ip || (port != 0 && c.PeerPort != port))
                continue;
            if (c.Socket > 0) {
                sent = int(send(c.Socket, bytes, size_t(length), MSG_DONTWAIT | MSG_NOSIGNAL));
                if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                    sent = 0;
                // A peer that is slow to read gets the rest on a duplicate, outside
                // the lock, so the server can close its own descriptor meanwhile.
                if (sent >= 0 && sent < length)
                    spare = fcntl(c.Socket, F_DUPFD_CLOEXEC, 0);
            }
            break;
        }
    }
    if (spare >= 0) {
        // A peer that never reads costs the dispatcher at most this wait.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendWaitMs);
        while (sent < length) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            pollfd p{spare, POLLOUT, 0};
            if (left <= 0 || poll(&p, 1, int(left)) <= 0)
                break;
            const ssize_t n =
                send(spare, bytes + sent, size_t(length - sent), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                break;
            if (n > 0)
                sent += int(n);
        }
        ::close(spare);
    }
    if (sent == length)
        return 0;
    LogError(QStringLiteral("SendTcpMsg failed."));
    return -1;
}
