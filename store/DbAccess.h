#pragma once
#include "store/CardRecord.h"
#include "store/DeviceRecord.h"

#include <QString>

// Every statement the program runs on the tables Devices and RfcardInfo.
// Operations return 0 for success and -1 for failure; counts return the count,
// lists a chain of heap records in ascending ID order (or null).
class CDbAccess {
public:
    static CDbAccess* GetInstance();

    // Devices
    int InsertDevice(const DeviceRecord& record);
    int UpdateDeviceById(const DeviceRecord& record);
    int UpdateDeviceByMac(const DeviceRecord& record);
    int DeleteDeviceById(int id);
    int GetDeviceById(int id, DeviceRecord* record);
    int GetDeviceByLocalName(const QString& name, DeviceRecord* record);
    int DeviceMacExists(const QString& mac);
    int CountDevices(const QString& search);
    int CountDevicesByState(int state, const QString& search);
    DeviceRecord* ListDevices(const QString& search);
    DeviceRecord* ListDevicesByState(int state, const QString& search);
    int SetDeviceState(const QString& mac, int state);
    int ResetDeviceStates();

    // Cards
    int SaveCard(CardRecord* record);
    int UpdateCardById(const CardRecord* record);
    int DeleteCardById(int id);
    int GetCardById(int id, CardRecord* record);
    int CountCards(const QString& owner);
    CardRecord* ListCards(const QString& owner);
    // One page of ListCards: at most `limit` records from position `offset`.
    CardRecord* ListCardsPage(const QString& owner, int offset, int limit);

private:
    CDbAccess() = default;
};

// A text value ready to stand between apostrophes in a statement: every
// apostrophe doubled, so the value can never end its literal.
QString SqlText(const QString& value);
