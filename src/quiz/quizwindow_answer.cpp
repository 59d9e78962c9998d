// Answering: the typed answer is judged, the verdict shown and possibly
// overturned, "&Weiter" moves on; the timer of the presentation mode.
#include "quiz/quizwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

QString fromMemo(const WordFontView& view, const QString& shown) {
    return view.fromDisplay(shown);
}

} // namespace

QString Tabfrag::typedAnswer() const {
    const WordFontView& view = uber->isChecked() ? wordView_ : translationView_;
    return fromMemo(view, Edit5->toPlainText());
}

QuizEngine::TypedForms Tabfrag::typedForms() const {
    QuizEngine::TypedForms forms;
    for (int k = 0; k < 6; ++k)
        forms.mm[k] = tableWordView_.fromDisplay(mm[k]->text());
    forms.EGenitiv = tableWordView_.fromDisplay(EGenitiv->text());
    forms.EGenus = tableTranslationView_.fromDisplay(EGenus->text());
    return forms;
}

void Tabfrag::setLeavingCommandsEnabled(bool enabled) {
    BitBtn3->setEnabled(enabled);
    BitBtn5->setEnabled(enabled);
    CancelBtn->setEnabled(enabled);
    Einstellungen1->setEnabled(enabled);
    Unterbrechen1->setEnabled(enabled);
    Beenden1->setEnabled(enabled);
}

void Tabfrag::showVerdict(bool right) {
    // Yellow with a green frame for right, red with a maroon frame for wrong.
    Label9->setText(right ? QStringLiteral("RICHTIG") : QStringLiteral("FALSCH"));
    Label9->setStyleSheet(right ? QStringLiteral("background-color: rgb(255,255,0); color: black;")
                                : QStringLiteral("background-color: rgb(255,0,0); color: white;"));
    Shape1->setStyleSheet(right ? QStringLiteral("#Shape1 { border: 3px solid rgb(0,128,0); }")
                                : QStringLiteral("#Shape1 { border: 3px solid rgb(128,0,0); }"));
}

// --- submitting ------------------------------------------------------------------------------

void Tabfrag::OKBtn_Click() {
    if (!engine_ || !engine_->hasWord()) return;
    if (QuizOptions.rbabvor) {
        // The presentation: the word counts as shown and the quiz moves on.
        StopDemoTimer();
        engine_->presentationShown();
        afterMove();
        return;
    }
    if (engine_->phase() != QuizPhase::Asking || !OkBtn->isEnabled()) return;
    // In multiple choice the answer is a proposal clicked; OK alone is none.
    if (QuizOptions.rbabmult && MultipleChoiceChosen == 0) return;
    judgeAnswer();
}

void Tabfrag::judgeAnswer() {
    if (!DBMemo2->text().isEmpty()) DBMemo2->show();
    if (!DBMemo3->text().isEmpty()) DBMemo3->show();
    UpdateSpecialFormsPanel();
    OkBtn->setEnabled(false);

    const std::optional<bool> chosenRight =
        QuizOptions.rbabmult ? std::optional<bool>(MultipleChoiceChosen == MultipleChoiceRight)
                             : std::nullopt;
    const bool right = engine_->submit(typedAnswer(), typedForms(), chosenRight);
    const comparison::AnswerVerdict& verdict = engine_->lastVerdict;
    ListBox4->clear();
    ListBox4->addItems(comparison::answerLines(typedAnswer(), engine_->meanings().size()));
    ListBox6->clear();
    ListBox6->addItems(verdict.log);
    Label13->setText(verdict.summary());
    showVerdict(right);

    BitBtn4->setEnabled(true);
    // A word judged again after a correction may no longer need the question.
    Panel4->hide();
    if (engine_->wantsSelfAssessment()) {
        BitBtn4->setEnabled(false);
        Panel4->show();
        Panel4->raise();
        Button3->setFocus();
    }
    if (QuizOptions.cbgw && right) {
        BitBtn4Click();
        return;
    }
    Panel7->show();
    Panel7->raise();
    MemoUebers->show();
    Label19->show();
    Panel3->show();
    if (BitBtn4->isEnabled()) BitBtn4->setFocus();
    setLeavingCommandsEnabled(false);
}

void Tabfrag::eingabe() {
    if (!engine_ || engine_->phase() != QuizPhase::Asking) return;
    // The special forms are typed before the answer is submitted.
    if (QWidget* field = firstSpecialField()) {
        field->setFocus();
        return;
    }
    if (OkBtn->isEnabled()) {
        OkBtn->setFocus();
        OKBtn_Click();
    }
}

QWidget* Tabfrag::firstSpecialField() const {
    if (!PSFein->isVisibleTo(Panel2)) return nullptr;
    if (PGenitiv->isVisibleTo(Panel2)) return EGenitiv;
    if (PGenus->isVisibleTo(Panel2)) return EGenus;
    for (QLineEdit* field : mm)
        if (field->isVisibleTo(Panel2)) return field;
    return nullptr;
}

void Tabfrag::Edit5Exit() {
    if (QWidget* field = firstSpecialField())
        field->setFocus();
    else
        OkBtn->setFocus();
}

void Tabfrag::Edit5Change() {
    if (edit5Busy_ || showing_ || !engine_ || engine_->phase() != QuizPhase::Asking ||
        QuizOptions.rbabvor)
        return;
    moveLeadingLineBreak();
    const QString text = Edit5->toPlainText();
    // Enter submits once the answer has as many lines as meanings are
    // required. A paste of several lines counts once: only a change that adds
    // line breaks can submit, and it submits at most once.
    const int breaks = static_cast<int>(text.count(QLatin1Char('\n')));
    const int lastBreaks = edit5Breaks_;
    edit5Breaks_ = breaks;
    if (OkBtn->isEnabled() && breaks > lastBreaks &&
        breaks >= std::max(1, engine_->RequiredMeanings)) {
        eingabe();
        return;
    }
    if (QuizOptions.cbschnell && OkBtn->isEnabled()) {
        QString typed = typedAnswer();
        if (typed.endsWith(QLatin1Char('\n'))) typed.chop(1);
        QString expected = engine_->expectedAnswerText();
        expected.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (expected.endsWith(QLatin1Char('\n'))) expected.chop(1);
        const bool ignoreCase = QuizOptions.CheckBox3;
        if (!typed.isEmpty() &&
            comparison::FoldCase(typed, ignoreCase) == comparison::FoldCase(expected, ignoreCase))
            eingabe();
    }
}

// --- verdict ---------------------------------------------------------------------------------

void Tabfrag::focusWeiter() {
    BitBtn4->setEnabled(true);
    if (QuizOptions.cbgw && engine_ && engine_->AnswerJudgedRight) {
        BitBtn4Click();
        return;
    }
    BitBtn4->setFocus();
}

void Tabfrag::Button3Click() {
    if (!engine_ || engine_->phase() != QuizPhase::Judged) return;
    engine_->judgeRight();
    Panel4->hide();
    showVerdict(true);
    focusWeiter();
}

void Tabfrag::Button4Click() {
    Panel4->hide();
    focusWeiter();
}

// The second "right" button of the verdict panel does the same as the first.
void Tabfrag::Button6Click() {
    Button3Click();
}

void Tabfrag::Button2Click() {
    if (!engine_ || engine_->phase() != QuizPhase::Judged) return;
    engine_->judgeWrong();
    Panel4->hide();
    showVerdict(false);
    focusWeiter();
}

// --- "&Weiter" --------------------------------------------------------------------------------

void Tabfrag::BitBtn4Click() {
    if (!engine_ || engine_->phase() != QuizPhase::Judged) return;
    edit5Busy_ = true;
    Edit5->clear();
    edit5Busy_ = false;
    edit5Breaks_ = 0;
    for (int k = 0; k < 6; ++k) {
        mm[k]->hide();
        ll[k]->hide();
    }
    setLeavingCommandsEnabled(true);
    ListBox3->clear();
    ListBox4->clear();
    ListBox6->clear();
    engine_->next();
    afterMove();
}

void Tabfrag::afterMove() {
    Panel3->hide();
    Panel4->hide();
    if (engine_->phase() == QuizPhase::Finished) {
        // The last word is done: the quiz ends without a question.
        close();
        return;
    }
    edit5Busy_ = true;
    Edit5->clear();
    edit5Busy_ = false;
    edit5Breaks_ = 0;
    showCurrentWord();
    OkBtn->setEnabled(true);
    BitBtn4->setEnabled(false);
    leiste();
    OkBtn->setFocus();
    if (!QuizOptions.rbabvor) {
        Panel7->hide();
        Edit5->setFocus();
    } else {
        StartDemoTimer();
    }
    FillMultipleChoice();
}

// --- presentation timer ------------------------------------------------------------------------

void Tabfrag::StartDemoTimer() {
    if (!QuizOptions.rbabvor || !quizRunning()) return;
    tim->setInterval(engine_->demoTimerInterval());
    engine_->resetDemoClock();
    tim->start();
}

void Tabfrag::StopDemoTimer() {
    tim->stop();
}

void Tabfrag::timTimer() {
    if (!quizRunning()) {
        tim->stop();
        return;
    }
    const DemoTick tick = engine_->demoTick();
    drawChart(0, tick.advance ? QuizOptions.ems : engine_->DemoElapsed);
    if (tick.showAnswer) DemoShowAnswer();
    if (tick.advance) {
        tim->stop();
        OKBtn_Click();
    }
}

// --- changes of the word during the quiz ----------------------------------------------------

void Tabfrag::wacomChange() {
    if (showing_ || !engine_ || !engine_->hasWord() || wacom->currentIndex() < 0) return;
    engine_->editWord().Wortart = wacom->currentIndex() + 1;
}

void Tabfrag::SchwcomChange() {
    if (showing_ || !engine_ || !engine_->hasWord() || Schwcom->currentIndex() < 0) return;
    engine_->editWord().Schwierigkeit = 5 - Schwcom->currentIndex();
}

void Tabfrag::bbemerkungClick() {
    bbemerkung->hide();
    MemoFremd->resize(Panel2->width() - DBMemo5->width() - 30, MemoFremd->height());
    DBMemo5->show();
    Edit5->setFocus();
}
