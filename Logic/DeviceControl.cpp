#include "Logic/DeviceControl.h"

#include "store/DbAccess.h"

CDeviceControl* CDeviceControl::GetInstance()
{
    static CDeviceControl* instance = new CDeviceControl; // lives until the process ends
    return instance;
}

int CDeviceControl::IsDeviceExist(const QString& mac)
{
    return CDbAccess::GetInstance()->DeviceMacExists(mac);
}

int CDeviceControl::UpdateDeviceByMac(const DeviceRecord& record)
{
    return CDbAccess::GetInstance()->UpdateDeviceByMac(record);
}

int CDeviceControl::SetDeviceState(const QString& mac, int state)
{
    return CDbAccess::GetInstance()->SetDeviceState(mac, state);
}

int CDeviceControl::GetDeviceByName(const QString& name, DeviceRecord* record)
{
    return CDbAccess::GetInstance()->GetDeviceByLocalName(name, record);
}

DeviceRecord* CDeviceControl::GetDeviceList(const QString& search, int state, int& count)
{
    CDbAccess* db = CDbAccess::GetInstance();
    if (state == 0 || state == 1) {
        count = db->CountDevicesByState(state, search);
        return db->ListDevicesByState(state, search);
    }
    count = db->CountDevices(search);
    return db->ListDevices(search);
}

CardRecord* CDeviceControl::GetRfcardList(const QString& owner, int& count)
{
    CDbAccess* db = CDbAccess::GetInstance();
    count = db->CountCards(owner);
    return db->ListCards(owner);
}

int CDeviceControl::SaveRfcard(CardRecord* record)
{
    return CDbAccess::GetInstance()->SaveCard(record);
}

void CDeviceControl::FreeRfcardList(CardRecord* head)
{
    while (head) {
        CardRecord* next = head->next;
        delete head;
        head = next;
    }
}

void CDeviceControl::FreeDeviceList(DeviceRecord* head)
{
    while (head) {
        DeviceRecord* next = head->next;
        delete head;
        head = next;
    }
}
