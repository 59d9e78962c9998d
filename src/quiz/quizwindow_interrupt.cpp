// The quiz window: interrupting a quiz, resuming it later, and the
// evaluation shown during and at the end of a quiz.
#include "database/currentdatabase.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "quiz/evaluationwindow.h"
#include "quiz/quizresume.h"
#include "quiz/quizstart.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

QString labPathOfOpenDatabase() {
    return QDir(WorkDir).filePath(QStringLiteral("data/") + CurrentDatabaseName + CurrentLanguage +
                                  QStringLiteral(".lab"));
}

QuizCounts countsOf(const QuizEngine& e) {
    QuizCounts c;
    c.QuizReached = e.QuizReached;
    c.QuizTotal = e.QuizTotal;
    c.QuizRightCount = e.QuizRightCount;
    c.KnownAtAttempt = e.KnownAtAttempt;
    return c;
}

} // namespace

bool resumeInterruptedQuiz() {
    return abfrag && abfrag->resumeQuiz();
}

// --- interrupt -----------------------------------------------------------------------------

InterruptedQuizRecord Tabfrag::currentQuizRecord() const {
    InterruptedQuizRecord r;
    r.reserved = ResumeRecord.reserved;
    for (const QString& code : QuizLessonCodes)
        r.lessonCodes << code.left(InterruptedQuizRecord::LessonCodeLength);
    r.direction = Memo2->toPlainText().left(2);
    if (!engine_) return r;
    const QuizEngine& e = *engine_;
    for (int k = 0; k < 10; ++k)
        r.KnownAtAttempt[k] = e.KnownAtAttempt[k];
    r.QuizReached = e.QuizReached;
    r.QuizRemaining = e.QuizRemaining;
    r.QuizTotal = e.QuizTotal;
    r.QuizRandomIndex = e.QuizRandomIndex;
    r.QuizRightCount = e.QuizRightCount;
    r.QuizWrongCount = e.QuizWrongCount;
    const TSelectionOptionsRec& o = QuizSelectionOptions;
    r.wordClass = o.ComboBox1;
    r.sl = o.sl;
    r.l = o.l;
    r.n = o.n;
    r.s = o.s;
    r.ss = o.ss;
    r.CheckBox1 = o.CheckBox1;
    return r;
}

void Tabfrag::BitBtn5Click() {
    if (!quizRunning()) return;
    StopDemoTimer();
    // The record holds 200 lessons; saving fewer would resume a smaller quiz
    // than the one interrupted.
    if (QuizLessonCodes.size() > InterruptedQuizRecord::MaxLessons) {
        platform::showMessage(
            QStringLiteral("Eine Abfrage über mehr als %1 Lektionen kann nicht unterbrochen "
                           "werden. Bitte beenden Sie die Abfrage oder setzen Sie sie fort.")
                .arg(InterruptedQuizRecord::MaxLessons),
            QStringLiteral("Mitteilung"), platform::Icon::Information);
        StartDemoTimer();
        return;
    }
    // When the state cannot be saved the quiz goes on: closing now would
    // lose it.
    if (!writeInterruptedQuiz(QuizLabPath, currentQuizRecord())) {
        StartDemoTimer();
        return;
    }
    engine_->QuizInterrupted = true;
    close();
}

// --- resume --------------------------------------------------------------------------------

bool Tabfrag::loaduab() {
    InterruptedQuizRecord record;
    QString error;
    const InterruptedQuizRead result = readInterruptedQuiz(QuizLabPath, record, error);
    if (result != InterruptedQuizRead::Ok) {
        if (result == InterruptedQuizRead::Corrupt) {
            removeInterruptedQuiz(QuizLabPath);
            error += QStringLiteral("\n\nDie Datei wurde entfernt.");
        }
        platform::showMessage(error, QStringLiteral("Fehler"), platform::Icon::Error);
        if (Form1) Form1->VokabelnClick();
        return false;
    }
    ResumeRecord = record;
    QuizLessonCodes = record.lessonCodes;
    if (ausw) {
        ausw->dstlist->clear();
        ausw->dstlist->addItems(record.lessonCodes);
    }
    // The selection window shows the filters of the resumed quiz.
    SelectionOptions.sl = record.sl;
    SelectionOptions.l = record.l;
    SelectionOptions.n = record.n;
    SelectionOptions.s = record.s;
    SelectionOptions.ss = record.ss;
    SelectionOptions.CheckBox1 = record.CheckBox1;
    SelectionOptions.ComboBox1 = record.wordClass;
    SelectionOptions.setDirection(record.directionNumber());
    Memo2->setPlainText(record.direction);
    return true;
}

bool Tabfrag::resumeQuiz() {
    if (quizRunning()) return false;
    QuizLabPath = labPathOfOpenDatabase();
    if (CurrentTablePath.isEmpty() || !loaduab()) return false;
    return openQuiz(true);
}

// --- evaluation ----------------------------------------------------------------------------

void Tabfrag::Statistik1Click() {
    if (!engine_ || !auswertung) return;
    EvaluationFigures figures;
    if (!RunningStatistics(countsOf(*engine_), figures)) return;
    const bool timerWasRunning = tim->isActive();
    StopDemoTimer();
    auswertung->fill(figures);
    auswertung->showModal();
    if (timerWasRunning) StartDemoTimer();
}

void Tabfrag::FormClose2() {
    StopDemoTimer();
    if (vonh->isChecked() || !engine_) return;
    QuizEngine& e = *engine_;
    // Filled for every end, so a short quiz never shows the charts of an
    // earlier one.
    const EvaluationFigures figures = FinalEvaluation(countsOf(e));
    e.QuizWrongCount = figures.summary.at(1).value;
    if (e.QuizTotal > 0 && auswertung) {
        if (auswertung->isVisible()) auswertung->close();
        auswertung->fill(figures);
        if (QuizEndShowEvaluation && !e.presentationMode()) auswertung->showModal();
    }
    QuizEndShowEvaluation = false;
}
