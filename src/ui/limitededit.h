#pragma once

#include <QPlainTextEdit>

namespace ui {

// A multi-line plain text box that takes at most maxLength characters, typed or pasted; a longer
// value the program puts in (setText) is shown whole and is not cut.
class LimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
    // Set by the windows' forms (0: no limit).
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength)
public:
    explicit LimitedTextEdit(QWidget* parent = nullptr, int maxLength = 0);
    void setMaxLength(int maxLength) {
        m_maxLength = maxLength;
        enforce();
    }
    int maxLength() const { return m_maxLength; }
    // Locked: the text is shown but cannot be changed.
    void setLocked(bool locked) { setReadOnly(locked); }
    bool isLocked() const { return isReadOnly(); }
    QString text() const { return toPlainText(); }
    // Shows text from its first line, also in a box one line high.
    void setText(const QString& text);

protected:
    void insertFromMimeData(const QMimeData* source) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void enforce();
    int m_maxLength = 0;
    int m_shownLength = 0; // of the text the program put in last
    bool m_enforcing = false;
};

} // namespace ui
