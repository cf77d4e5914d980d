#pragma once

class QWidget;

namespace ui {

// Enter released in the box moves the focus to the next control in tab order, as Tab would.
void moveFocusOnEnter(QWidget* box);

} // namespace ui
