// vaha-scale-sim: answers the weighing program's scale requests in an exchange directory.
//
//   vaha-scale-sim --dir D --weight 30500000 --alibi A17 --delay 1500
//   vaha-scale-sim --dir D --weights 30500000,10200000 --alibi "W%n"   (gross, then tare, ...)
//   vaha-scale-sim --dir D --demo                                   (demo lorries, endless)
//   vaha-scale-sim --dir D --weight 5000 --write-now                (an answer for "Netto")
#include "scalesimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vaha-scale-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stands in for the scale program: each request dejvahu.txt in the "
                       "exchange directory is answered with aktualni.log, first line "
                       "\"field0;field1;weight[|alibi]\"."));
    parser.addHelpOption();
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("Exchange directory (cestaVaha)."),
                                 QStringLiteral("D"));
    const QCommandLineOption weight(
        QStringLiteral("weight"),
        QStringLiteral("Weight as the scale writes it, in grams: the program stores it divided by "
                       "1000, in kilograms (default 30500000)."),
        QStringLiteral("G"));
    const QCommandLineOption weights(
        QStringLiteral("weights"),
        QStringLiteral("Weights answered in turn, separated by ',' or '/', e.g. 30500000,10200000 "
                       "for gross then tare."),
        QStringLiteral("LIST"));
    const QCommandLineOption alibi(
        QStringLiteral("alibi"), QStringLiteral("Alibi text after '|'; %n is the answer's number."),
        QStringLiteral("TEXT"));
    const QCommandLineOption field0(QStringLiteral("field0"),
                                    QStringLiteral("Field 0 (default 1)."), QStringLiteral("TEXT"));
    const QCommandLineOption field1(QStringLiteral("field1"),
                                    QStringLiteral("Field 1 (default: the moment of the answer)."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption line(QStringLiteral("line"),
                                  QStringLiteral("A whole first line, written as given."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption delay(
        QStringLiteral("delay"),
        QStringLiteral("Milliseconds from request to answer (default 1500)."),
        QStringLiteral("MS"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("End after this many answers (default: never)."),
                                   QStringLiteral("N"));
    const QCommandLineOption idleExit(
        QStringLiteral("idle-exit"),
        QStringLiteral("End after this many seconds without a request (default: never)."),
        QStringLiteral("S"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Demo lorries: gross and tare in turn (30 500, 10 200, 28 740, 11 860, "
                       "24 980, 9 420 kg) with alibi texts, unless --weight(s) or --alibi say "
                       "otherwise."));
    const QCommandLineOption writeNow(QStringLiteral("write-now"),
                                      QStringLiteral("Write one answer at once and end."));
    parser.addOptions({dir, weight, weights, alibi, field0, field1, line, delay, count, idleExit,
                       demo, writeNow});
    parser.process(app);

    ScaleSimulator::Settings s;
    s.directory = parser.value(dir);
    if (s.directory.isEmpty() || !QDir(s.directory).exists()) {
        std::fprintf(stderr, "vaha-scale-sim: --dir must name an existing directory\n");
        return 2;
    }
    if (parser.isSet(demo)) {
        s.weights = {QStringLiteral("30500000"), QStringLiteral("10200000"),
                     QStringLiteral("28740000"), QStringLiteral("11860000"),
                     QStringLiteral("24980000"), QStringLiteral("9420000")};
        s.alibi = QStringLiteral("V1-%n");
    }
    if (parser.isSet(weights))
        s.weights = parser.value(weights).split(QRegularExpression(QStringLiteral("[,/]")),
                                                Qt::SkipEmptyParts);
    else if (parser.isSet(weight))
        s.weights = {parser.value(weight)};
    if (s.weights.isEmpty())
        s.weights = {QStringLiteral("30500000")};
    if (parser.isSet(alibi))
        s.alibi = parser.value(alibi);
    if (parser.isSet(field0))
        s.field0 = parser.value(field0);
    s.field1 = parser.value(field1);
    s.line = parser.value(line);
    if (parser.isSet(delay))
        s.delayMs = parser.value(delay).toInt();
    s.count = parser.value(count).toInt();
    s.idleExitSeconds = parser.value(idleExit).toInt();

    ScaleSimulator simulator(s);
    if (parser.isSet(writeNow)) {
        simulator.writeAnswer(1);
        return 0;
    }
    QObject::connect(&simulator, &ScaleSimulator::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    simulator.start();
    std::printf("watching %s\n", qPrintable(QDir(s.directory).absolutePath()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
