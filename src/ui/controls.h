#pragma once

#include <QString>

class QComboBox;
class QLineEdit;
class QTableView;
class QWidget;

// How the program's boxes, lists and grids show what it puts into them.
namespace ui {

// Puts a value into a single-line box, shown from its first character even when it is longer
// than the box (Qt leaves the cursor, and so the view, at its end), and never cut by the box's
// length limit, which caps only what a person types.
void setText(QLineEdit* box, const QString& text);
// Puts a text into an editable combo box, shown from its first character. Emptying it also
// forgets the entry picked last, so that the Down arrow starts again from the first entry.
void setText(QComboBox* box, const QString& text);

// An editable combo box as the program's windows have them: Enter never adds the typed text to
// the list, no completion turns "LI" into "Li Lei", the rows of the drop-down list fit its font,
// and a picked entry is shown from its first character.
void setUpCombo(QComboBox* box);

// Gives a grid's row header (row numbers, row markers) the width of its widest text from the
// start, so that the columns never move sideways when rows or markers come and go.
void keepRowHeaderWidth(QTableView* grid, const QString& widest);

// A disabled box still shows its text in a colour that reads well; only its background and its
// refusal of input tell that it is disabled.
void keepLegibleWhenDisabled(QWidget* box);

} // namespace ui
