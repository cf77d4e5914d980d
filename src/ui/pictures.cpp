#include "pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {

namespace {

const QColor kInk(40, 60, 110);

void arrow(QPainter& p, bool right, bool bar, bool doubled) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 200));
    auto tri = [&](qreal x) {
        QPolygonF t;
        if (right)
            t << QPointF(x, 3) << QPointF(x + 6, 8) << QPointF(x, 13);
        else
            t << QPointF(x + 6, 3) << QPointF(x, 8) << QPointF(x + 6, 13);
        p.drawPolygon(t);
    };
    if (doubled) {
        tri(right ? 6 : 4);
    } else {
        tri(right ? 3 : 7);
        tri(right ? 8 : 2);
    }
    if (bar) {
        p.setBrush(kInk);
        p.drawRect(right ? QRectF(12.5, 3, 2, 10) : QRectF(1.5, 3, 2, 10));
    }
}

void paint(QPainter& p, const QString& kind) {
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(kInk, 1.4);
    p.setPen(pen);
    if (kind == "add") {
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(2.5, 1.5, 9, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 60));
        p.drawRect(QRectF(9, 9, 6, 2));
        p.drawRect(QRectF(11, 7, 2, 6));
    } else if (kind == "save") {
        p.setBrush(QColor(60, 100, 180));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2, 8, 5));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
    } else if (kind == "edit" || kind == "modify") {
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(1.5, 2.5, 9, 12));
        QPainterPath pencil;
        pencil.moveTo(14, 3);
        pencil.lineTo(15.5, 4.5);
        pencil.lineTo(8, 12);
        pencil.lineTo(5.5, 13);
        pencil.lineTo(6.5, 10.5);
        pencil.closeSubpath();
        p.setBrush(QColor(230, 160, 30));
        p.drawPath(pencil);
    } else if (kind == "search") {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QRectF(2, 2, 8, 8));
        p.setPen(QPen(QColor(120, 80, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(14, 14));
    } else if (kind == "delete") {
        p.setPen(QPen(QColor(200, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    } else if (kind == "first") {
        arrow(p, false, true, true);
    } else if (kind == "previous") {
        arrow(p, false, false, true);
    } else if (kind == "next") {
        arrow(p, true, false, true);
    } else if (kind == "last") {
        arrow(p, true, true, true);
    } else if (kind == "exit" || kind == "back") {
        p.setBrush(QColor(170, 110, 60));
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 60));
        QPolygonF a;
        a << QPointF(15, 8) << QPointF(10, 4) << QPointF(10, 6.5) << QPointF(6, 6.5) << QPointF(6, 9.5)
          << QPointF(10, 9.5) << QPointF(10, 12);
        if (kind == "back") {
            for (QPointF& pt : a) pt.setX(16 - pt.x() + 4);
        }
        p.drawPolygon(a);
    } else if (kind == "settings") {
        p.setBrush(QColor(140, 150, 170));
        p.setPen(QPen(kInk, 1));
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(8, 8);
            p.rotate(i * 45);
            p.drawRect(QRectF(-1.5, -7.5, 3, 4));
            p.restore();
        }
        p.drawEllipse(QRectF(3, 3, 10, 10));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6, 6, 4, 4));
    } else if (kind == "browse") {
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(QColor(30, 110, 200), 1.2));
        for (int y = 5; y <= 12; y += 3) p.drawLine(QPointF(4, y), QPointF(12, y));
    } else if (kind == "enter") {
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(1.5, 6), QPointF(14.5, 6));
        p.drawLine(QPointF(1.5, 10), QPointF(14.5, 10));
        p.drawLine(QPointF(6, 1.5), QPointF(6, 14.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 60));
        p.drawRect(QRectF(9, 11, 5, 2));
        p.drawRect(QRectF(10.5, 9.5, 2, 5));
    } else if (kind == "lock") {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(110, 110, 120), 2));
        p.drawArc(QRectF(4, 1.5, 8, 10), 0, 180 * 16);
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(220, 170, 40));
        p.drawRoundedRect(QRectF(2.5, 7, 11, 8), 1.5, 1.5);
    }
}

} // namespace

QIcon toolIcon(const QString& kind) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(16 * scale, 16 * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(p, kind);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace ui
