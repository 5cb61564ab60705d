#pragma once
#include <QByteArray>
#include <QString>

// Transfer results of DownloadHttpFile and UploadHttpFile.
enum TransferResult {
    kTransferLocalFailure = -1, // nothing was requested: no local file or no handle
    kTransferUnknown = 0,       // an answer, but none of the known status texts
    kTransferOk = 1,            // "200 OK"
    kTransferBadRequest = 2,    // "400"
    kTransferAuthFailed = 3,    // "401 Unauthorized" or "403 Forbidden"
    kTransferNoAnswer = 4,      // nothing usable was received
};

// Fetches the URL into the local file (created or truncated). Blocking: at most
// three attempts of 5 s each, so never on the user-interface thread. When
// `httpStatus` is given it receives the final HTTP status (0 for none).
int DownloadHttpFile(QString url, QString localPath, long* httpStatus = nullptr);
// Posts the local file as the multipart form "reqformat"="plain", "file"=<file>.
int UploadHttpFile(QString url, QString localPath, long* httpStatus = nullptr);
// The result the collected response header text stands for.
int ClassifyHttpResponse(const QByteArray& headerText);

// No card list comes near this; a bigger answer is dropped rather than allowed
// to fill the disk.
constexpr qint64 kMaxDownloadBytes = 64LL << 20;
