#include "transfer/WaitDlg.h"
#include "GuiHelpers.h"
#include "support/TestProgramDir.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

namespace {
class WaitDlgTest : public testing::Test {
protected:
    TestProgramDir dir;
};

TEST_F(WaitDlgTest, EndsAtTheFirstTickAfterStatusTwoAndNeverBefore) {
    CWaitDlg wait;
    int ticks = 0;
    bool visibleAfterEscape = false;
    // Connected after the dialog's own handler, so it sees each tick's result.
    QObject::connect(wait.Ticker(), &QTimer::timeout, [&] {
        ++ticks;
        EXPECT_EQ(wait.SecondsText(), QString::number(ticks));
        if (ticks == 1) {
            QTest::keyClick(&wait, Qt::Key_Escape);
            wait.close();
            wait.reject();
        } else if (ticks == 2) {
            visibleAfterEscape = wait.isVisible();
            wait.m_status = 2;
        }
    });
    wait.exec();
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(wait.SecondsText(), QStringLiteral("3"));
}

TEST_F(WaitDlgTest, QuickWorkerEndsTheDialogAtItsFirstTick) {
    CWaitDlg wait;
    std::thread worker([&wait] { wait.m_status = 2; });
    QElapsedTimer clock;
    clock.start();
    wait.exec();
    worker.join();
    EXPECT_GE(clock.elapsed(), CWaitDlg::kTickMs - 50);
    EXPECT_EQ(wait.SecondsText(), QStringLiteral("1"));
}
} // namespace
