// Saves what the X display shows as a PNG: for the documentation's screenshots, taken under
// Xvfb while the program runs on the same display.
//
//   vaha-screenshot OUT.png [DELAY_MS] [X,Y,W,H]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 2) {
        std::fputs("usage: vaha-screenshot OUT.png [DELAY_MS] [X,Y,W,H]\n", stderr);
        return 2;
    }
    if (args.size() > 2)
        QThread::msleep(args[2].toULong());
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fputs("vaha-screenshot: no screen\n", stderr);
        return 1;
    }
    QPixmap shot = screen->grabWindow(0);
    if (args.size() > 3) {
        const QStringList r = args[3].split(QLatin1Char(','));
        if (r.size() == 4)
            shot = shot.copy(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
    }
    if (!shot.save(args[1])) {
        std::fprintf(stderr, "vaha-screenshot: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
