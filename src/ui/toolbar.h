#pragma once

#include <QKeySequence>
#include <QString>
#include <QToolBar>
#include <functional>
#include <vector>

namespace ui {

// One button of a toolbar: a caption, a picture kind (see toolIcon) and the key that presses it
// anywhere in its window; an empty caption and picture make a separator.
struct ToolButton {
    QString caption;
    QString picture;
    QKeySequence shortcut = {};
};

// A toolbar named "Toolbar1" whose actions(), in order, are its buttons by index (1-based:
// actions()[i - 1] is button i). A click on button i, or its key while the focus is in the
// toolbar's child window, calls onClick(i); the key is shown in the button's tooltip.
QToolBar* makeToolbar(QWidget* parent, const std::vector<ToolButton>& buttons, std::function<void(int)> onClick);
// Places a toolbar at its designed position (twips); a bar too low for captions under the
// pictures shows them beside the pictures.
void placeToolbar(QToolBar* bar, double left, double top, double width, double height);
// Button i (1-based) of a toolbar made by makeToolbar.
QAction* toolButton(QToolBar* bar, int index);

} // namespace ui
