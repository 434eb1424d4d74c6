#pragma once
// The pictures of the four icon toggles of "机体技能2", drawn by the program: a red
// emblem (bit 0), a blade (bit 1), the letters EN (bit 2) and a wrench (bit 3), each as
// a dimmed "off" picture and a lit "on" picture of the same size.

#include <QPixmap>
#include <QString>

namespace vorlan {

struct UnitIcon {
    QPixmap off;
    QPixmap on;
    QString tip;
};

UnitIcon unitIcon(int bit);

}  // namespace vorlan
