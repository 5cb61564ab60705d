#include "Logic/MsgPacket.h"
#include "Logic/PacketFramer.h"
#include "Logic/StreamSocket.h"
#include "support/LogCapture.h"

#include <QByteArray>
#include <arpa/inet.h>
#include <condition_variable>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray Packet(int id, const QByteArray& body)
{
    QByteArray p(kPacketHeaderLength, '\0');
    WritePacketHeader(reinterpret_cast<uint8_t*>(p.data()), id, int(body.size()));
    return p + body;
}

// Runs the framer over a stretch as the server does: every packet, then what is kept.
struct Framed {
    std::vector<QByteArray> packets;
    QByteArray kept;
};

Framed Frame(const QByteArray& stretch)
{
    Framed out;
    auto msg = std::make_unique<SocketMsg>();
    const auto* data = reinterpret_cast<const uint8_t*>(stretch.constData());
    int pos = 0;
    for (;;) {
        const FrameResult r = FramePacket(data + pos, int(stretch.size()) - pos, msg.get());
        if (!r.packet) {
            if (r.keepFrom >= 0)
                out.kept = stretch.mid(pos + r.keepFrom);
            return out;
        }
        out.packets.emplace_back(reinterpret_cast<const char*>(msg->Data), msg->Length);
        pos += r.consumed;
    }
}

} // namespace

TEST(Framer, CutsPacketsOutOfAStretch)
{
    const QByteArray a = Packet(0x102, "first body");
    const QByteArray b = Packet(0x1002, QByteArray(300, 'b'));
    const QByteArray oversized = QByteArray::fromHex("BCDE00000201000A0FF7"); // 10 + 4087 = 4097
    const QByteArray undersized = QByteArray::fromHex("BCDE00000201000000000000");
    struct Case {
        const char* name;
        QByteArray stretch;
        std::vector<QByteArray> packets;
        QByteArray kept;
    } cases[] = {
        {"two packets in one stretch", a + b, {a, b}, {}},
        {"first part of a packet", b.left(150), {}, b.left(150)},
        {"a header not yet whole", a + b.left(6), {a}, b.left(6)},
        {"a lone BC at the end", a + "\xBC", {a}, "\xBC"},
        {"garbage before the magic", "noise\xDE\xBC!" + a, {a}, {}},
        {"garbage only", "noise", {}, {}},
        {"a 4097-byte header, then a packet", oversized + "xx" + a, {a}, {}},
        {"a header shorter than itself, then a packet", undersized + a, {a}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Framed f = Frame(c.stretch);
        EXPECT_EQ(f.packets, c.packets);
        EXPECT_EQ(f.kept, c.kept);
    }
    // What was kept joins the next receive.
    EXPECT_EQ(Frame(b.left(150) + b.mid(150)).packets, std::vector<QByteArray>{b});
    EXPECT_EQ(Frame(QByteArray("\xBC") + a.mid(1)).packets, std::vector<QByteArray>{a});
}

namespace {

// A server on a free port, run on its own thread, that records what it hands on.
class Server : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.SetHandlers(
            [this](const QString& ip, int port) {
                std::lock_guard guard(lock);
                connected.emplace_back(ip, port);
                changed.notify_all();
            },
            [this](const SocketMsg& msg) {
                std::lock_guard guard(lock);
                packets.emplace_back(QString::fromUtf16(msg.PeerIP),
                                     QByteArray(reinterpret_cast<const char*>(msg.Data), msg.Length));
                changed.notify_all();
            });
        ASSERT_EQ(server.Listen(), 0);
        thread = std::thread([this] { server.Run(); });
    }
    void TearDown() override
    {
        server.Stop();
        thread.join();
        for (int fd : clients)
            ::close(fd);
    }

    // A device connecting from its own loopback address; returns its socket.
    int Connect(const char* from, int* localPort = nullptr)
    {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        inet_pton(AF_INET, from, &a.sin_addr);
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(uint16_t(server.LocalPort()));
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
        socklen_t len = sizeof a;
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        if (localPort)
            *localPort = ntohs(a.sin_port);
        clients.push_back(fd);
        return fd;
    }

    template <class Pred> bool WaitUntil(Pred pred, int ms = 5000)
    {
        std::unique_lock guard(lock);
        return changed.wait_for(guard, std::chrono::milliseconds(ms), pred);
    }
    bool WaitClients(int count)
    {
        for (int i = 0; i < 500; ++i) {
            if (server.ClientCount() == count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    static void Send(int fd, const QByteArray& bytes)
    {
        ASSERT_EQ(send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL), bytes.size());
    }
    static QByteArray Receive(int fd, int ms = 2000)
    {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0)
            return QByteArray();
        QByteArray buffer(8192, '\0');
        const ssize_t n = recv(fd, buffer.data(), size_t(buffer.size()), 0);
        return buffer.left(int(std::max<ssize_t>(n, 0)));
    }

    CStreamSocket server{0};
    std::thread thread;
    std::vector<int> clients;
    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::pair<QString, int>> connected;
    std::vector<std::pair<QString, QByteArray>> packets;
};

} // namespace

TEST_F(Server, TwoDevicesSplittingPacketsKeepTheirOwnCarryOver)
{
    const int a = Connect("127.0.0.2");
    const int b = Connect("127.0.0.3");
    ASSERT_TRUE(WaitUntil([&] { return connected.size() == 2; }));
    const QByteArray pa = Packet(0x102, QByteArray(700, 'a'));
    const QByteArray pb = Packet(0x102, QByteArray(900, 'b'));
    // Interleaved halves: a shared carry-over would mix the two streams.
    for (int half = 0; half < 2; ++half) {
        Send(a, half ? pa.mid(350) : pa.left(350));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        Send(b, half ? pb.mid(450) : "noise" + pb.left(450));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    ASSERT_TRUE(WaitUntil([&] { return packets.size() == 2; }));
    EXPECT_EQ(packets[0], std::make_pair(QStringLiteral("127.0.0.2"), pa));
    EXPECT_EQ(packets[1], std::make_pair(QStringLiteral("127.0.0.3"), pb));
}

TEST_F(Server, EndedConnectionIsClosedAndNeverSentToAgain)
{
    LogCapture log;
    int portA = 0;
    const int a = Connect("127.0.0.2", &portA);
    ASSERT_TRUE(WaitUntil([&] { return connected.size() == 1; }));
    EXPECT_EQ(connected[0], std::make_pair(QStringLiteral("127.0.0.2"), portA));
    EXPECT_TRUE(log.WaitFor(QStringLiteral("127.0.0.2:%1 connected").arg(portA)));

    ::close(a);
    clients.clear();
    ASSERT_TRUE(WaitClients(0));

    // A new device is likely to get the same descriptor number.
    int portB = 0;
    const int b = Connect("127.0.0.3", &portB);
    ASSERT_TRUE(WaitClients(1));
    const QByteArray request = Packet(0x1002, "status?");
    const QString ipA = QStringLiteral("127.0.0.2");
    const QString ipB = QStringLiteral("127.0.0.3");
    log.Drain(20);
    EXPECT_EQ(server.SendTcpMsg(reinterpret_cast<const uint8_t*>(request.constData()), &ipA, portA,
                                int(request.size())),
              -1);
    EXPECT_TRUE(log.WaitFor(QStringLiteral("SendTcpMsg failed.")));
    EXPECT_TRUE(Receive(b, 100).isEmpty());
    EXPECT_EQ(server.SendTcpMsg(reinterpret_cast<const uint8_t*>(request.constData()), &ipB, portB,
                                int(request.size())),
              0);
    EXPECT_EQ(Receive(b), request);
}

TEST_F(Server, NewestConnectionFromAnAddressIsUsed)
{
    int oldPort = 0;
    int newPort = 0;
    const int older = Connect("127.0.0.4", &oldPort);
    ASSERT_TRUE(WaitClients(1));
    const int newer = Connect("127.0.0.4", &newPort);
    ASSERT_TRUE(WaitClients(2));
    const QString ip = QStringLiteral("127.0.0.4");
    const QByteArray first = Packet(0x1002, "to the newest");
    const QByteArray second = Packet(0x1002, "to the older by port");
    const auto* p1 = reinterpret_cast<const uint8_t*>(first.constData());
    const auto* p2 = reinterpret_cast<const uint8_t*>(second.constData());
    EXPECT_EQ(server.SendTcpMsg(p1, &ip, 0, int(first.size())), 0);
    EXPECT_EQ(server.SendTcpMsg(p2, &ip, oldPort, int(second.size())), 0);
    EXPECT_EQ(Receive(newer), first);
    EXPECT_EQ(Receive(older), second);
    const QString unknown = QStringLiteral("127.0.0.9");
    EXPECT_EQ(server.SendTcpMsg(p1, &unknown, 0, int(first.size())), -1);
    EXPECT_EQ(server.SendTcpMsg(p1, nullptr, 0, int(first.size())), -1);
}

TEST_F(Server, FailingAcceptIsLoggedAndTheServerGoesOn)
{
    LogCapture log;
    // The device's own socket exists before the descriptors run out.
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    std::vector<int> filler;
    rlimit tight = saved;
    tight.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    for (int f; (f = dup(0)) >= 0;)
        filler.push_back(f);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(uint16_t(server.LocalPort()));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    clients.push_back(fd);
    const bool logged = log.WaitFor(QStringLiteral("accept failed.nSockFd="), 3000);

    for (int f : filler)
        ::close(f);
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_TRUE(logged);
    EXPECT_TRUE(WaitUntil([&] { return connected.size() == 1; }));
}

TEST_F(Server, PeerThatNeverReadsCannotStallTheSender)
{
    const int stuck = Connect("127.0.0.5");
    const int small = 1024;
    setsockopt(stuck, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    int port = 0;
    const int healthy = Connect("127.0.0.6", &port);
    ASSERT_TRUE(WaitClients(2));

    const QByteArray big = Packet(0x1002, QByteArray(4000, 'x'));
    const auto* bytes = reinterpret_cast<const uint8_t*>(big.constData());
    const QString stuckIp = QStringLiteral("127.0.0.5");
    int sends = 0;
    while (sends < 20000 && server.SendTcpMsg(bytes, &stuckIp, 0, int(big.size())) == 0)
        ++sends;
    EXPECT_LT(sends, 20000) << "the buffers never filled";

    const QString healthyIp = QStringLiteral("127.0.0.6");
    const QByteArray request = Packet(0x1002, "still served");
    EXPECT_EQ(server.SendTcpMsg(reinterpret_cast<const uint8_t*>(request.constData()), &healthyIp,
                                port, int(request.size())),
              0);
    EXPECT_EQ(Receive(healthy), request);
}
