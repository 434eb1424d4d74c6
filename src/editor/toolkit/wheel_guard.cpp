#include "toolkit/wheel_guard.h"

#include <QComboBox>
#include <QEvent>
#include <QObject>

namespace vorlan {

namespace {

class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w != nullptr && !w->hasFocus()) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void guardWheel(QWidget* root) {
    auto* guard = new WheelGuard(root);
    for (QComboBox* combo : root->findChildren<QComboBox*>()) {
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(guard);
    }
}

}  // namespace vorlan
