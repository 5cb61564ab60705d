#pragma once
#include <QString>
#include <atomic>

// What the Update From/To Device and device removal handlers hand to their
// worker. It stays the handler's; the worker stops touching it once it has set
// *Status to 2.
struct SyncJob {
    QString LocalPath;                  // the work file
    QString Url;                        // "http://<IP>/api/rfkey/export" or ".../import"
    QString OwnerKey;                   // the device's key, e.g. "12;" (not for Update To)
    std::atomic<int>* Status = nullptr; // the progress dialog's status word
};
