// Shows the busy window as the update check does and saves the screen around it as a PNG,
// for the documentation. Run under a real X server or Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./show_busy_window busy-window.png
#include "app/startup.h"
#include "app/tpracuji.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: show_busy_window OUT.png\n", stderr);
        return 2;
    }
    vaha::app::installFontSubstitutes();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    vaha::app::Tpracuji pracuji;
    pracuji.Label1->setText(QStringLiteral("Váha PLX - kontrola nové verze"));
    pracuji.show();
    int status = 1;
    QTimer::singleShot(700, [&] {
        const QRect around = pracuji.frameGeometry().adjusted(-12, -12, 12, 12);
        const QPixmap shot = pracuji.screen()->grabWindow(0, around.x(), around.y(), around.width(),
                                                          around.height());
        status = shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
