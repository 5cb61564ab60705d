// bench-link: time from one invitation until N stored devices all read on-line,
// and the program's CPU cost per report. The devices are played by
// kestrovane-devsim in a process of its own, so the figures are the program's.
//
//   scripts/netns-run build/bench/link/bench-link [N ...]     (default 100 1000 5000)
//
// Per N: the first invitation (every device connects afresh) and then several
// more (each device closes its connection and connects again), as in the 10 s cycle.
#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "SimDeviceConfig.h"
#include "base/ProgramDir.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "store/ProgramLayout.h"
#include "support/ResidentKb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <thread>

namespace {

constexpr int kRounds = 5;
constexpr int kTimeoutMs = 60000;

double CpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Everything but this thread, which only announces and polls the store.
double CoreCpuSeconds() { return CpuSeconds(RUSAGE_SELF) - CpuSeconds(RUSAGE_THREAD); }

int Online() { return CDbAccess::GetInstance()->CountDevicesByState(1, QString()); }

// Milliseconds from the invitation until `count` devices read on-line, or -1.
double InviteAndWait(int count)
{
    QElapsedTimer timer;
    timer.start();
    CControl::GetInstance()->ProcessMulticastAddress();
    while (Online() < count) {
        if (timer.elapsed() > kTimeoutMs)
            return -1;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

bool Run(int count, int index)
{
    CppSQLite3DB::GetInstance().Execute(QStringLiteral("delete from Devices"));
    SimDeviceConfig first;
    first.ip = QStringLiteral("127.%1.0.1").arg(10 + index);
    first.mac = QStringLiteral("0C11%1000000").arg(10 + index);
    first.firmware = QStringLiteral("20.1.2");
    CppSQLite3DB::GetInstance().Execute(QStringLiteral("begin"));
    for (const SimDeviceConfig& d : MakeSimDevices(count, first)) {
        DeviceRecord r;
        r.MAC = d.mac;
        r.LocalName = d.mac;
        CDbAccess::GetInstance()->InsertDevice(r);
    }
    CppSQLite3DB::GetInstance().Execute(QStringLiteral("commit"));

    QProcess devsim;
    devsim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    devsim.start(QStringLiteral(KV_DEVSIM),
                 {QStringLiteral("--count"), QString::number(count), QStringLiteral("--first-ip"),
                  first.ip, QStringLiteral("--first-mac"), first.mac, QStringLiteral("--firmware"),
                  first.firmware, QStringLiteral("--http"), QStringLiteral("off")});
    if (!devsim.waitForReadyRead(30000) || !devsim.readLine().startsWith("ready")) {
        std::fprintf(stderr, "devsim did not start\n");
        return false;
    }

    std::vector<double> times;
    double cpu = 0;
    for (int round = 0; round < kRounds; ++round) {
        const double before = CoreCpuSeconds();
        const double ms = InviteAndWait(count);
        CControl::GetInstance()->WaitIdle(kTimeoutMs);
        const double spent = CoreCpuSeconds() - before;
        if (ms < 0) {
            std::fprintf(stderr, "N=%d: only %d of %d on-line after %d ms\n", count, Online(), count,
                         kTimeoutMs);
            return false;
        }
        times.push_back(ms);
        if (round > 0)
            cpu += spent;
    }
    devsim.terminate();
    devsim.waitForFinished(10000);

    std::vector<double> steady(times.begin() + 1, times.end());
    std::sort(steady.begin(), steady.end());
    std::printf("%6d %10.1f %10.1f %10.1f %10.1f %12.1f %10ld\n", count, times[0], steady.front(),
                steady[steady.size() / 2], steady.back(), cpu * 1e6 / (count * (kRounds - 1)),
                ResidentKb());
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {100, 1000, 5000};

    QTemporaryDir dir;
    const QString error = LayoutProgramDir(dir.path(), QStringLiteral(KV_SCHEMA));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    SetProgramDir(dir.path());
    CControl::GetInstance()->Init();

    std::printf("     N   first ms  steady ms (min / median / max)  us CPU/report  VmRSS kB\n");
    for (size_t i = 0; i < counts.size(); ++i)
        if (!Run(counts[i], int(i)))
            return 1;
    return 0;
}
