#pragma once
// The preview of a laid-out printout: its pages one under the other on a grey
// ground, at a zoom where 100 % is the sheet's real size on the screen.
//
// Only the pages in view are painted, when they come into view, so a preview
// of hundreds of pages shows at once, and pages that are still being laid out
// can be added while the first ones are already shown.
#include "printing/reportdocument.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QPixmap>

namespace report {

class ReportPreview : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit ReportPreview(QWidget* parent = nullptr);

    // The document whose pages are shown; it stays the caller's and may gain
    // pages later (call pagesAdded). Null shows nothing.
    void setDocument(const ReportDocument* document);
    // The document gained pages at its end; those already shown stay as they are.
    void pagesAdded();

    int pageCount() const;
    // The page at the top of the view, counted from 1; 0 without pages.
    int currentPage() const;
    // Scrolls the page to the top of the view (as far as the view can scroll).
    void setCurrentPage(int page);

    double zoomFactor() const { return zoom_; }
    void setZoomFactor(double factor);
    // The zoom at which a whole page fits the view / the page's width does.
    void fitInView();
    void fitToWidth();

  signals:
    // The pages, the zoom or the page at the top changed.
    void previewChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QSizeF pageSizeDots() const;
    // Screen pixels per layout dot at the current zoom.
    double scale() const;
    QSize pagePixels() const;
    int pageTop(int index) const; // in content coordinates
    int pageAt(int contentY) const;
    void updateScrollBars();
    const QPixmap& renderedPage(int index);

    const ReportDocument* document_ = nullptr;
    int shownPages_ = 0;
    double zoom_ = 1.0;
    int current_ = 0;
    bool scrollingToPage_ = false;
    QCache<int, QPixmap> rendered_;
};

} // namespace report
