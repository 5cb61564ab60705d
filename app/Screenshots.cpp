// kestrovane-screenshots OUTDIR: starts the windows on a throwaway program
// directory with sample devices and cards, without the device link (scan
// answers are put on the scan list directly), and writes a PNG of the main
// window and of each of its dialogs, also in use, into OUTDIR.
// Run it under scripts/netns-run.
#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/CopyRfcardDlg.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "store/ProgramLayout.h"
#include "transfer/HttpAuthSettingDlg.h"
#include "transfer/HttpAuthSettings.h"
#include "transfer/WaitDlg.h"
#include "ui/ConfirmDlg.h"
#include "ui/DeviceAddDlg.h"
#include "ui/DeviceModifyDlg.h"
#include "ui/DeviceOperations.h"
#include "ui/FileChooser.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MyListCtrl.h"
#include "ui/OffscreenApp.h"
#include "ui/RfcardAddDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QMouseEvent>
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

// Fills the store; returns the card the card dialog modifies.
int SampleData() {
    CDbAccess* db = CDbAccess::GetInstance();
    const struct {
        const char* name;
        const char* ip;
        const char* mac;
        const char* firmware;
        int state;
    } devices[] = {
        {"Front Gate", "127.0.0.11", "0C1105AABB01", "11.30.1.201", 1},
        {"Garage", "127.0.0.12", "0C1105AABB02", "20.30.1.15", 0},
        {"Lobby Door Phone West Wing Entrance", "127.0.0.13", "0C1105AABB03", "91.30.1.8", 1},
        {"Back Door", "127.0.0.14", "0C1105AABB04", "11.30.1.201", 0}};
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
    // The card dialogs show one card of the back door, which the main window
    // pictures leave unselected.
    CardRecord c;
    c.Name = QStringLiteral("Caretaker");
    c.Code = QStringLiteral("C3B2A104");
    c.DoorNumber = QStringLiteral("23");
    c.Mon = c.Tue = c.Wed = c.Thur = c.Fri = 1;
    c.TimeStart = QStringLiteral("06:30");
    c.TimeEnd = QStringLiteral("22:00");
    c.WebRelay = 2;
    c.Tags = 1;
    c.Frequency = 3;
    c.Owner = OwnerKey(4);
    db->SaveCard(&c);
    return db->ListCards(OwnerKey(4))->ID;
}
} // namespace

int main(int argc, char** argv) {
    COffscreenApp app(argc, argv);
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
    const int cardId = SampleData();
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
    {
        CDeviceAddDlg add;
        add.Prepare();
        const struct {
            const char* ip;
            const char* mac;
            const char* model;
            const char* firmware;
        } answers[] = {{"127.0.1.7", "0C1105E2E007", "E11", "11.30.1.7"},
                       {"127.0.1.8", "0C1105E2E008", "X91", "91.30.1.8"},
                       {"127.0.1.9", "0C1105E2E009", "R20", "20.30.1.9"}};
        for (const auto& a : answers) {
            DeviceRecord d;
            d.IP = QString::fromLatin1(a.ip);
            d.MAC = QString::fromLatin1(a.mac);
            d.Model = QString::fromLatin1(a.model);
            d.Firmware = QString::fromLatin1(a.firmware);
            CControl::GetInstance()->AddScanDevice(&d);
        }
        add.show();
        Settle(CDeviceAddDlg::kScanDelayMs + 300);
        add.ResultList()->SelectRow(1);
        add.OnResultDoubleClick();
        add.NameEdit()->setText(QStringLiteral("Side Entrance"));
        Hover(add.AddButton());
        Shoot(&add, QStringLiteral("device-add-dialog.png"));
    }
    {
        CDeviceModifyDlg modify;
        modify.SetDeviceId(3);
        modify.Prepare();
        Hover(modify.ModifyButton());
        Shoot(&modify, QStringLiteral("device-modify-dialog.png"));
    }
    {
        CRfcardAddDlg card;
        card.SetOwnerKey(OwnerKey(1));
        card.Prepare();
        card.NameEdit()->setText(QStringLiteral("Visitor"));
        card.CodeEdit()->setText(QStringLiteral("C3B2A104"));
        card.DayBox(5)->setChecked(false);
        card.DayBox(6)->setChecked(false);
        Hover(card.ReadButton());
        Shoot(&card, QStringLiteral("card-add-dialog.png"));
    }
    {
        CRfcardAddDlg card;
        card.SetOwnerKey(OwnerKey(4));
        card.SetCardId(cardId);
        card.Prepare();
        Shoot(&card, QStringLiteral("card-modify-dialog.png"));
    }
    {
        CCopyRfcardDlg copy(1);
        copy.Prepare();
        copy.NameBox()->setCurrentIndex(1);
        Hover(copy.CopyButton());
        Shoot(&copy, QStringLiteral("copy-dialog.png"));
    }
    {
        // The garage after its cards were imported from a file of the front gate's.
        const QString file = programDir.filePath(QStringLiteral("front-gate.xml"));
        CardRecord* cards = CDbAccess::GetInstance()->ListCards(OwnerKey(1));
        ExportRfcardFile(cards, file);
        CDeviceControl::FreeRfcardList(cards);
        CKestrovaneDlg main(CKestrovaneDlg::CoreHooks{});
        main.show();
        main.DeviceList()->SelectRow(1);
        CFileChooser::SetNextFileName(file);
        main.Button(CKestrovaneDlg::IDC_IMPORT)->click();
        main.CardList()->SelectRow(0);
        Shoot(&main, QStringLiteral("main-window-after-import.png"));
    }
    {
        // The export file dialog, with its title in the CJK face.
        QDir::setCurrent(programDir.path());
        QTimer::singleShot(500, [] {
            if (QWidget* chooser = QApplication::activeModalWidget()) {
                Shoot(chooser, QStringLiteral("export-file-dialog.png"));
                chooser->close();
            }
        });
        QString path;
        CDeviceOperations::ChooseExportFile(nullptr, path);
    }
    return g_ok ? 0 : 1;
}
