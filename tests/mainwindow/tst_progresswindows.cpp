#include "mainwindow/progresswindows.h"

#include <QLabel>
#include <QProgressBar>
#include <QtTest>

class TestProgressWindows : public QObject {
    Q_OBJECT
  private slots:
    void quizProgressRoundsHalvesToEven() {
        Tfosc w;
        QCOMPARE(w.Label2->text(), QStringLiteral("0 %"));
        w.start();
        w.setProgress(1, 1); // a quiz of one word
        QCOMPARE(w.fs->value(), 200);
        QCOMPARE(w.Label2->text(), QStringLiteral("100 %  "));
        w.setProgress(1, 8); // 25 on the bar, 12.5 % shown as 12
        QCOMPARE(w.fs->value(), 25);
        QCOMPARE(w.Label2->text(), QStringLiteral("12 %  "));
        w.setProgress(3, 8); // 37.5 % → 38
        QCOMPARE(w.Label2->text(), QStringLiteral("38 %  "));
        w.setProgress(1, 400); // 0.5 on the bar → 0
        QCOMPARE(w.fs->value(), 0);
        w.setProgress(5, 0); // no words: nothing to show, no division
        QCOMPARE(w.Label2->text(), QStringLiteral("0 %  "));
        w.finish();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.fs->value(), 0);
        QCOMPARE(w.Label2->text(), QStringLiteral("0 %  "));
    }

    void recordProgressWithAndWithoutSteps() {
        TFortschritt w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Fortschritt"));
        w.start(0);
        QVERIFY(w.isVisible());
        QVERIFY(w.anzeige->maximum() > w.anzeige->minimum()); // an empty bar, not a busy one
        QCOMPARE(w.anzeige->value(), 0);
        w.finish();
        QVERIFY(!w.isVisible());

        w.start(3);
        w.step();
        w.step();
        QCOMPARE(w.anzeige->value(), 2);
        w.setPosition(7); // beyond the end stays at the end
        QCOMPARE(w.anzeige->value(), 3);
        w.start(10); // the next run starts empty
        QCOMPARE(w.anzeige->value(), 0);
        w.finish();
    }
};

QTEST_MAIN(TestProgressWindows)
#include "tst_progresswindows.moc"
