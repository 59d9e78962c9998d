// Word editing and navigation in the main window: the record commands, the
// word-class and difficulty lists, the duplicate warning, the notebook pages,
// the lesson tree and the mouse wheel in the grid.
#include "mainwindow/mainwindow.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/vocabularytable.h"
#include "engine/fieldbinder.h"
#include "engine/query.h"
#include "engine/tablemodel.h"
#include "mainwindow/typingaids.h"
#include "mainwindow/wordtext.h"
#include "platform/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {
const QString IncompleteRecord = QStringLiteral("Bitte zuerst Datensatz vervollständigen");
}

void TForm1::wireCommands() {
    connect(SpeedCreate, &QToolButton::clicked, this, &TForm1::SpeedCreateClick);
    connect(VokabelNeu1, &QAction::triggered, this, &TForm1::SpeedCreateClick);
    connect(SpeedSave, &QToolButton::clicked, this, &TForm1::SpeedSaveClick);
    connect(VokabelSpeichern1, &QAction::triggered, this, &TForm1::SpeedSaveClick);
    connect(SpeedDelete, &QToolButton::clicked, this, &TForm1::SpeedDeleteClick);
    connect(VokabelLoeschen1, &QAction::triggered, this, &TForm1::SpeedDeleteClick);
    connect(SpeedFirst, &QToolButton::clicked, this, &TForm1::SpeedFirstClick);
    connect(ErsteVokabel1, &QAction::triggered, this, &TForm1::SpeedFirstClick);
    connect(SpeedPrior, &QToolButton::clicked, this, &TForm1::SpeedPriorClick);
    connect(VorherigeVokabel1, &QAction::triggered, this, &TForm1::SpeedPriorClick);
    connect(Speednext, &QToolButton::clicked, this, &TForm1::SpeednextClick);
    connect(NaechsteVokabel1, &QAction::triggered, this, &TForm1::SpeednextClick);
    connect(SpeedLast, &QToolButton::clicked, this, &TForm1::SpeedLastClick);
    connect(LetzteVokabel1, &QAction::triggered, this, &TForm1::SpeedLastClick);
    connect(verb1, &QAction::triggered, this, [this] { selectWordClass(0); });
    connect(Nomen1, &QAction::triggered, this, [this] { selectWordClass(1); });
    connect(adjektiv1, &QAction::triggered, this, [this] { selectWordClass(2); });
    connect(Ausdruck1, &QAction::triggered, this, [this] { selectWordClass(12); });
    // Only a choice of the user writes the record, not a refresh of the list.
    connect(wortart, &QComboBox::activated, this, &TForm1::WortartChange);
    connect(Schwcom, &QComboBox::activated, this, &TForm1::schwcomChange);
    connect(Tab1, &QTabWidget::currentChanged, this, &TForm1::Tab1Change);
    connect(DBGitter, &QTableView::doubleClicked, this, &TForm1::DBGitterDblClick);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(lekbaum, &QTreeWidget::itemClicked, this, &TForm1::lekbaumClick);
    connect(Abfragen, &QAction::triggered, this, &TForm1::AbfragenClick);
    connect(SpeedAbfragen, &QToolButton::clicked, this, &TForm1::AbfragenClick);
    connect(Neu, &QAction::triggered, this, &TForm1::NeuClick);
    connect(SpeedNew, &QToolButton::clicked, this, &TForm1::NeuClick);
    connect(oeffnen, &QAction::triggered, this, &TForm1::oeffnenClick);
    connect(Vokabeln, &QMenu::aboutToShow, this, &TForm1::VokabelnClick);
    connect(SpeedOpen, &QToolButton::clicked, this, &TForm1::oeffnenClick);
    const std::array<QAction*, 4> recent{mit1, mit2, mit3, mit4};
    for (int i = 0; i < 4; ++i)
        connect(recent[i], &QAction::triggered, this, [this, i] { openRecentDatabase(i + 1); });
    connect(Query, &engine::Query::scrolled, this, [this] {
        UpdateNavButtons();
        ShowWordTypeAndDifficulty();
    });
    // The statistics follow the current word while their page is shown.
    auto statistics = [this] {
        if (isVisible() && !SuppressFieldChange && Tab1->currentIndex() == 1 &&
            !(hooks.quizVisible && hooks.quizVisible()))
            refreshStatistics();
    };
    connect(Query, &engine::Query::scrolled, this, statistics);
    connect(Query, &engine::Query::recordChanged, this, statistics);
    connect(Query, &engine::Query::rowsChanged, this, &TForm1::UpdateNavButtons);
    DBFremdwort->installEventFilter(this);
    DBGitter->viewport()->installEventFilter(this);
    DBGitter->setModel(Datenquelle);
    binder->bindView(DBGitter);
    connect(Datenquelle, &QAbstractItemModel::modelReset, this, [this] {
        if (Tab1->currentIndex() == 2) sizeTableColumns();
    });
    wireLessonCommands();

    // The Greek and Hebrew typing aids and Ctrl+1..Ctrl+9 in the word fields.
    auto* aids = new TypingAids(this, [this] {
        return Query->isActive() && Query->canModify() && !SuppressFieldChange;
    });
    aids->watch(DBFremdwort);
    for (QLineEdit* field : {DBGenetiv, DBPraeFut, DBPerAor, DBPerfekt, DBFuturPassiv,
                             DBAoristPassiv, DBPerfektPassiv})
        aids->watch(field);
    // Navigation, F9-F12 and a new record load other words into the fields.
    connect(Query, &engine::Query::scrolled, aids, &TypingAids::recordLoaded);
    connect(Query, &engine::Query::opened, aids, &TypingAids::recordLoaded);
}

namespace {

// A field is left when the focus goes on to another control of its window:
// another window taking the activation (the special characters, a message
// box) or a menu opening leaves the user in the field.
bool leavesForAnotherControl(const QWidget* window, QEvent* focusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(focusOut)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return false;
    const QWidget* next = QApplication::focusWidget();
    return next && next->window() == window;
}

} // namespace

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBFremdwort && event->type() == QEvent::FocusOut &&
        leavesForAnotherControl(this, event))
        DBFremdwortExit();
    if (watched == DBGitter->viewport() && event->type() == QEvent::Wheel && Query->isActive()) {
        // One notch away from the user moves one record back; part notches move nothing.
        const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        if (notches != 0)
            Query->moveBy(-notches);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::CheckRecordCompleteHere() {
    if (!Query->isActive())
        return true;
    return CheckRecordComplete(DBFremdwort->toPlainText(), DBuebersetzung->toPlainText(), *Query);
}

// --- record commands ------------------------------------------------------------

void TForm1::SpeedCreateClick() {
    if (!Query->isActive())
        return;
    Tab1->setCurrentIndex(0);
    if (DBFremdwort->toPlainText().isEmpty() || DBuebersetzung->toPlainText().isEmpty()) {
        platform::showMessage(IncompleteRecord, QStringLiteral("Hinweis"), platform::Icon::Information);
        DBFremdwort->setFocus();
        return;
    }
    if (Query->state() != engine::Query::State::Browse)
        Query->post();
    // The option to append new words at the end of the lesson is kept and
    // shown only; a new word always goes where insert puts it.
    Query->insert();
    WriteNewRecordValues(*Query, CurrentLessonCode);
    Query->post();
    ShowWordTypeAndDifficulty();
    UpdateNavButtons();
    DBFremdwort->setFocus();
}

void TForm1::SpeedSaveClick() {
    if (!Query->isActive())
        return;
    Tab1->setCurrentIndex(0);
    if (CheckRecordCompleteHere() && Query->state() != engine::Query::State::Browse)
        Query->post();
    UpdateNavButtons();
    DBFremdwort->setFocus();
}

void TForm1::SpeedDeleteClick() {
    if (!Query->isActive())
        return;
    if (Tab1->currentIndex() == 2) {
        if (hooks.deleteMarkedWords)
            hooks.deleteMarkedWords();
        return;
    }
    Tab1->setCurrentIndex(0);
    if (platform::showMessage(QStringLiteral("Soll die Vokabel wirklich gelöscht werden ?"),
                              QStringLiteral("Frage"), platform::Icon::Question,
                              platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    if (Query->recordCount() < 2) {
        // A lesson never becomes empty: its last word gives way to a blank one.
        if (Query->state() != engine::Query::State::Browse)
            Query->cancel();
        const qint64 old = Query->currentId();
        InsertNewWordRecord(*Query, CurrentLessonCode);
        const qint64 blank = Query->currentId();
        if (Query->locate(old))
            Query->deleteRecord();
        Query->locate(blank);
    } else {
        Query->deleteRecord();
    }
    ShowWordTypeAndDifficulty();
    UpdateNavButtons();
}

// --- navigation ---------------------------------------------------------------

void TForm1::SpeedFirstClick() { navigate([this] { Query->first(); }); }
void TForm1::SpeedLastClick() { navigate([this] { Query->last(); }); }
void TForm1::SpeedPriorClick() {
    navigate([this] {
        if (!Query->bof())
            Query->prior();
    });
}
void TForm1::SpeednextClick() {
    navigate([this] {
        if (!Query->eof())
            Query->next();
    });
}

void TForm1::navigate(const std::function<void()>& move) {
    if (hooks.closeSearchWindow)
        hooks.closeSearchWindow();
    if (!Query->isActive() || !CheckRecordCompleteHere())
        return;
    move();
    UpdateNavButtons();
    ShowWordTypeAndDifficulty();
    if (Tab1->currentIndex() == 0)
        DBFremdwort->setFocus();
}

// --- word class and difficulty ---------------------------------------------------

void TForm1::selectWordClass(int item) {
    wortart->setCurrentIndex(item);
    WortartChange();
}

void TForm1::WortartChange() {
    if (Query->isActive() && Query->canModify() && wortart->currentIndex() >= 0)
        Query->setValue(QStringLiteral("Wortart"), wortart->currentIndex() + 1);
}

void TForm1::schwcomChange() {
    if (Query->isActive() && Query->canModify() && Schwcom->currentIndex() >= 0)
        Query->setValue(QStringLiteral("Schwierigkeit"), Schwcom->currentIndex() + 1);
}

// --- duplicate warning ----------------------------------------------------------

void TForm1::DBFremdwortExit() {
    if (!GeneralOptions.cbdopp || !Query->isActive() || SuppressFieldChange)
        return;
    const QString word = Query->asString(QStringLiteral("Fremdwort"));
    if (word.isEmpty())
        return;
    const DuplicateQuery duplicate = DuplicateWordQuery(word, Query->currentId(), CurrentTablePath);
    querytemp->close();
    querytemp->setSql(duplicate.lines);
    querytemp->open();
    const bool found = querytemp->recordCount() > 0;
    querytemp->close();
    if (found)
        platform::showMessage(QStringLiteral("Die Vokabel \"") + duplicate.shownWord +
                                  QStringLiteral("\" existiert schon in dieser Datenbank."),
                              QStringLiteral("Warnung"), platform::Icon::Warning);
}

// --- notebook pages ---------------------------------------------------------------

void TForm1::reopenKeeping(qint64 id, bool live) {
    Query->setRequestLive(live);
    ReopenLessonQuery(*Query);
    if (id > 0)
        Query->locate(id);
    SelectCurrentLessonNode(lekbaum);
    ShowWordTypeAndDifficulty();
    UpdateNavButtons();
}

void TForm1::Tab1Change(int index) {
    const int previous = currentPage_;
    currentPage_ = index;
    if (hooks.closeSearchWindow)
        hooks.closeSearchWindow();
    // Only the table page shows the words read-only. The flag follows the page
    // even while no query is open (a restore closes it), so that the next
    // opening is editable again.
    Query->setRequestLive(index != 2);
    if (!Query->isActive())
        return;
    if (Query->state() != engine::Query::State::Browse)
        Query->post();
    const qint64 id = Query->currentId();
    if (index == 2)
        idlist->clear();
    reopenKeeping(id, index != 2);
    if (index == 2) sizeTableColumns();
    if (previous == 0 && index != 0)
        anzeintrag->setText(QString::number(Query->recordCount()));
    if (index == 1)
        refreshStatistics();
}

void TForm1::DBGitterDblClick() {
    if (!Query->isActive())
        return;
    const qint64 id = Query->currentId();
    Tab1->blockSignals(true);
    Tab1->setCurrentIndex(0);
    Tab1->blockSignals(false);
    currentPage_ = 0;
    reopenKeeping(id, true);
}

// --- capitals and hint -------------------------------------------------------------

void TForm1::Button1Click() {
    if (!Query->isActive() || !Query->canModify())
        return;
    const QString before = Query->asString(QStringLiteral("Uebersetzung"));
    const QString after = CapitaliseTranslationLines(before);
    if (after != before)
        Query->setValue(QStringLiteral("Uebersetzung"), after);
    SpeedSaveClick();
}

void TForm1::SpeedButton2Click() {
    platform::showMessage(
        QStringLiteral("Trennen Sie im Übersetzungsfeld verschiedene Übersetzungen durch "
                       "Zeilenwechsel. Synonyme Wörter können durch Semikolon getrennt werden. "
                       "Mehr dazu in der Hilfe unter \"Eingeben von Vokabeln\"."),
        QStringLiteral("Information"), platform::Icon::Information);
}

// --- quiz ---------------------------------------------------------------------

void TForm1::AbfragenClick() {
    if (!Query->isActive())
        return;
    if (!Query->canModify())
        reopenKeeping(Query->currentId(), true);
    if (!CheckRecordCompleteHere())
        return;
    Query->first();
    if (hooks.showQuizSelection)
        hooks.showQuizSelection();
}

// --- lesson tree ------------------------------------------------------------------

void TForm1::lekbaumClick() {
    const QString code = SelectedLessonCode(lekbaum);
    if (code.isEmpty() || !Query->isActive())
        return;
    if (!CheckRecordCompleteHere()) {
        SelectCurrentLessonNode(lekbaum);
        return;
    }
    Query->setRequestLive(Tab1->currentIndex() != 2);
    if (OpenLesson(*Query, code))
        Tab1->setCurrentIndex(0);
    idlist->clear();
    ShowWordTypeAndDifficulty();
    UpdateNavButtons();
    anzeintrag->setText(QString::number(Query->recordCount()));
}
