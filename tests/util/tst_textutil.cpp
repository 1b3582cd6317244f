#include "util/cp1250.h"
#include "util/datetimevalue.h"
#include "util/error.h"
#include "util/regional.h"
#include "util/textutil.h"

#include <QTest>

using namespace vaha;

class TestTextUtil : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tokenAt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a;;b field 0") << "a;;b" << 0 << "a";
        QTest::newRow("a;;b field 1 empty") << "a;;b" << 1 << "";
        QTest::newRow("a;;b field 2") << "a;;b" << 2 << "b";
        QTest::newRow("a;;b beyond") << "a;;b" << 3 << "";
        QTest::newRow("no separator 0") << "abc" << 0 << "abc";
        QTest::newRow("no separator 1") << "abc" << 1 << "";
        QTest::newRow("negative") << "a;b" << -1 << "";
        QTest::newRow("leading separator 0") << ";x;y" << 0 << "";
        QTest::newRow("leading separator 1") << ";x;y" << 1 << "x";
        QTest::newRow("trailing separator last empty") << "x;" << 1 << "";
        QTest::newRow("nothing trimmed") << " a ; b " << 1 << " b ";
        QTest::newRow("scale line weight") << "a;b;12340|A17;x" << 2 << "12340|A17";
        QTest::newRow("empty text") << "" << 0 << "";
    }
    void tokenAt() {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(TokenAt(text, u';', index), expected);
    }

    void posFrom_data() {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("start 0 like 1") << "b"
                                        << "abcb" << 0 << 2;
        QTest::newRow("start 1") << "b"
                                 << "abcb" << 1 << 2;
        QTest::newRow("negative start") << "b"
                                        << "abcb" << -5 << 2;
        QTest::newRow("match at start position") << "b"
                                                 << "abcb" << 2 << 2;
        QTest::newRow("second occurrence") << "b"
                                           << "abcb" << 3 << 4;
        QTest::newRow("beyond end") << "b"
                                    << "abcb" << 5 << 0;
        QTest::newRow("empty needle") << ""
                                      << "abc" << 1 << 0;
        QTest::newRow("needle longer than part") << "bcd"
                                                 << "abc" << 2 << 0;
        QTest::newRow("case matters") << "B"
                                      << "abc" << 1 << 0;
        QTest::newRow("pipe in weight field") << "|"
                                              << "12340|A17" << 0 << 6;
    }
    void posFrom() {
        QFETCH(QString, needle);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, expected);
        QCOMPARE(PosFrom(needle, text, start), expected);
    }

    void replaceTextNoCase_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("oldText");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<QString>("expected");
        QTest::newRow("other case") << "VahaPLX.EXE 2024"
                                    << "vahaplx.exe"
                                    << "|"
                                    << "| 2024";
        QTest::newRow("every occurrence") << "a.000b.000"
                                          << ".000"
                                          << "|"
                                          << "a|b|";
        QTest::newRow("longer text containing old") << "ab-ab"
                                                    << "ab"
                                                    << "xabx"
                                                    << "xabx-xabx";
        QTest::newRow("no rescan into insert") << "aaa"
                                               << "a"
                                               << "aa"
                                               << "aaaaaa";
        QTest::newRow("empty old text") << "abc"
                                        << ""
                                        << "x"
                                        << "abc";
        QTest::newRow("czech letters ignore case") << "ŽLUŤOUČKÝ kůň"
                                                   << "žluťoučký"
                                                   << "x"
                                                   << "x kůň";
        QTest::newRow("version line") << "vahaPLX 2026-12-01 10:20:30.000"
                                      << "VAHAPLX"
                                      << "|"
                                      << "| 2026-12-01 10:20:30.000";
    }
    void replaceTextNoCase() {
        QFETCH(QString, text);
        QFETCH(QString, oldText);
        QFETCH(QString, newText);
        QFETCH(QString, expected);
        QCOMPARE(ReplaceTextNoCase(text, oldText, newText), expected);
    }

    void upperCaseKeepsLength() {
        const QString text = QStringLiteral("příliš žluťoučký kůň úpěl ďábelské ódy ß µ");
        const QString upper = upperCaseCp1250(text);
        QCOMPARE(upper.size(), text.size());
        QCOMPARE(upper, QStringLiteral("PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY ß µ"));
    }

    void cp1250RoundTripsEveryByte() {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QCOMPARE(cp1250::encode(cp1250::decode(all)), all);
        QCOMPARE(cp1250::encode(QStringLiteral("Váha PLX – €")),
                 QByteArray("V\xE1ha PLX \x96 \x80"));
    }

    void cp1250RefusesWhatItCannotHold() {
        QCOMPARE(cp1250::firstUnencodable(QStringLiteral("abc€ř")), qsizetype(-1));
        QCOMPARE(cp1250::firstUnencodable(QStringLiteral("ab😀")), qsizetype(2));
        QCOMPARE(cp1250::firstUnencodable(QStringLiteral("Łódź ñ")), qsizetype(5)); // ñ missing
        try {
            cp1250::encode(QStringLiteral("Zhang 张"));
            QFAIL("no error for a Chinese letter");
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(u'张'), qPrintable(e.message()));
        }
    }

    void regionalDatesReadBackWhatTheyShow_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Czech") << "cs_CZ"
                               << "17.05.2024";
        QTest::newRow("C, month names in its own format") << "C"
                                                          << "2024-05-17";
        QTest::newRow("US") << "en_US"
                            << "5/17/2024";
        QTest::newRow("year first") << "ja_JP"
                                    << "2024/05/17";
    }
    void regionalDatesReadBackWhatTheyShow() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        const QDate d(2024, 5, 17);
        const QString text = regional::formatDate(d);
        const QDate back = regional::parseCompleteDate(text);
        const QDate halfTyped = regional::parseCompleteDate(text.left(text.size() - 2));
        QLocale::setDefault(previous);
        QCOMPARE(text, shown);
        QCOMPARE(back, d);
        QVERIFY(!halfTyped.isValid());
    }

    void dateValues_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("sqlDate");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<int>("year");
        QTest::newRow("zero") << 0.0 << "1899-12-30"
                              << "1899-12-30 00:00:00" << 1899;
        QTest::newRow("17 May 2024 noon") << 45429.5 << "2024-05-17"
                                          << "2024-05-17 12:00:00" << 2024;
        QTest::newRow("31 Dec 2025 late") << 46022.99999 << "2025-12-31"
                                          << "2025-12-31 23:59:59" << 2025;
        QTest::newRow("before epoch") << -1.25 << "1899-12-29"
                                      << "1899-12-29 06:00:00" << 1899;
    }
    void dateValues() {
        QFETCH(double, value);
        QFETCH(QString, sqlDate);
        QFETCH(QString, moment);
        QFETCH(int, year);
        QCOMPARE(DateToSqlText(value), sqlDate);
        QCOMPARE(formatMoment(value), moment);
        QCOMPARE(YearOfDate(value), year);
    }
};

QTEST_GUILESS_MAIN(TestTextUtil)
#include "tst_textutil.moc"
