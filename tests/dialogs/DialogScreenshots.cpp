// kestrovane-dialog-screenshots OUTDIR: the device, card and copy dialogs in
// use, on a throwaway program directory with sample devices and cards and
// without the device link (scan answers are put on the scan list directly).
// Writes one PNG per view into OUTDIR. Run it under scripts/netns-run.
#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "base/ProgramDir.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/CopyRfcardDlg.h"
#include "store/CppSQLite3DB.h"
#include "store/DbAccess.h"
#include "store/ProgramLayout.h"
#include "ui/DeviceAddDlg.h"
#include "ui/DeviceModifyDlg.h"
#include "ui/DeviceOperations.h"
#include "ui/DialogLook.h"
#include "ui/FileChooser.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MyListCtrl.h"
#include "ui/RfcardAddDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
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

int SampleData() {
    CDbAccess* db = CDbAccess::GetInstance();
    const char* names[] = {"Front Gate", "Garage", "Lobby West"};
    for (int i = 0; i < 3; ++i) {
        DeviceRecord d;
        d.LocalName = QString::fromLatin1(names[i]);
        d.IP = QStringLiteral("127.0.0.%1").arg(11 + i);
        d.MAC = QStringLiteral("0C1105AABB0%1").arg(i + 1);
        d.Firmware = QStringLiteral("111.30.1.201");
        d.Model = QStringLiteral("E11");
        db->InsertDevice(d);
    }
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
    c.Owner = OwnerKey(1);
    db->SaveCard(&c);
    return db->ListCards(OwnerKey(1))->ID;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(CDialogLook::DialogFont(11));
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrovane-dialog-screenshots OUTDIR\n");
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
    SetMessageBoxHandler([](const QString&, const QString&, int) { return 0; });

    {
        CDeviceAddDlg add;
        add.Prepare();
        const struct {
            const char* ip;
            const char* mac;
            const char* model;
            const char* firmware;
        } answers[] = {{"127.0.1.7", "0C1105E2E007", "E12", "20.1.2"},
                       {"127.0.1.8", "0C1105E2E008", "R20", "91.30.1.8"},
                       {"127.0.1.9", "0C1105E2E009", "E12", "20.1.3"}};
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
        card.SetOwnerKey(OwnerKey(1));
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
