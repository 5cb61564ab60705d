#pragma once
#include <QString>

// One RF card. Text capacities count a terminator, as for DeviceRecord.
struct CardRecord {
    static constexpr int kDoorNumberCap = 12;
    static constexpr int kNameCap = 32;
    static constexpr int kCodeCap = 32;
    static constexpr int kTimeCap = 24;
    static constexpr int kOwnerCap = 128;

    int ID = 0;
    int Mon = 0;
    int Tue = 0;
    int Wed = 0;
    int Thur = 0;
    int Fri = 0;
    int Sat = 0;
    int Sun = 0;
    int WebRelay = 0;
    int Tags = 0;      // 0 Allowed, 1 Frequency, 2 Forbidden
    int Frequency = 0;
    QString DoorNumber; // digits of the doors, ascending: "13" for doors 1 and 3
    QString Name;
    QString Code;
    QString TimeStart; // "HH:MM"
    QString TimeEnd;
    QString Owner; // the owning device's key, see OwnerKey
    CardRecord* next = nullptr;
};

// The text that ties a card to its device: the device ID in decimal and ";".
inline QString OwnerKey(int deviceId) { return QString::number(deviceId) + QLatin1Char(';'); }
