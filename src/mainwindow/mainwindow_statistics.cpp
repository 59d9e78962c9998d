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

namespace {

void showBars(QChartView* view, const QStringList& labels, const QList<int>& values, bool percent) {
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    auto* set = new QBarSet(QString());
    set->setColor(Qt::red);
    int total = 0;
    for (int v : values) {
        *set << v;
        total += v;
    }
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    if (percent && total > 0)
        series->setLabelsFormat(QStringLiteral("@value"));
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto* valueAxis = new QValueAxis;
    valueAxis->setLabelFormat(QStringLiteral("%d"));
    valueAxis->setRange(0, std::max(1, *std::max_element(values.begin(), values.end())));
    chart->addAxis(valueAxis, Qt::AlignLeft);
    series->attachAxis(valueAxis);
    if (percent && total > 0) {
        // Each bar is marked with its share of the whole.
        for (int i = 0; i < values.size(); ++i)
            categories->replace(labels[i], labels[i] + QStringLiteral(" (%1 %)").arg(
                                                          std::nearbyint(100.0 * values[i] / total)));
    }
}

} // namespace

void TForm1::refreshStatistics() {
    if (DBFremdwort->toPlainText().isEmpty() || !Query->isActive() || !Query->canModify())
        return;
    const int asked = Query->asInteger(QStringLiteral("Anzahl_Abfragen"));
    const int wrong = Query->asInteger(QStringLiteral("Falsche_Antworten"));
    showBars(allchart, {QStringLiteral("Anzahl der Abfragen")}, {asked}, false);
    showBars(xchart, {QStringLiteral("Richtig"), QStringLiteral("Falsch")}, {asked - wrong, wrong},
             true);
}
