// vaha-plot: a line chart from a CSV file, as a PNG picture (for docs/performance.md).
//
//   vaha-plot --out FILE.png [--title T] [--x-label X] [--y-label Y] [--log-y] [--pairs] DATA.csv
//
// The first CSV line names the columns: the x values first, then one column per line of the
// chart. Every further line holds numbers; an empty cell leaves a point out. With --pairs the
// columns go in pairs that share a colour, the first drawn solid (the program), the second
// dashed (its anchor). Needs no display.
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Series {
    QString name;
    std::vector<std::optional<double>> values;
};

struct Table {
    QString xName;
    std::vector<double> x;
    std::vector<Series> series;
};

Table readCsv(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + path.toStdString());
    Table t;
    const QStringList header = QString::fromUtf8(f.readLine()).trimmed().split(u',');
    t.xName = header.value(0);
    for (qsizetype i = 1; i < header.size(); ++i)
        t.series.push_back({header[i].trimmed(), {}});
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(u',');
        t.x.push_back(cells.value(0).toDouble());
        for (std::size_t s = 0; s < t.series.size(); ++s) {
            bool ok = false;
            const double v = cells.value(qsizetype(s) + 1).toDouble(&ok);
            t.series[s].values.push_back(ok ? std::optional<double>(v) : std::nullopt);
        }
    }
    if (t.x.empty() || t.series.empty())
        throw std::runtime_error("no data in " + path.toStdString());
    return t;
}

// A round step that gives about `count` ticks over `span`.
double niceStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (raw <= m * power)
            return m * power;
    }
    return 10 * power;
}

QString label(double v) {
    if (std::fabs(v) >= 1000 && std::fmod(v, 1000) == 0)
        return QString::number(v / 1000, 'f', 0) + QStringLiteral(" 000");
    return QString::number(v, 'g', 6);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("PNG file."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Title."),
                                   QStringLiteral("T"));
    const QCommandLineOption xLabel(QStringLiteral("x-label"), QStringLiteral("X axis."),
                                    QStringLiteral("X"));
    const QCommandLineOption yLabel(QStringLiteral("y-label"), QStringLiteral("Y axis."),
                                    QStringLiteral("Y"));
    const QCommandLineOption logY(QStringLiteral("log-y"), QStringLiteral("Logarithmic Y."));
    const QCommandLineOption pairs(QStringLiteral("pairs"),
                                   QStringLiteral("Columns in pairs: solid, then dashed."));
    parser.addOptions({out, title, xLabel, yLabel, logY, pairs});
    parser.addPositionalArgument(QStringLiteral("csv"), QStringLiteral("Data."));
    parser.process(app);
    if (!parser.isSet(out) || parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    try {
        const Table t = readCsv(parser.positionalArguments().first());
        const bool log = parser.isSet(logY);
        double xMax = 0, yMin = INFINITY, yMax = 0;
        for (const double x : t.x)
            xMax = std::max(xMax, x);
        for (const Series& s : t.series) {
            for (const auto& v : s.values) {
                if (v && (!log || *v > 0)) {
                    yMax = std::max(yMax, *v);
                    yMin = std::min(yMin, *v);
                }
            }
        }
        const double xStep = niceStep(xMax, 8);
        xMax = std::ceil(xMax / xStep) * xStep;
        double yLow = 0, yHigh = 0, yStep = 0;
        if (log) {
            yLow = std::floor(std::log10(yMin));
            yHigh = std::ceil(std::log10(yMax));
            if (yHigh <= yLow)
                yHigh = yLow + 1;
        } else {
            yStep = niceStep(yMax > 0 ? yMax : 1, 6);
            yHigh = std::ceil(yMax / yStep) * yStep;
            if (yHigh <= 0)
                yHigh = yStep;
        }

        const QSize size(1000, 560);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        p.setFont(font);
        const QRectF plot(90, 50, 620, size.height() - 120);
        const auto px = [&](double x) {
            return plot.left() + x / xMax * plot.width();
        };
        const auto py = [&](double y) {
            const double f =
                log ? (std::log10(y) - yLow) / (yHigh - yLow) : (y - yLow) / (yHigh - yLow);
            return plot.bottom() - f * plot.height();
        };

        // Grid, ticks and labels.
        p.setPen(QPen(QColor(225, 225, 225), 1));
        for (double x = 0; x <= xMax + xStep / 2; x += xStep) {
            p.drawLine(QPointF(px(x), plot.top()), QPointF(px(x), plot.bottom()));
            p.save();
            p.setPen(Qt::black);
            p.drawText(QRectF(px(x) - 50, plot.bottom() + 4, 100, 18), Qt::AlignHCenter, label(x));
            p.restore();
        }
        std::vector<double> yTicks;
        if (log) {
            for (double e = yLow; e <= yHigh; ++e) {
                for (const double m : {1.0, 2.0, 5.0}) {
                    const double y = m * std::pow(10.0, e);
                    if (std::log10(y) <= yHigh + 1e-9)
                        yTicks.push_back(y);
                }
            }
        } else {
            for (double y = 0; y <= yHigh + yStep / 2; y += yStep)
                yTicks.push_back(y);
        }
        for (const double y : yTicks) {
            p.drawLine(QPointF(plot.left(), py(y)), QPointF(plot.right(), py(y)));
            p.save();
            p.setPen(Qt::black);
            p.drawText(QRectF(0, py(y) - 9, plot.left() - 6, 18), Qt::AlignRight | Qt::AlignVCenter,
                       label(y));
            p.restore();
        }
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(plot);

        // Titles.
        QFont bold = font;
        bold.setBold(true);
        bold.setPixelSize(16);
        p.setFont(bold);
        p.drawText(QRectF(0, 10, size.width(), 26), Qt::AlignHCenter, parser.value(title));
        p.setFont(font);
        p.drawText(QRectF(plot.left(), plot.bottom() + 26, plot.width(), 20), Qt::AlignHCenter,
                   parser.value(xLabel).isEmpty() ? t.xName : parser.value(xLabel));
        p.save();
        p.translate(18, plot.center().y());
        p.rotate(-90);
        p.drawText(QRectF(-plot.height() / 2, -10, plot.height(), 20), Qt::AlignHCenter,
                   parser.value(yLabel));
        p.restore();

        // Lines and the legend.
        static const QColor palette[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                         QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                         QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b)};
        const bool paired = parser.isSet(pairs);
        for (std::size_t s = 0; s < t.series.size(); ++s) {
            const std::size_t colour = (paired ? s / 2 : s) % std::size(palette);
            QPen pen(palette[colour], 2.2);
            if (paired && s % 2 == 1)
                pen.setStyle(Qt::DashLine);
            p.setPen(pen);
            QPainterPath path;
            bool started = false;
            for (std::size_t i = 0; i < t.x.size(); ++i) {
                const auto& v = t.series[s].values[i];
                if (!v || (log && *v <= 0))
                    continue;
                const QPointF point(px(t.x[i]), py(*v));
                if (started)
                    path.lineTo(point);
                else
                    path.moveTo(point);
                started = true;
                p.setBrush(palette[colour]);
                p.drawEllipse(point, 3, 3);
                p.setBrush(Qt::NoBrush);
            }
            p.drawPath(path);
            const double ly = plot.top() + 10 + double(s) * 22;
            p.drawLine(QPointF(plot.right() + 16, ly), QPointF(plot.right() + 50, ly));
            p.setPen(Qt::black);
            p.drawText(QRectF(plot.right() + 56, ly - 9, size.width() - plot.right() - 60, 18),
                       Qt::AlignLeft | Qt::AlignVCenter, t.series[s].name);
        }
        p.end();
        if (!image.save(parser.value(out), "PNG"))
            throw std::runtime_error("cannot write " + parser.value(out).toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vaha-plot: %s\n", e.what());
        return 1;
    }
    return 0;
}
