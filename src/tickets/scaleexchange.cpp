#include "tickets/scaleexchange.h"

#include "util/error.h"
#include "util/fileutil.h"
#include "util/pumpingdelay.h"
#include "util/regional.h"
#include "util/textutil.h"

#include <QFileInfo>

namespace vaha::tickets {

ScaleExchange::ScaleExchange(QString directory, QString programConfigPath)
    : m_directory(std::move(directory)), m_programConfigPath(std::move(programConfigPath)) {}

QString ScaleExchange::requestPath() const {
    return m_directory + QStringLiteral("/dejvahu.txt");
}

QString ScaleExchange::answerPath() const {
    return m_directory + QStringLiteral("/aktualni.log");
}

void ScaleExchange::sendRequest() const {
    CopyFileKeepDate(m_programConfigPath, requestPath());
}

bool ScaleExchange::answerExists() const {
    return QFileInfo::exists(answerPath());
}

ScaleExchange::Wait ScaleExchange::waitForAnswer(const QString& answerPath,
                                                 const std::function<bool()>& stillWanted) {
    for (int look = 0; look < kLooks; ++look) {
        PumpingDelay(kLookIntervalMs);
        if (stillWanted && !stillWanted())
            return Wait::Abandoned;
        if (QFileInfo::exists(answerPath))
            return Wait::Answered;
    }
    return Wait::NoAnswer;
}

QString ScaleExchange::firstLine(const QString& answerPath) {
    const QStringList lines = readLinesCp1250(answerPath);
    if (lines.isEmpty())
        throw Error(QStringLiteral("List index out of bounds (0)"));
    return lines.first();
}

QString ScaleExchange::weightField(const QString& line) {
    return TokenAt(line, u';', 2);
}

bool ScaleExchange::hasAlibi(const QString& weightField) {
    return PosFrom(u"|", weightField, 0) > 0;
}

double ScaleExchange::readingValue(const QString& weightField) {
    return regional::parseFloat(TokenAt(weightField, u'|', 0)) / 1000;
}

double ScaleExchange::netValue(const QString& weightField) {
    return regional::parseFloat(weightField) / 1000;
}

} // namespace vaha::tickets
