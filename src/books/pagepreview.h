#pragma once

#include <report/pages.h>

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <memory>

// The pages of a report as they will be printed, one under the other. The layout is made once;
// a page is painted (through the same painter as the printer and PDF) only when it comes into
// view, so a report of hundreds of pages shows its first page and its page count at once.
class PagePreview : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PagePreview(QWidget* parent = nullptr);
    ~PagePreview() override;

    // Shows pages laid out for a device with this page layout and resolution (dots per inch);
    // none shows no page.
    void setPages(std::unique_ptr<report::Pages> pages, const QPageLayout& layout = {}, int resolution = 0);
    int pageCount() const;
    // The page in the middle of the view, counted from 1 (0 when there is none).
    int currentPage() const;
    void setCurrentPage(int page);
    // Until zoomed, the pages fill the width of the view.
    void zoomIn();
    void zoomOut();
    // How many pages have been painted since the pages were set (each is painted once per zoom).
    int paintedPages() const { return m_painted; }

signals:
    // The pages, the zoom or the page in view changed.
    void previewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    qreal scale() const; // screen pixels per device dot
    int pageAtMiddle() const;
    QSize pageSize() const;
    int pitch() const; // a page and the gap under it
    void updateScrollBars();
    void zoomBy(qreal factor);
    const QImage& image(int index);

    std::unique_ptr<report::Pages> m_pages;
    QRectF m_paper, m_printable; // in device dots
    int m_resolution = 0;        // device dots per inch
    qreal m_zoom = 0;            // screen pixels per device dot; 0: fit the width
    QHash<int, QImage> m_cache;  // the pages painted at the present size, last shown kept
    QList<int> m_recent;
    int m_painted = 0;
    int m_current = 0;
    bool m_moving = false; // the view is being moved to m_current
};
