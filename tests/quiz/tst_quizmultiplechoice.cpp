// A Latin quiz in multiple-choice mode answered by clicking: where the right
// answer stands, the verdict of each button and the counters in the table
// afterwards. With ORVILEX_SHOTS set the panel is saved there.
#include "quizwindowfixture.h"

#include "quiz/quizoptionspage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

class TestQuizMultipleChoice : public QObject {
    Q_OBJECT
    QuizWindowFixture f;

  private slots:
    void initTestCase() { f.setUp(); }
    void cleanupTestCase() { f.tearDown(); }
    void init() {
        f.boxes.clear();
        QuizOptions.loadDefaults();
        QuizOptions.rbabnorm = false;
        QuizOptions.rbabmult = true;
        QuizOptions.cbms = true; // no random in the scores
        SelectionOptions = TSelectionOptionsRec();
    }

    void answeredByClicking() {
        f.fill({{"001A1", "amare", "lieben", 1, "amandi"},
                {"001A1", "videre", "sehen", 1},
                {"001A1", "ire", "gehen\r\nlaufen", 1},
                {"001A1", "canis", "der Hund", 2}});
        // Special forms are neither asked nor judged in multiple choice.
        QuizOptions.geabf = true;
        // The right answer on mb1, mb3, mb3, mb1 for the four words.
        ScriptedRandom random({0, 2, 2, 0});
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(abfrag->pmulti->isVisible());
        QVERIFY(!abfrag->Panel7->isVisible());
        QVERIFY(!abfrag->PSFein->isVisible());
        QCOMPARE(abfrag->focusWidget(), abfrag->mb[0]);
        QCOMPARE(abfrag->MultipleChoiceRight, 1);
        QCOMPARE(abfrag->mb[0]->text(), QStringLiteral("lieben"));
        QCOMPARE(abfrag->mb[1]->text(), QStringLiteral("sehen"));
        // The other answers by their likeness to "lieben"; lines joined.
        QCOMPARE(abfrag->mb[2]->text(), QStringLiteral("der Hund"));
        QCOMPARE(abfrag->mb[3]->text(), QStringLiteral("gehen, laufen"));
        QCOMPARE(abfrag->mb[0]->font(), abfrag->MemoUebers->font());
        QCOMPARE(abfrag->mb[3]->font(), abfrag->mb[0]->font());
        QuizWindowFixture::shot(*abfrag, "multiplechoice-panel");

        // OK without a choice judges nothing.
        abfrag->OkBtn->click();
        QCOMPARE(abfrag->engine()->phase(), QuizPhase::Asking);

        abfrag->mb[0]->click(); // right
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QVERIFY(abfrag->Panel7->isVisible());
        QuizWindowFixture::shot(*abfrag, "multiplechoice-verdict");
        abfrag->mb[1]->click(); // after the verdict a click changes nothing
        QCOMPARE(abfrag->MultipleChoiceChosen, 1);
        abfrag->BitBtn4->click();

        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("videre"));
        QCOMPARE(abfrag->MultipleChoiceRight, 3);
        QCOMPARE(abfrag->mb[2]->text(), QStringLiteral("sehen"));
        QVERIFY(!abfrag->Panel7->isVisible());
        abfrag->mb[1]->click(); // wrong
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("FALSCH"));
        abfrag->BitBtn4->click();

        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        abfrag->mb[2]->click(); // right
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        abfrag->BitBtn4->click();

        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("canis"));
        abfrag->mb[3]->click(); // wrong
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("FALSCH"));
        abfrag->BitBtn4->click();

        QVERIFY(!abfrag->isVisible());
        QCOMPARE(abfrag->engine()->QuizRightCount, 2);
        QCOMPARE(random.bounds, (QList<int>{4, 4, 4, 4}));
        const WordCounters amare = f.counters("amare");
        QCOMPARE(amare.asked, 1);
        QCOMPARE(amare.wrong, 0);
        QVERIFY(amare.lastRight);
        const WordCounters videre = f.counters("videre");
        QCOMPARE(videre.asked, 1);
        QCOMPARE(videre.wrong, 1);
        QVERIFY(!videre.lastRight);
        QVERIFY(f.counters("ire").lastRight);
        QCOMPARE(f.counters("canis").wrong, 1);
    }

    void tooFewWordsAndOtherModes() {
        f.fill({{"001A1", "amare", "lieben & loben"}});
        ScriptedRandom random({1});
        QVERIFY(startQuiz({"001A1"}));
        QCOMPARE(abfrag->mb[0]->text(), QStringLiteral("LEER - Zu wenige Vokabeln"));
        // "&" is shown as it is.
        QCOMPARE(abfrag->mb[1]->text(), QStringLiteral("lieben && loben"));
        QCOMPARE(abfrag->mb[2]->text(), QStringLiteral("LEER - Zu wenige Vokabeln"));

        // Leaving the settings page with multiple choice off hides the panel.
        abfrag->BitBtn3->click();
        abfrag->Panel1->loadControls();
        abfrag->Panel1->rbabnorm->setChecked(true);
        abfrag->Panel1->BitBtn2->click();
        QVERIFY(!abfrag->pmulti->isVisible());
        // And with it on again, new proposals are made.
        abfrag->BitBtn3->click();
        abfrag->Panel1->rbabmult->setChecked(true);
        abfrag->Panel1->BitBtn2->click();
        QVERIFY(abfrag->pmulti->isVisible());
        QCOMPARE(random.bounds.size(), 2);
        f.nextAnswer = platform::Answer::Yes;
        abfrag->close();
    }
};

QTEST_MAIN(TestQuizMultipleChoice)
#include "tst_quizmultiplechoice.moc"
