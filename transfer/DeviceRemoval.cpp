#include "transfer/DeviceRemoval.h"

#include "Logic/DeviceControl.h"
#include "cardlist/StoreBatch.h"
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
    // In batches of one transaction each; a batch whose commit fails is
    // deleted again card by card, so one failing card never keeps the others.
    for (CardRecord* from = list; from;) {
        CardRecord* end = from;
        for (int n = 0; end && n < CStoreBatch::kSize; ++n)
            end = end->next;
        CStoreBatch batch;
        for (CardRecord* c = from; c != end; c = c->next)
            db->DeleteCardById(c->ID);
        if (!batch.Commit())
            for (CardRecord* c = from; c != end; c = c->next)
                db->DeleteCardById(c->ID);
        from = end;
    }
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
