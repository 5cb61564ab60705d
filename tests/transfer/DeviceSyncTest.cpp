#include "Logic/DeviceControl.h"
#include "TransferTestSupport.h"
#include "cardlist/RfKeyXml.h"
#include "store/DbAccess.h"
#include "support/StoreLists.h"
#include "support/TestProgramDir.h"
#include "tools/devsim/web/SimWebServer.h"
#include "transfer/DeviceSync.h"
#include "transfer/DeviceWorkDirs.h"

#include <QDir>
#include <map>
#include <thread>

namespace {

using Fault = SimWebServer::Fault;
using Auth = SimWebServer::Auth;

const QString kMac = QStringLiteral("001122AABBCC");
const QString kIp = QStringLiteral("127.0.0.20");

CDbAccess* Db() { return CDbAccess::GetInstance(); }

CardRecord Card(const QString& code, int owner, const QString& name)
{
    CardRecord c;
    c.Code = code;
    c.Name = name;
    c.DoorNumber = QStringLiteral("2");
    c.Wed = 1;
    c.TimeStart = QStringLiteral("06:00");
    c.TimeEnd = QStringLiteral("22:00");
    c.Owner = OwnerKey(owner);
    return c;
}

int RunWorker(int (*worker)(SyncJob*), SyncJob& job)
{
    std::atomic<int> status{0};
    job.Status = &status;
    int result = -5;
    std::thread t([&] { result = worker(&job); });
    t.join();
    EXPECT_EQ(status.load(), 2);
    return result;
}

class DeviceSync : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Start(kIp.toStdString())); }

    // Update From Device of device 12; returns the messages shown.
    QStringList UpdateFrom()
    {
        SyncJob job;
        EXPECT_EQ(PrepareUpdateFromDevice(12, kIp, kMac, job), 0);
        EXPECT_EQ(RunWorker(UpdateFromDeviceThread, job), 0);
        return messages.Take();
    }
    QStringList UpdateTo(int deviceId)
    {
        SyncJob job;
        EXPECT_EQ(PrepareUpdateToDevice(deviceId, kIp, kMac, job), 0);
        EXPECT_EQ(RunWorker(UpdateToDeviceThread, job), 0);
        return messages.Take();
    }

    TestProgramDir dir;
    SimWebServer device;
    MessageRecorder messages;
};

} // namespace

TEST_F(DeviceSync, UpdateFromDeviceMergesIntoTheDevicesCards)
{
    const QString name32(32, QLatin1Char('N'));
    const QByteArray served =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<KeyData>\r\n"
        "    <Key ID=\"1\" Name=\"From device\" Code=\"SHARED\" DoorNum=\"34\" Mon=\"1\" Tue=\"1\" "
        "TimeStart=\"01:00\" TimeEnd=\"02:00\" DoorWebRelay=\"5\" Tags=\"2\" Frequency=\"7\"/>\r\n"
        "    <Key ID=\"2\" Name=\"" + name32.toUtf8() + "\" Code=\"NEW\"/>\r\n</KeyData>\r\n";
    device.SetCardList(served.toStdString());
    Save(Card(QStringLiteral("SHARED"), 12, QStringLiteral("Local")));
    Save(Card(QStringLiteral("LOCALONLY"), 12, QStringLiteral("Stays")));
    Save(Card(QStringLiteral("SHARED"), 2, QStringLiteral("Other owner")));
    const QString workFile =
        dir.File(QStringLiteral("Devices/UpdateFrom/001122AABBCC/001122AABBCC.xml"));
    WriteAll(dir.File(QStringLiteral("Devices/UpdateFrom/001122AABBCC.stale")), "x");

    EXPECT_EQ(UpdateFrom(), QStringList{Shown(QStringLiteral("Updating Succeeded."))});

    const auto requests = device.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/api/rfkey/export");
    EXPECT_EQ(ReadAll(workFile), served);
    EXPECT_EQ(Cards(12), (std::map<QString, QString>{
                             {QStringLiteral("LOCALONLY"), QStringLiteral("Stays")},
                             {QStringLiteral("NEW"), QString()},
                             {QStringLiteral("SHARED"), QStringLiteral("From device")}}));
    EXPECT_EQ(Cards(2), (std::map<QString, QString>{
                            {QStringLiteral("SHARED"), QStringLiteral("Other owner")}}));

    CardRecord* list = Db()->ListCards(OwnerKey(12));
    ASSERT_NE(list, nullptr);
    const CardRecord& shared = *list; // the existing row, overwritten in place
    EXPECT_EQ(shared.Code, QStringLiteral("SHARED"));
    EXPECT_EQ(shared.DoorNumber, QStringLiteral("34"));
    EXPECT_EQ((std::vector<int>{shared.Mon, shared.Tue, shared.Wed, shared.WebRelay, shared.Tags,
                                shared.Frequency}),
              (std::vector<int>{1, 1, 0, 5, 2, 7}));
    EXPECT_EQ(shared.TimeEnd, QStringLiteral("02:00"));
    CDeviceControl::FreeRfcardList(list);
}

TEST_F(DeviceSync, UpdateFromDeviceClearsEarlierDownloads)
{
    const QString stale = dir.File(QStringLiteral("Devices/UpdateFrom/001122AABBCC/old.xml"));
    ASSERT_TRUE(QDir().mkpath(dir.File(QStringLiteral("Devices/UpdateFrom/001122AABBCC/sub"))));
    WriteAll(stale, "<KeyData/>");
    device.SetFault(Fault::Status404);
    UpdateFrom();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QDir(dir.File(QStringLiteral("Devices/UpdateFrom/001122AABBCC/sub"))).exists());
}

TEST_F(DeviceSync, UpdateFromDeviceOutcomes)
{
    Save(Card(QStringLiteral("KEEP"), 12, QStringLiteral("Kept")));
    const QString ok = QStringLiteral("Updating Succeeded.");
    const QString failed = QStringLiteral("Update failed\uFF0Cplease try again.");
    struct Case {
        Fault fault;
        Auth auth;
        QString message;
    };
    const Case cases[] = {
        {Fault::Empty200, Auth::None, ok},
        {Fault::Malformed, Auth::None, ok},
        {Fault::Status400, Auth::None, QStringLiteral("Error command.")},
        {Fault::Status401, Auth::None, QStringLiteral("Authentication failed.")},
        {Fault::Status403, Auth::None, QStringLiteral("Authentication failed.")},
        {Fault::None, Auth::Basic, QStringLiteral("Authentication failed.")},
        {Fault::Status404, Auth::None, failed},
        {Fault::Status500, Auth::None, failed},
    };
    for (const Case& c : cases) {
        device.SetFault(c.fault);
        device.SetAuth(c.auth, "admin", "right");
        EXPECT_EQ(UpdateFrom(), QStringList{Shown(c.message)}) << int(c.fault);
    }
    EXPECT_EQ(Cards(12).size(), 1u) << "nothing stored";
    EXPECT_EQ(failed.toUtf8(), QByteArray("Update failed\xef\xbc\x8cplease try again."));
}

TEST_F(DeviceSync, NoAnswerGivesUpdateFailed)
{
    device.SetFault(Fault::NoAnswer);
    EXPECT_EQ(UpdateFrom(),
              QStringList{Shown(QStringLiteral("Update failed\uFF0Cplease try again."))});
    EXPECT_EQ(device.Requests().size(), 3u) << "three attempts";
}

TEST_F(DeviceSync, UpdateToDeviceSendsTheCardsInAscendingId)
{
    Save(Card(QStringLiteral("B"), 7, QStringLiteral("second")));
    Save(Card(QStringLiteral("A"), 7, QStringLiteral("third")));
    Save(Card(QStringLiteral("X"), 77, QStringLiteral("not this device")));
    Save(Card(QStringLiteral("C"), 7, QStringLiteral("fourth")));

    EXPECT_EQ(UpdateTo(7), QStringList{Shown(QStringLiteral("Updating Succeeded."))});
    const QString sent = dir.File(QStringLiteral("Devices/UpdateTo/001122AABBCC/001122AABBCC.xml"));
    EXPECT_EQ(QByteArray::fromStdString(device.CardList()), ReadAll(sent));

    CardRecord* expected = Db()->ListCards(OwnerKey(7));
    const QString expectedPath = dir.File(QStringLiteral("expected.xml"));
    ASSERT_EQ(WriteRfxmlFile(expected, expectedPath.toUtf8().constData()), 0);
    CDeviceControl::FreeRfcardList(expected);
    EXPECT_EQ(QByteArray::fromStdString(device.CardList()), ReadAll(expectedPath));

    const auto requests = device.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/api/rfkey/import");
    EXPECT_EQ(requests[0].reqformat, "plain");
}

TEST_F(DeviceSync, UpdateToDeviceWithoutCardsAndItsFailures)
{
    EXPECT_EQ(UpdateTo(9), QStringList{Shown(QStringLiteral("Updating Succeeded."))});
    EXPECT_EQ(QByteArray::fromStdString(device.CardList()),
              QByteArray(
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KeyData>\n    < />\n</KeyData>\n"));

    device.SetAuth(Auth::Digest, "admin", "right");
    EXPECT_EQ(UpdateTo(9), QStringList{Shown(QStringLiteral("Authentication failed."))});
    ASSERT_EQ(SaveHttpAuthSettings(2, QStringLiteral("admin"), QStringLiteral("right")), 0);
    EXPECT_EQ(UpdateTo(9), QStringList{Shown(QStringLiteral("Updating Succeeded."))});
    device.SetFault(Fault::Status400);
    EXPECT_EQ(UpdateTo(9), QStringList{Shown(QStringLiteral("Error command."))});
    EXPECT_EQ(device.UploadCount(), 2);
}

TEST(DeviceWorkDirs, NamesAndRefusedMacs)
{
    TestProgramDir dir;
    EXPECT_EQ(GetDevicesDir(), dir.Path() + QStringLiteral("/Devices"));
    EXPECT_EQ(GetUpdateToFile(kMac),
              dir.Path() + QStringLiteral("/Devices/UpdateTo/001122AABBCC/001122AABBCC.xml"));
    EXPECT_EQ(GetUpdateFromDir(kMac),
              dir.Path() + QStringLiteral("/Devices/UpdateFrom/001122AABBCC"));
    for (const char* mac : {"", "..", "../../etc", "AA/BB", "a b"}) {
        EXPECT_TRUE(GetUpdateToDir(QString::fromUtf8(mac)).isEmpty()) << mac;
        SyncJob job;
        EXPECT_EQ(PrepareUpdateFromDevice(1, kIp, QString::fromUtf8(mac), job), -1) << mac;
    }
    EXPECT_EQ(UpdateFromDeviceThread(nullptr), -1);
    EXPECT_EQ(UpdateToDeviceThread(nullptr), -1);
}
