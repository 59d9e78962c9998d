// The handlers of the print window: settings in and out, the lesson list, the
// building of the template, the preview's zoom and pages, printing.
#include "printing/printwindow.h"

#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "quiz/selectionoptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>

Tdruck* druck = nullptr;

namespace {

const QString NothingToPrint = QStringLiteral("Es sind keine Vokabeln zum Drucken gewählt.");
const QString Building = QStringLiteral("Erstellen der Druckvorlage...");
constexpr int DefaultZoomItem = 3; // "35%"

// The leading whole number of a zoom text ("35%" → 35), or 0.
int leadingNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    int end = 0;
    while (end < trimmed.size() && trimmed.at(end).isDigit() && trimmed.at(end).unicode() < 128)
        ++end;
    return end == 0 ? 0 : trimmed.left(end).toInt();
}

int comboIndex(const QComboBox* combo) {
    return std::max(0, combo->currentIndex());
}

} // namespace

Tdruck::Tdruck(QWidget* parent) : QDialog(parent) {
    buildLayout();
    connectHandlers();
    Panel2->hide();
}

Tdruck::~Tdruck() = default;

void Tdruck::connectHandlers() {
    connect(prev, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* target) { report::paintReport(document_, *target); });
    connect(prev, &QPrintPreviewWidget::previewChanged, this, [this] {
        if (!building_) sakt();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &Tdruck::Button2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tdruck::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tdruck::BitBtn1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &Tdruck::BitBtn4Click);
    connect(Button1, &QPushButton::clicked, this, &Tdruck::Button1Click);
    connect(sbzi, &QToolButton::clicked, this, &Tdruck::sbziClick);
    connect(sbzo, &QToolButton::clicked, this, &Tdruck::sbzoClick);
    connect(sbzz, &QToolButton::clicked, this, &Tdruck::sbzzClick);
    connect(sbz, &QToolButton::clicked, this, &Tdruck::sbzClick);
    connect(sbv, &QToolButton::clicked, this, &Tdruck::sbvClick);
    connect(sbvv, &QToolButton::clicked, this, &Tdruck::sbvvClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tdruck::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tdruck::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tdruck::SpeedButton3Click);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { zo(); });
    connect(ComboBox1->lineEdit(), &QLineEdit::editingFinished, this, [this] { zo(); });
    const QList<QRadioButton*> formats{rb0, rb1, rb2, rb3, rb4, rb5};
    for (int i = 0; i < formats.size(); ++i)
        connect(formats[i], &QRadioButton::clicked, this, [this, i] { formatClicked(i); });
}

engine::Query* Tdruck::query() const {
    if (Query) return Query;
    return Form1 ? Form1->Query : nullptr;
}

// --- Showing and closing ---------------------------------------------------------

int Tdruck::showForPrint() {
    FormShow();
    return platform::execModal(*this);
}

void Tdruck::FormShow() {
    cardMode_ = false;
    closePending_ = -1;
    PrintTextOptions.load(PrintTextOptionsFile());
    // Card measures that are missing or no numbers start from the defaults.
    double ignored = 0;
    const QString measures[] = {PrintTextOptions.kkBreite, PrintTextOptions.kkHoehe,
                                PrintTextOptions.kkAbstandh, PrintTextOptions.kkAbstandv};
    for (const QString& measure : measures) {
        if (!ParseCardMeasure(measure, &ignored)) {
            PrintTextOptions.kkBreite = QString::fromUtf8(CardWidthRange.defaultText);
            PrintTextOptions.kkHoehe = QString::fromUtf8(CardHeightRange.defaultText);
            PrintTextOptions.kkAbstandh = QString::fromUtf8(CardGapHRange.defaultText);
            PrintTextOptions.kkAbstandv = QString::fromUtf8(CardGapVRange.defaultText);
            break;
        }
    }
    PrintCardOptions.load(PrintCardOptionsFile());
    PrintSelectionOptions.load(PrintSelectionOptionsFile());

    comw->clear();
    comw->addItems(TSelectionOptionsRec::WordClassItems());
    loadControls();
    fillLessonList();

    ComboBox1->blockSignals(true);
    ComboBox1->setCurrentIndex(DefaultZoomItem);
    ComboBox1->blockSignals(false);
    sbzi->setEnabled(true);
    sbzo->setEnabled(true);
    pb->setValue(0);
    Panel2->show();
    ud();
}

void Tdruck::fillLessonList() {
    llek->clear();
    llek->addItems(PrintLessonEntries(baumlist));
    const int current = baumlist.indexOfCode(CurrentLessonCode);
    if (current >= 0) {
        llek->setCurrentRow(current, QItemSelectionModel::ClearAndSelect);
        llek->scrollToItem(llek->item(current));
    }
}

void Tdruck::done(int result) {
    if (building_) {
        // The build stops at its next step and the window closes after it.
        closePending_ = result;
        cancelBuild_ = true;
        return;
    }
    FormClose();
    QDialog::done(result);
}

void Tdruck::FormClose() {
    Panel2->hide();
    storeControls();
    PrintCardOptions.save(PrintCardOptionsFile());
    PrintTextOptions.save(PrintTextOptionsFile());
    PrintSelectionOptions.save(PrintSelectionOptionsFile());
    if (engine::Query* q = query(); q && !CurrentTablePath.isEmpty()) {
        try {
            ReopenLessonQuery(*q);
        } catch (const platform::Error& error) {
            platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
        }
    }
}

void Tdruck::BitBtn1Click() {
    reject();
}

void Tdruck::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown && event->modifiers() == Qt::NoModifier) {
        sbvClick();
        return;
    }
    if (event->key() == Qt::Key_PageUp && event->modifiers() == Qt::NoModifier) {
        sbzClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- Controls and records --------------------------------------------------------

void Tdruck::loadControls() {
    const TPrintTextOptionsRec& texts = PrintTextOptions;
    ekz->setText(texts.ekz);
    efz->setText(texts.efz);
    sro->setText(texts.sro);
    sru->setText(texts.sru);
    srl->setText(texts.srl);
    srr->setText(texts.srr);
    kkBreite->setText(texts.kkBreite);
    kkHoehe->setText(texts.kkHoehe);
    kkAbstandh->setText(texts.kkAbstandh);
    kkAbstandv->setText(texts.kkAbstandv);

    const TPrintCardOptionsRec& cards = PrintCardOptions;
    cbkartei->setChecked(cards.cbkartei);
    (cards.kind == CardKind::Fold    ? rbk1
     : cards.kind == CardKind::Front ? rbk2
                                     : rbk3)
        ->setChecked(true);
    rbkrahmen->setChecked(cards.rbkrahmen);
    rbklektion->setChecked(cards.rbklektion);
    cbkvor->setChecked(cards.cbkvor);
    cbKartKopfFuss->setChecked(cards.cbKartKopfFuss);
    cbkfremdwort->setCurrentIndex(cards.cbkfremdwort);
    cbkueber->setCurrentIndex(cards.cbkueber);
    cbksonder->setCurrentIndex(cards.cbksonder);
    cbklektion->setCurrentIndex(cards.cbklektion);

    const TPrintSelectionOptions& selection = PrintSelectionOptions;
    const QList<QRadioButton*> formats{rb0, rb1, rb2, rb3, rb4, rb5};
    formats.at(std::clamp(selection.format, 0, 5))->setChecked(true);
    const QList<QRadioButton*> primary{sl, sa, sa_ueber, sw, ss};
    primary.at(static_cast<int>(selection.primary))->setChecked(true);
    const QList<QRadioButton*> secondary{ssta, sa2, sa2_ueber, nrb};
    secondary.at(static_cast<int>(selection.secondary))->setChecked(true);
    const QList<QRadioButton*> remarks{rbbd0, rbbd1, rbbd2};
    remarks.at(static_cast<int>(selection.remarks))->setChecked(true);
    const QList<QRadioButton*> forms{rbsd0, rbsd1, rbsd2};
    forms.at(static_cast<int>(selection.specialForms))->setChecked(true);
    sab->setChecked(selection.sab);
    cbus->setChecked(selection.cbus);
    line->setChecked(selection.line);
    cbra->setChecked(selection.cbra);
    nge->setChecked(selection.nge);
    nse->setChecked(selection.nse);
    nst->setChecked(selection.nst);
    cbs->setCurrentIndex(selection.cbs);
    comw->setCurrentIndex(selection.comw);
}

void Tdruck::storeControls() {
    TPrintTextOptionsRec& texts = PrintTextOptions;
    texts.ekz = ekz->text();
    texts.efz = efz->text();
    texts.sro = sro->text();
    texts.sru = sru->text();
    texts.srl = srl->text();
    texts.srr = srr->text();
    texts.kkBreite = kkBreite->text();
    texts.kkHoehe = kkHoehe->text();
    texts.kkAbstandh = kkAbstandh->text();
    texts.kkAbstandv = kkAbstandv->text();

    TPrintCardOptionsRec& cards = PrintCardOptions;
    cards.cbkartei = cbkartei->isChecked();
    cards.kind = rbk2->isChecked()   ? CardKind::Front
                 : rbk3->isChecked() ? CardKind::Back
                                     : CardKind::Fold;
    cards.rbkrahmen = rbkrahmen->isChecked();
    cards.rbklektion = rbklektion->isChecked();
    cards.cbkvor = cbkvor->isChecked();
    cards.cbKartKopfFuss = cbKartKopfFuss->isChecked();
    cards.cbkfremdwort = comboIndex(cbkfremdwort);
    cards.cbkueber = comboIndex(cbkueber);
    cards.cbksonder = comboIndex(cbksonder);
    cards.cbklektion = comboIndex(cbklektion);

    TPrintSelectionOptions& selection = PrintSelectionOptions;
    const QList<QRadioButton*> formats{rb0, rb1, rb2, rb3, rb4, rb5};
    for (int i = 0; i < formats.size(); ++i)
        if (formats[i]->isChecked()) selection.format = i;
    // The first ticked button of each group counts, as in the selection.
    selection.primary = sl->isChecked()         ? PrintOrder::Lesson
                        : sa->isChecked()       ? PrintOrder::ForeignWord
                        : sa_ueber->isChecked() ? PrintOrder::Translation
                        : sw->isChecked()       ? PrintOrder::WordClass
                        : ss->isChecked()       ? PrintOrder::Difficulty
                                                : PrintOrder::Lesson;
    selection.secondary = sa2->isChecked()         ? PrintSecondaryOrder::ForeignWord
                          : sa2_ueber->isChecked() ? PrintSecondaryOrder::Translation
                          : ssta->isChecked()      ? PrintSecondaryOrder::WrongAnswers
                                                   : PrintSecondaryOrder::Keep;
    selection.remarks = rbbd1->isChecked()   ? PrintPlacement::Left
                        : rbbd2->isChecked() ? PrintPlacement::Right
                                             : PrintPlacement::None;
    selection.specialForms = rbsd1->isChecked()   ? PrintPlacement::Left
                             : rbsd2->isChecked() ? PrintPlacement::Right
                                                  : PrintPlacement::None;
    selection.sab = sab->isChecked();
    selection.cbus = cbus->isChecked();
    selection.line = line->isChecked();
    selection.cbra = cbra->isChecked();
    selection.nge = nge->isChecked();
    selection.nse = nse->isChecked();
    selection.nst = nst->isChecked();
    selection.cbs = comboIndex(cbs);
    selection.zoomText = ComboBox1->currentText();
    selection.comw = comboIndex(comw);
}

void Tdruck::formatClicked(int format) {
    // Each format comes with the list size that suits its columns.
    static const int sizes[] = {14, 12, 10, 14, 12, 9};
    const int index = ListFontSizes().indexOf(sizes[std::clamp(format, 0, 5)]);
    if (index >= 0) cbs->setCurrentIndex(index);
}

QStringList Tdruck::chosenLessonCodes() const {
    QStringList codes;
    for (int i = 0; i < llek->count() && i < baumlist.count(); ++i)
        if (llek->item(i)->isSelected()) codes << baumlist.at(i).left(LessonCodeLength);
    return codes;
}

namespace {

PrintFonts fontsOfOpenDatabase() {
    const DatabaseFonts fonts = PlanDatabaseFonts(DatabaseOptions, IsHebrewDatabase());
    PrintFonts result;
    result.wordFamily = fonts.word.font.family();
    result.wordCharset = fonts.word.charset;
    result.translationFamily = fonts.translation.font.family();
    result.translationCharset = fonts.translation.charset;
    return result;
}

QString accentFontName() {
    QString font = DatabaseOptions.WordFont;
    StripCharsetPrefixes(font);
    return font;
}

} // namespace

WordListSettings Tdruck::wordListSettings() const {
    WordListSettings settings;
    PageSettings& page = settings.page;
    page.top = Clamp1To200(sro->text());
    page.bottom = Clamp1To200(sru->text());
    page.left = Clamp1To200(srl->text());
    page.right = Clamp1To200(srr->text());
    page.header = ekz->text();
    page.footer = efz->text();
    page.databaseName = CurrentDatabaseName;
    page.language = CurrentLanguage;
    page.date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    settings.fonts = fontsOfOpenDatabase();
    const QList<QRadioButton*> formats{rb0, rb1, rb2, rb3, rb4, rb5};
    for (int i = 0; i < formats.size(); ++i)
        if (formats[i]->isChecked()) {
            settings.format = i;
            break;
        }
    settings.fontSize = ListFontSizes().value(comboIndex(cbs), 12);
    settings.primary = sl->isChecked()         ? PrintOrder::Lesson
                       : sa->isChecked()       ? PrintOrder::ForeignWord
                       : sa_ueber->isChecked() ? PrintOrder::Translation
                       : sw->isChecked()       ? PrintOrder::WordClass
                       : ss->isChecked()       ? PrintOrder::Difficulty
                                               : PrintOrder::Lesson;
    settings.sectionCaptions = cbus->isChecked();
    settings.lines = line->isChecked();
    settings.frameStamm = cbra->isChecked();
    settings.remarks = rbbd1->isChecked()   ? PrintPlacement::Left
                       : rbbd2->isChecked() ? PrintPlacement::Right
                                            : PrintPlacement::None;
    settings.specialForms = rbsd1->isChecked()   ? PrintPlacement::Left
                            : rbsd2->isChecked() ? PrintPlacement::Right
                                                 : PrintPlacement::None;
    settings.title = titleLine_;
    settings.lessonCount = lessonCount_;
    settings.accentFontName = accentFontName();
    settings.lessonLines = baumlist.lines();
    for (int i = 0; i < llek->count(); ++i)
        settings.lessonEntries << llek->item(i)->text();
    return settings;
}

CardSettings Tdruck::cardSettings() const {
    const WordListSettings list = wordListSettings();
    CardSettings settings;
    settings.page = list.page;
    if (!cbKartKopfFuss->isChecked()) {
        settings.page.header.clear();
        settings.page.footer.clear();
    }
    settings.fonts = list.fonts;
    settings.kind = rbk2->isChecked()   ? CardKind::Front
                    : rbk3->isChecked() ? CardKind::Back
                                        : CardKind::Fold;
    settings.frame = rbkrahmen->isChecked();
    settings.lessonLabel = rbklektion->isChecked();
    settings.width = CardMeasureValue(CardWidthRange, kkBreite->text());
    settings.height = CardMeasureValue(CardHeightRange, kkHoehe->text());
    settings.gapH = CardMeasureValue(CardGapHRange, kkAbstandh->text());
    settings.gapV = CardMeasureValue(CardGapVRange, kkAbstandv->text());
    settings.wordSize = CardWordFontSizes().value(comboIndex(cbkfremdwort), 16);
    settings.translationSize = CardTranslationFontSizes().value(comboIndex(cbkueber), 12);
    settings.specialSize = CardSpecialFontSizes().value(comboIndex(cbksonder), 10);
    settings.lessonSize = CardLessonFontSizes().value(comboIndex(cbklektion), 8);
    settings.remarks = list.remarks;
    settings.specialForms = list.specialForms;
    settings.primary = list.primary;
    settings.accentFontName = list.accentFontName;
    settings.lessonLines = list.lessonLines;
    settings.lessonEntries = list.lessonEntries;
    return settings;
}

// --- Building the template -------------------------------------------------------

bool Tdruck::openSelection() {
    engine::Query* q = query();
    const QStringList codes = chosenLessonCodes();
    if (!q || CurrentTablePath.isEmpty() || codes.isEmpty()) return false;
    storeControls();
    q->close();
    q->setSql(PrintSelectionSql(CurrentTablePath, codes, PrintSelectionOptions));
    try {
        q->open();
    } catch (const platform::Error& error) {
        platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
        return false;
    }
    return true;
}

bool Tdruck::progressStep(int done, int total) {
    pb->setMaximum(std::max(1, total));
    pb->setValue(done);
    // Repaint and let "Abbruch" be clicked now and then, not at every word.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastProgressPaint_ >= 100) {
        lastProgressPaint_ = now;
        QCoreApplication::processEvents();
    }
    return !cancelBuild_;
}

void Tdruck::ud() {
    if (building_) return;
    building_ = true;
    cancelBuild_ = false;
    lastProgressPaint_ = QDateTime::currentMSecsSinceEpoch();
    // While the template is built only its "Abbruch" answers.
    PageControl1->setEnabled(false);
    PanelTools->setEnabled(false);
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3})
        button->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    for (QLineEdit* margin : {sro, sru, srl, srr})
        margin->setText(QString::number(Clamp1To200(margin->text())));
    if (llek->selectedItems().isEmpty() && llek->count() > 0)
        llek->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    lessonCount_ = llek->selectedItems().size();
    QStringList chosenEntries;
    for (int i = 0; i < llek->count(); ++i)
        if (llek->item(i)->isSelected()) chosenEntries << llek->item(i)->text();
    titleLine_ = PrintTitleLine(CurrentDatabaseName, CurrentLanguage, chosenEntries,
                                wordListSettings().primary);

    QList<PrintWord> words;
    if (openSelection()) words = ReadPrintWords(*query());
    pb->setMaximum(std::max<int>(1, words.size()));
    pb->setValue(0);
    if (words.isEmpty()) {
        pb->hide();
        li->setText(NothingToPrint);
    } else {
        pb->show();
        li->setText(Building);
    }
    Panel2->show();
    BitBtn4->setEnabled(true);
    cardMode_ = false;

    auto progress = [this](int done, int total) { return progressStep(done, total); };
    if (cbkartei->isChecked()) {
        document_ = LayoutIndexCards(words, cardSettings(), progress);
        cardMode_ = true;
    } else {
        document_ = LayoutWordList(words, wordListSettings(), progress);
    }
    if (!words.isEmpty()) Panel2->hide();

    QApplication::restoreOverrideCursor();
    PageControl1->setEnabled(true);
    PanelTools->setEnabled(true);
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3})
        button->setEnabled(true);
    building_ = false;

    // The page layout is set again when the pages are painted; setting the
    // orientation here only spares the preview a second generation.
    printer_->setPageOrientation(document_.orientation);
    prev->updatePreview();
    // Without pages the preview would go on showing the last pages it painted.
    PreviewArea->setCurrentIndex(document_.pages.isEmpty() ? 1 : 0);
    setPage(1);
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

void Tdruck::Button1Click() {
    if (platform::showMessage(QStringLiteral("Sollen die Karteikartenlayout-Einstellungen wirklich "
                                             "auf die Standardwerte zurückgesetzt werden?"),
                              QString(), platform::Icon::Question,
                              platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    kkBreite->setText(QString::fromUtf8(CardWidthRange.defaultText));
    kkHoehe->setText(QString::fromUtf8(CardHeightRange.defaultText));
    kkAbstandh->setText(QString::fromUtf8(CardGapHRange.defaultText));
    kkAbstandv->setText(QString::fromUtf8(CardGapVRange.defaultText));
}

void Tdruck::BitBtn4Click() {
    Panel2->hide();
    cancelBuild_ = true;
}

// --- Zoom and pages --------------------------------------------------------------

void Tdruck::zo() {
    const int percent = leadingNumber(ComboBox1->currentText());
    // A typed zoom that is no number leaves the preview as it is.
    if (percent <= 0) return;
    prev->setZoomFactor(std::clamp(percent, 5, 500) / 100.0);
}

void Tdruck::sbziClick() {
    sbzi->setEnabled(true);
    sbzo->setEnabled(true);
    if (ComboBox1->currentIndex() >= ComboBox1->count() - 1)
        sbzi->setEnabled(false);
    else
        ComboBox1->setCurrentIndex(ComboBox1->currentIndex() + 1);
    zo();
}

void Tdruck::sbzoClick() {
    sbzi->setEnabled(true);
    sbzo->setEnabled(true);
    if (ComboBox1->currentIndex() <= 0)
        sbzo->setEnabled(false);
    else
        ComboBox1->setCurrentIndex(ComboBox1->currentIndex() - 1);
    zo();
}

namespace {

void showZoom(QComboBox* combo, double factor) {
    const QString text =
        QString::number(static_cast<int>(std::nearbyint(factor * 100))) + QLatin1Char('%');
    combo->blockSignals(true);
    const int item = combo->findText(text);
    if (item >= 0)
        combo->setCurrentIndex(item);
    else
        combo->setEditText(text);
    combo->blockSignals(false);
}

} // namespace

void Tdruck::SpeedButton2Click() {
    prev->fitInView();
    showZoom(ComboBox1, prev->zoomFactor());
}

void Tdruck::SpeedButton3Click() {
    prev->fitToWidth();
    showZoom(ComboBox1, prev->zoomFactor());
}

int Tdruck::pageCount() const {
    return document_.pageCount();
}

void Tdruck::setPage(int page) {
    if (pageCount() > 0) prev->setCurrentPage(std::clamp(page, 1, pageCount()));
}

void Tdruck::sbzzClick() {
    setPage(1);
    sakt();
}

void Tdruck::sbzClick() {
    setPage(prev->currentPage() - 1);
    sakt();
}

void Tdruck::sbvClick() {
    setPage(prev->currentPage() + 1);
    sakt();
}

void Tdruck::sbvvClick() {
    setPage(pageCount());
    sakt();
}

void Tdruck::sakt() {
    const int count = pageCount();
    const int page = count > 0 ? std::clamp(prev->currentPage(), 1, count) : 0;
    sbzz->setEnabled(page > 1);
    sbz->setEnabled(page > 1);
    sbv->setEnabled(page < count);
    sbvv->setEnabled(page < count);
    if (count > 0 && prev->currentPage() > count) prev->setCurrentPage(count);
    mSeite->setText(count > 0 ? QStringLiteral(" Seite %1 von %2").arg(page).arg(count)
                              : QStringLiteral(" Keine Seiten"));
}

// --- Printing --------------------------------------------------------------------

void Tdruck::SpeedButton1Click() {
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("Druckeinstellungen"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    platform::execModal(dialog);
}

void Tdruck::BitBtn3Click() {
    if (document_.pages.isEmpty()) {
        platform::showMessage(NothingToPrint, QStringLiteral("Drucken"),
                              platform::Icon::Information);
        return;
    }
    // Without a printer there is nothing to print on: the user picks one, or
    // a file, first.
    const bool noTarget = printer_->outputFormat() == QPrinter::NativeFormat
                              ? printer_->printerName().isEmpty()
                              : printer_->outputFileName().isEmpty();
    if (noTarget) {
        QPrintDialog dialog(printer_.get(), this);
        dialog.setWindowTitle(QStringLiteral("Drucken"));
        if (platform::execModal(dialog) != QDialog::Accepted) return;
    }
    prev->print();
}
