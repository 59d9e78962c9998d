// Starting a quiz: the words are selected and prepared, the main window
// steps aside and the first word is shown.
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/error.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "quiz/quizoptionspage.h"
#include "quiz/quizstart.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionoptions.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

bool QuizNotStarted = false;

bool startQuiz(const QStringList& lessonCodes) {
    if (!abfrag) {
        QuizNotStarted = true;
        return false;
    }
    return abfrag->startQuiz(lessonCodes);
}

namespace {

// The selection filters that let every word of the lessons qualify.
void resetSelectionFilters(TSelectionOptionsRec& o) {
    o.CheckBox1 = false;
    o.ComboBox1 = 0;
    o.sl = o.l = o.n = o.s = o.ss = true;
    o.cbgenus = o.cbgeni = o.cbsf = false;
    o.SelStart = 0;
    o.SelEnd = TSelectionOptionsRec::MaxPercent;
    o.Position = 0;
}

} // namespace

bool Tabfrag::startQuiz(const QStringList& lessonCodes) {
    QuizLessonCodes = lessonCodes;
    return openQuiz(false);
}

bool Tabfrag::openQuiz(bool resuming) {
    vonh->setChecked(false);
    Letztewieder->setChecked(resuming);
    ListBox3->clear();
    ListBox4->clear();
    if (fosc) fosc->start();
    QuizNotStarted = false;
    FormPaint();
    Letztewieder->setChecked(false);
    if (QuizNotStarted) {
        hide();
        if (resuming && Form1) Form1->show();
        return false;
    }
    show();
    raise();
    activateWindow();
    Edit5->setFocus();
    // The proposals are built once the pool is open.
    FillMultipleChoice();
    return true;
}

void Tabfrag::FormPaint() {
    applySpecialFormCaptions(captions_);
    edit5Busy_ = true;
    Edit5->clear();
    edit5Busy_ = false;
    edit5Breaks_ = 0;
    QuizLabPath = QDir(WorkDir).filePath(QStringLiteral("data/") + CurrentDatabaseName +
                                         CurrentLanguage + QStringLiteral(".lab"));
    QuizTablePath = CurrentTablePath;
    CharWindowWasOpen = charWindowVisible && charWindowVisible();
    if (vonh->isChecked()) {
        if (fosc) fosc->finish();
        return;
    }
    LockMainMenus();
    StopDemoTimer();
    if (store_) store_->close();
    engine_.reset();
    store_ = std::make_unique<TableQuizStore>(QuizTablePath);
    store_->lessonListChanged = [] {
        if (Form1) RebuildLessonTree(Form1->lekbaum, baumlist);
    };
    // A resumed quiz keeps the state its words had at the interruption.
    const bool resuming = Letztewieder->isChecked();
    resumeStore_.reset();
    if (resuming) resumeStore_ = std::make_unique<ResumeQuizStore>(*store_);
    engine_ = std::make_unique<QuizEngine>(resuming ? static_cast<QuizStore&>(*resumeStore_)
                                                    : static_cast<QuizStore&>(*store_),
                                           QuizOptions);
    engine_->setDatabaseFacts(DatabaseOptions.WordFont, WordFontCharset());
    Memo2->setPlainText(resuming ? ResumeRecord.direction
                                 : QString::number(SelectionOptions.direction()));
    if (Form1) Form1->hide();
    ListBox6->clear();

    bool started = false;
    bool failed = false;
    try {
        const QuizSelection selection = resuming ? ResumeRecord.selection(SelectionOptions)
                                                 : QuizSelection{QuizLessonCodes, SelectionOptions};
        QuizSelectionOptions = selection.options;
        const QuizStore::Progress progress = [](int done, int total) {
            if (fosc) fosc->setProgress(done, total);
        };
        started =
            resuming ? engine_->resume(selection, progress) : engine_->start(selection, progress);
        if (started && resuming) {
            QuizEngine& e = *engine_;
            const InterruptedQuizRecord& r = ResumeRecord;
            // The total is taken anew (words may have been added or deleted);
            // what remains is the pool actually found, so the quiz neither
            // ends early nor runs past its words.
            e.QuizTotal = resumeStore_->selectedCount();
            e.QuizRemaining = static_cast<int>(e.pool().size());
            e.QuizReached = std::clamp<int>(r.QuizReached, 1, e.QuizTotal);
            e.QuizRightCount = r.QuizRightCount;
            e.QuizWrongCount = r.QuizWrongCount;
            e.QuizRandomIndex = r.QuizRandomIndex;
            for (int k = 0; k < 10; ++k)
                e.KnownAtAttempt[k] = r.KnownAtAttempt[k];
        }
    } catch (const platform::Error& error) {
        failed = true;
        if (fosc) fosc->finish();
        platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
    }
    if (!started) {
        if (fosc) fosc->finish();
        QuizNotStarted = true;
        if (!failed &&
            platform::showMessage(
                QStringLiteral("Es konnten keine Vokabeln gefunden werden, die der Auswahl "
                               "entsprechen. Sollen die Auswahloptionen auf den Standard "
                               "zurückgesetzt werden, so dass eine Abfrage wieder möglich ist?"),
                QStringLiteral("Mitteilung"), platform::Icon::Question,
                platform::Buttons::YesNo) == platform::Answer::Yes) {
            resetSelectionFilters(SelectionOptions);
            saveSelectionOptions();
        }
        store_->close();
        hide();
        UnlockMainMenus();
        if (Form1) Form1->show();
        return;
    }

    Panel1->hide();
    Panel2->show();
    Panel3->hide();
    Panel4->hide();
    Panel7->hide();
    OkBtn->setEnabled(true);
    BitBtn4->setEnabled(false);
    setLeavingCommandsEnabled(true);
    showCurrentWord();
    leisteo();
    leiste();
    ShowAttemptLabel();
    StartDemoTimer();
    if (fosc) fosc->finish();
}
