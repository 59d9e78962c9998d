#include "search/searchwindow.h"

#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessondialogs.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "engine/tablemodel.h"
#include "mainwindow/columnfonts.h"
#include "mainwindow/greektyping.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "mainwindow/typingaids.h"
#include "platform/codec.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/ownerwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>

Tsuchen* suchen = nullptr;

namespace {

engine::Query* mainQuery() { return Form1 ? Form1->Query : nullptr; }

bool databaseOpen() { return Form1 && Form1->Query && !CurrentTablePath.isEmpty(); }

// Keeps the main window's field-change handlers quiet while words are written.
class SuppressFieldChanges {
  public:
    SuppressFieldChanges() {
        if (Form1) Form1->SuppressFieldChange = true;
    }
    ~SuppressFieldChanges() {
        if (Form1) Form1->SuppressFieldChange = false;
    }
};

} // namespace

Tsuchen::Tsuchen(QWidget* parent) : QDialog(parent) {
    setModal(false);
    buildLayout();
    columnFonts_ = new ColumnFontDelegate(DBGrid1);
    DBGrid1->setItemDelegate(columnFonts_);

    connect(btnStart, &QPushButton::clicked, this, &Tsuchen::BuildSearchQuery);
    connect(btnop, &QPushButton::clicked, this, &Tsuchen::btnopClick);
    connect(chkGriechisch, &QCheckBox::clicked, this, &Tsuchen::chkGriechischClick);
    // The aids of the word fields, while the term is typed in the foreign script.
    auto* aids = new TypingAids(this, {}, [this] { return edit1Charset_; });
    aids->setHotkeys(false);
    aids->setAidSwitches(
        [this](QWidget*) { return chkGriechisch->isChecked() && HebrewEntryAidWanted(); },
        [this](QWidget*) {
            return chkGriechisch->isChecked() && GreekTypingActive(Edit1->font().family());
        });
    aids->watch(Edit1);
    connect(DBGrid1, &QTableView::clicked, this,
            [this](const QModelIndex& index) { DBGrid1CellClick(index.row()); });
    connect(DBGrid1, &QTableView::doubleClicked, this, &Tsuchen::DBGrid1DblClick);
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        edit->installEventFilter(this);
}

Tsuchen::~Tsuchen() = default;

search::SearchCriteria Tsuchen::criteria() const {
    search::SearchCriteria c;
    c.term = search::StoredSearchTerm(Edit1->text(), edit1Charset_);
    c.fremdwort = cFremdwort->isChecked();
    c.uebersetzung = cUebersetzung->isChecked();
    c.genitiv = cGenitiv->isChecked();
    c.bemerkungen = cBemerkungen->isChecked();
    c.caseSensitive = chkGross->isChecked();
    c.exact = chkGenau->isChecked();
    c.wordClassItem = wortartBox->currentIndex();
    c.difficultyItem = schwierigkeitBox->currentIndex();
    c.successFrom = Edit2->text();
    c.successTo = Edit3->text();
    c.lastUnknown = cbngw->isChecked();
    c.lastKnown = cbgw->isChecked();
    c.lesson = eLektion->text();
    return c;
}

// --- Lifecycle ---------------------------------------------------------------

void Tsuchen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void Tsuchen::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    FormClose();
}

bool Tsuchen::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    else if (event->type() == QEvent::WindowDeactivate) FormDeactivate();
    return QDialog::event(event);
}

void Tsuchen::FormShow() {
    if (Form1) {
        // Font name and style of the two word fields, at the grid's size.
        columnFonts_->fonts = {Form1->DBFremdwort->font(), Form1->DBuebersetzung->font()};
        for (QFont& font : columnFonts_->fonts)
            font.setPointSize(DBGrid1->font().pointSize());
    }
    applyTermScript();
    cmboperation->setCurrentIndex(0);
    schwierigkeitBox->setCurrentIndex(search::AllDifficultiesItem);
    wortartBox->setCurrentIndex(search::AllWordClassesItem);
    PageControl1->setCurrentWidget(Vokabelsuche);
    Edit1->setFocus();
    bindGrid(false);
    Labelanzahl->setText(QStringLiteral(" "));
    SearchResultActive = false;
    searchSql_.clear();
}

void Tsuchen::noteCurrentWord(qint64* id, QString* lesson) const {
    *id = -1;
    lesson->clear();
    engine::Query* query = mainQuery();
    if (!query || !query->isActive() || query->isEmpty()) return;
    *id = query->currentId();
    // A value that is no code names no lesson the window could show or start
    // a word in.
    const QString value = query->asString(QStringLiteral("Lektion"));
    if (IsLessonCode(value)) *lesson = value;
}

void Tsuchen::reopenSearch(bool live) {
    engine::Query* query = mainQuery();
    if (!query || searchSql_.isEmpty()) return;
    qint64 id;
    QString lesson;
    noteCurrentWord(&id, &lesson);
    if (!lesson.isEmpty()) CurrentLessonCode = lesson;
    query->close();
    query->setRequestLive(live);
    query->setSql(searchSql_);
    query->open();
    if (id >= 0) query->locate(id);
}

void Tsuchen::FormActivate() {
    if (!SearchResultActive || !databaseOpen()) return;
    reopenSearch(false);
    bindGrid(true);
}

void Tsuchen::FormDeactivate() {
    if (!SearchResultActive || !databaseOpen() || closing_) return;
    reopenSearch(true);
    SelectCurrentLessonNode(Form1->lekbaum);
    Form1->ShowWordTypeAndDifficulty();
    Form1->UpdateNavButtons();
}

void Tsuchen::restoreLessonView(qint64 id) {
    engine::Query* query = mainQuery();
    query->setRequestLive(true);
    ReopenLessonQuery(*query);
    if (id >= 0) query->locate(id);
    SelectCurrentLessonNode(Form1->lekbaum);
    Form1->ShowWordTypeAndDifficulty();
    Form1->UpdateNavButtons();
}

void Tsuchen::FormClose() {
    bindGrid(false);
    if (databaseOpen()) {
        qint64 id = -1;
        QString lesson;
        if (SearchResultActive) {
            // The query may stand on the search or, after the main window
            // moved it, on a lesson: either way its current word is the one
            // to show.
            noteCurrentWord(&id, &lesson);
            if (!lesson.isEmpty()) CurrentLessonCode = lesson;
        }
        restoreLessonView(id);
    } else if (mainQuery()) {
        mainQuery()->setRequestLive(true);
    }
    SearchResultActive = false;
    searchSql_.clear();
}

void Tsuchen::bindGrid(bool bound) {
    if (!bound) {
        DBGrid1->setModel(nullptr);
        delete gridModel_;
        gridModel_ = nullptr;
        return;
    }
    if (gridModel_ || !mainQuery()) return;
    gridModel_ = new engine::TableModel(mainQuery(), this);
    gridModel_->setColumns({QStringLiteral("Fremdwort"), QStringLiteral("Uebersetzung")},
                           {QStringLiteral("Fremdwort"), QStringLiteral("Übersetzung")});
    // Each column shows its stored text in the character set of its field.
    const int word = DatabaseOptions.wordCharset();
    const int translation = DatabaseOptions.translationCharset();
    gridModel_->setDisplayConverter(
        [word, translation](const QString& field, const QString& s) {
            return platform::codec::toDisplay(s, field == QLatin1String("Fremdwort") ? word
                                                                                     : translation);
        },
        [word, translation](const QString& field, const QString& s) {
            return platform::codec::fromDisplay(
                s, field == QLatin1String("Fremdwort") ? word : translation);
        });
    DBGrid1->setModel(gridModel_);
    const QFontMetrics metrics(columnFonts_->fonts.value(0, DBGrid1->font()));
    DBGrid1->setColumnWidth(0, std::max(220, metrics.averageCharWidth() * 18));
    DBGrid1->verticalHeader()->setDefaultSectionSize(std::max(22, metrics.height() + 6));
}

// --- Search --------------------------------------------------------------------

void Tsuchen::BuildSearchQuery() {
    if (!databaseOpen()) return;
    const platform::OwnerWindowScope owner(this);
    const search::TermScript script =
        search::ChooseTermScript(Edit1->text(), chkGriechisch->isChecked());
    if (!script.unsearchable.isEmpty()) {
        platform::showMessage(search::UnsearchableCharactersMessage(script.unsearchable),
                              QStringLiteral("Hinweis"), platform::Icon::Information);
        Edit1->setFocus();
        return;
    }
    if (script.foreignScript && !chkGriechisch->isChecked()) {
        // The letters were typed in the foreign script: the field takes it on.
        chkGriechisch->setChecked(true);
        applyTermScript(true);
    }
    engine::Query* query = mainQuery();
    const search::SearchCriteria wanted = criteria();
    if (const QString tooLong = search::TermTooLongMessage(wanted, *query); !tooLong.isEmpty()) {
        platform::showMessage(tooLong, QStringLiteral("Hinweis"), platform::Icon::Information);
        Edit1->setFocus();
        return;
    }
    bindGrid(false);
    SearchResultActive = true;
    searchSql_ = search::SearchSql(CurrentTablePath, wanted);
    int count = 0;
    try {
        count = search::RunSearch(*query, CurrentTablePath, wanted);
    } catch (...) {
        SearchResultActive = false;
        searchSql_.clear();
        restoreLessonView(-1);
        throw;
    }
    if (count == 0) {
        // The lesson comes back before the message: the main window never
        // shows the empty result, whatever the activation does meanwhile.
        SearchResultActive = false;
        searchSql_.clear();
        restoreLessonView(-1);
        Labelanzahl->clear();
        platform::showMessage(QStringLiteral("Kein Eintrag gefunden"), QStringLiteral("Achtung"),
                              platform::Icon::None, platform::Buttons::Ok);
        return;
    }
    Labelanzahl->setText(QString::number(count));
    PageControl1->setCurrentWidget(Tabelle);
    bindGrid(true);
    Form1->ShowWordTypeAndDifficulty();
}

void Tsuchen::Edit2Exit() { Edit2->setText(search::CorrectedSuccessFrom(Edit2->text(), Edit3->text())); }

void Tsuchen::Edit3Exit() { Edit3->setText(search::CorrectedSuccessTo(Edit2->text(), Edit3->text())); }

void Tsuchen::chkGriechischClick() {
    applyTermScript();
    Edit1->setFocus();
}

void Tsuchen::applyTermScript(bool keepShownText) {
    const bool foreign = chkGriechisch->isChecked();
    const int charset = search::SearchFieldCharset(foreign);
    // The term keeps its stored characters; only how they are shown changes.
    // A term typed in letters that only the new code page holds keeps them.
    if (!keepShownText) {
        const QString stored = platform::codec::fromDisplay(Edit1->text(), edit1Charset_);
        Edit1->setText(platform::codec::toDisplay(stored, charset));
    }
    edit1Charset_ = charset;
    if (Form1) {
        const QFont source = foreign ? Form1->DBFremdwort->font() : Form1->DBuebersetzung->font();
        QFont font = Edit1->font();
        font.setFamily(source.family());
        Edit1->setFont(font);
    }
}

void Tsuchen::DBGrid1CellClick(int row) {
    engine::Query* query = mainQuery();
    if (!query || !query->isActive() || row < 0) return;
    query->setRecNo(row);
    Form1->ShowWordTypeAndDifficulty();
}

void Tsuchen::DBGrid1DblClick() { close(); }

bool Tsuchen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == Edit1) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                BuildSearchQuery();
                return true;
            }
            if (key->text() == QLatin1String("\"")) return true;
        } else if (watched == Edit2 || watched == Edit3) {
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() &&
                !(text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9')))
                return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == Edit2) Edit2Exit();
        else if (watched == Edit3) Edit3Exit();
    }
    return QDialog::eventFilter(watched, event);
}

// --- Bulk operations -------------------------------------------------------------

QList<qint64> Tsuchen::currentHits() {
    engine::Query* query = mainQuery();
    if (!query) return {};
    // The main window may have put the query on a lesson meanwhile: the
    // operation is for the words of the search, never for that lesson.
    if (!query->isActive() || query->sql() != searchSql_) reopenSearch(false);
    return search::HitIds(*query);
}

void Tsuchen::btnopClick() {
    if (!SearchResultActive || !databaseOpen()) return;
    const platform::OwnerWindowScope owner(this);
    switch (cmboperation->currentIndex()) {
    case 0:
        copyIntoNewLesson();
        break;
    case 1:
        copyOrMove(false);
        break;
    case 2:
        copyOrMove(true);
        break;
    case 3: {
        const QList<qint64> ids = currentHits();
        if (platform::showMessage(search::DeleteQuestion(int(ids.size())), QString(),
                                  platform::Icon::Question,
                                  platform::Buttons::YesNo) != platform::Answer::Yes)
            return;
        closeAndRun([&] {
            search::DeleteHits(*Form1->Query, ids);
            if (!RebuildLessonListFromTable(Form1->lekbaum, *Form1->Query, baumlist))
                Form1->Tab1->setCurrentIndex(0);
        });
        break;
    }
    case 4:
        exportResult();
        break;
    default:
        break;
    }
}

void Tsuchen::closeAndRun(const std::function<void()>& operation) {
    // The window goes first, so that its close puts nothing back afterwards.
    closing_ = true;
    close();
    closing_ = false;
    SuppressFieldChanges quiet;
    operation();
    Form1->ShowWordTypeAndDifficulty();
    Form1->UpdateNavButtons();
}

void Tsuchen::copyOrMove(bool move) {
    QTreeWidget* tree = Form1->lekbaum;
    const QTreeWidgetItem* selected = tree->currentItem();
    const QString parentText =
        selected && selected->parent() ? selected->parent()->text(0) : QString();
    const QString nodeText = selected ? selected->text(0) : QString();
    kopieren->fillFrom(tree, parentText, nodeText);
    const int result = platform::execModal(*kopieren);
    if (result == platform::ResultLesson) {
        platform::showMessage(
            QStringLiteral("Es muss eine untergeordnete Lektion ausgewählt werden !"));
        return;
    }
    if (result != platform::ResultSection) return;
    const QString target = kopieren->chosenCode();
    if (target.size() != LessonCodeLength) return;
    const QList<qint64> ids = currentHits();
    closeAndRun([&] {
        if (move)
            search::MoveHits(*Form1->Query, ids, target);
        else
            search::CopyHits(*Form1->Query, ids, target, ProgressInWindow());
        SelectCurrentLessonNode(Form1->lekbaum);
    });
}

void Tsuchen::copyIntoNewLesson() {
    umbe->prepareNewLesson();
    umbe->buchsbox->setCurrentIndex(0);
    umbe->zahlbox->setCurrentIndex(0);
    umbe->setWindowTitle(QStringLiteral("Neue Lektion"));
    if (platform::execModal(*umbe) != platform::ResultOk) return;
    const QString number = umbe->enummer->text().trimmed();
    const QString letter = umbe->buchsbox->currentText();
    const QString digit = umbe->zahlbox->currentText();
    const QString title = umbe->mthema->text();
    // Refusals leave the window open with its result.
    if (!IsValidLessonNumber(number)) {
        ShowLessonResult(LessonResult::InvalidLesson);
        return;
    }
    if (LessonExists(baumlist, LessonCode(NormalizeLessonNumber(number), letter, digit))) {
        ShowLessonResult(LessonResult::LessonExists);
        return;
    }
    const QList<qint64> ids = currentHits();
    const QStringList searchSql = searchSql_;
    closeAndRun([&] {
        const LessonResult result =
            search::CopyHitsToNewLesson(*Form1->Query, baumlist, number, letter, digit, title, ids,
                                        searchSql, ProgressInWindow());
        ShowLessonResult(result);
        RebuildLessonTree(Form1->lekbaum, baumlist);
        SelectCurrentLessonNode(Form1->lekbaum);
    });
}

void Tsuchen::exportResult() {
    const QList<qint64> ids = currentHits();
    if (!exportHits) return;
    const QList<QWidget*> controls{btnop, DBGrid1, cmboperation, PageControl1};
    for (QWidget* control : controls)
        control->setEnabled(false);
    bindGrid(false);
    struct Restore {
        Tsuchen* window;
        QList<QWidget*> controls;
        ~Restore() {
            for (QWidget* control : controls)
                control->setEnabled(true);
            window->reopenSearch(false);
            window->bindGrid(true);
            if (Form1 && Form1->Query->isActive())
                window->Labelanzahl->setText(QString::number(Form1->Query->recordCount()));
        }
    } restore{this, controls};
    exportHits(ids);
}
