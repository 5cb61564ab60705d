// kestrovane-logview [--port N]: prints every log datagram that reaches
// 127.0.0.1 (port 106 unless told otherwise) as one line:
//   2026-12-11 09:41:07.123 INFO  text
#include "base/LogPacket.h"

#include <QByteArray>
#include <QDateTime>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray Line(const QByteArray& datagram)
{
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    const auto packet = LogPacket::Decode(datagram);
    if (!packet)
        return stamp + " ?????  not a log packet (" + QByteArray::number(datagram.size()) +
               " bytes)";
    const char* level = packet->level == LogPacket::kLevelError  ? "ERROR"
                        : packet->level == LogPacket::kLevelInfo ? "INFO "
                                                                 : "LEVEL";
    QByteArray text = packet->text.toUtf8();
    text.replace('\n', "\\n").replace('\r', "\\r");
    if (packet->level != LogPacket::kLevelError && packet->level != LogPacket::kLevelInfo)
        return stamp + " " + level + QByteArray::number(packet->level) + " " + text;
    return stamp + " " + level + " " + text;
}

} // namespace

int main(int argc, char** argv)
{
    int port = 106;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            port = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: kestrovane-logview [--port N]\n");
            return 2;
        }
    }
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        std::perror("kestrovane-logview: bind");
        return 1;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::vector<char> buffer(65536);
    for (;;) {
        const ssize_t n = recv(fd, buffer.data(), buffer.size(), 0);
        if (n < 0)
            continue;
        const QByteArray line = Line(QByteArray(buffer.data(), n));
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fputc('\n', stdout);
    }
}
