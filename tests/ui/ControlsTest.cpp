#include "support/TestProgramDir.h"
#include "ui/DialogLook.h"
#include "ui/ImgButton.h"
#include "ui/MyListCtrl.h"
#include "ui/TransparentStatic.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class ControlsTest : public testing::Test {
protected:
    TestProgramDir dir;
};

TEST_F(ControlsTest, ButtonSwitchesPictureAndColourWithTheMouse) {
    QWidget window;
    window.resize(200, 100);
    CImgButton button(QStringLiteral("Add"), &window);
    button.setGeometry(10, 10, 84, 39);
    button.SetLook(QStringLiteral("ButtonCommonInactive.png"),
                   QStringLiteral("ButtonCommonActive.png"), button.font(), -10);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Under the mouse as the window opens: normal until the mouse moves.
    QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), button.mapToGlobal(QPointF(20, 20)));
    QApplication::sendEvent(&button, &enter);
    EXPECT_FALSE(button.IsHover());
    EXPECT_TRUE(
        button.CurrentImage().endsWith(QStringLiteral("Resources/UI/ButtonCommonInactive.png")));
    QTest::mouseMove(&button, QPoint(20, 20));
    EXPECT_TRUE(button.IsHover());
    EXPECT_TRUE(button.CurrentImage().endsWith(QStringLiteral("ButtonCommonActive.png")));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.IsHover());
    EXPECT_TRUE(button.CurrentImage().endsWith(QStringLiteral("ButtonCommonInactive.png")));
}

TEST_F(ControlsTest, TextsTooWideEndWithDotsAndMissingPicturesStillWork) {
    CImgButton button(QStringLiteral("Update From Device And Much More"));
    button.resize(60, 30);
    button.SetImages(QStringLiteral("/nonexistent/a.png"), QStringLiteral("/nonexistent/b.png"));
    EXPECT_TRUE(button.DisplayedText().endsWith(QStringLiteral("...")));
    QSignalSpy clicked(&button, &QPushButton::clicked);
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button.grab().isNull());

    CTransparentStatic heading(QStringLiteral("A heading far too long for its little bar"));
    heading.resize(80, 20);
    EXPECT_TRUE(heading.DisplayedText().endsWith(QStringLiteral("...")));
    heading.setText(QStringLiteral("Modify Rfcard"));
    heading.resize(300, 20);
    EXPECT_EQ(heading.DisplayedText(), QStringLiteral("Modify Rfcard"));
}

TEST_F(ControlsTest, CellTextIsShortenedWithThreeDotsToFit) {
    const QFontMetrics metrics(QApplication::font());
    const QString name = QStringLiteral("Maria Lopez-Fernandez de Cruz");
    const QString shown = CDialogLook::FitText(metrics, name, 86);
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
    EXPECT_LE(metrics.horizontalAdvance(shown), 86);
    EXPECT_TRUE(name.startsWith(shown.chopped(3)));
    EXPECT_GT(metrics.horizontalAdvance(shown.chopped(3) + name[shown.size() - 3] +
                                        QStringLiteral("...")),
              86);
    EXPECT_EQ(CDialogLook::FitText(metrics, QStringLiteral("Tom"), 86), QStringLiteral("Tom"));
}

TEST_F(ControlsTest, ListRowsKeepTheirHeightSelectionAndToggleOnlyInTheSquare) {
    QWidget window;
    window.resize(400, 300);
    CMyListCtrl list(&window);
    list.setGeometry(0, 0, 400, 300);
    list.SetCheckBoxes(true);
    list.SetColumns({{QString(), 30}, {QStringLiteral("ID"), 0}, {QStringLiteral("Name"), 90}});
    list.SetRowHeight(25);
    list.Model()->SetRows(
        {{QString(), QStringLiteral("7"), QStringLiteral("A very long card holder name")},
         {QString(), QStringLiteral("8"), QStringLiteral("Bo")}});
    QLineEdit other(&window);
    other.setGeometry(0, 310, 50, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(list.rowHeight(0), 25);
    EXPECT_TRUE(list.isColumnHidden(1));
    EXPECT_EQ(list.Model()->Text(0, 2), QStringLiteral("A very long card holder name"));

    const QRect square = list.CheckSquare(1);
    EXPECT_EQ(square.size(), QSize(13, 13));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, square.center());
    EXPECT_TRUE(list.Model()->IsChecked(1));
    EXPECT_EQ(list.SelectedRow(), 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, square.center());
    EXPECT_FALSE(list.Model()->IsChecked(1));

    // Elsewhere in the row, even in column 0, a click only selects.
    const QRect name = list.visualRect(list.Model()->index(0, 2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, name.center());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(square.right() + 6, name.center().y()));
    EXPECT_FALSE(list.Model()->IsChecked(0));
    EXPECT_EQ(list.SelectedRow(), 0);

    // The highlight stays when the focus moves away.
    other.setFocus();
    ASSERT_FALSE(list.hasFocus());
    const QImage shot = list.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(name.left() + 2, name.top() + 2),
              list.palette().color(QPalette::Active, QPalette::Highlight));
}
} // namespace
