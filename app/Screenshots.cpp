// kestrovane-screenshots OUTDIR: starts the windows on a throwaway program
// directory with sample devices and cards, without the device link, and writes
// a PNG of the main window and of each of its dialogs into OUTDIR.
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "store/ProgramLayout.h"
#include "transfer/HttpAuthSettingDlg.h"
#include "transfer/HttpAuthSettings.h"
#include "transfer/WaitDlg.h"
#include "ui/ConfirmDlg.h"
#include "ui/DialogLook.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MyListCtrl.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
QDir g_out;
bool g_ok = true;

void Settle(int ms = 50) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Shoot(QWidget* window, const QString& name) {
    window->show();
    Settle();
    const QString path = g_out.filePath(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        g_ok = false;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void Hover(QWidget* widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void SampleData() {
    CDbAccess* db = CDbAccess::GetInstance();
    const struct {
        const char* name;
        const char* ip;
        const char* mac;
        const char* firmware;
        int state;
    } devices[] = {
        {"Front Gate", "127.0.0.11", "0C1105AABB01", "111.30.1.201", 1},
        {"Garage", "127.0.0.12", "0C1105AABB02", "20.30.1.15", 0},
        {"Lobby Door Phone West Wing Entrance", "127.0.0.13", "0C1105AABB03", "91.30.1.8", 1},
        {"Back Door", "127.0.0.14", "0C1105AABB04", "111.30.1.201", 0}};
    for (const auto& d : devices) {
        DeviceRecord r;
        r.Type = 0;
        r.Model = QStringLiteral("E11");
        r.LocalName = QString::fromUtf8(d.name);
        r.IP = QString::fromUtf8(d.ip);
        r.MAC = QString::fromUtf8(d.mac);
        r.Firmware = QString::fromUtf8(d.firmware);
        db->InsertDevice(r);
        db->SetDeviceState(r.MAC, d.state);
    }
    const char* names[] = {"Anna Berg", "Tom Hale",  "Maria Lopez-Fernandez de Cruz",
                           "Wei Zhang", "Caretaker", "Postman",
                           "Jonas Ek"};
    for (int i = 0; i < 23; ++i) {
        CardRecord c;
        c.Name = QString::fromUtf8(names[i % 7]);
        c.Code = QStringLiteral("%1")
                     .arg(0xC3B2A100u + unsigned(i) * 37u, 8, 16, QLatin1Char('0'))
                     .toUpper();
        c.DoorNumber = i % 3 == 0 ? QStringLiteral("12") : QStringLiteral("1");
        c.Mon = c.Tue = c.Wed = c.Thur = c.Fri = 1;
        c.Sat = c.Sun = i % 2;
        c.TimeStart = QStringLiteral("07:00");
        c.TimeEnd = QStringLiteral("23:59");
        c.WebRelay = 1;
        c.Frequency = 1;
        c.Owner = OwnerKey(1);
        db->SaveCard(&c);
    }
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(CDialogLook::DialogFont(11));
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrovane-screenshots OUTDIR\n");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    g_out.mkpath(QStringLiteral("."));

    QTemporaryDir programDir;
    const QString error =
        LayoutProgramDir(programDir.path(), QStringLiteral(KV_SCHEMA), QStringLiteral(KV_PICTURES));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    SetProgramDir(programDir.path());
    CppSQLite3DB::GetInstance().Open(MakeProgramPath(QStringLiteral("DB\\Kestrovane.db")));
    SampleData();
    // Dialogs opened from the main window must not wait for a click here.
    SetMessageBoxHandler([](const QString&, const QString&, int) { return 0; });

    {
        CKestrovaneDlg main(CKestrovaneDlg::CoreHooks{});
        main.CardList()->Model()->SetChecked(1, true);
        main.CardList()->Model()->SetChecked(2, true);
        main.CardList()->SelectRow(4);
        main.DeviceList()->setFocus();
        Shoot(&main, QStringLiteral("main-window.png"));
        main.Button(CKestrovaneDlg::IDC_NEXT_PAGE)->click();
        Hover(main.Button(CKestrovaneDlg::IDC_DELETE_CARD));
        Hover(main.Button(CKestrovaneDlg::IDC_NEXT_PAGE));
        Shoot(&main, QStringLiteral("main-window-page2-hover.png"));
        for (int id : {CKestrovaneDlg::IDC_DELETE_CARD, CKestrovaneDlg::IDC_NEXT_PAGE}) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(main.Button(id), &leave);
        }
        main.DeviceList()->SelectRow(1);
        Shoot(&main, QStringLiteral("main-window-no-cards.png"));
    }
    {
        CConfirmDlg box;
        box.SetMessage(QStringLiteral("Please select a device first."));
        box.SetCaption(kMsgCaption);
        box.SetStyle(kMsgStyleOk);
        box.Prepare();
        Shoot(&box, QStringLiteral("message-box-ok.png"));
    }
    {
        CConfirmDlg box;
        box.SetMessage(QStringLiteral("Are you sure you want to delete this rfcard?"));
        box.SetCaption(kConfirmCaption);
        box.SetStyle(kMsgStyleYesNo);
        box.Prepare();
        Hover(box.FirstButton());
        Shoot(&box, QStringLiteral("message-box-yes-no.png"));
    }
    {
        CConfirmDlg box;
        box.SetMessage(QStringLiteral(
            "Update failed，please try again. The device did not answer within the "
            "time allowed; check that it is switched on and connected to the network."));
        box.SetCaption(kMsgCaption);
        box.SetStyle(kMsgStyleOk);
        box.Prepare();
        Shoot(&box, QStringLiteral("message-box-long.png"));
    }
    {
        CWaitDlg wait;
        wait.show();
        Settle(CWaitDlg::kTickMs * 2 + 200);
        Shoot(&wait, QStringLiteral("progress-dialog.png"));
        wait.m_status = 2;
    }
    {
        SaveHttpAuthSettings(1, QStringLiteral("admin"), QStringLiteral("secret"));
        CHttpAuthSettingDlg settings;
        Shoot(&settings, QStringLiteral("settings-dialog.png"));
    }
    return g_ok ? 0 : 1;
}
