#include "Logic/DeviceControl.h"

#include "Logic/Control.h"
#include "base/Log.h"
#include "store/DbAccess.h"

CDeviceControl* CDeviceControl::GetInstance()
{
    static CDeviceControl* instance = new CDeviceControl; // lives until the process ends
    return instance;
}

CDeviceControl::CDeviceControl()
{
    m_server.SetHandlers(
        [this](const QString& ip, int port) { OnDeviceConnected(ip, port); },
        [](const SocketMsg& msg) {
            CControl::GetInstance()->PostCtrlMsg(&msg, sizeof msg, CTRL_MSG_TCP_PACKET);
        });
}

void CDeviceControl::OnDeviceConnected(const QString& ip, int port)
{
    LogInfo(QStringLiteral("=====line===%d====func===%s===="), 86,
            "CDeviceControl::OnDeviceConnected");
    DeviceConnectedInfo info;
    CopyIpText(info.PeerIP, ip);
    info.PeerPort = port;
    CControl::GetInstance()->PostCtrlMsg(&info, sizeof info, CTRL_MSG_DEVICE_CONNECTED);
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

int CDeviceControl::ResetDeviceStates() { return CDbAccess::GetInstance()->ResetDeviceStates(); }

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
