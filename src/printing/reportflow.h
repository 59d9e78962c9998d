#pragma once
// Flowing bands down the columns of A4 pages, with a header and a footer on
// every page; shared by the word list and the index cards.
#include "printing/reportdocument.h"
#include "printing/wordlistreport.h"

namespace report {

// A horizontal strip of the printout; its items are placed relative to the
// strip's top left corner.
struct Band {
    double height = 0;
    QList<ReportItem> items;

    void addText(double x, double y, double width, double lineHeight, const QString& text,
                 const QFont& font, const QString& role, Qt::Alignment align = Qt::AlignLeft);
    void addFrame(const QRectF& rect, const QString& role);
    void addLine(double x1, double x2, double y, const QString& role);
};

class PageFlow {
  public:
    // `headerPointSize`: the size of the header and footer lines (Courier New).
    PageFlow(QPageLayout::Orientation orientation, const PageSettings& page, int columns,
             double columnGapMm, int headerPointSize);

    double columnWidth() const { return columnWidth_; }
    double columnHeight() const { return bottom_ - top_; }

    // Puts the bands one under the other: in the current column when all of
    // them fit, otherwise at the top of the next column or page. A group
    // taller than a whole column is broken between its bands, and a single
    // band taller than a column gets a column of its own. `section` is what
    // "<abschnitt>" shows on a page that begins with this group.
    void place(const QList<Band>& bands, const QString& section);

    // Each page is handed over once it is complete.
    void setPageReady(PageReady pageReady) { pageReady_ = std::move(pageReady); }

    // Completes the last page and gives the pages with their headers and footers.
    ReportDocument finish(const QString& title, bool cancelled);

  private:
    void advance(const QString& section);
    void newPage(const QString& section);
    void completePage(int index);
    void put(const Band& band);

    QPageLayout::Orientation orientation_;
    PageSettings page_;
    int columns_ = 1;
    double gap_ = 0;
    double left_ = 0;
    double printableWidth_ = 0;
    double columnWidth_ = 0;
    double top_ = 0;    // top of the columns (below the header)
    double bottom_ = 0; // bottom of the columns (above the footer)
    double sheetTop_ = 0;
    double sheetBottom_ = 0;
    QFont headerFont_;
    double headerLine_ = 0;

    QList<ReportPage> pages_;
    QStringList pageSections_;
    int completedPages_ = 0;
    PageReady pageReady_;
    int column_ = 0;
    double y_ = 0;
};

} // namespace report
