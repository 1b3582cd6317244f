#include "pdftext.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace vaha::test {
namespace {

constexpr double kMmPerPoint = 25.4 / 72;

QString unescape(QString s) {
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

} // namespace

QString popplerOutput(const QString& tool, const QStringList& arguments) {
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("%1 failed: %2")
                                    .arg(tool, QString::fromUtf8(p.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<PdfWord> pdfWords(const QString& pdfPath) {
    const QString html = popplerOutput(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    static const QRegularExpression wordRe(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (auto it = wordRe.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == u"<page ") {
            ++page;
            continue;
        }
        PdfWord w;
        w.page = page;
        w.box = QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * kMmPerPoint,
                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * kMmPerPoint);
        w.text = unescape(m.captured(5));
        words << w;
    }
    return words;
}

QList<QRectF> findText(const QList<PdfWord>& words, const QString& text, int page,
                       bool oneBaseline) {
    const QStringList wanted = text.split(u' ', Qt::SkipEmptyParts);
    QList<QRectF> found;
    if (wanted.isEmpty())
        return found;
    for (qsizetype i = 0; i + wanted.size() <= words.size(); ++i) {
        QRectF box;
        bool match = true;
        for (qsizetype k = 0; k < wanted.size() && match; ++k) {
            const PdfWord& w = words[i + k];
            match =
                w.page == page && w.text == wanted[k] &&
                (k == 0 || !oneBaseline || std::abs(w.box.bottom() - words[i].box.bottom()) < 0.5);
            box = k == 0 ? w.box : box.united(w.box);
        }
        if (match)
            found << box;
    }
    return found;
}

} // namespace vaha::test
