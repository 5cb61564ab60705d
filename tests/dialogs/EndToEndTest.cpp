// The whole program against simulated devices: the real main window and its
// dialogs, the control core on its real ports, and kestrovane-devsim playing
// four devices on 127.0.1.x with their web interfaces, all inside the test's
// own network namespace.
#include "GuiHelpers.h"
#include "Messages.h"
#include "ScriptedReader.h"
#include "cardlist/CopyRfcardDlg.h"
#include "cardlist/RfKeyXml.h"
#include "store/DbAccess.h"
#include "support/TestProgramDir.h"
#include "transfer/DeviceSync.h"
#include "transfer/DeviceWorkDirs.h"
#include "transfer/HttpAuthSettings.h"
#include "ui/DeviceAddDlg.h"
#include "ui/FileChooser.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MyListCtrl.h"
#include "ui/RfcardAddDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {
using Dlg = CKestrovaneDlg;

struct SimDevice {
    const char* name;
    const char* mac;
    const char* ip;
    const char* auth; // devsim options
    int cards;        // cards the device holds at the start
};
const SimDevice kLobby{"Lobby", "0C1105E2E001", "127.0.1.1", "", 5};
const SimDevice kGarage{"Garage", "0C1105E2E002", "127.0.1.2", "", 0};
const SimDevice kBasic{"Basic gate", "0C1105E2E003", "127.0.1.3",
                       "auth=basic user=admin password=b4sic", 2};
const SimDevice kDigest{"Digest gate", "0C1105E2E004", "127.0.1.4",
                        "auth=digest user=admin password=d1gest", 1};
const SimDevice* const kDevices[] = {&kLobby, &kGarage, &kBasic, &kDigest};

// A card as the tests compare it: every field a card-list file carries (the
// relay, tags and frequency are read from files but never written).
QString Describe(const CardRecord& c) {
    return QStringList({c.Name, c.Code, c.DoorNumber, c.TimeStart, c.TimeEnd,
                        QString::number(c.Mon) + QString::number(c.Tue) + QString::number(c.Wed) +
                            QString::number(c.Thur) + QString::number(c.Fri) +
                            QString::number(c.Sat) + QString::number(c.Sun)})
        .join('|');
}

QStringList Describe(CardRecord* head) {
    QStringList cards;
    for (CardRecord* c = head; c; c = c->next)
        cards << Describe(*c);
    while (head) {
        CardRecord* next = head->next;
        delete head;
        head = next;
    }
    cards.sort();
    return cards;
}

QStringList StoredCards(int deviceId) {
    return Describe(CDbAccess::GetInstance()->ListCards(OwnerKey(deviceId)));
}
QStringList FileCards(const QString& path) {
    return Describe(CRfKeyXml::ParseRfxmlFile(path.toUtf8().constData()));
}

void WriteSeed(const QString& path, const SimDevice& d) {
    CardRecord* head = nullptr;
    CardRecord** tail = &head;
    for (int i = 1; i <= d.cards; ++i) {
        auto* c = new CardRecord;
        c->Name =
            QStringLiteral("%1 %2").arg(QString::fromLatin1(d.name).section(' ', 0, 0)).arg(i);
        c->Code = QStringLiteral("%1%2")
                      .arg(QString::fromLatin1(d.mac).right(3))
                      .arg(i, 5, 10, QLatin1Char('0'));
        c->DoorNumber = i % 2 ? QStringLiteral("1") : QStringLiteral("23");
        c->Mon = c->Tue = c->Wed = c->Thur = c->Fri = 1;
        c->Sat = i % 2;
        c->TimeStart = QStringLiteral("07:00");
        c->TimeEnd = QStringLiteral("20:30");
        c->WebRelay = i;
        c->Tags = i % 3;
        c->Frequency = 1;
        *tail = c;
        tail = &c->next;
    }
    ASSERT_EQ(WriteRfxmlFile(head, path.toUtf8().constData()), 0);
    while (head) {
        CardRecord* next = head->next;
        delete head;
        head = next;
    }
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override {
        RecordMessages();
        QFile config(dir.File(QStringLiteral("devices.conf")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        for (const SimDevice* d : kDevices) {
            const QString cards =
                dir.File(QStringLiteral("%1.xml").arg(QString::fromLatin1(d->mac)));
            WriteSeed(cards, *d);
            config.write(QStringLiteral("mac=%1 ip=%2 firmware=20.1.2 cards=%3 %4\n")
                             .arg(QString::fromLatin1(d->mac), QString::fromLatin1(d->ip), cards,
                                  QString::fromLatin1(d->auth))
                             .toUtf8());
        }
        config.close();
        m_devsim.setProcessChannelMode(QProcess::SeparateChannels);
        m_devsim.start(QStringLiteral(KV_DEVSIM), {QStringLiteral("--config"), config.fileName()});
        ASSERT_TRUE(m_devsim.waitForReadyRead(10000))
            << m_devsim.readAllStandardError().toStdString();
        ASSERT_TRUE(m_devsim.readLine().startsWith("ready 4"));
    }
    void TearDown() override {
        CMessageBoxes::SetTestMode(false);
        CFileChooser::ClearNextFileNames();
        m_window.reset();
        m_devsim.terminate();
        m_devsim.waitForFinished(5000);
    }

    // The card list the simulated device holds: the last one it received.
    QString DeviceFile(const SimDevice& d) const {
        return dir.File(QStringLiteral("%1.xml").arg(QString::fromLatin1(d.mac)));
    }
    void Click(int id) { QTest::mouseClick(m_window->Button(id), Qt::LeftButton); }
    int Row(const SimDevice& d) const {
        const CReportModel* rows = m_window->DeviceList()->Model();
        for (int row = 0; row < rows->RowCount(); ++row)
            if (rows->Text(row, 1) == QString::fromLatin1(d.name))
                return row;
        return -1;
    }
    int Id(const SimDevice& d) const {
        return m_window->DeviceList()->Model()->Text(Row(d), 0).toInt();
    }
    void Select(const SimDevice& d) {
        CMyListCtrl* list = m_window->DeviceList();
        const int row = Row(d);
        ASSERT_GE(row, 0) << d.name;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->Model()->index(row, 1)).center());
        ASSERT_EQ(m_window->DeviceMac(), QString::fromLatin1(d.mac));
    }
    // Waits for the message a worker shows after its progress dialog has ended.
    QStringList WaitMessages(int count) {
        WaitUntil([&] { return CMessageBoxes::Calls().size() >= count; }, 20000);
        return TakeMessages();
    }

    TestProgramDir dir;
    QProcess m_devsim;
    std::unique_ptr<Dlg> m_window;
};

TEST_F(EndToEnd, DevicesAreFoundAddedSynchronisedExchangedAndRemoved) {
    m_window = std::make_unique<Dlg>();
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    Dlg& w = *m_window;

    // Add: the scan lists the four devices; each is taken from its row and named.
    QStringList scanned;
    QStringList afterAdding;
    WhenModalOpens<CDeviceAddDlg>([&](CDeviceAddDlg* add) {
        QSignalSpy listed(add, &CDeviceAddDlg::ScanListed);
        if (!listed.wait(CDeviceAddDlg::kScanDelayMs + 3000))
            return add->reject();
        CMyListCtrl* list = add->ResultList();
        for (int row = 0; row < list->Model()->RowCount(); ++row)
            scanned << list->Model()->Text(row, 3);
        for (const SimDevice* d : kDevices) {
            const int row = scanned.indexOf(QString::fromLatin1(d->mac));
            if (row < 0)
                continue;
            list->SelectRow(row);
            const QPoint cell = list->visualRect(list->Model()->index(row, 2)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
            QTest::keyClicks(add->NameEdit(), QString::fromLatin1(d->name));
            QTest::mouseClick(add->AddButton(), Qt::LeftButton);
        }
        // The next scan no longer offers them: they now report into the store.
        if (listed.wait(CDeviceAddDlg::kScanDelayMs + 3000))
            for (int row = 0; row < list->Model()->RowCount(); ++row)
                afterAdding << list->Model()->Text(row, 3);
        QTest::mouseClick(add->CloseButton(), Qt::LeftButton);
    });
    Click(Dlg::IDC_ADD_DEVICE);
    scanned.sort();
    EXPECT_EQ(scanned,
              QStringList({"0C1105E2E001", "0C1105E2E002", "0C1105E2E003", "0C1105E2E004"}));
    EXPECT_EQ(TakeMessages(), QStringList(4, QStringLiteral("Adding Device succeeded.")));
    EXPECT_TRUE(afterAdding.isEmpty()) << afterAdding.join(' ').toStdString();
    ASSERT_EQ(w.DeviceList()->Model()->RowCount(), 4);
    for (const SimDevice* d : kDevices) {
        EXPECT_TRUE(QDir(GetUpdateToDir(QString::fromLatin1(d->mac))).exists()) << d->mac;
        EXPECT_TRUE(QDir(GetUpdateFromDir(QString::fromLatin1(d->mac))).exists()) << d->mac;
    }
    // On-line: the devices answered the add dialog's last announcement.
    ASSERT_TRUE(WaitUntil([] {
        int count = 0;
        DeviceRecord* head = CDbAccess::GetInstance()->ListDevicesByState(1, QString());
        for (DeviceRecord* d = head; d; d = d->next)
            ++count;
        while (head) {
            DeviceRecord* next = head->next;
            delete head;
            head = next;
        }
        return count == 4;
    }));
    w.RefreshStatus();
    EXPECT_EQ(w.DeviceList()->Model()->Text(Row(kLobby), 2), QStringLiteral("\u221A"));

    // Update From Device brings the lobby's five cards.
    Select(kLobby);
    Click(Dlg::IDC_UPDATE_FROM);
    EXPECT_EQ(WaitMessages(1), QStringList{QStringLiteral("Updating Succeeded.")});
    EXPECT_EQ(StoredCards(Id(kLobby)), FileCards(DeviceFile(kLobby)));
    EXPECT_EQ(StoredCards(Id(kLobby)).size(), 5);
    EXPECT_EQ(w.CardList()->Model()->RowCount(), 5);

    // One card modified, one added with its code from the reader.
    w.CardList()->selectRow(1);
    const int modifiedId = w.CardList()->Model()->Text(1, 1).toInt();
    WhenModalOpens<CRfcardAddDlg>([](CRfcardAddDlg* card) {
        card->NameEdit()->setText(QStringLiteral("Lobby renamed"));
        card->DayBox(6)->setChecked(true);
        QTest::mouseClick(card->AddButton(), Qt::LeftButton);
        QTest::mouseClick(card->CloseButton(), Qt::LeftButton);
    });
    Click(Dlg::IDC_MODIFY_CARD);
    ScriptedReader reader;
    reader.nextSerial = QByteArray("04a1b2c3");
    WhenModalOpens<CRfcardAddDlg>([](CRfcardAddDlg* card) {
        QTest::keyClicks(card->NameEdit(), QStringLiteral("Visitor"));
        QTest::mouseClick(card->ReadButton(), Qt::LeftButton);
        QTest::mouseClick(card->AddButton(), Qt::LeftButton);
        QTest::mouseClick(card->CloseButton(), Qt::LeftButton);
    });
    Click(Dlg::IDC_ADD_CARD);
    EXPECT_EQ(TakeMessages(), QStringList({QStringLiteral("Modifying Rfcard succeeded."),
                                           QStringLiteral("Adding Rfcard succeeded.")}));
    CardRecord modified;
    CDbAccess::GetInstance()->GetCardById(modifiedId, &modified);
    EXPECT_EQ(modified.Name, QStringLiteral("Lobby renamed"));
    EXPECT_EQ(modified.Sun, 1);
    const QStringList lobbyCards = StoredCards(Id(kLobby));
    ASSERT_EQ(lobbyCards.size(), 6);
    EXPECT_TRUE(lobbyCards.contains(QStringLiteral("Visitor|C3B2A104|1|00:00|23:59|1111111")));
    const int visitorRow = w.CardList()->Model()->RowCount() - 1;
    EXPECT_EQ(w.CardList()->Model()->Text(visitorRow, 3), QStringLiteral("Visitor"));
    EXPECT_EQ(QStringList({w.CardList()->Model()->Text(visitorRow, 15),
                           w.CardList()->Model()->Text(visitorRow, 16),
                           w.CardList()->Model()->Text(visitorRow, 17)}),
              QStringList({"1", "0", "1"}));
    EXPECT_EQ(w.CardList()->Model()->RowCount(), 6);

    // Update To Device leaves the device holding exactly those six cards.
    Click(Dlg::IDC_UPDATE_TO);
    EXPECT_EQ(WaitMessages(1), QStringList{QStringLiteral("Updating Succeeded.")});
    EXPECT_EQ(FileCards(DeviceFile(kLobby)), lobbyCards);

    // Export, then import into the garage: the same cards.
    const QString exported = dir.File(QStringLiteral("lobby export.xml"));
    CFileChooser::SetNextFileName(exported);
    Click(Dlg::IDC_EXPORT);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Exporting succeeded.")});
    Select(kGarage);
    CFileChooser::SetNextFileName(exported);
    Click(Dlg::IDC_IMPORT);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Importing succeeded.")});
    EXPECT_EQ(StoredCards(Id(kGarage)), lobbyCards);

    // Basic and Digest devices: wrong credentials fail, right ones bring the cards.
    const struct {
        const SimDevice* device;
        int mode;
        const char* password;
        const char* message;
    } auths[] = {
        {&kBasic, 1, "wrong", "Authentication failed."},
        {&kBasic, 2, "b4sic", "Authentication failed."}, // Digest offered to a Basic device
        {&kBasic, 1, "b4sic", "Updating Succeeded."},
        {&kDigest, 2, "wrong", "Authentication failed."},
        {&kDigest, 0, "", "Authentication failed."},
        {&kDigest, 2, "d1gest", "Updating Succeeded."},
    };
    for (const auto& a : auths) {
        ASSERT_EQ(
            SaveHttpAuthSettings(a.mode, QStringLiteral("admin"), QString::fromLatin1(a.password)),
            0);
        Select(*a.device);
        Click(Dlg::IDC_UPDATE_FROM);
        EXPECT_EQ(WaitMessages(1), QStringList{QString::fromLatin1(a.message)})
            << a.device->name << " " << a.mode << " " << a.password;
        const bool through = QByteArray(a.message) == "Updating Succeeded.";
        EXPECT_EQ(StoredCards(Id(*a.device)).size(), through ? a.device->cards : 0)
            << a.device->name;
    }
    // Update To Device with the right Digest credentials; the device holds its one card.
    Click(Dlg::IDC_UPDATE_TO);
    EXPECT_EQ(WaitMessages(1), QStringList{QStringLiteral("Updating Succeeded.")});
    EXPECT_EQ(FileCards(DeviceFile(kDigest)), StoredCards(Id(kDigest)));

    // Copy into the garage from the Basic device; the garage is not offered.
    Select(kGarage);
    QStringList offered;
    WhenModalOpens<CCopyRfcardDlg>([&](CCopyRfcardDlg* copy) {
        for (int i = 0; i < copy->NameBox()->count(); ++i)
            offered << copy->NameBox()->itemText(i);
        copy->NameBox()->setCurrentText(QString::fromLatin1(kBasic.name));
        QTest::mouseClick(copy->CopyButton(), Qt::LeftButton);
        QTest::mouseClick(copy->CloseButton(), Qt::LeftButton);
    });
    Click(Dlg::IDC_COPY);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Copying succeeded.")});
    EXPECT_EQ(offered, QStringList({"Basic gate", "Digest gate", "Lobby"}));
    QStringList gathered = lobbyCards + StoredCards(Id(kBasic));
    gathered.sort();
    EXPECT_EQ(StoredCards(Id(kGarage)), gathered);
    EXPECT_EQ(w.CardList()->Model()->RowCount(), 8);

    // Removal of the lobby: device, cards and work directories go; the rest stays.
    Select(kLobby);
    const int lobbyId = Id(kLobby);
    CMessageBoxes::SetNextAnswer(1);
    Click(Dlg::IDC_DELETE_DEVICE);
    EXPECT_EQ(TakeMessages(),
              QStringList{QStringLiteral("Are you sure you want to delete this device?")});
    EXPECT_EQ(Row(kLobby), -1);
    DeviceRecord gone;
    CDbAccess::GetInstance()->GetDeviceById(lobbyId, &gone);
    EXPECT_EQ(gone.ID, 0);
    EXPECT_TRUE(StoredCards(lobbyId).isEmpty());
    EXPECT_FALSE(QDir(GetUpdateToDir(QString::fromLatin1(kLobby.mac))).exists());
    EXPECT_FALSE(QDir(GetUpdateFromDir(QString::fromLatin1(kLobby.mac))).exists());
    EXPECT_EQ(StoredCards(Id(kGarage)).size(), 8);
    EXPECT_TRUE(w.Field(Dlg::IDC_DEVICE_MAC)->text().isEmpty());
}

} // namespace
