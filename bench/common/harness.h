#pragma once

// A small benchmark harness: warm-up runs, repetitions, the median, and one line per figure in
// the form that tools/bench collects:
//   figure NAME: VALUE UNIT, anchor ANCHOR UNIT, ratio R, goal G
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vaha::bench {

// Median wall time of `run` in milliseconds after `warmup` unmeasured runs.
inline double medianMs(const std::function<void()>& run, int repetitions = 7, int warmup = 2) {
    for (int i = 0; i < warmup; ++i)
        run();
    std::vector<double> times;
    times.reserve(std::size_t(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// `goal` is the highest acceptable value ("<= 1.3x", "<= 300 ms" …) as text for the reader.
inline void printFigure(const std::string& name, double value, const std::string& unit,
                        double anchor, const std::string& anchorUnit, const std::string& goal) {
    const double ratio = anchor > 0 ? value / anchor : 0;
    std::printf("figure %s: %.3f %s, anchor %.3f %s, ratio %.2f, goal %s\n", name.c_str(), value,
                unit.c_str(), anchor, anchorUnit.c_str(), ratio, goal.c_str());
    std::fflush(stdout);
}

// Peak resident memory of this process so far, in bytes (VmHWM).
std::size_t peakResidentBytes();
// Current resident memory, in bytes (VmRSS).
std::size_t residentBytes();

} // namespace vaha::bench
