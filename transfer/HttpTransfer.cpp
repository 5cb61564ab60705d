#include "transfer/HttpTransfer.h"

#include "base/Log.h"
#include "transfer/HttpAuthSettings.h"

#include <cstdio>
#include <curl/curl.h>
#include <mutex>
#include <unistd.h>

namespace {

constexpr long kAttemptTimeoutSeconds = 5;
constexpr int kRetries = 2;
constexpr size_t kHeaderCap = 1024; // terminator included

struct Download {
    FILE* file = nullptr;
    qint64 written = 0;
    bool tooLarge = false;
};

size_t CollectHeader(char* data, size_t size, size_t count, void* userdata)
{
    auto* text = static_cast<QByteArray*>(userdata);
    const size_t bytes = size * count;
    if (!data || !text)
        return 0;
    const size_t room = kHeaderCap - 1 - size_t(text->size());
    text->append(data, qsizetype(qMin(bytes, room)));
    return bytes;
}

size_t WriteBody(char* data, size_t size, size_t count, void* userdata)
{
    auto* d = static_cast<Download*>(userdata);
    const size_t bytes = size * count;
    if (!data || !d || !d->file)
        return 0;
    if (d->written + qint64(bytes) > kMaxDownloadBytes) {
        d->tooLarge = true;
        return 0;
    }
    if (std::fwrite(data, 1, bytes, d->file) != bytes)
        return 0;
    d->written += qint64(bytes);
    return bytes;
}

// The upload's answer body is not kept (the library would print it to stdout).
size_t DropBody(char*, size_t size, size_t count, void*) { return size * count; }

// The library's own trace would carry the Authorization header; it is dropped.
int DropTrace(CURL*, curl_infotype, char*, size_t, void*) { return 0; }

// The process-wide record is loaded afresh and this transfer works on its own
// copy, so a second transfer cannot change the credentials under the first.
HttpAuthSettings FreshSettings()
{
    static std::mutex lock;
    std::lock_guard guard(lock);
    LoadHttpAuthSettings();
    return GetHttpAuthSettings();
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

// Credentials read afresh for every transfer; the library keeps its own copies
// of the texts.
void SetAuth(CURL* curl, const HttpAuthSettings& s)
{
    if (s.AuthMode != 1 && s.AuthMode != 2)
        return;
    curl_easy_setopt(curl, CURLOPT_USERNAME, s.User.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, s.Password.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, s.AuthMode == 1 ? CURLAUTH_BASIC : CURLAUTH_DIGEST);
}

void SetCommon(CURL* curl, const QByteArray& url, QByteArray* header)
{
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, header);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, DropTrace);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kAttemptTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // Worker threads: the library must not use signals for its time-outs.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
}

// The handle both transfers start from, with credentials, URL, header
// collection and time-outs set; null (logged) when the library gives none.
CURL* OpenHandle(const char* tag, const HttpAuthSettings& settings, const QByteArray& url,
                 QByteArray* header)
{
    InitCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl) {
        LogError(QStringLiteral("%s: curl is NULL."), tag);
        return nullptr;
    }
    SetAuth(curl, settings);
    SetCommon(curl, url, header);
    return curl;
}

// Up to three attempts; only transport failures are retried. `restart` runs
// before each retry so that every attempt starts from a clean slate. Returns
// the result code of the last attempt.
template <class Restart, class GiveUp>
CURLcode Perform(CURL* curl, const char* tag, const QString& url, Restart restart, GiveUp giveUp)
{
    CURLcode code = curl_easy_perform(curl);
    QString error = QString::fromUtf8(curl_easy_strerror(code));
    if (code == CURLE_OK) {
        LogError(QStringLiteral("%s: request %s success"), tag, url);
        return code;
    }
    for (int retries = kRetries; code != CURLE_OK && --retries >= 0 && !giveUp();) {
        LogError(QStringLiteral("%s: request %s failed: %s, try again"), tag, url, error);
        restart();
        code = curl_easy_perform(curl);
        error = QString::fromUtf8(curl_easy_strerror(code));
        if (code == CURLE_OK)
            LogError(QStringLiteral("%s: request %s success"), tag, url);
        else
            LogError(QStringLiteral("%s: request %s failed: %s"), tag, url, error);
    }
    return code;
}

// The header text decides, but an attempt that ended at the transport level
// never counts as an answer: a half-received body is not a success.
int Outcome(CURL* curl, CURLcode code, const QByteArray& header, long* httpStatus)
{
    long status = 0;
    if (code == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (httpStatus)
        *httpStatus = status;
    return code == CURLE_OK ? ClassifyHttpResponse(header) : kTransferNoAnswer;
}

} // namespace

int ClassifyHttpResponse(const QByteArray& headerText)
{
    if (headerText.isEmpty())
        return kTransferNoAnswer;
    if (headerText.contains("200 OK"))
        return kTransferOk;
    if (headerText.contains("400"))
        return kTransferBadRequest;
    if (headerText.contains("401 Unauthorized") || headerText.contains("403 Forbidden"))
        return kTransferAuthFailed;
    return kTransferUnknown;
}

int DownloadHttpFile(QString url, QString localPath, long* httpStatus)
{
    const char* tag = "DownloadHttpFile";
    if (httpStatus)
        *httpStatus = 0;
    const HttpAuthSettings settings = FreshSettings();
    const QByteArray url8 = url.toUtf8();
    const QByteArray path8 = localPath.toUtf8();
    Download body;
    body.file = path8.isEmpty() ? nullptr : std::fopen(path8.constData(), "wb+");
    if (!body.file) {
        LogError(QStringLiteral("%s: Failed to open file <%s>"), tag, localPath);
        return kTransferLocalFailure;
    }
    QByteArray header;
    CURL* curl = OpenHandle(tag, settings, url8, &header);
    if (!curl) {
        std::fclose(body.file);
        return kTransferLocalFailure;
    }
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);

    // A retry starts the file and the header text again, so what a failed
    // attempt left behind can never be mistaken for the answer.
    auto restart = [&] {
        header.clear();
        body.written = 0;
        std::fflush(body.file);
        std::rewind(body.file);
        [[maybe_unused]] int rc = ::ftruncate(::fileno(body.file), 0);
    };
    // The same oversized answer would come again: no retry for it.
    auto giveUp = [&] { return body.tooLarge; };
    const CURLcode code = Perform(curl, tag, url, restart, giveUp);
    if (body.tooLarge) {
        LogError(QStringLiteral("%s: answer of %s larger than %d bytes, dropped"), tag, url,
                 kMaxDownloadBytes);
        restart();
    }
    const int result = Outcome(curl, code, header, httpStatus);
    curl_easy_cleanup(curl);
    if (std::fclose(body.file) != 0 && result == kTransferOk)
        return kTransferNoAnswer;
    return result;
}

int UploadHttpFile(QString url, QString localPath, long* httpStatus)
{
    const char* tag = "UploadHttpFile";
    if (httpStatus)
        *httpStatus = 0;
    const HttpAuthSettings settings = FreshSettings();
    const QByteArray url8 = url.toUtf8();
    const QByteArray path8 = localPath.toUtf8();
    QByteArray header;
    CURL* curl = OpenHandle(tag, settings, url8, &header);
    if (!curl)
        return kTransferLocalFailure;

    curl_mime* form = curl_mime_init(curl);
    curl_mimepart* part = curl_mime_addpart(form);
    curl_mime_name(part, "reqformat");
    curl_mime_data(part, "plain", CURL_ZERO_TERMINATED);
    part = curl_mime_addpart(form);
    curl_mime_name(part, "file");
    curl_mime_filedata(part, path8.constData());
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, form);
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, DropBody);

    const CURLcode code = Perform(curl, tag, url, [&] { header.clear(); }, [] { return false; });
    const int result = Outcome(curl, code, header, httpStatus);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    curl_mime_free(form);
    return result;
}
