// Loaded into a Qt Widgets program with LD_PRELOAD: ends the process the moment its first
// window has been painted and its event loop waits for input, so that the time from the start
// to a shown, idle window can be taken from outside, the same way for every program.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace {

bool windowPainted = false;

class PaintWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            windowPainted = true;
        return false;
    }
};

void exitOnceIdleAfterThePaint() {
    qApp->installEventFilter(new PaintWatch);
    // The dispatcher runs once the event loop does.
    QTimer::singleShot(0, [] {
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, [] {
                             if (windowPainted)
                                 std::_Exit(0);
                         });
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(exitOnceIdleAfterThePaint)
