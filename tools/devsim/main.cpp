// kestrovane-devsim: plays devices on the device link, each on its own
// 127.x.y.z address, until it is told to stop (SIGTERM, SIGINT).
//
//   kestrovane-devsim [--config FILE] [--count N] [--first-ip 127.0.1.1]
//                     [--first-mac 0C1105000001] [--firmware 20.1.2] [--type 3]
//                     [--fault NAME] [--auth none|basic|digest] [--user U]
//                     [--password P] [--cards FILE] [--http-fault NAME]
//                     [--http on|off]
//
// Devices come from the file (one per line, key=value pairs) and/or N devices
// counted up from the first address and MAC with the other options. When every
// device listens it prints "ready N" on standard output; at the end the counts.
#include "DeviceSimulator.h"
#include "tools/devsim/web/SimWebServer.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int Usage(const char* why)
{
    std::fprintf(stderr, "kestrovane-devsim: %s\n(see the head of tools/devsim/main.cpp)\n", why);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // application path, QString conversions
    std::vector<SimDeviceConfig> devices;
    SimDeviceConfig first;
    first.ip = QStringLiteral("127.0.1.1");
    first.mac = QStringLiteral("0C1105000001");
    first.firmware = QStringLiteral("20.1.2");
    int count = 0;
    bool http = true; // off: the link alone, for thousands of devices

    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString option = args[i];
        if (i + 1 >= args.size() || !option.startsWith(u"--"))
            return Usage("every option takes a value");
        const QString value = args[++i];
        if (option == u"--config") {
            const QString error = LoadSimDevices(value, &devices);
            if (!error.isEmpty())
                return Usage(error.toLocal8Bit().constData());
        } else if (option == u"--count") {
            bool ok = false;
            count = value.toInt(&ok);
            if (!ok || count < 0)
                return Usage("--count takes a number");
        } else if (option == u"--http") {
            if (value != u"on" && value != u"off")
                return Usage("--http takes on or off");
            http = value == u"on";
        } else {
            static const QMap<QString, QString> keys{
                {"--first-ip", "ip"},     {"--first-mac", "mac"},      {"--firmware", "firmware"},
                {"--type", "type"},       {"--fault", "fault"},        {"--auth", "auth"},
                {"--user", "user"},       {"--password", "password"},  {"--cards", "cards"},
                {"--http-fault", "http-fault"}};
            if (!keys.contains(option))
                return Usage("unknown option");
            const QString error = SetSimField(&first, keys[option], value);
            if (!error.isEmpty())
                return Usage(error.toLocal8Bit().constData());
        }
    }
    for (const SimDeviceConfig& d : MakeSimDevices(count, first))
        devices.push_back(d);
    if (devices.empty())
        return Usage("no devices: give --count or --config");

    // Signals are taken by sigwait below, so they are blocked before any thread starts.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    CDeviceSimulator simulator(devices);
    const QString error = simulator.Start();
    if (!error.isEmpty())
        return Usage(error.toLocal8Bit().constData());

    // The web side of each device (card lists over HTTP) is started here.
    std::vector<std::unique_ptr<SimWebServer>> web;
    for (const SimDeviceConfig& d : http ? devices : std::vector<SimDeviceConfig>()) {
        auto server = std::make_unique<SimWebServer>();
        static const SimWebServer::Auth auths[] = {
            SimWebServer::Auth::None, SimWebServer::Auth::Basic, SimWebServer::Auth::Digest};
        server->SetAuth(auths[int(d.authMode)], d.user.toStdString(), d.password.toStdString());
        SimWebServer::Fault fault = SimWebServer::Fault::None;
        if (!d.httpFault.isEmpty() && !SimWebServer::ParseFault(d.httpFault.toStdString(), &fault))
            return Usage(
                "unknown http-fault (none 400 401 403 404 500 noanswer slow empty malformed huge)");
        server->SetFault(fault);
        if (!d.cardListFile.isEmpty()) {
            server->SeedFromFile(d.cardListFile.toStdString());
            server->SetStoreFile(d.cardListFile.toStdString());
        }
        if (!server->Start(d.ip.toStdString(), d.httpPort))
            return Usage(("cannot serve HTTP on " + d.ip + ":" + QString::number(d.httpPort))
                             .toLocal8Bit()
                             .constData());
        web.push_back(std::move(server));
    }

    std::printf("ready %zu\n", devices.size());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    web.clear();
    simulator.Stop();
    std::printf("invitations %llu connections %llu requests %llu reports %llu failures %llu\n",
                static_cast<unsigned long long>(simulator.Invitations()),
                static_cast<unsigned long long>(simulator.Connections()),
                static_cast<unsigned long long>(simulator.Requests()),
                static_cast<unsigned long long>(simulator.Reports()),
                static_cast<unsigned long long>(simulator.ConnectFailures()));
    return 0;
}
