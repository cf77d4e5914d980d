#include "enterfocus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

namespace {

class EnterMovesFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(watched, &tab);
                return true;
            }
        }
        return false;
    }
};

} // namespace

void moveFocusOnEnter(QWidget* box) {
    static EnterMovesFocus* filter = new EnterMovesFocus(QCoreApplication::instance());
    box->installEventFilter(filter);
}

} // namespace ui
