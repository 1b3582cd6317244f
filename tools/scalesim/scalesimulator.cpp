#include "scalesimulator.h"

#include "util/fileutil.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

ScaleSimulator::ScaleSimulator(Settings settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)) {
    m_poll.setInterval(m_settings.pollMs);
    connect(&m_poll, &QTimer::timeout, this, &ScaleSimulator::poll);
}

void ScaleSimulator::start() {
    m_idle.start();
    m_poll.start();
}

QString ScaleSimulator::answerLine(int n) const {
    if (!m_settings.line.isEmpty())
        return m_settings.line;
    const QString weight = m_settings.weights.value((n - 1) % m_settings.weights.size());
    QString field = weight;
    if (!m_settings.alibi.isEmpty()) {
        QString alibi = m_settings.alibi;
        alibi.replace(QStringLiteral("%n"), QString::number(n));
        field += u'|' + alibi;
    }
    const QString field1 =
        m_settings.field1.isEmpty()
            ? QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
            : m_settings.field1;
    return m_settings.field0 + u';' + field1 + u';' + field;
}

void ScaleSimulator::writeAnswer(int n) {
    const QString target = m_settings.directory + QStringLiteral("/aktualni.log");
    const QString temporary = m_settings.directory + QStringLiteral("/aktualni.tmp");
    const QString line = answerLine(n);
    // Written beside and renamed, so the program never reads half a file.
    vaha::writeLinesCp1250(temporary, {line});
    QFile::remove(target);
    QFile::rename(temporary, target);
    std::printf("%s answer %d: %s\n",
                qPrintable(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz"))),
                n, line.toUtf8().constData());
    std::fflush(stdout);
}

void ScaleSimulator::poll() {
    const QString request = m_settings.directory + QStringLiteral("/dejvahu.txt");
    if (QFileInfo::exists(request)) {
        // The request is taken away, so that the next one shows as a new file.
        QFile::remove(request);
        m_idle.restart();
        const int n = ++m_requests;
        ++m_pending;
        std::printf(
            "%s request %d\n",
            qPrintable(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz"))), n);
        std::fflush(stdout);
        QTimer::singleShot(m_settings.delayMs, Qt::PreciseTimer, this, [this, n] {
            try {
                writeAnswer(n);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "vaha-scale-sim: %s\n", e.what());
            }
            --m_pending;
            ++m_answered;
            if (m_settings.count > 0 && m_answered >= m_settings.count)
                Q_EMIT finished();
        });
        return;
    }
    if (m_pending == 0 && m_settings.idleExitSeconds > 0 &&
        m_idle.elapsed() >= qint64(m_settings.idleExitSeconds) * 1000) {
        std::printf("no request for %d s, ending\n", m_settings.idleExitSeconds);
        Q_EMIT finished();
    }
}
