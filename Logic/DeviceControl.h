#pragma once
#include "store/CardRecord.h"
#include "store/DeviceRecord.h"

#include <QString>

// The device object: the windows and the device logic reach the store through it.
class CDeviceControl {
public:
    static CDeviceControl* GetInstance();

    // Store forwards
    int IsDeviceExist(const QString& mac);
    int UpdateDeviceByMac(const DeviceRecord& record);
    int SetDeviceState(const QString& mac, int state);
    int GetDeviceByName(const QString& name, DeviceRecord* record);
    // State 0 or 1: the devices in that state; any other: every device.
    DeviceRecord* GetDeviceList(const QString& search, int state, int& count);
    CardRecord* GetRfcardList(const QString& owner, int& count);
    int SaveRfcard(CardRecord* record);
    static void FreeRfcardList(CardRecord* head);
    static void FreeDeviceList(DeviceRecord* head);

private:
    CDeviceControl() = default;
};
