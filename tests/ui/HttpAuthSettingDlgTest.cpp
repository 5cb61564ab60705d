#include "transfer/HttpAuthSettingDlg.h"
#include "base/MessageBox.h"
#include "support/TestProgramDir.h"
#include "transfer/HttpAuthSettings.h"
#include "ui/ImgButton.h"
#include "ui/MessageBoxes.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class HttpAuthSettingDlgTest : public testing::Test {
protected:
    void SetUp() override { CMessageBoxes::SetTestMode(true); }
    void TearDown() override { CMessageBoxes::SetTestMode(false); }

    QString Ini() const { return dir.File(QStringLiteral("config/Setting.ini")); }
    QByteArray IniText() const {
        QFile file(Ini());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteIni(const QByteArray& text) const {
        QFile file(Ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void PickMode(QComboBox* list, int index) const {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }

    TestProgramDir dir;
};

TEST_F(HttpAuthSettingDlgTest, FreshInstallationSavesDigestWithItsCredentials) {
    CHttpAuthSettingDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.ModeList()->currentText(), QStringLiteral("None"));
    EXPECT_TRUE(dialog.UserEdit()->text().isEmpty());
    EXPECT_TRUE(dialog.PasswordEdit()->text().isEmpty());
    EXPECT_EQ(dialog.PasswordEdit()->echoMode(), QLineEdit::Password);

    PickMode(dialog.ModeList(), 2);
    QTest::keyClicks(dialog.UserEdit(), QStringLiteral("admin"));
    QTest::keyClicks(dialog.PasswordEdit(), QStringLiteral("pa=ss word"));
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(CMessageBoxes::Calls().size(), 1);
    EXPECT_EQ(CMessageBoxes::Calls()[0].text, QStringLiteral("Saving succeed"));
    EXPECT_EQ(CMessageBoxes::Calls()[0].style, kMsgStyleOk);
    const QByteArray ini = IniText();
    EXPECT_TRUE(ini.contains("AuthMode=2")) << ini.constData();
    const HttpAuthSettings saved = ReadHttpAuthSettings();
    EXPECT_EQ(saved.AuthMode, 2);
    EXPECT_EQ(saved.User, QStringLiteral("admin"));
    EXPECT_EQ(saved.Password, QStringLiteral("pa=ss word"));
}

TEST_F(HttpAuthSettingDlgTest, UnknownModeOpensWithNoItemAndSavesMinusOne) {
    WriteIni("[HttpAuth]\nAuthMode=5\nUser=bob\nPassword=x\n");
    CHttpAuthSettingDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.ModeList()->currentIndex(), -1);
    EXPECT_EQ(dialog.UserEdit()->text(), QStringLiteral("bob"));
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    EXPECT_TRUE(IniText().contains("AuthMode=-1")) << IniText().constData();
}

TEST_F(HttpAuthSettingDlgTest, CloseButtonLeavesTheFileUntouched) {
    const QByteArray before = "[HttpAuth]\nAuthMode=1\nUser=bob\nPassword=x\n";
    WriteIni(before);
    CHttpAuthSettingDlg dialog;
    dialog.show();
    PickMode(dialog.ModeList(), 2);
    QTest::keyClicks(dialog.UserEdit(), QStringLiteral("changed"));
    QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(IniText(), before);
    EXPECT_TRUE(CMessageBoxes::Calls().isEmpty());
}

TEST_F(HttpAuthSettingDlgTest, FieldsTakeSixtyThreeCharactersAndAFailedWriteSaysSo) {
    ASSERT_TRUE(QDir(dir.File(QStringLiteral("config"))).removeRecursively());
    CHttpAuthSettingDlg dialog;
    dialog.show();
    QTest::keyClicks(dialog.UserEdit(), QString(70, QLatin1Char('u')));
    EXPECT_EQ(dialog.UserEdit()->text().size(), 63);
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    ASSERT_EQ(CMessageBoxes::Calls().size(), 1);
    EXPECT_EQ(CMessageBoxes::Calls()[0].text, QStringLiteral("Saving failed."));
}
} // namespace
