#include "SimDeviceConfig.h"

#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString Load(const QByteArray& text, std::vector<SimDeviceConfig>* devices)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("devices.txt")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    return LoadSimDevices(file.fileName(), devices);
}

} // namespace

TEST(SimDeviceConfig, FileGivesOneDevicePerLine)
{
    std::vector<SimDeviceConfig> devices;
    ASSERT_EQ(Load("# door phones\n"
                   "mac=0C:11:05:AA:BB:CC firmware=20.1.2 ip=127.0.0.9 fault=split\n"
                   "\n"
                   "ip=127.0.0.10 mac=0C1105AABBCD auth=digest user=admin password=p4ss "
                   "cards=/tmp/c.xml http-fault=404 http-port=8080  # lobby\n",
                   &devices),
              QString());
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].mac, QStringLiteral("0C:11:05:AA:BB:CC"));
    EXPECT_EQ(devices[0].fault, SimFault::Split);
    EXPECT_EQ(devices[0].authMode, SimAuthMode::None);
    EXPECT_EQ(devices[1].authMode, SimAuthMode::Digest);
    EXPECT_EQ(devices[1].user, QStringLiteral("admin"));
    EXPECT_EQ(devices[1].password, QStringLiteral("p4ss"));
    EXPECT_EQ(devices[1].cardListFile, QStringLiteral("/tmp/c.xml"));
    EXPECT_EQ(devices[1].httpFault, QStringLiteral("404"));
    EXPECT_EQ(devices[1].httpPort, 8080);
}

TEST(SimDeviceConfig, BadLinesAreRefusedWithTheirNumber)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {"\nmac=1 ip=10.0.0.1\n", ":2: ip must be a 127.x.y.z address"},
        {"mac=1 ip=127.0.0.1 fault=sometimes\n", ":1: unknown fault"},
        {"mac=1 ip=127.0.0.1 auth=ntlm\n", ":1: unknown auth mode"},
        {"mac=1 ip=127.0.0.1 colour=red\n", ":1: unknown key"},
        {"mac=1 ip=127.0.0.1 http-port=0\n", ":1: bad http-port"},
        {"mac=1 ip=127.0.0.1 stray\n", ":1: expected key=value"},
        {"firmware=20.1\n", ":1: a device needs ip and mac"},
    };
    for (const auto& [text, error] : cases) {
        std::vector<SimDeviceConfig> devices;
        EXPECT_TRUE(Load(text, &devices).contains(QString::fromLatin1(error))) << error;
    }
}

TEST(SimDeviceConfig, CountedDevicesTakeTheNextAddressAndMac)
{
    SimDeviceConfig first;
    first.ip = QStringLiteral("127.0.1.254");
    first.mac = QStringLiteral("0C11050000FF");
    const std::vector<SimDeviceConfig> devices = MakeSimDevices(3, first);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[1].ip, QStringLiteral("127.0.2.1"));
    EXPECT_EQ(devices[1].mac, QStringLiteral("0C1105000100"));
    EXPECT_EQ(devices[2].ip, QStringLiteral("127.0.2.2"));
}
