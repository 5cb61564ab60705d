// Bulk card operations on 10,000 cards, beside the sqlite3 shell inserting the
// same rows in one transaction.
//   scripts/netns-run bench-cards [sqlite3-shell]   (the simulated device takes port 80)
// Measures:
//   - import of a 10,000-card file into a device without cards,
//   - the same import again (every code present: the update path),
//   - Update From Device of a 10,000-card list served by a simulated device,
//     into a device without cards and again.
#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "base/WFormat.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/RfKeyXml.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "store/ProgramLayout.h"
#include "tools/devsim/web/SimWebServer.h"
#include "transfer/DeviceSync.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCards = 10000;

double Seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

CardRecord* MakeCards(int count)
{
    CardRecord* head = nullptr;
    CardRecord** tail = &head;
    for (int i = 0; i < count; ++i) {
        auto* c = new CardRecord;
        c->Name = QStringLiteral("Holder %1").arg(i);
        c->Code = QStringLiteral("%1").arg(i, 8, 16, QLatin1Char('0')).toUpper();
        c->DoorNumber = QStringLiteral("12");
        c->Mon = c->Tue = c->Wed = c->Thur = c->Fri = 1;
        c->TimeStart = QStringLiteral("07:00");
        c->TimeEnd = QStringLiteral("19:00");
        *tail = c;
        tail = &c->next;
    }
    return head;
}

QByteArray ShellInserts(const CardRecord* list, const QString& owner)
{
    QByteArray sql = "BEGIN;\n";
    for (const CardRecord* c = list; c; c = c->next)
        sql +=
            WFormatV(
                QStringLiteral(
                    "insert into RfcardInfo(Name, Code, DoorNumber, Mon, Tue, Wed, Thur,Fri, Sat, "
                    "Sun, TimeStart, TimeEnd, WebRelay, Tags, Frequency, Owner) values('%s', "
                    "'%s', '%s', %d, %d, %d, %d, %d, %d, %d, '%s', '%s', 0, 0, 0, '%s');\n"),
                c->Name, c->Code, c->DoorNumber, c->Mon, c->Tue, c->Wed, c->Thur, c->Fri, c->Sat,
                c->Sun, c->TimeStart, c->TimeEnd, owner)
                .toUtf8();
    return sql + "COMMIT;\n";
}

double ShellSeconds(const QString& shell, const QString& db, const QByteArray& sql)
{
    QProcess p;
    const double s = Seconds([&] {
        p.start(shell, {db});
        p.write("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;\n" + sql);
        p.closeWriteChannel();
        p.waitForFinished(-1);
    });
    return p.exitCode() == 0 ? s : -1;
}

int CountCards(int device) { return CDbAccess::GetInstance()->CountCards(OwnerKey(device)); }

} // namespace

int main(int argc, char** argv)
{
    const QString shell = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sqlite3");
    SetMessageBoxHandler([](const QString&, const QString&, int) { return 1; });
    QTemporaryDir dir;
    const QString error = LayoutProgramDir(dir.path(), QStringLiteral(KV_SCHEMA));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    SetProgramDir(dir.path());
    CppSQLite3DB::GetInstance().Open(dir.filePath(QStringLiteral("DB/Kestrovane.db")));

    CardRecord* cards = MakeCards(kCards);
    const QByteArray file = dir.filePath(QStringLiteral("cards.xml")).toUtf8();
    WriteRfxmlFile(cards, file.constData());

    auto import = [&](int device) {
        CardTransferJob job;
        job.FilePath = file.toStdString();
        job.OwnerKey = OwnerKey(device);
        std::atomic<int> status{0};
        job.Status = &status;
        std::thread(ImportCardsThread, &job).join();
    };
    const double importEmpty = Seconds([&] { import(1); });
    const int afterFirst = CountCards(1);
    const double importAgain = Seconds([&] { import(1); });
    const int afterSecond = CountCards(1);

    SimWebServer device;
    if (!device.Start("127.0.0.40")) {
        std::fprintf(stderr, "cannot serve 127.0.0.40:80 (run through scripts/netns-run)\n");
        return 1;
    }
    device.SeedFromFile(file.toStdString());
    auto update = [&](int device) {
        SyncJob job;
        PrepareUpdateFromDevice(device, QStringLiteral("127.0.0.40"),
                                QStringLiteral("0C1100000002"), job);
        std::atomic<int> status{0};
        job.Status = &status;
        std::thread(UpdateFromDeviceThread, &job).join();
    };
    const double updateEmpty = Seconds([&] { update(2); });
    const int afterUpdate = CountCards(2);
    const double updateAgain = Seconds([&] { update(2); });
    device.Stop();

    QTemporaryDir shellDir;
    const QString shellDb = shellDir.filePath(QStringLiteral("shell.db"));
    CreateDatabaseFromSchema(shellDb, QStringLiteral(KV_SCHEMA));
    const double shellSeconds = ShellSeconds(shell, shellDb, ShellInserts(cards, OwnerKey(1)));
    CppSQLite3DB::GetInstance().Close();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("cards per run                         %d\n", kCards);
    std::printf("import into empty device              %.3f s (%d cards stored)\n", importEmpty,
                afterFirst);
    std::printf("import again, every code present      %.3f s (%d cards stored)\n", importAgain,
                afterSecond);
    std::printf("Update From Device, empty device      %.3f s (%d cards stored)\n", updateEmpty,
                afterUpdate);
    std::printf("Update From Device again              %.3f s\n", updateAgain);
    std::printf("sqlite3 shell, one transaction        %.3f s\n", shellSeconds);
    std::printf("peak resident memory                  %ld KiB\n", usage.ru_maxrss);
    CDeviceControl::FreeRfcardList(cards);
    return 0;
}
