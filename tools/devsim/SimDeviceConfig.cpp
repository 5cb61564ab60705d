#include "SimDeviceConfig.h"

#include <QFile>
#include <QRegularExpression>
#include <arpa/inet.h>

namespace {

bool ToIPv4(const QString& text, uint32_t* value)
{
    in_addr a{};
    if (inet_pton(AF_INET, text.toLatin1().constData(), &a) != 1)
        return false;
    *value = ntohl(a.s_addr);
    return true;
}

struct Named {
    const char* name;
    int value;
};

const Named kFaults[] = {
    {"none", int(SimFault::None)},          {"silent", int(SimFault::Silent)},
    {"garbage", int(SimFault::Garbage)},    {"split", int(SimFault::Split)},
    {"wrong-root", int(SimFault::WrongRoot)}, {"bad-firmware", int(SimFault::BadFirmware)},
    {"no-read", int(SimFault::NoRead)},
};

const Named kAuthModes[] = {
    {"none", int(SimAuthMode::None)},
    {"basic", int(SimAuthMode::Basic)},
    {"digest", int(SimAuthMode::Digest)},
};

template <size_t N> bool Lookup(const Named (&table)[N], const QString& name, int* value)
{
    for (const Named& n : table) {
        if (name == QLatin1String(n.name)) {
            *value = n.value;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseSimFault(const QString& name, SimFault* fault)
{
    int v = 0;
    if (!Lookup(kFaults, name, &v))
        return false;
    *fault = SimFault(v);
    return true;
}

bool ParseSimAuthMode(const QString& name, SimAuthMode* mode)
{
    int v = 0;
    if (!Lookup(kAuthModes, name, &v))
        return false;
    *mode = SimAuthMode(v);
    return true;
}

QString SetSimField(SimDeviceConfig* d, const QString& key, const QString& value)
{
    if (key == u"mac")
        d->mac = value;
    else if (key == u"firmware")
        d->firmware = value;
    else if (key == u"type")
        d->type = value;
    else if (key == u"ip") {
        uint32_t address = 0;
        if (!ToIPv4(value, &address) || (address >> 24) != 127)
            return QStringLiteral("ip must be a 127.x.y.z address: ") + value;
        d->ip = value;
    } else if (key == u"fault") {
        if (!ParseSimFault(value, &d->fault))
            return QStringLiteral("unknown fault: ") + value;
    } else if (key == u"auth") {
        if (!ParseSimAuthMode(value, &d->authMode))
            return QStringLiteral("unknown auth mode: ") + value;
    } else if (key == u"user")
        d->user = value;
    else if (key == u"password")
        d->password = value;
    else if (key == u"cards")
        d->cardListFile = value;
    else if (key == u"http-fault")
        d->httpFault = value;
    else if (key == u"http-port") {
        bool ok = false;
        d->httpPort = value.toInt(&ok);
        if (!ok || d->httpPort <= 0 || d->httpPort > 65535)
            return QStringLiteral("bad http-port: ") + value;
    } else
        return QStringLiteral("unknown key: ") + key;
    return QString();
}

QString LoadSimDevices(const QString& path, std::vector<SimDeviceConfig>* devices)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("cannot read ") + path;
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        QString line = QString::fromUtf8(file.readLine());
        line = line.left(line.indexOf(u'#')).trimmed();
        if (line.isEmpty())
            continue;
        SimDeviceConfig device;
        for (const QString& pair : line.split(QRegularExpression(QStringLiteral("\\s+")))) {
            const int eq = pair.indexOf(u'=');
            const QString error = eq <= 0 ? QStringLiteral("expected key=value: ") + pair
                                          : SetSimField(&device, pair.left(eq), pair.mid(eq + 1));
            if (!error.isEmpty())
                return QStringLiteral("%1:%2: %3").arg(path).arg(number).arg(error);
        }
        if (device.ip.isEmpty() || device.mac.isEmpty())
            return QStringLiteral("%1:%2: a device needs ip and mac").arg(path).arg(number);
        devices->push_back(device);
    }
    return QString();
}

QString NextIPv4(const QString& ip)
{
    uint32_t a = 0;
    ToIPv4(ip, &a);
    do
        ++a;
    while ((a & 0xFF) == 0 || (a & 0xFF) == 0xFF);
    return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 0xFF).arg((a >> 8) & 0xFF).arg(a & 0xFF);
}

QString NextMac(const QString& mac)
{
    bool ok = false;
    const qulonglong value = QString(mac).remove(u':').toULongLong(&ok, 16);
    return QStringLiteral("%1").arg((value + 1) & 0xFFFFFFFFFFFFull, 12, 16, QChar(u'0')).toUpper();
}

std::vector<SimDeviceConfig> MakeSimDevices(int count, const SimDeviceConfig& first)
{
    std::vector<SimDeviceConfig> devices;
    SimDeviceConfig d = first;
    for (int i = 0; i < count; ++i) {
        devices.push_back(d);
        d.ip = NextIPv4(d.ip);
        d.mac = NextMac(d.mac);
    }
    return devices;
}
