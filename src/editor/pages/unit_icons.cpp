#include "pages/unit_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace vorlan {

namespace {

constexpr int kWidth = 42;
constexpr int kHeight = 43;

void drawEmblem(QPainter& p, const QColor& c) {
    QPainterPath shield;
    shield.moveTo(21, 6);
    shield.lineTo(34, 11);
    shield.lineTo(32, 26);
    shield.quadTo(28, 34, 21, 38);
    shield.quadTo(14, 34, 10, 26);
    shield.lineTo(8, 11);
    shield.closeSubpath();
    p.setPen(QPen(c.darker(160), 1.5));
    p.setBrush(c);
    p.drawPath(shield);
    p.setPen(QPen(QColor(255, 255, 255, c.alpha()), 2));
    p.drawLine(21, 12, 21, 31);
    p.drawLine(14, 18, 28, 18);
}

void drawBlade(QPainter& p, const QColor& c) {
    QPainterPath blade;
    blade.moveTo(33, 6);
    blade.lineTo(36, 9);
    blade.lineTo(17, 28);
    blade.lineTo(13, 24);
    blade.closeSubpath();
    p.setPen(QPen(c.darker(150), 1));
    p.setBrush(c);
    p.drawPath(blade);
    p.setPen(QPen(c.darker(200), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(10, 22, 19, 31);  // guard
    p.drawLine(14, 28, 8, 34);   // grip
}

void drawWrench(QPainter& p, const QColor& c, const QColor& background) {
    p.setPen(QPen(c, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(12, 32, 26, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(29, 13), 7, 7);
    // The open jaw: a notch in the background colour.
    p.setBrush(background);
    p.drawEllipse(QPointF(32, 9), 3.5, 3.5);
}

void drawLetters(QPainter& p, const QColor& c) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(17);
    p.setFont(font);
    p.setPen(c);
    p.drawText(QRect(0, 0, kWidth, kHeight), Qt::AlignCenter, "EN");
}

QPixmap draw(int bit, bool lit) {
    // Drawn at twice the size, so the icons stay crisp on a screen at up to 200 %.
    constexpr int kScale = 2;
    QPixmap pixmap(kWidth * kScale, kHeight * kScale);
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor frameColor = lit ? QColor(70, 110, 170) : QColor(170, 176, 184);
    p.setPen(QPen(frameColor, 1.5));
    const QColor background = lit ? QColor(236, 243, 252) : QColor(226, 229, 233);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(1.5, 1.5, kWidth - 3, kHeight - 3), 5, 5);
    switch (bit) {
        case 0:
            drawEmblem(p, lit ? QColor(205, 35, 40) : QColor(160, 160, 160, 150));
            break;
        case 1:
            drawBlade(p, lit ? QColor(120, 150, 190) : QColor(160, 160, 160, 150));
            break;
        case 2:
            drawLetters(p, lit ? QColor(30, 120, 60) : QColor(160, 160, 160, 170));
            break;
        default:
            drawWrench(p, lit ? QColor(150, 100, 40) : QColor(160, 160, 160, 150), background);
            break;
    }
    return pixmap;
}

}  // namespace

UnitIcon unitIcon(int bit) {
    // Named by what the icon shows, as players know it from the unit screens.
    static const char* names[] = {"红色徽章", "剑", "EN", "扳手"};
    return UnitIcon{QSize(kWidth, kHeight), [bit](bool lit) { return draw(bit, lit); },
                    QString::fromUtf8("机体技能2「%1」（点击切换，第 %2 位）")
                        .arg(QString::fromUtf8(names[bit & 3]))
                        .arg(bit)};
}

}  // namespace vorlan
