#include "ui/RfcardAddDlg.h"
#include "Messages.h"
#include "ScriptedReader.h"
#include "store/DbAccess.h"
#include "support/TestProgramDir.h"
#include "ui/ImgButton.h"
#include "ui/TransparentStatic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kOwner = QStringLiteral("12;");

std::vector<CardRecord> Cards(const QString& owner) {
    std::vector<CardRecord> cards;
    CardRecord* head = CDbAccess::GetInstance()->ListCards(owner);
    for (CardRecord* c = head; c; c = c->next)
        cards.push_back(*c);
    while (head) {
        CardRecord* next = head->next;
        delete head;
        head = next;
    }
    return cards;
}

class RfcardAddDlgTest : public ::testing::Test {
protected:
    void SetUp() override { RecordMessages(); }
    void TearDown() override { CMessageBoxes::SetTestMode(false); }
    TestProgramDir dir;
};

TEST_F(RfcardAddDlgTest, AddWithTheDefaultsStoresTheCardAndStaysOpen) {
    CRfcardAddDlg dlg;
    dlg.SetOwnerKey(kOwner);
    dlg.Prepare();
    dlg.show();
    EXPECT_EQ(dlg.Heading()->text(), QStringLiteral("Add Rfcard"));
    EXPECT_EQ(dlg.AddButton()->text(), QStringLiteral("Add"));
    EXPECT_FALSE(dlg.RelayBox()->isEnabled());
    EXPECT_FALSE(dlg.TagsBox()->isEnabled());
    EXPECT_FALSE(dlg.FrequencyEdit()->isEnabled());
    EXPECT_EQ(dlg.RelayBox()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(dlg.TagsBox()->currentText(), QStringLiteral("Allowed"));
    EXPECT_EQ(dlg.RelayBox()->count(), 15);

    QTest::keyClicks(dlg.NameEdit(), QStringLiteral("  Gate "));
    QTest::keyClicks(dlg.CodeEdit(), QStringLiteral("ab12"));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);

    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Adding Rfcard succeeded.")});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.CodeEdit()->text(), QStringLiteral("AB12"));
    const auto cards = Cards(kOwner);
    ASSERT_EQ(cards.size(), 1u);
    const CardRecord& c = cards[0];
    EXPECT_EQ(c.Name, QStringLiteral("Gate"));
    EXPECT_EQ(c.Code, QStringLiteral("AB12"));
    EXPECT_EQ(c.DoorNumber, QStringLiteral("1"));
    EXPECT_EQ(QList<int>({c.Mon, c.Tue, c.Wed, c.Thur, c.Fri, c.Sat, c.Sun}), QList<int>(7, 1));
    EXPECT_EQ(c.TimeStart, QStringLiteral("00:00"));
    EXPECT_EQ(c.TimeEnd, QStringLiteral("23:59"));
    EXPECT_EQ(c.WebRelay, 1);
    EXPECT_EQ(c.Tags, 0);
    EXPECT_EQ(c.Frequency, 1);

    // The same code again updates that card; a new code adds one.
    dlg.NameEdit()->setText(QStringLiteral("Gate 2"));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    dlg.CodeEdit()->setText(QStringLiteral("cd34"));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList({QStringLiteral("Adding Rfcard succeeded."),
                                           QStringLiteral("Adding Rfcard succeeded.")}));
    const auto after = Cards(kOwner);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].Name, QStringLiteral("Gate 2"));
    EXPECT_EQ(after[1].Code, QStringLiteral("CD34"));
}

TEST_F(RfcardAddDlgTest, RefusedInputStoresNothingAndKeepsTheFields) {
    CRfcardAddDlg dlg;
    dlg.SetOwnerKey(kOwner);
    dlg.Prepare();
    dlg.NameEdit()->setText(QStringLiteral("   "));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    dlg.NameEdit()->setText(QStringLiteral("Gate"));
    dlg.CodeEdit()->setText(QStringLiteral(" "));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList({QStringLiteral("You must input Rfcard Name. "),
                                           QStringLiteral("You must input a Code")}));
    EXPECT_EQ(dlg.NameEdit()->text(), QStringLiteral("Gate"));
    EXPECT_TRUE(Cards(kOwner).empty());
}

TEST_F(RfcardAddDlgTest, EditsTakeNoMoreThanTheirFieldsHold) {
    CRfcardAddDlg dlg;
    dlg.Prepare();
    QTest::keyClicks(dlg.NameEdit(), QString(40, 'n'));
    QTest::keyClicks(dlg.CodeEdit(), QString(40, 'c'));
    QTest::keyClicks(dlg.StartEdit(), QString(30, '1'));
    EXPECT_EQ(dlg.NameEdit()->text().size(), CardRecord::kNameCap - 1);
    EXPECT_EQ(dlg.CodeEdit()->text().size(), CardRecord::kCodeCap - 1);
    EXPECT_EQ(dlg.StartEdit()->text().size(), CardRecord::kTimeCap - 1);
}

TEST_F(RfcardAddDlgTest, ModifyOpensTheStoredCardAndWritesItBackUnchanged) {
    CardRecord stored;
    stored.Name = QStringLiteral("Lobby");
    stored.Code = QStringLiteral("C3B2A104");
    stored.DoorNumber = QStringLiteral("23");
    stored.Mon = stored.Fri = 1;
    stored.TimeStart = QStringLiteral("07:30");
    stored.TimeEnd = QStringLiteral("19:00");
    stored.WebRelay = 9; // not an item of the list: shown as text
    stored.Tags = 2;
    stored.Frequency = 3;
    stored.Owner = kOwner;
    ASSERT_EQ(CDbAccess::GetInstance()->SaveCard(&stored), 0);
    const CardRecord before = Cards(kOwner).at(0);

    CRfcardAddDlg dlg;
    dlg.SetOwnerKey(kOwner);
    dlg.SetCardId(before.ID);
    dlg.Prepare();
    EXPECT_EQ(dlg.Heading()->text(), QStringLiteral("Modify Rfcard"));
    EXPECT_EQ(dlg.AddButton()->text(), QStringLiteral("Modify"));
    EXPECT_FALSE(dlg.DoorBox(1)->isChecked());
    EXPECT_TRUE(dlg.DoorBox(2)->isChecked());
    EXPECT_TRUE(dlg.DoorBox(3)->isChecked());
    EXPECT_TRUE(dlg.DayBox(0)->isChecked());
    EXPECT_FALSE(dlg.DayBox(1)->isChecked());
    EXPECT_EQ(dlg.RelayBox()->currentText(), QStringLiteral("9"));
    EXPECT_EQ(dlg.TagsBox()->currentText(), QStringLiteral("Forbidden"));
    EXPECT_EQ(dlg.FrequencyEdit()->text(), QStringLiteral("3"));

    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Modifying Rfcard succeeded.")});
    const auto after = Cards(kOwner);
    ASSERT_EQ(after.size(), 1u);
    const CardRecord& c = after[0];
    EXPECT_EQ(c.ID, before.ID);
    EXPECT_EQ(c.DoorNumber, QStringLiteral("23"));
    EXPECT_EQ(QList<int>({c.Mon, c.Tue, c.Wed, c.Thur, c.Fri, c.Sat, c.Sun}),
              QList<int>({1, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(c.WebRelay, 9);
    EXPECT_EQ(c.Tags, 2);
    EXPECT_EQ(c.Frequency, 3);
    EXPECT_EQ(c.TimeStart, QStringLiteral("07:30"));
}

TEST_F(RfcardAddDlgTest, ModifyOfACardThatIsGoneIsNotReportedAsDone) {
    CRfcardAddDlg dlg;
    dlg.SetOwnerKey(kOwner);
    dlg.SetCardId(42);
    dlg.Prepare();
    dlg.NameEdit()->setText(QStringLiteral("Ghost"));
    dlg.CodeEdit()->setText(QStringLiteral("AB"));
    QTest::mouseClick(dlg.AddButton(), Qt::LeftButton);
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Modifying Rfcard failed.")});
    EXPECT_TRUE(Cards(kOwner).empty());
}

TEST_F(RfcardAddDlgTest, ReadFillsOnlyTheCode) {
    ScriptedReader reader;
    CRfcardAddDlg dlg;
    dlg.Prepare();
    dlg.NameEdit()->setText(QStringLiteral("Typed"));
    dlg.StartEdit()->setText(QStringLiteral("06:00"));
    dlg.DayBox(6)->setChecked(false);

    reader.nextSerial = QByteArray("04A1B2C3");
    QTest::mouseClick(dlg.ReadButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.CodeEdit()->text(), QStringLiteral("C3B2A104"));

    reader.nextSerial.reset(); // no card on the reader
    QTest::mouseClick(dlg.ReadButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.CodeEdit()->text(), QString());
    EXPECT_EQ(dlg.NameEdit()->text(), QStringLiteral("Typed"));
    EXPECT_EQ(dlg.StartEdit()->text(), QStringLiteral("06:00"));
    EXPECT_FALSE(dlg.DayBox(6)->isChecked());
    EXPECT_TRUE(TakeMessages().isEmpty());
}

TEST_F(RfcardAddDlgTest, EnterAndEscapeDoNotCloseTheCloseButtonCancels) {
    CRfcardAddDlg dlg;
    dlg.Prepare();
    dlg.show();
    QSignalSpy finished(&dlg, &QDialog::finished);
    QTest::keyClick(dlg.NameEdit(), Qt::Key_Return);
    QTest::keyClick(dlg.NameEdit(), Qt::Key_Escape);
    QTest::keyClick(&dlg, Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(TakeMessages().isEmpty());
    QTest::mouseClick(dlg.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

} // namespace
