#pragma once
// One simulated device: what it reports on the device link, how it misbehaves,
// and the settings of its web side.
#include <QString>
#include <vector>

enum class SimFault {
    None,
    Silent,      // connects but never answers the status request
    Garbage,     // sends noise before the report
    Split,       // writes the report in several pieces with pauses between
    WrongRoot,   // the report's root element is "msg"
    BadFirmware, // reports a firmware version that yields no model
    NoRead,      // connects and never reads what the server sends
};

enum class SimAuthMode { None, Basic, Digest };

struct SimDeviceConfig {
    QString mac;      // as reported; may carry colons
    QString firmware; // SWVer
    QString type = QStringLiteral("3");
    QString ip;       // the 127.x.y.z address the device connects from and reports
    SimFault fault = SimFault::None;

    // Web side
    SimAuthMode authMode = SimAuthMode::None;
    QString user;
    QString password;
    QString cardListFile; // card list the device serves and receives
    QString httpFault;    // name of a misbehaviour of the web side, empty for none
    int httpPort = 80;
};

// Names as written in files and options: none silent garbage split wrong-root
// bad-firmware no-read; none basic digest.
bool ParseSimFault(const QString& name, SimFault* fault);
bool ParseSimAuthMode(const QString& name, SimAuthMode* mode);

// Reads one device per line: whitespace-separated key=value pairs (mac, firmware,
// type, ip, fault, auth, user, password, cards, http-fault, http-port); "#"
// starts a comment. Empty on success, else the reason with its line number.
QString LoadSimDevices(const QString& path, std::vector<SimDeviceConfig>* devices);
// Applies one key=value pair to a device. Empty on success, else the reason.
QString SetSimField(SimDeviceConfig* device, const QString& key, const QString& value);

// `count` devices from `first`: each next one takes the next address (skipping
// .0 and .255) and the next MAC, counted as a 48-bit number.
std::vector<SimDeviceConfig> MakeSimDevices(int count, const SimDeviceConfig& first);
QString NextIPv4(const QString& ip);
QString NextMac(const QString& mac);
