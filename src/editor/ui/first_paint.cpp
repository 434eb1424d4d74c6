#include "ui/first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace vorlan {

namespace {

class FirstPaintFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Children are painted in the same pass; quitting waits for the pass to end.
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return false;
    }
};

}  // namespace

void quitAfterFirstPaint(QWidget& window) {
    window.installEventFilter(new FirstPaintFilter(&window));
    window.update();
}

}  // namespace vorlan
