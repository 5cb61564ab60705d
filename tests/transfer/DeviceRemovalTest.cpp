#include "Logic/DeviceControl.h"
#include "store/StoreBatch.h"
#include "store/CppSQLite3DB.h"
#include "TransferTestSupport.h"
#include "store/DbAccess.h"
#include "support/TestProgramDir.h"
#include "transfer/DeviceRemoval.h"
#include "transfer/DeviceWorkDirs.h"

#include <QDir>
#include <sys/stat.h>
#include <thread>

namespace {

CDbAccess* Db() { return CDbAccess::GetInstance(); }

void Save(const QString& code, int owner)
{
    CardRecord c;
    c.Code = code;
    c.Owner = OwnerKey(owner);
    ASSERT_EQ(Db()->SaveCard(&c), 0);
}

} // namespace

TEST(DeviceRemoval, DeletesOnlyTheDevicesCardsAndBothWorkDirectories)
{
    TestProgramDir dir;
    for (int owner : {1, 11, 21})
        for (const char* code : {"A", "B"})
            Save(QString::fromUtf8(code), owner);

    const QString mac = QStringLiteral("0A0B0C0D0E0F");
    ASSERT_EQ(CreateDeviceWorkDirs(mac), 0);
    ASSERT_EQ(CreateDeviceWorkDirs(QStringLiteral("FFEEDDCCBBAA")), 0);
    const QString to = GetUpdateToDir(mac);
    const QString from = GetUpdateFromDir(mac);
    const QString outside = dir.File(QStringLiteral("outside.txt"));
    WriteAll(outside, "keep");
    WriteAll(to + QStringLiteral("/list.xml"), "x");
    ASSERT_TRUE(QDir().mkpath(to + QStringLiteral("/sub/deeper")));
    WriteAll(to + QStringLiteral("/sub/deeper/file"), "x");
    WriteAll(from + QStringLiteral("/readonly.xml"), "x");
    chmod((from + QStringLiteral("/readonly.xml")).toUtf8().constData(), 0400);
    chmod((to + QStringLiteral("/sub")).toUtf8().constData(), 0500);
    ASSERT_TRUE(QFile::link(dir.Path(), from + QStringLiteral("/link-to-program-dir")));

    SyncJob job;
    job.OwnerKey = OwnerKey(1);
    std::atomic<int> status{0};
    job.Status = &status;
    int result = -5;
    std::thread([&] { result = DeleteDeviceThread(&job); }).join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(status.load(), 2);
    EXPECT_EQ(Db()->CountCards(OwnerKey(1)), 0);
    EXPECT_EQ(Db()->CountCards(OwnerKey(11)), 2);
    EXPECT_EQ(Db()->CountCards(OwnerKey(21)), 2);

    RemoveDeviceWorkDirs(mac);
    EXPECT_FALSE(QFileInfo::exists(to));
    EXPECT_FALSE(QFileInfo::exists(from));
    EXPECT_TRUE(QDir(GetUpdateToDir(QStringLiteral("FFEEDDCCBBAA"))).exists());
    EXPECT_EQ(ReadAll(outside), QByteArray("keep")) << "a link is removed, never followed";
    EXPECT_TRUE(QFileInfo::exists(dir.DbPath()));

    RemoveDeviceWorkDirs(mac); // already gone: nothing happens
    RemoveDirectoryTree(QString());
    EXPECT_EQ(DeleteDeviceThread(nullptr), -1);
}

TEST(DeviceRemoval, EmptyOwnerKeyDeletesNothing)
{
    TestProgramDir dir;
    Save(QStringLiteral("A"), 3);
    SyncJob job;
    DeleteDeviceThread(&job);
    EXPECT_EQ(Db()->CountCards(OwnerKey(3)), 1);
}

TEST(DeviceRemoval, ACardThatFailsToDeleteIsSkippedAndTheOthersDeleted)
{
    TestProgramDir dir;
    // More cards than one batch, so the refused ones sit inside deleted batches.
    {
        CStoreBatch batch;
        for (int i = 0; i < 1200; ++i)
            Save(QString::number(i), 4);
        ASSERT_TRUE(batch.Commit());
    }
    Save(QStringLiteral("7"), 5);
    CppSQLite3DB::GetInstance().Execute(QStringLiteral(
        "create trigger RefuseSome before delete on RfcardInfo when old.Code in ('7', '600') "
        "begin select raise(abort, 'refused'); end"));
    SyncJob job;
    job.OwnerKey = OwnerKey(4);
    EXPECT_EQ(DeleteDeviceThread(&job), 0);
    CardRecord* left = Db()->ListCards(OwnerKey(4));
    QStringList codes;
    for (CardRecord* c = left; c; c = c->next)
        codes << c->Code;
    CDeviceControl::FreeRfcardList(left);
    EXPECT_EQ(codes, (QStringList{QStringLiteral("7"), QStringLiteral("600")}));
    EXPECT_EQ(Db()->CountCards(OwnerKey(5)), 1);
}
