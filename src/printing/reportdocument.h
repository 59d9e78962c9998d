#pragma once
// A laid-out printout: pages of positioned texts, frames and lines, and the
// painting of those pages onto a printer, a PDF writer or an image.
//
// Layout works in "dots" of 1/1200 inch on A4 paper, measured from the top
// left corner of the sheet, whatever device the pages are painted on later;
// fonts are sized in dots as well, so a printout lays out the same on the
// preview, the printer and in a PDF file.
#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace report {

constexpr double DotsPerInch = 1200.0;
// The report's own pixel (band heights and label offsets are given in it).
constexpr double PixelsPerInch = 96.0;

inline double mmToDots(double mm) {
    return mm * DotsPerInch / 25.4;
}
inline double dotsToMm(double dots) {
    return dots * 25.4 / DotsPerInch;
}
inline double pxToDots(double px) {
    return px * DotsPerInch / PixelsPerInch;
}
inline double dotsToPx(double dots) {
    return dots * PixelsPerInch / DotsPerInch;
}

// The height in report pixels of one text line at a font size,
// Round(size × 1.36 + 5) with halves to even (10 → 19, 12 → 21).
int LineHeightFor(int pointSize);

// A font asked for by name at a point size, sized in dots.
QFont reportFont(const QString& family, int pointSize, bool bold = false, bool underline = false);

// The lines a text occupies at a width: a new line at every line break
// (CR LF, LF CR, CR or LF), long lines broken between words, a word longer
// than the width between characters. An empty text is one empty line.
QStringList wrapText(const QString& text, const QFont& font, double width);
// The lines of one paragraph without breaks in it.
QStringList wrapParagraph(const QString& text, const QFont& font, double width);
double textWidth(const QString& text, const QFont& font);
// The text cut with "…" so that it fits the width.
QString elideText(const QString& text, const QFont& font, double width);

struct ReportItem {
    enum class Kind { Text, Frame, Line };
    Kind kind = Kind::Text;
    // Text: the box of the line (the text is drawn at its top, aligned by
    // `align`); Frame: the rectangle; Line: from the top left to the top right.
    QRectF rect;
    QString text;
    QFont font;
    Qt::Alignment align = Qt::AlignLeft;
    // What the item shows, for tests and debugging ("drFremdwort", "kopf", …).
    QString role;
};

struct ReportPage {
    QList<ReportItem> items;
    // The texts of one role, in the order they were placed.
    QStringList texts(const QString& role) const;
    // Every text of the page joined line by line.
    QString allText() const;
};

struct ReportDocument {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString title; // the print job's name
    QList<ReportPage> pages;
    bool cancelled = false;

    QSizeF pageSizeDots() const;
    int pageCount() const { return pages.size(); }
};

// Told of each page of a document being laid out as soon as the page is
// complete (header and footer included), before the next one is begun.
using PageReady = std::function<void(const ReportPage& page)>;

// Paints the pages onto the device, one device page each, A4 in the
// document's orientation without device margins. Nothing is painted (and
// no page started) for a document without pages; false then.
bool paintReport(const ReportDocument& document, QPagedPaintDevice& device);
// One page onto a painter whose device shows the whole sheet.
void paintPage(const ReportPage& page, QPainter& painter, double scale);

// The line break of the stored texts.
inline const QString CrLf = QStringLiteral("\r\n");

} // namespace report
