// The value axes of the quiz's charts: whole, round steps, and labels that are
// shown whole however large the counts grow in the small charts.
#include "quiz/evaluationwindow.h"
#include "quiz/quizwindow.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QValueAxis>
#include <QtTest>

namespace {

// The texts the chart's scene shows (axis labels, titles, bar labels).
QStringList shownTexts(QChartView* view) {
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts << text->toPlainText();
    return texts;
}

bool anyCut(const QStringList& texts) {
    for (const QString& text : texts)
        if (text.contains(QChar(0x2026)) || text.contains(QLatin1String("..."))) return true;
    return false;
}

} // namespace

class TestEvaluationChart : public QObject {
    Q_OBJECT

  private slots:
    void countAxesTakeRoundSteps_data() {
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("ticks");
        QTest::newRow("nothing") << 0 << 1 << 2;
        QTest::newRow("one") << 1 << 2 << 3;
        QTest::newRow("four") << 4 << 5 << 6;
        QTest::newRow("five") << 5 << 6 << 4;
        QTest::newRow("twelve") << 12 << 15 << 4;
        QTest::newRow("99") << 99 << 100 << 6;
        QTest::newRow("123") << 123 << 125 << 6;
        QTest::newRow("1234") << 1234 << 1250 << 6;
        QTest::newRow("8823") << 8823 << 10000 << 6;
    }
    void countAxesTakeRoundSteps() {
        QFETCH(int, highest);
        QFETCH(int, top);
        QFETCH(int, ticks);
        const CountAxis axis = CountAxisFor(highest);
        QCOMPARE(axis.top, top);
        QCOMPARE(axis.tickCount, ticks);
        QVERIFY(axis.top > highest);
        QCOMPARE(axis.top % (axis.tickCount - 1), 0);
    }

    // The window is filled while hidden, after an earlier quiz with small counts.
    void evaluationLabelsAreWholeAfterALargeQuiz() {
        Tauswertung window;
        EvaluationFigures small;
        small.summary = {{"Richtig", 2, Qt::green}, {"Falsch", 1, Qt::red}};
        window.fill(small);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.hide();

        EvaluationFigures large;
        large.summary = {{"Richtig", 8823, Qt::green}, {"Falsch", 1234, Qt::red}};
        for (int k = 1; k <= 7; ++k)
            large.attempts << ChartPoint{QStringLiteral("Beim %1. Versuch").arg(k), 9000 / k,
                                         Qt::blue};
        window.fill(large);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        QStringList texts = shownTexts(window.chart);
        QVERIFY2(texts.contains("10000") && texts.contains("2000"), qPrintable(texts.join('|')));
        QVERIFY2(!anyCut(texts), qPrintable(texts.join('|')));
        window.TabbedNotebook1->setCurrentIndex(1);
        QTest::qWait(20);
        texts = shownTexts(window.DBChart);
        QVERIFY2(!anyCut(texts), qPrintable(texts.join('|')));
        // The charts carry no titles of their own: the pages name them.
        for (QChartView* view : {window.chart, window.Chart1, window.DBChart})
            QVERIFY(view->chart()->title().isEmpty());
    }

    // The small right/wrong chart of the quiz window: its two bars beside
    // each other, each above its own caption and in its own colour.
    void quizChart() {
        Tabfrag quiz;
        quiz.show();
        QVERIFY(QTest::qWaitForWindowExposed(&quiz));
        ShowCountBars(quiz.tabrf->chart(), quiz.tabrfSeries, ProgressPoints(123, 45), 3);
        QTest::qWait(20);
        const QStringList texts = shownTexts(quiz.tabrf);
        QVERIFY2(texts.contains("150") && texts.contains("50") && texts.contains("Richtig") &&
                     texts.contains("Falsch"),
                 qPrintable(texts.join('|')));
        QVERIFY2(!anyCut(texts), qPrintable(texts.join('|')));
        const QList<QBarSet*> bars = quiz.tabrfSeries->barSets();
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars[0]->color(), QColor(34, 221, 0));
        QCOMPARE(bars[1]->color(), QColor(255, 0, 0));
        QCOMPARE(bars[0]->at(0), 123.0);
        QCOMPARE(bars[1]->at(1), 45.0);

        // The presentation's one red bar of time has no caption.
        ShowCountBars(quiz.tabrf->chart(), quiz.tabrfSeries, PresentationPoints(1414), 3);
        QCOMPARE(quiz.tabrfSeries->barSets().size(), 1);
        QCOMPARE(quiz.tabrfSeries->barSets()[0]->color(), QColor(255, 0, 0));
        auto* x = qobject_cast<QBarCategoryAxis*>(quiz.tabrf->chart()->axes(Qt::Horizontal)[0]);
        QCOMPARE(x->categories(), QStringList{" "});
        quiz.hide();
    }
};

QTEST_MAIN(TestEvaluationChart)
#include "tst_evaluationchart.moc"
