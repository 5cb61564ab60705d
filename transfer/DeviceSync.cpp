#include "transfer/DeviceSync.h"

#include "Logic/DeviceControl.h"
#include "base/MessageBox.h"
#include "base/WFormat.h"
#include "cardlist/CardTransfer.h"
#include "cardlist/RfKeyXml.h"
#include "store/DbAccess.h"
#include "transfer/DeviceWorkDirs.h"
#include "transfer/HttpTransfer.h"

#include <QFileInfo>

namespace {

const QString kExportPath = QStringLiteral("/api/rfkey/export");
const QString kImportPath = QStringLiteral("/api/rfkey/import");

QString DeviceUrl(const QString& ip, const QString& path)
{
    return WFormatV(QStringLiteral("http://%s%s"), ip, path);
}

// An answer that is neither a success nor one of the device's known refusals
// (a 404, a 500, nothing opened locally) is a failed update, not a success.
bool Succeeded(int result, long httpStatus)
{
    return result == kTransferOk ||
           (result == kTransferUnknown && httpStatus >= 200 && httpStatus < 300);
}

QString Message(int result, long httpStatus)
{
    switch (result) {
    case kTransferBadRequest:
        return kMsgErrorCommand;
    case kTransferAuthFailed:
        return kMsgAuthFailed;
    default:
        return Succeeded(result, httpStatus) ? kMsgUpdateSucceeded : kMsgUpdateFailed;
    }
}

void Finish(SyncJob* job)
{
    if (job->Status)
        job->Status->store(2);
}

} // namespace

int PrepareUpdateFromDevice(int deviceId, const QString& ip, const QString& mac, SyncJob& job)
{
    job.OwnerKey = OwnerKey(deviceId);
    job.Url = DeviceUrl(ip, kExportPath);
    job.LocalPath = GetUpdateFromFile(mac);
    if (job.LocalPath.isEmpty())
        return -1;
    // Devices added before their directories existed get them now.
    CreateDeviceWorkDirs(mac);
    ClearDirectoryFiles(GetUpdateFromDir(mac));
    return 0;
}

int PrepareUpdateToDevice(int deviceId, const QString& ip, const QString& mac, SyncJob& job)
{
    job.OwnerKey.clear();
    job.Url = DeviceUrl(ip, kImportPath);
    job.LocalPath = GetUpdateToFile(mac);
    if (job.LocalPath.isEmpty())
        return -1;
    CreateDeviceWorkDirs(mac);
    return BuildUpdateToFile(OwnerKey(deviceId), job.LocalPath);
}

int BuildUpdateToFile(const QString& ownerKey, const QString& localPath)
{
    CDbAccess* db = CDbAccess::GetInstance();
    CardRecord* list = ownerKey.isEmpty() ? nullptr : db->ListCards(ownerKey);
    const int result = WriteRfxmlFile(list, localPath.toUtf8().constData());
    CDeviceControl::FreeRfcardList(list);
    return result;
}

int UpdateFromDeviceThread(SyncJob* job)
{
    if (!job)
        return -1;
    const QString owner = job->OwnerKey;
    long status = 0;
    const int result = DownloadHttpFile(job->Url, job->LocalPath, &status);
    if (!Succeeded(result, status)) {
        Finish(job);
        ShowMessageBox(Message(result, status), kMsgCaption, kMsgStyleOk);
        return 0;
    }
    // An empty answer is an empty list; the reader would only log it as broken.
    CardRecord* list = nullptr;
    if (QFileInfo(job->LocalPath).size() > 0)
        list = CRfKeyXml::ParseRfxmlFile(job->LocalPath.toUtf8().constData());
    if (!owner.isEmpty())
        SaveCardsAs(list, owner);
    CDeviceControl::FreeRfcardList(list);
    Finish(job);
    ShowMessageBox(kMsgUpdateSucceeded, kMsgCaption, kMsgStyleOk);
    return 0;
}

int UpdateToDeviceThread(SyncJob* job)
{
    if (!job)
        return -1;
    long status = 0;
    const int result = UploadHttpFile(job->Url, job->LocalPath, &status);
    Finish(job);
    ShowMessageBox(Message(result, status), kMsgCaption, kMsgStyleOk);
    return 0;
}
