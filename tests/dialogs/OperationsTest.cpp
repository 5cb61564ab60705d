#include "GuiHelpers.h"
#include "Messages.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/CopyRfcardDlg.h"
#include "store/DbAccess.h"
#include "support/TestProgramDir.h"
#include "transfer/DeviceWorkDirs.h"
#include "ui/DeviceModifyDlg.h"
#include "ui/FileChooser.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MyListCtrl.h"
#include "ui/RfcardAddDlg.h"
#include "ui/TransparentStatic.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
using Dlg = CKestrovaneDlg;

const QString kSelectDevice = QStringLiteral("Please select a device first.");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList Codes(int deviceId) {
    QStringList codes;
    CardRecord* head = CDbAccess::GetInstance()->ListCards(OwnerKey(deviceId));
    for (CardRecord* c = head; c; c = c->next)
        codes << c->Code;
    while (head) {
        CardRecord* next = head->next;
        delete head;
        head = next;
    }
    return codes;
}

class OperationsTest : public testing::Test {
protected:
    void SetUp() override { RecordMessages(); }
    void TearDown() override {
        CMessageBoxes::SetTestMode(false);
        CFileChooser::ClearNextFileNames();
    }

    int AddDevice(const QString& name) {
        DeviceRecord d;
        d.LocalName = name;
        d.MAC = QStringLiteral("0C11050000%1").arg(++m_devices, 2, 10, QLatin1Char('0'));
        d.IP = QStringLiteral("127.0.0.%1").arg(10 + m_devices);
        CDbAccess::GetInstance()->InsertDevice(d);
        CreateDeviceWorkDirs(d.MAC);
        return m_devices;
    }
    void AddCards(int deviceId, const QStringList& codes) {
        for (const QString& code : codes) {
            CardRecord c;
            c.Name = QStringLiteral("Holder ") + code;
            c.Code = code;
            c.DoorNumber = QStringLiteral("1");
            c.Owner = OwnerKey(deviceId);
            CDbAccess::GetInstance()->SaveCard(&c);
        }
    }
    Dlg& Open() {
        m_window = std::make_unique<Dlg>(Dlg::CoreHooks{});
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        return *m_window;
    }
    void Click(int id) { QTest::mouseClick(m_window->Button(id), Qt::LeftButton); }

    TestProgramDir dir;
    std::unique_ptr<Dlg> m_window;
    int m_devices = 0;
};

TEST_F(OperationsTest, WithoutASelectedDeviceEveryButtonOnlyAsksForOne) {
    AddCards(AddDevice(QStringLiteral("Gate")), {QStringLiteral("AA01")});
    Dlg& w = Open();
    w.DeviceList()->clearSelection();
    ASSERT_EQ(w.SelectedDeviceRow(), -1);
    // A dialog opened by mistake is noted and closed, so the test goes on.
    QStringList opened;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        }
    });
    guard.start(20);
    CFileChooser::SetNextFileName(dir.File(QStringLiteral("never.xml")));
    const int buttons[] = {Dlg::IDC_MODIFY_DEVICE, Dlg::IDC_DELETE_DEVICE, Dlg::IDC_ADD_CARD,
                           Dlg::IDC_MODIFY_CARD,   Dlg::IDC_COPY,          Dlg::IDC_IMPORT,
                           Dlg::IDC_EXPORT,        Dlg::IDC_UPDATE_FROM,   Dlg::IDC_UPDATE_TO};
    for (int id : buttons) {
        Click(id);
        EXPECT_EQ(TakeMessages(), QStringList{kSelectDevice}) << id;
    }
    EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
    EXPECT_EQ(Codes(1), QStringList{QStringLiteral("AA01")});
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("never.xml"))));
    EXPECT_EQ(CDbAccess::GetInstance()->CountDevices(QString()), 1);
}

TEST_F(OperationsTest, ExportAsksBeforeOverwritingAndWritesOnlyWhenAllowed) {
    const int empty = AddDevice(QStringLiteral("Empty"));
    AddCards(AddDevice(QStringLiteral("Gate")), {QStringLiteral("AA01"), QStringLiteral("AA02")});
    Dlg& w = Open();
    const QString file = dir.File(QStringLiteral("cards.xml"));

    ASSERT_EQ(w.SelectedDeviceIdText().toInt(), empty);
    CFileChooser::SetNextFileName(file);
    Click(Dlg::IDC_EXPORT);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Rfcard list is empty.")});
    EXPECT_FALSE(QFile::exists(file));

    w.DeviceList()->SelectRow(1);
    WriteAll(file, "keep");
    CMessageBoxes::SetNextAnswer(0); // NO: keep the file
    Click(Dlg::IDC_EXPORT);          // takes the name queued above
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral(
                                  "This file already exists, are you sure you want to cover it?")});
    EXPECT_EQ(CMessageBoxes::Calls().size(), 0);
    EXPECT_EQ(ReadAll(file), QByteArray("keep"));

    CFileChooser::SetNextFileName(file);
    CMessageBoxes::SetNextAnswer(1);
    Click(Dlg::IDC_EXPORT);
    EXPECT_EQ(
        TakeMessages(),
        QStringList({QStringLiteral("This file already exists, are you sure you want to cover it?"),
                     QStringLiteral("Exporting succeeded.")}));
    const QByteArray written = ReadAll(file);
    EXPECT_TRUE(written.contains("AA01") && written.contains("AA02")) << written.constData();

    // A file that cannot be written is not reported as written.
    CFileChooser::SetNextFileName(dir.File(QStringLiteral("no/such/dir/cards.xml")));
    Click(Dlg::IDC_EXPORT);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Exporting failed.")});

    // A cancelled file dialog ends the export silently.
    CFileChooser::SetNextFileName(QString());
    Click(Dlg::IDC_EXPORT);
    EXPECT_TRUE(TakeMessages().isEmpty());
}

TEST_F(OperationsTest, ImportStoresTheFileCardsOnceAndReportsAnUnreadableFile) {
    const int target = AddDevice(QStringLiteral("Target"));
    const int source = AddDevice(QStringLiteral("Source"));
    AddCards(source, {QStringLiteral("BB01"), QStringLiteral("BB02"), QStringLiteral("BB03")});
    const QString file = dir.File(QStringLiteral("three.xml"));
    CardRecord* list = CDbAccess::GetInstance()->ListCards(OwnerKey(source));
    ASSERT_EQ(ExportRfcardFile(list, file), 0);
    while (list) {
        CardRecord* next = list->next;
        delete list;
        list = next;
    }
    Dlg& w = Open();
    ASSERT_EQ(w.SelectedDeviceIdText().toInt(), target);

    for (int pass = 0; pass < 2; ++pass) {
        CFileChooser::SetNextFileName(file);
        Click(Dlg::IDC_IMPORT);
        EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Importing succeeded.")});
        EXPECT_EQ(Codes(target), QStringList({"BB01", "BB02", "BB03"}));
        EXPECT_EQ(w.CardList()->Model()->RowCount(), 3);
    }

    CFileChooser::SetNextFileName(dir.File(QStringLiteral("missing.xml")));
    Click(Dlg::IDC_IMPORT);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Importing failed.")});
    EXPECT_EQ(Codes(target).size(), 3);
}

TEST_F(OperationsTest, CopyDialogOffersOnlyTheOtherDevicesAndStaysOpen) {
    const int target = AddDevice(QStringLiteral("Target"));
    const int lobby = AddDevice(QStringLiteral("lobby"));
    const int back = AddDevice(QStringLiteral("Back door"));
    AddCards(target, {QStringLiteral("CC01"), QStringLiteral("CC02")});
    AddCards(lobby, {QStringLiteral("CC02"), QStringLiteral("CC03")});
    AddCards(back, {QStringLiteral("CC04")});

    CCopyRfcardDlg dlg(target);
    dlg.Prepare();
    dlg.show();
    QStringList offered;
    for (int i = 0; i < dlg.NameBox()->count(); ++i)
        offered << dlg.NameBox()->itemText(i);
    EXPECT_EQ(offered, QStringList({"Back door", "lobby"}));

    dlg.NameBox()->setEditText(QStringLiteral("   "));
    QTest::mouseClick(dlg.CopyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(),
              QStringList{QStringLiteral("Copying failed.You must input Device Name.")});

    dlg.NameBox()->setEditText(QStringLiteral("Nobody"));
    QTest::mouseClick(dlg.CopyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Copying failed.")});
    EXPECT_EQ(Codes(target), QStringList({"CC01", "CC02"}));

    dlg.NameBox()->setEditText(QStringLiteral("  lobby "));
    QTest::mouseClick(dlg.CopyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Copying succeeded.")});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Codes(target), QStringList({"CC01", "CC02", "CC03"}));
    EXPECT_EQ(Codes(lobby), QStringList({"CC02", "CC03"}));

    dlg.NameBox()->setCurrentIndex(0);
    QTest::mouseClick(dlg.CopyButton(), Qt::LeftButton);
    EXPECT_EQ(Codes(target), QStringList({"CC01", "CC02", "CC03", "CC04"}));
}

TEST_F(OperationsTest, DeleteDeviceRemovesItsCardsAndDirectoriesOnlyWhenConfirmed) {
    const int one = AddDevice(QStringLiteral("One"));
    for (int i = 2; i <= 11; ++i)
        AddDevice(QStringLiteral("Other %1").arg(i));
    AddCards(one, {QStringLiteral("DD01"), QStringLiteral("DD02")});
    AddCards(11, {QStringLiteral("DD01")}); // key "11;" starts like "1;"
    const QString mac = QStringLiteral("0C1105000001");
    WriteAll(GetUpdateToDir(mac) + QStringLiteral("/") + mac + QStringLiteral(".xml"),
             "<KeyData/>");
    QDir(GetUpdateFromDir(mac)).mkdir(QStringLiteral("sub"));
    WriteAll(GetUpdateFromDir(mac) + QStringLiteral("/sub/file"), "x");
    QFile::setPermissions(GetUpdateToDir(mac) + QStringLiteral("/") + mac + QStringLiteral(".xml"),
                          QFileDevice::ReadOwner);

    Dlg& w = Open();
    ASSERT_EQ(w.SelectedDeviceIdText().toInt(), one);
    CMessageBoxes::SetNextAnswer(0);
    Click(Dlg::IDC_DELETE_DEVICE);
    EXPECT_EQ(TakeMessages(),
              QStringList{QStringLiteral("Are you sure you want to delete this device?")});
    EXPECT_EQ(Codes(one).size(), 2);
    EXPECT_TRUE(QDir(GetUpdateToDir(mac)).exists());

    CMessageBoxes::SetNextAnswer(1);
    Click(Dlg::IDC_DELETE_DEVICE);
    EXPECT_EQ(TakeMessages(),
              QStringList{QStringLiteral("Are you sure you want to delete this device?")});
    EXPECT_EQ(CDbAccess::GetInstance()->CountDevices(QString()), 10);
    EXPECT_TRUE(Codes(one).isEmpty());
    EXPECT_EQ(Codes(11), QStringList{QStringLiteral("DD01")});
    EXPECT_FALSE(QDir(GetUpdateToDir(mac)).exists());
    EXPECT_FALSE(QDir(GetUpdateFromDir(mac)).exists());
    EXPECT_TRUE(QDir(GetUpdateToDir(QStringLiteral("0C1105000002"))).exists());
    EXPECT_EQ(w.SelectedDeviceRow(), -1);
    EXPECT_TRUE(w.Field(Dlg::IDC_DEVICE_NAME)->text().isEmpty());
    EXPECT_EQ(w.DeviceList()->Model()->RowCount(), 10);
}

TEST_F(OperationsTest, DoubleClicksOpenTheModifyDialogsOfTheClickedRows) {
    AddDevice(QStringLiteral("Gate"));
    const int hall = AddDevice(QStringLiteral("Hall"));
    AddCards(hall, {QStringLiteral("EE01"), QStringLiteral("EE02")});
    Dlg& w = Open();
    CMyListCtrl* devices = w.DeviceList();
    const QPoint hallCell = devices->visualRect(devices->Model()->index(1, 1)).center();
    QTest::mouseClick(devices->viewport(), Qt::LeftButton, {}, hallCell);

    Click(Dlg::IDC_MODIFY_CARD);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Please select a rfcard first.")});

    QString shownMac;
    WhenModalOpens<CDeviceModifyDlg>([&](CDeviceModifyDlg* modify) {
        shownMac = modify->MacEdit()->text();
        modify->NameEdit()->setText(QStringLiteral("Main hall"));
        QTest::mouseClick(modify->ModifyButton(), Qt::LeftButton);
        QTest::mouseClick(modify->CloseButton(), Qt::LeftButton);
    });
    QTest::mouseDClick(devices->viewport(), Qt::LeftButton, {}, hallCell);
    EXPECT_EQ(shownMac, QStringLiteral("0C1105000002"));
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Modifying Device succeeded.")});
    EXPECT_EQ(devices->Model()->Text(1, 1), QStringLiteral("Main hall"));
    EXPECT_EQ(w.SelectedDeviceRow(), 1);
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_NAME)->text(), QStringLiteral("Main hall"));

    CMyListCtrl* cards = w.CardList();
    const QPoint secondCard = cards->visualRect(cards->Model()->index(1, 3)).center();
    QTest::mouseClick(cards->viewport(), Qt::LeftButton, {}, secondCard);
    QString heading, code;
    WhenModalOpens<CRfcardAddDlg>([&](CRfcardAddDlg* card) {
        heading = card->Heading()->text();
        code = card->CodeEdit()->text();
        QTest::mouseClick(card->CloseButton(), Qt::LeftButton);
    });
    QTest::mouseDClick(cards->viewport(), Qt::LeftButton, {}, secondCard);
    EXPECT_EQ(heading, QStringLiteral("Modify Rfcard"));
    EXPECT_EQ(code, QStringLiteral("EE02"));
    EXPECT_TRUE(TakeMessages().isEmpty());
}

TEST_F(OperationsTest, SynchronisingADeviceWhoseMacNamesNoWorkDirectoryFailsAtOnce) {
    DeviceRecord d;
    d.LocalName = QStringLiteral("Odd");
    d.MAC = QStringLiteral("../../DB");
    d.IP = QStringLiteral("127.0.0.9");
    CDbAccess::GetInstance()->InsertDevice(d);
    Open();
    for (int id : {Dlg::IDC_UPDATE_FROM, Dlg::IDC_UPDATE_TO}) {
        Click(id);
        EXPECT_EQ(TakeMessages(),
                  QStringList{QStringLiteral("Update failed\uFF0Cplease try again.")});
    }
    EXPECT_TRUE(QFile::exists(dir.DbPath()));
}

} // namespace
