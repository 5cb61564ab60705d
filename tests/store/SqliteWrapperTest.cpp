#include "store/CppSQLite3DB.h"
#include "store/CppSQLite3Exception.h"
#include "support/TestProgramDir.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {

std::string MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CppSQLite3Exception& e) {
        return e.GetText().toStdString();
    }
    return "(nothing raised)";
}

CppSQLite3DB& Db() { return CppSQLite3DB::GetInstance(); }

} // namespace

TEST(SqliteWrapper, ClosedDatabaseRaisesWrapperError)
{
    CppSQLite3DB closed;
    const std::string want = "CPPSQLITE_ERROR[1000]: Database not open";
    EXPECT_EQ(MessageOf([&] { closed.Execute(QStringLiteral("select 1")); }), want);
    EXPECT_EQ(MessageOf([&] { closed.Query(QStringLiteral("select 1")); }), want);
}

TEST(SqliteWrapper, CodeNames)
{
    const std::pair<int, const char*> names[] = {
        {0, "SQLITE_OK"},   {1, "SQLITE_ERROR"},    {17, "SQLITE_SCHEMA"},
        {25, "SQLITE_RANGE"}, {26, "UNKNOWN_ERROR"}, {100, "SQLITE_ROW"},
        {101, "SQLITE_DONE"}, {1000, "CPPSQLITE_ERROR"}, {-1, "UNKNOWN_ERROR"}};
    for (auto [code, name] : names)
        EXPECT_EQ(CppSQLite3Exception::CodeName(code).toStdString(), name) << code;
    EXPECT_EQ(CppSQLite3Exception(26, QStringLiteral("x")).GetText().toStdString(),
              "UNKNOWN_ERROR[26]: x");
    EXPECT_EQ(CppSQLite3Exception(5, static_cast<const char16_t*>(nullptr)).GetText().toStdString(),
              "SQLITE_BUSY[5]: ");
}

TEST(SqliteWrapper, MissingTableCarriesSqlitesText)
{
    QTemporaryDir dir;
    CppSQLite3DB db;
    db.Open(dir.filePath(QStringLiteral("empty.db")));
    EXPECT_EQ(MessageOf([&] { db.Query(QStringLiteral("select * from Devices")); }),
              "SQLITE_ERROR[1]: no such table: Devices");
    EXPECT_EQ(MessageOf([&] { db.Execute(QStringLiteral("delete from Devices")); }),
              "SQLITE_ERROR[1]: no such table: Devices");
}

TEST(SqliteWrapper, FieldsNullsAndIndexes)
{
    TestProgramDir dir;
    CppSQLite3Query q = Db().Query(
        QStringLiteral("select NULL, ' 12abc', '-7', 'abc', '+3', 'text', '99999999999'"));
    ASSERT_FALSE(q.AtEnd());
    ASSERT_EQ(q.ColumnCount(), 7);
    EXPECT_EQ(q.IntField(0), 0);
    EXPECT_EQ(q.TextField(0), nullptr);
    EXPECT_EQ(q.IntField(1), 12);
    EXPECT_EQ(q.IntField(2), -7);
    EXPECT_EQ(q.IntField(3), 0);
    EXPECT_EQ(q.IntField(4), 3);
    EXPECT_EQ(QString::fromUtf16(q.TextField(5)), QStringLiteral("text"));
    EXPECT_EQ(q.IntField(6), 0x7FFFFFFF);
    const std::string bad = "CPPSQLITE_ERROR[1000]: Invalid field index requested";
    EXPECT_EQ(MessageOf([&] { q.IntField(7); }), bad);
    EXPECT_EQ(MessageOf([&] { q.TextField(-1); }), bad);
    q.MoveNext();
    EXPECT_TRUE(q.AtEnd());

    CppSQLite3Query none = Db().Query(QStringLiteral("select * from Devices"));
    EXPECT_TRUE(none.AtEnd());
    EXPECT_EQ(Db().Execute(QStringLiteral("update Devices set State=1 where ID=12345")), 0);

    CppSQLite3Query moved = std::move(none);
    EXPECT_EQ(MessageOf([&] { none.AtEnd(); }),
              "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
}

TEST(SqliteWrapper, CopyFittingKeepsTheFieldWhenTheTextDoesNotFit)
{
    QString field = QStringLiteral("old");
    CopyFitting(field, 4, u"abcd"); // capacity characters: no room for the terminator
    EXPECT_EQ(field, QStringLiteral("old"));
    CopyFitting(field, 4, u"abc"); // capacity - 1: copied
    EXPECT_EQ(field, QStringLiteral("abc"));
    CopyFitting(field, 4, static_cast<const char16_t*>(nullptr));
    EXPECT_EQ(field, QStringLiteral("abc"));
    CopyFitting(field, 4, QString(4, QLatin1Char('z')));
    EXPECT_EQ(field, QStringLiteral("abc"));
}

TEST(SqliteWrapper, AnotherThreadGoesOnAfterAnError)
{
    TestProgramDir dir;
    std::thread failing([] {
        EXPECT_NE(MessageOf([] { Db().Execute(QStringLiteral("insert into Nowhere values(1)")); }),
                  "(nothing raised)");
        EXPECT_NE(MessageOf([] { Db().Query(QStringLiteral("select * from Nowhere")); }),
                  "(nothing raised)");
    });
    failing.join();
    std::thread other([] {
        EXPECT_EQ(Db().Execute(QStringLiteral("insert into Devices(Type) values(1)")), 0);
        CppSQLite3Query q = Db().Query(QStringLiteral("select count(*) from Devices"));
        EXPECT_EQ(q.IntField(0), 1);
    });
    other.join();
}

TEST(SqliteWrapper, TheLockIsReentrantForItsHolder)
{
    TestProgramDir dir;
    std::lock_guard outer(Db().Lock());
    EXPECT_EQ(Db().Execute(QStringLiteral("insert into Devices(Type) values(2)")), 0);
}

TEST(SqliteWrapper, AFailingStepRaisesWithThePreciseText)
{
    TestProgramDir dir;
    // The step reports a bare error; the precise text comes from the finalisation.
    Db().Execute(QStringLiteral("create table T(x unique)"));
    Db().Execute(QStringLiteral("insert into T values(1)"));
    EXPECT_EQ(MessageOf([] { Db().Execute(QStringLiteral("insert into T values(1)")); }),
              "SQLITE_ERROR[1]: UNIQUE constraint failed: T.x");
}
