#pragma once

#include <store/report.h>

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QVector>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// A report on paper: A4 pages, each with the school and the title on top, the conditions under
// them, the table's header, and "第 N 页 共 M 页" with the date at the foot. The same pages go to
// the preview, the printer and PDF files.
namespace report {

// Called after each page: done of total; false stops the work.
using Progress = std::function<bool(int done, int total)>;

// Sets the device to A4 in the report's orientation, with the margins of every report.
void setUpPage(QPagedPaintDevice* device, const store::Report& report);

class Pages {
public:
    // Lays the report out for the device's page (set up first); printed is the date at the foot.
    Pages(const store::Report& report, QPagedPaintDevice* device, const QDate& printed = QDate::currentDate());
    int count() const { return m_pages.size(); }
    // Paints page index (0-based) with a painter begun on the device.
    void paint(QPainter& p, int index) const;

private:
    struct Piece {
        enum Kind { Row, Totals, Chart, Line } kind;
        int index;            // the row, or the line of a document
        int from = 0, to = 0; // Row: the wrapped lines of its cells shown here
        qreal height;
    };
    struct DocLine {
        QString text;
        enum Style { Heading, Body, Signature } style;
    };
    using Page = QVector<Piece>;

    void layOutTable();
    void layOutDocuments();
    QStringList wrap(const QString& text, const QFont& font, qreal width) const;
    qreal top() const;
    void paintTop(QPainter& p, int index) const;
    qreal paintCells(QPainter& p, qreal y, const QVector<QStringList>& lines, int from, int to, qreal height, bool bold,
                     bool shaded) const;
    void paintChart(QPainter& p, qreal top, int from, int to) const;

    const store::Report& m_report;
    QPagedPaintDevice* m_device;
    QDate m_printed;
    QFont m_font, m_bold, m_title, m_heading, m_small;
    QFontMetricsF m_metrics;                 // of the body font on the device
    mutable QHash<QString, qreal> m_advance; // the width of each text of the body font
    qreal m_width, m_height, m_line, m_pad;
    QVector<qreal> m_left, m_colWidth;     // each column's left edge and width
    QVector<QVector<QStringList>> m_cells; // each row's cells as wrapped lines
    QVector<QStringList> m_header, m_totals;
    qreal m_headerHeight = 0;
    QVector<DocLine> m_doc;
    QVector<Page> m_pages;
};

// Every page onto the device (set up first); false when progress stopped it.
bool paintAll(const store::Report& report, QPagedPaintDevice* device, const Progress& progress = {});

} // namespace report
