// Interrupting and resuming a quiz: the record file (layout, short and
// corrupt files) and the way through the quiz window on a real table, and the
// figures of the evaluation charts. With ORVILEX_SHOTS set to a folder the
// evaluation window is saved there when it is shown.
#include "database/currentdatabase.h"
#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/recordimage.h"
#include "platform/regularfile.h"
#include "quiz/evaluationwindow.h"
#include "quiz/interruptedquiz.h"
#include "quiz/quizevaluation.h"
#include "quiz/quizresume.h"
#include "quiz/quizstart.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionoptions.h"
#include "support/testfiles.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void addWords(const QString& table, const QList<QPair<QString, QString>>& words) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(table) + " WHERE ID = -1");
    q.open();
    engine::Transaction transaction(table);
    for (const auto& [foreign, translation] : words)
        q.insertRecord({QVariant(), "001A1", foreign, translation, "", "", "", "", "",    "",
                        "",         "",      14,      "",          3,  0,  0,  0,  false, false});
    transaction.commit();
}

void deleteWord(const QString& table, const QString& foreign) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(table) +
             " WHERE Fremdwort = " + engine::quoteLiteral(foreign));
    q.open();
    QVERIFY(!q.isEmpty());
    q.deleteRecord();
}

void answer(const QString& text) {
    abfrag->Edit5->setFocus();
    abfrag->Edit5->insertPlainText(text + "\n");
    abfrag->BitBtn4->click();
}

QStringList labels(const QList<ChartPoint>& points) {
    QStringList result;
    for (const ChartPoint& p : points)
        result << p.label;
    return result;
}

QList<int> values(const QList<ChartPoint>& points) {
    QList<int> result;
    for (const ChartPoint& p : points)
        result << p.value;
    return result;
}

InterruptedQuizRecord sampleRecord() {
    InterruptedQuizRecord r;
    r.lessonCodes = {"001A1", "002B3"};
    r.direction = "3";
    r.KnownAtAttempt = {4, 3, 2, 1, 7, 0, 0, 0, 0, 0};
    r.QuizReached = 18;
    r.QuizRemaining = 3;
    r.QuizTotal = 20;
    r.QuizRandomIndex = 2;
    r.QuizRightCount = 17;
    r.QuizWrongCount = 0;
    r.wordClass = 5;
    r.reserved = 0x01020304;
    r.sl = false;
    r.ss = false;
    r.CheckBox1 = true;
    return r;
}

} // namespace

class TestInterruptedQuiz : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    QString table;
    std::unique_ptr<TForm1> mainWindow;
    QList<platform::MessageBoxRequest> boxes;
    QStringList modals;
    QList<EvaluationFigures> evaluations;

    QString labPath() const { return program.filePath("data/CaesarLatein.lab"); }

    void freshTable() {
        engine::Query q;
        engine::releaseTable(table);
        QFile::remove(table);
        CreateVocabularyTable(q, table);
        addWords(table, {{"amare", "lieben"},
                         {"videre", "sehen"},
                         {"ire", "gehen"},
                         {"esse", "sein"},
                         {"dare", "geben"}});
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        table = program.filePath("Latein/Caesar.ol");
        freshTable();
        TDatabaseOptionsRec::forNewDatabase("Latein").save(program.filePath("Latein/Caesar.opt"));
        LessonList({"001A1Verben"}).save(program.filePath("Latein/Caesar.lst"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Yes;
        });
        platform::setModalHandler([this](QDialog& dialog) {
            modals << dialog.objectName();
            if (auto* window = qobject_cast<Tauswertung*>(&dialog)) {
                evaluations << window->shown();
                const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
                if (!folder.isEmpty()) {
                    window->show();
                    QTest::qWait(100);
                    window->grab().save(folder + "/evaluation-standard.png");
                    window->TabbedNotebook1->setCurrentIndex(1);
                    QTest::qWait(100);
                    window->grab().save(folder + "/evaluation-detailed.png");
                    window->hide();
                }
            }
            return 1;
        });

        mainWindow = std::make_unique<TForm1>();
        Form1 = mainWindow.get();
        fosc = new Tfosc;
        abfrag = new Tabfrag;
        auswertung = new Tauswertung;
        Form1->hooks.fontsChanged = [](const DatabaseFonts& f) { abfrag->applyDatabaseFonts(f); };
        Form1->FormCreate({}, program.path());
        Form1->OpenVocabularyDatabase(table);
        Form1->show();
        abfrag->FormCreate();
        abfrag->quizEnded = [] { Form1->VokabelnClick(); };
    }

    void cleanupTestCase() {
        delete auswertung;
        delete abfrag;
        delete fosc;
        fosc = nullptr;
        mainWindow.reset();
        Form1 = nullptr;
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void init() {
        boxes.clear();
        modals.clear();
        evaluations.clear();
        QuizOptions.loadDefaults();
        SelectionOptions = TSelectionOptionsRec();
    }

    void recordLayoutAndRoundTrip() {
        const InterruptedQuizRecord r = sampleRecord();
        const QByteArray image = r.toBytes();
        QCOMPARE(image.size(), 1288);
        QCOMPARE(image.mid(0, 6), QByteArray("\x05"
                                             "001A1"));
        QCOMPARE(image.mid(6, 6), QByteArray("\x05"
                                             "002B3"));
        QCOMPARE(image.mid(1200, 2), QByteArray("\x01"
                                                "3"));
        QCOMPARE(platform::readInt32(image, 1204), 4);
        QCOMPARE(platform::readInt32(image, 1220), 7);
        QCOMPARE(platform::readInt32(image, 1244), 18);
        QCOMPARE(platform::readInt32(image, 1248), 3);
        QCOMPARE(platform::readInt32(image, 1252), 20);
        QCOMPARE(platform::readInt32(image, 1260), 17);
        QCOMPARE(platform::readInt32(image, 1268), 2);
        QCOMPARE(platform::readInt32(image, 1272), 5);
        QCOMPARE(platform::readInt32(image, 1276), 0x01020304);
        QCOMPARE(image.mid(1280, 8), QByteArray("\0\1\1\1\0\1\0\0", 8));

        QVERIFY(writeInterruptedQuiz(labPath(), r));
        InterruptedQuizRecord back;
        QString error;
        QCOMPARE(readInterruptedQuiz(labPath(), back, error), InterruptedQuizRead::Ok);
        QCOMPARE(back, r);

        // The stored filters replace the selection's; the band stays the user's.
        TSelectionOptionsRec current;
        current.SelStart = 40;
        const QuizSelection s = back.selection(current);
        QCOMPARE(s.lessonCodes, r.lessonCodes);
        QCOMPARE(s.options.direction(), 3);
        QCOMPARE(s.options.ComboBox1, 5);
        QVERIFY(!s.options.sl && s.options.l && !s.options.ss && s.options.CheckBox1);
        QCOMPARE(s.options.SelStart, 40);
        QFile::remove(labPath());
    }

    void badFilesAreRefusedClearly() {
        InterruptedQuizRecord r;
        QString error;
        QCOMPARE(readInterruptedQuiz(labPath(), r, error), InterruptedQuizRead::Missing);
        QVERIFY(error.contains("nicht vorhanden"));

        const QByteArray good = sampleRecord().toBytes();
        auto corrupt = [&](const QByteArray& image, const char* reason) {
            QFile f(labPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(image);
            f.close();
            QCOMPARE(readInterruptedQuiz(labPath(), r, error), InterruptedQuizRead::Corrupt);
            QVERIFY2(error.contains(reason), qPrintable(error));
            QCOMPARE(r, InterruptedQuizRecord()); // left as it was
        };
        corrupt(good.left(1287), "unvollständig");
        QByteArray image = good;
        platform::writeInt32(image, 1268, 0);
        corrupt(image, "Anzahl der Lektionen");
        platform::writeInt32(image, 1268, 201);
        corrupt(image, "Anzahl der Lektionen");
        image = good;
        image[1201] = '7';
        corrupt(image, "Abfragerichtung");
        image = good;
        platform::writeInt32(image, 1244, -5);
        corrupt(image, "Zähler");
        {
            // A FIFO is never waited for.
            FifoGuard fifos;
            const QString pipe = labPath() + ".pipe";
            fifos.make(pipe);
            QCOMPARE(readInterruptedQuiz(pipe, r, error), InterruptedQuizRead::Unreadable);
            QVERIFY2(error.contains(platform::notARegularFileMessage(pipe)), qPrintable(error));
            QVERIFY(!fifos.waitedFor());
            QFile::remove(pipe);
        }

        // Through the resume entry: a box, no quiz, the useless file gone.
        QVERIFY(!resumeInterruptedQuiz());
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QVERIFY(boxes[0].text.contains("beschädigt"));
        QVERIFY(!QFile::exists(labPath()));
        QVERIFY(!abfrag->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(!Form1->uaf->isEnabled());
    }

    void interruptAndResumeSkippingDeletedWords() {
        freshTable();
        QuizOptions.ComboBox1 = "2"; // two attempts per word
        QVERIFY(startQuiz({"001A1"}));
        answer("lieben");
        answer("sehen");
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        QVERIFY(abfrag->BitBtn5->isVisibleTo(abfrag));

        abfrag->BitBtn5->click();
        QVERIFY(boxes.isEmpty()); // no question on an interrupt
        QVERIFY(!abfrag->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->uaf->isEnabled());
        QCOMPARE(modals, QStringList{"auswertung"});
        InterruptedQuizRecord saved;
        QString error;
        QCOMPARE(readInterruptedQuiz(labPath(), saved, error), InterruptedQuizRead::Ok);
        QCOMPARE(saved.lessonCodes, QStringList{"001A1"});
        QCOMPARE(saved.QuizReached, 3);
        QCOMPARE(saved.QuizTotal, 5);
        QCOMPARE(saved.QuizRemaining, 3);
        QCOMPARE(saved.QuizRightCount, 2);
        QCOMPARE(saved.KnownAtAttempt[0], 2);
        QCOMPARE(saved.direction, QStringLiteral("1"));

        // A word of the rest is deleted before the quiz goes on.
        deleteWord(table, "esse");
        modals.clear();
        evaluations.clear();
        QVERIFY(resumeInterruptedQuiz());
        QVERIFY(abfrag->isVisible());
        QuizEngine* quiz = abfrag->engine();
        QCOMPARE(quiz->QuizTotal, 4);
        QCOMPARE(quiz->pool().size(), 2);
        QCOMPARE(quiz->QuizRemaining, 2);
        QCOMPARE(quiz->QuizReached, 3);
        QCOMPARE(quiz->QuizRightCount, 2);
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        answer("gehen");
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("dare"));
        answer("nehmen");
        answer("x"); // the wrong word comes back, and stays wrong
        QVERIFY(!abfrag->isVisible());

        // A normal end removes the file and shows the final evaluation.
        QVERIFY(!QFile::exists(labPath()));
        QVERIFY(!Form1->uaf->isEnabled());
        QCOMPARE(evaluations.size(), 1);
        QCOMPARE(values(evaluations[0].summary), (QList<int>{3, 1}));
        QCOMPARE(values(evaluations[0].attempts), (QList<int>{3, 0, 0, 0, 0, 1, 0}));
    }

    void resumeInRandomOrderWithMultipleChoice() {
        freshTable();
        QVERIFY(startQuiz({"001A1"}));
        answer("lieben");
        answer("sehen");
        abfrag->BitBtn5->click();
        QVERIFY(QFile::exists(labPath()));

        // Random order and multiple choice from now on: the resume goes on
        // with the first open word in table order, and its proposals come
        // from the open pool.
        QuizOptions.rborder = false;
        QuizOptions.rbrandom = true;
        QuizOptions.rbabnorm = false;
        QuizOptions.rbabmult = true;
        QuizOptions.cbms = true;
        QList<int> bounds;
        platform::setRandomSource([&](int bound) {
            bounds << bound;
            return bound - 1;
        });
        QVERIFY(resumeInterruptedQuiz());
        QCOMPARE(abfrag->MemoFremd->toPlainText(), QStringLiteral("ire"));
        QCOMPARE(bounds, QList<int>{4}); // only the place of the right answer
        QVERIFY(abfrag->pmulti->isVisible());
        QCOMPARE(abfrag->MultipleChoiceRight, 4);
        QCOMPARE(abfrag->mb[3]->text(), QStringLiteral("gehen"));
        QVERIFY(abfrag->mb[0]->text() != QStringLiteral("LEER - Zu wenige Vokabeln"));
        platform::setRandomSource({});
        abfrag->close();
    }

    void failedInterruptKeepsTheQuizRunning() {
        freshTable();
        QVERIFY(QDir().mkpath(labPath())); // a folder in the way of the file
        QVERIFY(startQuiz({"001A1"}));
        answer("lieben");
        abfrag->BitBtn5->click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QVERIFY(abfrag->isVisible());
        QVERIFY(abfrag->quizRunning());
        QVERIFY(!abfrag->engine()->QuizInterrupted);
        QVERIFY(modals.isEmpty());
        abfrag->close(); // "Abfrage wirklich beenden?" answered Yes
        QVERIFY(!abfrag->isVisible());
        QDir(labPath()).removeRecursively();
    }

    void statisticsDuringTheQuiz() {
        freshTable();
        QuizOptions.ComboBox1 = "1"; // one attempt per word
        QVERIFY(startQuiz({"001A1"}));
        abfrag->Statistik1->trigger(); // the first word: nothing to show
        QVERIFY(modals.isEmpty());
        answer("lieben");
        answer("falsch");
        abfrag->Statistik1->trigger();
        QCOMPARE(modals, QStringList{"auswertung"});
        QCOMPARE(values(evaluations[0].summary), (QList<int>{1, 1}));
        QCOMPARE(labels(evaluations[0].attempts).at(5), QStringLiteral("bis jetzt nicht gewußt"));
        QCOMPARE(values(evaluations[0].attempts), (QList<int>{1, 0, 0, 0, 0, 1, 3}));
        QVERIFY(abfrag->quizRunning());
        abfrag->close();
    }

    void evaluationFigures() {
        QuizCounts c;
        c.QuizTotal = 10;
        c.QuizReached = 5; // the fifth word is asked
        c.QuizRightCount = 2;
        c.KnownAtAttempt = {1, 1, 0, 0, 0};
        EvaluationFigures f;
        QVERIFY(RunningStatistics(c, f));
        QCOMPARE(labels(f.summary), (QStringList{"Richtig", "Falsch"}));
        QCOMPARE(values(f.summary), (QList<int>{2, 2}));
        QCOMPARE(f.summary[0].colour, QColor(34, 221, 0));
        QCOMPARE(f.summary[1].colour, QColor(255, 0, 0));
        QCOMPARE(values(f.attempts), (QList<int>{1, 1, 0, 0, 0, 2, 6}));
        QCOMPARE(f.attempts[2].colour, QColor(68, 187, 0));
        QCOMPARE(f.attempts[6].colour, QColor(128, 128, 128));
        QCOMPARE(f.attempts[6].label, QStringLiteral("nicht abgefragt       "));

        c.QuizReached = 1;
        QVERIFY(!RunningStatistics(c, f));
        // The word on screen already judged right never gives a negative count.
        c.QuizTotal = 3;
        c.QuizReached = 3;
        c.QuizRightCount = 3;
        QVERIFY(RunningStatistics(c, f));
        QCOMPARE(values(f.summary), (QList<int>{3, 0}));
        QCOMPARE(f.attempts[6].value, 0);

        // The end after the first word: nothing answered, everything not asked.
        c = QuizCounts();
        c.QuizTotal = 10;
        f = FinalEvaluation(c);
        QCOMPARE(values(f.summary), (QList<int>{0, 0}));
        QCOMPARE(f.attempts[5].label, QStringLiteral("überhaupt nicht gewußt"));
        QCOMPARE(f.attempts[6].value, 10);
    }
};

QTEST_MAIN(TestInterruptedQuiz)
#include "tst_interruptedquiz.moc"
