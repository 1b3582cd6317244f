#pragma once

#include <QByteArray>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vaha::test {

// A loopback TCP proxy in front of the test server that breaks the program's connection at a
// chosen statement, as a server crash or a broken network would: either before the statement
// reaches the server, or after the server has run it and answered but before the answer
// reaches the program (the one moment at which the program cannot know what happened).
class BreakingProxy {
public:
    enum class Break { BeforeStatement, AfterAnswer };

    explicit BreakingProxy(int serverPort);
    ~BreakingProxy();
    BreakingProxy(const BreakingProxy&) = delete;
    BreakingProxy& operator=(const BreakingProxy&) = delete;

    int port() const { return m_port; }

    // The first statement that begins with `prefix` (letter case ignored) breaks its
    // connection. With `refuseAfterwards` the proxy takes no connection after that.
    void breakAt(const QByteArray& prefix, Break how, bool refuseAfterwards = false);
    bool broke() const { return m_broke; }

private:
    void acceptLoop();
    void pump(int client, int server);
    // The break that this chunk from the program triggers, if any.
    std::optional<Break> breakFor(const QByteArray& chunk);

    int m_serverPort;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_broke{false};
    std::atomic<bool> m_refuse{false};
    std::mutex m_mutex; // guards the rule and m_pumps
    QByteArray m_prefix;
    Break m_how = Break::BeforeStatement;
    std::atomic<bool> m_refuseAfterwards{false};
    std::thread m_acceptor;
    std::vector<std::thread> m_pumps;
};

} // namespace vaha::test
