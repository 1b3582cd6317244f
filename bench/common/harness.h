#pragma once

// A small benchmark harness: warm-up runs, repetitions, the median, the server to measure
// against, and one line per figure in the form that tools/bench collects:
//   figure NAME: VALUE UNIT, anchor ANCHOR UNIT, ratio R, goal G
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace vaha::bench {

// The middle value (the upper one of the two middles for an even count); 0 for none.
double median(std::vector<double> values);

// Median wall time of `run` in milliseconds after `warmup` unmeasured runs; `prepare` runs
// before each of them outside the clock.
inline double medianMs(const std::function<void()>& prepare, const std::function<void()>& run,
                       int repetitions = 7, int warmup = 2) {
    for (int i = 0; i < warmup; ++i) {
        prepare();
        run();
    }
    std::vector<double> times;
    times.reserve(std::size_t(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(std::move(times));
}

inline double medianMs(const std::function<void()>& run, int repetitions = 7, int warmup = 2) {
    return medianMs([] {}, run, repetitions, warmup);
}

// Median wall times in milliseconds of a measured run and its anchor, taken in turns (A B,
// B A, A B …) so that a change of the machine's load meets both alike.
struct Pair {
    double value = 0;
    double anchor = 0;
};
Pair pairedMedianMs(const std::function<void()>& run, const std::function<void()>& anchor,
                    int repetitions = 7, int warmup = 1);

// Prints one figure. `anchorUnit` names what the anchor is ("ms (mariadb --batch)"); `goal` is
// the highest acceptable value as text for the reader ("<= 1.3x", "<= 300 ms"). Decimal points
// whatever the regional settings.
void printFigure(const std::string& name, double value, const std::string& unit, double anchor,
                 const std::string& anchorUnit, const std::string& goal);
// A line of context for the reader (counts, sizes); tools/bench keeps it in the log only.
void printInfo(const QString& text);

// Peak resident memory of this process since start or the last resetPeakResident(), in bytes.
std::size_t peakResidentBytes();
// Current resident memory, in bytes (VmRSS).
std::size_t residentBytes();
// Starts a new peak: the next peakResidentBytes() counts from the current resident size.
void resetPeakResident();

// The server and database a benchmark runs against: --host H --port P --database DB.
struct Server {
    QString host = QStringLiteral("127.0.0.1");
    int port = 33316;
    QString database = QStringLiteral("bench");

    // Reads the three options from the arguments and leaves the others in `rest`.
    static Server fromArguments(const QStringList& arguments, QStringList* rest = nullptr);

    // Arguments of the mariadb client for this server, without the statement.
    QStringList clientArguments() const;
};

// The whole number after `name` in `arguments` ("--repetitions 5"); `fallback` without it.
int intOption(const QStringList& arguments, const QString& name, int fallback);

// Runs the mariadb client once, in batch mode, with `script` on its standard input and its
// output going to /dev/null. Throws vaha::Error when the client fails.
void runClient(const Server& server, const QString& script);

} // namespace vaha::bench
