// The print window's controls from the settings records and back, and the
// settings of the two layouts as the controls give them.
#include "printing/printwindow.h"

#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "platform/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>

namespace {

int comboIndex(const QComboBox* combo) {
    return std::max(0, combo->currentIndex());
}

// A group of radio buttons with none ticked, as a record of zeros stores it.
void untickAll(std::initializer_list<QRadioButton*> group) {
    for (QRadioButton* button : group) {
        // One button of an exclusive group cannot be unticked on its own.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

} // namespace

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
    if (cards.kind)
        (*cards.kind == CardKind::Fold    ? rbk1
         : *cards.kind == CardKind::Front ? rbk2
                                          : rbk3)
            ->setChecked(true);
    else
        untickAll({rbk1, rbk2, rbk3});
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
    cards.kind = rbk1->isChecked()   ? std::optional(CardKind::Fold)
                 : rbk2->isChecked() ? std::optional(CardKind::Front)
                 : rbk3->isChecked() ? std::optional(CardKind::Back)
                                     : std::nullopt;
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
