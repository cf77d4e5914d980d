#include "toolbar.h"

#include "fonts.h"
#include "pictures.h"

#include <QAction>

namespace ui {

QToolBar* makeToolbar(QWidget* parent, const std::vector<ToolButton>& buttons,
                      std::function<void(int)> onClick) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName("Toolbar1");
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFont(song(9));
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int index = int(i) + 1;
        if (buttons[i].caption.isEmpty()) {
            bar->addSeparator();
            continue;
        }
        QAction* a = bar->addAction(toolIcon(buttons[i].picture), buttons[i].caption);
        QObject::connect(a, &QAction::triggered, bar, [onClick, index] { onClick(index); });
    }
    return bar;
}

QAction* toolButton(QToolBar* bar, int index) { return bar->actions().value(index - 1); }

} // namespace ui
