#pragma once
#include "store/CardRecord.h"

#include <QString>
#include <atomic>
#include <string>

// What the import and copy handlers hand to their worker. It stays the
// handler's; the worker stops touching it once it has set *Status to 2.
struct CardTransferJob {
    static constexpr size_t kFilePathCap = 512; // UTF-8 bytes with the terminator

    std::string FilePath;           // import: the card-list file, UTF-8
    CardRecord* CardList = nullptr; // copy: the source's cards; the worker releases them
    QString OwnerKey;               // the receiving device's key, e.g. "12;"
    std::atomic<int>* Status = nullptr; // the progress dialog's status word
    // Set before *Status: 0 done, -1 the import file could not be read.
    int Result = 0;
};
