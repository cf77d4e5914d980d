#include "limitededit.h"

#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace ui {

LimitedTextEdit::LimitedTextEdit(QWidget* parent, int maxLength) : QPlainTextEdit(parent), m_maxLength(maxLength) {
    setTabChangesFocus(true);
    // Qt's margin of 4 pixels leaves a box one line high no room for that line.
    document()->setDocumentMargin(1);
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::enforce);
}

// Whole lines only: below the last line that fits, the box shows its background, not the tops of
// the next line. A box lower than one line still shows what it can of its first line.
void LimitedTextEdit::paintEvent(QPaintEvent* e) {
    QPlainTextEdit::paintEvent(e);
    const int bottom = viewport()->height();
    bool wholeLineShown = false;
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && block.isVisible(); block = block.next()) {
        const QPointF top = blockBoundingGeometry(block).translated(contentOffset()).topLeft();
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QRectF line = layout->lineAt(i).rect().translated(top);
            if (line.bottom() <= bottom) {
                wholeLineShown = wholeLineShown || line.top() >= 0;
                continue;
            }
            if (wholeLineShown)
                QPainter(viewport())
                    .fillRect(QRectF(0, line.top(), viewport()->width(), bottom - line.top()), palette().base());
            return;
        }
    }
}

void LimitedTextEdit::enforce() {
    if (m_enforcing || m_maxLength <= 0) return;
    const QString text = toPlainText();
    // A value put in by the program may be longer (another program wrote it): it is never cut,
    // it only cannot grow.
    const int limit = qMax(m_maxLength, m_shownLength);
    const int excess = int(text.size()) - limit;
    if (excess <= 0) return;
    // Drop what was just typed or pasted beyond the limit: the characters before the cursor.
    QTextCursor c = textCursor();
    int end = c.position();
    int begin = end - excess;
    if (begin < 0) {
        begin = limit;
        end = int(text.size());
    }
    if (begin > 0 && begin < text.size() && text.at(begin).isLowSurrogate()) --begin;
    m_enforcing = true;
    c.setPosition(begin);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    setTextCursor(c);
    m_enforcing = false;
}

} // namespace ui

namespace ui {

namespace {
constexpr int kLongLine = 10000;

bool hasLongLine(QStringView text) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        if (end - start > kLongLine) return true;
        start = end + 1;
    }
    return false;
}
} // namespace

// A line of many thousand characters is broken anywhere: looking for word boundaries in a line
// without any would freeze the window for minutes. Other text wraps at word boundaries. The mode
// changes while the box holds no long line: switching to word boundaries before the new text
// replaced a long line (after a save or a delete showed a short record) laid the long line out
// again at word boundaries.
void LimitedTextEdit::setText(const QString& text) {
    const bool longLine = hasLongLine(text);
    if (longLine) setWordWrapMode(QTextOption::WrapAnywhere);
    m_shownLength = int(text.size());
    setPlainText(text);
    if (!longLine) setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source) {
    // The pasted text joins the line at the cursor: they are measured together.
    if (source && source->hasText() && hasLongLine(textCursor().block().text() + source->text()))
        setWordWrapMode(QTextOption::WrapAnywhere);
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace ui
