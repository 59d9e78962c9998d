// Building the print window's template: the selection on the window's own
// query, and the list or the cards laid out page by page from the words as
// they are read, while the progress panel shows how far it got and "Abbruch"
// stops it.
#include "printing/printwindow.h"

#include "database/currentdatabase.h"
#include "engine/query.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "printing/reportpreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

const QString Building = QStringLiteral("Erstellen der Druckvorlage...");
// How often a build lets the window repaint and answer clicks.
constexpr qint64 AnswerEveryMs = 50;

} // namespace

bool Tdruck::openSelection() {
    const QStringList codes = chosenLessonCodes();
    if (CurrentTablePath.isEmpty() || codes.isEmpty()) return false;
    storeControls();
    selection_->setSql(PrintSelectionSql(CurrentTablePath, codes, PrintSelectionOptions));
    try {
        selection_->open();
    } catch (const platform::Error& error) {
        platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
        return false;
    }
    return true;
}

bool Tdruck::keepAnswering() {
    // Repaint and let "Abbruch" be clicked now and then, not at every word.
    if (sinceAnswered_.elapsed() >= AnswerEveryMs) {
        QCoreApplication::processEvents();
        sinceAnswered_.restart();
    }
    return !cancelBuild_;
}

bool Tdruck::progressStep(int done, int total) {
    pb->setMaximum(std::max(1, total));
    pb->setValue(done);
    return keepAnswering();
}

void Tdruck::showBuiltPage(const report::ReportPage& page) {
    document_.pages.append(page);
    prev->pagesAdded();
    sakt();
    if (document_.pageCount() == 1) {
        // The first page is shown as soon as it is there, not after the last.
        PreviewArea->setCurrentIndex(0);
        setPage(1);
        zo();
        QCoreApplication::processEvents();
        sinceAnswered_.restart();
    }
}

void Tdruck::setBuilding(bool building) {
    building_ = building;
    // While the template is built only its "Abbruch" and the preview answer.
    PageControl1->setEnabled(!building);
    PanelTools->setEnabled(!building);
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3})
        button->setEnabled(!building);
    if (building)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void Tdruck::ud() {
    if (building_) return;
    cancelBuild_ = false;
    setBuilding(true);

    for (QLineEdit* margin : {sro, sru, srl, srr})
        margin->setText(QString::number(Clamp1To200(margin->text())));
    if (llek->selectedItems().isEmpty() && llek->count() > 0)
        llek->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    lessonCount_ = llek->selectedItems().size();
    QStringList chosenEntries;
    for (int i = 0; i < llek->count(); ++i)
        if (llek->item(i)->isSelected()) chosenEntries << llek->item(i)->text();
    WordListSettings listSettings = wordListSettings();
    titleLine_ =
        PrintTitleLine(CurrentDatabaseName, CurrentLanguage, chosenEntries, listSettings.primary);
    listSettings.title = titleLine_;

    // The panel shows before the words are read: on a large selection that
    // takes a moment as well.
    cardMode_ = cbkartei->isChecked();
    document_ = report::ReportDocument();
    document_.orientation =
        cardMode_ ? QPageLayout::Portrait : ListFormatOrientation(listSettings.format);
    prev->setDocument(&document_);
    li->setText(Building);
    pb->setValue(0);
    pb->show();
    Panel2->show();
    BitBtn4->setEnabled(true);
    sinceAnswered_.start();
    QCoreApplication::processEvents();

    // The layout reads the words as far as it has got, so the first page
    // shows before the last word is read, and the bar moves with both.
    const PrintWords words =
        openSelection() ? PrintWords(*selection_) : PrintWords(QList<PrintWord>());
    pb->setMaximum(std::max(1, words.count()));
    pb->setValue(0);
    if (words.isEmpty()) {
        pb->hide();
        li->setText(NothingToPrintText);
    }

    auto progress = [this](int done, int total) { return progressStep(done, total); };
    auto pageReady = [this](const report::ReportPage& page) { showBuiltPage(page); };
    report::ReportDocument built =
        cardMode_ ? LayoutIndexCards(words, cardSettings(), progress, pageReady)
                  : LayoutWordList(words, listSettings, progress, pageReady);
    // The pages are those already shown; the document adds its title and
    // whether the build was stopped.
    document_ = std::move(built);
    selection_->close();
    prev->pagesAdded();
    if (!words.isEmpty()) Panel2->hide();
    setBuilding(false);

    // Without pages the preview would go on showing the last pages it painted.
    PreviewArea->setCurrentIndex(document_.pages.isEmpty() ? 1 : 0);
    if (prev->currentPage() == 0) setPage(1);
    zo();
    sakt();
    if (closePending_ >= 0) {
        const int result = closePending_;
        closePending_ = -1;
        done(result);
    }
}

void Tdruck::Button2Click() {
    if (cbkartei->isChecked()) {
        const std::pair<const CardMeasureRange*, QLineEdit*> checks[] = {
            {&CardHeightRange, kkHoehe},
            {&CardWidthRange, kkBreite},
            {&CardGapHRange, kkAbstandh},
            {&CardGapVRange, kkAbstandv}};
        for (const auto& [range, field] : checks) {
            const CardMeasureCheck check = CheckCardLayoutValue(*range, field->text());
            if (check.message.isEmpty()) continue;
            platform::showMessage(check.message);
            field->setText(check.text);
        }
    }
    ud();
}

void Tdruck::BitBtn4Click() {
    Panel2->hide();
    cancelBuild_ = true;
}
