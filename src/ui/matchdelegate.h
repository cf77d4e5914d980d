#pragma once

#include <QStyledItemDelegate>

namespace ui {

// Draws a list's texts with every occurrence of one piece of text marked, as a search shows
// what it matched.
class MatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setPattern(const QString& pattern) { m_pattern = pattern; }
    const QString& pattern() const { return m_pattern; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QString m_pattern;
};

// A piece of text around the first occurrence of pattern, on one line: up to before characters
// ahead of it and after characters behind it, "…" where text was cut.
QString excerpt(const QString& text, const QString& pattern, int before = 12, int after = 36);

} // namespace ui
