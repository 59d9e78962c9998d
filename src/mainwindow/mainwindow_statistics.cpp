// The statistics page: how often the current word was asked, and how often
// it was answered right and wrong.
#include "mainwindow/mainwindow.h"

#include "engine/query.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QValueAxis>
#include <cmath>

namespace {

// A red bar series with visible marks. With `percent` each bar stands for its
// share of the total, so its mark reads as a percentage.
void showBars(QChartView* view, const QStringList& labels, QList<int> values, bool percent) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    int total = 0;
    for (int v : values)
        total += v;
    if (percent)
        for (int& v : values)
            v = total > 0 ? int(std::nearbyint(100.0 * v / total)) : 0;

    auto* set = new QBarSet(QString());
    set->setColor(Qt::red);
    for (int v : values)
        *set << v;
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    if (percent)
        series->setLabelsFormat(QStringLiteral("@value %"));
    chart->addSeries(series);

    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    // The room the chart first measures for the labels is small: cut to it,
    // "Anzahl der Abfragen" would lose its last word.
    categories->setTruncateLabels(false);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto* valueAxis = new QValueAxis;
    valueAxis->setTruncateLabels(false);
    valueAxis->setLabelFormat(percent ? QStringLiteral("%d %") : QStringLiteral("%d"));
    const int top = percent ? 100 : std::max(1, *std::max_element(values.begin(), values.end()));
    valueAxis->setRange(0, top);
    if (top <= 10)
        valueAxis->setTickCount(top + 1);
    else
        valueAxis->applyNiceNumbers();
    chart->addAxis(valueAxis, Qt::AlignLeft);
    series->attachAxis(valueAxis);
}

} // namespace

void TForm1::refreshStatistics() {
    if (DBFremdwort->toPlainText().isEmpty() || !Query->isActive() || !Query->canModify())
        return;
    const int asked = Query->asInteger(QStringLiteral("Anzahl_Abfragen"));
    const int wrong = Query->asInteger(QStringLiteral("Falsche_Antworten"));
    showBars(allchart, {QStringLiteral("Anzahl der Abfragen")}, {asked}, false);
    showBars(xchart, {QStringLiteral("Richtig"), QStringLiteral("Falsch")},
             {std::max(0, asked - wrong), wrong}, true);
}
