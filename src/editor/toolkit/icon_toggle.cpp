#include "toolkit/icon_toggle.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace vorlan {

IconToggle::IconToggle(int index, QSize size, std::function<QPixmap(bool on)> draw,
                       const QString& tip, QWidget* parent)
    : QWidget(parent), off_(new QLabel(this)), onLabel_(new QLabel(this)), draw_(std::move(draw)) {
    const QString k = QString::number(index);
    setObjectName("Toggle(" + k + ")");
    off_->setObjectName("Picture1(" + k + ")");
    onLabel_->setObjectName("Picture2(" + k + ")");
    off_->setFixedSize(size);
    onLabel_->setFixedSize(size);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(off_);
    layout->addWidget(onLabel_);
    for (QLabel* l : {off_, onLabel_}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
    setToolTip(tip);
    setFocusPolicy(Qt::StrongFocus);
    // The marks of edited and refused values draw a border around the pictures.
    setAttribute(Qt::WA_StyledBackground);
    setOn(false);
}

void IconToggle::setOn(bool on) {
    on_ = on;
    off_->setHidden(on);
    onLabel_->setHidden(!on);
}

void IconToggle::showEvent(QShowEvent* event) {
    if (draw_ != nullptr) {
        off_->setPixmap(draw_(false));
        onLabel_->setPixmap(draw_(true));
        draw_ = nullptr;
    }
    QWidget::showEvent(event);
}

IconToggle* IconToggle::owning(QWidget* picture) {
    return picture == nullptr ? nullptr : qobject_cast<IconToggle*>(picture->parentWidget());
}

bool IconToggle::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == off_ || watched == onLabel_) && event->type() == QEvent::MouseButtonRelease) {
        setOn(!on_);
        emit toggled(on_);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void IconToggle::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        setOn(!on_);
        emit toggled(on_);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vorlan
