#include "TransferTestSupport.h"
#include "support/TestProgramDir.h"
#include "transfer/IniFile.h"

#include <QDir>
#include <sys/stat.h>

namespace {

class AuthSettings : public ::testing::Test {
protected:
    TestProgramDir dir;
    const QString path = dir.File(QStringLiteral("config/Setting.ini"));
};

} // namespace

TEST_F(AuthSettings, MissingFileGivesDefaultsAndSaveCreatesAPrivateFile)
{
    EXPECT_EQ(HttpAuthSettingsPath(), path);
    GetHttpAuthSettings().AuthMode = 2;
    GetHttpAuthSettings().User = QStringLiteral("stale");
    LoadHttpAuthSettings();
    EXPECT_EQ(GetHttpAuthSettings().AuthMode, 0);
    EXPECT_TRUE(GetHttpAuthSettings().User.isEmpty());
    EXPECT_TRUE(GetHttpAuthSettings().Password.isEmpty());

    ASSERT_EQ(SaveHttpAuthSettings(2, QStringLiteral("admin"), QStringLiteral("pa ss=wörd")), 0);
    EXPECT_EQ(ReadAll(path),
              QByteArray("[HttpAuth]\nAuthMode=2\nUser=admin\nPassword=pa ss=w\xc3\xb6rd\n"));
    struct stat st{};
    ASSERT_EQ(stat(path.toUtf8().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    LoadHttpAuthSettings();
    EXPECT_EQ(GetHttpAuthSettings().AuthMode, 2);
    EXPECT_EQ(GetHttpAuthSettings().User, QStringLiteral("admin"));
    EXPECT_EQ(GetHttpAuthSettings().Password, QStringLiteral("pa ss=wörd"));
}

TEST_F(AuthSettings, SaveDoesNotCreateTheConfigDirectory)
{
    ASSERT_TRUE(QDir(dir.File(QStringLiteral("config"))).removeRecursively());
    EXPECT_EQ(SaveHttpAuthSettings(1, QStringLiteral("u"), QStringLiteral("p")), -1);
    EXPECT_FALSE(QDir(dir.File(QStringLiteral("config"))).exists());
}

TEST_F(AuthSettings, ReadsLikeTheProfileFunctions)
{
    const QString long70(70, QLatin1Char('L'));
    WriteAll(
        path,
        ("; comment\r\n[Other]\r\nUser=not me\r\n[httpauth]\r\n  authmode = 5 \r\nUSER = \"quoted "
         "user\" \r\nPassword=" +
         long70 + "\r\n")
            .toUtf8());
    HttpAuthSettings s = ReadHttpAuthSettings();
    EXPECT_EQ(s.AuthMode, 5);
    EXPECT_EQ(s.User, QStringLiteral("quoted user"));
    EXPECT_EQ(s.Password, long70.left(63));

    const std::pair<const char*, int> modes[] = {
        {"-1", -1}, {"2x", 2}, {"abc", 0}, {"", 0}, {" +1", 1}};
    for (const auto& [text, mode] : modes) {
        WriteAll(path, QByteArray("[HttpAuth]\nAuthMode=") + text + "\n");
        EXPECT_EQ(ReadHttpAuthSettings().AuthMode, mode) << text;
    }
}

TEST_F(AuthSettings, WriteReplacesOneKeyAndKeepsTheRest)
{
    WriteAll(path, "[Other]\nUser=keep\n\n[HTTPAUTH]\nuser=old\nExtra=1\n\n[Last]\nX=y\n");
    ASSERT_EQ(SaveHttpAuthSettings(-1, QStringLiteral("new"), QString()), 0);
    EXPECT_EQ(ReadAll(path),
              QByteArray("[Other]\nUser=keep\n\n[HTTPAUTH]\nUser=new\nExtra=1\nAuthMode=-1\n"
                         "Password=\n\n[Last]\nX=y\n"));
    EXPECT_EQ(ReadHttpAuthSettings().AuthMode, -1);

    const CIniFile ini(path);
    EXPECT_EQ(ini.WriteString(QStringLiteral("HttpAuth"), QStringLiteral("User"),
                              QStringLiteral("a\nAuthMode=1")), -1)
        << "a line break would forge a key";
    EXPECT_EQ(ReadHttpAuthSettings().User, QStringLiteral("new"));
}

TEST_F(AuthSettings, SaveLeavesAFileItCannotReadWholeAlone)
{
    // Read as empty, so a write would otherwise replace all that it holds.
    const QByteArray big = "[Other]\nKeep=" + QByteArray(CIniFile::kMaxFileSize, 'k') + "\n";
    WriteAll(path, big);
    EXPECT_EQ(SaveHttpAuthSettings(1, QStringLiteral("u"), QStringLiteral("p")), -1);
    EXPECT_EQ(ReadAll(path), big);
    EXPECT_EQ(ReadHttpAuthSettings().AuthMode, 0);
}
