// The quiz window's menu "E&xtras" (special characters, the difficulty of the
// word), the insertion of special characters into the answer fields and the
// help key.
#include "engine/query.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/specialchars.h"
#include "mainwindow/specialcharwindow.h"
#include "mainwindow/typingaids.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "quiz/quizwindow.h"
#include "quiz/wordeditorwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

QAction* item(QMenu* menu, const QString& text, const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

void Tabfrag::buildExtrasMenu() {
    ExtrasMenu = MainMenu1->addMenu(QStringLiteral("E&xtras"));
    ExtrasMenu->setObjectName(QStringLiteral("ExtrasMenu"));
    Sonderzeicheneinfuegen1 =
        item(ExtrasMenu, QStringLiteral("Sonderzeichen &einfügen"), "Sonderzeicheneinfuegen1");
    Benutzertabelleanzeigen1 =
        item(ExtrasMenu, QStringLiteral("&Benutzertabelle anzeigen"), "Benutzertabelleanzeigen1");
    ExtrasMenu->addSeparator();
    Vokabelbearbeiten1 =
        item(ExtrasMenu, QStringLiteral("Vokabel &bearbeiten"), "Vokabelbearbeiten1");
    Schwierigkeit1 = ExtrasMenu->addMenu(QStringLiteral("&Schwierigkeit"));
    Schwierigkeit1->setObjectName(QStringLiteral("Schwierigkeit1"));
    Aufsehrschwierig1 =
        item(Schwierigkeit1, QStringLiteral("Auf sehr schwierig"), "Aufsehrschwierig1");
    Aufschwierig1 = item(Schwierigkeit1, QStringLiteral("Auf schwierig"), "Aufschwierig1");
    Aufmittel1 = item(Schwierigkeit1, QStringLiteral("Auf mittel"), "Aufmittel1");
    Aufleicht1 = item(Schwierigkeit1, QStringLiteral("Auf leicht"), "Aufleicht1");
    Aufsehrleicht1 = item(Schwierigkeit1, QStringLiteral("Auf sehr leicht"), "Aufsehrleicht1");

    connect(Sonderzeicheneinfuegen1, &QAction::triggered, this,
            &Tabfrag::Sonderzeicheneinfuegen1Click);
    connect(Benutzertabelleanzeigen1, &QAction::triggered, this,
            &Tabfrag::Benutzertabelleanzeigen1Click);
    connect(Vokabelbearbeiten1, &QAction::triggered, this, &Tabfrag::Vokabelbearbeiten1Click);
    const std::pair<QAction*, int> levels[] = {{Aufsehrschwierig1, 5},
                                               {Aufschwierig1, 4},
                                               {Aufmittel1, 3},
                                               {Aufleicht1, 2},
                                               {Aufsehrleicht1, 1}};
    for (const auto& [action, level] : levels)
        connect(action, &QAction::triggered, this, [this, level] { SchwierigkeitClick(level); });

    Hilfe1 = new QAction(this);
    Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
    Hilfe1->setShortcut(QKeySequence(Qt::Key_F1));
    Hilfe1->setShortcutContext(Qt::WindowShortcut);
    addAction(Hilfe1);
    connect(Hilfe1, &QAction::triggered, this, &Tabfrag::HelpRequested);
}

// --- special characters ---------------------------------------------------------------------

namespace {

// Shows the special-character window. It would close itself again at once
// when the quiz started while it was open; a window the user asks for stays.
template <typename Show> void showCharWindow(bool& wasOpen, Show show) {
    if (!einf) return;
    const bool noted = wasOpen;
    wasOpen = false;
    show();
    wasOpen = noted;
}

} // namespace

void Tabfrag::Sonderzeicheneinfuegen1Click() {
    showCharWindow(CharWindowWasOpen, [] { einf->Sonderzeicheneinfgen1Click(); });
}

void Tabfrag::Benutzertabelleanzeigen1Click() {
    showCharWindow(CharWindowWasOpen, [] { einf->HufigeSonderzeichen1Click(); });
}

QList<QWidget*> Tabfrag::answerFields() const {
    QList<QWidget*> fields{Edit5, EGenitiv};
    for (QLineEdit* field : mm)
        fields << field;
    return fields;
}

int Tabfrag::fieldCharset(const QWidget* field) const {
    if (field == Edit5) return (uber->isChecked() ? wordView_ : translationView_).charset;
    return tableWordView_.charset;
}

void Tabfrag::FormActivate() {
    if (!CharInsertPending) return;
    if (isVisible()) activateWindow();
    QWidget* field = focusWidget();
    if (field && answerFields().contains(field))
        InsertStoredText(field, CharToInsert, fieldCharset(field));
    CharInsertPending = false;
}

bool Tabfrag::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* field = qobject_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (field && answerFields().contains(field) &&
            InsertUserCharByHotkey(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- the word editor ------------------------------------------------------------------------

void Tabfrag::Vokabelbearbeiten1Click() {
    if (!vokbear || !quizRunning() || !engine_->hasWord()) return;
    // Stopped by the settings page, the presentation stays stopped.
    const bool timerWasRunning = tim->isActive();
    StopDemoTimer();
    vokbear->fieldWidth = [this](const QString& field) {
        return store_ && store_->query().isActive() ? store_->query().fieldWidth(field) : 0;
    };
    vokbear->accepted = [this](const QuizWord& word) { return applyWordCorrection(word); };
    vokbear->fill(engine_->word(),
                  {wordView_, translationView_, tableWordView_, tableTranslationView_});
    platform::execModal(*vokbear);
    if (timerWasRunning) StartDemoTimer();
}

bool Tabfrag::applyWordCorrection(const QuizWord& corrected) {
    if (!engine_ || !engine_->hasWord()) return true;
    try {
        engine_->correctWord(corrected);
    } catch (const platform::Error& error) {
        platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
        return false;
    }
    showCurrentWord();
    showStoredFields();
    if (engine_->phase() == QuizPhase::Judged) {
        // The verdict shown is taken back and the answer judged anew, so a
        // word is counted right at most once.
        engine_->retractVerdict();
        judgeAnswer();
    } else if (QuizOptions.rbabmult) {
        FillMultipleChoice();
    }
    return true;
}

// --- the difficulty and the help ------------------------------------------------------------

void Tabfrag::SchwierigkeitClick(int level) {
    if (!engine_ || !engine_->hasWord()) return;
    engine_->editWord().Schwierigkeit = level;
    showing_ = true;
    Schwcom->setCurrentIndex(5 - level);
    showing_ = false;
}

void Tabfrag::HelpRequested() {
    helpcommands::ShowHelp(helpcommands::QuizWindowTopic);
}
