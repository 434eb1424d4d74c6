#pragma once
// The pictures of the four icon toggles of "机体技能2", drawn by the program: a red
// emblem (bit 0), a blade (bit 1), the letters EN (bit 2) and a wrench (bit 3), each as
// a dimmed "off" picture and a lit "on" picture of the same size.

#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>

namespace vorlan {

struct UnitIcon {
    QSize size;                             // of both pictures
    std::function<QPixmap(bool lit)> draw;  // when the toggle is first shown
    QString tip;
};

UnitIcon unitIcon(int bit);

}  // namespace vorlan
