#include "matchdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace ui {

void MatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    QList<QTextLayout::FormatRange> marks;
    if (!m_pattern.isEmpty()) {
        QTextCharFormat mark;
        mark.setBackground(QColor(255, 230, 0));
        mark.setForeground(Qt::black);
        mark.setFontWeight(QFont::Bold);
        for (int at = text.indexOf(m_pattern); at >= 0; at = text.indexOf(m_pattern, at + m_pattern.size()))
            marks.append({int(at), int(m_pattern.size()), mark});
    }
    const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -2, 0);
    QTextLayout layout(text, opt.font);
    layout.setFormats(marks);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setLineWidth(1e6);
    layout.endLayout();
    painter->save();
    painter->setClipRect(r);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const qreal y = r.top() + (r.height() - (line.isValid() ? line.height() : 0)) / 2;
    layout.draw(painter, QPointF(r.left(), y));
    painter->restore();
}

QString excerpt(const QString& text, const QString& pattern, int before, int after) {
    QString flat = text.simplified();
    const int at = pattern.isEmpty() ? -1 : flat.indexOf(pattern);
    if (at < 0) return flat.size() > before + after ? flat.left(before + after) + QStringLiteral("…") : flat;
    const int from = qMax(0, at - before);
    const int to = qMin(int(flat.size()), at + int(pattern.size()) + after);
    return (from > 0 ? QStringLiteral("…") : QString()) + flat.mid(from, to - from) +
           (to < flat.size() ? QStringLiteral("…") : QString());
}

} // namespace ui
