// The typing aids of the quiz: the quiz's Greek aid in the answer fields and
// the word editor (Greek language only, no rule for capitals, typed
// characters only, whole texts kept) and the Hebrew aid in the answer fields.
#include "quizwindowfixture.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "platform/modal.h"
#include "quiz/quizgreektyping.h"
#include "quiz/wordeditorwindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QChar RoughAlpha(0xA1); // code 161 of the font "Greek", shown in 1252

void greekDatabase(const QString& language = QStringLiteral("Griechisch")) {
    GeneralOptions.AkzAkt = true;
    DatabaseOptions.WordFont = QStringLiteral("Greek");
    CurrentLanguage = language;
}

} // namespace

class TestQuizTyping : public QObject {
    Q_OBJECT
    QuizWindowFixture f;

    void startWithForms(int direction = 1) {
        f.fill({{"001A1", "ba", "lieben", 1, "gen"}});
        {
            engine::Query q;
            q.addSql("UPDATE " + engine::quoteLiteral(f.table) + " SET PraeFut = \"amo\"");
            q.execSql();
        }
        QuizOptions.labf = true;
        QuizOptions.geabf = true;
        SelectionOptions.setDirection(direction);
        QVERIFY(startQuiz({"001A1"}));
    }

  private slots:
    void initTestCase() { f.setUp(); }
    void cleanupTestCase() { f.tearDown(); }
    void init() {
        QuizOptions.loadDefaults();
        SelectionOptions = TSelectionOptionsRec();
    }
    void cleanup() {
        if (abfrag->isVisible()) abfrag->close();
        GeneralOptions.AkzAkt = false;
        DatabaseOptions.WordFont = QStringLiteral("Times New Roman");
        CurrentLanguage = QStringLiteral("Latein");
    }

    void greekInTheFormFields() {
        startWithForms();
        greekDatabase();
        QTest::keyClicks(abfrag->mm[0], "lu<a");
        QCOMPARE(abfrag->mm[0]->text(), QStringLiteral("lu") + RoughAlpha);
        QCOMPARE(abfrag->mm[0]->cursorPosition(), 3);
        // No rule for capitals: the breathing before "A" goes, the accent stays.
        QTest::keyClicks(abfrag->EGenitiv, QStringLiteral("´<A"));
        QCOMPARE(abfrag->EGenitiv->text(), QStringLiteral("´A"));
        // The main window's aid would have made one capital prefix of them.
        QCOMPARE(sonderzeichen(QStringLiteral("´<"), QStringLiteral("´<A"), 3).text,
                 QString(QChar(0x201C)) + "A");

        // A long text is kept whole.
        abfrag->EGenitiv->setText(QString(120, 'x'));
        QTest::keyClicks(abfrag->EGenitiv, "<a");
        QCOMPARE(abfrag->EGenitiv->text(), QString(120, 'x') + RoughAlpha);
        // Text the program puts in, or a paste, is left as it is.
        abfrag->mm[0]->setText("<a");
        QCOMPARE(abfrag->mm[0]->text(), QStringLiteral("<a"));
        abfrag->mm[0]->clear();
        abfrag->mm[0]->insert("<a");
        QCOMPARE(abfrag->mm[0]->text(), QStringLiteral("<a"));
    }

    void greekNeedsTheLanguage() {
        startWithForms();
        greekDatabase(QStringLiteral("Altgriechisch"));
        QTest::keyClicks(abfrag->mm[0], "<a");
        QCOMPARE(abfrag->mm[0]->text(), QStringLiteral("<a"));
        QVERIFY(!QuizGreekTypingActive());
    }

    void greekInTheAnswerOnlyForTheForeignWord() {
        startWithForms(1); // the translation is asked
        greekDatabase();
        abfrag->Edit5->setFocus();
        QTest::keyClicks(abfrag->Edit5, "<a");
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("<a"));
        abfrag->close();

        startWithForms(2); // the foreign word is asked
        QVERIFY(abfrag->uber->isChecked());
        abfrag->Edit5->setFocus();
        QTest::keyClicks(abfrag->Edit5, "<a");
        QCOMPARE(abfrag->Edit5->toPlainText(), QString(RoughAlpha));
    }

    void hebrewInTheAnswerFields() {
        startWithForms(2);
        CurrentLanguage = QStringLiteral("Hebräisch");
        QTest::keyClicks(abfrag->EGenitiv, "ab");
        QCOMPARE(abfrag->EGenitiv->text(), QStringLiteral("ba"));
        QCOMPARE(abfrag->EGenitiv->cursorPosition(), 0);
        abfrag->EGenitiv->setText("gen");
        abfrag->mm[0]->setText("amo");

        // Typed right to left; Enter's line break moves to the end.
        abfrag->Edit5->setFocus();
        QTest::keyClicks(abfrag->Edit5, "ab");
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("ba"));
        QTest::keyClick(abfrag->Edit5, Qt::Key_Return);
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("ba\n"));
        // The special forms are next; from the last one the answer goes.
        QTest::keyClick(abfrag->mm[0], Qt::Key_Return);
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
    }

    void hebrewAnswerOfSeveralLines() {
        // Each meaning is typed right to left on a line of its own: after
        // Enter the next letters go on the new line, not before the first.
        f.fill({{"001A1", "ab\r\ncd", "lieben"}});
        QuizOptions.tb1 = TQuizOptionsRec::MaxMeaningsPosition; // both meanings required
        SelectionOptions.setDirection(2);
        QVERIFY(startQuiz({"001A1"}));
        CurrentLanguage = QStringLiteral("Hebräisch");
        abfrag->Edit5->setFocus();
        QTest::keyClicks(abfrag->Edit5, "ba");
        QTest::keyClick(abfrag->Edit5, Qt::Key_Return);
        QTest::keyClicks(abfrag->Edit5, "dc");
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("ab\ncd"));
        QTest::keyClick(abfrag->Edit5, Qt::Key_Return);
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
    }

    void greekInTheWordEditor() {
        startWithForms();
        greekDatabase();
        vokbear = new Tvokbear(abfrag);
        QString foreign, translation, form, genitive;
        platform::setModalHandler([&](QDialog& dialog) {
            auto* editor = qobject_cast<Tvokbear*>(&dialog);
            if (!editor) return 0;
            editor->MF->setFocus();
            editor->MF->moveCursor(QTextCursor::End);
            editor->MU->moveCursor(QTextCursor::End);
            QTest::keyClicks(editor->MF, "<a");
            QTest::keyClicks(editor->MU, "<a");
            QTest::keyClicks(editor->e[0], "<a");
            QTest::keyClicks(editor->eg, "<a");
            foreign = editor->MF->toPlainText();
            translation = editor->MU->toPlainText();
            form = editor->e[0]->text();
            genitive = editor->eg->text();
            editor->BitBtn2->click();
            return editor->result();
        });
        abfrag->Vokabelbearbeiten1->trigger();
        platform::setModalHandler({});
        delete vokbear;
        vokbear = nullptr;
        QCOMPARE(foreign, QStringLiteral("ba") + RoughAlpha);
        QCOMPARE(translation, QStringLiteral("lieben<a")); // no aid in the translation
        QCOMPARE(form, QStringLiteral("amo") + RoughAlpha);
        QCOMPARE(genitive, QStringLiteral("gen") + RoughAlpha);
    }
};

QTEST_MAIN(TestQuizTyping)
#include "tst_quiztyping.moc"
