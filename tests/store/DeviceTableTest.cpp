#include "Logic/DeviceControl.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "support/TestProgramDir.h"

#include <gtest/gtest.h>

namespace {

CDbAccess* Db() { return CDbAccess::GetInstance(); }

DeviceRecord Device(const QString& mac, const QString& ip, const QString& name, int state = 0)
{
    DeviceRecord r;
    r.Type = 3;
    r.State = state;
    r.Model = QStringLiteral("R20");
    r.MAC = mac;
    r.IP = ip;
    r.LocalName = name;
    r.Firmware = QStringLiteral("20.0.1.5");
    return r;
}

std::vector<int> Ids(DeviceRecord* head)
{
    std::vector<int> ids;
    for (DeviceRecord* r = head; r; r = r->next)
        ids.push_back(r->ID);
    CDeviceControl::FreeDeviceList(head);
    return ids;
}

class DeviceTable : public ::testing::Test {
protected:
    TestProgramDir dir;
};

} // namespace

TEST_F(DeviceTable, InsertAssignsIdsThatAreNeverReused)
{
    DeviceRecord r = Device(QStringLiteral("0C1105AABBCC"), QStringLiteral("10.0.0.5"), QStringLiteral("Gate"));
    r.ID = 55;
    ASSERT_EQ(Db()->InsertDevice(r), 0);
    ASSERT_EQ(Db()->InsertDevice(Device(QStringLiteral("0C1105AABBCD"), QStringLiteral("10.0.0.6"), QStringLiteral("Hall"))), 0);
    EXPECT_EQ(Ids(Db()->ListDevices(QString())), (std::vector<int>{1, 2}));

    ASSERT_EQ(Db()->DeleteDeviceById(2), 0);
    ASSERT_EQ(Db()->InsertDevice(Device(QStringLiteral("0C1105AABBCE"), QStringLiteral("10.0.0.7"), QStringLiteral("Lift"))), 0);
    EXPECT_EQ(Ids(Db()->ListDevices(QString())), (std::vector<int>{1, 3}));

    DeviceRecord read;
    ASSERT_EQ(Db()->GetDeviceById(1, &read), 0);
    EXPECT_EQ(read.ID, 1);
    EXPECT_EQ(read.Type, 3);
    EXPECT_EQ(read.Model, QStringLiteral("R20"));
    EXPECT_EQ(read.IP, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(read.MAC, QStringLiteral("0C1105AABBCC"));
    EXPECT_EQ(read.LocalName, QStringLiteral("Gate"));
    EXPECT_EQ(read.Firmware, QStringLiteral("20.0.1.5"));
}

TEST_F(DeviceTable, LookupsByIdNameAndMac)
{
    Db()->InsertDevice(Device(QStringLiteral("0C1105AABBCC"), QStringLiteral("10.0.0.5"), QStringLiteral("Gate")));

    DeviceRecord untouched;
    untouched.LocalName = QStringLiteral("as given");
    EXPECT_EQ(Db()->GetDeviceById(99, &untouched), 0);
    EXPECT_EQ(untouched.LocalName, QStringLiteral("as given"));
    EXPECT_EQ(Db()->GetDeviceById(1, nullptr), -1);

    DeviceRecord byName;
    EXPECT_EQ(CDeviceControl::GetInstance()->GetDeviceByName(QStringLiteral("Gate"), &byName), 0);
    EXPECT_EQ(byName.ID, 1);

    EXPECT_EQ(CDeviceControl::GetInstance()->IsDeviceExist(QStringLiteral("0C1105AABBCC")), 1);
    // A device reporting its MAC in lower case is the same device.
    EXPECT_EQ(CDeviceControl::GetInstance()->IsDeviceExist(QStringLiteral("0c1105aabbcc")), 1);
    EXPECT_EQ(CDeviceControl::GetInstance()->IsDeviceExist(QStringLiteral("0C1105AABBC")), 0);
}

TEST_F(DeviceTable, UpdatesKeepWhatTheyDoNotName)
{
    Db()->InsertDevice(Device(QStringLiteral("0C1105AABBCC"), QStringLiteral("10.0.0.5"), QStringLiteral("Gate"), 1));

    DeviceRecord report;
    report.Type = 7;
    report.Model = QStringLiteral("X91");
    report.IP = QStringLiteral("10.0.0.9");
    report.Firmware = QStringLiteral("91.1.2.3");
    report.MAC = QStringLiteral("0c1105aabbcc");
    report.LocalName = QStringLiteral("ignored");
    EXPECT_EQ(CDeviceControl::GetInstance()->UpdateDeviceByMac(report), 0);
    DeviceRecord r;
    Db()->GetDeviceById(1, &r);
    EXPECT_EQ(r.Type, 7);
    EXPECT_EQ(r.IP, QStringLiteral("10.0.0.9"));
    EXPECT_EQ(r.LocalName, QStringLiteral("Gate"));
    EXPECT_EQ(r.State, 1);

    r.LocalName = QStringLiteral("Front gate");
    r.State = 0;
    EXPECT_EQ(Db()->UpdateDeviceById(r), 0);
    DeviceRecord again;
    Db()->GetDeviceById(1, &again);
    EXPECT_EQ(again.LocalName, QStringLiteral("Front gate"));
    EXPECT_EQ(again.State, 1) << "the update by ID leaves the state alone";
}

TEST_F(DeviceTable, StatesCountsAndListsBySearch)
{
    Db()->InsertDevice(Device(QStringLiteral("0C1105000001"), QStringLiteral("10.0.0.5"), QStringLiteral("Gate")));
    Db()->InsertDevice(Device(QStringLiteral("0C1105000002"), QStringLiteral("192.168.1.20"), QStringLiteral("Hall 10.0.")));
    Db()->InsertDevice(Device(QStringLiteral("0C1105000003"), QStringLiteral("172.16.0.1"), QStringLiteral("Lift_A")));
    Db()->InsertDevice(Device(QStringLiteral("0C1105000004"), QStringLiteral("172.16.0.2"), QStringLiteral("LiftxA")));

    CDeviceControl* dc = CDeviceControl::GetInstance();
    EXPECT_EQ(dc->SetDeviceState(QString(), 1), 0);
    EXPECT_EQ(Db()->CountDevicesByState(1, QString()), 4) << "an empty MAC sets every device";
    EXPECT_EQ(Db()->ResetDeviceStates(), 0);
    EXPECT_EQ(dc->SetDeviceState(QStringLiteral("0C1105000003"), 1), 0);
    EXPECT_EQ(dc->SetDeviceState(QStringLiteral("0C1105000001"), 1), 0);
    EXPECT_EQ(Ids(Db()->ListDevicesByState(1, QString())), (std::vector<int>{1, 3}));
    EXPECT_EQ(Ids(Db()->ListDevicesByState(0, QString())), (std::vector<int>{2, 4}));

    const std::pair<const char*, int> searches[] = {
        {"10.0.", 2},   // IP of one, name of another
        {"gate", 1},    // letters match whatever their case
        {"lift_a", 2},  // '_' is a wildcard: matches Lift_A and LiftxA
        {"0C1105%4", 1}, // '%' is a wildcard
        {"20.0.1", 4},  // firmware
        {"nothing", 0},
    };
    for (auto [text, want] : searches) {
        EXPECT_EQ(Db()->CountDevices(QString::fromUtf8(text)), want) << text;
        EXPECT_EQ(int(Ids(Db()->ListDevices(QString::fromUtf8(text))).size()), want) << text;
    }
    EXPECT_EQ(Db()->CountDevicesByState(1, QStringLiteral("lift")), 1);

    int count = -1;
    EXPECT_EQ(Ids(dc->GetDeviceList(QString(), 2, count)), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(count, 4);
    EXPECT_EQ(Ids(dc->GetDeviceList(QString(), 1, count)), (std::vector<int>{1, 3}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Ids(dc->GetDeviceList(QStringLiteral("lift"), 0, count)), (std::vector<int>{4}));
    EXPECT_EQ(count, 1);
}

TEST_F(DeviceTable, OverlongStoredTextsReadBackEmpty)
{
    Db()->InsertDevice(Device(QStringLiteral("0C1105AABBCC"), QStringLiteral("10.0.0.5"), QString(63, QLatin1Char('n'))));
    Db()->InsertDevice(Device(QStringLiteral("0C1105AABBCD"), QStringLiteral("10.0.0.5"), QString(64, QLatin1Char('n'))));
    CppSQLite3DB::GetInstance().Execute(QStringLiteral("update Devices set Model=NULL where ID=2"));
    DeviceRecord fits, tooLong;
    Db()->GetDeviceById(1, &fits);
    Db()->GetDeviceById(2, &tooLong);
    EXPECT_EQ(fits.LocalName.size(), 63);
    EXPECT_TRUE(tooLong.LocalName.isEmpty());
    EXPECT_TRUE(tooLong.Model.isEmpty());
    EXPECT_EQ(tooLong.MAC, QStringLiteral("0C1105AABBCD"));
}

TEST_F(DeviceTable, ApostrophesStayInsideTheirLiteral)
{
    const QString hostile[] = {QStringLiteral("O'Brien"), QStringLiteral("x'); drop table Devices;--"),
                               QStringLiteral("''"), QStringLiteral("a' or '1'='1")};
    for (const QString& name : hostile) {
        DeviceRecord r = Device(QStringLiteral("0C1105AABBCC"), QStringLiteral("10.0.0.5"), name);
        ASSERT_EQ(Db()->InsertDevice(r), 0) << name.toStdString();
    }
    for (const QString& name : hostile) {
        DeviceRecord r;
        ASSERT_EQ(Db()->GetDeviceByLocalName(name, &r), 0);
        EXPECT_EQ(r.LocalName, name);
        EXPECT_EQ(Db()->CountDevices(name), 1) << name.toStdString();
    }
    EXPECT_EQ(Db()->CountDevices(QString()), 4);
    EXPECT_EQ(Db()->DeviceMacExists(QStringLiteral("' or 1=1 --")), 0);
    EXPECT_EQ(Db()->SetDeviceState(QStringLiteral("x' or '1'='1"), 1), 0);
    EXPECT_EQ(Db()->CountDevicesByState(1, QString()), 0);
}
