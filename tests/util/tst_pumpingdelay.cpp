#include "util/pumpingdelay.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <ctime>

using namespace vaha;

namespace {
double cpuSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}
} // namespace

class TestPumpingDelay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void waitsRunningEventsWithoutBurningACore() {
        bool fired = false;
        QTimer::singleShot(100, this, [&] { fired = true; });
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = cpuSeconds();
        PumpingDelay(500);
        const qint64 elapsed = wall.elapsed();
        const double cpu = cpuSeconds() - cpu0;
        QVERIFY2(elapsed >= 500, qPrintable(QString::number(elapsed)));
        QVERIFY(fired); // an event that came due during the wait ran inside it
        QVERIFY2(cpu < 0.2, qPrintable(QStringLiteral("CPU %1 s during a 0.5 s wait").arg(cpu)));
    }

    void zeroAndNegativeProcessEventsOnce() {
        for (const int wait : {0, -10}) {
            bool ran = false;
            QMetaObject::invokeMethod(
                this, [&] { ran = true; }, Qt::QueuedConnection);
            PumpingDelay(wait);
            QVERIFY(ran);
        }
    }
};

QTEST_GUILESS_MAIN(TestPumpingDelay)
#include "tst_pumpingdelay.moc"
