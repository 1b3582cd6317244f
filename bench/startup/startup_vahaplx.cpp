// vahaPLX itself, started as the office starts it, with one addition: when the ticket list
// first paints after its query has run, the line "shown N rows" goes to standard output and
// the program ends. bench_startup measures the time from the process start to that line.
#include "app/startup.h"
#include "app/tfvaha.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

namespace {

class FirstListProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_done || event->type() != QEvent::Paint || watched->parent() == nullptr ||
            watched->parent()->objectName() != QStringLiteral("suiDBGrid1"))
            return false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* main = qobject_cast<vaha::app::TFvaha*>(w);
            if (!main || !main->list().ZQuery1.isOpen())
                continue;
            m_done = true;
            std::printf("shown %d rows\n", main->list().ZQuery1.recordCount());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_done = false;
};

void installProbe() {
    qApp->installEventFilter(new FirstListProbe(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)

int main(int argc, char** argv) {
    return vaha::app::runVahaPLX(argc, argv);
}
