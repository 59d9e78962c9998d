// The settings page of the quiz window, during a quiz and in the
// settings-only mode of the main menu.
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/modal.h"
#include "quiz/quizoptionspage.h"
#include "quiz/quizwindow.h"

#include <QCheckBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

void Tabfrag::BitBtn3Click() {
    StopDemoTimer();
    Panel2->hide();
    Panel1->show();
    Panel1->BitBtn2->setFocus();
}

void Tabfrag::BitBtn2_Click() {
    if (vonh->isChecked()) {
        Panel1->BitBtn2->setText(QStringLiteral("&Zurück zur Abfrage"));
        Panel1->hide();
        Panel2->show();
        MainMenu1->show();
        Panel1->schlie();
        close();
        return;
    }
    Panel1->schlie();
    Panel1->hide();
    Panel2->show();
    if (engine_ && engine_->hasWord()) {
        engine_->MaxAttempts = QuizOptions.attemptLimit();
        // The number of meanings required may have changed.
        engine_->ordbe();
        showCurrentWord();
    }
    leisteo();
    Edit5->setFocus();
    FillMultipleChoice();
    ShowAttemptLabel();
    StartDemoTimer();
}

void Tabfrag::showSettingsOnly() {
    Panel1->BitBtn2->setText(QStringLiteral("&Fertig"));
    vonh->setChecked(true);
    Panel2->hide();
    Panel1->show();
    Panel1->raise();
    MainMenu1->hide();
    FormPaint();
    platform::execModal(*this);
    if (Form1 && Form1->Query && Form1->Query->isActive()) ReopenLessonQuery(*Form1->Query);
    Panel1->BitBtn2->setText(QStringLiteral("&Zurück zur Abfrage"));
    MainMenu1->show();
    Panel1->hide();
    Panel2->show();
    vonh->setChecked(false);
}
