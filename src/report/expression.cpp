#include "report/expression.h"

#include "util/error.h"
#include "util/regional.h"

#include <cmath>

namespace vaha::report {
namespace {

// Recursive descent over one expression:
//   expr   := term (("+" | "-") term)*
//   term   := factor (("*" | "/") factor)*
//   factor := "-" factor | "(" expr ")" | number | 'text' | reference | "<" reference ">"
//   reference := name "." "\"" column "\"" | name
class Parser {
public:
    Parser(QStringView source, const EvalContext& context) : m_s(source), m_context(context) {}

    Value parse() {
        skipBlanks();
        if (atEnd())
            fail(QStringLiteral("prázdný výraz"));
        Value v = expr();
        skipBlanks();
        if (!atEnd())
            fail(QStringLiteral("nečekaný znak '%1'").arg(m_s[m_pos]));
        return v;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw Error(QStringLiteral("Chyba ve výrazu [%1]: %2.").arg(m_s, what));
    }

    bool atEnd() const { return m_pos >= m_s.size(); }
    void skipBlanks() {
        while (!atEnd() && m_s[m_pos].isSpace())
            ++m_pos;
    }
    bool take(QChar c) {
        skipBlanks();
        if (!atEnd() && m_s[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    static double asNumber(const Value& v) { return v.kind == Value::Kind::Null ? 0 : v.number; }

    void requireNumbers(const Value& a, const Value& b, QChar op) const {
        auto numeric = [](const Value& v) {
            return v.kind == Value::Kind::Number || v.kind == Value::Kind::Null;
        };
        if (!numeric(a) || !numeric(b))
            fail(QStringLiteral("operátor '%1' potřebuje čísla").arg(op));
    }

    Value expr() {
        Value left = term();
        for (;;) {
            if (take(u'+')) {
                const Value right = term();
                if (left.kind == Value::Kind::Text || right.kind == Value::Kind::Text) {
                    left = Value::ofText(formatValue(left, {}) + formatValue(right, {}));
                } else {
                    requireNumbers(left, right, u'+');
                    left = Value::ofNumber(asNumber(left) + asNumber(right));
                }
            } else if (take(u'-')) {
                const Value right = term();
                requireNumbers(left, right, u'-');
                left = Value::ofNumber(asNumber(left) - asNumber(right));
            } else {
                return left;
            }
        }
    }

    Value term() {
        Value left = factor();
        for (;;) {
            if (take(u'*')) {
                const Value right = factor();
                requireNumbers(left, right, u'*');
                left = Value::ofNumber(asNumber(left) * asNumber(right));
            } else if (take(u'/')) {
                const Value right = factor();
                requireNumbers(left, right, u'/');
                if (asNumber(right) == 0)
                    fail(QStringLiteral("dělení nulou"));
                left = Value::ofNumber(asNumber(left) / asNumber(right));
            } else {
                return left;
            }
        }
    }

    Value factor() {
        skipBlanks();
        if (atEnd())
            fail(QStringLiteral("výraz končí předčasně"));
        const QChar c = m_s[m_pos];
        if (c == u'-') {
            ++m_pos;
            const Value v = factor();
            requireNumbers(v, v, u'-');
            return Value::ofNumber(-asNumber(v));
        }
        if (c == u'(') {
            ++m_pos;
            const Value v = expr();
            if (!take(u')'))
                fail(QStringLiteral("chybí ')'"));
            return v;
        }
        if (c.isDigit())
            return numberLiteral();
        if (c == u'\'')
            return textLiteral();
        if (c == u'<') {
            ++m_pos;
            const Value v = reference();
            if (!take(u'>'))
                fail(QStringLiteral("chybí '>'"));
            return v;
        }
        if (c.isLetter() || c == u'_')
            return reference();
        fail(QStringLiteral("nečekaný znak '%1'").arg(c));
    }

    Value numberLiteral() {
        const qsizetype start = m_pos;
        while (!atEnd() && (m_s[m_pos].isDigit() || m_s[m_pos] == u'.'))
            ++m_pos;
        bool ok = false;
        const double v = m_s.mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("'%1' není číslo").arg(m_s.mid(start, m_pos - start)));
        return Value::ofNumber(v);
    }

    Value textLiteral() {
        QString text;
        ++m_pos; // opening quote
        for (;;) {
            if (atEnd())
                fail(QStringLiteral("neukončený text"));
            const QChar c = m_s[m_pos++];
            if (c == u'\'') {
                if (!atEnd() && m_s[m_pos] == u'\'') {
                    text += c; // '' is one quote
                    ++m_pos;
                    continue;
                }
                return Value::ofText(text);
            }
            text += c;
        }
    }

    QString name() {
        skipBlanks();
        const qsizetype start = m_pos;
        while (!atEnd() && (m_s[m_pos].isLetterOrNumber() || m_s[m_pos] == u'_'))
            ++m_pos;
        if (start == m_pos)
            fail(QStringLiteral("chybí jméno"));
        return m_s.mid(start, m_pos - start).toString();
    }

    Value reference() {
        const QString first = name();
        if (!atEnd() && m_s[m_pos] == u'.') {
            ++m_pos;
            if (atEnd() || m_s[m_pos] != u'"')
                fail(QStringLiteral("jméno sloupce patří do uvozovek: %1.\"SLOUPEC\"").arg(first));
            const qsizetype close = m_s.indexOf(u'"', m_pos + 1);
            if (close < 0)
                fail(QStringLiteral("chybí uzavírací uvozovka"));
            const QString column = m_s.mid(m_pos + 1, close - m_pos - 1).toString();
            m_pos = close + 1;
            const DataSet* ds = m_context.dataSet(first);
            if (!ds)
                fail(QStringLiteral("neznámá datová sada \"%1\"").arg(first));
            const std::optional<Value> v = ds->field(column);
            if (!v)
                fail(QStringLiteral("datová sada \"%1\" nemá sloupec \"%2\"").arg(first, column));
            return *v;
        }
        if (m_context.variables) {
            if (const Variable* var = findVariable(*m_context.variables, first))
                return Value::ofText(var->value);
        }
        fail(QStringLiteral("neznámá proměnná \"%1\"").arg(first));
    }

    QStringView m_s;
    qsizetype m_pos = 0;
    const EvalContext& m_context;
};

} // namespace

const DataSet* EvalContext::dataSet(QStringView name) const {
    for (const NamedDataSet& d : dataSets) {
        if (d.name.compare(name, Qt::CaseInsensitive) == 0)
            return d.dataSet;
    }
    return nullptr;
}

Value evaluate(QStringView expression, const EvalContext& context) {
    return Parser(expression, context).parse();
}

QString expandText(const QString& text, const EvalContext& context, const QString& dateFormat) {
    QString out;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'[', pos);
        if (open < 0) {
            out += QStringView(text).mid(pos);
            break;
        }
        out += QStringView(text).mid(pos, open - pos);
        // The closing bracket, skipping quoted column names and texts.
        qsizetype close = open + 1;
        QChar quote;
        for (; close < text.size(); ++close) {
            const QChar c = text[close];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u']') {
                break;
            }
        }
        if (close >= text.size()) {
            throw Error(QStringLiteral("Chyba ve výrazu: chybí ']' za \"%1\".")
                            .arg(QStringView(text).mid(open, 40)));
        }
        const Value v = evaluate(QStringView(text).mid(open + 1, close - open - 1), context);
        out += formatValue(v, dateFormat);
        pos = close + 1;
    }
    return out;
}

QString formatValue(const Value& value, const QString& dateFormat) {
    switch (value.kind) {
    case Value::Kind::Null:
        return {};
    case Value::Kind::Number:
        return regional::formatFloat(value.number);
    case Value::Kind::Text:
        return value.text;
    case Value::Kind::Date:
    case Value::Kind::DateTime:
        if (value.number == 0)
            return {};
        if (!dateFormat.isEmpty())
            return formatDateTime(dateFormat, value.number);
        return value.kind == Value::Kind::Date ? regional::formatDate(value.number)
                                               : regional::formatDateTime(value.number);
    }
    return {};
}

QString formatDateTime(const QString& format, DateTimeValue value) {
    const QDateTime moment = fromDateTimeValue(value);
    const QDate d = moment.date();
    const QTime t = moment.time();
    auto two = [](int v) {
        return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
    };
    QString out;
    qsizetype i = 0;
    auto run = [&](QChar c) {
        qsizetype n = 0;
        while (i + n < format.size() && format[i + n].toLower() == c)
            ++n;
        return n;
    };
    while (i < format.size()) {
        const QChar c = format[i];
        const QChar lc = c.toLower();
        if (c == u'"' || c == u'\'') {
            const qsizetype close = format.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            out += QStringView(format).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const qsizetype n =
            (lc == u'd' || lc == u'm' || lc == u'y' || lc == u'h' || lc == u'n' || lc == u's')
                ? run(lc)
                : 0;
        if (n == 0) {
            out += c;
            ++i;
            continue;
        }
        if (lc == u'd')
            out += n == 1 ? QString::number(d.day()) : two(d.day());
        else if (lc == u'm')
            out += n == 1   ? QString::number(d.month())
                   : n == 2 ? two(d.month())
                            : regional::locale().standaloneMonthName(
                                  d.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        else if (lc == u'y')
            out += n <= 2 ? two(d.year() % 100) : QString::number(d.year());
        else if (lc == u'h')
            out += n == 1 ? QString::number(t.hour()) : two(t.hour());
        else if (lc == u'n')
            out += n == 1 ? QString::number(t.minute()) : two(t.minute());
        else
            out += n == 1 ? QString::number(t.second()) : two(t.second());
        i += n;
    }
    return out;
}

} // namespace vaha::report
