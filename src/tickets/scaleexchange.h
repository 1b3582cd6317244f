#pragma once

#include <QString>
#include <functional>

// The file exchange with the scale program. The scale program watches the exchange directory;
// a request is a copy of vahaPLX.ini named dejvahu.txt, the answer is aktualni.log whose first
// line carries the weight in field 2 (fields split at ';'), optionally followed by '|' and the
// scale's reference text (the alibi).
namespace vaha::tickets {

class ScaleExchange {
public:
    // At most this many looks for the answer, each after a wait that keeps the window running.
    static constexpr int kLooks = 20;
    static constexpr int kLookIntervalMs = 500;

    ScaleExchange(QString directory, QString programConfigPath);

    QString requestPath() const;
    QString answerPath() const;

    // Copies the program configuration file to the request file, keeping its modification
    // time. A failed copy is not reported: the wait then simply gets no answer.
    void sendRequest() const;
    bool answerExists() const;

    enum class Wait { Answered, NoAnswer, Abandoned };
    // Up to kLooks times: wait kLookIntervalMs with events running, then ask `stillWanted`
    // (false ends the wait as Abandoned, before anything else is touched) and look for the
    // answer. Static so that nothing of the caller is touched after a wait the caller did not
    // survive.
    static Wait waitForAnswer(const QString& answerPath, const std::function<bool()>& stillWanted);

    // The first line of the answer file, Windows-1250. Throws "Cannot open file ..." when it
    // cannot be read and "List index out of bounds (0)" when it has no line.
    static QString firstLine(const QString& answerPath);

    // Field 2 of the answer line, the weight field: the figure, for gross and tare possibly
    // followed by '|' and the alibi text.
    static QString weightField(const QString& line);
    static bool hasAlibi(const QString& weightField);
    // Gross or tare: the figure before '|', regional format, divided by 1000.
    static double readingValue(const QString& weightField);
    // Net: the whole field, regional format, divided by 1000.
    static double netValue(const QString& weightField);

private:
    QString m_directory;
    QString m_programConfigPath;
};

} // namespace vaha::tickets
