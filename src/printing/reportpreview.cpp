#include "printing/reportpreview.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int Margin = 10; // around the column of pages
constexpr int Gap = 10;    // between two pages
constexpr int ShadowOffset = 3;
// Rendered pages kept for scrolling back, in kilobytes.
constexpr int CacheKilobytes = 96 * 1024;

} // namespace

ReportPreview::ReportPreview(QWidget* parent) : QAbstractScrollArea(parent) {
    rendered_.setMaxCost(CacheKilobytes);
    // The pages lie on a grey ground, whatever colour the style gives views.
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Dark);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
}

void ReportPreview::setDocument(const ReportDocument* document) {
    document_ = document;
    rendered_.clear();
    shownPages_ = document_ ? document_->pageCount() : 0;
    current_ = shownPages_ > 0 ? 1 : 0;
    updateScrollBars();
    scrollingToPage_ = true;
    verticalScrollBar()->setValue(0);
    scrollingToPage_ = false;
    viewport()->update();
    emit previewChanged();
}

void ReportPreview::pagesAdded() {
    const int count = document_ ? document_->pageCount() : 0;
    if (count == shownPages_) return;
    if (count < shownPages_) {
        setDocument(document_);
        return;
    }
    shownPages_ = count;
    if (current_ == 0) current_ = 1;
    updateScrollBars();
    viewport()->update();
    emit previewChanged();
}

int ReportPreview::pageCount() const {
    return shownPages_;
}

int ReportPreview::currentPage() const {
    return current_;
}

void ReportPreview::setCurrentPage(int page) {
    if (shownPages_ == 0) return;
    current_ = std::clamp(page, 1, shownPages_);
    scrollingToPage_ = true;
    verticalScrollBar()->setValue(pageTop(current_ - 1) - Margin);
    scrollingToPage_ = false;
    viewport()->update();
    emit previewChanged();
}

void ReportPreview::setZoomFactor(double factor) {
    factor = std::clamp(factor, 0.05, 5.0);
    if (std::abs(factor - zoom_) < 1e-9) return;
    zoom_ = factor;
    rendered_.clear();
    updateScrollBars();
    // The page at the top stays at the top.
    if (current_ > 0)
        setCurrentPage(current_);
    else
        emit previewChanged();
    viewport()->update();
}

void ReportPreview::fitInView() {
    const QSizeF sheet = pageSizeDots() * logicalDpiX() / DotsPerInch;
    const QSize room = viewport()->size() - QSize(2 * Margin, 2 * Margin);
    if (sheet.isEmpty() || room.isEmpty()) return;
    setZoomFactor(std::min(room.width() / sheet.width(), room.height() / sheet.height()));
}

void ReportPreview::fitToWidth() {
    const QSizeF sheet = pageSizeDots() * logicalDpiX() / DotsPerInch;
    int room = viewport()->width() - 2 * Margin;
    // The column of pages gets taller than the view, and the scroll bar that
    // then appears takes its width from the room.
    if (!verticalScrollBar()->isVisible()) room -= verticalScrollBar()->sizeHint().width();
    if (sheet.isEmpty() || room <= 0) return;
    setZoomFactor(room / sheet.width());
}

QSizeF ReportPreview::pageSizeDots() const {
    return document_ ? document_->pageSizeDots() : ReportDocument().pageSizeDots();
}

double ReportPreview::scale() const {
    return zoom_ * logicalDpiX() / DotsPerInch;
}

QSize ReportPreview::pagePixels() const {
    const QSizeF size = pageSizeDots() * scale();
    return QSize(std::max(1, int(std::lround(size.width()))),
                 std::max(1, int(std::lround(size.height()))));
}

int ReportPreview::pageTop(int index) const {
    return Margin + index * (pagePixels().height() + Gap);
}

int ReportPreview::pageAt(int contentY) const {
    if (shownPages_ == 0) return 0;
    const int index = (contentY - Margin + Gap) / (pagePixels().height() + Gap);
    return std::clamp(index, 0, shownPages_ - 1);
}

void ReportPreview::updateScrollBars() {
    const QSize page = pagePixels();
    const int width = page.width() + 2 * Margin;
    const int height =
        shownPages_ == 0 ? 0 : 2 * Margin + shownPages_ * page.height() + (shownPages_ - 1) * Gap;
    const QSize view = viewport()->size();
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ReportPreview::scrollContentsBy(int, int) {
    if (!scrollingToPage_ && shownPages_ > 0) {
        const int page = pageAt(verticalScrollBar()->value() + Margin) + 1;
        if (page != current_) {
            current_ = page;
            emit previewChanged();
        }
    }
    viewport()->update();
}

void ReportPreview::keyPressEvent(QKeyEvent* event) {
    // Page up and down turn the pages of the window, not the scroll bar.
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        event->ignore();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

const QPixmap& ReportPreview::renderedPage(int index) {
    if (const QPixmap* cached = rendered_.object(index)) return *cached;
    const QSize size = pagePixels();
    const qreal ratio = devicePixelRatioF();
    auto* pixmap = new QPixmap(size * ratio);
    pixmap->setDevicePixelRatio(ratio);
    pixmap->fill(Qt::white);
    {
        QPainter painter(pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintPage(document_->pages.at(index), painter, scale());
    }
    const int cost = std::max(1, int(qint64(pixmap->width()) * pixmap->height() * 4 / 1024));
    // A page larger than the whole cache is drawn once and dropped.
    rendered_.insert(index, pixmap, std::min(cost, CacheKilobytes));
    return *rendered_.object(index);
}

void ReportPreview::paintEvent(QPaintEvent* event) {
    if (!document_ || shownPages_ == 0) return;
    QPainter painter(viewport());
    const QSize page = pagePixels();
    const int contentWidth = page.width() + 2 * Margin;
    const int viewWidth = viewport()->width();
    const int left = contentWidth < viewWidth ? (viewWidth - page.width()) / 2
                                              : Margin - horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    const QRect dirty = event->rect();
    const int first = pageAt(top + dirty.top());
    const int last = pageAt(top + dirty.bottom());
    for (int index = first; index <= last && index < document_->pageCount(); ++index) {
        const QRect sheet(QPoint(left, pageTop(index) - top), page);
        if (!sheet.intersects(dirty)) continue;
        painter.fillRect(sheet.translated(ShadowOffset, ShadowOffset), QColor(0, 0, 0, 90));
        painter.drawPixmap(sheet.topLeft(), renderedPage(index));
    }
}

} // namespace report
