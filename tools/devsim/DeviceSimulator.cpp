#include "DeviceSimulator.h"

#include "Logic/MsgPacket.h"
#include "Logic/MulticastSocket.h"
#include "Logic/PacketFramer.h"
#include "Logic/StreamSocket.h"
#include "SimReport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <memory>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <tinyxml2.h>
#include <unistd.h>

namespace {

constexpr uint64_t kWakeTag = ~uint64_t(0);
constexpr uint64_t kGroupTag = ~uint64_t(0) - 1;
constexpr int kSplitPieces = 3;
constexpr auto kSplitPause = std::chrono::milliseconds(20);
const QByteArray kNoise("\x01\x02noise\xBC\x00\xDE\xBC", 11);

sockaddr_in Address(const QString& ip, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    inet_pton(AF_INET, ip.toLatin1().constData(), &a.sin_addr);
    return a;
}

// The server's address and port named by a RequestConnection datagram.
bool ParseInvitation(const uint8_t* data, int length, QString* ip, int* port)
{
    auto msg = std::make_unique<SocketMsg>();
    const FrameResult r = FramePacket(data, length, msg.get());
    if (!r.packet || PacketMessageId(msg->Data) != MSG_ID_REQUEST_CONNECTION)
        return false;
    tinyxml2::XMLDocument doc;
    if (doc.Parse(reinterpret_cast<const char*>(msg->Data + kPacketHeaderLength),
                  size_t(msg->Length - kPacketHeaderLength)) != tinyxml2::XML_SUCCESS)
        return false;
    const tinyxml2::XMLElement* params =
        doc.FirstChildElement("Msg") ? doc.FirstChildElement("Msg")->FirstChildElement("Params")
                                     : nullptr;
    const tinyxml2::XMLElement* ipNode = params ? params->FirstChildElement("IP") : nullptr;
    const tinyxml2::XMLElement* portNode = params ? params->FirstChildElement("Port") : nullptr;
    if (!ipNode || !portNode || !ipNode->GetText() || portNode->QueryIntText(port) != 0)
        return false;
    *ip = QString::fromUtf8(ipNode->GetText());
    return true;
}

} // namespace

CDeviceSimulator::CDeviceSimulator(std::vector<SimDeviceConfig> devices)
    : m_devices(std::move(devices)), m_links(m_devices.size())
{
    for (size_t i = 0; i < m_devices.size(); ++i)
        m_links[i].report = SimReportPacket(m_devices[i]);
}

CDeviceSimulator::~CDeviceSimulator()
{
    Stop();
    for (size_t i = 0; i < m_links.size(); ++i)
        if (m_links[i].fd >= 0)
            ::close(m_links[i].fd);
    for (int fd : {m_group, m_wake, m_epoll})
        if (fd >= 0)
            ::close(fd);
}

QString CDeviceSimulator::Start(bool listen)
{
    RaiseDescriptorLimit(); // every device holds a connection of its own
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_epoll < 0 || m_wake < 0)
        return QStringLiteral("epoll: ") + QString::fromLocal8Bit(std::strerror(errno));
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = kWakeTag;
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &ev);

    if (listen) {
        m_group = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const int on = 1;
        const sockaddr_in any = Address(QStringLiteral("0.0.0.0"), CMulticastSocket::kPort);
        ip_mreq group{};
        inet_pton(AF_INET, CMulticastSocket::kGroup, &group.imr_multiaddr);
        group.imr_interface.s_addr = htonl(INADDR_ANY);
        if (m_group < 0 || setsockopt(m_group, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
            setsockopt(m_group, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on) != 0 ||
            bind(m_group, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0 ||
            setsockopt(m_group, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group) != 0)
            return QStringLiteral("invitation group: ") +
                   QString::fromLocal8Bit(std::strerror(errno));
        ev.data.u64 = kGroupTag;
        epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_group, &ev);
    }
    m_thread = std::thread([this] { Loop(); });
    return QString();
}

void CDeviceSimulator::Stop()
{
    if (!m_thread.joinable())
        return;
    m_stop = true;
    const uint64_t one = 1;
    if (write(m_wake, &one, sizeof one) < 0)
        perror("devsim: wake");
    m_thread.join();
}

void CDeviceSimulator::Invite(const QString& ip, int port)
{
    {
        std::lock_guard guard(m_lock);
        m_invites.emplace_back(ip, port);
    }
    const uint64_t one = 1;
    if (write(m_wake, &one, sizeof one) < 0)
        perror("devsim: wake");
}

bool CDeviceSimulator::WaitReports(uint64_t count, int timeoutMs)
{
    std::unique_lock lock(m_lock);
    return m_reported.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return m_reports >= count; });
}

void CDeviceSimulator::CountReport()
{
    std::lock_guard guard(m_lock);
    ++m_reports;
    m_reported.notify_all();
}

void CDeviceSimulator::Loop()
{
    std::vector<epoll_event> events(1024);
    while (!m_stop) {
        int timeout = -1;
        if (!m_pieces.empty()) {
            const auto wait = m_pieces.begin()->first - Clock::now();
            timeout = int(std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::milliseconds>(wait).count() + 1));
        }
        const int n = epoll_wait(m_epoll, events.data(), int(events.size()), timeout);
        for (int k = 0; k < n; ++k) {
            const uint64_t tag = events[k].data.u64;
            if (tag == kWakeTag) {
                uint64_t count;
                if (read(m_wake, &count, sizeof count) < 0 && errno != EAGAIN)
                    return;
                std::vector<std::pair<QString, int>> invites;
                {
                    std::lock_guard guard(m_lock);
                    invites.swap(m_invites);
                }
                for (const auto& [ip, port] : invites)
                    ConnectAll(ip, port);
            } else if (tag == kGroupTag) {
                ReadInvitations();
            } else if (tag < m_links.size()) {
                Link& link = m_links[tag];
                if (link.fd < 0)
                    continue;
                if (link.connecting) {
                    int error = 0;
                    socklen_t len = sizeof error;
                    getsockopt(link.fd, SOL_SOCKET, SO_ERROR, &error, &len);
                    if (error != 0) {
                        ++m_connectFailures;
                        Drop(tag);
                    } else {
                        Connected(tag);
                    }
                    continue;
                }
                if (events[k].events & EPOLLOUT)
                    Flush(tag);
                if (link.fd >= 0 && (events[k].events & (EPOLLIN | EPOLLHUP | EPOLLERR)))
                    ReadLink(tag);
            }
        }
        while (!m_pieces.empty() && m_pieces.begin()->first <= Clock::now()) {
            const Piece piece = m_pieces.begin()->second;
            m_pieces.erase(m_pieces.begin());
            if (m_links[piece.device].generation == piece.generation && m_links[piece.device].fd >= 0)
                Write(piece.device, piece.bytes);
        }
    }
}

void CDeviceSimulator::ReadInvitations()
{
    uint8_t buffer[kMaxPacketLength];
    for (;;) {
        const ssize_t n = recv(m_group, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        QString ip;
        int port = 0;
        if (ParseInvitation(buffer, int(n), &ip, &port))
            ConnectAll(ip, port);
    }
}

void CDeviceSimulator::ConnectAll(const QString& ip, int port)
{
    ++m_invitations;
    for (size_t i = 0; i < m_links.size(); ++i)
        Connect(i, ip, port);
}

void CDeviceSimulator::Drop(size_t i)
{
    Link& link = m_links[i];
    if (link.fd >= 0)
        ::close(link.fd); // closing also takes it out of the epoll set
    link.fd = -1;
    link.connecting = false;
    link.in.clear();
    link.out.clear();
}

void CDeviceSimulator::Watch(size_t i, uint32_t events)
{
    epoll_event ev{};
    ev.events = events;
    ev.data.u64 = i;
    if (epoll_ctl(m_epoll, EPOLL_CTL_MOD, m_links[i].fd, &ev) != 0)
        epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_links[i].fd, &ev);
}

void CDeviceSimulator::Connect(size_t i, const QString& ip, int port)
{
    Drop(i);
    Link& link = m_links[i];
    ++link.generation;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        ++m_connectFailures;
        return;
    }
    link.fd = fd;
    const int on = 1;
    // The port is chosen at connect time, per destination, so thousands of
    // reconnects never run out of ports on one address.
    setsockopt(fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &on, sizeof on);
    if (m_devices[i].fault == SimFault::NoRead) {
        const int small = 1024;
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    }
    const sockaddr_in from = Address(m_devices[i].ip, 0);
    const sockaddr_in to = Address(ip, port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0) {
        ++m_connectFailures;
        Drop(i);
        return;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
        Connected(i);
    } else if (errno == EINPROGRESS) {
        link.connecting = true;
        Watch(i, EPOLLOUT);
    } else {
        ++m_connectFailures;
        Drop(i);
    }
}

void CDeviceSimulator::Connected(size_t i)
{
    Link& link = m_links[i];
    link.connecting = false;
    ++m_connections;
    if (m_devices[i].fault == SimFault::NoRead) {
        // Held open and never read: the server's sends pile up unread.
        epoll_ctl(m_epoll, EPOLL_CTL_DEL, link.fd, nullptr);
        return;
    }
    Watch(i, EPOLLIN);
}

void CDeviceSimulator::ReadLink(size_t i)
{
    Link& link = m_links[i];
    uint8_t buffer[kMaxPacketLength];
    for (;;) {
        const ssize_t n = recv(link.fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            Drop(i);
            return;
        }
        if (n < 0)
            break;
        link.in.insert(link.in.end(), buffer, buffer + n);
    }
    auto msg = std::make_unique<SocketMsg>();
    size_t pos = 0;
    for (;;) {
        const FrameResult r = FramePacket(link.in.data() + pos, int(link.in.size() - pos), msg.get());
        if (!r.packet) {
            link.in.erase(link.in.begin(),
                          r.keepFrom < 0 ? link.in.end() : link.in.begin() + long(pos) + r.keepFrom);
            break;
        }
        pos += size_t(r.consumed);
        if (PacketMessageId(msg->Data) == MSG_ID_REQUEST_STATUS) {
            ++m_requests;
            Answer(i);
            // A failed write drops the link and empties its buffer under `pos`.
            if (link.fd < 0)
                return;
        }
    }
}

void CDeviceSimulator::Answer(size_t i)
{
    Link& link = m_links[i];
    switch (m_devices[i].fault) {
    case SimFault::Silent:
        return;
    case SimFault::Garbage:
        Write(i, kNoise + link.report);
        break;
    case SimFault::Split: {
        const int step = int(link.report.size() + kSplitPieces - 1) / kSplitPieces;
        Write(i, link.report.left(step));
        auto when = Clock::now();
        for (int k = 1; k < kSplitPieces; ++k) {
            when += kSplitPause;
            m_pieces.emplace(when, Piece{i, link.generation, link.report.mid(k * step, step)});
        }
        break;
    }
    default:
        Write(i, link.report);
        break;
    }
    CountReport();
}

void CDeviceSimulator::Write(size_t i, const QByteArray& bytes)
{
    m_links[i].out += bytes;
    Flush(i);
}

void CDeviceSimulator::Flush(size_t i)
{
    Link& link = m_links[i];
    while (!link.out.isEmpty()) {
        const ssize_t n = send(link.fd, link.out.constData(), size_t(link.out.size()), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
            Drop(i);
            return;
        }
        link.out.remove(0, n);
    }
    Watch(i, link.out.isEmpty() ? EPOLLIN : EPOLLIN | EPOLLOUT);
}
