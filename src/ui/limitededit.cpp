#include "limitededit.h"

#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextCursor>
#include <QTextDocument>

namespace ui {

LimitedTextEdit::LimitedTextEdit(QWidget* parent, int maxLength) : QPlainTextEdit(parent), m_maxLength(maxLength) {
    setTabChangesFocus(true);
    // Qt's margin of 4 pixels leaves a box one line high no room for that line.
    document()->setDocumentMargin(1);
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::enforce);
}

void LimitedTextEdit::setText(const QString& text) {
    setPlainText(text);
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
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
            if (wholeLineShown) QPainter(viewport()).fillRect(QRectF(0, line.top(), viewport()->width(), bottom - line.top()), palette().base());
            return;
        }
    }
}

void LimitedTextEdit::enforce() {
    if (m_enforcing || m_maxLength <= 0) return;
    const QString text = toPlainText();
    const int excess = int(text.size()) - m_maxLength;
    if (excess <= 0) return;
    // Drop what was just typed or pasted beyond the limit: the characters before the cursor.
    QTextCursor c = textCursor();
    int end = c.position();
    int begin = end - excess;
    if (begin < 0) {
        begin = m_maxLength;
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
