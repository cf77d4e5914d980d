#pragma once

#include <QStringList>
#include <QVector>
#include <functional>

class QMenu;
class QModelIndex;
class QTableView;

// Grids that speak spreadsheet: their cells go out and come in as tab-separated text.
namespace ui {

// Rows of cells pasted into a grid, to be stored from cell from onwards.
using PasteRows = std::function<void(const QModelIndex& from, const QVector<QStringList>& rows)>;

// Ctrl+C (and "复制" in the grid's menu) copies the selected cells, or the whole selected rows,
// as tab-separated text; Ctrl+A selects every cell. Where paste is given, Ctrl+V hands it the
// clipboard's rows with the current cell; a grid without it never takes a paste. A grid that
// builds its own menu (Qt::CustomContextMenu) puts the item in with addCopyItem.
void speakSpreadsheet(QTableView* grid, PasteRows paste = {});
// Adds "复制" (Ctrl+C) to a grid's menu, enabled when cells are selected.
void addCopyItem(QMenu* menu, QTableView* grid);

// The selected cells of a grid as spreadsheet text: one line per row, the cells separated by
// tabs, in the grid's order; the rectangle around a ragged selection, unselected cells empty.
// A cell holding a tab, a line break or a quote is quoted as spreadsheets do.
QString selectedText(const QTableView* grid);
// Spreadsheet text as rows of cells (quoted cells included); a final line break ends the last
// row and adds none.
QVector<QStringList> rowsOfText(const QString& text);

} // namespace ui
