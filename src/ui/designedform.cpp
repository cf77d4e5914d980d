#include "designedform.h"

#include "twips.h"

namespace ui {

QToolBar* makeToolbarIn(QWidget* placeholder, const std::vector<ToolButton>& buttons,
                        std::function<void(int)> onClick) {
    QToolBar* bar = makeToolbar(placeholder, buttons, std::move(onClick));
    placeToolbar(bar, 0, 0, toTwips(placeholder->width()), toTwips(placeholder->height()));
    placeholder->resize(bar->size());
    return bar;
}

} // namespace ui
