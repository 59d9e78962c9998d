// The value axes of the quiz's charts: whole, round steps, and labels that are
// shown whole however large the counts grow in the small charts.
#include "quiz/evaluationwindow.h"
#include "quiz/quizwindow.h"

#include <QBarSet>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPushButton>
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
    }

    // The small right/wrong chart of the quiz window, with five ticks on a
    // height that has room for three lines.
    void quizChartLabelsAreWhole() {
        Tabfrag quiz;
        quiz.show();
        QVERIFY(QTest::qWaitForWindowExposed(&quiz));
        quiz.tabrfRight->replace(0, 123);
        quiz.tabrfWrong->replace(0, 45);
        auto* axis = qobject_cast<QValueAxis*>(quiz.tabrf->chart()->axes(Qt::Vertical).first());
        QVERIFY(axis);
        axis->setRange(0, 124);
        axis->setTickCount(5);
        QVERIFY(QTest::qWaitForWindowExposed(&quiz));
        QTest::qWait(20);
        const QStringList texts = shownTexts(quiz.tabrf);
        QVERIFY2(texts.contains("124") && texts.contains("31"), qPrintable(texts.join('|')));
        QVERIFY2(!anyCut(texts), qPrintable(texts.join('|')));
        quiz.hide();
    }
};

QTEST_MAIN(TestEvaluationChart)
#include "tst_evaluationchart.moc"
