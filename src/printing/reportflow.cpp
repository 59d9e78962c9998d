#include "printing/reportflow.h"

#include <algorithm>

namespace report {

void Band::addText(double x, double y, double width, double lineHeight, const QString& text,
                   const QFont& font, const QString& role, Qt::Alignment align) {
    ReportItem item;
    item.kind = ReportItem::Kind::Text;
    item.rect = QRectF(x, y, std::max(1.0, width), lineHeight);
    item.text = text;
    item.font = font;
    item.align = align;
    item.role = role;
    items << item;
}

void Band::addFrame(const QRectF& rect, const QString& role) {
    ReportItem item;
    item.kind = ReportItem::Kind::Frame;
    item.rect = rect;
    item.role = role;
    items << item;
}

void Band::addLine(double x1, double x2, double y, const QString& role) {
    ReportItem item;
    item.kind = ReportItem::Kind::Line;
    item.rect = QRectF(x1, y, x2 - x1, 0);
    item.role = role;
    items << item;
}

namespace {

// Margins that leave no room between them are shrunk in proportion, so that
// at least `room` millimetres of the sheet stay printable.
void keepRoom(double& first, double& second, double sheet, double room) {
    const double available = sheet - room;
    if (first + second > available && first + second > 0) {
        const double factor = available / (first + second);
        first *= factor;
        second *= factor;
    }
}

} // namespace

PageFlow::PageFlow(QPageLayout::Orientation orientation, const PageSettings& page, int columns,
                   double columnGapMm, int headerPointSize)
    : orientation_(orientation), page_(page), columns_(std::max(1, columns)) {
    const double sheetWidth = orientation == QPageLayout::Portrait ? 210 : 297;
    const double sheetHeight = orientation == QPageLayout::Portrait ? 297 : 210;
    double left = page.left, right = page.right, top = page.top, bottom = page.bottom;
    keepRoom(left, right, sheetWidth, 30);
    keepRoom(top, bottom, sheetHeight, 50);

    headerFont_ = reportFont(QStringLiteral("Courier New"), headerPointSize);
    headerLine_ = pxToDots(LineHeightFor(headerPointSize));
    const double headerBand = headerLine_ * 1.5;

    left_ = mmToDots(left);
    printableWidth_ = mmToDots(sheetWidth - left - right);
    gap_ = mmToDots(columnGapMm);
    columnWidth_ = (printableWidth_ - (columns_ - 1) * gap_) / columns_;
    sheetTop_ = mmToDots(top);
    sheetBottom_ = mmToDots(sheetHeight - bottom);
    top_ = sheetTop_ + (page.header.isEmpty() ? 0 : headerBand);
    bottom_ = sheetBottom_ - (page.footer.isEmpty() ? 0 : headerBand);
}

void PageFlow::newPage(const QString& section) {
    if (!pages_.isEmpty()) completePage(pages_.size() - 1);
    pages_.append(ReportPage());
    pageSections_.append(section);
    column_ = 0;
    y_ = top_;
}

void PageFlow::advance(const QString& section) {
    if (column_ + 1 < columns_) {
        ++column_;
        y_ = top_;
    } else {
        newPage(section);
    }
}

void PageFlow::put(const Band& band) {
    const double x = left_ + column_ * (columnWidth_ + gap_);
    for (ReportItem item : band.items) {
        item.rect.translate(x, y_);
        pages_.last().items.append(item);
    }
    y_ += band.height;
}

void PageFlow::place(const QList<Band>& bands, const QString& section) {
    double total = 0;
    for (const Band& band : bands)
        total += band.height;
    if (pages_.isEmpty()) newPage(section);
    const bool columnEmpty = y_ <= top_;
    if (y_ + total > bottom_ && !columnEmpty) advance(section);
    if (y_ + total <= bottom_ || total <= columnHeight() || (y_ <= top_ && bands.size() == 1)) {
        for (const Band& band : bands)
            put(band);
        return;
    }
    for (const Band& band : bands) {
        if (y_ + band.height > bottom_ && y_ > top_) advance(section);
        put(band);
    }
}

void PageFlow::completePage(int index) {
    if (index < completedPages_) return;
    PlaceholderValues values;
    values.page = index + 1;
    values.date = page_.date;
    values.section = pageSections_.at(index);
    values.databaseName = page_.databaseName;
    values.language = page_.language;
    ReportPage& sheet = pages_[index];
    auto line = [&](const QString& text, double y, const QString& role) {
        const QString expanded = ExpandPlaceholders(text, values);
        if (expanded.isEmpty()) return;
        ReportItem item;
        item.rect = QRectF(left_, y, printableWidth_, headerLine_);
        item.text = elideText(expanded, headerFont_, printableWidth_);
        item.font = headerFont_;
        item.role = role;
        sheet.items.append(item);
    };
    if (!page_.header.isEmpty()) line(page_.header, sheetTop_, QStringLiteral("kopf"));
    if (!page_.footer.isEmpty())
        line(page_.footer, sheetBottom_ - headerLine_, QStringLiteral("fuss"));
    completedPages_ = index + 1;
    if (pageReady_) pageReady_(sheet);
}

ReportDocument PageFlow::finish(const QString& title, bool cancelled) {
    if (!pages_.isEmpty()) completePage(pages_.size() - 1);
    ReportDocument document;
    document.orientation = orientation_;
    document.title = title;
    document.cancelled = cancelled;
    document.pages = pages_;
    return document;
}

} // namespace report
