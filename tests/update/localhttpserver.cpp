#include "localhttpserver.h"

#include <QHostAddress>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

namespace vaha::test {

// Answers one connection: reads the request head, sends the reply and closes.
class HttpWorker : public QObject {
public:
    // A child of the socket, so it goes with it.
    HttpWorker(LocalHttpServer& owner, QTcpSocket* socket)
        : QObject(socket), m_owner(owner), m_socket(socket) {
        connect(socket, &QTcpSocket::readyRead, this, [this] { onRead(); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void onRead() {
        m_head += m_socket->readAll();
        const qsizetype end = m_head.indexOf("\r\n\r\n");
        if (end < 0 || m_answered)
            return;
        m_answered = true;
        const QString head = QString::fromLatin1(m_head.left(end));
        m_owner.record(head);
        const QString path = head.section(u' ', 1, 1);
        const LocalHttpServer::Reply reply = m_owner.replyFor(path);
        QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) +
                         (reply.status < 400 ? " OK" : " Error") +
                         "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                         "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
        out += reply.breakOffAfter >= 0 ? reply.body.left(reply.breakOffAfter) : reply.body;
        m_socket->write(out);
        m_socket->disconnectFromHost();
    }

    LocalHttpServer& m_owner;
    QTcpSocket* m_socket;
    QByteArray m_head;
    bool m_answered = false;
};

LocalHttpServer::LocalHttpServer() {
    m_thread.start();
    QSemaphore listening;
    auto* server = new QTcpServer;
    server->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        server,
        [this, server, &listening] {
            QObject::connect(server, &QTcpServer::newConnection, server, [this, server] {
                while (QTcpSocket* socket = server->nextPendingConnection())
                    new HttpWorker(*this, socket);
            });
            server->listen(QHostAddress::LocalHost, 0);
            m_port = server->serverPort();
            listening.release();
        },
        Qt::QueuedConnection);
    listening.acquire();
    m_server = server;
}

LocalHttpServer::~LocalHttpServer() {
    QMetaObject::invokeMethod(
        m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QString LocalHttpServer::origin() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void LocalHttpServer::setReply(const QString& path, const Reply& reply) {
    QMutexLocker lock(&m_mutex);
    m_replies.insert(path, reply);
}

void LocalHttpServer::remove(const QString& path) {
    QMutexLocker lock(&m_mutex);
    m_replies.remove(path);
}

QStringList LocalHttpServer::requests() const {
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

LocalHttpServer::Reply LocalHttpServer::replyFor(const QString& path) const {
    QMutexLocker lock(&m_mutex);
    return m_replies.value(path, Reply{404, QByteArray("<html>Not Found</html>")});
}

void LocalHttpServer::record(const QString& request) {
    QMutexLocker lock(&m_mutex);
    m_requests.append(request);
}

} // namespace vaha::test
