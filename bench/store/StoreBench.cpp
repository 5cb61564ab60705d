// Statements per second of the store, beside the sqlite3 shell running the
// same statement texts on the same file.
//   bench-store [sqlite3-shell]      (run through scripts/netns-run: it logs)
// Measures, for each way of opening the database:
//   - SaveCard of new codes into a device that already holds 10,000 cards,
//   - SaveCard of codes that device already holds (the update path),
//   - one device report: DeviceMacExists, UpdateDeviceByMac, SetDeviceState.
#include "base/CommControl.h"
#include "base/WFormat.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "store/ProgramLayout.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

double PerSecond(int count, const std::function<void(int)>& step)
{
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        step(i);
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    return count / s;
}

CardRecord Card(int n)
{
    CardRecord c;
    c.Name = QStringLiteral("Holder %1").arg(n);
    c.Code = QStringLiteral("%1").arg(n, 8, 16, QLatin1Char('0')).toUpper();
    c.DoorNumber = QStringLiteral("1");
    c.Mon = c.Tue = c.Wed = c.Thur = c.Fri = c.Sat = c.Sun = 1;
    c.TimeStart = QStringLiteral("00:00");
    c.TimeEnd = QStringLiteral("23:59");
    c.WebRelay = 1;
    c.Owner = OwnerKey(1);
    return c;
}

QString Mac(int n) { return QStringLiteral("0C11%1").arg(n, 8, 16, QLatin1Char('0')).toUpper(); }

// The same statement texts the store runs, for the shell.
QByteArray ReportStatements(int count, int devices)
{
    QByteArray sql;
    for (int i = 0; i < count; ++i) {
        const QString mac = Mac(i % devices);
        sql += WFormatV(QStringLiteral("select count(*) from Devices where Mac='%s';\n"), mac).toUtf8();
        sql += WFormatV(QStringLiteral("update Devices set Type=%d, Model='%s', IP='%s', Firmware='%s' where Mac='%s';\n"),
                        3, "R20", "127.0.0.9", "20.1.2.3", mac).toUtf8();
        sql += WFormatV(QStringLiteral("update Devices set State=%d where MAC='%s';\n"), 1, mac).toUtf8();
    }
    return sql;
}

QByteArray InsertStatements(int from, int count)
{
    QByteArray sql;
    for (int i = from; i < from + count; ++i) {
        const CardRecord c = Card(i);
        sql += WFormatV(QStringLiteral("select * from RfcardInfo where Code='%s' and Owner='%s';\n"), c.Code, c.Owner).toUtf8();
        sql += WFormatV(QStringLiteral("insert into RfcardInfo(Name, Code, DoorNumber, Mon, Tue, Wed, Thur,Fri, Sat, Sun, TimeStart, TimeEnd, WebRelay, Tags, Frequency, Owner) values('%s', '%s', '%s', 1, 1, 1, 1, 1, 1, 1, '%s', '%s', 1, 0, 0, '%s');\n"),
                        c.Name, c.Code, c.DoorNumber, c.TimeStart, c.TimeEnd, c.Owner).toUtf8();
    }
    return sql;
}

double ShellPerSecond(const QString& shell, const QString& db, const QByteArray& pragmas,
                      const QByteArray& sql, int count)
{
    QProcess p;
    p.start(shell, {db});
    p.waitForStarted();
    const auto start = Clock::now();
    p.write(pragmas + sql + ".quit\n");
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    return count / s;
}

} // namespace

int main(int argc, char** argv)
{
    const QString shell = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sqlite3");
    CCommControl::GetInstance()->Channel().Open();
    struct Mode {
        const char* name;
        const char* pragmas;
    } modes[] = {
        {"WAL, synchronous=NORMAL (the program's)", "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"},
        {"WAL, synchronous=FULL", "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;"},
        {"rollback journal, synchronous=FULL (SQLite's default)", "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;"},
    };
    constexpr int kHeld = 10000, kNew = 1000, kDevices = 1000, kReports = 2000;
    for (const Mode& mode : modes) {
        QTemporaryDir dir;
        LayoutProgramDir(dir.path(), QStringLiteral(KV_SCHEMA));
        const QString dbPath = dir.filePath(QStringLiteral("DB/Kestrovane.db"));
        CppSQLite3DB& db = CppSQLite3DB::GetInstance();
        db.Open(dbPath);
        db.Execute(QString::fromLatin1(mode.pragmas).section(QLatin1Char(';'), 0, 0));
        db.Execute(QString::fromLatin1(mode.pragmas).section(QLatin1Char(';'), 1, 1));
        CDbAccess* store = CDbAccess::GetInstance();

        DeviceRecord d;
        for (int i = 0; i < kDevices; ++i) {
            d.MAC = Mac(i);
            d.LocalName = QStringLiteral("Device %1").arg(i);
            store->InsertDevice(d);
        }
        db.Execute(QStringLiteral("begin"));
        for (int i = 0; i < kHeld; ++i) {
            CardRecord c = Card(i);
            store->SaveCard(&c);
        }
        db.Execute(QStringLiteral("commit"));

        const double inserts = PerSecond(kNew, [&](int i) {
            CardRecord c = Card(kHeld + i);
            store->SaveCard(&c);
        });
        const double updates = PerSecond(kNew, [&](int i) {
            CardRecord c = Card(i * 7);
            c.Name = QStringLiteral("Changed");
            store->SaveCard(&c);
        });
        DeviceRecord report;
        report.Type = 3;
        report.Model = QStringLiteral("R20");
        report.IP = QStringLiteral("127.0.0.9");
        report.Firmware = QStringLiteral("20.1.2.3");
        const double reports = PerSecond(kReports, [&](int i) {
            report.MAC = Mac(i % kDevices);
            if (store->DeviceMacExists(report.MAC)) {
                store->UpdateDeviceByMac(report);
                store->SetDeviceState(report.MAC, 1);
            }
        });
        db.Close();

        const double shellInserts = ShellPerSecond(shell, dbPath, mode.pragmas,
                                                   InsertStatements(2 * kHeld, kNew), kNew);
        const double shellReports = ShellPerSecond(shell, dbPath, mode.pragmas,
                                                   ReportStatements(kReports, kDevices), kReports);
        std::printf("%s\n", mode.name);
        std::printf("  SaveCard, new code, device holding %d cards: %9.0f /s   (sqlite3 shell, same statements: %9.0f /s)\n",
                    kHeld, inserts, shellInserts);
        std::printf("  SaveCard, existing code:                     %9.0f /s\n", updates);
        std::printf("  device report (exists, update, set state):   %9.0f /s = %6.1f us each   (shell: %9.0f /s)\n",
                    reports, 1e6 / reports, shellReports);
    }
    return 0;
}
