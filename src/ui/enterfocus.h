#pragma once

class QWidget;

namespace ui {

// Enter released in the box moves the focus to the next control in tab order, as Tab would.
void moveFocusOnEnter(QWidget* box);

// Enter in the box does nothing: in an editable combo box it would otherwise pick the listed
// entry that equals the typed text.
void ignoreEnter(QWidget* box);

} // namespace ui
