#include "GuiHelpers.h"
#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "store/DbAccess.h"
#include "support/LogCapture.h"
#include "support/TestProgramDir.h"
#include "ui/ImgButton.h"
#include "ui/KestrovaneDlg.h"
#include "ui/MessageBoxes.h"
#include "ui/MyListCtrl.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
using Dlg = CKestrovaneDlg;

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { CMessageBoxes::SetTestMode(true); }
    void TearDown() override { CMessageBoxes::SetTestMode(false); }

    int AddDevice(const QString& name, int state = 0) {
        DeviceRecord d;
        d.LocalName = name;
        d.MAC = QStringLiteral("0C1105AABB%1").arg(++m_devices, 2, 10, QLatin1Char('0'));
        d.IP = QStringLiteral("127.0.0.%1").arg(10 + m_devices);
        d.Firmware = QStringLiteral("111.30.1.201");
        d.State = state;
        CDbAccess::GetInstance()->InsertDevice(d);
        return m_devices;
    }
    void AddCards(int deviceId, int count) {
        for (int i = 0; i < count; ++i) {
            CardRecord c;
            c.Name = QStringLiteral("Card %1").arg(i + 1);
            c.Code = QStringLiteral("C%1").arg(++m_cards, 7, 10, QLatin1Char('0'));
            c.Owner = OwnerKey(deviceId);
            CDbAccess::GetInstance()->SaveCard(&c);
        }
    }
    Dlg& Open() {
        m_window =
            std::make_unique<Dlg>(Dlg::CoreHooks{[this] { m_log += QStringLiteral("init;"); },
                                                 [this] { m_log += QStringLiteral("announce;"); }});
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        return *m_window;
    }
    void Click(int id) { QTest::mouseClick(m_window->Button(id), Qt::LeftButton); }
    QString Cell(int row, int column) const {
        return m_window->CardList()->Model()->Text(row, column);
    }
    int CardRows() const { return m_window->CardList()->Model()->RowCount(); }
    QString Indicator() const { return m_window->PageIndicator()->text(); }
    void ClickCheckAll() {
        QHeaderView* header = m_window->CardList()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    }
    void ClickCheckBox(int row) {
        QTest::mouseClick(m_window->CardList()->viewport(), Qt::LeftButton, {},
                          m_window->CardList()->CheckSquare(row).center());
    }
    void ClickDevice(int row) {
        CMyListCtrl* list = m_window->DeviceList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->Model()->index(row, 1)).center());
    }
    QVector<QString> Messages() const {
        QVector<QString> texts;
        for (const auto& call : CMessageBoxes::Calls())
            texts.append(call.text);
        return texts;
    }

    TestProgramDir dir;
    std::unique_ptr<Dlg> m_window;
    QString m_log;
    int m_devices = 0;
    int m_cards = 0;
};

TEST_F(MainWindowTest, EmptyStoreShowsNothingSelectedAndOnePage) {
    Dlg& w = Open();
    EXPECT_EQ(m_log, QStringLiteral("init;announce;"));
    EXPECT_EQ(w.DeviceList()->Model()->RowCount(), 0);
    EXPECT_EQ(w.SelectedDeviceRow(), -1);
    for (int id :
         {Dlg::IDC_DEVICE_NAME, Dlg::IDC_DEVICE_IP, Dlg::IDC_DEVICE_MAC, Dlg::IDC_DEVICE_FIRMWARE})
        EXPECT_TRUE(w.Field(id)->text().isEmpty());
    EXPECT_EQ(CardRows(), 0);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/1"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kestrovane"));
    EXPECT_TRUE(w.StatusTimer()->isActive());
    EXPECT_EQ(w.StatusTimer()->interval(), 10000);

    // Without a device, deleting cards only asks for one.
    Click(Dlg::IDC_DELETE_CARD);
    EXPECT_EQ(Messages(), QVector<QString>{QStringLiteral("Please select a device first.")});
}

TEST_F(MainWindowTest, CardsComeInPagesOfEighteenWithRunningNumbers) {
    AddDevice(QStringLiteral("Gate"));
    AddCards(AddDevice(QStringLiteral("Nineteen")), 19);
    AddCards(1, 18);
    Dlg& w = Open();

    EXPECT_EQ(w.SelectedDeviceRow(), 0);
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_NAME)->text(), QStringLiteral("Gate"));
    EXPECT_EQ(CardRows(), 18);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/1"));

    ClickDevice(1);
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_NAME)->text(), QStringLiteral("Nineteen"));
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_MAC)->text(), QStringLiteral("0C1105AABB02"));
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/2"));
    EXPECT_EQ(Cell(17, 2), QStringLiteral("18"));
    Click(Dlg::IDC_NEXT_PAGE);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:2/2"));
    ASSERT_EQ(CardRows(), 1);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("19"));
    EXPECT_EQ(Cell(0, 3), QStringLiteral("Card 19"));

    // Clicking the same device again goes back to page 1.
    ClickDevice(1);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/2"));

    // The keyboard moves the selection, and fields and cards follow it.
    w.DeviceList()->setFocus();
    QTest::keyClick(w.DeviceList(), Qt::Key_Up);
    EXPECT_EQ(w.SelectedDeviceRow(), 0);
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_NAME)->text(), QStringLiteral("Gate"));
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/1"));
    EXPECT_EQ(w.SelectedOwnerKey(), QStringLiteral("1;"));
}

TEST_F(MainWindowTest, EachDeviceClickLoadsTheCardsOnce) {
    AddCards(AddDevice(QStringLiteral("Gate")), 20);
    AddCards(AddDevice(QStringLiteral("Garage")), 20);
    Dlg& w = Open();
    QSignalSpy loads(w.CardList()->Model(), &QAbstractItemModel::modelReset);

    // A click that changes the selection.
    ClickDevice(1);
    EXPECT_EQ(loads.count(), 1);
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_NAME)->text(), QStringLiteral("Garage"));

    // A click on the selected row still goes back to page 1.
    Click(Dlg::IDC_NEXT_PAGE);
    loads.clear();
    ClickDevice(1);
    EXPECT_EQ(loads.count(), 1);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/2"));

    // So does one on the row the keyboard selected.
    w.DeviceList()->setFocus();
    QTest::keyClick(w.DeviceList(), Qt::Key_Up);
    EXPECT_EQ(w.SelectedDeviceRow(), 0);
    Click(Dlg::IDC_NEXT_PAGE);
    loads.clear();
    ClickDevice(0);
    EXPECT_EQ(loads.count(), 1);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/2"));
}

TEST_F(MainWindowTest, GoBoxPicksThePageAsUnsignedAndIsEmptiedAfterwards) {
    AddCards(AddDevice(QStringLiteral("Gate")), 37);
    Dlg& w = Open();
    const struct {
        const char* typed;
        int page;
    } cases[] = {{"", 1},   {"0", 1},  {"abc", 1}, {"2", 2},
                 {"99", 3}, {"-2", 3}, {" 2x", 2}, {"99999999999", 3}};
    for (const auto& c : cases) {
        w.SetCurrentPage(2);
        w.LoadCardPage();
        QTest::keyClicks(w.PageNumberBox(), QString::fromLatin1(c.typed));
        Click(Dlg::IDC_GO_PAGE);
        EXPECT_EQ(w.CurrentPage(), c.page) << c.typed;
        EXPECT_EQ(Indicator(), QStringLiteral("Page:%1/3").arg(c.page)) << c.typed;
        EXPECT_TRUE(w.PageNumberBox()->text().isEmpty()) << c.typed;
    }
    Click(Dlg::IDC_FIRST_PAGE);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("1"));
    Click(Dlg::IDC_LAST_PAGE);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("37"));
    Click(Dlg::IDC_PREV_PAGE);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("19"));
}

TEST_F(MainWindowTest, PageButtonsThatChangeNothingDoNotReload) {
    AddCards(AddDevice(QStringLiteral("Gate")), 20);
    Dlg& w = Open();
    // A reload would drop the check marks.
    ClickCheckBox(0);
    for (int id : {Dlg::IDC_PREV_PAGE, Dlg::IDC_FIRST_PAGE}) {
        Click(id);
        EXPECT_TRUE(w.CardList()->Model()->IsChecked(0));
    }
    Click(Dlg::IDC_LAST_PAGE);
    EXPECT_FALSE(w.CardList()->Model()->IsChecked(0));
    ClickCheckBox(0);
    for (int id : {Dlg::IDC_NEXT_PAGE, Dlg::IDC_LAST_PAGE}) {
        Click(id);
        EXPECT_TRUE(w.CardList()->Model()->IsChecked(0));
    }
    EXPECT_EQ(w.CurrentPage(), 2);
}

TEST_F(MainWindowTest, CheckAllHeadingAlternatesAndAReloadResetsIt) {
    AddCards(AddDevice(QStringLiteral("Gate")), 20);
    Dlg& w = Open();
    CReportModel* cards = w.CardList()->Model();
    ClickCheckAll();
    EXPECT_EQ(cards->CheckedRows().size(), 18);
    ClickCheckAll();
    EXPECT_TRUE(cards->CheckedRows().isEmpty());
    ClickCheckAll();
    EXPECT_EQ(cards->CheckedRows().size(), 18);

    // After a reload the next click checks all again, even with rows unchecked.
    Click(Dlg::IDC_NEXT_PAGE);
    ClickCheckAll();
    EXPECT_EQ(cards->CheckedRows().size(), 2);

    // Other headings do nothing.
    QHeaderView* header = w.CardList()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
    EXPECT_EQ(cards->CheckedRows().size(), 2);
}

TEST_F(MainWindowTest, DeletingCheckedCardsAsksOnceAndHonoursTheAnswer) {
    LogCapture log;
    AddCards(AddDevice(QStringLiteral("Gate")), 5);
    Dlg& w = Open();

    Click(Dlg::IDC_DELETE_CARD);
    EXPECT_EQ(Messages(), QVector<QString>{QStringLiteral("Please Select a rfcard first.")});

    for (int row : {0, 2, 4})
        ClickCheckBox(row);
    CMessageBoxes::ClearCalls();
    CMessageBoxes::SetNextAnswer(0);
    Click(Dlg::IDC_DELETE_CARD);
    ASSERT_EQ(CMessageBoxes::Calls().size(), 1);
    EXPECT_EQ(CMessageBoxes::Calls()[0].text,
              QStringLiteral("Are you sure you want to delete this rfcard?"));
    EXPECT_EQ(CMessageBoxes::Calls()[0].caption, kConfirmCaption);
    EXPECT_EQ(CMessageBoxes::Calls()[0].style, kMsgStyleYesNo);
    EXPECT_EQ(CDbAccess::GetInstance()->CountCards(QStringLiteral("1;")), 5);

    CMessageBoxes::ClearCalls();
    CMessageBoxes::SetNextAnswer(1);
    Click(Dlg::IDC_DELETE_CARD);
    EXPECT_EQ(CMessageBoxes::Calls().size(), 1);
    EXPECT_EQ(CDbAccess::GetInstance()->CountCards(QStringLiteral("1;")), 2);
    ASSERT_EQ(CardRows(), 2);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("Card 2"));
    EXPECT_EQ(Cell(1, 3), QStringLiteral("Card 4"));
    EXPECT_TRUE(log.WaitFor(QStringLiteral("Deleting rfcard succeeded.")));
}

TEST_F(MainWindowTest, EmptyingTheLastPageFallsBackToPageOne) {
    AddCards(AddDevice(QStringLiteral("Gate")), 19);
    Dlg& w = Open();
    Click(Dlg::IDC_LAST_PAGE);
    ClickCheckAll();
    CMessageBoxes::SetNextAnswer(1);
    Click(Dlg::IDC_DELETE_CARD);
    EXPECT_EQ(w.CurrentPage(), 1);
    EXPECT_EQ(Indicator(), QStringLiteral("Page:1/1"));
    EXPECT_EQ(CardRows(), 18);
}

TEST_F(MainWindowTest, StatusTimerChangesMarksInPlaceThenAnnounces) {
    AddDevice(QStringLiteral("Gate"));
    AddDevice(QStringLiteral("Garage"), 1);
    AddDevice(QStringLiteral("Lobby"));
    Dlg& w = Open();
    CReportModel* devices = w.DeviceList()->Model();
    EXPECT_EQ(devices->Text(0, 2), QStringLiteral("\u00D7"));
    EXPECT_EQ(devices->Text(1, 2), QStringLiteral("\u221A"));
    ClickDevice(2);

    CDbAccess::GetInstance()->SetDeviceState(QStringLiteral("0C1105AABB01"), 1);
    CDbAccess::GetInstance()->SetDeviceState(QStringLiteral("0C1105AABB02"), 0);
    QSignalSpy reset(devices, &QAbstractItemModel::modelReset);
    QSignalSpy removed(devices, &QAbstractItemModel::rowsRemoved);
    m_log.clear();
    w.RefreshStatus();

    EXPECT_EQ(devices->Text(0, 2), QStringLiteral("\u221A"));
    EXPECT_EQ(devices->Text(1, 2), QStringLiteral("\u00D7"));
    EXPECT_EQ(devices->Text(2, 2), QStringLiteral("\u00D7"));
    EXPECT_EQ(reset.count() + removed.count(), 0);
    EXPECT_EQ(w.SelectedDeviceRow(), 2);
    EXPECT_EQ(w.Field(Dlg::IDC_DEVICE_NAME)->text(), QStringLiteral("Lobby"));
    EXPECT_EQ(m_log, QStringLiteral("announce;"));
}

TEST_F(MainWindowTest, EnterAndEscapeNeverCloseTheWindow) {
    AddCards(AddDevice(QStringLiteral("Gate")), 20);
    Dlg& w = Open();
    QSignalSpy finished(&w, &QDialog::finished);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(w.DeviceList(), Qt::Key_Escape);
    QTest::keyClick(w.DeviceList(), Qt::Key_Return);
    QTest::keyClicks(w.PageNumberBox(), QStringLiteral("2"));
    QTest::keyClick(w.PageNumberBox(), Qt::Key_Enter);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(w.CurrentPage(), 1);
}
} // namespace

namespace {
TEST_F(MainWindowTest, EachPageHoldsTheRowsOfTheWholeListAtItsPositions) {
    const int gate = AddDevice(QStringLiteral("Gate"));
    const int other = AddDevice(QStringLiteral("Other"));
    // Interleaved owners, so a device's IDs have gaps.
    for (int i = 0; i < 20; ++i) {
        AddCards(gate, 2);
        AddCards(other, 1);
    }
    Dlg& w = Open();
    CardRecord* all = CDbAccess::GetInstance()->ListCards(OwnerKey(gate));
    QStringList ids;
    for (const CardRecord* c = all; c; c = c->next)
        ids.append(QString::number(c->ID));
    CDeviceControl::FreeRfcardList(all);
    ASSERT_EQ(ids.size(), 40);

    for (int page = 1; page <= 3; ++page) {
        w.SetCurrentPage(page);
        w.LoadCardPage();
        const int first = (page - 1) * Dlg::kPageSize;
        ASSERT_EQ(CardRows(), qMin(Dlg::kPageSize, 40 - first)) << page;
        for (int row = 0; row < CardRows(); ++row) {
            EXPECT_EQ(Cell(row, 1), ids[first + row]) << page << ":" << row;
            EXPECT_EQ(Cell(row, 2), QString::number(first + row + 1));
        }
    }
}
} // namespace
