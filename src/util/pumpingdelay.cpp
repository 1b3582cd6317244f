#include "util/pumpingdelay.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <time.h>

namespace vaha {

quint32 tickCount() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return quint32(quint64(ts.tv_sec) * 1000u + quint64(ts.tv_nsec) / 1000000u);
}

void PumpingDelay(int milliseconds) {
    const quint32 start = tickCount();
    QCoreApplication* app = QCoreApplication::instance();
    if (app)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (;;) {
        const qint32 elapsed = qint32(tickCount() - start);
        const qint32 remaining = milliseconds - elapsed;
        if (remaining <= 0)
            return;
        if (!app) {
            QThread::msleep(quint32(remaining));
            continue;
        }
        // A nested loop sleeps until an event or the timer arrives, so waiting costs no CPU.
        QEventLoop loop;
        QTimer::singleShot(remaining, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::AllEvents);
    }
}

} // namespace vaha
