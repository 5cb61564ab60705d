#include "transfer/DeviceRemoval.h"

#include "Logic/DeviceControl.h"
#include "store/StoreBatch.h"
#include "store/DbAccess.h"
#include "transfer/DeviceWorkDirs.h"

int DeleteDeviceThread(SyncJob* job)
{
    if (!job)
        return -1;
    CDbAccess* db = CDbAccess::GetInstance();
    // An empty key would select every card of every device.
    CardRecord* list = job->OwnerKey.isEmpty() ? nullptr : db->ListCards(job->OwnerKey);
    RunInBatches(list, [&](const CardRecord& c) { db->DeleteCardById(c.ID); });
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
