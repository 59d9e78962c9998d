#pragma once
// What the evaluation charts show: the points of the bar charts and the pie,
// computed from the quiz counters at the end of a quiz or while it runs.
// Widget-free.
#include <QColor>
#include <QList>
#include <QString>
#include <array>

struct ChartPoint {
    QString label;
    int value = 0;
    QColor colour;
    bool operator==(const ChartPoint&) const = default;
};

struct EvaluationFigures {
    QList<ChartPoint> summary;  // "Richtig" and "Falsch" (the bar chart and the pie)
    QList<ChartPoint> attempts; // the seven bars of the detailed page
};

struct QuizCounts {
    int QuizReached = 0; // words asked; at the end: words answered
    int QuizTotal = 0;
    int QuizRightCount = 0;
    std::array<int, 10> KnownAtAttempt{};
};

// The figures at the end of a quiz. `counts.QuizReached` is the number of
// words answered. Counts that cannot be negative are shown as at least 0.
EvaluationFigures FinalEvaluation(const QuizCounts& counts);
// The figures while the quiz runs ("&Statistik"); `counts.QuizReached` is the
// number of the word being asked. False when nothing has been answered yet.
bool RunningStatistics(const QuizCounts& counts, EvaluationFigures& figures);

// The quiz window's small chart: the words answered right and wrong so far,
// and in the timed presentation one red bar of the time the word has been shown.
QList<ChartPoint> ProgressPoints(int right, int wrong);
QList<ChartPoint> PresentationPoints(int elapsed);

// A colour stored as an RGB number with red in the low byte.
QColor ColourFromRgbNumber(int rgb);
