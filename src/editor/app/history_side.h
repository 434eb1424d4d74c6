#pragma once
// Where the write history shows when "历史" is pressed: beside the pages when the window,
// widened within the screen's free area if need be, leaves the page on show the width it
// needs; else below the pages. Either way the page keeps its columns instead of being
// squeezed. Hidden again, the window gives back the width it took.

#include <QObject>
#include <functional>

class QSplitter;
class QWidget;

namespace vorlan {

class HistorySide : public QObject {
    Q_OBJECT
public:
    // `pages` and `history` are the two sides of `splitter` in `window`; `pagesNeed` gives the
    // width below which the page on show would scroll sideways.
    HistorySide(QWidget* window, QSplitter* splitter, QWidget* pages, QWidget* history,
                std::function<int()> pagesNeed);

    void setShown(bool shown);

private:
    void showBeside(int need, int grow);
    void showBelow();

    QWidget* window_;
    QSplitter* splitter_;
    QWidget* pages_;
    QWidget* history_;
    std::function<int()> pagesNeed_;
    int widthBefore_ = 0;  // the window's width before it widened for the history; 0: it did not
};

}  // namespace vorlan
