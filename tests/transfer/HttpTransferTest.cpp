#include "TransferTestSupport.h"
#include "support/LogCapture.h"
#include "support/TestProgramDir.h"
#include "tools/devsim/web/SimWebServer.h"
#include "transfer/HttpTransfer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Fault = SimWebServer::Fault;
using Auth = SimWebServer::Auth;

const QByteArray kList =
    "<?xml version=\"1.0\"?>\n<KeyData>\n    <Key ID=\"1\" Code=\"AA\"/>\n</KeyData>\n";

class HttpTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Start("127.0.0.20"));
        device.SetCardList(kList.toStdString());
    }
    QString Local(const char* name) const { return dir.File(QString::fromUtf8(name)); }

    TestProgramDir dir;
    SimWebServer device;
    const QString exportUrl = QStringLiteral("http://127.0.0.20/api/rfkey/export");
    const QString importUrl = QStringLiteral("http://127.0.0.20/api/rfkey/import");
};

// Answers on 127.0.0.30:80 with raw bytes, one connection per answer; an empty
// answer reads the request and closes the connection unanswered.
class ScriptedPeer {
public:
    explicit ScriptedPeer(std::vector<QByteArray> answers)
    {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int on = 1;
        setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(80);
        inet_pton(AF_INET, "127.0.0.30", &a.sin_addr);
        EXPECT_EQ(bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        listen(m_fd, 4);
        m_thread = std::thread([this, answers] {
            for (const QByteArray& answer : answers) {
                pollfd p{m_fd, POLLIN, 0};
                if (poll(&p, 1, 20000) <= 0)
                    return; // the client never came: the test fails, it does not hang
                const int c = accept(m_fd, nullptr, nullptr);
                char buffer[4096];
                [[maybe_unused]] ssize_t n = recv(c, buffer, sizeof buffer, 0);
                if (!answer.isEmpty())
                    n = send(c, answer.constData(), size_t(answer.size()), 0);
                ::close(c);
            }
        });
    }
    ~ScriptedPeer()
    {
        m_thread.join();
        ::close(m_fd);
    }

private:
    int m_fd = -1;
    std::thread m_thread;
};

} // namespace

TEST(ClassifyHttpResponse, StatusTextsInOrder)
{
    const std::pair<const char*, int> cases[] = {
        {"", 4},
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", 1},
        {"HTTP/1.1 400 Bad Request\r\n\r\n", 2},
        {"HTTP/1.1 401 Unauthorized\r\n\r\n", 3},
        {"HTTP/1.1 403 Forbidden\r\n\r\n", 3},
        {"HTTP/1.1 404 Not Found\r\n\r\n", 0},
        {"HTTP/1.1 500 Internal Server Error\r\n\r\n", 0},
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 1400\r\n\r\n", 2},
        {"HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Digest\r\n\r\nHTTP/1.1 200 OK\r\n\r\n", 1},
        {"HTTP/1.1 200 ok\r\n\r\n", 0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ClassifyHttpResponse(QByteArray(text)), expected) << text;
}

TEST_F(HttpTransfer, DownloadSavesTheBodyAndStatusesClassify)
{
    long status = 0;
    EXPECT_EQ(DownloadHttpFile(exportUrl, Local("list.xml"), &status), 1);
    EXPECT_EQ(status, 200);
    EXPECT_EQ(ReadAll(Local("list.xml")), kList);

    const std::tuple<Fault, int, long> cases[] = {
        {Fault::Status400, 2, 400}, {Fault::Status401, 3, 401}, {Fault::Status403, 3, 403},
        {Fault::Status404, 0, 404}, {Fault::Status500, 0, 500}, {Fault::Empty200, 1, 200},
    };
    for (const auto& [fault, expected, code] : cases) {
        device.SetFault(fault);
        EXPECT_EQ(DownloadHttpFile(exportUrl, Local("list.xml"), &status), expected) << code;
        EXPECT_EQ(status, code);
    }
    EXPECT_EQ(ReadAll(Local("list.xml")), QByteArray()) << "the file is truncated, not appended to";
    EXPECT_EQ(device.Requests().size(), 7u) << "an HTTP error status is not retried";
}

TEST_F(HttpTransfer, OversizedAnswerIsDroppedWithoutRetry)
{
    device.SetFault(Fault::HugeBody);
    device.SetHugeBodyBytes(size_t(kMaxDownloadBytes) + 1);
    EXPECT_EQ(DownloadHttpFile(exportUrl, Local("huge.xml")), 4);
    EXPECT_EQ(QFile(Local("huge.xml")).size(), 0);
    EXPECT_EQ(device.Requests().size(), 1u);
}

TEST_F(HttpTransfer, DownloadIntoMissingDirectoryMakesNoRequest)
{
    LogCapture log;
    const QString path = Local("no/such/dir/list.xml");
    EXPECT_EQ(DownloadHttpFile(exportUrl, path), -1);
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_EQ(log.Drain(),
              QStringList{QStringLiteral("DownloadHttpFile: Failed to open file <%1>").arg(path)});
}

TEST_F(HttpTransfer, OneFailureThenSuccessLogsTwoLines)
{
    LogCapture log;
    ScriptedPeer peer(
        {QByteArray(), "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"});
    const QString url = QStringLiteral("http://127.0.0.30/api/rfkey/export");
    EXPECT_EQ(DownloadHttpFile(url, Local("flaky.xml")), 1);
    const QStringList lines = log.Drain();
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines[0].toStdString(),
              QStringLiteral("DownloadHttpFile: request %1 failed: Server returned "
                             "nothing (no headers, no data), try again")
                  .arg(url)
                  .toStdString());
    EXPECT_EQ(lines[1].toStdString(),
              QStringLiteral("DownloadHttpFile: request %1 success").arg(url).toStdString());
}

TEST_F(HttpTransfer, HeaderTextIsKeptTo1023Bytes)
{
    const QByteArray status = "HTTP/1.1 404 Not Found\r\n";
    const QByteArray pad = "X-Pad: " + QByteArray(1023 - status.size() - 7 - 2, 'p') + "\r\n";
    ScriptedPeer peer(
        {status + pad + "X-Late: 400\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"});
    long code = 0;
    EXPECT_EQ(DownloadHttpFile(QStringLiteral("http://127.0.0.30/api/rfkey/export"), Local("h.xml"),
                               &code),
              0)
        << "the \"400\" beyond the first 1023 bytes is not seen";
    EXPECT_EQ(code, 404);
}

TEST_F(HttpTransfer, ThreeFailuresLogFourLinesAndGiveNoAnswer)
{
    LogCapture log;
    const QString url = QStringLiteral("http://127.0.0.31/api/rfkey/import");
    WriteAll(Local("up.xml"), kList);
    EXPECT_EQ(UploadHttpFile(url, Local("up.xml")), 4);
    const QString failed =
        QStringLiteral("UploadHttpFile: request %1 failed: Couldn't connect to server").arg(url);
    EXPECT_EQ(log.Drain(), (QStringList{failed + QStringLiteral(", try again"), failed,
                                        failed + QStringLiteral(", try again"), failed}));

    EXPECT_EQ(UploadHttpFile(importUrl, Local("missing.xml")), 4) << "a missing upload file";
    EXPECT_TRUE(device.Requests().empty());
}

TEST_F(HttpTransfer, UploadSendsTheTwoPartForm)
{
    WriteAll(Local("up.xml"), kList);
    EXPECT_EQ(UploadHttpFile(importUrl, Local("up.xml")), 1);
    EXPECT_EQ(device.CardList(), kList.toStdString());
    const auto requests = device.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].path, "/api/rfkey/import");
    EXPECT_EQ(requests[0].reqformat, "plain");
    EXPECT_EQ(requests[0].parts.size(), 2u);
}

TEST_F(HttpTransfer, CredentialsFollowTheAuthModeReadAfresh)
{
    LogCapture log;
    const QString secret = QStringLiteral("s3cr3t-pass");
    struct Case {
        int mode;
        Auth server;
        const char* password;
        int result;
        const char* scheme; // what the last request carried
    };
    const Case cases[] = {
        {0, Auth::None, "s3cr3t-pass", 1, ""},
        {3, Auth::None, "s3cr3t-pass", 1, ""},
        {-1, Auth::None, "s3cr3t-pass", 1, ""},
        {1, Auth::Basic, "s3cr3t-pass", 1, "Basic "},
        {2, Auth::Digest, "s3cr3t-pass", 1, "Digest "},
        {1, Auth::Basic, "wrong", 3, "Basic "},
        {2, Auth::Digest, "wrong", 3, "Digest "},
        {0, Auth::Basic, "s3cr3t-pass", 3, ""},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SaveHttpAuthSettings(c.mode, QStringLiteral("admin"), secret), 0);
        device.SetAuth(c.server, "admin", c.password);
        EXPECT_EQ(DownloadHttpFile(exportUrl, Local("auth.xml")), c.result) << c.mode << c.password;
        const auto requests = device.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back().authorization.substr(0, std::strlen(c.scheme)), c.scheme);
        if (!*c.scheme)
            EXPECT_TRUE(requests.back().authorization.empty());
    }
    for (const QString& line : log.Drain())
        EXPECT_FALSE(line.contains(secret)) << line.toStdString();
}
