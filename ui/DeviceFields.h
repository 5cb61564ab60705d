#pragma once
#include "store/DeviceRecord.h"

#include <QString>

// The four texts of the device dialogs.
struct DeviceFields {
    QString name;
    QString ip;
    QString mac;
    QString firmware;
};

// Exactly 12 characters, each a hexadecimal digit in either case; no separators.
bool IsValidMac(const QString& mac);

// The checks both device dialogs run before storing, in their order. Trims the
// name and the IP in place. Returns the message of the first failed check, or
// an empty text when all pass.
QString CheckDeviceFields(DeviceFields& fields);

// A cleared record for a new device: the name, the IP, the upper-cased MAC and
// the firmware, each only when it fits its field.
DeviceRecord NewDeviceRecord(const DeviceFields& fields);
