#include "support/LogCapture.h"

#include "base/CommControl.h"

#include <QElapsedTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

LogCapture::LogCapture()
{
    m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(106);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = 8 << 20;
    setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    EXPECT_EQ(bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0)
        << "cannot listen on 127.0.0.1:106 (run the tests through scripts/netns-run)";
    CCommUdp& channel = CCommControl::GetInstance()->Channel();
    if (channel.LocalPort() < 0)
        channel.Open();
}

LogCapture::~LogCapture()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<QByteArray> LogCapture::NextRaw(int waitMs)
{
    pollfd p{m_fd, POLLIN, 0};
    if (poll(&p, 1, waitMs) <= 0)
        return std::nullopt;
    QByteArray buffer(65536, '\0');
    const ssize_t n = recv(m_fd, buffer.data(), buffer.size(), 0);
    if (n < 0)
        return std::nullopt;
    buffer.resize(n);
    return buffer;
}

QStringList LogCapture::Drain(int quietMs)
{
    QStringList lines;
    while (auto raw = NextRaw(quietMs))
        if (auto packet = LogPacket::Decode(*raw))
            lines << packet->text;
    return lines;
}

bool LogCapture::WaitFor(const QString& part, int waitMs, QStringList* seen)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs) {
        auto raw = NextRaw(int(qMax<qint64>(1, waitMs - timer.elapsed())));
        if (!raw)
            break;
        auto packet = LogPacket::Decode(*raw);
        if (!packet)
            continue;
        if (seen)
            *seen << packet->text;
        if (packet->text.contains(part))
            return true;
    }
    return false;
}
