#include "childframe.h"

#include "twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
    for (QMdiSubWindow* sub : area->subWindowList()) {
        const QSizeF size = sub->widget() ? sub->widget()->property(kFixedSizeProperty).toSizeF() : QSizeF();
        if (!size.isEmpty()) fixAndCentre(sub->widget(), size.width(), size.height());
    }
}

void centreInParent(QWidget* child, double downTwips) {
    const QWidget* parent = child->parentWidget();
    if (!parent) return;
    child->move((parent->width() - child->width()) / 2, (parent->height() - child->height()) / 2 + twips(downTwips));
}

} // namespace ui
