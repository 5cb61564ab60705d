#include "Logic/DeviceControl.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "support/LogCapture.h"
#include "support/TestProgramDir.h"

#include <gtest/gtest.h>

namespace {

CDbAccess* Db() { return CDbAccess::GetInstance(); }

CardRecord Card(const QString& code, int owner, const QString& name = QStringLiteral("Holder"))
{
    CardRecord c;
    c.Name = name;
    c.Code = code;
    c.DoorNumber = QStringLiteral("13");
    c.Mon = c.Tue = c.Wed = c.Thur = c.Fri = 1;
    c.TimeStart = QStringLiteral("00:00");
    c.TimeEnd = QStringLiteral("23:59");
    c.WebRelay = 1;
    c.Owner = OwnerKey(owner);
    return c;
}

std::vector<QString> Codes(CardRecord* head)
{
    std::vector<QString> codes;
    for (CardRecord* c = head; c; c = c->next)
        codes.push_back(c->Code + QLatin1Char('@') + c->Owner);
    CDeviceControl::FreeRfcardList(head);
    return codes;
}

class CardTable : public ::testing::Test {
protected:
    TestProgramDir dir;
};

} // namespace

TEST_F(CardTable, SaveInsertsThenUpdatesByCodeWithinItsOwner)
{
    CardRecord first = Card(QStringLiteral("AB12"), 12);
    first.ID = 77;
    ASSERT_EQ(Db()->SaveCard(&first), 0);
    EXPECT_EQ(first.ID, 77) << "an insert leaves the record's ID as given";

    CardRecord changed = Card(QStringLiteral("AB12"), 12, QStringLiteral("Changed"));
    changed.DoorNumber = QStringLiteral("2");
    changed.Sat = 1;
    changed.TimeStart = QStringLiteral("08:00");
    changed.WebRelay = 20;
    changed.Tags = 1;
    changed.Frequency = 5;
    ASSERT_EQ(CDeviceControl::GetInstance()->SaveRfcard(&changed), 0);
    EXPECT_EQ(changed.ID, 1) << "the record takes the existing row's ID";

    CardRecord other = Card(QStringLiteral("AB12"), 2);
    ASSERT_EQ(Db()->SaveCard(&other), 0);
    EXPECT_EQ(Db()->SaveCard(nullptr), -1);

    EXPECT_EQ(Codes(Db()->ListCards(QString())),
              (std::vector<QString>{QStringLiteral("AB12@12;"), QStringLiteral("AB12@2;")}));
    CardRecord read;
    ASSERT_EQ(Db()->GetCardById(1, &read), 0);
    EXPECT_EQ(read.Name, QStringLiteral("Changed"));
    EXPECT_EQ(read.DoorNumber, QStringLiteral("2"));
    EXPECT_EQ(read.Sat, 1);
    EXPECT_EQ(read.Sun, 0);
    EXPECT_EQ(read.TimeStart, QStringLiteral("08:00"));
    EXPECT_EQ(read.TimeEnd, QStringLiteral("23:59"));
    EXPECT_EQ(read.WebRelay, 20);
    EXPECT_EQ(read.Tags, 1);
    EXPECT_EQ(read.Frequency, 5);
    EXPECT_EQ(read.Owner, QStringLiteral("12;"));
}

TEST_F(CardTable, AnOwnerSeesOnlyItsOwnCards)
{
    for (int owner : {1, 11, 21, 1, 11})
        for (const char* code : {"C1", "C2"}) {
            CardRecord c = Card(QString::fromLatin1(code) + QString::number(owner), owner);
            Db()->SaveCard(&c);
        }
    EXPECT_EQ(Db()->CountCards(OwnerKey(1)), 2);
    EXPECT_EQ(Codes(Db()->ListCards(OwnerKey(1))),
              (std::vector<QString>{QStringLiteral("C11@1;"), QStringLiteral("C21@1;")}));
    EXPECT_EQ(Db()->CountCards(QString()), 6);
    EXPECT_EQ(Db()->CountCards(QStringLiteral("1")), 0) << "the key matches exactly";

    int count = 0;
    CardRecord* list = CDeviceControl::GetInstance()->GetRfcardList(OwnerKey(11), count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Codes(list), (std::vector<QString>{QStringLiteral("C111@11;"), QStringLiteral("C211@11;")}));
    EXPECT_EQ(CDeviceControl::GetInstance()->GetRfcardList(OwnerKey(5), count), nullptr);
    EXPECT_EQ(count, 0);

    EXPECT_EQ(Codes(Db()->ListCardsPage(OwnerKey(21), 1, 18)),
              (std::vector<QString>{QStringLiteral("C221@21;")}));
}

TEST_F(CardTable, ReadsDeletesAndMisses)
{
    LogCapture log;
    CardRecord given;
    given.Name = QStringLiteral("as given");
    EXPECT_EQ(Db()->GetCardById(99, &given), 0);
    EXPECT_EQ(given.Name, QStringLiteral("as given"));
    EXPECT_TRUE(log.WaitFor(QStringLiteral("=====SQL===GET====select * from RfcardInfo where ID=99=======")));
    EXPECT_EQ(Db()->GetCardById(1, nullptr), -1);
    EXPECT_EQ(Db()->DeleteCardById(99), 0);

    CardRecord c = Card(QStringLiteral("AB12"), 1, QString(32, QLatin1Char('n')));
    Db()->SaveCard(&c);
    CardRecord fits = Card(QStringLiteral("AB13"), 1, QString(31, QLatin1Char('n')));
    Db()->SaveCard(&fits);
    CardRecord a, b;
    Db()->GetCardById(1, &a);
    Db()->GetCardById(2, &b);
    EXPECT_TRUE(a.Name.isEmpty());
    EXPECT_EQ(a.Code, QStringLiteral("AB12"));
    EXPECT_EQ(b.Name.size(), 31);
    EXPECT_EQ(Db()->DeleteCardById(1), 0);
    EXPECT_EQ(Db()->CountCards(OwnerKey(1)), 1);
}

TEST_F(CardTable, HostileTextsAreStoredVerbatim)
{
    CardRecord c = Card(QStringLiteral("x'); drop table RfcardInfo;--"), 1, QStringLiteral("O'Brien"));
    c.DoorNumber = QStringLiteral("1'");
    ASSERT_EQ(Db()->SaveCard(&c), 0);
    CardRecord again = c; // same code, same owner: an update, not a second row
    again.Name = QStringLiteral("D'Arcy");
    ASSERT_EQ(Db()->SaveCard(&again), 0);
    CardRecord evil = Card(QStringLiteral("Z9"), 1);
    evil.Owner = QStringLiteral("1;' or '1'='1");
    ASSERT_EQ(Db()->SaveCard(&evil), 0);

    EXPECT_EQ(Db()->CountCards(OwnerKey(1)), 1);
    CardRecord read;
    Db()->GetCardById(1, &read);
    EXPECT_EQ(read.Name, QStringLiteral("D'Arcy"));
    EXPECT_EQ(read.Code, QStringLiteral("x'); drop table RfcardInfo;--"));
    EXPECT_EQ(read.DoorNumber, QStringLiteral("1'"));
    EXPECT_EQ(Db()->CountCards(QStringLiteral("1;' or '1'='1")), 1);
}

TEST_F(CardTable, FailuresReadAsNoCards)
{
    CppSQLite3DB::GetInstance().Execute(QStringLiteral("drop table RfcardInfo"));
    CardRecord c = Card(QStringLiteral("AB12"), 1);
    EXPECT_EQ(Db()->SaveCard(&c), -1);
    EXPECT_EQ(Db()->CountCards(OwnerKey(1)), 0);
    EXPECT_EQ(Db()->ListCards(OwnerKey(1)), nullptr);
    EXPECT_EQ(Db()->UpdateCardById(&c), -1);
    EXPECT_EQ(Db()->DeleteCardById(1), -1);
    CardRecord r;
    EXPECT_EQ(Db()->GetCardById(1, &r), -1);
}
