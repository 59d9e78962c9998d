// "Vokabel bearbeiten" during a quiz: a word corrected after its verdict is
// judged again and counted right at most once, OK writes at once, "&Abbruch"
// changes nothing, the presentation timer waits. With ORVILEX_SHOTS set the
// editor is saved there.
#include "quizwindowfixture.h"

#include "platform/modal.h"
#include "quiz/wordeditorwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Answers the editor: `edit` changes its fields, then `button` is clicked.
// Returns the editor's result as the modal seam hands it back.
struct EditorAnswer {
    std::function<void(Tvokbear&)> edit;
    bool ok = true;
    int result = -1;
    bool timerWasRunning = true;
};

} // namespace

class TestQuizWordEditor : public QObject {
    Q_OBJECT
    QuizWindowFixture f;
    EditorAnswer answer;

    void openEditor(EditorAnswer a) {
        answer = std::move(a);
        abfrag->Vokabelbearbeiten1->trigger();
    }

  private slots:
    void initTestCase() {
        f.setUp();
        vokbear = new Tvokbear(abfrag);
        platform::setModalHandler([this](QDialog& dialog) {
            auto* editor = qobject_cast<Tvokbear*>(&dialog);
            if (!editor) return 0;
            answer.timerWasRunning = abfrag->tim->isActive();
            editor->setResult(0);
            if (answer.edit) answer.edit(*editor);
            (answer.ok ? editor->BitBtn1 : editor->BitBtn2)->click();
            answer.result = editor->result();
            return answer.result;
        });
    }
    void cleanupTestCase() {
        platform::setModalHandler({});
        delete vokbear;
        vokbear = nullptr;
        f.tearDown();
    }
    void init() {
        f.boxes.clear();
        QuizOptions.loadDefaults();
        SelectionOptions = TSelectionOptionsRec();
    }

    void correctedAfterAWrongVerdict() {
        f.fill({{"001A1", "amare", "liben"}, {"001A1", "videre", "sehen"}});
        QVERIFY(startQuiz({"001A1"}));
        abfrag->Edit5->insertPlainText("lieben\n");
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("FALSCH"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 0);

        openEditor({[](Tvokbear& editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("Vokabel bearbeiten"));
            QCOMPARE(editor.MF->toPlainText(), QStringLiteral("amare"));
            QCOMPARE(editor.MU->toPlainText(), QStringLiteral("liben"));
            editor.MU->setPlainText("lieben\nmögen");
            editor.show();
            QuizWindowFixture::shot(editor, "word-editor");
        }});
        QCOMPARE(answer.result, 1);
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);
        QCOMPARE(abfrag->MemoUebers->toPlainText(), QStringLiteral("lieben\nmögen"));
        // Written at once, lines stored with CR LF.
        QCOMPARE(f.counters("amare").translation, QStringLiteral("lieben\r\nmögen"));
        QCOMPARE(f.counters("amare").asked, 0);

        // Corrected again, still right: counted once.
        openEditor({[](Tvokbear& editor) { editor.MF->setPlainText("amare, amo"); }});
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("amare, amo"));

        // Corrected so that the answer no longer fits: the count goes back.
        openEditor({[](Tvokbear& editor) { editor.MU->setPlainText("gern haben"); }});
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("FALSCH"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 0);
        abfrag->Button6->click(); // "doch richtig"
        openEditor({[](Tvokbear& editor) { editor.MU->setPlainText("lieben"); }});
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);

        abfrag->BitBtn4->click();
        const WordCounters amare = f.counters("amare, amo");
        QCOMPARE(amare.asked, 1);
        QCOMPARE(amare.wrong, 0);
        QVERIFY(amare.lastRight);
        QCOMPARE(amare.translation, QStringLiteral("lieben"));
        abfrag->close();
    }

    void correctedWhileAskedHowTheAnswerWas() {
        // The question "Wie war die Eingabe?" belongs to the wrong verdict:
        // once the corrected word makes the answer right it goes away.
        f.fill({{"001A1", "amare", "liben"}});
        QuizOptions.CheckBox1 = true;
        QVERIFY(startQuiz({"001A1"}));
        abfrag->Edit5->insertPlainText("lieben\n");
        QVERIFY(abfrag->Panel4->isVisible());
        openEditor({[](Tvokbear& editor) { editor.MU->setPlainText("lieben"); }});
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QVERIFY(!abfrag->Panel4->isVisible());
        QVERIFY(abfrag->BitBtn4->isEnabled());
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);
        abfrag->close();
    }

    void cancelChangesNothing() {
        f.fill({{"001A1", "amare", "lieben"}});
        QVERIFY(startQuiz({"001A1"}));
        abfrag->Edit5->insertPlainText("lieben\n");
        openEditor({[](Tvokbear& editor) { editor.MU->setPlainText("hassen"); }, false});
        QCOMPARE(answer.result, 3);
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);
        QCOMPARE(f.counters("amare").translation, QStringLiteral("lieben"));
        QCOMPARE(abfrag->engine()->word().Uebersetzung, QStringLiteral("lieben"));
        abfrag->close();
    }

    void beforeTheAnswerAndInMultipleChoice() {
        f.fill({{"001A1", "amare", "lieben"}, {"001A1", "videre", "sehen"}});
        QuizOptions.rbabnorm = false;
        QuizOptions.rbabmult = true;
        QuizOptions.cbms = true;
        ScriptedRandom random({1, 1});
        QVERIFY(startQuiz({"001A1"}));
        QCOMPARE(abfrag->mb[1]->text(), QStringLiteral("lieben"));
        openEditor({[](Tvokbear& editor) {
            editor.MU->setPlainText("lieben & loben");
            editor.e[0]->setText("amo");
            editor.eg->setText("amandi");
        }});
        // Not judged yet: new proposals with the corrected answer.
        QCOMPARE(abfrag->engine()->phase(), QuizPhase::Asking);
        QCOMPARE(abfrag->mb[1]->text(), QStringLiteral("lieben && loben"));
        QCOMPARE(abfrag->m[0]->text(), QStringLiteral("amo"));
        abfrag->mb[1]->click();
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        // Judged again: the choice stays the one made.
        openEditor({[](Tvokbear& editor) { editor.MF->setPlainText("amare!"); }});
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(f.table) +
                 " WHERE Fremdwort = \"amare!\"");
        q.open();
        QCOMPARE(q.asString("PraeFut"), QStringLiteral("amo"));
        QCOMPARE(q.asString("Genitiv"), QStringLiteral("amandi"));
        abfrag->close();
    }

    void presentationWaits() {
        f.fill({{"001A1", "amare", "lieben"}});
        QuizOptions.rbabnorm = false;
        QuizOptions.rbabvor = true;
        QuizOptions.ems = 60000;
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(abfrag->tim->isActive());
        openEditor({[](Tvokbear& editor) { editor.MU->setPlainText("lieben, mögen"); }});
        QVERIFY(!answer.timerWasRunning);
        QVERIFY(abfrag->tim->isActive());
        openEditor({{}, false});
        QVERIFY(!answer.timerWasRunning);
        QVERIFY(abfrag->tim->isActive());
        QCOMPARE(abfrag->MemoUebers->toPlainText(), QStringLiteral("lieben, mögen"));
        // Stopped by "&Einstellungen", the timer stays stopped after the editor.
        abfrag->BitBtn3->click();
        QVERIFY(!abfrag->tim->isActive());
        for (const bool ok : {false, true}) {
            openEditor({{}, ok});
            QVERIFY(!abfrag->tim->isActive());
        }
        abfrag->close();
    }

    void directionKeptAndTooLong() {
        f.fill({{"001A1", "amare", "lieben"}});
        SelectionOptions.setDirection(3);
        ScriptedRandom random({0}); // the translation is shown
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(abfrag->uber->isChecked());
        openEditor({[](Tvokbear& editor) { editor.MF->setPlainText("amare (1)"); }});
        QVERIFY(abfrag->uber->isChecked());
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("lieben"));
        QCOMPARE(random.bounds.size(), 1);

        // Each memo takes keys up to its field's width and no further: 160
        // keys leave the first 150 of the translation in the order typed.
        QString typed;
        for (int k = 0; k < 160; ++k)
            typed += QChar('a' + k % 26);
        openEditor({[&typed](Tvokbear& editor) {
            for (const auto& [memo, width] :
                 {std::pair{editor.MF, 100}, {editor.MU, 150}, {editor.Memoe, 100}}) {
                memo->clear();
                QTest::keyClicks(memo, typed);
                QCOMPARE(memo->toPlainText(), typed.left(width));
            }
        }});
        QCOMPARE(answer.result, 1);
        QCOMPARE(f.boxes.size(), 0);
        const WordCounters word = f.counters(typed.left(100));
        QCOMPARE(word.translation, typed.left(150));
        abfrag->close();
    }

    void captionUmlautsShownWhole() {
        Tvokbear editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        const QLabel* label = editor.LabelMU;
        const QFontMetrics metrics(label->font());
        const QRect box = label->contentsRect();
        const int baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
        QVERIFY(baseline + metrics.tightBoundingRect(label->text()).top() >= 0);
        QVERIFY(label->geometry().bottom() < editor.MU->geometry().top());
    }

    void fonts() {
        f.fill({{"001A1", "amare", "lieben"}});
        QVERIFY(startQuiz({"001A1"}));
        openEditor({[](Tvokbear& editor) {
                        QCOMPARE(editor.MF->font().family(), Form1->DBFremdwort->font().family());
                        QCOMPARE(editor.MU->font().family(),
                                 Form1->DBuebersetzung->font().family());
                        QCOMPARE(editor.e[0]->font(), Form1->DBPerAor->font());
                        QCOMPARE(editor.e[5]->font(), editor.e[0]->font());
                        QCOMPARE(editor.eg->font(), editor.e[0]->font());
                        QCOMPARE(editor.es->font(), Form1->DBGenus->font());
                        QCOMPARE(editor.Memoe->font(), editor.MU->font());
                    },
                    false});
        abfrag->close();
    }
};

QTEST_MAIN(TestQuizWordEditor)
#include "tst_quizwordeditor.moc"
