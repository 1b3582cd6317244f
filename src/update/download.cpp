#include "update/download.h"

#include "util/error.h"
#include "util/fileutil.h"

#include <QSaveFile>
#include <curl/curl.h>
#include <dlfcn.h>
#include <memory>
#include <mutex>

namespace vaha::update {
namespace {

// libcurl and the libraries it brings (TLS, Kerberos, LDAP, SSH …) take about 10 ms to load,
// a tenth of the program's start; only the update check needs them, so they are loaded when it
// first runs.
struct Curl {
    CURLcode (*global_init)(long);
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
    CURLcode (*easy_perform)(CURL*);
    CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...);
    void (*easy_cleanup)(CURL*);
    curl_slist* (*slist_append)(curl_slist*, const char*);
    void (*slist_free_all)(curl_slist*);
};

template <typename F> void resolve(void* library, const char* name, F& function, QString& error) {
    function = reinterpret_cast<F>(dlsym(library, name));
    if (!function && error.isEmpty())
        error = QStringLiteral("libcurl: %1 missing").arg(QLatin1StringView(name));
}

// Loads and initialises libcurl once; throws vaha::Error when it cannot be loaded.
const Curl& curl() {
    static Curl api{};
    static QString error;
    static std::once_flag once;
    std::call_once(once, [] {
        // Debian's OpenSSL build of libcurl, else its GnuTLS build (same interface).
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            library = dlopen("libcurl-gnutls.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            error = QStringLiteral("libcurl cannot be loaded: %1")
                        .arg(QString::fromLocal8Bit(dlerror()));
            return;
        }
        resolve(library, "curl_global_init", api.global_init, error);
        resolve(library, "curl_easy_init", api.easy_init, error);
        resolve(library, "curl_easy_setopt", api.easy_setopt, error);
        resolve(library, "curl_easy_perform", api.easy_perform, error);
        resolve(library, "curl_easy_getinfo", api.easy_getinfo, error);
        resolve(library, "curl_easy_cleanup", api.easy_cleanup, error);
        resolve(library, "curl_slist_append", api.slist_append, error);
        resolve(library, "curl_slist_free_all", api.slist_free_all, error);
        if (error.isEmpty())
            api.global_init(CURL_GLOBAL_DEFAULT);
    });
    if (!error.isEmpty())
        throw Error(error);
    return api;
}

bool isHttpError(CURL* handle) {
    long status = 0;
    curl().easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
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
            fileError = fileErrorText(FileFailure::Create, path, file->errorString());
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
        r->fileError = fileErrorText(FileFailure::Write, r->path, r->file->errorString());
        return 0;
    }
    return bytes;
}

struct CurlDeleter {
    void operator()(CURL* h) const { curl().easy_cleanup(h); }
};
struct HeaderList {
    curl_slist* list = nullptr;
    HeaderList() = default;
    HeaderList(const HeaderList&) = delete;
    HeaderList& operator=(const HeaderList&) = delete;
    ~HeaderList() { curl().slist_free_all(list); }
    bool add(const char* header) {
        curl_slist* extended = curl().slist_append(list, header);
        if (!extended)
            return false;
        list = extended;
        return true;
    }
};

} // namespace

bool DownloadToFile(const QString& address, const QString& localPath) {
    const Curl& api = curl();
    const std::unique_ptr<CURL, CurlDeleter> handle(api.easy_init());
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
    api.easy_setopt(h, CURLOPT_URL, url.constData());
    api.easy_setopt(h, CURLOPT_USERAGENT, "Tivrix");
    api.easy_setopt(h, CURLOPT_HTTPHEADER, headers.list);
    api.easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    api.easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    api.easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    api.easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    api.easy_setopt(h, CURLOPT_BUFFERSIZE, 1024L);
    // The check blocks the program: give up on a server that does not answer or stalls.
    api.easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
    api.easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api.easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    api.easy_setopt(h, CURLOPT_WRITEFUNCTION, &writeBody);
    api.easy_setopt(h, CURLOPT_WRITEDATA, &receiver);

    const CURLcode rc = api.easy_perform(h);
    if (!receiver.fileError.isEmpty())
        throw Error(receiver.fileError); // the temporary file is discarded, the old one stays
    if (rc != CURLE_OK || receiver.httpError || isHttpError(h))
        return false;
    if (!receiver.file && !receiver.open()) // an empty body: an empty file
        throw Error(receiver.fileError);
    if (!receiver.file->commit())
        throw Error(fileErrorText(FileFailure::Create, localPath, receiver.file->errorString()));
    return true;
}

} // namespace vaha::update
