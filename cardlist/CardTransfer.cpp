#include "cardlist/CardTransfer.h"

#include "Logic/DeviceControl.h"
#include "cardlist/RfKeyXml.h"
#include "store/StoreBatch.h"
#include "store/CppSQLite3Query.h"
#include "store/DbAccess.h"

namespace {

// Stores one card as the receiving device's: the file's or the source's ID and
// owner are not taken. A card that fails to store is skipped.
void StoreCard(const CardRecord& from, const QString& owner)
{
    CardRecord r;
    CopyFitting(r.DoorNumber, CardRecord::kDoorNumberCap, from.DoorNumber);
    r.Mon = from.Mon;
    r.Tue = from.Tue;
    r.Wed = from.Wed;
    r.Thur = from.Thur;
    r.Fri = from.Fri;
    r.Sat = from.Sat;
    r.Sun = from.Sun;
    r.WebRelay = from.WebRelay;
    r.Tags = from.Tags;
    r.Frequency = from.Frequency;
    CopyFitting(r.Name, CardRecord::kNameCap, from.Name);
    CopyFitting(r.Code, CardRecord::kCodeCap, from.Code);
    CopyFitting(r.TimeStart, CardRecord::kTimeCap, from.TimeStart);
    CopyFitting(r.TimeEnd, CardRecord::kTimeCap, from.TimeEnd);
    CopyFitting(r.Owner, CardRecord::kOwnerCap, owner);
    CDbAccess::GetInstance()->SaveCard(&r);
}

void StoreAll(const CardRecord* list, const QString& owner)
{
    RunInBatches(list, [&](const CardRecord& c) { StoreCard(c, owner); });
}

void Finish(CardTransferJob* job, int result)
{
    job->Result = result;
    if (job->Status)
        job->Status->store(2);
}

} // namespace

int ImportCardsThread(CardTransferJob* job)
{
    if (!job)
        return -1;
    CardRecord* list = nullptr;
    int result = -1;
    if (job->FilePath.size() < CardTransferJob::kFilePathCap)
        result = CRfKeyXml::LoadRfxmlFile(job->FilePath.c_str(), &list);
    StoreAll(list, job->OwnerKey);
    CDeviceControl::FreeRfcardList(list);
    Finish(job, result);
    return 0;
}

int CopyCardsThread(CardTransferJob* job)
{
    if (!job)
        return -1;
    CardRecord* list = job->CardList;
    job->CardList = nullptr;
    StoreAll(list, job->OwnerKey);
    CDeviceControl::FreeRfcardList(list);
    Finish(job, 0);
    return 0;
}

void SaveCardsAs(const CardRecord* list, const QString& owner) { StoreAll(list, owner); }

int ExportRfcardFile(const CardRecord* list, const QString& path)
{
    const QByteArray utf8 = path.toUtf8();
    if (utf8.isEmpty() || size_t(utf8.size()) >= CardTransferJob::kFilePathCap)
        return -1;
    return WriteRfxmlFile(list, utf8.constData());
}
