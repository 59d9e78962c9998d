// The handlers of the quiz selection window: filling the lesson list, the
// marks, the band of right answers, saving the filters and confirming.
#include "quiz/selectionwindow.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "mainwindow/helpcommands.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "quiz/quizstart.h"
#include "quiz/selectionoptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>

Tausw* ausw = nullptr;

namespace {

const QString MessageCaption = QStringLiteral("Mitteilung");

// The width of the band a click beside the track bar selects.
constexpr int ClickedBandWidth = 10;

// The marks of a list's lines, read from the selection's ranges: asking line
// by line costs a search of the ranges per line on a long list.
QList<bool> markedLines(const QListWidget* list) {
    QList<bool> marked(list->count(), false);
    for (const QItemSelectionRange& range : list->selectionModel()->selection())
        for (int row = std::max(0, range.top()); row <= range.bottom() && row < list->count();
             ++row)
            marked[row] = true;
    return marked;
}

} // namespace

// --- Opening -----------------------------------------------------------------------

int Tausw::showForQuiz() {
    fillLessonList();
    FormShow();
    return platform::execModal(*this);
}

void Tausw::fillLessonList() {
    SrcList->clear();
    dstlist->clear();
    SrcList->addItems(SelectionListLines(BuildLessonTree(baumlist)));
    if (SrcList->count() > 0) SrcList->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    BitBtn1->setEnabled(!CurrentDatabaseName.isEmpty() &&
                        LastSelectionExists(CurrentDatabaseBase, CurrentLanguage));
}

void Tausw::FormShow() {
    Notebook->setCurrentIndex(0);
    loadSelectionOptions();
    loadControls(SelectionOptions);
    if (BitBtn1->isEnabled() && GeneralOptions.wbla) BitBtn1Click();
    // The bar always starts on the lower bound.
    start->setChecked(true);
    startClick();
}

// --- The filters -------------------------------------------------------------------

void Tausw::loadControls(const TSelectionOptionsRec& stored) {
    TSelectionOptionsRec record = stored;
    record.normalize();
    loading_ = true;
    RadioButton1->setChecked(record.RadioButton1);
    RadioButton2->setChecked(record.RadioButton2);
    RadioButton3->setChecked(record.RadioButton3);
    CheckBox1->setChecked(record.CheckBox1);
    sl->setChecked(record.sl);
    l->setChecked(record.l);
    n->setChecked(record.n);
    s->setChecked(record.s);
    ss->setChecked(record.ss);
    cbgenus->setChecked(record.cbgenus);
    cbgeni->setChecked(record.cbgeni);
    cbsf->setChecked(record.cbsf);
    ComboBox1->setCurrentIndex(record.ComboBox1);
    Tb1->setSelection(record.SelStart, record.SelEnd);
    Tb1->setValue(ende->isChecked() ? Tb1->selEnd() : Tb1->selStart());
    loading_ = false;
    showBand();
}

void Tausw::storeControls(TSelectionOptionsRec& record) const {
    record.setDirection(RadioButton3->isChecked() ? 3 : RadioButton2->isChecked() ? 2 : 1);
    record.CheckBox1 = CheckBox1->isChecked();
    record.sl = sl->isChecked();
    record.l = l->isChecked();
    record.n = n->isChecked();
    record.s = s->isChecked();
    record.ss = ss->isChecked();
    record.cbgenus = cbgenus->isChecked();
    record.cbgeni = cbgeni->isChecked();
    record.cbsf = cbsf->isChecked();
    record.ComboBox1 = std::max(0, ComboBox1->currentIndex());
    record.SelStart = Tb1->selStart();
    record.SelEnd = Tb1->selEnd();
    record.Position = Tb1->value();
}

void Tausw::spaClick() {
    storeControls(SelectionOptions);
    saveSelectionOptions();
}

// --- The band of right answers ---------------------------------------------------------

void Tausw::Tb1Change() {
    if (loading_) return;
    const int position = Tb1->value();
    // The moved bound pushes the other one along, so the band never turns
    // round into one that no word can meet.
    if (ende->isChecked())
        Tb1->setSelection(std::min(Tb1->selStart(), position), position);
    else
        Tb1->setSelection(position, std::max(Tb1->selEnd(), position));
}

void Tausw::startClick() {
    Tb1->setValue(Tb1->selStart());
}

void Tausw::endeClick() {
    Tb1->setValue(Tb1->selEnd());
}

void Tausw::Panel5MouseDown() {
    const int position = Tb1->value();
    Tb1->setSelection(position, position + ClickedBandWidth);
}

void Tausw::showBand() {
    LabelBand->setText(QStringLiteral("von %1 % bis %2 %").arg(Tb1->selStart()).arg(Tb1->selEnd()));
}

bool Tausw::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel5 && event->type() == QEvent::MouseButtonPress) Panel5MouseDown();
    return QDialog::eventFilter(watched, event);
}

// --- Marks ---------------------------------------------------------------------------

QList<bool> Tausw::marks() const {
    return markedLines(SrcList);
}

void Tausw::setMarks(const QList<bool>& flags) {
    // One selection of ranges set at once: marking the lines one by one takes
    // seconds on a list of thousands. Lines past the flags keep their marks.
    QList<bool> wanted = marks();
    for (int k = 0; k < std::min<int>(wanted.size(), flags.size()); ++k)
        wanted[k] = flags[k];
    QItemSelection selection;
    for (int first = 0; first < wanted.size(); ++first) {
        if (!wanted[first]) continue;
        int last = first;
        while (last + 1 < wanted.size() && wanted[last + 1])
            ++last;
        selection.append(QItemSelectionRange(SrcList->model()->index(first, 0),
                                             SrcList->model()->index(last, 0)));
        first = last;
    }
    SrcList->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void Tausw::BitBtn1Click() {
    if (const auto flags =
            readLastSelection(SrcList->count(), CurrentDatabaseBase, CurrentLanguage))
        setMarks(*flags);
}

void Tausw::allemarkClick() {
    if (SrcList->count() > 0) SrcList->selectAll();
}

void Tausw::InvertClick() {
    QList<bool> flags = marks();
    for (bool& flag : flags)
        flag = !flag;
    setMarks(flags);
}

void Tausw::MoveSelected(QListWidget* from, QListWidget* to) {
    // The source is refilled rather than thinned line by line: taking lines
    // out of a long list with many marks costs a selection update each.
    const QList<bool> marked = markedLines(from);
    QStringList moved;
    QStringList kept;
    for (int k = from->count() - 1; k >= 0; --k)
        (marked[k] ? moved : kept) << from->item(k)->text();
    std::reverse(kept.begin(), kept.end());
    from->clear();
    from->addItems(kept);
    to->addItems(moved);
}

int Tausw::GetFirstSelection(const QListWidget* list) {
    int first = -1;
    for (const QItemSelectionRange& range : list->selectionModel()->selection())
        if (range.top() >= 0 && (first < 0 || range.top() < first)) first = range.top();
    return first;
}

void Tausw::SetItem(QListWidget* list, int index) {
    if (list->count() == 0) return;
    // Only the caret goes there: marking the line would add a lesson the user
    // never chose to the next confirmation.
    list->setCurrentRow(std::clamp(index, 0, list->count() - 1), QItemSelectionModel::NoUpdate);
}

// --- Confirming --------------------------------------------------------------------------

void Tausw::OKBtn_Click() {
    Notebook->setCurrentIndex(0);

    // Everything is checked before anything is written or moved, so a refused
    // confirmation leaves the lists and files as they were.
    const QList<bool> lineMarks = marks();
    if (!lineMarks.contains(true)) {
        platform::showMessage(QStringLiteral("Bitte markieren Sie abzufragende Lektionen!"),
                              MessageCaption, platform::Icon::Information);
        return;
    }
    if (!sl->isChecked() && !l->isChecked() && !n->isChecked() && !s->isChecked() &&
        !ss->isChecked()) {
        platform::showMessage(
            QStringLiteral("Bitte wählen Sie die Schwierigkeit der abzufragenden Vokabeln."),
            MessageCaption, platform::Icon::Information);
        return;
    }

    // A failed write of the marks is reported; the quiz still runs.
    if (!CurrentDatabaseName.isEmpty())
        writeLastSelection(lineMarks, CurrentDatabaseBase, CurrentLanguage);

    dstlist->clear();
    const int first = GetFirstSelection(SrcList);
    MoveSelected(SrcList, dstlist);
    SetItem(SrcList, first);
    QStringList codes;
    for (int k = 0; k < dstlist->count(); ++k) {
        QListWidgetItem* item = dstlist->item(k);
        item->setText(LessonCodeFromSelectionLine(item->text()));
        codes << item->text();
    }

    spa->click();
    accept();
    if (quizStarter)
        quizStarter(codes);
    else
        startQuiz(codes);
}

void Tausw::CancelBtn_Click() {
    reject();
}

// --- Help --------------------------------------------------------------------------------

void Tausw::FormHelp() {
    helpcommands::ShowHelp(helpcommands::QuizSelectionTopic);
}

void Tausw::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        FormHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}
