// A quiz through the quiz window on a real table: started over a lesson,
// answered through the window's controls, the counters read back from the
// table. With ORVILEX_SHOTS set to a folder the window is saved there after a
// right and after a wrong answer.
#include "database/currentdatabase.h"
#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/buttonkeys.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "quiz/quizoptionspage.h"
#include "quiz/quizstart.h"
#include "quiz/quizstore.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionoptions.h"

#include <QAction>
#include <QApplication>
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStackedBarSeries>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

struct Counters {
    int asked = 0, wrong = 0, attempts = 0;
    bool lastRight = false, done = false;
};

struct Row {
    const char* lesson;
    const char* foreign;
    const char* translation;
    int asked;
    int wrong;
    int difficulty;
};

void addWords(const QString& table, const QList<Row>& rows) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(table) + " WHERE ID = -1");
    q.open();
    engine::Transaction transaction(table);
    for (const Row& r : rows)
        q.insertRecord({QVariant(),
                        r.lesson,
                        QString::fromUtf8(r.foreign),
                        QString::fromUtf8(r.translation),
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        14,
                        "",
                        r.difficulty,
                        r.asked,
                        r.wrong,
                        3,
                        r.asked > r.wrong,
                        true});
    transaction.commit();
}

QMap<QString, Counters> countersOf(const QString& table) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
    q.open();
    QMap<QString, Counters> result;
    for (q.first(); !q.eof(); q.next())
        result.insert(q.asString("Lektion") + ":" + q.asString("Fremdwort"),
                      {q.asInteger("Anzahl_Abfragen"), q.asInteger("Falsche_Antworten"),
                       q.asInteger("Versuche"), q.asBoolean("Letzte_gewusst"),
                       q.asBoolean("Abgefragt")});
    return result;
}

void type(QPlainTextEdit* memo, const QString& text) {
    memo->setFocus();
    memo->insertPlainText(text);
}

void saveShot(QWidget& w, const char* name) {
    const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
    if (folder.isEmpty()) return;
    QTest::qWait(50); // the chart lays itself out in the event loop
    QVERIFY(w.grab().save(folder + "/" + name + ".png"));
}

} // namespace

class TestQuizWindow : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    QString table;
    std::unique_ptr<TForm1> mainWindow;
    QList<platform::MessageBoxRequest> boxes;
    platform::Answer nextAnswer = platform::Answer::Yes;

    void freshTable(const QList<Row>& rows) {
        engine::Query q;
        engine::releaseTable(table);
        QFile::remove(table);
        CreateVocabularyTable(q, table);
        addWords(table, rows);
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        table = program.filePath("Latein/Caesar.ol");
        freshTable({{"001A1", "amare", "lieben", 0, 0, 3}});
        TDatabaseOptionsRec::forNewDatabase("Latein").save(program.filePath("Latein/Caesar.opt"));
        LessonList({"001A1Verben", "002A1Nomen"}).save(program.filePath("Latein/Caesar.lst"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return nextAnswer;
        });

        mainWindow = std::make_unique<TForm1>();
        Form1 = mainWindow.get();
        fosc = new Tfosc;
        abfrag = new Tabfrag;
        // What the program entry wires.
        Form1->hooks.languageChanged = [](const LanguageLabels& l) {
            abfrag->applyLanguageLabels(l);
        };
        Form1->hooks.fontsChanged = [](const DatabaseFonts& f) { abfrag->applyDatabaseFonts(f); };
        Form1->hooks.captionsChanged = [](const SpecialFormCaptions& c) {
            abfrag->applySpecialFormCaptions(c);
        };
        Form1->FormCreate({}, program.path());
        Form1->OpenVocabularyDatabase(table);
        Form1->show();
        abfrag->FormCreate();
        QCOMPARE(abfrag->Label24->text(), QStringLiteral("Bitte Genitiv eingeben:"));
    }

    void cleanupTestCase() {
        delete abfrag;
        delete fosc;
        fosc = nullptr;
        mainWindow.reset();
        Form1 = nullptr;
        platform::setMessageBoxHandler({});
    }

    void init() {
        boxes.clear();
        QuizOptions.loadDefaults();
        SelectionOptions = TSelectionOptionsRec();
    }

    void quizOverALesson() {
        freshTable({{"001A1", "amare", "lieben", 4, 1, 3},
                    {"001A1", "videre", "sehen", 0, 0, 3},
                    {"001A1", "ire", "gehen\r\nlaufen", 2, 2, 3},
                    {"002A1", "rex", "König", 0, 0, 3}});
        QuizOptions.ComboBox1 = "2";
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(!QuizNotStarted);
        QVERIFY(abfrag->isVisible());
        QVERIFY(!Form1->isVisible());
        QVERIFY(!Form1->DatenbankMenu->menuAction()->isEnabled());
        QVERIFY(!Form1->EinstellungenMenu->menuAction()->isEnabled());
        QVERIFY(Form1->HilfeMenu->menuAction()->isEnabled());
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("amare"));
        QCOMPARE(abfrag->Label1->text(), QStringLiteral("0/1/3"));
        QCOMPARE(abfrag->Label16->text(), QStringLiteral("1"));
        QCOMPARE(abfrag->Label25->text(), QStringLiteral("1 A 1"));

        // Enter submits the one meaning required.
        type(abfrag->Edit5, "lieben\n");
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QVERIFY(abfrag->Panel3->isVisible());
        QVERIFY(!abfrag->CancelBtn->isEnabled());
        QCOMPARE(abfrag->MemoUebers->toPlainText(), QStringLiteral("lieben"));
        saveShot(*abfrag, "quizwindow-right");
        abfrag->BitBtn4->click();
        QVERIFY(abfrag->CancelBtn->isEnabled());
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("videre"));

        type(abfrag->Edit5, "sahen\n");
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("FALSCH"));
        saveShot(*abfrag, "quizwindow-wrong");
        abfrag->Button6->click(); // "doch richtig"
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        abfrag->BitBtn4->click();

        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        QCOMPARE(abfrag->Label11->text(), QStringLiteral("2"));
        // The chart: a green bar of two right answers beside an empty red one.
        const QList<QBarSet*> bars = abfrag->tabrfSeries->barSets();
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars[0]->label(), QStringLiteral("Richtig"));
        QCOMPARE(bars[0]->color(), QColor(34, 221, 0));
        QCOMPARE(bars[0]->at(0), 2.0);
        QCOMPARE(bars[1]->label(), QStringLiteral("Falsch"));
        QCOMPARE(bars[1]->color(), QColor(255, 0, 0));
        QCOMPARE(bars[1]->at(1), 0.0);
        type(abfrag->Edit5, "fahren\n");
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("FALSCH"));
        abfrag->BitBtn4->click();
        // The wrong word comes back at its second attempt.
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        QCOMPARE(abfrag->Label16->text(), QStringLiteral("2"));
        type(abfrag->Edit5, "laufen\n");
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        abfrag->BitBtn4->click();

        // The last word done: the quiz ends without a question.
        QVERIFY(!abfrag->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->DatenbankMenu->menuAction()->isEnabled());
        QVERIFY(boxes.isEmpty());
        QCOMPARE(abfrag->engine()->QuizRightCount, 3);
        QCOMPARE(abfrag->engine()->KnownAtAttempt[0], 2);
        QCOMPARE(abfrag->engine()->KnownAtAttempt[1], 1);

        const auto counters = countersOf(table);
        QCOMPARE(counters["001A1:amare"].asked, 5);
        QCOMPARE(counters["001A1:amare"].wrong, 1);
        QVERIFY(counters["001A1:amare"].lastRight);
        QVERIFY(counters["001A1:amare"].done);
        QCOMPARE(counters["001A1:videre"].asked, 1);
        QCOMPARE(counters["001A1:videre"].wrong, 0);
        QCOMPARE(counters["001A1:ire"].asked, 4);
        QCOMPARE(counters["001A1:ire"].wrong, 3);
        QCOMPARE(counters["001A1:ire"].attempts, 1);
        QVERIFY(counters["001A1:ire"].lastRight);
        // Another lesson keeps what it had.
        QCOMPARE(counters["002A1:rex"].attempts, 3);
        QVERIFY(counters["002A1:rex"].done);
    }

    // A quiz of ten words answered by keys alone: the answer, Enter to submit
    // it, Enter again on "&Weiter", with Return and the keypad's Enter alike.
    void answeredByKeysAlone() {
        platform::installEnterPressesFocusedButton();
        QStringList foreign, translation;
        QByteArrayList texts; // what the rows point to
        QList<Row> rows;
        for (int k = 0; k < 10; ++k) {
            foreign << QStringLiteral("verbum%1").arg(k);
            translation << QStringLiteral("Wort %1").arg(k);
            texts << foreign[k].toUtf8() << translation[k].toUtf8();
        }
        for (int k = 0; k < 10; ++k)
            rows.append({"001A1", texts[2 * k].constData(), texts[2 * k + 1].constData(), 0, 0, 3});
        freshTable(rows);
        QVERIFY(startQuiz({"001A1"}));
        abfrag->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(abfrag));
        for (int k = 0; k < 10; ++k) {
            const auto [key, modifiers] = k % 2 ? std::pair{Qt::Key_Enter, Qt::KeypadModifier}
                                                : std::pair{Qt::Key_Return, Qt::NoModifier};
            QCOMPARE(QApplication::focusWidget(), abfrag->Edit5);
            const qsizetype word = foreign.indexOf(abfrag->MemoFremd->toPlainText());
            QVERIFY(word >= 0);
            QTest::keyClicks(QApplication::focusWidget(), translation[word]);
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
            QCOMPARE(QApplication::focusWidget(), abfrag->BitBtn4);
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        }
        QVERIFY(!abfrag->isVisible());
        QCOMPARE(abfrag->engine()->QuizRightCount, 10);
        for (const Counters& c : countersOf(table)) {
            QCOMPARE(c.asked, 1);
            QCOMPARE(c.wrong, 0);
        }
    }

    // A held key acts once: Enter, Space on "&Weiter" and its mnemonic alike.
    // The X server repeats a held key as release/press pairs that share their
    // time, and Qt often does not flag them as repeats: none of them may
    // submit an answer, press "&Weiter" again or reach the next word's answer,
    // so no word is judged that the user has not seen or typed. Deliberate
    // presses act each time, in every mode; quick spaces are typed.
    void heldKeysActOnce() {
        platform::installEnterPressesFocusedButton();
        QList<Row> rows;
        for (const char* foreign : {"a", "b", "c", "d", "e", "f", "g", "h"})
            rows.append({"001A1", foreign, foreign, 0, 0, 3});
        freshTable(rows);
        quint64 clock = 100000; // the server's time in ms
        // As the window system delivers a key: a press is offered to the
        // shortcuts first.
        auto send = [&](QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers,
                        bool flagged) {
            const QString text =
                key == Qt::Key_Return ? QStringLiteral("\r") : QString(QChar(key)).toLower();
            QWidget* target = abfrag->focusWidget();
            if (type == QEvent::KeyPress &&
                qt_sendShortcutOverrideEvent(target, clock, key, modifiers, text, flagged))
                return;
            QKeyEvent event(type, key, modifiers, text, flagged);
            event.setTimestamp(clock);
            QApplication::sendEvent(target, &event);
        };
        // Two seconds: the press, after the repeat delay pairs 40 ms apart;
        // `live` lets the event loop run meanwhile.
        auto hold = [&](bool flagged, Qt::Key key = Qt::Key_Return,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool live = false) {
            auto pass = [live](int ms) {
                if (live) QTest::qWait(ms);
            };
            send(QEvent::KeyPress, key, modifiers, false);
            const quint64 released = clock + 2000;
            pass(660);
            for (clock += 660; clock < released; clock += 40, pass(40)) {
                send(QEvent::KeyRelease, key, modifiers, flagged);
                send(QEvent::KeyPress, key, modifiers, flagged);
            }
            send(QEvent::KeyRelease, key, modifiers, false);
            clock += 400;
        };
        auto tap = [&](Qt::Key key = Qt::Key_Return) {
            send(QEvent::KeyPress, key, Qt::NoModifier, false);
            clock += 70;
            send(QEvent::KeyRelease, key, Qt::NoModifier, false);
            clock += 80;
        };
        auto typeAnswer = [&] {
            QCOMPARE(abfrag->focusWidget(), abfrag->Edit5);
            QVERIFY(abfrag->Edit5->toPlainText().isEmpty());
            abfrag->Edit5->insertPlainText(abfrag->MemoFremd->toPlainText());
        };
        auto expect = [&](QuizPhase phase, int reached, int right) {
            QCOMPARE(abfrag->engine()->phase(), phase);
            QCOMPARE(abfrag->engine()->QuizReached, reached);
            QCOMPARE(abfrag->engine()->QuizRightCount, right);
        };

        QVERIFY(startQuiz({"001A1"}));
        abfrag->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(abfrag));
        typeAnswer();
        hold(false); // in the answer: one submit
        expect(QuizPhase::Judged, 1, 1);
        QCOMPARE(abfrag->focusWidget(), abfrag->BitBtn4);
        hold(false); // on "&Weiter": one move
        expect(QuizPhase::Asking, 2, 1);
        typeAnswer();
        tap();
        hold(true); // repeats that Qt flags
        expect(QuizPhase::Asking, 3, 2);
        typeAnswer();
        tap(); // deliberate, 150 ms apart
        tap();
        expect(QuizPhase::Asking, 4, 3);
        typeAnswer();
        tap();
        QCOMPARE(abfrag->focusWidget(), abfrag->BitBtn4);
        hold(false, Qt::Key_Space);
        expect(QuizPhase::Asking, 5, 4);
        tap(Qt::Key_Space);
        tap(Qt::Key_Space);
        QCOMPARE(abfrag->Edit5->toPlainText(), QStringLiteral("  "));
        abfrag->Edit5->clear();
        typeAnswer();
        tap();
        hold(false, Qt::Key_W, Qt::AltModifier, true); // "&Weiter" clicks 100 ms after
        expect(QuizPhase::Asking, 6, 5);
        QuizOptions.cbgw = true; // a right answer goes on at once
        typeAnswer();
        hold(false);
        expect(QuizPhase::Asking, 7, 6);
        QVERIFY(abfrag->Edit5->toPlainText().isEmpty());
        abfrag->close();
        int asked = 0;
        for (const Counters& c : countersOf(table)) {
            asked += c.asked;
            QCOMPARE(c.wrong, 0);
        }
        QCOMPARE(asked, 6);

        // The presentation moves on by one word per press.
        QuizOptions.loadDefaults();
        QuizOptions.rbabnorm = false;
        QuizOptions.rbabvor = true;
        QVERIFY(startQuiz({"001A1"}));
        abfrag->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(abfrag));
        abfrag->OkBtn->setFocus();
        hold(false);
        QCOMPARE(abfrag->engine()->QuizReached, 2);
        tap();
        tap();
        QCOMPARE(abfrag->engine()->QuizReached, 4);
        abfrag->close();
    }

    void specialFormsAskedBeforeSubmitting() {
        freshTable({{"001A1", "amor", "Liebe", 0, 0, 3}});
        {
            engine::Query q;
            q.addSql("UPDATE " + engine::quoteLiteral(table) +
                     " SET Genitiv = \"amoris\", PraeFut = \"amo\", Wortart = 2");
            q.execSql();
        }
        QuizOptions.labf = true;
        QuizOptions.geabf = true;
        QuizOptions.CheckBox6 = true;
        QuizOptions.lanz = true;
        GeneralOptions.sbanz = true;
        abfrag->LayoutQuizFields();
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(abfrag->PSFein->isVisible());
        QVERIFY(abfrag->PGenitiv->isVisible());
        QVERIFY(!abfrag->PGenus->isVisible());
        QVERIFY(abfrag->mm[0]->isVisible());
        QVERIFY(abfrag->ll[0]->isVisible());
        QVERIFY(!abfrag->mm[1]->isVisible());
        QVERIFY(abfrag->wacom->isVisible());
        QCOMPARE(abfrag->wacom->currentText(), QStringLiteral("Substantiv"));
        QCOMPARE(abfrag->mm[0]->x(), 680);

        // Enter in the answer leads to the special forms, not to the verdict.
        type(abfrag->Edit5, "Liebe\n");
        QCOMPARE(abfrag->engine()->phase(), QuizPhase::Asking);
        abfrag->EGenitiv->setText("amoris");
        abfrag->mm[0]->setText("amo");
        saveShot(*abfrag, "quizwindow-forms");
        QTest::keyClick(abfrag->mm[0], Qt::Key_Return);
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        QVERIFY(abfrag->grpan->isVisible());
        QCOMPARE(abfrag->m[0]->text(), QStringLiteral("amo"));
        abfrag->BitBtn4->click();
        QVERIFY(!abfrag->isVisible());
        GeneralOptions.sbanz = false;
        abfrag->LayoutQuizFields();
    }

    void presentationRunsOnItsOwn() {
        freshTable({{"001A1", "amare", "lieben", 2, 1, 3}, {"001A1", "videre", "sehen", 0, 0, 3}});
        QuizOptions.rbabnorm = false;
        QuizOptions.rbabvor = true;
        QuizOptions.ems = 100;
        QVERIFY(startQuiz({"001A1"}));
        QVERIFY(abfrag->tim->isActive());
        QCOMPARE(abfrag->tim->interval(), 6);
        QVERIFY(abfrag->PanelVor->isVisible());
        QVERIFY(abfrag->Panel7->isVisible());
        QCOMPARE(abfrag->Panel7->y(), 169);
        // One pass: no attempt number.
        QVERIFY(!abfrag->Label16->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!abfrag->isVisible(), 5000);
        QVERIFY(boxes.isEmpty());
        const auto counters = countersOf(table);
        QCOMPARE(counters["001A1:amare"].asked, 2);
        QCOMPARE(counters["001A1:amare"].wrong, 1);
        QCOMPARE(counters["001A1:amare"].attempts, 1);
        QCOMPARE(counters["001A1:videre"].asked, 0);
        QCOMPARE(counters["001A1:videre"].attempts, 1);
    }

    void settingsPageDuringQuiz() {
        freshTable({{"001A1", "ire", "gehen\r\nlaufen\r\nfahren", 0, 0, 3}});
        QVERIFY(startQuiz({"001A1"}));
        QCOMPARE(abfrag->engine()->MaxAttempts, 1);
        QCOMPARE(abfrag->lanze->text(), QStringLiteral("(1)"));
        abfrag->BitBtn3->click();
        QVERIFY(abfrag->Panel1->isVisible());
        QVERIFY(!abfrag->Panel2->isVisible());
        saveShot(*abfrag, "quizwindow-settings");
        abfrag->Panel1->ComboBox1->setCurrentText("3");
        abfrag->Panel1->tb1->setValue(6);
        abfrag->Panel1->BitBtn2->click();
        QVERIFY(!abfrag->Panel1->isVisible());
        QVERIFY(abfrag->Panel2->isVisible());
        QCOMPARE(abfrag->engine()->MaxAttempts, 3);
        QCOMPARE(abfrag->lanze->text(), QStringLiteral("(3)"));
        // Leaving the page saved the options.
        TQuizOptionsRec saved;
        QVERIFY(saved.load(QuizOptionsPath.isEmpty() ? program.filePath("data/Option.dat")
                                                     : QuizOptionsPath));
        QCOMPARE(saved.tb1, 6);
        abfrag->close();
    }

    void settingsOnlyMode() {
        bool shown = false;
        platform::setModalHandler([&](QDialog& dialog) {
            shown = true;
            auto* window = qobject_cast<Tabfrag*>(&dialog);
            if (!window) return 0;
            [&] {
                QVERIFY(window->Panel1->isVisibleTo(window));
                QVERIFY(!window->Panel2->isVisibleTo(window));
                QCOMPARE(window->Panel1->BitBtn2->text(), QStringLiteral("&Fertig"));
            }();
            window->Panel1->tb1->setValue(4);
            window->Panel1->BitBtn2->click();
            return 1;
        });
        abfrag->showSettingsOnly();
        platform::setModalHandler({});
        QVERIFY(shown);
        QVERIFY(!abfrag->vonh->isChecked());
        QCOMPARE(abfrag->Panel1->BitBtn2->text(), QStringLiteral("&Zurück zur Abfrage"));
        QVERIFY(Form1->DatenbankMenu->menuAction()->isEnabled());
        QVERIFY(Form1->isVisible());
        TQuizOptionsRec saved;
        QVERIFY(saved.load(QuizOptionsPath.isEmpty() ? program.filePath("data/Option.dat")
                                                     : QuizOptionsPath));
        QCOMPARE(saved.tb1, 4);
    }

    void endingEarlyAsks() {
        freshTable({{"001A1", "amare", "lieben", 0, 0, 3}, {"001A1", "videre", "sehen", 0, 0, 3}});
        QVERIFY(startQuiz({"001A1"}));
        // The difficulty changed on the word on screen is kept when the quiz ends.
        abfrag->Schwcom->setCurrentIndex(0);
        nextAnswer = platform::Answer::No;
        abfrag->CancelBtn->click();
        QVERIFY(abfrag->isVisible());
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Abfrage wirklich beenden?"));
        QCOMPARE(boxes[0].caption, QStringLiteral("Achtung"));
        nextAnswer = platform::Answer::Yes;
        abfrag->CancelBtn->click();
        QVERIFY(!abfrag->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->Vokabeln->menuAction()->isEnabled());

        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table) + " WHERE Fremdwort = \"amare\"");
        q.open();
        QCOMPARE(q.asInteger("Schwierigkeit"), 5);
        QCOMPARE(q.asInteger("Anzahl_Abfragen"), 0);
    }

    void pastedLinesSubmitOnce() {
        freshTable({{"001A1", "amare", "lieben", 0, 0, 3},
                    {"001A1", "videre", "sehen", 0, 0, 3},
                    {"001A1", "ire", "gehen", 0, 0, 3}});
        QuizOptions.cbgw = true; // a right answer goes on at once
        QVERIFY(startQuiz({"001A1"}));
        type(abfrag->Edit5, "lieben\nlieben\nlieben\n");
        QuizEngine* quiz = abfrag->engine();
        QCOMPARE(quiz->QuizRightCount, 1);
        QCOMPARE(quiz->QuizReached, 2);
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("videre"));
        QCOMPARE(quiz->phase(), QuizPhase::Asking);
        nextAnswer = platform::Answer::Yes;
        abfrag->close();
        QCOMPARE(countersOf(table)["001A1:videre"].asked, 0);
    }

    void noWordFound() {
        freshTable({{"001A1", "amare", "lieben", 0, 0, 3}});
        SelectionOptions.n = false;
        nextAnswer = platform::Answer::Yes;
        QVERIFY(!startQuiz({"001A1"}));
        QVERIFY(QuizNotStarted);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Mitteilung"));
        QVERIFY(boxes[0].text.startsWith("Es konnten keine Vokabeln gefunden werden"));
        QVERIFY(!abfrag->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->DatenbankMenu->menuAction()->isEnabled());
        // "Ja" put the filters back so that the next quiz can start.
        QVERIFY(SelectionOptions.n);
        TSelectionOptionsRec saved;
        QVERIFY(saved.load(SelectionOptionsPath.isEmpty() ? program.filePath("data/AuswOpt.dat")
                                                          : SelectionOptionsPath));
        QVERIFY(saved.n);
        QVERIFY(startQuiz({"001A1"}));
        abfrag->close();
    }

    void difficultWordsCopy() {
        freshTable({{"001A1", "dubius", "zweifelhaft \"sehr\"", 0, 0, 3},
                    {"001A1", "certus", "sicher", 0, 0, 3}});
        QuizOptions.cbxmal = true;
        QuizOptions.exmal = 1;
        QVERIFY(startQuiz({"001A1"}));
        type(abfrag->Edit5, "zweifelhaft \"sehr\"\n");
        QCOMPARE(abfrag->Label9->text(), QStringLiteral("RICHTIG"));
        abfrag->BitBtn4->click();
        // The quiz goes on with the next word of the lesson, not the copy.
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("certus"));
        QCOMPARE(abfrag->engine()->pool().size(), 1);
        QVERIFY(LessonExists(baumlist, "999Z9"));
        LessonList saved;
        QVERIFY(saved.load(program.filePath("Latein/Caesar.lst")));
        QVERIFY(saved.lines().contains(QStringLiteral("999Z9Schwierige Wörter")));
        type(abfrag->Edit5, "unsicher\n");
        abfrag->BitBtn4->click();
        QVERIFY(!abfrag->isVisible());

        const auto counters = countersOf(table);
        QCOMPARE(counters.size(), 4);
        QVERIFY(counters.contains("999Z9:dubius"));
        QVERIFY(counters.contains("999Z9:certus"));

        // Copying the same word again finds the copy (quotes and all).
        TableQuizStore store(table);
        QuizWord word;
        word.Fremdwort = "dubius";
        word.Uebersetzung = "zweifelhaft \"sehr\"";
        QVERIFY(!store.copyToDifficultLesson(word));
        QCOMPARE(countersOf(table).size(), 4);
    }

    void selectionFilters() {
        freshTable({{"001A1", "nie", "never", 0, 0, 1},
                    {"001A1", "halb", "half", 4, 2, 2},
                    {"001A1", "voll", "full", 3, 0, 3},
                    {"001A1", "null", "zero", 2, 2, 5},
                    {"002A1", "andere", "other", 3, 0, 3},
                    {"001A1", "leer", "", 0, 0, 3},
                    {"003A1", "drittel", "third", 3, 2, 3}});
        TableQuizStore store(table);
        auto select = [&](const std::function<void(TSelectionOptionsRec&)>& change,
                          const QStringList& codes = {"001A1"}) {
            QuizSelection selection;
            selection.lessonCodes = codes;
            change(selection.options);
            QStringList words;
            for (qint64 id : store.selectWords(selection))
                words << store.readWord(id)->Fremdwort;
            return words;
        };
        QCOMPARE(select([](auto&) {}), (QStringList{"nie", "halb", "voll", "null"}));
        QCOMPARE(select([](auto&) {}, {"001A1", "002A1"}),
                 (QStringList{"nie", "halb", "voll", "null", "andere"}));
        // A word never asked counts as 0 %.
        QCOMPARE(select([](auto& o) { o.SelEnd = 0; }), (QStringList{"nie", "null"}));
        // "Von 100 %" takes the words always known.
        QCOMPARE(select([](auto& o) { o.SelStart = 100; }), (QStringList{"voll"}));
        QCOMPARE(select([](auto& o) {
                     o.SelStart = 50;
                     o.SelEnd = 50;
                 }),
                 (QStringList{"halb"}));
        // The upper end reaches one percent further: a word known once in
        // three times (33.3 %) is within "bis 33 %", not within "bis 32 %".
        QCOMPARE(select([](auto& o) { o.SelEnd = 33; }, {"003A1"}), (QStringList{"drittel"}));
        QCOMPARE(select([](auto& o) { o.SelEnd = 32; }, {"003A1"}), QStringList());
        QCOMPARE(select([](auto& o) { o.SelStart = 34; }, {"003A1"}), QStringList());
        // "Nicht gewußte": asked, and wrong the last time.
        QCOMPARE(select([](auto& o) { o.CheckBox1 = true; }), (QStringList{"null"}));
        QCOMPARE(select([](auto& o) { o.sl = o.l = o.n = o.s = false; }), (QStringList{"null"}));
        QCOMPARE(select([](auto& o) { o.ComboBox1 = 2; }), QStringList());
        // A lesson code is a literal, whatever it holds.
        QCOMPARE(select([](auto&) {}, {"00\"1A"}), QStringList());
    }
};

QTEST_MAIN(TestQuizWindow)
#include "tst_quizwindow.moc"
