#include "quiz/quizevaluation.h"

#include <algorithm>

QColor ColourFromRgbNumber(int rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

namespace {

const QColor Green = ColourFromRgbNumber(56610);
const QColor Red = ColourFromRgbNumber(255);
const QColor Grey = ColourFromRgbNumber(8421504);
// The label keeps its trailing blanks: the chart's legend lines up with them.
const QString NotAsked = QStringLiteral("nicht abgefragt       ");

QList<ChartPoint> summaryOf(int right, int wrong) {
    return {{QStringLiteral("Richtig"), right, Green}, {QStringLiteral("Falsch"), wrong, Red}};
}

QList<ChartPoint> attemptsOf(const QuizCounts& c, const QString& wrongLabel, int wrong,
                             int notAsked) {
    static const int colours[5] = {65280, 56610, 47940, 39270, 30600};
    QList<ChartPoint> points;
    for (int k = 0; k < 4; ++k)
        points.append({QStringLiteral("bei %1. Versuch gewußt").arg(k + 1),
                       std::max(0, c.KnownAtAttempt[k]), ColourFromRgbNumber(colours[k])});
    points.append({QStringLiteral("bei 5 und mehr gewußt"), std::max(0, c.KnownAtAttempt[4]),
                   ColourFromRgbNumber(colours[4])});
    points.append({wrongLabel, wrong, Red});
    points.append({NotAsked, notAsked, Grey});
    return points;
}

} // namespace

QList<ChartPoint> ProgressPoints(int right, int wrong) {
    return summaryOf(right, wrong);
}

QList<ChartPoint> PresentationPoints(int elapsed) {
    return {{QString(), elapsed, Red}};
}

EvaluationFigures FinalEvaluation(const QuizCounts& c) {
    const int answered = std::max(0, c.QuizReached);
    const int right = std::clamp(c.QuizRightCount, 0, std::max(answered, c.QuizRightCount));
    const int wrong = std::max(0, answered - right);
    EvaluationFigures f;
    f.summary = summaryOf(right, wrong);
    f.attempts = attemptsOf(c, QStringLiteral("überhaupt nicht gewußt"), wrong,
                            std::max(0, c.QuizTotal - answered));
    return f;
}

bool RunningStatistics(const QuizCounts& c, EvaluationFigures& f) {
    const int n = std::min(c.QuizReached, c.QuizTotal);
    if (n <= 1) return false;
    const int right = std::max(0, c.QuizRightCount);
    // The word on screen may already be judged right; it never makes the
    // count of wrong answers negative.
    const int wrong = std::max(0, n - right - 1);
    f.summary = summaryOf(right, wrong);
    f.attempts = attemptsOf(c, QStringLiteral("bis jetzt nicht gewußt"), wrong,
                            std::max(0, c.QuizTotal - wrong - right));
    return true;
}
