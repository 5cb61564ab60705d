#include "Logic/Control.h"
#include "Logic/MsgHandle.h"
#include "Logic/MsgPacket.h"
#include "SimReport.h"
#include "support/LogCapture.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const SocketMsg& msg)
{
    return QByteArray(reinterpret_cast<const char*>(msg.Data), msg.Length);
}

// Ciphertext from the openssl command line, independent of the program's code.
QByteArray OpensslEncrypt(QByteArray plain)
{
    plain.append((16 - plain.size() % 16) % 16, '\0');
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("enc"), QStringLiteral("-aes-256-cbc"), QStringLiteral("-nopad"),
                   QStringLiteral("-K"), QString::fromLatin1(QByteArray(kReportKey).toHex()),
                   QStringLiteral("-iv"), QString(32, u'0')});
    EXPECT_TRUE(openssl.waitForStarted(5000));
    openssl.write(plain);
    openssl.closeWriteChannel();
    EXPECT_TRUE(openssl.waitForFinished(5000));
    EXPECT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();
    return openssl.readAllStandardOutput();
}

int Parse(QByteArray cipher, ReportStatusInfo* info)
{
    return CMsgHandle::ParseReportStatusMsg(reinterpret_cast<uint8_t*>(cipher.data()),
                                            int(cipher.size()), info);
}

const QByteArray kReport = "<Msg>\r\n\t<Type>ReportStatus</Type>\r\n\t<Protocal>2.0</Protocal>\r\n"
                           "\t<Params>\r\n\t\t<MAC>0C:11:05:AA:BB:CC</MAC>\r\n"
                           "\t\t<Model>ignored</Model>\r\n\t\t<SWVer>20.1.2</SWVer>\r\n"
                           "\t\t<IP>10.0.0.5</IP>\r\n\t\t<Type>3</Type>\r\n"
                           "\t\t<HWVer>HW1.0</HWVer>\r\n\t</Params>\r\n</Msg>\r\n";

} // namespace

TEST(DeviceMessages, RequestConnectionByteForByte)
{
    ReqConnParams p;
    p.Protocal = QStringLiteral("2.0");
    p.IP = QStringLiteral("192.168.1.20");
    p.Port = 8501;
    p.Force = 1;
    p.HeartBeatPeriod = 10000;
    SocketMsg msg;
    ASSERT_EQ(BuildReqConnMsg(&p, &msg), 0);

    const QByteArray body = "<Msg>\r\n"
                            "\t<Type>RequestConnection</Type>\r\n"
                            "\t<Protocal>2.0</Protocal>\r\n"
                            "\t<Params>\r\n"
                            "\t\t<IP>192.168.1.20</IP>\r\n"
                            "\t\t<Port>8501</Port>\r\n"
                            "\t\t<Force>1</Force>\r\n"
                            "\t\t<HeartBeatPeriod>10000</HeartBeatPeriod>\r\n"
                            "\t</Params>\r\n"
                            "</Msg>\r\n";
    const QByteArray header = QByteArray::fromHex("BCDE00000110000A") +
                              char(body.size() >> 8) + char(body.size() & 0xFF);
    EXPECT_EQ(Bytes(msg), header + body);
    EXPECT_EQ(msg.Length, body.size() + 10);
    EXPECT_EQ(BuildReqConnMsg(nullptr, &msg), -1);
}

TEST(DeviceMessages, RequestStatusByteForByte)
{
    const QString protocol = QStringLiteral("2.0");
    SocketMsg msg;
    ASSERT_EQ(BuildReqStatusMsg(&protocol, &msg), 0);
    const QByteArray body = "<Msg>\r\n\t<Type>RequestStatus</Type>\r\n\t<Protocal>2.0</Protocal>\r\n"
                            "</Msg>\r\n";
    EXPECT_EQ(Bytes(msg), QByteArray::fromHex("BCDE00000210000A00") + char(body.size()) + body);
    EXPECT_EQ(BuildReqStatusMsg(nullptr, &msg), -1);
}

TEST(DeviceMessages, ReportFromAnIndependentCipherIsParsed)
{
    const QByteArray cipher = OpensslEncrypt(kReport);
    ASSERT_EQ(cipher.size() % 16, 0);
    ASSERT_EQ(cipher, SimEncrypt(kReport)); // the simulator encrypts as a device does

    QByteArray payload = cipher;
    ReportStatusInfo info;
    info.DNS1 = QStringLiteral("stale");
    ASSERT_EQ(Parse(payload, &info), 0);
    EXPECT_EQ(info.Protocal, QStringLiteral("2.0"));
    EXPECT_EQ(info.MAC, QStringLiteral("0C:11:05:AA:BB:CC"));
    EXPECT_EQ(info.SWVer, QStringLiteral("20.1.2"));
    EXPECT_EQ(info.IP, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(info.Type, QStringLiteral("3"));
    EXPECT_EQ(info.HWVer, QStringLiteral("HW1.0"));
    EXPECT_TRUE(info.DNS1.isEmpty());

    // Decrypted in place: the plaintext without its zero padding, then a zero.
    QByteArray inPlace = cipher;
    ASSERT_EQ(CMsgHandle::ParseReportStatusMsg(reinterpret_cast<uint8_t*>(inPlace.data()),
                                               int(inPlace.size()), &info),
              0);
    EXPECT_EQ(inPlace.left(kReport.size()), kReport);
    EXPECT_EQ(inPlace[kReport.size()], '\0');
}

TEST(DeviceMessages, BadReportsFailWithTheirLogLine)
{
    LogCapture log;
    const QByteArray longValue(300, 'x');
    struct Case {
        const char* name;
        QByteArray plain;
        const char* line; // null: the parse succeeds
    } cases[] = {
        {"lower-case root", QByteArray(kReport).replace("Msg>", "msg>"),
         "CMsgHandle::ParseReportStatusMsg: mismatched Msg"},
        {"not XML", "<Msg><Params>", "CMsgHandle::ParseReportStatusMsg:XML LoadBuffer failed."},
        {"no element", "<!-- nothing -->", "CMsgHandle::ParseReportStatusMsg: ROOT Node is NULL"},
        {"too long for its field", "<Msg><Params><MAC>" + longValue + "</MAC></Params></Msg>",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.Drain(20);
        ReportStatusInfo info;
        const int result = Parse(OpensslEncrypt(c.plain), &info);
        EXPECT_EQ(result, c.line ? -1 : 0);
        if (c.line)
            EXPECT_TRUE(log.WaitFor(QString::fromLatin1(c.line), 2000));
        else
            EXPECT_TRUE(info.MAC.isEmpty());
    }
}

TEST(DeviceMessages, PartialLastBlockIsNeverReadPastTheEnd)
{
    // Whole blocks decrypt; the stray tail does not, and nothing beyond the
    // payload is touched.
    QByteArray cipher = OpensslEncrypt(kReport);
    const int whole = int(cipher.size());
    cipher += QByteArray(5, '\x7F');
    std::vector<uint8_t> out(cipher.size() + 1, 0xAA);
    ASSERT_EQ(DecryptReportBody(reinterpret_cast<const uint8_t*>(cipher.constData()),
                                int(cipher.size()), out.data()),
              0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out.data()), kReport.size()), kReport);
    for (size_t i = size_t(whole); i < out.size(); ++i)
        EXPECT_EQ(out[i], 0) << i;
    EXPECT_EQ(DecryptReportBody(nullptr, 16, out.data()), -1);
    EXPECT_EQ(DecryptReportBody(out.data(), 16, nullptr), -1);
}

TEST(DeviceMessages, ModelCodeFromFirmware)
{
    const std::pair<const char*, const char*> cases[] = {
        {"11.30.1.5", "E11"}, {"20.1.2", "R20"}, {"26.0", "R26"},    {"29.0", "R29"},
        {"915.30.1.1", "X91"}, {"90.1", "X90"},  {"21.0.1", ""},     {"9.30", ""},
        {"1.11.1", ""},        {"12.0", ""},     {"9.", ""},         {"20", ""},
    };
    for (const auto& [firmware, model] : cases)
        EXPECT_EQ(CControl::ModelCode(QString::fromLatin1(firmware)), QString::fromLatin1(model))
            << firmware;
}
