#include "harness.h"

#include "util/cp1250.h"
#include "util/error.h"

#include <QProcess>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace vaha::bench {
namespace {

std::size_t statusField(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t len = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, len, key) == 0)
            return std::size_t(std::stoull(line.substr(len))) * 1024;
    }
    return 0;
}

std::string number(double value, int decimals) {
    return QString::number(value, 'f', decimals).toStdString();
}

} // namespace

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Pair pairedMedianMs(const std::function<void()>& run, const std::function<void()>& anchor,
                    int repetitions, int warmup) {
    for (int i = 0; i < warmup; ++i) {
        run();
        anchor();
    }
    std::vector<double> a, b;
    const auto timed = [](const std::function<void()>& f) {
        QElapsedTimer t;
        t.start();
        f();
        return double(t.nsecsElapsed()) / 1e6;
    };
    // Which goes first changes every time: the second of a pair finds the caches the first
    // left warm.
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            a.push_back(timed(run));
            b.push_back(timed(anchor));
        } else {
            b.push_back(timed(anchor));
            a.push_back(timed(run));
        }
    }
    return {median(std::move(a)), median(std::move(b))};
}

void printFigure(const std::string& name, double value, const std::string& unit, double anchor,
                 const std::string& anchorUnit, const std::string& goal) {
    const double ratio = anchor > 0 ? value / anchor : 0;
    std::printf("figure %s: %s %s, anchor %s %s, ratio %s, goal %s\n", name.c_str(),
                number(value, 3).c_str(), unit.c_str(), number(anchor, 3).c_str(),
                anchorUnit.c_str(), number(ratio, 2).c_str(), goal.c_str());
    std::fflush(stdout);
}

void printInfo(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

std::size_t peakResidentBytes() {
    return statusField("VmHWM:");
}

std::size_t residentBytes() {
    return statusField("VmRSS:");
}

void resetPeakResident() {
    // "5" resets the peak to the current resident size (Linux 4.0 and later).
    std::ofstream("/proc/self/clear_refs") << "5";
}

Server Server::fromArguments(const QStringList& arguments, QStringList* rest) {
    Server s;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QStringLiteral("--host") && hasValue)
            s.host = arguments[++i];
        else if (a == QStringLiteral("--port") && hasValue)
            s.port = arguments[++i].toInt();
        else if (a == QStringLiteral("--database") && hasValue)
            s.database = arguments[++i];
        else if (rest)
            rest->append(a);
    }
    return s;
}

QStringList Server::clientArguments() const {
    return {QStringLiteral("--no-defaults"),
            QStringLiteral("--batch"),
            QStringLiteral("--protocol=TCP"),
            QStringLiteral("-h"),
            host,
            QStringLiteral("-P"),
            QString::number(port),
            QStringLiteral("-u"),
            QStringLiteral("root"),
            QStringLiteral("--default-character-set=cp1250"),
            database};
}

int intOption(const QStringList& arguments, const QString& name, int fallback) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 ? arguments.value(at + 1).toInt() : fallback;
}

void runClient(const Server& server, const QString& script) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("mariadb"), server.clientArguments());
    if (!p.waitForStarted(-1))
        throw Error(QStringLiteral("mariadb client cannot start: ") + p.errorString());
    // The session is cp1250, as the program's own.
    p.write(cp1250::encode(script));
    p.closeWriteChannel();
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw Error(QStringLiteral("mariadb client failed: ") +
                    QString::fromLocal8Bit(p.readAllStandardError()));
}

} // namespace vaha::bench
