#include "toolkit/drop_guard.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

bool isDrag(const QEvent* event) {
    const QEvent::Type t = event->type();
    return t == QEvent::DragEnter || t == QEvent::DragMove || t == QEvent::Drop;
}

bool carriesFiles(QEvent* event) {
    return static_cast<QDropEvent*>(event)->mimeData()->hasUrls();
}

// A box that types what is dropped on it: a line box (choice boxes have one) or a text area,
// whose viewport is what the drag reaches.
bool isTextBox(QObject* o) {
    if (qobject_cast<QLineEdit*>(o) != nullptr || qobject_cast<QTextEdit*>(o) != nullptr ||
        qobject_cast<QPlainTextEdit*>(o) != nullptr)
        return true;
    QObject* area = o->parent();
    return (qobject_cast<QTextEdit*>(area) != nullptr ||
            qobject_cast<QPlainTextEdit*>(area) != nullptr) &&
           static_cast<QAbstractScrollArea*>(area)->viewport() == o;
}

// Watches every object of the program: a drag of files over a text box is ignored there,
// and Qt offers an ignored drag to the box's parents, up to its window.
class TextBoxGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (isDrag(event) && isTextBox(watched) && carriesFiles(event)) {
            event->ignore();
            return true;
        }
        return false;
    }
};

// Takes the files dropped on a secondary window and shows the message once the drop is over:
// a modal box inside the drop would keep the file manager waiting for its end.
class WindowRefusal : public QObject {
public:
    WindowRefusal(QWidget* window, Dialogs& dialogs, std::function<bool(const QString&)> takes)
        : QObject(window), window_(window), dialogs_(dialogs), takes_(std::move(takes)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || !isDrag(event) || !carriesFiles(event))
            return false;
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        if (event->type() == QEvent::Drop) {
            const QString path = shownPath(
                static_cast<QDropEvent*>(event)->mimeData()->urls().value(0).toLocalFile());
            QTimer::singleShot(0, this, [this, path] {
                if (takes_ && takes_(path))
                    return;
                dialogs_.information(
                    window_, QString::fromUtf8("这个窗口不打开文件。要打开游戏主程序，请把文件"
                                               "拖到主窗口上。"));
            });
        }
        return true;
    }

private:
    QWidget* window_;
    Dialogs& dialogs_;
    std::function<bool(const QString&)> takes_;
};

}  // namespace

void refuseFileDropsOnTextBoxes(QObject* owner) {
    QCoreApplication::instance()->installEventFilter(new TextBoxGuard(owner));
}

void refuseFileDrops(QWidget* window, Dialogs& dialogs, std::function<bool(const QString&)> takes) {
    window->setAcceptDrops(true);
    window->installEventFilter(new WindowRefusal(window, dialogs, std::move(takes)));
}

}  // namespace vorlan
