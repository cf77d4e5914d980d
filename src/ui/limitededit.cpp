#include "limitededit.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace ui {

LimitedTextEdit::LimitedTextEdit(QWidget* parent, int maxLength) : QPlainTextEdit(parent), m_maxLength(maxLength) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::enforce);
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
// without any would freeze the window for minutes. Other text wraps at word boundaries.
void LimitedTextEdit::setText(const QString& text) {
    setWordWrapMode(hasLongLine(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setPlainText(text);
}

void LimitedTextEdit::insertFromMimeData(const QMimeData* source) {
    // The pasted text joins the line at the cursor: they are measured together.
    if (source && source->hasText() && hasLongLine(textCursor().block().text() + source->text()))
        setWordWrapMode(QTextOption::WrapAnywhere);
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace ui
