#include "printing/reportdocument.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextLayout>
#include <cmath>

namespace report {

int LineHeightFor(int pointSize) {
    return static_cast<int>(std::nearbyint(pointSize * 1.36 + 5));
}

QFont reportFont(const QString& family, int pointSize, bool bold, bool underline) {
    QFont font(family.isEmpty() ? QStringLiteral("Arial") : family);
    font.setPixelSize(
        std::max(1, static_cast<int>(std::nearbyint(pointSize * DotsPerInch / 72.0))));
    font.setBold(bold);
    font.setUnderline(underline);
    // Hinting would fit glyphs to the dot grid of the layout, which is not the
    // grid of the device the page is painted on.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

namespace {

// Splits at CR LF, LF CR, CR and LF; each pair counts as one break.
QStringList splitParagraphs(const QString& text) {
    QStringList paragraphs;
    QString current;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            paragraphs << current;
            current.clear();
            const QChar other = c == QLatin1Char('\r') ? QLatin1Char('\n') : QLatin1Char('\r');
            if (i + 1 < text.size() && text.at(i + 1) == other) ++i;
        } else {
            current += c;
        }
    }
    paragraphs << current;
    return paragraphs;
}

} // namespace

QStringList wrapParagraph(const QString& text, const QFont& font, double width) {
    if (text.isEmpty()) return {QString()};
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(std::max(1.0, width));
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty()) lines << QString();
    return lines;
}

QStringList wrapText(const QString& text, const QFont& font, double width) {
    QStringList lines;
    for (const QString& paragraph : splitParagraphs(text))
        lines << wrapParagraph(paragraph, font, width);
    return lines;
}

double textWidth(const QString& text, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

QString elideText(const QString& text, const QFont& font, double width) {
    return QFontMetricsF(font).elidedText(text, Qt::ElideRight, std::max(1.0, width));
}

QStringList ReportPage::texts(const QString& role) const {
    QStringList result;
    for (const ReportItem& item : items)
        if (item.kind == ReportItem::Kind::Text && item.role == role) result << item.text;
    return result;
}

QString ReportPage::allText() const {
    QStringList result;
    for (const ReportItem& item : items)
        if (item.kind == ReportItem::Kind::Text) result << item.text;
    return result.join(QLatin1Char('\n'));
}

QSizeF ReportDocument::pageSizeDots() const {
    const QSizeF a4(mmToDots(210), mmToDots(297));
    return orientation == QPageLayout::Portrait ? a4 : a4.transposed();
}

void paintPage(const ReportPage& page, QPainter& painter, double scale) {
    painter.save();
    painter.scale(scale, scale);
    QPen pen(Qt::black);
    pen.setWidthF(mmToDots(0.2));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const ReportItem& item : page.items) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            if (item.text.isEmpty()) break;
            painter.setFont(item.font);
            painter.drawText(item.rect, int(item.align | Qt::AlignTop) | Qt::TextSingleLine,
                             item.text);
            break;
        case ReportItem::Kind::Frame:
            painter.drawRect(item.rect);
            break;
        case ReportItem::Kind::Line:
            painter.drawLine(item.rect.topLeft(), item.rect.topRight());
            break;
        }
    }
    painter.restore();
}

bool paintReport(const ReportDocument& document, QPagedPaintDevice& device) {
    if (document.pages.isEmpty()) return false;
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setFullPage(true);
        printer->setDocName(document.title);
    } else if (auto* writer = dynamic_cast<QPdfWriter*>(&device)) {
        writer->setTitle(document.title);
        writer->setCreator(QStringLiteral("Orvilex"));
    }
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double scale = device.logicalDpiX() / DotsPerInch;
    for (int i = 0; i < document.pages.size(); ++i) {
        if (i > 0) device.newPage();
        paintPage(document.pages.at(i), painter, scale);
    }
    painter.end();
    return true;
}

} // namespace report
