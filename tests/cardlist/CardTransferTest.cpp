#include "Logic/DeviceControl.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/RfKeyXml.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "support/StoreLists.h"
#include "support/TestProgramDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <thread>

namespace {

CDbAccess* Db() { return CDbAccess::GetInstance(); }

CardRecord Card(const QString& code, int owner, const QString& name)
{
    CardRecord c;
    c.Code = code;
    c.Name = name;
    c.DoorNumber = QStringLiteral("1");
    c.TimeStart = QStringLiteral("00:00");
    c.TimeEnd = QStringLiteral("23:59");
    c.Owner = OwnerKey(owner);
    return c;
}

int RunOnThread(int (*worker)(CardTransferJob*), CardTransferJob& job)
{
    std::atomic<int> status{0};
    job.Status = &status;
    int result = 0;
    std::thread t([&] { result = worker(&job); });
    t.join();
    EXPECT_EQ(status.load(), 2);
    return result;
}

class CardTransfer : public ::testing::Test {
protected:
    std::string WriteFile(const char* name, const QByteArray& text)
    {
        QFile f(dir.File(QString::fromUtf8(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName().toStdString();
    }

    TestProgramDir dir;
};

const QByteArray kThreeCards =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KeyData>\n"
    "    <Key ID=\"1\" Name=\"A\" Code=\"C1\" DoorNum=\"12\" Mon=\"1\" TimeStart=\"07:00\" "
    "TimeEnd=\"19:00\" DoorWebRelay=\"2\" Tags=\"1\" Frequency=\"30\"/>\n"
    "    <Key ID=\"2\" Name=\"B\" Code=\"C2\"/>\n"
    "    <Key ID=\"3\" Name=\"O'Neil\" Code=\"C3\"/>\n"
    "</KeyData>\n";

} // namespace

TEST_F(CardTransfer, ImportTwiceLeavesOneRowPerCardWithTheExtraAttributes)
{
    Save(Card(QStringLiteral("C1"), 3, QStringLiteral("other device")));
    CardTransferJob job;
    job.FilePath = WriteFile("three.xml", kThreeCards);
    job.OwnerKey = OwnerKey(12);
    EXPECT_EQ(RunOnThread(ImportCardsThread, job), 0);
    EXPECT_EQ(job.Result, 0);
    EXPECT_EQ(RunOnThread(ImportCardsThread, job), 0);

    EXPECT_EQ(Cards(12),
              (std::map<QString, QString>{{QStringLiteral("C1"), QStringLiteral("A")},
                                          {QStringLiteral("C2"), QStringLiteral("B")},
                                          {QStringLiteral("C3"), QStringLiteral("O'Neil")}}));
    EXPECT_EQ(Cards(3).size(), 1u) << "another device's card of the same code is untouched";

    CardRecord* list = Db()->ListCards(OwnerKey(12));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->DoorNumber, QStringLiteral("12"));
    EXPECT_EQ(list->Mon, 1);
    EXPECT_EQ((std::vector<int>{list->WebRelay, list->Tags, list->Frequency}),
              (std::vector<int>{2, 1, 30}));
    EXPECT_EQ((std::vector<int>{list->next->WebRelay, list->next->Tags, list->next->Frequency}),
              (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(list->Owner, QStringLiteral("12;"));
    CDeviceControl::FreeRfcardList(list);
}

TEST_F(CardTransfer, ACardThatFailsToStoreIsSkippedAndTheOthersStored)
{
    // More cards than one batch, so the failure sits inside a stored batch.
    QByteArray xml = "<KeyData>\n";
    for (int i = 0; i < 1200; ++i)
        xml += "<Key Code=\"" + QByteArray::number(i) + "\"/>\n";
    CppSQLite3DB::GetInstance().Execute(QStringLiteral(
        "create trigger RefuseSome before insert on RfcardInfo when new.Code in ('7', '600') "
        "begin select raise(abort, 'refused'); end"));
    CardTransferJob job;
    job.FilePath = WriteFile("many.xml", xml + "</KeyData>\n");
    job.OwnerKey = OwnerKey(5);
    EXPECT_EQ(RunOnThread(ImportCardsThread, job), 0);
    const auto stored = Cards(5);
    EXPECT_EQ(stored.size(), 1198u);
    EXPECT_EQ(stored.count(QStringLiteral("7")) + stored.count(QStringLiteral("600")), 0u);
}

TEST_F(CardTransfer, ImportOfAnUnreadableFileStoresNothingAndSaysSo)
{
    CardTransferJob job;
    job.OwnerKey = OwnerKey(12);
    for (const std::string& path : {dir.File(QStringLiteral("none.xml")).toStdString(),
                                    WriteFile("bad.xml", "<KeyData><Key"), std::string(600, 'a')}) {
        job.FilePath = path;
        job.Result = 0;
        EXPECT_EQ(RunOnThread(ImportCardsThread, job), 0);
        EXPECT_EQ(job.Result, -1) << path;
    }
    job.FilePath = WriteFile("nocards.xml", "<KeyData/>");
    EXPECT_EQ(RunOnThread(ImportCardsThread, job), 0);
    EXPECT_EQ(job.Result, 0) << "a list without cards is read, not failed";
    EXPECT_TRUE(Cards(12).empty());
    EXPECT_EQ(ImportCardsThread(nullptr), -1);
    EXPECT_EQ(CopyCardsThread(nullptr), -1);
}

TEST_F(CardTransfer, CopyAddsAndOverwritesByCodeAndLeavesTheSourceAlone)
{
    Save(Card(QStringLiteral("S1"), 1, QStringLiteral("src one")));
    Save(Card(QStringLiteral("S2"), 1, QStringLiteral("src two")));
    Save(Card(QStringLiteral("S3"), 1, QStringLiteral("src three")));
    Save(Card(QStringLiteral("S1"), 2, QStringLiteral("target one")));
    Save(Card(QStringLiteral("T9"), 2, QStringLiteral("target only")));
    const auto sourceBefore = Cards(1);

    for (int pass = 0; pass < 2; ++pass) {
        int count = 0;
        CardTransferJob job;
        job.CardList = CDeviceControl::GetInstance()->GetRfcardList(OwnerKey(1), count);
        job.OwnerKey = OwnerKey(2);
        EXPECT_EQ(RunOnThread(CopyCardsThread, job), 0);
        EXPECT_EQ(job.CardList, nullptr) << "the worker took and released the list";
    }
    EXPECT_EQ(Cards(2),
              (std::map<QString, QString>{{QStringLiteral("S1"), QStringLiteral("src one")},
                                          {QStringLiteral("S2"), QStringLiteral("src two")},
                                          {QStringLiteral("S3"), QStringLiteral("src three")},
                                          {QStringLiteral("T9"), QStringLiteral("target only")}}));
    EXPECT_EQ(Cards(1), sourceBefore);
}

TEST_F(CardTransfer, ExportWritesTheListOrFails)
{
    Save(Card(QStringLiteral("E1"), 4, QStringLiteral("first")));
    Save(Card(QStringLiteral("E2"), 4, QStringLiteral("second")));
    CardRecord* list = Db()->ListCards(OwnerKey(4));
    const QString path = dir.File(QStringLiteral("export.xml"));
    EXPECT_EQ(ExportRfcardFile(list, path), 0);
    EXPECT_EQ(ExportRfcardFile(list, dir.File(QStringLiteral("no/such/dir.xml"))), -1);
    EXPECT_EQ(ExportRfcardFile(list, dir.File(QString(600, QLatin1Char('x')))), -1);
    CDeviceControl::FreeRfcardList(list);

    CardRecord* back = CRfKeyXml::ParseRfxmlFile(path.toUtf8().constData());
    ASSERT_TRUE(back && back->next);
    EXPECT_EQ(back->ID, 1);
    EXPECT_EQ(back->Code, QStringLiteral("E1"));
    EXPECT_EQ(back->next->ID, 2);
    EXPECT_EQ(back->next->Code, QStringLiteral("E2"));
    CDeviceControl::FreeRfcardList(back);
}
