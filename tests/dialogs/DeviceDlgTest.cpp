#include "Logic/Control.h"
#include "Logic/DeviceControl.h"
#include "Messages.h"
#include "store/DbAccess.h"
#include "support/TestProgramDir.h"
#include "transfer/DeviceWorkDirs.h"
#include "ui/DeviceAddDlg.h"
#include "ui/DeviceModifyDlg.h"
#include "ui/ImgButton.h"
#include "ui/MyListCtrl.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

DeviceRecord Reported(const QString& ip, const QString& mac) {
    DeviceRecord d;
    d.IP = ip;
    d.MAC = mac;
    d.Model = QStringLiteral("E12");
    d.Firmware = QStringLiteral("12.1.0.5");
    return d;
}

std::vector<DeviceRecord> Devices() {
    std::vector<DeviceRecord> devices;
    int count = 0;
    DeviceRecord* head = CDeviceControl::GetInstance()->GetDeviceList(QString(), 2, count);
    for (DeviceRecord* d = head; d; d = d->next)
        devices.push_back(*d);
    CDeviceControl::FreeDeviceList(head);
    return devices;
}

void Fill(CDeviceAddDlg& dlg, const QString& name, const QString& ip, const QString& mac) {
    for (QLineEdit* edit : {dlg.NameEdit(), dlg.IpEdit(), dlg.MacEdit()})
        edit->clear();
    QTest::keyClicks(dlg.NameEdit(), name);
    QTest::keyClicks(dlg.IpEdit(), ip);
    QTest::keyClicks(dlg.MacEdit(), mac);
}

class DeviceDlgTest : public ::testing::Test {
protected:
    void SetUp() override { RecordMessages(); }
    void TearDown() override { CMessageBoxes::SetTestMode(false); }
    TestProgramDir dir;
};

TEST_F(DeviceDlgTest, ScanListsTheAnswersNewestFirstAndDoubleClickTakesARow) {
    CDeviceAddDlg dlg;
    QSignalSpy listed(&dlg, &CDeviceAddDlg::ScanListed);
    // An answer of an earlier scan must not show up in this one.
    const DeviceRecord earlier =
        Reported(QStringLiteral("127.0.0.9"), QStringLiteral("0C1105000009"));
    CControl::GetInstance()->AddScanDevice(&earlier);
    dlg.Prepare();
    dlg.show();
    EXPECT_TRUE(dlg.IsScanning());
    EXPECT_EQ(dlg.ResultList()->Model()->RowCount(), 0);
    const DeviceRecord first =
        Reported(QStringLiteral("127.0.0.2"), QStringLiteral("0C1105000002"));
    const DeviceRecord second =
        Reported(QStringLiteral("127.0.0.3"), QStringLiteral("0C1105000003"));
    CControl::GetInstance()->AddScanDevice(&first);
    CControl::GetInstance()->AddScanDevice(&second);
    dlg.IpEdit()->setText(QStringLiteral("typed meanwhile"));

    ASSERT_TRUE(listed.wait(CDeviceAddDlg::kScanDelayMs + 2000));
    const CReportModel* rows = dlg.ResultList()->Model();
    ASSERT_EQ(rows->RowCount(), 2);
    EXPECT_EQ(QStringList({rows->Text(0, 0), rows->Text(0, 2), rows->Text(0, 3), rows->Text(0, 4),
                           rows->Text(0, 5)}),
              QStringList({"1", "127.0.0.3", "0C1105000003", "E12", "12.1.0.5"}));
    EXPECT_EQ(rows->Text(1, 0), QStringLiteral("2"));
    EXPECT_EQ(rows->Text(1, 3), QStringLiteral("0C1105000002"));
    EXPECT_EQ(dlg.IpEdit()->text(), QStringLiteral("typed meanwhile"));

    dlg.ResultList()->SelectRow(1);
    const QRect cell = dlg.ResultList()->visualRect(rows->index(1, 2));
    QTest::mouseClick(dlg.ResultList()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(dlg.ResultList()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(dlg.NameEdit()->text(), QString());
    EXPECT_EQ(dlg.IpEdit()->text(), QStringLiteral("127.0.0.2"));
    EXPECT_EQ(dlg.MacEdit()->text(), QStringLiteral("0C1105000002"));
    EXPECT_EQ(dlg.FirmwareEdit()->text(), QStringLiteral("12.1.0.5"));
    EXPECT_TRUE(TakeMessages().isEmpty());

    dlg.ResultList()->clearSelection();
    dlg.OnResultDoubleClick();
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Please select a device first.")});
}

TEST_F(DeviceDlgTest, AddChecksStoresCreatesTheWorkDirectoriesAndScansAgain) {
    CDeviceAddDlg dlg;
    dlg.Prepare();
    const struct {
        QString name, ip, mac, message;
    } refused[] = {
        {"   ", "10.0.0.1", "0c1105aabbcc", "You must input Device Name. "},
        {"Hall", "  ", "0c1105aabbcc", "You must input an IP"},
        {"Hall", "10.0.0.1", "0C:11:05:AA:BB:CC", "Invalid MAC address."},
        {"Hall", "10.0.0.1", "0C1105AABBC", "Invalid MAC address."},
    };
    for (const auto& c : refused) {
        Fill(dlg, c.name, c.ip, c.mac);
        QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
        EXPECT_EQ(TakeMessages(), QStringList{c.message}) << c.mac.toStdString();
        EXPECT_EQ(dlg.MacEdit()->text(), c.mac); // the input stays for correcting
    }
    EXPECT_TRUE(Devices().empty());

    // 64 characters typed: the edit keeps the 63 the name field holds.
    Fill(dlg, QString(64, 'h'), QStringLiteral("10.0.0.1"), QStringLiteral("0c1105aabbcc"));
    EXPECT_EQ(dlg.NameEdit()->text().size(), 63);
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Adding Device succeeded.")});
    auto devices = Devices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].LocalName, QString(63, 'h'));
    EXPECT_EQ(devices[0].MAC, QStringLiteral("0C1105AABBCC"));
    EXPECT_EQ(devices[0].IP, QStringLiteral("10.0.0.1"));
    EXPECT_TRUE(QDir(GetUpdateToDir(QStringLiteral("0C1105AABBCC"))).exists());
    EXPECT_TRUE(QDir(GetUpdateFromDir(QStringLiteral("0C1105AABBCC"))).exists());
    EXPECT_TRUE(dlg.NameEdit()->text().isEmpty());
    EXPECT_TRUE(dlg.MacEdit()->text().isEmpty());
    EXPECT_TRUE(dlg.IsScanning());

    // The same MAC in any letter case is the same device.
    Fill(dlg, QStringLiteral("Other"), QStringLiteral("10.0.0.2"), QStringLiteral("0c1105AaBbCc"));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(),
              QStringList{QStringLiteral("Adding Device failed, the device exist.")});
    EXPECT_EQ(Devices().size(), 1u);
}

TEST_F(DeviceDlgTest, EnterEndsTheAddDialogUnlessAButtonHasTheFocus) {
    CDeviceAddDlg dlg;
    dlg.Prepare();
    dlg.show();
    QSignalSpy finished(&dlg, &QDialog::finished);
    Fill(dlg, QStringLiteral("Hall"), QStringLiteral("10.0.0.1"), QStringLiteral("0C1105AABBCC"));
    dlg.ScanButton()->setFocus();
    QTest::keyClick(dlg.ScanButton(), Qt::Key_Return);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(dlg.MacEdit()->text().isEmpty()); // Scan ran
    dlg.NameEdit()->setFocus();
    QTest::keyClick(dlg.NameEdit(), Qt::Key_Return);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(Devices().empty());
}

TEST_F(DeviceDlgTest, ModifyChangesTheNameOfTheStoredDevice) {
    DeviceRecord stored = Reported(QStringLiteral("10.0.0.7"), QStringLiteral("0C1105000007"));
    stored.LocalName = QStringLiteral("Gate");
    stored.Model = QStringLiteral("E12");
    ASSERT_EQ(CDbAccess::GetInstance()->InsertDevice(stored), 0);
    const int id = Devices().at(0).ID;

    CDeviceModifyDlg dlg;
    dlg.SetDeviceId(id);
    dlg.Prepare();
    EXPECT_EQ(dlg.NameEdit()->text(), QStringLiteral("Gate"));
    EXPECT_EQ(dlg.IpEdit()->text(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(dlg.MacEdit()->text(), QStringLiteral("0C1105000007"));
    EXPECT_EQ(dlg.FirmwareEdit()->text(), QStringLiteral("12.1.0.5"));
    EXPECT_TRUE(dlg.IpEdit()->isReadOnly() && dlg.MacEdit()->isReadOnly() &&
                dlg.FirmwareEdit()->isReadOnly());
    EXPECT_FALSE(dlg.NameEdit()->isReadOnly());

    dlg.NameEdit()->setText(QStringLiteral("  Back gate "));
    QTest::mouseClick(dlg.ModifyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Modifying Device succeeded.")});
    const DeviceRecord after = Devices().at(0);
    EXPECT_EQ(after.LocalName, QStringLiteral("Back gate"));
    EXPECT_EQ(after.MAC, QStringLiteral("0C1105000007"));
    EXPECT_EQ(after.Model, QStringLiteral("E12"));

    dlg.NameEdit()->setText(QStringLiteral(" "));
    QTest::mouseClick(dlg.ModifyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("You must input Device Name. ")});
    EXPECT_EQ(Devices().at(0).LocalName, QStringLiteral("Back gate"));

    CDeviceModifyDlg none;
    none.Prepare();
    EXPECT_TRUE(none.NameEdit()->text().isEmpty() && none.MacEdit()->text().isEmpty());
    QTest::mouseClick(none.ModifyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("You must input Device Name. ")});

    // A device removed meanwhile: nothing is written, and it is not reported as done.
    CDeviceModifyDlg gone;
    gone.SetDeviceId(id + 1);
    gone.Prepare();
    gone.NameEdit()->setText(QStringLiteral("Ghost"));
    gone.IpEdit()->setText(QStringLiteral("10.0.0.8"));
    gone.MacEdit()->setText(QStringLiteral("0C1105000008"));
    QTest::mouseClick(gone.ModifyButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Modifying Device failed.")});
    EXPECT_EQ(Devices().size(), 1u);
}

} // namespace
