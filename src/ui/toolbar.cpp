#include "toolbar.h"

#include "childform.h"
#include "fonts.h"
#include "pictures.h"
#include "twips.h"

#include <QAction>

namespace ui {

QToolBar* makeToolbar(QWidget* parent, const std::vector<ToolButton>& buttons, std::function<void(int)> onClick) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName("Toolbar1");
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    QFont font = song(9);
    font.setPixelSize(12);
    bar->setFont(font);
    bar->setStyleSheet("QToolBar { spacing: 1px; padding: 0px; border: none; }"
                       "QToolButton { padding: 1px 2px; margin: 0px; }");
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int index = int(i) + 1;
        if (buttons[i].caption.isEmpty()) {
            bar->addSeparator();
            continue;
        }
        QAction* a = bar->addAction(toolIcon(buttons[i].picture), buttons[i].caption);
        if (!buttons[i].shortcut.isEmpty()) {
            a->setShortcut(buttons[i].shortcut);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            a->setToolTip(
                QString("%1 (%2)").arg(buttons[i].caption, buttons[i].shortcut.toString(QKeySequence::NativeText)));
            // The key works wherever the focus is in the window, not only on the toolbar.
            for (QWidget* w = parent; w; w = w->parentWidget()) {
                if (!qobject_cast<ChildForm*>(w)) continue;
                w->addAction(a);
                break;
            }
        }
        QObject::connect(a, &QAction::triggered, bar, [onClick, index] { onClick(index); });
    }
    return bar;
}

void placeToolbar(QToolBar* bar, double left, double top, double width, double height) {
    if (twips(height) < 34) bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // Buttons share the designed width when their natural size would not fit in it.
    int buttons = 0, separators = 0;
    for (QAction* a : bar->actions()) (a->isSeparator() ? separators : buttons)++;
    if (buttons && bar->sizeHint().width() > twips(width)) {
        const int each = (twips(width) - separators * 6) / buttons;
        for (QAction* a : bar->actions())
            if (QWidget* w = bar->widgetForAction(a); w && !a->isSeparator()) w->setFixedWidth(each);
    }
    const QSize hint = bar->sizeHint();
    bar->setGeometry(twips(left), twips(top), qMax(twips(width), hint.width()), qMax(twips(height), hint.height()));
}

QAction* toolButton(QToolBar* bar, int index) { return bar->actions().value(index - 1); }

} // namespace ui
