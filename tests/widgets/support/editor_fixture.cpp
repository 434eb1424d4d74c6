#include "widgets/support/editor_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

namespace vorlan::test {

EditorFixture::EditorFixture(bool open) {
    std::filesystem::create_directories(dataDir());
    for (const auto& e : std::filesystem::directory_iterator(sourceDataDir())) {
        std::filesystem::copy_file(e.path(), dataDir() / e.path().filename());
    }
    writeDemo(exe());
    window_ = std::make_unique<MainWindow>(dialogs_, QString::fromStdString(dataDir().string()));
    if (open && !window_->openExecutable(QString::fromStdString(exe().string()))) {
        qFatal("the demo executable was refused: %s", qPrintable(dialogs_.lastMessage()));
    }
}

void EditorFixture::showWindow() {
    window_->resize(1000, 700);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        qFatal("the main window was not shown");
}

void EditorFixture::clickRow(const QString& list, int row) {
    test::clickRow(findChild<QAbstractItemView>(list), row);
}

void clickRow(QAbstractItemView* view, int row) {
    const QModelIndex at = view->model()->index(row, 0);
    view->scrollTo(at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
}

void typeKeys(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool dropFile(QWidget& target, const std::filesystem::path& path) {
    QMimeData data;
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path.string()));
    data.setUrls({url});
    data.setText(url.toString());
    const QPoint at = target.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &dropped);
    return true;
}

void EditorFixture::clickTab(const QString& tabs, int index) {
    QTabBar* bar = findChild<QTabWidget>(tabs)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void EditorFixture::chooseItem(const QString& combo, int row) {
    auto* c = findChild<QComboBox>(combo);
    c->showPopup();
    QAbstractItemView* view = c->view();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void EditorFixture::click(const QString& button) {
    QTest::mouseClick(findChild<QPushButton>(button), Qt::LeftButton);
}

void EditorFixture::type(const QString& box, const QString& text) {
    auto* e = findChild<QLineEdit>(box);
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, text);
}

}  // namespace vorlan::test
