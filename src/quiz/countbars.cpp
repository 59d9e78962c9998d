#include "quiz/countbars.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <climits>

CountAxis CountAxisFor(int highest, int maxIntervals) {
    // Room above the highest bar for its label.
    const qint64 needed = std::max<qint64>(1, qint64(highest) + 1);
    for (qint64 power = 1;; power *= 10) {
        for (const qint64 factor : {10, 20, 25, 50}) {
            const qint64 step = factor * power / 10;
            if (step == 0 || (factor == 25 && power < 10)) continue;
            const qint64 intervals = (needed + step - 1) / step;
            if (intervals <= std::max(1, maxIntervals))
                return {int(std::min<qint64>(intervals * step, INT_MAX)), int(intervals) + 1};
        }
    }
}

QStackedBarSeries* AddCountBars(QChart* chart) {
    auto* series = new QStackedBarSeries;
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%d"));
    // Cut to the room the chart first gave them, larger counts would show as
    // "…" alone.
    y->setTruncateLabels(false);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    chart->legend()->hide();
    return series;
}

// Each point is a bar set of its own, with its value in its own category and
// 0 elsewhere, so that every bar keeps its colour and sits above its label.
void ShowCountBars(QChart* chart, QStackedBarSeries* series, const QList<ChartPoint>& points,
                   int maxIntervals) {
    series->clear();
    QStringList labels;
    int top = 1;
    for (qsizetype k = 0; k < points.size(); ++k) {
        const ChartPoint& p = points.at(k);
        auto* set = new QBarSet(p.label);
        for (qsizetype j = 0; j < points.size(); ++j)
            *set << (j == k ? p.value : 0);
        set->setColor(p.colour);
        set->setBorderColor(p.colour.darker(130));
        series->append(set);
        // The axis takes no empty or repeated category: blanks of their own
        // length stand in for a bar without caption.
        const QString caption = p.label.trimmed();
        labels << (caption.isEmpty() ? QString(k + 1, QLatin1Char(' ')) : caption);
        top = std::max(top, p.value);
    }
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value"));
    const auto xs = chart->axes(Qt::Horizontal);
    if (auto* x = xs.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(xs.first())) {
        x->clear();
        x->append(labels);
    }
    const auto ys = chart->axes(Qt::Vertical);
    if (auto* y = ys.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(ys.first())) {
        const CountAxis axis = CountAxisFor(top, maxIntervals);
        y->setRange(0, axis.top);
        y->setTickCount(axis.tickCount);
    }
}
