#include "limitededit.h"

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
