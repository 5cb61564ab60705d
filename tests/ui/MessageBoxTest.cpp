#include "base/MessageBox.h"
#include "GuiHelpers.h"
#include "support/TestProgramDir.h"
#include "ui/ConfirmDlg.h"
#include "ui/ImgButton.h"
#include "ui/MessageBoxes.h"
#include "ui/TransparentStatic.h"

#include <QLabel>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {
class MessageBoxTest : public testing::Test {
protected:
    void SetUp() override {
        CMessageBoxes::Install();
        CMessageBoxes::SetTestMode(false);
    }
    void TearDown() override { SetMessageBoxHandler(nullptr); }
    TestProgramDir dir;
};

enum class Act { First, Second, Escape, Enter };

TEST_F(MessageBoxTest, AnswersFollowTheButtonAndKeyForEachStyle) {
    const struct {
        int style;
        Act act;
        int answer;
    } cases[] = {{kMsgStyleOk, Act::First, 1},     {kMsgStyleOk, Act::Escape, 0},
                 {kMsgStyleOk, Act::Enter, 1},     {kMsgStyleYesNo, Act::First, 1},
                 {kMsgStyleYesNo, Act::Second, 0}, {kMsgStyleYesNo, Act::Escape, 0},
                 {kMsgStyleYesNo, Act::Enter, 1}};
    for (const auto& c : cases) {
        WhenModalOpens<CConfirmDlg>([act = c.act](CConfirmDlg* box) {
            switch (act) {
            case Act::First:
                QTest::mouseClick(box->FirstButton(), Qt::LeftButton);
                break;
            case Act::Second:
                QTest::mouseClick(box->SecondButton(), Qt::LeftButton);
                break;
            case Act::Escape:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            case Act::Enter:
                QTest::keyClick(box, Qt::Key_Return);
                break;
            }
        });
        EXPECT_EQ(ShowMessageBox(QStringLiteral("Question?"), kConfirmCaption, c.style), c.answer)
            << "style " << c.style << " act " << int(c.act);
    }
}

TEST_F(MessageBoxTest, PlainMessageShowsOneCentredOkUnderTheConfirmationHeading) {
    CConfirmDlg box;
    box.SetMessage(QStringLiteral("Please select a device first."));
    box.SetCaption(kMsgCaption);
    box.SetStyle(kMsgStyleOk);
    box.Prepare();
    box.show();
    EXPECT_EQ(box.FirstButton()->text(), QStringLiteral("OK"));
    EXPECT_FALSE(box.SecondButton()->isVisible());
    EXPECT_NEAR(box.FirstButton()->geometry().center().x(), box.width() / 2, 6);
    EXPECT_EQ(box.Heading()->text(), QStringLiteral(" Confirmation"));
    EXPECT_EQ(box.windowTitle(), kMsgCaption);
    EXPECT_EQ(box.MessageLabel()->text(), QStringLiteral("Please select a device first."));

    // A long message wraps inside the label; the box keeps its size.
    const QSize size = box.size();
    CConfirmDlg longBox;
    longBox.SetMessage(
        QString(400, QLatin1Char('w')).replace(QStringLiteral("wwwww"), QStringLiteral("wwww ")));
    longBox.SetStyle(kMsgStyleOk);
    longBox.Prepare();
    longBox.show();
    EXPECT_EQ(longBox.size(), size);
    EXPECT_TRUE(longBox.MessageLabel()->wordWrap());
}

TEST_F(MessageBoxTest, WorkerThreadGetsTheAnswerOfABoxShownOnTheInterfaceThread) {
    std::atomic<int> answer{-1};
    QThread* boxThread = nullptr;
    WhenModalOpens<CConfirmDlg>([&](CConfirmDlg* box) {
        boxThread = box->thread();
        QTest::mouseClick(box->FirstButton(), Qt::LeftButton);
    });
    std::thread worker([&] {
        answer = ShowMessageBox(QStringLiteral("Updating Succeeded."), kMsgCaption, kMsgStyleYesNo);
    });
    EXPECT_TRUE(WaitUntil([&] { return answer.load() != -1; }));
    worker.join();
    EXPECT_EQ(answer.load(), 1);
    EXPECT_EQ(boxThread, QApplication::instance()->thread());
}

TEST_F(MessageBoxTest, TestModeRecordsAndAnswersWithoutABox) {
    CMessageBoxes::SetTestMode(true);
    CMessageBoxes::SetNextAnswer(1);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Sure?"), kConfirmCaption, kMsgStyleYesNo), 1);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Done."), kMsgCaption, kMsgStyleOk), 0);
    const auto calls = CMessageBoxes::Calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].text, QStringLiteral("Sure?"));
    EXPECT_EQ(calls[1].caption, kMsgCaption);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    CMessageBoxes::SetTestMode(false);
}
} // namespace
