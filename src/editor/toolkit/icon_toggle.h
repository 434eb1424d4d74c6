#pragma once
// An icon toggle: a pair of same-sized pictures at one place, the dimmed "off" picture
// (`Picture1(k)`) and the lit "on" picture (`Picture2(k)`), exactly one of them visible.
// Clicking the visible one shows the other. Space or Enter flips it from the keyboard.

#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;

namespace vorlan {

class IconToggle : public QWidget {
    Q_OBJECT
public:
    // The pictures (`draw(false)` off, `draw(true)` on, both `size`) are drawn when the toggle
    // is first shown: drawing them takes longer than building a page.
    IconToggle(int index, QSize size, std::function<QPixmap(bool on)> draw, const QString& tip,
               QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    void setOn(bool on);
    QLabel* offPicture() const { return off_; }
    QLabel* onPicture() const { return onLabel_; }

    // The toggle a picture belongs to, or nullptr.
    static IconToggle* owning(QWidget* picture);

signals:
    void toggled(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* off_;
    QLabel* onLabel_;
    std::function<QPixmap(bool on)> draw_;
    bool on_ = false;
};

}  // namespace vorlan
