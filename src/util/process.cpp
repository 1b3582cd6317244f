#include "util/process.h"

#include "util/fileutil.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vaha {

QStringList splitCommandLine(const QString& commandLine) {
    QStringList words;
    QString word;
    bool inQuotes = false;
    bool haveWord = false;
    for (const QChar c : commandLine) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            haveWord = true;
        } else if ((c == u' ' || c == u'\t') && !inQuotes) {
            if (haveWord)
                words.append(word);
            word.clear();
            haveWord = false;
        } else {
            word += c;
            haveWord = true;
        }
    }
    if (haveWord)
        words.append(word);
    return words;
}

QString resolveProgram(const QString& name) {
    if (name.isEmpty())
        return {};
    auto runnable = [](const QString& path) {
        const QFileInfo info(path);
        return info.isFile() && info.isExecutable();
    };
    if (name.contains(u'/'))
        return runnable(name) ? QFileInfo(name).absoluteFilePath() : QString();
    for (const QString& dir : {ProgramDirectory(), QDir::currentPath() + u'/'}) {
        if (runnable(dir + name))
            return QFileInfo(dir + name).absoluteFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

bool StartProgram(const QString& commandLine, bool hidden, bool wait) {
    Q_UNUSED(hidden);
    QStringList words = splitCommandLine(commandLine);
    if (words.isEmpty())
        return false;
    const QString program = resolveProgram(words.takeFirst());
    if (program.isEmpty())
        return false;
    if (!wait)
        return QProcess::startDetached(program, words, QDir::currentPath());
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, words);
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    return true;
}

} // namespace vaha
