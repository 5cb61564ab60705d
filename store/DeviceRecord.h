#pragma once
#include <QString>

// One device. Text fields hold at most their capacity less one UTF-16 code
// units (the capacity counts a terminator, as the stored format always has).
struct DeviceRecord {
    static constexpr int kModelCap = 12;
    static constexpr int kIPCap = 16;
    static constexpr int kMACCap = 20;
    static constexpr int kLocalNameCap = 64;
    static constexpr int kFirmwareCap = 16;

    int ID = 0;
    int Type = 0;
    int State = 0; // 0 off-line, 1 on-line
    QString Model;
    QString IP;
    QString MAC; // 12 hexadecimal digits, no separators
    QString LocalName;
    QString Firmware;
    DeviceRecord* next = nullptr;
};
