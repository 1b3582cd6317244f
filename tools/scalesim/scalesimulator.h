#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Answers scale requests in an exchange directory the way the scale program does: each
// request file dejvahu.txt that appears is taken away and, after a delay, answered with the
// first line of aktualni.log: field 0; field 1; weight[|alibi].
class ScaleSimulator : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QString directory;
        QStringList weights{QStringLiteral("30500000")}; // one per request, cycling
        QString alibi; // "%n" becomes the running number of the answer
        QString field0 = QStringLiteral("1");
        QString field1; // empty: the moment of the answer
        QString line;   // a whole first line instead of the fields above
        int delayMs = 1500;
        int count = 0;           // answers before ending; 0: no limit
        int idleExitSeconds = 0; // end after this long without a request; 0: never
        int pollMs = 20;
    };

    explicit ScaleSimulator(Settings settings, QObject* parent = nullptr);

    void start();
    // The first line of answer number `n` (from 1).
    QString answerLine(int n) const;
    // Writes answer `n` now (Windows-1250, CR LF), replacing an earlier answer file.
    void writeAnswer(int n);

Q_SIGNALS:
    void finished();

private:
    void poll();

    Settings m_settings;
    QTimer m_poll;
    QElapsedTimer m_idle;
    int m_requests = 0;
    int m_answered = 0;
    int m_pending = 0;
};
