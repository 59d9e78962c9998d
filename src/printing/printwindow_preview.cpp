// The print window's preview: its zoom and its pages.
#include "printing/printwindow.h"

#include "printing/reportpreview.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <cmath>

namespace {

// The leading whole number of a zoom text ("35%" → 35), or 0.
int leadingNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    int end = 0;
    while (end < trimmed.size() && trimmed.at(end).isDigit() && trimmed.at(end).unicode() < 128)
        ++end;
    return end == 0 ? 0 : trimmed.left(end).toInt();
}

} // namespace

void Tdruck::zo() {
    const int percent = leadingNumber(ComboBox1->currentText());
    // A typed zoom that is no number leaves the preview as it is.
    if (percent <= 0) return;
    prev->setZoomFactor(std::clamp(percent, 5, 500) / 100.0);
}

void Tdruck::sbziClick() {
    sbzi->setEnabled(true);
    sbzo->setEnabled(true);
    if (ComboBox1->currentIndex() >= ComboBox1->count() - 1)
        sbzi->setEnabled(false);
    else
        ComboBox1->setCurrentIndex(ComboBox1->currentIndex() + 1);
    zo();
}

void Tdruck::sbzoClick() {
    sbzi->setEnabled(true);
    sbzo->setEnabled(true);
    if (ComboBox1->currentIndex() <= 0)
        sbzo->setEnabled(false);
    else
        ComboBox1->setCurrentIndex(ComboBox1->currentIndex() - 1);
    zo();
}

namespace {

void showZoom(QComboBox* combo, double factor) {
    const QString text =
        QString::number(static_cast<int>(std::nearbyint(factor * 100))) + QLatin1Char('%');
    combo->blockSignals(true);
    const int item = combo->findText(text);
    if (item >= 0)
        combo->setCurrentIndex(item);
    else
        combo->setEditText(text);
    combo->blockSignals(false);
}

} // namespace

void Tdruck::SpeedButton2Click() {
    prev->fitInView();
    showZoom(ComboBox1, prev->zoomFactor());
}

void Tdruck::SpeedButton3Click() {
    prev->fitToWidth();
    showZoom(ComboBox1, prev->zoomFactor());
}

int Tdruck::pageCount() const {
    return document_.pageCount();
}

void Tdruck::setPage(int page) {
    if (pageCount() > 0) prev->setCurrentPage(std::clamp(page, 1, pageCount()));
}

void Tdruck::sbzzClick() {
    setPage(1);
    sakt();
}

void Tdruck::sbzClick() {
    setPage(prev->currentPage() - 1);
    sakt();
}

void Tdruck::sbvClick() {
    setPage(prev->currentPage() + 1);
    sakt();
}

void Tdruck::sbvvClick() {
    setPage(pageCount());
    sakt();
}

void Tdruck::sakt() {
    const int count = pageCount();
    const int page = count > 0 ? std::clamp(prev->currentPage(), 1, count) : 0;
    sbzz->setEnabled(page > 1);
    sbz->setEnabled(page > 1);
    sbv->setEnabled(page < count);
    sbvv->setEnabled(page < count);
    if (count > 0 && prev->currentPage() > count) prev->setCurrentPage(count);
    mSeite->setText(count > 0 ? QStringLiteral(" Seite %1 von %2").arg(page).arg(count)
                              : QStringLiteral(" Keine Seiten"));
}
