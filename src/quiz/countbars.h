#pragma once
// Bar charts of counts, as the quiz window and the evaluation window draw
// them: one bar per point, each in its own colour above its own label.
#include "quiz/quizevaluation.h"

class QChart;
class QStackedBarSeries;

// The value axis of a chart of counts: at most `maxIntervals` intervals of a
// whole, round step (1, 2, 5, 10, 20, 25, 50, 100, …), reaching above the
// highest count.
struct CountAxis {
    int top = 1;
    int tickCount = 2; // ticks including 0 and the top
};
CountAxis CountAxisFor(int highest, int maxIntervals = 5);

// Adds an empty bar series with a category axis below and a value axis of
// whole numbers to the left; the legend is hidden.
QStackedBarSeries* AddCountBars(QChart* chart);
// Replaces the bars by `points` and fits the value axis to them; a small
// chart has room for fewer intervals.
void ShowCountBars(QChart* chart, QStackedBarSeries* series, const QList<ChartPoint>& points,
                   int maxIntervals = 5);
