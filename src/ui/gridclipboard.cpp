#include "gridclipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <algorithm>

namespace ui {

namespace {

QString quoted(const QString& cell) {
    if (!cell.contains('\t') && !cell.contains('\n') && !cell.contains('\r') && !cell.startsWith('"')) return cell;
    return '"' + QString(cell).replace('"', "\"\"") + '"';
}

void copySelection(const QTableView* grid) {
    const QString text = selectedText(grid);
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

// The grid's key and menu handling, installed on it.
class SpreadsheetKeys : public QObject {
public:
    SpreadsheetKeys(QTableView* grid, PasteRows paste) : QObject(grid), m_grid(grid), m_paste(std::move(paste)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_grid) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Keep the keys from the window's shortcuts while the grid has the focus.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) ||
                (m_paste && key->matches(QKeySequence::Paste))) {
                event->accept();
                return true;
            }
        }
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copySelection(m_grid);
            return true;
        }
        if (key->matches(QKeySequence::SelectAll)) {
            m_grid->selectAll();
            return true;
        }
        if (key->matches(QKeySequence::Paste)) {
            // A grid that takes no paste ignores it (never edits its cells).
            const QModelIndex from = m_grid->currentIndex();
            const QVector<QStringList> rows = rowsOfText(QApplication::clipboard()->text());
            if (m_paste && from.isValid() && !rows.isEmpty()) m_paste(from, rows);
            return true;
        }
        return false;
    }

private:
    QTableView* m_grid;
    PasteRows m_paste;
};

} // namespace

void speakSpreadsheet(QTableView* grid, PasteRows paste) {
    grid->installEventFilter(new SpreadsheetKeys(grid, std::move(paste)));
    if (grid->contextMenuPolicy() == Qt::CustomContextMenu) return; // the grid's own menu holds the item
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, grid, [grid](const QPoint& pos) {
        QMenu menu(grid);
        addCopyItem(&menu, grid);
        menu.exec(grid->viewport()->mapToGlobal(pos));
    });
}

void addCopyItem(QMenu* menu, QTableView* grid) {
    QAction* copy = menu->addAction(QStringLiteral("复制"), grid, [grid] { copySelection(grid); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(grid->selectionModel() && grid->selectionModel()->hasSelection());
}

QString selectedText(const QTableView* grid) {
    const QItemSelectionModel* selection = grid->selectionModel();
    if (!selection || !grid->model()) return {};
    QModelIndexList cells = selection->selectedIndexes();
    if (cells.isEmpty()) return {};
    const QAbstractItemModel* model = grid->model();
    QHeaderView* across = grid->horizontalHeader();
    QHeaderView* down = grid->verticalHeader();
    // Rows and columns in the order the grid shows them, hidden ones left out.
    QVector<int> rows, columns;
    for (const QModelIndex& i : cells) {
        if (grid->isRowHidden(i.row()) || grid->isColumnHidden(i.column())) continue;
        if (!rows.contains(i.row())) rows << i.row();
        if (!columns.contains(i.column())) columns << i.column();
    }
    std::sort(rows.begin(), rows.end(), [down](int a, int b) { return down->visualIndex(a) < down->visualIndex(b); });
    std::sort(columns.begin(), columns.end(),
              [across](int a, int b) { return across->visualIndex(a) < across->visualIndex(b); });
    QStringList lines;
    for (int r : rows) {
        QStringList line;
        for (int c : columns) {
            const QModelIndex i = model->index(r, c);
            line << (selection->isSelected(i) ? quoted(i.data().toString()) : QString());
        }
        lines << line.join('\t');
    }
    return lines.join('\n') + '\n';
}

QVector<QStringList> rowsOfText(const QString& text) {
    QVector<QStringList> rows;
    QStringList row;
    QString cell;
    bool inQuotes = false, wasQuoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text.at(i + 1) == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                cell += c;
            }
        } else if (c == '"' && cell.isEmpty() && !wasQuoted) {
            inQuotes = wasQuoted = true;
        } else if (c == '\t') {
            row << cell;
            cell.clear();
            wasQuoted = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') ++i;
            rows << (row << cell);
            row.clear();
            cell.clear();
            wasQuoted = false;
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty() || wasQuoted) rows << (row << cell);
    return rows;
}

} // namespace ui
