#pragma once
#include "transfer/SyncJob.h"

// Worker of device removal: deletes every card of job->OwnerKey, one by one (a
// card that cannot be deleted is skipped), then sets *job->Status to 2. Shows
// no message. 0, or -1 for no job.
int DeleteDeviceThread(SyncJob* job);

// After the worker: removes both work directories of the device's MAC.
void RemoveDeviceWorkDirs(const QString& mac);
