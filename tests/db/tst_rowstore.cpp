#include "db/field.h"
#include "db/rowstore.h"
#include "util/error.h"

#include <QLocale>
#include <QTest>

using namespace vaha::db;

class TestRowStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shortAndWideRowsKeepNullsAndEmptyTexts() {
        RowStore store;
        store.reset(3);
        const std::string big(70000, 'x'); // needs 32-bit offsets and a block of its own
        const char* r1[] = {"abc", nullptr, ""};
        const unsigned long l1[] = {3, 0, 0};
        const char* r2[] = {big.data(), "z", nullptr};
        const unsigned long l2[] = {70000, 1, 0};
        for (int i = 0; i < 5000; ++i) {
            store.append(r1, l1);
            store.append(r2, l2);
        }
        QCOMPARE(store.rowCount(), 10000);
        QCOMPARE(*store.value(0, 0), QByteArrayView("abc"));
        QVERIFY(!store.value(0, 1));
        QVERIFY(store.value(0, 2) && store.value(0, 2)->isEmpty()); // empty, not NULL
        QCOMPARE(store.value(9999, 0)->size(), 70000);
        QCOMPARE(*store.value(9999, 1), QByteArrayView("z"));
        QVERIFY(!store.value(9999, 2));
        QVERIFY(!store.value(10000, 0));
        QVERIFY(!store.value(0, 3));
    }

    void regionalTextsOfValues_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("shown");
        QTest::newRow("decimal comma, no trailing zeros")
            << int(FieldType::Decimal) << QByteArray("20.3000") << "20,3";
        QTest::newRow("no grouping")
            << int(FieldType::Decimal) << QByteArray("123456.5000") << "123456,5";
        QTest::newRow("float shortest")
            << int(FieldType::Float) << QByteArray("20.299999999999997") << "20,3";
        QTest::newRow("zero") << int(FieldType::Decimal) << QByteArray("0.0000") << "0";
        QTest::newRow("negative") << int(FieldType::Decimal) << QByteArray("-12.0000") << "-12";
        QTest::newRow("date") << int(FieldType::Date) << QByteArray("2024-05-17") << "17.05.2024";
        QTest::newRow("zero date") << int(FieldType::Date) << QByteArray("0000-00-00") << "";
        QTest::newRow("moment") << int(FieldType::DateTime) << QByteArray("2024-05-17 08:05:09")
                                << "17.05.2024 8:05:09";
        QTest::newRow("text cp1250")
            << int(FieldType::String) << QByteArray("P\xf8\xedjem") << "Příjem";
    }
    void regionalTextsOfValues() {
        QFETCH(int, type);
        QFETCH(QByteArray, raw);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        Field f;
        f.type = FieldType(type);
        QCOMPARE(value::displayText(f, QByteArrayView(raw)), shown);
    }

    void typedValuesInRegionalFormat_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("server"); // a null QByteArray: NULL
        QTest::addColumn<bool>("refused");
        QTest::newRow("number with decimal comma and blanks")
            << int(FieldType::Decimal) << " 30,5 " << QByteArray("30.5") << false;
        QTest::newRow("empty number is NULL")
            << int(FieldType::Decimal) << "" << QByteArray() << false;
        QTest::newRow("number with decimal point")
            << int(FieldType::Decimal) << "30.5" << QByteArray() << true;
        QTest::newRow("letters for a number")
            << int(FieldType::Decimal) << "abc" << QByteArray() << true;
        QTest::newRow("date") << int(FieldType::Date) << "17.5.2024" << QByteArray("2024-05-17")
                              << false;
        QTest::newRow("date with two-digit year")
            << int(FieldType::Date) << "1.1.26" << QByteArray("2026-01-01") << false;
        QTest::newRow("date that does not exist")
            << int(FieldType::Date) << "31.2.2024" << QByteArray() << true;
        QTest::newRow("moment") << int(FieldType::DateTime) << "17.05.2024 8:05:09"
                                << QByteArray("2024-05-17 08:05:09") << false;
    }
    void typedValuesInRegionalFormat() {
        QFETCH(int, type);
        QFETCH(QString, typed);
        QFETCH(QByteArray, server);
        QFETCH(bool, refused);
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        Field f;
        f.type = FieldType(type);
        if (refused) {
            QVERIFY_THROWS_EXCEPTION(vaha::Error, value::fromDisplayText(f, typed));
            return;
        }
        const std::optional<QByteArray> v = value::fromDisplayText(f, typed);
        if (server.isNull()) {
            QVERIFY(!v);
        } else {
            QVERIFY(v);
            QCOMPARE(*v, server);
        }
    }
};

QTEST_GUILESS_MAIN(TestRowStore)
#include "tst_rowstore.moc"
