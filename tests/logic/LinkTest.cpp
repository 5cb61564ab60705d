// The device link end to end: the core started as the program starts it, and
// simulated devices that hear its invitations on 238.8.8.1.
#include "DeviceSimulator.h"
#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "Logic/MsgPacket.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "support/LogCapture.h"
#include "support/ResidentKb.h"
#include "support/StoreLists.h"
#include "support/TestProgramDir.h"

#include <QDir>
#include <QProcess>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

LogCapture* g_log = nullptr;

// One core per process, as in the program: started once for every test here.
class LinkEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_dir = std::make_unique<TestProgramDir>();
        m_log = std::make_unique<LogCapture>();
        g_log = m_log.get();
        CControl::GetInstance()->Init();
    }

private:
    std::unique_ptr<TestProgramDir> m_dir;
    std::unique_ptr<LogCapture> m_log;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new LinkEnvironment);

CDbAccess* Db() { return CDbAccess::GetInstance(); }
CControl* Core() { return CControl::GetInstance(); }

template <class Pred> bool WaitUntil(Pred pred, int ms = 10000)
{
    for (int waited = 0; waited < ms; waited += 5) {
        if (pred())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return pred();
}

// Once the server has seen every connection end, all that the devices sent has
// been queued; once the queue is idle, all of it has been handled.
void Quiesce()
{
    CStreamSocket& server = CDeviceControl::GetInstance()->StreamSocket();
    EXPECT_TRUE(WaitUntil([&] { return server.ClientCount() == 0; }));
    EXPECT_TRUE(Core()->WaitIdle(5000));
}

int Online() { return Db()->CountDevicesByState(1, QString()); }

void Store(const QString& mac, const QString& name)
{
    DeviceRecord r;
    r.MAC = mac;
    r.LocalName = name;
    r.Type = 1;
    r.IP = QStringLiteral("10.9.9.9");
    r.Firmware = QStringLiteral("old");
    ASSERT_EQ(Db()->InsertDevice(r), 0);
}

void ClearStore()
{
    CppSQLite3DB::GetInstance().Execute(QStringLiteral("delete from Devices"));
    Core()->ClearScanDevices();
}

SimDeviceConfig Sim(const char* mac, const char* firmware, const char* ip)
{
    SimDeviceConfig d;
    d.mac = QString::fromLatin1(mac);
    d.firmware = QString::fromLatin1(firmware);
    d.ip = QString::fromLatin1(ip);
    d.type = QStringLiteral("7");
    return d;
}

int OpenDescriptors() { return int(QDir(QStringLiteral("/proc/self/fd")).count()) - 2; }

} // namespace

TEST(DeviceLink, StoredDevicesGoOnlineAndUnknownOnesAreOffered)
{
    ClearStore();
    Store(QStringLiteral("0C1105E2E001"), QStringLiteral("Front"));
    Store(QStringLiteral("0C1105E2E002"), QStringLiteral("Back"));
    Store(QStringLiteral("0C1105E2E003"), QStringLiteral("Garage"));
    const std::vector<SimDeviceConfig> devices = {
        Sim("0C1105E2E001", "20.1.2", "127.0.3.1"),
        Sim("0C1105E2E002", "11.30.1.5", "127.0.3.2"),
        Sim("0C:11:05:E2:E0:03", "915.30.1.1", "127.0.3.3"), // stored without colons
        Sim("0C1105E2E101", "27.0.1", "127.0.3.4"),
        Sim("0C1105E2E102", "29.0", "127.0.3.5"),
        Sim("0C1105E2E201", "21.0.1", "127.0.3.6"), // no model: dropped
    };
    auto simulator = std::make_unique<CDeviceSimulator>(devices);
    ASSERT_TRUE(simulator->Start().isEmpty());

    g_log->Drain(20);
    ASSERT_EQ(Core()->ProcessMulticastAddress(), 0);
    EXPECT_TRUE(g_log->WaitFor(QStringLiteral("SendUDP Sucessful!!!")));
    ASSERT_TRUE(WaitUntil([] { return Online() == 3 && Chain(Core()->GetScanDevices()).size() == 2; }))
        << Online() << " on-line";
    ASSERT_TRUE(simulator->WaitReports(devices.size(), 5000));
    ASSERT_TRUE(Core()->WaitIdle(5000));

    struct Expect {
        const char* name;
        const char* model;
        const char* ip;
        const char* firmware;
    } stored[] = {{"Front", "R20", "127.0.3.1", "20.1.2"},
                  {"Back", "E11", "127.0.3.2", "11.30.1.5"},
                  {"Garage", "X91", "127.0.3.3", "915.30.1.1"}};
    for (const Expect& e : stored) {
        SCOPED_TRACE(e.name);
        DeviceRecord r;
        ASSERT_EQ(Db()->GetDeviceByLocalName(QString::fromLatin1(e.name), &r), 0);
        EXPECT_EQ(r.State, 1);
        EXPECT_EQ(r.Type, 7);
        EXPECT_EQ(r.Model, QString::fromLatin1(e.model));
        EXPECT_EQ(r.IP, QString::fromLatin1(e.ip));
        EXPECT_EQ(r.Firmware, QString::fromLatin1(e.firmware));
        EXPECT_EQ(r.LocalName, QString::fromLatin1(e.name));
    }
    EXPECT_EQ(Db()->CountDevices(QString()), 3);
    std::vector<DeviceRecord> scan = Chain(Core()->GetScanDevices());
    ASSERT_EQ(scan.size(), 2u);
    QStringList macs{scan[0].MAC, scan[1].MAC};
    macs.sort();
    EXPECT_EQ(macs, (QStringList{QStringLiteral("0C1105E2E101"), QStringLiteral("0C1105E2E102")}));

    // With the devices gone quiet, the next invitation leaves everything off-line.
    simulator.reset();
    Quiesce();
    ASSERT_EQ(Core()->ProcessMulticastAddress(), 0);
    EXPECT_EQ(Online(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(Online(), 0);

    // Until they report again; the scan list still holds each unknown device once.
    simulator = std::make_unique<CDeviceSimulator>(devices);
    ASSERT_TRUE(simulator->Start().isEmpty());
    ASSERT_EQ(Core()->ProcessMulticastAddress(), 0);
    ASSERT_TRUE(simulator->WaitReports(devices.size(), 5000));
    EXPECT_TRUE(WaitUntil([] { return Online() == 3; }));
    simulator.reset();
    Quiesce();
    EXPECT_EQ(Chain(Core()->GetScanDevices()).size(), 2u);
}

TEST(DeviceLink, SoakKeepsDescriptorsAndMemoryFlat)
{
    constexpr int kDevices = 200;
    constexpr int kInvitations = 30;
    ClearStore();
    SimDeviceConfig first = Sim("0C1105500000", "20.1.2", "127.0.4.1");
    for (const SimDeviceConfig& d : MakeSimDevices(kDevices, first))
        Store(d.mac, QStringLiteral("Soak ") + d.mac);

    QProcess devsim;
    devsim.start(QStringLiteral(KV_DEVSIM),
                 {QStringLiteral("--count"), QString::number(kDevices), QStringLiteral("--first-ip"),
                  first.ip, QStringLiteral("--first-mac"), first.mac, QStringLiteral("--firmware"),
                  first.firmware, QStringLiteral("--http"), QStringLiteral("off")});
    ASSERT_TRUE(devsim.waitForReadyRead(10000)) << devsim.readAllStandardError().toStdString();
    ASSERT_TRUE(devsim.readLine().startsWith("ready"));

    CStreamSocket& server = CDeviceControl::GetInstance()->StreamSocket();
    int descriptors = 0;
    long resident = 0;
    for (int cycle = 1; cycle <= kInvitations; ++cycle) {
        ASSERT_EQ(Core()->ProcessMulticastAddress(), 0);
        ASSERT_TRUE(WaitUntil([] { return Online() == kDevices; })) << "cycle " << cycle << ": "
                                                                      << Online() << " on-line";
        ASSERT_TRUE(WaitUntil([&] { return server.ClientCount() == kDevices; })) << cycle;
        ASSERT_TRUE(Core()->WaitIdle(5000));
        if (cycle == 5) {
            descriptors = OpenDescriptors();
            resident = ResidentKb();
        }
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
#ifndef __SANITIZE_ADDRESS__ // the address sanitizer holds freed memory back on purpose
    EXPECT_LT(ResidentKb() - resident, 2048) << "kB grown over " << kInvitations - 5 << " cycles";
#endif
    for (const DeviceRecord& r : Chain(Core()->GetScanDevices()))
        ADD_FAILURE() << "on the scan list: " << r.MAC.toStdString() << " " << r.IP.toStdString();

    devsim.terminate();
    ASSERT_TRUE(devsim.waitForFinished(5000));
    const QByteArray summary = devsim.readAllStandardOutput();
    EXPECT_TRUE(summary.contains("reports " + QByteArray::number(kDevices * kInvitations) + " "))
        << summary.toStdString();
}

TEST(DeviceLink, EachAnnouncementIsOneRequestConnectionDatagram)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(CMulticastSocket::kPort);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
    ip_mreq group{};
    inet_pton(AF_INET, CMulticastSocket::kGroup, &group.imr_multiaddr);
    ASSERT_EQ(setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group), 0);

    ASSERT_EQ(Core()->ProcessMulticastAddress(), 0);
    QByteArray datagram(kMaxPacketLength, '\0');
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);
    datagram.resize(int(recv(fd, datagram.data(), size_t(datagram.size()), 0)));
    EXPECT_EQ(poll(&p, 1, 200), 0) << "more than one datagram";
    ::close(fd);

    const auto* bytes = reinterpret_cast<const uint8_t*>(datagram.constData());
    ASSERT_GE(datagram.size(), kPacketHeaderLength);
    EXPECT_EQ(datagram.left(8), QByteArray::fromHex("BCDE00000110000A"));
    EXPECT_EQ(PacketPayloadLength(bytes), datagram.size() - kPacketHeaderLength);
    const QList<QByteArray> lines = datagram.mid(kPacketHeaderLength).split('\n');
    ASSERT_EQ(lines.size(), 11); // ten lines, each ending in CR LF
    EXPECT_TRUE(lines[4].startsWith("\t\t<IP>") && lines[4].endsWith("</IP>\r"))
        << lines[4].constData();
    EXPECT_EQ(lines[5], "\t\t<Port>8501</Port>\r");
    EXPECT_EQ(lines[6], "\t\t<Force>1</Force>\r");
    EXPECT_EQ(lines[7], "\t\t<HeartBeatPeriod>10000</HeartBeatPeriod>\r");
}
