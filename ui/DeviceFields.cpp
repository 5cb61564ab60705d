#include "ui/DeviceFields.h"

#include "store/CppSQLite3Query.h"

bool IsValidMac(const QString& mac) {
    if (mac.size() != 12)
        return false;
    for (QChar c : mac) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return true;
}

QString CheckDeviceFields(DeviceFields& fields) {
    fields.name = fields.name.trimmed();
    if (fields.name.isEmpty())
        return QStringLiteral("You must input Device Name. ");
    if (fields.name.size() >= DeviceRecord::kLocalNameCap)
        return QStringLiteral("Device name must be no longer than 63 characters.");
    fields.ip = fields.ip.trimmed();
    if (fields.ip.isEmpty())
        return QStringLiteral("You must input an IP");
    if (!IsValidMac(fields.mac))
        return QStringLiteral("Invalid MAC address.");
    return QString();
}

DeviceRecord NewDeviceRecord(const DeviceFields& fields) {
    DeviceRecord record;
    CopyFitting(record.LocalName, DeviceRecord::kLocalNameCap, fields.name);
    CopyFitting(record.IP, DeviceRecord::kIPCap, fields.ip);
    CopyFitting(record.MAC, DeviceRecord::kMACCap, fields.mac.toUpper());
    CopyFitting(record.Firmware, DeviceRecord::kFirmwareCap, fields.firmware);
    return record;
}
