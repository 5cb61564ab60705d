#pragma once
#include "transfer/SyncJob.h"

#include <QString>

// Result messages of the two synchronisations.
inline const QString kMsgUpdateSucceeded = QStringLiteral("Updating Succeeded.");
inline const QString kMsgErrorCommand = QStringLiteral("Error command.");
inline const QString kMsgAuthFailed = QStringLiteral("Authentication failed.");
inline const QString kMsgUpdateFailed = QStringLiteral("Update failed\uFF0Cplease try again.");

// Fills the job for Update From Device of the device with this ID, IP and MAC,
// makes sure its update-from directory exists and empties it, so no earlier
// download is left. 0, or -1 when the MAC gives no work directory.
int PrepareUpdateFromDevice(int deviceId, const QString& ip, const QString& mac, SyncJob& job);
// Fills the job for Update To Device and writes the device's cards to the
// upload work file. 0, or -1 when the MAC gives no work directory.
int PrepareUpdateToDevice(int deviceId, const QString& ip, const QString& mac, SyncJob& job);

// Writes the cards of the owner, in ascending ID, to the upload work file; a
// device without cards gives a list without cards. 0 written, -1 not.
int BuildUpdateToFile(const QString& ownerKey, const QString& localPath);

// Workers: download and merge, or upload. Each sets *job->Status to 2 and then
// shows its result message. Return 0, or -1 for no job.
int UpdateFromDeviceThread(SyncJob* job);
int UpdateToDeviceThread(SyncJob* job);
