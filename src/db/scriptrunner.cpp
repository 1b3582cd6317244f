#include "db/scriptrunner.h"

#include "db/connection.h"
#include "util/fileutil.h"

#include <QRegularExpression>

namespace vaha::db {
namespace {

bool beginsTransaction(const QString& statement) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(BEGIN(\\s+WORK)?|START\\s+TRANSACTION)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(statement).hasMatch();
}

bool endsTransaction(const QString& statement) {
    static const QRegularExpression re(QStringLiteral("^\\s*(COMMIT|ROLLBACK)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(statement).hasMatch();
}

} // namespace

void ScriptRunner::saveToFile(const QString& path) const {
    writeLinesCp1250(path, m_script);
}

QStringList ScriptRunner::splitStatements(const QString& text) {
    QStringList statements;
    QString current;
    QChar quote;
    bool lineComment = false;
    bool blockComment = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < n ? text[i + 1] : QChar();
        if (lineComment) {
            current += c;
            if (c == u'\n')
                lineComment = false;
            continue;
        }
        if (blockComment) {
            current += c;
            if (c == u'*' && next == u'/') {
                current += next;
                ++i;
                blockComment = false;
            }
            continue;
        }
        if (!quote.isNull()) {
            current += c;
            if (c == u'\\' && quote != u'`' && i + 1 < n) {
                current += next;
                ++i;
            } else if (c == quote) {
                if (next == quote) { // doubled quote stands for one
                    current += next;
                    ++i;
                } else {
                    quote = QChar();
                }
            }
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'`') {
            quote = c;
            current += c;
        } else if (c == u'#' ||
                   (c == u'-' && next == u'-' && (i + 2 >= n || text[i + 2].isSpace()))) {
            lineComment = true;
            current += c;
        } else if (c == u'/' && next == u'*') {
            blockComment = true;
            current += c;
        } else if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements.append(current.trimmed());
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

void ScriptRunner::execute(const AfterStatement& afterStatement) {
    Connection* connection = m_connection.data();
    if (!connection)
        throw Error(QStringLiteral("Database connection not set"));
    const QStringList statements = splitStatements(m_script.join(u'\n'));
    bool inTransaction = false;
    try {
        for (int i = 0; i < statements.size(); ++i) {
            const QString& statement = statements[i];
            connection->execute(statement);
            if (beginsTransaction(statement))
                inTransaction = true;
            else if (endsTransaction(statement))
                inTransaction = false;
            if (afterStatement)
                afterStatement(i, statement);
        }
    } catch (...) {
        if (inTransaction && connection->isConnected()) {
            try {
                connection->execute(QStringLiteral("ROLLBACK"));
            } catch (...) {
                // The original error is what the user needs to see.
            }
        }
        throw;
    }
}

} // namespace vaha::db
