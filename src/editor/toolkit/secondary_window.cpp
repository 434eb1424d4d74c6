#include "toolkit/secondary_window.h"

#include <QEvent>
#include <QScreen>
#include <QShortcut>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace vorlan {

namespace {

// Places its window inside the screen when it is first shown: its size is final then.
class FirstShow final : public QObject {
public:
    explicit FirstShow(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) {
            window_->removeEventFilter(this);
            // An ordinary window: not kept above the main window by the window manager (the
            // show event comes before the window is mapped).
            if (QWindow* handle = window_->windowHandle())
                handle->setTransientParent(nullptr);
            if (QWidget* owner = window_->parentWidget())
                placeInside(window_, owner->window());
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
};

}  // namespace

Qt::WindowFlags secondaryWindowFlags() {
    return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
}

void makeSecondary(QWidget* window) {
    window->setWindowFlags(secondaryWindowFlags());
    new FirstShow(window);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

void placeInside(QWidget* window, const QWidget* owner) {
    const QScreen* screen = owner->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerInside = owner->geometry();
    const QMargins frame(
        ownerInside.left() - ownerFrame.left(), ownerInside.top() - ownerFrame.top(),
        ownerFrame.right() - ownerInside.right(), ownerFrame.bottom() - ownerInside.bottom());
    const QSize size = window->size().boundedTo(area.size().shrunkBy(frame));
    window->resize(size.expandedTo(window->minimumSize()));
    QRect outer(QPoint(), window->size().grownBy(frame));
    outer.moveCenter(ownerFrame.center());
    // Inside the area; a window larger than the area keeps its top left corner in it.
    outer.moveLeft(std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width())));
    outer.moveTop(std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height())));
    window->move(outer.topLeft());
}

void bringForward(QWidget* w) {
    QWidget* window = w->window();
    if (window->isMinimized())
        window->showNormal();
    else if (!window->isVisible() && window->parentWidget() != nullptr)
        window->show();  // a secondary window; a main window not shown stays so
    if (!window->isVisible())
        return;
    window->raise();
    window->activateWindow();
}

}  // namespace vorlan
