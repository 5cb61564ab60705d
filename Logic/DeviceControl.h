#pragma once
#include "Logic/MulticastSocket.h"
#include "Logic/StreamSocket.h"
#include "store/CardRecord.h"
#include "store/DeviceRecord.h"

#include <QString>

// The device object: owns the multicast socket and the TCP server, and the
// windows and the device logic reach the store through it.
class CDeviceControl {
public:
    static CDeviceControl* GetInstance();

    CMulticastSocket& MulticastSocket() { return m_multicast; }
    CStreamSocket& StreamSocket() { return m_server; }

    // Accept thread: queues the connection so the dispatcher asks for a status.
    void OnDeviceConnected(const QString& ip, int port);

    // Store forwards
    int IsDeviceExist(const QString& mac);
    int UpdateDeviceByMac(const DeviceRecord& record);
    int SetDeviceState(const QString& mac, int state);
    int ResetDeviceStates();
    int GetDeviceByName(const QString& name, DeviceRecord* record);
    // State 0 or 1: the devices in that state; any other: every device.
    DeviceRecord* GetDeviceList(const QString& search, int state, int& count);
    CardRecord* GetRfcardList(const QString& owner, int& count);
    int SaveRfcard(CardRecord* record);
    static void FreeRfcardList(CardRecord* head);
    static void FreeDeviceList(DeviceRecord* head);

private:
    CDeviceControl();

    CMulticastSocket m_multicast;
    CStreamSocket m_server;
};
