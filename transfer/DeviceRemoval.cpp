#include "transfer/DeviceRemoval.h"

#include "Logic/DeviceControl.h"
#include "store/DbAccess.h"
#include "transfer/DeviceWorkDirs.h"

int DeleteDeviceThread(SyncJob* job)
{
    if (!job)
        return -1;
    CDbAccess* db = CDbAccess::GetInstance();
    // An empty key would select every card of every device.
    CardRecord* list = nullptr;
    if (!job->OwnerKey.isEmpty()) {
        db->CountCards(job->OwnerKey);
        list = db->ListCards(job->OwnerKey);
    }
    for (CardRecord* c = list; c; c = c->next)
        db->DeleteCardById(c->ID);
    CDeviceControl::FreeRfcardList(list);
    if (job->Status)
        job->Status->store(2);
    return 0;
}

void RemoveDeviceWorkDirs(const QString& mac)
{
    RemoveDirectoryTree(GetUpdateFromDir(mac));
    RemoveDirectoryTree(GetUpdateToDir(mac));
}
