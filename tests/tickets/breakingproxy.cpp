#include "breakingproxy.h"

#include "util/error.h"

#include <QString>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vaha::test {
namespace {

constexpr char kComQuery = 0x03;

sockaddr_in loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(quint16(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool sendAll(int fd, const char* data, ssize_t n) {
    while (n > 0) {
        const ssize_t w = ::send(fd, data, size_t(n), MSG_NOSIGNAL);
        if (w <= 0)
            return false;
        data += w;
        n -= w;
    }
    return true;
}

} // namespace

BreakingProxy::BreakingProxy(int serverPort) : m_serverPort(serverPort) {
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = loopback(0);
    socklen_t len = sizeof a;
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(m_listen, 16) != 0 ||
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        throw Error(QStringLiteral("The test proxy cannot listen"));
    m_port = ntohs(a.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

BreakingProxy::~BreakingProxy() {
    m_stop = true;
    m_acceptor.join();
    std::lock_guard lock(m_mutex);
    for (std::thread& t : m_pumps)
        t.join();
}

void BreakingProxy::breakAt(const QByteArray& prefix, Break how, bool refuseAfterwards) {
    std::lock_guard lock(m_mutex);
    m_prefix = prefix.toLower();
    m_how = how;
    m_refuseAfterwards = refuseAfterwards;
}

void BreakingProxy::acceptLoop() {
    while (!m_stop && !m_refuse) {
        pollfd p{m_listen, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int client = ::accept(m_listen, nullptr, nullptr);
        if (client < 0)
            continue;
        if (m_refuse) { // taken from the backlog after the break: refused all the same
            ::close(client);
            break;
        }
        const int server = ::socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in a = loopback(m_serverPort);
        if (server < 0 || ::connect(server, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
            ::close(client);
            if (server >= 0)
                ::close(server);
            continue;
        }
        std::lock_guard lock(m_mutex);
        m_pumps.emplace_back([this, client, server] { pump(client, server); });
    }
    // Closed, the port refuses every further connection.
    ::close(m_listen);
}

std::optional<BreakingProxy::Break> BreakingProxy::breakFor(const QByteArray& chunk) {
    // A query packet: three bytes of length, a sequence number, the command, the text.
    if (m_broke || chunk.size() < 5 || chunk[4] != kComQuery)
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    if (m_prefix.isEmpty() || !chunk.mid(5).trimmed().toLower().startsWith(m_prefix))
        return std::nullopt;
    return m_how;
}

void BreakingProxy::pump(int client, int server) {
    char buffer[65536];
    while (!m_stop) {
        pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (::poll(p, 2, 50) <= 0)
            continue;
        if (p[0].revents) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            const QByteArray chunk(buffer, qsizetype(n));
            if (const auto how = breakFor(chunk)) {
                if (*how == Break::AfterAnswer && sendAll(server, buffer, n)) {
                    pollfd answer{server, POLLIN, 0};
                    if (::poll(&answer, 1, 30000) > 0)
                        (void)::recv(server, buffer, sizeof buffer, 0); // dropped
                }
                m_refuse = m_refuseAfterwards.load();
                m_broke = true;
                break;
            }
            if (!sendAll(server, buffer, n))
                break;
        }
        if (p[1].revents) {
            const ssize_t n = ::recv(server, buffer, sizeof buffer, 0);
            if (n <= 0 || !sendAll(client, buffer, n))
                break;
        }
    }
    ::close(client);
    ::close(server);
}

} // namespace vaha::test
