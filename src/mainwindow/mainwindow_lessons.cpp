// Lesson commands of the main window (new, rename, delete, copy and move a
// lesson), the commands on words marked in the table page's grid, and the
// reset of difficulty or quiz counters. The work itself lies in
// database/lessonoperations and database/markedwords; these handlers ask the
// user, call it and bring tree, grid and word fields up to date.
#include "mainwindow/mainwindow.h"

#include "database/currentdatabase.h"
#include "database/lessondialogs.h"
#include "database/lessonoperations.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/markedwords.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/progresswindows.h"
#include "platform/messagebox.h"
#include "platform/modal.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <optional>

namespace {

const QString ErrorCaption = QStringLiteral("Fehler");
const QString ConfirmCaption = QStringLiteral("Bestätigen");

Tumbe& umbeDialog(QWidget* parent) {
    if (!umbe) umbe = new Tumbe(parent);
    return *umbe;
}

Tkopieren& kopierenDialog(QWidget* parent) {
    if (!kopieren) kopieren = new Tkopieren(parent);
    return *kopieren;
}

void errorBox(const QString& text) {
    platform::showMessage(text, ErrorCaption, platform::Icon::Error);
}

bool askYesNo(const QString& text, const QString& caption) {
    return platform::showMessage(text, caption, platform::Icon::Question,
                                 platform::Buttons::YesNo) == platform::Answer::Yes;
}

// Keeps the field-change handlers quiet while records are written in bulk.
class SuppressFieldChanges {
  public:
    explicit SuppressFieldChanges(TForm1& window)
        : window_(window), before_(window.SuppressFieldChange) {
        window_.SuppressFieldChange = true;
    }
    ~SuppressFieldChanges() { window_.SuppressFieldChange = before_; }

  private:
    TForm1& window_;
    bool before_;
};

bool databaseOpen(const TForm1& window) {
    return !CurrentTablePath.isEmpty() && window.Query->isActive();
}

QTreeWidgetItem* selectedNode(const TForm1& window) {
    const QList<QTreeWidgetItem*> selected = window.lekbaum->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

// Tree, lesson and word fields after the list or the current lesson changed.
void showLessonState(TForm1& window) {
    RebuildLessonTree(window.lekbaum, baumlist);
    SelectCurrentLessonNode(window.lekbaum);
    window.idlist->clear();
    window.ShowWordTypeAndDifficulty();
    window.UpdateNavButtons();
    window.anzeintrag->setText(QString::number(window.Query->recordCount()));
}

// Runs a command's change. Should the engine fail, the operation itself has
// left table and list as they were; the window goes back to the current
// lesson before the message reaches the user.
template <typename Change> void guarded(TForm1& window, Change change) {
    try {
        change();
    } catch (...) {
        try {
            if (!CurrentTablePath.isEmpty()) {
                ReopenLessonQuery(*window.Query);
                showLessonState(window);
            }
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

// The top-node text and node text of the current lesson, for the target dialog.
QPair<QString, QString> currentLessonTexts(const TForm1& window) {
    for (int t = 0; t < window.lekbaum->topLevelItemCount(); ++t) {
        QTreeWidgetItem* top = window.lekbaum->topLevelItem(t);
        for (int c = 0; c < top->childCount(); ++c)
            if (LessonCodeOfItem(top->child(c)) == CurrentLessonCode)
                return {top->text(0), top->child(c)->text(0)};
    }
    return {};
}

// The lesson section to copy or move (`done`: "kopiert", "verschoben"), after
// switching to the first page; none, with a message, when no section is chosen.
QTreeWidgetItem* sectionToTransfer(TForm1& window, const QString& done) {
    window.Tab1->setCurrentIndex(0);
    if (!databaseOpen(window)) return nullptr;
    QTreeWidgetItem* node = selectedNode(window);
    if (LessonNodeLevel(node) != 1) {
        errorBox(QStringLiteral("Es können nur untergeordnete Abschnitte %1 werden").arg(done));
        return nullptr;
    }
    return node;
}

// Shows the target dialog starting at the section's place in the tree.
int chooseSectionTarget(TForm1& window, Tkopieren& dialog, QTreeWidgetItem* node) {
    dialog.fillFrom(window.lekbaum, node->parent()->text(0), node->text(0));
    return platform::execModal(dialog);
}

// Asks for the section the marked words go to, starting at the current
// lesson; nothing when the user cancels or picks a whole lesson.
std::optional<QString> chooseTargetSection(TForm1& window) {
    Tkopieren& dialog = kopierenDialog(&window);
    const auto [lessonText, sectionText] = currentLessonTexts(window);
    dialog.fillFrom(window.lekbaum, lessonText, sectionText);
    const int result = platform::execModal(dialog);
    if (result == platform::ResultLesson) {
        platform::showMessage(
            QStringLiteral("Es muss eine untergeordnete Lektion ausgewählt werden !"));
        return std::nullopt;
    }
    if (result != platform::ResultSection) return std::nullopt;
    return dialog.chosenCode();
}

QAction* popupAction(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

void connectPopup(QMenu* menu, const QString& text, TForm1* window, void (TForm1::*handler)()) {
    if (QAction* action = popupAction(menu, text))
        QObject::connect(action, &QAction::triggered, window, handler);
}

} // namespace

void TForm1::wireLessonCommands() {
    if (btnvokloeschen) return; // wired already
    connect(NeueLektion1, &QAction::triggered, this, &TForm1::NeueLektion1Click);
    connect(Umbenennen1, &QAction::triggered, this, &TForm1::Lektionunbenennen1Click);
    connect(LektionLoeschen1, &QAction::triggered, this, &TForm1::Lektionlschen1Click);
    connect(LektionKopieren1, &QAction::triggered, this, &TForm1::Kopieren1Click);
    connect(LektionVerschieben1, &QAction::triggered, this, &TForm1::Verschieben1Click);
    connect(Vokabelnlschen1, &QAction::triggered, this, &TForm1::Vokabelnlschen1Click);
    connect(VokabelnKopieren1, &QAction::triggered, this, &TForm1::Vokabelnkopieren1Click);
    connect(VokabelnVerschieben1, &QAction::triggered, this, &TForm1::Vokabelnverschieben1Click);
    Schwierigkeit1->setData(1);
    BisherigeAbfragen1->setData(2);
    connect(Schwierigkeit1, &QAction::triggered, this, [this] { Schwierigkeit1Click(1); });
    connect(BisherigeAbfragen1, &QAction::triggered, this, [this] { Schwierigkeit1Click(2); });

    connectPopup(Lektionenpup, QStringLiteral("Neue Lektion"), this, &TForm1::NeueLektion2Click);
    connectPopup(Lektionenpup, QStringLiteral("Lektion löschen"), this,
                 &TForm1::Lektionlschen1Click);
    connectPopup(Lektionenpup, QStringLiteral("Lektion kopieren"), this, &TForm1::Kopieren1Click);
    connectPopup(Lektionenpup, QStringLiteral("Lektion verschieben"), this,
                 &TForm1::Verschieben1Click);
    connectPopup(Lektionenpup, QStringLiteral("Lektion umbenennen"), this,
                 &TForm1::Lektionunbenennen1Click);
    lekbaum->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lekbaum, &QTreeWidget::customContextMenuRequested, this, &TForm1::lekbaumContextMenu);

    connectPopup(vokabelpopup, QStringLiteral("Löschen"), this, &TForm1::Vokabelnlschen1Click);
    connectPopup(vokabelpopup, QStringLiteral("Kopieren nach"), this,
                 &TForm1::Vokabelnkopieren1Click);
    connectPopup(vokabelpopup, QStringLiteral("Verschieben nach"), this,
                 &TForm1::Vokabelnverschieben1Click);
    DBGitter->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGitter, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        vokabelpopup->popup(DBGitter->viewport()->mapToGlobal(at));
    });

    // The table page's buttons for marked words stand beside its label.
    QWidget* page = LabelMarkiert->parentWidget();
    btnvokloeschen = new QPushButton(QStringLiteral("&Löschen"), page);
    btnvokverschieben = new QPushButton(QStringLiteral("&Verschieben nach"), page);
    btnvokkopieren = new QPushButton(QStringLiteral("&Kopieren nach"), page);
    if (page->layout()) {
        for (int i = 0; i < page->layout()->count(); ++i) {
            auto* row = qobject_cast<QBoxLayout*>(page->layout()->itemAt(i)->layout());
            const int at = row ? row->indexOf(LabelMarkiert) : -1;
            if (at < 0) continue;
            row->insertWidget(at + 1, btnvokloeschen);
            row->insertWidget(at + 2, btnvokverschieben);
            row->insertWidget(at + 3, btnvokkopieren);
            break;
        }
    }
    connect(btnvokloeschen, &QPushButton::clicked, this, &TForm1::Vokabelnlschen1Click);
    connect(btnvokverschieben, &QPushButton::clicked, this, &TForm1::Vokabelnverschieben1Click);
    connect(btnvokkopieren, &QPushButton::clicked, this, &TForm1::Vokabelnkopieren1Click);

    hooks.deleteMarkedWords = [this] { Vokabelnlschen1Click(); };
}

void TForm1::lekbaumContextMenu(const QPoint& position) {
    // A right click makes the node under the mouse the selected one and opens
    // its lesson, as a left click would.
    if (QTreeWidgetItem* item = lekbaum->itemAt(position)) {
        lekbaum->setCurrentItem(item);
        item->setSelected(true);
        lekbaumClick();
    }
    Lektionenpup->popup(lekbaum->viewport()->mapToGlobal(position));
}

// --- lessons ----------------------------------------------------------------------

void TForm1::NeueLektion1Click() {
    Tab1->setCurrentIndex(0);
    if (!databaseOpen(*this)) return;
    Tumbe& dialog = umbeDialog(this);
    dialog.setWindowTitle(QStringLiteral("Neue Lektion"));
    dialog.prepareNewLesson();
    if (platform::execModal(dialog) == platform::ResultOk) {
        guarded(*this, [&] {
            ShowLessonResult(NewLesson(*Query, baumlist, dialog.enummer->text(),
                                       dialog.buchsbox->currentText(),
                                       dialog.zahlbox->currentText(), dialog.mthema->text()));
            showLessonState(*this);
        });
    }
    DBFremdwort->setFocus();
}

void TForm1::NeueLektion2Click() {
    NeueLektion1Click();
}

void TForm1::Lektionunbenennen1Click() {
    Tab1->setCurrentIndex(0);
    QTreeWidgetItem* node = selectedNode(*this);
    if (!databaseOpen(*this) || !node) return;
    Tumbe& dialog = umbeDialog(this);
    dialog.setWindowTitle(QStringLiteral("Lektion umbenennen"));
    if (LessonNodeLevel(node) == 0) {
        const QString number = LessonNumberOfItem(node);
        dialog.prepareRenameNumber(number);
        if (platform::execModal(dialog) == platform::ResultOk) {
            guarded(*this, [&] {
                ShowLessonResult(
                    RenameLessonNumber(*Query, baumlist, number, dialog.enummer->text()));
                showLessonState(*this);
            });
        }
    } else {
        const QString code = LessonCodeOfItem(node);
        dialog.prepareRenameSection(code, LessonTitleFromChildText(node->text(0)));
        if (platform::execModal(dialog) == platform::ResultOk) {
            guarded(*this, [&] {
                ShowLessonResult(RenameLessonSection(
                    *Query, baumlist, code, dialog.enummer->text(), dialog.buchsbox->currentText(),
                    dialog.zahlbox->currentText(), dialog.mthema->text()));
                showLessonState(*this);
            });
        }
    }
    SelectCurrentLessonNode(lekbaum);
    dialog.resetFields();
    DBFremdwort->setFocus();
}

void TForm1::Lektionlschen1Click() {
    Tab1->setCurrentIndex(0);
    QTreeWidgetItem* node = selectedNode(*this);
    if (!databaseOpen(*this) || !node) return;
    const bool section = LessonNodeLevel(node) == 1;
    const QString topText = section ? node->parent()->text(0) : node->text(0);
    const QString key = section ? LessonCodeOfItem(node) : LessonNumberOfItem(node);
    const QString letter = section ? key.mid(3, 1) : QString();
    const QString digit = section ? key.mid(4, 1) : QString();
    if (askYesNo(QStringLiteral("Soll ") + topText + QLatin1Char(' ') + letter + QLatin1Char(' ') +
                     digit + QStringLiteral(" wirklich gelöscht werden ?"),
                 QStringLiteral("Nachfrage"))) {
        guarded(*this, [&] {
            ShowLessonResult(DeleteLesson(*Query, baumlist, key));
            showLessonState(*this);
        });
    }
    DBFremdwort->setFocus();
}

void TForm1::Kopieren1Click() {
    QTreeWidgetItem* node = sectionToTransfer(*this, QStringLiteral("kopiert"));
    if (!node) return;
    const QString source = LessonCodeOfItem(node);
    Tkopieren& dialog = kopierenDialog(this);
    const int result = chooseSectionTarget(*this, dialog, node);
    if (result != platform::ResultSection && result != platform::ResultLesson) return;
    SuppressFieldChanges quiet(*this);
    guarded(*this, [&] {
        ShowLessonResult(
            result == platform::ResultSection
                ? CopyLessonSection(*Query, baumlist, source, dialog.chosenCode(), ProgressInWindow())
                : CopyLessonSectionToNumber(*Query, baumlist, source, dialog.chosenNumber(),
                                            ProgressInWindow()));
        showLessonState(*this);
    });
}

void TForm1::Verschieben1Click() {
    QTreeWidgetItem* node = sectionToTransfer(*this, QStringLiteral("verschoben"));
    if (!node) return;
    const QString source = LessonCodeOfItem(node);
    Tkopieren& dialog = kopierenDialog(this);
    const int result = chooseSectionTarget(*this, dialog, node);
    if (result != platform::ResultSection && result != platform::ResultLesson) return;
    guarded(*this, [&] {
        ShowLessonResult(
            result == platform::ResultSection
                ? MoveLessonSection(*Query, baumlist, source, dialog.chosenCode())
                : MoveLessonSectionToNumber(*Query, baumlist, source, dialog.chosenNumber()));
        showLessonState(*this);
    });
}

// --- marked words -------------------------------------------------------------------

QList<qint64> TForm1::BuildSelectedIdsWhere() {
    QList<qint64> ids;
    idlist->clear();
    if (Query->isActive() && DBGitter->selectionModel()) {
        for (const QModelIndex& index : DBGitter->selectionModel()->selectedRows()) {
            const qint64 id = Query->idAt(index.row());
            if (id <= 0 || ids.contains(id)) continue;
            ids << id;
            idlist->addItem(QString::number(id));
        }
    }
    SelectedIdsWhere = ::SelectedIdsWhere(ids);
    return ids;
}

void TForm1::Vokabelnlschen1Click() {
    const QList<qint64> ids = BuildSelectedIdsWhere();
    if (Tab1->currentIndex() != 2 || ids.isEmpty()) {
        errorBox(QStringLiteral("Es müssen zuerst in der Tabelle Vokabeln markiert werden !"));
        return;
    }
    if (AllWordsMarked(ids, Query->recordCount())) {
        errorBox(QStringLiteral("Wenn alle Vokabeln gelöscht werden sollen,\rbitte gesamte Lektion "
                                "über Menüpunkt \"Lektion\" löschen!"));
        return;
    }
    if (!askYesNo(QStringLiteral("Sollen die ") + QString::number(ids.size()) +
                      QStringLiteral(" markierten Vokabeln wirklich gelöscht werden ?"),
                  ConfirmCaption))
        return;
    guarded(*this, [&] {
        Query->setRequestLive(false);
        DeleteMarkedWords(*Query, ids);
        showLessonState(*this);
    });
}

void TForm1::Vokabelnverschieben1Click() {
    const QList<qint64> ids = BuildSelectedIdsWhere();
    if (Tab1->currentIndex() != 2 || ids.isEmpty()) {
        errorBox(QStringLiteral("Es müssen zuerst in der Tabelle Vokabeln markiert werden !"));
        return;
    }
    if (AllWordsMarked(ids, Query->recordCount())) {
        errorBox(QStringLiteral("Wenn alle Vokabeln verschoben werden sollen,\rbitte gesamte "
                                "Lektion über Menüpunkt \"Lektion\" verschieben!"));
        return;
    }
    const std::optional<QString> target = chooseTargetSection(*this);
    if (!target) return;
    guarded(*this, [&] {
        Query->setRequestLive(false);
        MoveMarkedWords(*Query, ids, *target);
        showLessonState(*this);
    });
}

void TForm1::Vokabelnkopieren1Click() {
    SuppressFieldChanges quiet(*this);
    const QList<qint64> ids = BuildSelectedIdsWhere();
    if (Tab1->currentIndex() != 2 || ids.isEmpty()) {
        errorBox(QStringLiteral(
            "Es müssen zuerst in der Tabelle Vokabeln mit der linken Maustaste markiert werden !"));
        return;
    }
    const std::optional<QString> target = chooseTargetSection(*this);
    if (!target) return;
    guarded(*this, [&] {
        Query->setRequestLive(false);
        CopyMarkedWords(*Query, ids, *target, ProgressInWindow());
        showLessonState(*this);
    });
}

// --- counter reset ------------------------------------------------------------------

void TForm1::Schwierigkeit1Click(int tag) {
    if (hooks.closeSearchWindow) hooks.closeSearchWindow();
    if (!databaseOpen(*this) || (tag != 1 && tag != 2)) return;
    const QString question =
        tag == 1 ? QStringLiteral("Soll die Schwierigkeit aller Vokabeln \rder Datenbank wirklich "
                                  "auf \"normal\" gesetzt werden ?")
                 : QStringLiteral("Sollen alle gespeicherten Informationen zu den Vokabeln\r"
                                  "(Anzahl der Abfragen, richtige Antworten, zu x% gewusst,...)\r"
                                  "wirklich gelöscht werden ?");
    if (!askYesNo(question, ConfirmCaption)) return;
    Tab1->setCurrentIndex(0);
    guarded(*this, [&] {
        ResetCounters(*Query, tag == 1 ? CounterReset::Difficulty : CounterReset::QuizCounters);
        ShowWordTypeAndDifficulty();
        UpdateNavButtons();
    });
}
