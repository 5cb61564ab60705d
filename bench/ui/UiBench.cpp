// Start-up of the main window and page changes on a large store.
//   scripts/netns-run build/bench/ui/bench-ui      (the real core opens its sockets)
// The store holds 1,000 devices and 100,000 cards on the first device. Measures:
//   - start-up: from constructing the main window, whose initialisation starts
//     the control core (log channel, database, TCP server, multicast, threads),
//     until it is shown on the screen,
//   - one page change each for next (page 1 to 2), last (to page 5,556, the
//     deepest offset), previous and go (to page 2,778).
#include "base/ProgramDir.h"
#include "store/ProgramLayout.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MessageBoxes.h"
#include "ui/OffscreenApp.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kDevices = 1000;
constexpr int kCards = 100000;
constexpr int kRuns = 7;

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

bool Fill(const QString& dbPath) {
    sqlite3* db = nullptr;
    if (sqlite3_open(dbPath.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* device = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Devices(Type, State, Model, MAC, IP, Firmware, LocalName) "
                       "values(0, 1, 'E11', ?1, ?2, '111.30.1.201', ?3)",
                       -1, &device, nullptr);
    for (int i = 1; i <= kDevices; ++i) {
        const QByteArray mac =
            QStringLiteral("0C11%1").arg(i, 8, 16, QLatin1Char('0')).toUpper().toUtf8();
        const QByteArray ip = QStringLiteral("10.0.%1.%2").arg(i / 250).arg(i % 250 + 1).toUtf8();
        const QByteArray name = QStringLiteral("Door %1").arg(i).toUtf8();
        sqlite3_bind_text(device, 1, mac.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(device, 2, ip.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(device, 3, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(device);
        sqlite3_reset(device);
    }
    sqlite3_finalize(device);
    sqlite3_stmt* card = nullptr;
    sqlite3_prepare_v2(
        db,
        "insert into RfcardInfo(Name, Code, DoorNumber, Mon, Tue, Wed, Thur, Fri, Sat, Sun, "
        "TimeStart, TimeEnd, WebRelay, Tags, Frequency, Owner) "
        "values(?1, ?2, '1', 1, 1, 1, 1, 1, 1, 1, '00:00', '23:59', 1, 0, 1, '1;')",
        -1, &card, nullptr);
    for (int i = 1; i <= kCards; ++i) {
        const QByteArray name = QStringLiteral("Holder %1").arg(i).toUtf8();
        const QByteArray code =
            QStringLiteral("%1").arg(i, 8, 16, QLatin1Char('0')).toUpper().toUtf8();
        sqlite3_bind_text(card, 1, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 2, code.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(card);
        sqlite3_reset(card);
    }
    sqlite3_finalize(card);
    const bool ok = sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    COffscreenApp app(argc, argv);
    CMessageBoxes::Install();

    QTemporaryDir dir;
    const QString error =
        LayoutProgramDir(dir.path(), QStringLiteral(KV_SCHEMA), QStringLiteral(KV_PICTURES));
    if (!error.isEmpty() || !Fill(dir.filePath(QStringLiteral("DB/Kestrovane.db")))) {
        std::fprintf(stderr, "cannot prepare the program directory: %s\n", qPrintable(error));
        return 1;
    }
    SetProgramDir(dir.path());

    const auto start = Clock::now();
    CKestrovaneDlg window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window never showed\n");
        return 1;
    }
    const double startup = Ms(start);
    std::printf("devices %d, cards on the first device %d\n", kDevices, kCards);
    std::printf("start-up until the main window is shown: %.1f ms\n", startup);

    using Dlg = CKestrovaneDlg;
    struct Step {
        const char* name;
        int button;
        const char* typed;
    };
    const Step steps[] = {{"next (page 1 to 2)", Dlg::IDC_NEXT_PAGE, nullptr},
                          {"last (page 5556)", Dlg::IDC_LAST_PAGE, nullptr},
                          {"previous (page 5555)", Dlg::IDC_PREV_PAGE, nullptr},
                          {"go (page 2778)", Dlg::IDC_GO_PAGE, "2778"}};
    for (const Step& step : steps) {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            window.SetCurrentPage(step.button == Dlg::IDC_PREV_PAGE ? 5556 : 1);
            window.LoadCardPage();
            if (step.typed)
                window.PageNumberBox()->setText(QString::fromLatin1(step.typed));
            const auto t = Clock::now();
            QTest::mouseClick(window.Button(step.button), Qt::LeftButton);
            QApplication::processEvents();
            times.push_back(Ms(t));
        }
        std::printf("page change, %-22s median %.2f ms, worst %.2f ms (%s)\n", step.name,
                    Median(times), *std::max_element(times.begin(), times.end()),
                    qPrintable(window.PageIndicator()->text()));
    }
    return 0;
}
