// The quiz window's menu "E&xtras" and its aids: special characters and
// Ctrl+1..9 into the answer field that has the focus, the difficulty of the
// word, the help key, going on at once after "&Richtig", and the fonts the
// fields take from the main window.
#include "quizwindowfixture.h"

#include "mainwindow/helpcommands.h"
#include "mainwindow/helpwindow.h"
#include "mainwindow/specialchars.h"
#include "mainwindow/specialcharwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

namespace {

QStringList texts(const QMenu* menu) {
    QStringList result;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator()) result << action->text();
    return result;
}

} // namespace

class TestQuizExtras : public QObject {
    Q_OBJECT
    QuizWindowFixture f;

  private slots:
    void initTestCase() {
        f.setUp();
        // The user's table: "é" first, "ß" seventh (first of the second row).
        UserCharCells cells;
        cells[0][0] = QString(QChar(0xE9));
        cells[0][1] = QString(QChar(0xDF));
        QVERIFY(WriteUserCharTable(CharTableFile(), cells, 5));
        einf = new Teinf;
        einf->hooks.quizVisible = [] { return abfrag && abfrag->isVisible(); };
        einf->hooks.quizInsert = [] { abfrag->FormActivate(); };
        einf->hooks.takeCharWindowWasOpen = [] {
            const bool wasOpen = abfrag->CharWindowWasOpen;
            abfrag->CharWindowWasOpen = false;
            return wasOpen;
        };
    }
    void cleanupTestCase() {
        delete einf;
        einf = nullptr;
        f.tearDown();
    }
    void init() {
        f.boxes.clear();
        QuizOptions.loadDefaults();
        SelectionOptions = TSelectionOptionsRec();
    }

    void menu() {
        QStringList titles;
        for (const QAction* action : abfrag->MainMenu1->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList{"&Abfrage", "E&xtras"}));
        QCOMPARE(texts(abfrag->ExtrasMenu),
                 (QStringList{"Sonderzeichen &einfügen", "&Benutzertabelle anzeigen",
                              "Vokabel &bearbeiten", "&Schwierigkeit"}));
        QCOMPARE(texts(abfrag->Schwierigkeit1),
                 (QStringList{"Auf sehr schwierig", "Auf schwierig", "Auf mittel", "Auf leicht",
                              "Auf sehr leicht"}));
        if (!qEnvironmentVariableIsEmpty("ORVILEX_SHOTS")) {
            abfrag->ExtrasMenu->popup(QPoint(70, 30));
            QuizWindowFixture::shot(*abfrag->ExtrasMenu, "extras-menu");
            abfrag->ExtrasMenu->hide();
            abfrag->Schwierigkeit1->popup(QPoint(70, 30));
            QuizWindowFixture::shot(*abfrag->Schwierigkeit1, "extras-menu-difficulty");
            abfrag->Schwierigkeit1->hide();
        }
    }

    void difficultyFromTheMenu() {
        f.fill({{"001A1", "amare", "lieben"}, {"001A1", "videre", "sehen"}});
        QVERIFY(startQuiz({"001A1"}));
        abfrag->Aufsehrschwierig1->trigger();
        QCOMPARE(abfrag->Schwcom->currentText(), QStringLiteral("Sehr schwierig"));
        abfrag->Aufsehrleicht1->trigger();
        QCOMPARE(abfrag->Schwcom->currentText(), QStringLiteral("Sehr leicht"));
        // Written with the word's counters.
        QCOMPARE(f.counters("amare").difficulty, 3);
        abfrag->Edit5->insertPlainText("lieben\n");
        abfrag->BitBtn4->click();
        QCOMPARE(f.counters("amare").difficulty, 1);
        QCOMPARE(f.counters("amare").asked, 1);
        // The next word shows its own difficulty.
        QCOMPARE(abfrag->Schwcom->currentText(), QStringLiteral("Normal"));
        abfrag->Aufmittel1->trigger();
        abfrag->close();
    }

    void specialCharactersIntoTheFocusedField() {
        f.fill({{"001A1", "amor", "Liebe", 2, "amoris"}});
        QuizOptions.geabf = true;
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(abfrag->EGenitiv->isVisible());

        // The hot keys act only while the special-character window is shown.
        abfrag->Edit5->setFocus();
        QTest::keyClick(abfrag->Edit5, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(abfrag->Edit5->toPlainText(), QString());

        abfrag->Benutzertabelleanzeigen1->trigger();
        QVERIFY(einf->isVisible());
        QCOMPARE(einf->PageControl1->currentIndex(), 0);
        abfrag->Edit5->insertPlainText("Lie");
        QTest::keyClick(abfrag->Edit5, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("Lieé"));
        QVERIFY(!CharInsertPending);

        abfrag->EGenitiv->setFocus();
        abfrag->EGenitiv->setText("amor");
        QTest::keyClick(abfrag->EGenitiv, Qt::Key_7, Qt::ControlModifier);
        QCOMPARE(abfrag->EGenitiv->text(), QStringLiteral("amorß"));
        // Ctrl+0 and Shift+Ctrl+1 insert nothing.
        QTest::keyClick(abfrag->EGenitiv, Qt::Key_0, Qt::ControlModifier);
        QTest::keyClick(abfrag->EGenitiv, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(abfrag->EGenitiv->text(), QStringLiteral("amorß"));

        // A character chosen in the window goes where the focus was.
        abfrag->EGenitiv->setCursorPosition(0);
        einf->SG->setCurrentCell(0, 0);
        einf->SGMouseUp();
        QCOMPARE(abfrag->EGenitiv->text(), QStringLiteral("éamorß"));
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("Lieé"));

        // From the complete table ("in Vokabel") the window closes.
        abfrag->Sonderzeicheneinfuegen1->trigger();
        QCOMPARE(einf->PageControl1->currentIndex(), 1);
        QVERIFY(einf->dat->isChecked());
        abfrag->Edit5->setFocus();
        einf->sgall->setCurrentCell(0, 5); // "%"
        einf->sgallMouseUp();
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("Lieé%"));
        QVERIFY(!einf->isVisible());
        abfrag->close();
    }

    void charWindowOpenAtTheStartOpensAgain() {
        f.fill({{"001A1", "amare", "lieben"}});
        abfrag->charWindowVisible = [] { return true; };
        QVERIFY(startQuiz({"001A1"}));
        abfrag->charWindowVisible = {};
        QVERIFY(abfrag->CharWindowWasOpen);
        abfrag->Benutzertabelleanzeigen1->trigger();
        QTest::qWait(20);
        QVERIFY(einf->isVisible());
        // The end still knows the window was open at the start.
        QVERIFY(abfrag->CharWindowWasOpen);
        einf->close();
        abfrag->close();
    }

    void goingOnAtOnceAfterRight() {
        f.fill({{"001A1", "amare", "lieben"},
                {"001A1", "videre", "sehen"},
                {"001A1", "ire", "gehen"}});
        QuizOptions.cbgw = true;
        QuizOptions.CheckBox1 = true; // "Wie war die Eingabe?"
        QVERIFY(startQuiz({"001A1"}));
        abfrag->Edit5->insertPlainText("falsch\n");
        QVERIFY(abfrag->Panel4->isVisible());
        abfrag->Button3->click(); // "&Richtig"
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("videre"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 1);

        abfrag->Edit5->insertPlainText("falsch\n");
        abfrag->Button4->click(); // "&Falsch": the verdict stays
        QVERIFY(abfrag->Panel3->isVisible());
        abfrag->Button6->click(); // "doch r&ichtig"
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        QCOMPARE(abfrag->engine()->QuizRightCount, 2);
        QVERIFY(f.counters("videre").lastRight);
        abfrag->close();
    }

    void helpKey() {
        abfrag->show();
        abfrag->Hilfe1->trigger();
        HelpWindow* help = helpcommands::helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentPage(), QStringLiteral("html/orvi8nhi.htm"));
        QCOMPARE(abfrag->Hilfe1->shortcut(), QKeySequence(Qt::Key_F1));
        help->close();
        abfrag->hide();
    }

    void fontsOfTheMainWindow() {
        f.fill({{"001A1", "amare", "lieben"}});
        QuizOptions.CheckBox10 = true; // the remarks shown
        QuizOptions.geabf = true;
        QVERIFY(startQuiz({"001A1"}));
        QCOMPARE(abfrag->DBMemo5->font().family(), Form1->DBExtra->font().family());
        QCOMPARE(abfrag->EGenus->font().family(), Form1->DBGenus->font().family());
        QCOMPARE(abfrag->Edit5->font(), abfrag->MemoUebers->font());
        QCOMPARE(abfrag->Edit5->document()->defaultTextOption().alignment(),
                 abfrag->MemoUebers->document()->defaultTextOption().alignment());
        abfrag->close();
    }
};

QTEST_MAIN(TestQuizExtras)
#include "tst_quizextras.moc"
