#include "pagepreview.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace {

const int kGap = 12;           // pixels between pages and around them
const qint64 kKept = 64 << 20; // bytes of painted pages kept (at least the page shown)
const qreal kStep = 1.25;

} // namespace

PagePreview::PagePreview(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

PagePreview::~PagePreview() = default;

void PagePreview::setPages(std::unique_ptr<report::Pages> pages, const QPageLayout& layout, int resolution) {
    m_pages = std::move(pages);
    m_cache.clear();
    m_recent.clear();
    m_painted = 0;
    if (m_pages) {
        m_paper = layout.fullRectPixels(resolution);
        m_printable = layout.paintRectPixels(resolution);
        m_resolution = resolution;
    }
    updateScrollBars();
    m_current = 0;
    setCurrentPage(1);
    viewport()->update();
    emit previewChanged();
}

int PagePreview::pageCount() const { return m_pages ? m_pages->count() : 0; }

qreal PagePreview::scale() const {
    if (!m_pages || m_paper.width() <= 0) return 0;
    if (m_zoom > 0) return m_zoom;
    return std::max(1, viewport()->width() - 2 * kGap) / m_paper.width();
}

QSize PagePreview::pageSize() const {
    const qreal s = scale();
    return QSize(std::max(1, qRound(m_paper.width() * s)), std::max(1, qRound(m_paper.height() * s)));
}

int PagePreview::pitch() const { return pageSize().height() + kGap; }

int PagePreview::currentPage() const { return m_current; }

int PagePreview::pageAtMiddle() const {
    if (pageCount() == 0) return 0;
    const int middle = verticalScrollBar()->value() + viewport()->height() / 2 - kGap;
    return std::clamp(middle / pitch() + 1, 1, pageCount());
}

// The page comes to the top of the view (the last ones as far as they can).
void PagePreview::setCurrentPage(int page) {
    page = pageCount() == 0 ? 0 : std::clamp(page, 1, pageCount());
    m_moving = true;
    verticalScrollBar()->setValue(std::max(0, page - 1) * pitch());
    m_moving = false;
    if (page != m_current) {
        m_current = page;
        emit previewChanged();
    }
}

void PagePreview::updateScrollBars() {
    const QSize page = pageSize();
    const int height = pageCount() > 0 ? pageCount() * pitch() + kGap : 0;
    const int width = pageCount() > 0 ? page.width() + 2 * kGap : 0;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, page.height() / 20));
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 20));
}

void PagePreview::zoomBy(qreal factor) {
    if (!m_pages) return;
    const qreal actual = logicalDpiX() / qreal(m_resolution); // the page at its size on paper
    m_zoom = std::clamp(scale() * factor, actual / 8, actual * 4);
    m_cache.clear();
    m_recent.clear();
    updateScrollBars();
    setCurrentPage(m_current);
    viewport()->update();
    emit previewChanged();
}

void PagePreview::zoomIn() { zoomBy(kStep); }
void PagePreview::zoomOut() { zoomBy(1 / kStep); }

// A page painted by the report's own painter, on an image as fine as the screen and with the
// device's resolution, so that every font has the size it has on paper.
const QImage& PagePreview::image(int index) {
    m_recent.removeOne(index);
    m_recent.append(index);
    auto it = m_cache.find(index);
    if (it != m_cache.end()) return *it;
    qint64 kept = 0;
    for (const QImage& page : std::as_const(m_cache)) kept += page.sizeInBytes();
    while (m_recent.size() > 1 && kept > kKept) {
        const QImage oldest = m_cache.take(m_recent.takeFirst());
        kept -= oldest.sizeInBytes();
    }
    const qreal ratio = devicePixelRatioF();
    const QSize size = pageSize() * ratio;
    QImage page(size, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(m_resolution / 0.0254));
    page.setDotsPerMeterY(qRound(m_resolution / 0.0254));
    page.fill(Qt::white);
    {
        QPainter p(&page);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        p.scale(size.width() / m_paper.width(), size.height() / m_paper.height());
        p.translate(m_printable.topLeft() - m_paper.topLeft());
        m_pages->paint(p, index);
    }
    page.setDevicePixelRatio(ratio);
    ++m_painted;
    return *m_cache.insert(index, page);
}

void PagePreview::paintEvent(QPaintEvent*) {
    if (!m_pages) return;
    QPainter p(viewport());
    const QSize size = pageSize();
    const int x = std::max(kGap, (viewport()->width() - size.width()) / 2) - horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    const int first = std::max(0, (top - kGap) / pitch());
    for (int i = first; i < pageCount(); ++i) {
        const int y = kGap + i * pitch() - top;
        if (y >= viewport()->height()) break;
        const QRect frame(QPoint(x, y), size);
        p.fillRect(frame.translated(3, 3), QColor(0, 0, 0, 80)); // a shadow
        p.drawImage(frame, image(i));
    }
}

void PagePreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (m_zoom == 0) {
        m_cache.clear();
        m_recent.clear();
    }
    updateScrollBars();
    setCurrentPage(m_current);
}

void PagePreview::scrollContentsBy(int, int) {
    viewport()->update();
    if (!m_moving && pageAtMiddle() != m_current) {
        m_current = pageAtMiddle();
        emit previewChanged();
    }
}

// Ctrl with the wheel zooms, as in other viewers.
void PagePreview::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() != 0) zoomBy(event->angleDelta().y() > 0 ? kStep : 1 / kStep);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}
