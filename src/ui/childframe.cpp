#include "childframe.h"

#include "twips.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMoveEvent>
#include <QScrollBar>
#include <QStyle>

namespace ui {

QMdiSubWindow* subWindowOf(QWidget* form) {
    return form ? qobject_cast<QMdiSubWindow*>(form->parentWidget()) : nullptr;
}

void fixAndCentre(QWidget* form, double widthTwips, double heightTwips) {
    form->setProperty(kFixedSizeProperty, QSizeF(widthTwips, heightTwips));
    const QSize outer(twips(widthTwips), twips(heightTwips));
    QMdiSubWindow* sub = subWindowOf(form);
    if (!sub) {
        if (!form->parentWidget() && form->size() != outer) form->setFixedSize(outer);
        return;
    }
    if (sub->isMaximized() || sub->isMinimized()) return;
    if (sub->size() != outer) sub->setFixedSize(outer);
    if (QMdiArea* area = sub->mdiArea()) {
        const QSize client = area->viewport()->size();
        const QPoint pos(qMax(0, (client.width() - outer.width()) / 2),
                         qMax(0, (client.height() - outer.height()) / 2));
        if (sub->pos() != pos) sub->move(pos);
    }
}

void recentreFixedWindows(QMdiArea* area) {
    // Centred from the area's origin: a window scrolled part of the way would keep the scroll
    // bars' old offset and a gap beside it.
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
    for (QMdiSubWindow* sub : area->subWindowList()) {
        const QSizeF size = sub->widget() ? sub->widget()->property(kFixedSizeProperty).toSizeF() : QSizeF();
        if (!size.isEmpty()) fixAndCentre(sub->widget(), size.width(), size.height());
    }
}

namespace {

// The range a window's position may take in an area of the given size: whole when it fits, a
// larger window across the edges as far as its size goes; its title bar always below the top.
QPoint clamped(QPoint pos, QSize window, QSize area, int titleHeight) {
    const int x = qBound(qMin(0, area.width() - window.width()), pos.x(), qMax(0, area.width() - window.width()));
    const int y = qBound(qMin(0, area.height() - window.height()), pos.y(), qMax(0, area.height() - titleHeight));
    return {x, y};
}

class TitleBarInside : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* sub = static_cast<QMdiSubWindow*>(watched);
        // The area sizes its scroll bars on a window's moves, but a window sized and placed
        // before it shows counts for nothing then: moved where it is once shown, it counts.
        if (event->type() == QEvent::Show && sub->mdiArea()) {
            QMoveEvent again(sub->pos(), sub->pos());
            QCoreApplication::sendEvent(sub, &again);
        }
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && !sub->isMaximized() &&
            sub->mdiArea()) {
            const int title = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
            const QPoint pos = clamped(sub->pos(), sub->size(), sub->mdiArea()->viewport()->size(), title);
            if (pos != sub->pos()) sub->move(pos);
        }
        return false;
    }
};

} // namespace

void keepTitleBarInside(QMdiSubWindow* sub) { sub->installEventFilter(new TitleBarInside(sub)); }

void bringIntoView(QMdiSubWindow* sub) {
    QMdiArea* area = sub->mdiArea();
    if (!area || sub->isMaximized()) return;
    const QSize room = area->viewport()->size() - sub->size();
    const QPoint pos(qBound(0, sub->x(), qMax(0, room.width())), qBound(0, sub->y(), qMax(0, room.height())));
    if (pos != sub->pos()) sub->move(pos);
}

namespace {

// The change of a scroll bar's value that brings the span [low, high) into [0, room).
int scrollBy(int low, int high, int room) {
    if (low < 0 || high - low > room) return low;
    return high > room ? high - room : 0;
}

} // namespace

QMetaObject::Connection keepFocusInView(QMdiArea* area) {
    return QObject::connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        QWidget* viewport = area->viewport();
        if (!now || !viewport->isAncestorOf(now)) return;
        const QRect r(now->mapTo(viewport, QPoint(0, 0)), now->size());
        QScrollBar* h = area->horizontalScrollBar();
        QScrollBar* v = area->verticalScrollBar();
        h->setValue(h->value() + scrollBy(r.left(), r.left() + r.width(), viewport->width()));
        v->setValue(v->value() + scrollBy(r.top(), r.top() + r.height(), viewport->height()));
    });
}

void centreInParent(QWidget* child, double downTwips) {
    const QWidget* parent = child->parentWidget();
    if (!parent) return;
    child->move((parent->width() - child->width()) / 2, (parent->height() - child->height()) / 2 + twips(downTwips));
}

} // namespace ui
