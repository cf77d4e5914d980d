#include "launcherpicture.h"

#include <ui/fonts.h>
#include <ui/twips.h>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

const QColor kDarkBlue(16, 32, 120);

QFont brushFont(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("华文行楷"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void paintWall(QPainter& p, const QRect& r) {
    QLinearGradient wall(r.topLeft(), r.bottomLeft());
    wall.setColorAt(0, QColor(236, 222, 196));
    wall.setColorAt(1, QColor(201, 176, 140));
    p.fillRect(r, wall);
    // a window's soft light falling on the wall
    QRadialGradient light(QPointF(r.center().x() + 60, r.top() + 120), 320);
    light.setColorAt(0, QColor(255, 250, 235, 150));
    light.setColorAt(1, QColor(255, 250, 235, 0));
    p.fillRect(r, light);
}

void paintTable(QPainter& p, int top, int bottom) {
    QLinearGradient wood(0, top, 0, bottom);
    wood.setColorAt(0, QColor(133, 86, 50));
    wood.setColorAt(1, QColor(84, 50, 27));
    p.fillRect(QRect(0, top, 800, bottom - top), wood);
    p.setPen(QPen(QColor(70, 40, 20, 90), 1));
    for (int i = 0; i < 14; ++i) {
        const int y = top + 6 + i * (bottom - top) / 14;
        QPainterPath grain;
        grain.moveTo(0, y);
        grain.cubicTo(250, y - 4, 520, y + 5, 800, y - 2);
        p.drawPath(grain);
    }
    // the table's front edge
    p.fillRect(QRect(0, top, 800, 4), QColor(160, 110, 70));
}

void paintVase(QPainter& p, QPointF base) {
    QPainterPath body;
    const qreal x = base.x(), y = base.y();
    body.moveTo(x - 22, y - 150);
    body.cubicTo(x - 18, y - 120, x - 62, y - 95, x - 58, y - 45);
    body.cubicTo(x - 55, y - 10, x - 30, y, x - 24, y);
    body.lineTo(x + 24, y);
    body.cubicTo(x + 30, y, x + 55, y - 10, x + 58, y - 45);
    body.cubicTo(x + 62, y - 95, x + 18, y - 120, x + 22, y - 150);
    body.closeSubpath();
    QLinearGradient glaze(x - 60, 0, x + 60, 0);
    glaze.setColorAt(0, QColor(205, 212, 222));
    glaze.setColorAt(0.35, QColor(250, 252, 255));
    glaze.setColorAt(1, QColor(170, 178, 192));
    p.setPen(QPen(QColor(120, 128, 145), 1.2));
    p.setBrush(glaze);
    p.drawPath(body);
    // blue-and-white pattern
    p.setPen(QPen(QColor(30, 60, 150), 2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(x - 21, y - 142), QPointF(x + 21, y - 142));
    p.drawArc(QRectF(x - 50, y - 95, 100, 40), 200 * 16, 140 * 16);
    for (int i = -2; i <= 2; ++i) {
        const QPointF c(x + i * 18, y - 60 + qAbs(i) * 3);
        p.drawEllipse(c, 6, 6);
        p.drawLine(c + QPointF(0, 6), c + QPointF(0, 14));
    }
    p.drawLine(QPointF(x - 40, y - 20), QPointF(x + 40, y - 20));
}

void paintBlossoms(QPainter& p, QPointF from) {
    struct Branch {
        QPointF c1, c2, end;
    };
    const Branch branches[] = {{{-30, -80}, {-90, -120}, {-140, -190}},
                               {{10, -90}, {40, -150}, {20, -230}},
                               {{30, -60}, {90, -110}, {150, -150}},
                               {{-10, -70}, {-40, -140}, {-70, -210}}};
    p.setBrush(Qt::NoBrush);
    for (const Branch& b : branches) {
        QPainterPath path;
        path.moveTo(from);
        path.cubicTo(from + b.c1, from + b.c2, from + b.end);
        p.setPen(QPen(QColor(70, 45, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        for (int i = 2; i <= 10; ++i) {
            const QPointF pt = path.pointAtPercent(i / 10.0) + QPointF((i % 3) * 5 - 5, (i % 2) * 6 - 3);
            for (int k = 0; k < 5; ++k) {
                const qreal a = k * 72 + i * 17;
                const QPointF petal = pt + QPointF(qCos(qDegreesToRadians(a)) * 5, qSin(qDegreesToRadians(a)) * 5);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(238, 120 + (i * 7) % 40, 150, 230));
                p.drawEllipse(petal, 4.5, 4.5);
            }
            p.setBrush(QColor(250, 220, 90));
            p.drawEllipse(pt, 2, 2);
        }
    }
}

void paintFruit(QPainter& p, QPointF c, qreal r, QColor colour) {
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.35), r * 1.3);
    g.setColorAt(0, colour.lighter(160));
    g.setColorAt(0.5, colour);
    g.setColorAt(1, colour.darker(180));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r * 0.92);
    p.setPen(QPen(QColor(90, 60, 30), 2));
    p.drawLine(c + QPointF(0, -r * 0.85), c + QPointF(3, -r * 1.15));
}

void paintStillLife(QPainter& p) {
    // shadow of the vase and bowl on the table
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 20, 10, 90));
    p.drawEllipse(QPointF(452, 452), 70, 12);
    p.drawEllipse(QPointF(600, 476), 95, 10);
    paintBlossoms(p, QPointF(450, 300));
    paintVase(p, QPointF(450, 450));
    // a bowl of fruit
    paintFruit(p, QPointF(565, 440), 24, QColor(196, 40, 30));
    paintFruit(p, QPointF(612, 438), 25, QColor(220, 160, 40));
    paintFruit(p, QPointF(588, 428), 20, QColor(170, 30, 40));
    paintFruit(p, QPointF(648, 444), 20, QColor(120, 160, 50));
    QPainterPath bowl;
    bowl.moveTo(520, 446);
    bowl.cubicTo(530, 484, 670, 484, 685, 446);
    bowl.closeSubpath();
    QLinearGradient bowlGlaze(520, 0, 685, 0);
    bowlGlaze.setColorAt(0, QColor(150, 170, 160));
    bowlGlaze.setColorAt(0.4, QColor(214, 232, 220));
    bowlGlaze.setColorAt(1, QColor(120, 140, 130));
    p.setBrush(bowlGlaze);
    p.setPen(QPen(QColor(90, 110, 100), 1));
    p.drawPath(bowl);
    // a closed book and a teacup on the left
    p.setBrush(QColor(120, 30, 30));
    p.setPen(QPen(QColor(60, 15, 15), 1));
    p.drawRect(QRectF(250, 432, 120, 20));
    p.setBrush(QColor(245, 238, 220));
    p.drawRect(QRectF(252, 428, 116, 5));
    p.setBrush(QColor(30, 70, 50));
    p.drawRect(QRectF(258, 410, 104, 18));
    QPainterPath cup;
    cup.moveTo(300, 380);
    cup.cubicTo(300, 408, 340, 408, 340, 380);
    cup.closeSubpath();
    p.setBrush(QColor(250, 250, 245));
    p.setPen(QPen(QColor(140, 140, 150), 1));
    p.drawPath(cup);
    p.setPen(QPen(QColor(30, 60, 150), 1.5));
    p.drawLine(QPointF(303, 388), QPointF(337, 388));
}

// A name on its plaque, in the one size of all five names, sitting just above its label's line.
void paintEntryName(QPainter& p, const LauncherEntry& e) {
    const QRect label = ui::twipsRect(e.left, e.top, e.width, e.height);
    QPainterPath plaque;
    plaque.addRoundedRect(QRectF(label.left() - 6, label.top() + 2, label.width() + 12, ui::twips(735)), 10, 10);
    p.setPen(QPen(QColor(255, 255, 255, 160), 1));
    p.setBrush(QColor(255, 252, 240, 170));
    p.drawPath(plaque);
    p.setFont(brushFont(ui::twips(450), true));
    p.setPen(kDarkBlue);
    p.drawText(QRect(label.left(), label.top(), label.width(), ui::twips(e.y) - label.top()), Qt::AlignCenter,
               QString::fromUtf8(e.name));
}

} // namespace

const LauncherEntry kLauncherEntries[5] = {{720, 1800, 2055, 735, 840, 2640, 2400, "会议记录"},
                                           {3840, 3120, 1935, 735, 4080, 5640, 3720, "学校事历"},
                                           {1440, 5040, 2655, 735, 1800, 3720, 5640, "值周安排"},
                                           {8040, 1800, 2415, 855, 8160, 10320, 2400, "教师通讯录"},
                                           {8400, 5280, 2295, 735, 8640, 10440, 5880, "教师考勤"}};

QPixmap launcherPicture() {
    QPixmap pm(800, 530);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintWall(p, QRect(0, 60, 800, 400));
    paintTable(p, 440, 490);
    paintStillLife(p);

    // title band
    QLinearGradient band(0, 0, 0, 60);
    band.setColorAt(0, QColor(22, 44, 120));
    band.setColorAt(1, QColor(12, 26, 80));
    p.fillRect(QRect(0, 0, 800, 60), band);
    p.fillRect(QRect(0, 58, 800, 2), QColor(212, 175, 55));
    p.setPen(QColor(250, 240, 210));
    p.setFont(brushFont(34, true));
    p.drawText(QRect(0, 0, 800, 60), Qt::AlignCenter, QStringLiteral("Lumno校务管理软件"));

    // the five entry names, exactly under their hot spots
    for (const LauncherEntry& e : kLauncherEntries) paintEntryName(p, e);

    // maker band
    QLinearGradient foot(0, 490, 0, 530);
    foot.setColorAt(0, QColor(12, 26, 80));
    foot.setColorAt(1, QColor(22, 44, 120));
    p.fillRect(QRect(0, 490, 800, 40), foot);
    p.fillRect(QRect(0, 490, 800, 2), QColor(212, 175, 55));
    p.setPen(QColor(225, 225, 235));
    p.setFont(ui::song(10.5));
    p.drawText(QRect(0, 492, 790, 38), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("Lumno 开发组 制作　　版本 V1.0　"));
    p.drawText(QRect(12, 492, 400, 38), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("单击上面的名称，打开相应的记录簿"));
    p.end();
    return pm;
}

QPixmap loginBackground() {
    QPixmap pm(367, 192);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 367, 192);
    g.setColorAt(0, QColor(232, 240, 252));
    g.setColorAt(1, QColor(188, 208, 236));
    p.fillRect(pm.rect(), g);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(255, 255, 255, 40 + i * 8));
        p.drawEllipse(QPointF(330 - i * 14, 170 - i * 6), 70 - i * 8, 40 - i * 4);
    }
    p.setBrush(QColor(22, 44, 120, 30));
    p.drawRect(QRect(0, 0, 367, 40));
    p.end();
    return pm;
}

QIcon appIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(12, 26, 80), 1.5));
    p.setBrush(QColor(22, 44, 120));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    // an open book
    p.setPen(QPen(QColor(212, 175, 55), 1.2));
    p.setBrush(QColor(250, 246, 232));
    QPainterPath left, right;
    left.moveTo(16, 10);
    left.cubicTo(12, 7, 7, 7, 5, 8);
    left.lineTo(5, 24);
    left.cubicTo(8, 23, 12, 23, 16, 26);
    left.closeSubpath();
    right.moveTo(16, 10);
    right.cubicTo(20, 7, 25, 7, 27, 8);
    right.lineTo(27, 24);
    right.cubicTo(24, 23, 20, 23, 16, 26);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(QColor(22, 44, 120), 1));
    for (int y = 13; y <= 21; y += 4) {
        p.drawLine(QPointF(8, y), QPointF(14, y + 1));
        p.drawLine(QPointF(18, y + 1), QPointF(24, y));
    }
    p.end();
    return QIcon(pm);
}

QCursor hotSpotCursor() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // a writing brush pointing at the top-left corner
    QPainterPath handle;
    handle.moveTo(9, 6);
    handle.lineTo(28, 25);
    handle.lineTo(25, 28);
    handle.lineTo(6, 9);
    handle.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(150, 90, 40));
    p.drawPath(handle);
    QPainterPath tip;
    tip.moveTo(1, 1);
    tip.lineTo(11, 5);
    tip.lineTo(5, 11);
    tip.closeSubpath();
    p.setBrush(QColor(16, 32, 120));
    p.setPen(QPen(Qt::white, 1));
    p.drawPath(tip);
    p.end();
    return QCursor(pm, 1, 1);
}
