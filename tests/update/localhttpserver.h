#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

class QTcpServer;

namespace vaha::test {

// A small HTTP server on the loopback interface for the update tests. It runs on a thread of
// its own, because the download it answers blocks the test's thread. Paths not set answer 404.
class LocalHttpServer {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        // Sends only this many bytes of the body, then closes (a transfer that breaks off).
        qsizetype breakOffAfter = -1;
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "http://127.0.0.1:<port>"
    QString origin() const;
    // The update base address the tests use: origin() + "/soubory/".
    QString baseUrl() const { return origin() + QStringLiteral("/soubory/"); }

    void setReply(const QString& path, const Reply& reply);
    void setFile(const QString& path, const QByteArray& body) { setReply(path, Reply{200, body}); }
    void remove(const QString& path);

    // Request lines and headers received so far, one entry per request.
    QStringList requests() const;

private:
    friend class HttpWorker;
    Reply replyFor(const QString& path) const;
    void record(const QString& request);

    mutable QMutex m_mutex;
    QHash<QString, Reply> m_replies;
    QStringList m_requests;
    QThread m_thread;
    QTcpServer* m_server = nullptr; // lives on m_thread
    quint16 m_port = 0;
};

} // namespace vaha::test
