#include "update/download.h"

#include "util/error.h"

#include <QFileInfo>
#include <QSaveFile>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace vaha::update {
namespace {

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QString createError(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2")
        .arg(QFileInfo(path).absoluteFilePath(), reason);
}

bool isHttpError(CURL* handle) {
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    return status >= 400;
}

// Receives the body. The local file is created only when the server answers with content,
// into a temporary file that replaces the real one on commit().
struct Receiver {
    CURL* handle = nullptr;
    QString path;
    std::unique_ptr<QSaveFile> file;
    QString fileError; // raised once the transfer has been cleaned up
    bool httpError = false;

    bool open() {
        file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly)) {
            fileError = createError(path, file->errorString());
            return false;
        }
        return true;
    }
};

size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* r = static_cast<Receiver*>(user);
    const size_t bytes = size * count;
    if (!r->file) {
        // Some servers send an error page although asked to fail on an error status.
        if (isHttpError(r->handle)) {
            r->httpError = true;
            return 0;
        }
        if (!r->open())
            return 0;
    }
    if (bytes > 0 && r->file->write(data, qint64(bytes)) != qint64(bytes)) {
        r->fileError = QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QFileInfo(r->path).absoluteFilePath(), r->file->errorString());
        return 0;
    }
    return bytes;
}

struct CurlDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct HeaderList {
    curl_slist* list = nullptr;
    HeaderList() = default;
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    ~HeaderList() { curl_slist_free_all(list); }
    bool add(const char* header) {
        curl_slist* extended = curl_slist_append(list, header);
        if (!extended)
            return false;
        list = extended;
        return true;
    }
};

} // namespace

bool DownloadToFile(const QString& address, const QString& localPath) {
    initialiseCurl();
    const std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle)
        return false;

    // Always the server's current file: a proxy or cache must not answer for it.
    HeaderList headers;
    if (!headers.add("Cache-Control: no-cache") || !headers.add("Pragma: no-cache"))
        return false;

    Receiver receiver;
    receiver.handle = handle.get();
    receiver.path = localPath;

    const QByteArray url = address.toUtf8();
    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Tivrix");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.list);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, 1024L);
    // The check blocks the program: give up on a server that does not answer or stalls.
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &receiver);

    const CURLcode rc = curl_easy_perform(h);
    if (!receiver.fileError.isEmpty())
        throw Error(receiver.fileError); // the temporary file is discarded, the old one stays
    if (rc != CURLE_OK || receiver.httpError || isHttpError(h))
        return false;
    if (!receiver.file && !receiver.open()) // an empty body: an empty file
        throw Error(receiver.fileError);
    if (!receiver.file->commit())
        throw Error(createError(localPath, receiver.file->errorString()));
    return true;
}

} // namespace vaha::update
