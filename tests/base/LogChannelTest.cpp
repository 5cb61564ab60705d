#include "base/CommControl.h"
#include "base/Log.h"
#include "base/LogPacket.h"
#include "support/LogCapture.h"

#include <QProcess>
#include <QRegularExpression>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray Utf16Le(const QString& s)
{
    QByteArray out;
    for (QChar c : s) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

} // namespace

TEST(LogChannel, ErrorDatagramByteForByte)
{
    LogCapture capture;
    LogError(QStringLiteral("SendTcpMsg failed."));
    const auto raw = capture.NextRaw();
    ASSERT_TRUE(raw);
    ASSERT_EQ(raw->size(), 72);
    QByteArray want("\xBE\xBF\x03\x00", 4);
    want += Utf16Le(QStringLiteral("Kestrovane")) + QByteArray(12, '\0');
    want += Utf16Le(QStringLiteral("SendTcpMsg failed."));
    EXPECT_EQ(raw->toHex().toStdString(), want.toHex().toStdString());
}

TEST(LogChannel, LevelsLengthsAndTrace)
{
    LogCapture capture;
    LogInfo(QStringLiteral("RECV TCP %d bytes."), 52);
    auto raw = capture.NextRaw();
    ASSERT_TRUE(raw);
    auto packet = LogPacket::Decode(*raw);
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->level, 6);
    EXPECT_EQ(packet->tag, QStringLiteral("Kestrovane"));
    EXPECT_EQ(packet->text, QStringLiteral("RECV TCP 52 bytes."));

    LogTrace(QStringLiteral("never sent %d"), 1);
    EXPECT_FALSE(capture.NextRaw(200));

    struct {
        int units;
        int bytes;
    } lengths[] = {{600, 36}, {512, 36}, {511, 36 + 2 * 511}, {0, 36}};
    for (const auto& l : lengths) {
        LogInfo(QString(l.units, QLatin1Char('x')));
        raw = capture.NextRaw();
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->size(), l.bytes) << l.units << " units";
    }
}

TEST(LogChannel, BindsTheFirstFreeLogPortAndFallsBackPastTheRange)
{
    LogCapture capture; // opens the process's channel
    const int port = CCommControl::GetInstance()->Channel().LocalPort();
    EXPECT_GE(port, 122);
    EXPECT_LE(port, 137);

    // A second channel takes the next port of the range.
    CCommUdp second;
    ASSERT_EQ(second.Open(), 0);
    EXPECT_EQ(second.LocalPort(), port + 1);
    EXPECT_EQ(second.Close(), 0);
    EXPECT_EQ(second.Send("x", 1), -1) << "a closed channel sends nothing";
}

TEST(LogChannel, DecoderRefusesWhatIsNotALogPacket)
{
    EXPECT_FALSE(LogPacket::Decode(QByteArray("hello")));
    EXPECT_FALSE(LogPacket::Decode(QByteArray(40, '\0')));
    QByteArray odd = LogPacket::Build(6, QStringLiteral("abc"));
    odd.append('\x01');
    EXPECT_FALSE(LogPacket::Decode(odd));
}

TEST(LogView, PrintsOneLinePerDatagramAndSurvivesGarbage)
{
    QProcess viewer;
    viewer.start(QStringLiteral(KV_LOGVIEW), {QStringLiteral("--port"), QStringLiteral("40106")});
    ASSERT_TRUE(viewer.waitForStarted());
    usleep(200 * 1000);

    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(40106);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto send = [&](const QByteArray& d) {
        sendto(fd, d.constData(), d.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    };
    send(LogPacket::Build(6, QStringLiteral("first line")));
    send(QByteArray("\x00\x01garbage", 9));
    send(LogPacket::Build(3, QStringLiteral("SendTcpMsg failed.")));
    ::close(fd);

    QByteArray out;
    for (int i = 0; i < 50 && out.count('\n') < 3; ++i) {
        viewer.waitForReadyRead(100);
        out += viewer.readAllStandardOutput();
    }
    viewer.kill();
    viewer.waitForFinished();
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << out.toStdString();
    const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )"));
    EXPECT_TRUE(stamp.match(QString::fromUtf8(lines[0])).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("INFO  first line"));
    EXPECT_TRUE(lines[1].contains("not a log packet"));
    EXPECT_TRUE(lines[2].endsWith("ERROR SendTcpMsg failed."));
}
