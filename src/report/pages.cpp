#include "pages.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace report {

namespace {

const QColor kBars[] = {QColor(0x3b, 0x6e, 0xb5), QColor(0xd9, 0x6c, 0x2b), QColor(0x4a, 0x9c, 0x4e),
                        QColor(0xb8, 0x3b, 0x5e), QColor(0x8a, 0x6d, 0xb8), QColor(0x9c, 0x8a, 0x3b),
                        QColor(0x3b, 0x9c, 0x9c), QColor(0x77, 0x77, 0x77)};

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("宋体"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

Qt::Alignment alignment(store::ReportColumn::Align a) {
    switch (a) {
    case store::ReportColumn::Centre: return Qt::AlignHCenter;
    case store::ReportColumn::Right: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

} // namespace

void setUpPage(QPagedPaintDevice* device, const store::Report& report) {
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
}

Pages::Pages(const store::Report& report, QPagedPaintDevice* device, const QDate& printed)
    : m_report(report), m_device(device), m_printed(printed), m_font(font(10.5)), m_bold(font(10.5, true)),
      m_title(font(16, true)), m_heading(font(14, true)), m_small(font(9)), m_metrics(m_font, device) {
    m_width = device->width();
    m_height = device->height();
    m_line = m_metrics.lineSpacing();
    m_pad = m_line / 4;
    if (report.layout == store::Report::Documents)
        layOutDocuments();
    else
        layOutTable();
    if (m_pages.isEmpty()) m_pages.append(Page());
}

QStringList Pages::wrap(const QString& text, const QFont& f, qreal width) const {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!t.contains(QLatin1Char('\n'))) {
        // The same names, dates and categories come back row after row: each text of the body
        // font is measured once.
        qreal advance;
        if (&f != &m_font) {
            advance = QFontMetricsF(f, m_device).horizontalAdvance(t);
        } else if (auto it = m_advance.constFind(t); it != m_advance.constEnd()) {
            advance = *it;
        } else {
            advance = m_metrics.horizontalAdvance(t);
            m_advance.insert(t, advance);
        }
        if (advance <= width) return {t};
    }
    QStringList lines;
    for (const QString& paragraph : t.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, f, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
        if (paragraph.isEmpty()) lines << QString();
    }
    return lines;
}

// The school, the title, the conditions and what the rows leave out.
qreal Pages::top() const {
    const qreal school = QFontMetricsF(m_font, m_device).lineSpacing();
    const qreal title = QFontMetricsF(m_title, m_device).lineSpacing();
    return school + title * 1.3 + m_line * (m_report.conditions.size() + m_report.notes.size()) + m_line * 0.6;
}

void Pages::layOutTable() {
    qreal total = 0;
    for (const store::ReportColumn& c : m_report.columns) total += c.width;
    qreal x = 0;
    for (const store::ReportColumn& c : m_report.columns) {
        m_left << x;
        m_colWidth << m_width * c.width / total;
        x += m_colWidth.last();
    }
    auto cellsOf = [this](const QStringList& values, const QFont& f) {
        QVector<QStringList> cells;
        for (int c = 0; c < m_colWidth.size(); ++c) cells << wrap(values.value(c), f, m_colWidth[c] - 2 * m_pad);
        return cells;
    };
    auto linesOf = [](const QVector<QStringList>& cells) {
        int n = 1;
        for (const QStringList& c : cells) n = std::max(n, int(c.size()));
        return n;
    };
    QStringList captions;
    for (const store::ReportColumn& c : m_report.columns) captions << c.caption;
    m_header = cellsOf(captions, m_bold);
    m_headerHeight = linesOf(m_header) * m_line + 2 * m_pad;
    if (m_report.rows.isEmpty()) return;

    const qreal avail = m_height - top() - m_headerHeight - 2 * m_line;
    Page page;
    qreal y = 0;
    auto newPage = [&] {
        m_pages << page;
        page.clear();
        y = 0;
    };
    auto place = [&](Piece::Kind kind, int index, int lines) {
        for (int from = 0; from < lines;) {
            const int fit = int((avail - y - 2 * m_pad) / m_line);
            const int left = lines - from;
            // A row that fits on a page of its own is never split.
            if (fit <= 0 || (fit < left && y > 0 && left * m_line + 2 * m_pad <= avail)) {
                newPage();
                continue;
            }
            const int take = std::min(fit, left);
            page.append({kind, index, from, from + take, take * m_line + 2 * m_pad});
            y += page.last().height;
            from += take;
        }
    };
    m_cells.reserve(m_report.rows.size());
    for (int i = 0; i < m_report.rows.size(); ++i) {
        m_cells << cellsOf(m_report.rows[i], m_font);
        place(Piece::Row, i, linesOf(m_cells.last()));
    }
    if (!m_report.totals.isEmpty()) {
        m_totals = cellsOf(m_report.totals, m_bold);
        place(Piece::Totals, -1, linesOf(m_totals));
    }
    if (m_report.chartCount > 0) {
        // The chart: a legend line, then a bar per teacher, as many on a page as fit.
        const qreal bar = m_line * 1.2;
        y += m_line;
        for (int from = 0; from < m_report.rows.size();) {
            const int fit = int((avail - y - 2 * m_line) / bar);
            if (fit < std::min(3, int(m_report.rows.size()) - from)) {
                newPage();
                continue;
            }
            const int to = std::min<int>(m_report.rows.size(), from + fit);
            page.append({Piece::Chart, -1, from, to, 2 * m_line + (to - from) * bar});
            y += page.last().height;
            from = to;
        }
    }
    m_pages << page;
}

void Pages::layOutDocuments() {
    const QVector<store::ReportColumn>& cols = m_report.columns;
    for (int i = 0; i < m_report.rows.size(); ++i) {
        const QStringList& row = m_report.rows[i];
        if (i > 0 && m_report.pagePerRecord)
            m_doc.append({QString(), DocLine::Heading}); // a page break
        else if (i > 0)
            m_doc.append({QString(), DocLine::Body});
        for (const QString& l : wrap(row.value(0), m_heading, m_width)) m_doc.append({l, DocLine::Heading});
        for (int c = 1; c < cols.size(); ++c) {
            const QString value = row.value(c);
            // The last column, the content, as a block of its own under its caption.
            const bool block = c == cols.size() - 1;
            const QString text = block ? cols[c].caption + QStringLiteral("：\n") + value
                                       : cols[c].caption + QStringLiteral("：") + value;
            for (const QString& l : wrap(text, m_font, m_width)) m_doc.append({l, DocLine::Body});
        }
        m_doc.append({QString(), DocLine::Body});
        m_doc.append({m_report.signature + QStringLiteral("＿＿＿＿＿＿＿＿"), DocLine::Signature});
    }
    if (m_doc.isEmpty()) return;
    const qreal avail = m_height - top() - 2 * m_line;
    const qreal headingLine = QFontMetricsF(m_heading, m_device).lineSpacing() * 1.4;
    Page page;
    qreal y = 0;
    for (int i = 0; i < m_doc.size(); ++i) {
        const bool pageBreak = m_doc[i].style == DocLine::Heading && m_doc[i].text.isEmpty();
        const qreal h = m_doc[i].style == DocLine::Heading ? headingLine : m_line;
        if (pageBreak || (y + h > avail && !page.isEmpty())) {
            m_pages << page;
            page.clear();
            y = 0;
            if (pageBreak) continue;
        }
        if (page.isEmpty() && m_doc[i].text.isEmpty()) continue; // no blank line at the top of a page
        page.append({Piece::Line, i, 0, 0, h});
        y += h;
    }
    m_pages << page;
}

void Pages::paintTop(QPainter& p, int index) const {
    qreal y = 0;
    auto line = [&](const QString& text, const QFont& f, qreal spacing) {
        p.setFont(f);
        const qreal h = QFontMetricsF(f, m_device).lineSpacing() * spacing;
        p.drawText(QRectF(0, y, m_width, h), Qt::AlignHCenter | Qt::AlignVCenter, text);
        y += h;
    };
    line(m_report.school, m_font, 1);
    line(m_report.title, m_title, 1.3);
    for (const QString& c : m_report.conditions) line(c, m_font, 1);
    for (const QString& n : m_report.notes) line(n, m_font, 1);
    // The foot: the page, and the date printed.
    p.setFont(m_small);
    const QRectF foot(0, m_height - m_line * 1.2, m_width, m_line * 1.2);
    p.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
               QStringLiteral("第 %1 页 共 %2 页").arg(index + 1).arg(m_pages.size()));
    p.drawText(foot, Qt::AlignRight | Qt::AlignBottom, store::reportDate(m_printed));
}

qreal Pages::paintCells(QPainter& p, qreal y, const QVector<QStringList>& lines, int from, int to, qreal height,
                        bool bold, bool shaded) const {
    p.setFont(bold ? m_bold : m_font);
    for (int c = 0; c < m_colWidth.size(); ++c) {
        const QRectF cell(m_left[c], y, m_colWidth[c], height);
        if (shaded) p.fillRect(cell, QColor(0xe8, 0xe8, 0xe8));
        p.drawRect(cell);
        const Qt::Alignment a = shaded ? Qt::AlignHCenter : alignment(m_report.columns[c].align);
        const QStringList& text = lines.at(c);
        for (int l = from; l < to && l < text.size(); ++l)
            p.drawText(QRectF(m_left[c] + m_pad, y + m_pad + (l - from) * m_line, m_colWidth[c] - 2 * m_pad, m_line),
                       a | Qt::AlignVCenter, text.at(l));
    }
    return y + height;
}

void Pages::paintChart(QPainter& p, qreal top, int from, int to) const {
    const int first = m_report.chartFirst, n = m_report.chartCount;
    double most = 1;
    for (const QStringList& row : m_report.rows) {
        double sum = 0;
        for (int c = first; c < first + n; ++c) sum += row.value(c).toDouble();
        most = std::max(most, sum);
    }
    p.setFont(m_small);
    qreal y = top + m_line * 0.5;
    qreal x = 0;
    for (int c = 0; c < n; ++c) { // the legend
        p.fillRect(QRectF(x, y + m_line * 0.2, m_line * 0.8, m_line * 0.6), kBars[c % 8]);
        const QString caption = m_report.columns[first + c].caption;
        p.drawText(QRectF(x + m_line, y, m_width, m_line), Qt::AlignLeft | Qt::AlignVCenter, caption);
        x += m_line * 1.5 + QFontMetricsF(m_small, m_device).horizontalAdvance(caption);
    }
    y += m_line * 1.5;
    const qreal labels = m_width * 0.18, scale = (m_width - labels - m_line * 3) / most, bar = m_line * 1.2;
    for (int r = from; r < to; ++r, y += bar) {
        const QStringList& row = m_report.rows[r];
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y, labels - m_pad, bar), Qt::AlignRight | Qt::AlignVCenter, row.value(0));
        qreal bx = labels, sum = 0;
        for (int c = 0; c < n; ++c) {
            const double v = row.value(first + c).toDouble();
            p.fillRect(QRectF(bx, y + bar * 0.15, v * scale, bar * 0.7), kBars[c % 8]);
            bx += v * scale;
            sum += v;
        }
        p.drawText(QRectF(bx + m_pad, y, m_line * 3, bar), Qt::AlignLeft | Qt::AlignVCenter, QString::number(sum));
    }
}

void Pages::paint(QPainter& p, int index) const {
    p.save();
    p.setPen(QPen(Qt::black, m_line / 20));
    paintTop(p, index);
    qreal y = top();
    const Page& page = m_pages.value(index);
    if (m_report.rows.isEmpty()) {
        p.setFont(m_heading);
        p.drawText(QRectF(0, y, m_width, m_line * 4), Qt::AlignCenter, store::kNoRecords);
    } else if (m_report.layout == store::Report::Table) {
        y = paintCells(p, y, m_header, 0, 1000, m_headerHeight, true, true);
        for (const Piece& piece : page) {
            if (piece.kind == Piece::Row)
                y = paintCells(p, y, m_cells[piece.index], piece.from, piece.to, piece.height, false, false);
            else if (piece.kind == Piece::Totals)
                y = paintCells(p, y, m_totals, piece.from, piece.to, piece.height, true, false);
            else if (piece.kind == Piece::Chart) {
                paintChart(p, y, piece.from, piece.to);
                y += piece.height;
            }
        }
    } else {
        for (const Piece& piece : page) {
            const DocLine& line = m_doc[piece.index];
            p.setFont(line.style == DocLine::Heading ? m_heading : m_font);
            const Qt::Alignment a = line.style == DocLine::Heading     ? Qt::AlignHCenter
                                    : line.style == DocLine::Signature ? Qt::AlignRight
                                                                       : Qt::AlignLeft;
            p.drawText(QRectF(0, y, m_width, piece.height), a | Qt::AlignVCenter, line.text);
            y += piece.height;
        }
    }
    p.restore();
}

bool paintAll(const store::Report& report, QPagedPaintDevice* device, const Progress& progress) {
    const Pages pages(report, device);
    QPainter p;
    if (!p.begin(device)) return false;
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0) device->newPage();
        pages.paint(p, i);
        if (progress && !progress(i + 1, pages.count())) {
            p.end();
            return false;
        }
    }
    return p.end();
}

} // namespace report
