#pragma once
// A tab page that is built the first time it is shown or asked for, inside a scroll area (a
// page scrolls when the window is smaller than it). The window appears without building the
// pages nobody has looked at yet.

#include <QScrollArea>
#include <functional>

namespace vorlan {

class LazyPage : public QScrollArea {
    Q_OBJECT
public:
    explicit LazyPage(std::function<QWidget*()> build, QWidget* parent = nullptr);

    // The page, built now when it has not been yet.
    QWidget* page();

signals:
    // The page has just been built and put in place.
    void built(QWidget* page);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<QWidget*()> build_;
};

}  // namespace vorlan
