#include "DeviceSimulator.h"
#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "Logic/MsgPacket.h"
#include "Logic/StreamSocket.h"
#include "SimReport.h"
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "store/DbAccess.h"
#include "support/LogCapture.h"
#include "support/StoreLists.h"
#include "support/TestProgramDir.h"

#include <QDir>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

SimDeviceConfig Sim(const QString& mac, const QString& firmware, const QString& ip = "127.0.0.7")
{
    SimDeviceConfig d;
    d.mac = mac;
    d.firmware = firmware;
    d.ip = ip;
    return d;
}

std::unique_ptr<SocketMsg> Report(const SimDeviceConfig& device, int id = MSG_ID_REPORT_STATUS)
{
    auto msg = std::make_unique<SocketMsg>();
    std::memset(msg.get(), 0, sizeof *msg);
    const QByteArray packet = SimReportPacket(device);
    std::memcpy(msg->Data, packet.constData(), size_t(packet.size()));
    WritePacketHeader(msg->Data, id, int(packet.size()) - kPacketHeaderLength);
    msg->Length = int(packet.size());
    return msg;
}

DeviceRecord Stored(const QString& mac, const QString& name)
{
    DeviceRecord r;
    r.MAC = mac;
    r.LocalName = name;
    r.IP = QStringLiteral("10.9.9.9");
    r.Firmware = QStringLiteral("old");
    return r;
}

DeviceRecord ByName(const QString& name)
{
    DeviceRecord r;
    EXPECT_EQ(CDbAccess::GetInstance()->GetDeviceByLocalName(name, &r), 0);
    return r;
}

class Core : public ::testing::Test {
protected:
    TestProgramDir dir;
    CStreamSocket server{0};
    CControl control{&server};
};

} // namespace

TEST_F(Core, ReportsRefreshStoredDevicesOrFillTheScanList)
{
    LogCapture log;
    CDbAccess* db = CDbAccess::GetInstance();
    ASSERT_EQ(db->InsertDevice(Stored(QStringLiteral("0C1105AABBCC"), QStringLiteral("Gate"))), 0);

    SimDeviceConfig gate = Sim(QStringLiteral("0C:11:05:AA:BB:CC"), QStringLiteral("11.30.1.5"));
    gate.type = QStringLiteral("5");
    EXPECT_EQ(control.OnSocketMsg(Report(gate).get()), 0);
    const DeviceRecord g = ByName(QStringLiteral("Gate"));
    EXPECT_EQ(g.State, 1);
    EXPECT_EQ(g.Type, 5);
    EXPECT_EQ(g.Model, QStringLiteral("E11"));
    EXPECT_EQ(g.IP, QStringLiteral("127.0.0.7"));
    EXPECT_EQ(g.Firmware, QStringLiteral("11.30.1.5"));
    EXPECT_EQ(g.MAC, QStringLiteral("0C1105AABBCC"));

    SimDeviceConfig lobby = Sim(QStringLiteral("0C1105000001"), QStringLiteral("26.0.1"));
    lobby.type = QStringLiteral("abc");
    SimDeviceConfig hall = Sim(QStringLiteral("0C1105000002"), QStringLiteral("915.30.1.1"));
    SimDeviceConfig lobbyAgain = lobby;
    lobbyAgain.ip = QStringLiteral("127.0.0.8");
    struct Case {
        const char* name;
        SimDeviceConfig device;
        int id;
        int result;
    } cases[] = {
        {"unknown device", lobby, 0x102, 0},
        {"upper id bits ignored", hall, 0x2102, 0},
        {"same MAC again", lobbyAgain, 0x1102, 0},
        {"not a report", Sim(QStringLiteral("0C1105000003"), QStringLiteral("20.1")), 0x0103, 0},
        {"unsupported firmware", Sim(QStringLiteral("0C1105000004"), QStringLiteral("21.0.1")), 0x102, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(control.OnSocketMsg(Report(c.device, c.id).get()), c.result) << c.name;

    const std::vector<DeviceRecord> scan = Chain(control.GetScanDevices());
    ASSERT_EQ(scan.size(), 2u);
    EXPECT_EQ(scan[0].MAC, QStringLiteral("0C1105000001"));
    EXPECT_EQ(scan[0].IP, QStringLiteral("127.0.0.8"));
    EXPECT_EQ(scan[0].Type, 0);
    EXPECT_EQ(scan[0].Model, QStringLiteral("R26"));
    EXPECT_EQ(scan[1].Model, QStringLiteral("X91"));
    EXPECT_EQ(db->CountDevices(QString()), 1);

    SimDeviceConfig broken = gate;
    broken.fault = SimFault::WrongRoot;
    log.Drain(20);
    EXPECT_EQ(control.OnSocketMsg(Report(broken).get()), -1);
    EXPECT_TRUE(log.WaitFor(QStringLiteral("CControl::OnSocketMsg: ParseReportStatusMsg failed.")));
    EXPECT_EQ(control.OnSocketMsg(nullptr), -1);

    EXPECT_EQ(control.ClearScanDevices(), 0);
    EXPECT_EQ(control.GetScanDevices(), nullptr);
    EXPECT_EQ(control.AddScanDevice(nullptr), -1);
}

TEST_F(Core, MessagesFromManyProducersAreHandledInPostingOrder)
{
    control.StartThreads();
    constexpr int kProducers = 4;
    constexpr int kEach = 150;
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([this, p] {
            for (int seq = 0; seq < kEach; ++seq) {
                const QString mac = QStringLiteral("P%1S%2").arg(p).arg(seq, 4, 10, QChar(u'0'));
                const auto msg = Report(Sim(mac, QStringLiteral("20.1.2")));
                ASSERT_EQ(control.PostCtrlMsg(msg.get(), sizeof *msg, CTRL_MSG_TCP_PACKET), 0);
            }
        });
    }
    for (std::thread& t : producers)
        t.join();
    ASSERT_TRUE(control.WaitIdle(20000));

    // Newest first: each producer's reports appear in reverse posting order.
    const std::vector<DeviceRecord> scan = Chain(control.GetScanDevices());
    ASSERT_EQ(scan.size(), size_t(kProducers * kEach));
    std::vector<int> last(kProducers, kEach);
    for (const DeviceRecord& r : scan) {
        const int p = r.MAC.mid(1, 1).toInt();
        const int seq = r.MAC.mid(3).toInt();
        EXPECT_EQ(seq, last[p] - 1) << r.MAC.toStdString();
        last[p] = seq;
    }
}

TEST_F(Core, ConnectedDeviceIsAskedForItsStatusAndGoesOnline)
{
    CDbAccess::GetInstance()->InsertDevice(Stored(QStringLiteral("0C1105000010"), QStringLiteral("Lift")));
    server.SetHandlers(
        [this](const QString& ip, int port) {
            DeviceConnectedInfo info;
            CopyIpText(info.PeerIP, ip);
            info.PeerPort = port;
            control.PostCtrlMsg(&info, sizeof info, CTRL_MSG_DEVICE_CONNECTED);
        },
        [this](const SocketMsg& msg) {
            control.PostCtrlMsg(&msg, sizeof msg, CTRL_MSG_TCP_PACKET);
        });
    ASSERT_EQ(server.Listen(), 0);
    std::thread run([this] { server.Run(); });
    control.StartThreads();

    SimDeviceConfig split = Sim(QStringLiteral("0C1105000010"), QStringLiteral("28.1.0"), "127.0.0.11");
    split.fault = SimFault::Split;
    SimDeviceConfig noisy = Sim(QStringLiteral("0C1105000011"), QStringLiteral("20.1.0"), "127.0.0.12");
    noisy.fault = SimFault::Garbage;
    CDeviceSimulator devices({split, noisy});
    ASSERT_TRUE(devices.Start(false).isEmpty());
    devices.Invite(QStringLiteral("127.0.0.1"), server.LocalPort());
    EXPECT_TRUE(devices.WaitReports(2, 5000));
    // Written is not yet read: wait for the server to have handed on both reports.
    for (int i = 0; i < 500 && (ByName(QStringLiteral("Lift")).State != 1 ||
                                Chain(control.GetScanDevices()).empty());
         ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    EXPECT_EQ(devices.Requests(), 2u);
    const DeviceRecord lift = ByName(QStringLiteral("Lift"));
    EXPECT_EQ(lift.State, 1);
    EXPECT_EQ(lift.Model, QStringLiteral("R28"));
    const std::vector<DeviceRecord> scan = Chain(control.GetScanDevices());
    ASSERT_EQ(scan.size(), 1u);
    EXPECT_EQ(scan[0].IP, QStringLiteral("127.0.0.12"));

    devices.Stop();
    server.Stop();
    run.join();
}

namespace {

// Init ends the process; each case runs in a child process of its own.
class InitEnds : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

int Hold(int type, int port)
{
    const int fd = socket(AF_INET, type, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    if (type == SOCK_STREAM)
        listen(fd, 1);
    return fd;
}

} // namespace

TEST_F(InitEnds, WhenTheServerPortIsTaken)
{
    TestProgramDir dir;
    const int held = Hold(SOCK_STREAM, CStreamSocket::kPort);
    EXPECT_EXIT(CControl::GetInstance()->Init(), ::testing::ExitedWithCode(0), "");
    ::close(held);
}

TEST_F(InitEnds, WhenTheMulticastPortIsTaken)
{
    TestProgramDir dir;
    const int held = Hold(SOCK_DGRAM, CMulticastSocket::kPort);
    EXPECT_EXIT(CControl::GetInstance()->Init(), ::testing::ExitedWithCode(0), "");
    ::close(held);
}

TEST_F(InitEnds, WhenTheDatabaseCannotBeOpenedAfterShowingWhy)
{
    TestProgramDir dir;
    ASSERT_TRUE(QDir(dir.File(QStringLiteral("DB"))).removeRecursively());
    SetMessageBoxHandler([](const QString& text, const QString& caption, int style) {
        std::fprintf(stderr, "box[%s|%s|%d]\n", qPrintable(caption), qPrintable(text), style);
        return 1;
    });
    EXPECT_EXIT(CControl::GetInstance()->Init(), ::testing::ExitedWithCode(0),
                "box\\[Kestrovane System\\|SQLITE_CANTOPEN.*\\|0\\]");
}
