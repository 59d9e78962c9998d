#include "settings/specialoptionswindow.h"

#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/specialoptions.h"
#include "platform/folders.h"
#include "platform/formwidgets.h"
#include "platform/messagebox.h"
#include "platform/modal.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormSO* FormSO = nullptr;
TFormSOHooks FormSOHooks;

namespace {

const int FontSizes[] = {6,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                         17, 18, 20, 22, 24, 26, 28, 30, 34, 40};

using platform::named;

bool validSlot() {
    return TSpecialOptionsRec::isValidSlot(CurrentSpecialSlot);
}

} // namespace

TFormSO::TFormSO(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSO"));
    buildLayout();
    connectControls();
}

void TFormSO::buildLayout() {
    setWindowTitle(QStringLiteral("Sondereinstellungen"));

    LabelSprache = new QLabel(QStringLiteral("&Sprache:"), this);
    cbsprache = named(new QComboBox(this), "cbsprache");
    cbsprache->setMinimumContentsLength(20);
    LabelSprache->setBuddy(cbsprache);
    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(LabelSprache);
    languageRow->addWidget(cbsprache, 1);

    GroupBeschriftungen = named(new QGroupBox(QStringLiteral("Sonderformenbeschriftungen"), this),
                                "GroupBeschriftungen");
    auto* captions = new QGridLayout(GroupBeschriftungen);
    captions->setHorizontalSpacing(8);
    captions->setVerticalSpacing(4);
    QLineEdit** forms[6] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
    for (int i = 0; i < 6; ++i) {
        *forms[i] = new QLineEdit(GroupBeschriftungen);
        (*forms[i])->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        LabelForm[i] = new QLabel(QStringLiteral("Form &%1:").arg(i + 1), GroupBeschriftungen);
        LabelForm[i]->setBuddy(*forms[i]);
        // Forms 1..3 on the left, 4..6 on the right, as the word page shows them.
        const int row = i % 3;
        const int column = i < 3 ? 0 : 2;
        captions->addWidget(LabelForm[i], row, column);
        captions->addWidget(*forms[i], row, column + 1);
    }
    Edit7 = named(new QLineEdit(GroupBeschriftungen), "Edit7");
    LabelGenitiv = new QLabel(QStringLiteral("&Genitivfeld:"), GroupBeschriftungen);
    LabelGenitiv->setBuddy(Edit7);
    Edit8 = named(new QLineEdit(GroupBeschriftungen), "Edit8");
    LabelGenus = new QLabel(QStringLiteral("G&enusfeld:"), GroupBeschriftungen);
    LabelGenus->setBuddy(Edit8);
    captions->addWidget(LabelGenitiv, 3, 0);
    captions->addWidget(Edit7, 3, 1);
    captions->addWidget(LabelGenus, 3, 2);
    captions->addWidget(Edit8, 3, 3);
    captions->setColumnStretch(1, 1);
    captions->setColumnStretch(3, 1);
    captions->setColumnMinimumWidth(2, 70);
    for (int entry = 1; entry <= 8; ++entry)
        edit(entry)->setMaxLength(TSpecialOptionsRec::StringCapacity);

    GroupSchrift =
        named(new QGroupBox(QStringLiteral("Schriftart für Sonderformenbeschriftungen"), this),
              "GroupSchrift");
    rb1 = named(new QRadioButton(QStringLiteral("&Fremdwort (Tabelle)"), GroupSchrift), "rb1");
    rb2 = named(new QRadioButton(QStringLiteral("Ü&bersetzung (Tabelle)"), GroupSchrift), "rb2");
    rb3 = named(new QRadioButton(QStringLiteral("S&pezielle:"), GroupSchrift), "rb3");
    auto* radios = new QButtonGroup(this);
    radios->addButton(rb1, 1);
    radios->addButton(rb2, 2);
    radios->addButton(rb3, 3);
    cbSchrift = named(new QComboBox(GroupSchrift), "cbSchrift");
    cbSchrift->setEditable(true);
    cbSchrift->setInsertPolicy(QComboBox::NoInsert);
    cbSchrift->addItems(QFontDatabase::families());
    cbSchrift->setEditText(QStringLiteral("MS Sans Serif"));
    cbSchrift->setMinimumContentsLength(16);
    cbSchriftsize = named(new QComboBox(GroupSchrift), "cbSchriftsize");
    cbSchriftsize->setEditable(true);
    cbSchriftsize->setInsertPolicy(QComboBox::NoInsert);
    for (int size : FontSizes)
        cbSchriftsize->addItem(QString::number(size));
    cbSchriftsize->setValidator(new QIntValidator(1, 999, cbSchriftsize));
    cbSchriftsize->setEditText(QStringLiteral("8"));
    cbSchriftsize->setMinimumContentsLength(3);
    cbSchriftfett = named(new QCheckBox(QStringLiteral("Fe&tt"), GroupSchrift), "cbSchriftfett");
    cbSchriftfett->setChecked(true);
    auto* font = new QGridLayout(GroupSchrift);
    font->setHorizontalSpacing(8);
    font->setVerticalSpacing(4);
    font->addWidget(rb1, 0, 0, 1, 4);
    font->addWidget(rb2, 1, 0, 1, 4);
    font->addWidget(rb3, 2, 0);
    font->addWidget(cbSchrift, 2, 1);
    font->addWidget(cbSchriftsize, 2, 2);
    font->addWidget(cbSchriftfett, 2, 3);
    font->setColumnStretch(1, 1);

    Button1 = named(new QPushButton(QStringLiteral("&OK"), this), "Button1");
    Button1->setDefault(true);
    Button2 = named(new QPushButton(QStringLiteral("&Abbruch"), this), "Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(languageRow);
    layout->addWidget(GroupBeschriftungen);
    layout->addWidget(GroupSchrift);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());
}

void TFormSO::connectControls() {
    connect(cbsprache, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) cbspracheChange();
    });
    for (int entry = 1; entry <= 8; ++entry)
        connect(edit(entry), &QLineEdit::textChanged, this,
                [this, entry](const QString& text) { EditChange(entry, text); });
    for (QRadioButton* radio : {rb1, rb2, rb3})
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked && !showing_) ApplyCaptionFontChoice();
        });
    connect(cbSchrift, &QComboBox::currentTextChanged, this, &TFormSO::cbSchriftChange);
    connect(cbSchriftsize, &QComboBox::currentTextChanged, this, &TFormSO::cbSchriftsizeChange);
    connect(cbSchriftfett, &QCheckBox::toggled, this, &TFormSO::cbSchriftfettClick);
    connect(Button1, &QPushButton::clicked, this, &TFormSO::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormSO::Button2Click);
}

QLineEdit* TFormSO::edit(int entry) const {
    QLineEdit* const edits[8] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8};
    return edits[entry - 1];
}

void TFormSO::LoadSpecialOptions() {
    const QString previous = cbsprache->currentText();
    QStringList languages = FindLanguageFolders(WorkDir);
    showing_ = true;
    cbsprache->clear();
    cbsprache->addItems(languages);
    // A database outside WorkDir (custom vocabulary folder) still gets its
    // language offered.
    if (!CurrentLanguage.isEmpty() && cbsprache->findText(CurrentLanguage) < 0)
        cbsprache->addItem(CurrentLanguage);
    const int index = cbsprache->findText(previous);
    cbsprache->setCurrentIndex(index >= 0 ? index : (cbsprache->count() > 0 ? 0 : -1));
    showing_ = false;
    LoadSpecialOptionsRecord(languages);
    ShowLanguageOptions(-1);
}

void TFormSO::ShowLanguageOptions(int Mode) {
    if (cbsprache->currentText().isEmpty() && cbsprache->count() > 0) {
        showing_ = true;
        cbsprache->setCurrentIndex(0);
        showing_ = false;
    }
    SpecialOptionsLanguage = cbsprache->currentText();
    if (SpecialOptionsLanguage.isEmpty() || Mode == 1) SpecialOptionsLanguage = CurrentLanguage;

    int slot = SpecialOptions.findSlot(SpecialOptionsLanguage);
    if (slot < 0) slot = SpecialOptions.allocateSlot(SpecialOptionsLanguage);
    CurrentSpecialSlot = slot;

    // Without a slot the window shows the language's defaults, read-only.
    const SpecialFormCaptions captions =
        CaptionsOfSlot(SpecialOptions, slot, DatabaseOptions, SpecialOptionsLanguage);
    showing_ = true;
    for (int i = 0; i < 6; ++i)
        edit(i + 1)->setText(captions.Forms[i]);
    Edit7->setText(captions.Genitive);
    Edit8->setText(captions.Genus);
    const int source =
        validSlot() ? SpecialOptions.CaptionFontSource[slot] : int(TSpecialOptionsRec::SourceOwn);
    rb1->setChecked(source == TSpecialOptionsRec::SourceTableWord);
    rb2->setChecked(source == TSpecialOptionsRec::SourceTableTranslation);
    rb3->setChecked(source != TSpecialOptionsRec::SourceTableWord &&
                    source != TSpecialOptionsRec::SourceTableTranslation);
    showing_ = false;
    GroupBeschriftungen->setEnabled(validSlot());
    GroupSchrift->setEnabled(validSlot());
    showCaptionFont();
}

void TFormSO::showCaptionFont() {
    const SpecialFormCaptions captions =
        CaptionsOfSlot(SpecialOptions, CurrentSpecialSlot, DatabaseOptions, SpecialOptionsLanguage);
    showing_ = true;
    cbSchrift->setEditText(captions.FontName);
    cbSchriftsize->setEditText(QString::number(captions.FontSize));
    cbSchriftfett->setChecked(captions.FontBold);
    showing_ = false;
    const bool own = rb3->isChecked();
    cbSchrift->setEnabled(own);
    cbSchriftsize->setEnabled(own);
    cbSchriftfett->setEnabled(own);
}

void TFormSO::reportMissingSlot() {
    if (validSlot() || SpecialOptionsLanguage.isEmpty()) return;
    platform::showMessage(
        QStringLiteral("Für die Sprache „%1“ ist kein freier Platz mehr vorhanden: "
                       "Sonderformenbeschriftungen können für höchstens %2 Sprachen gespeichert "
                       "werden.\n\nEs werden die Standardbeschriftungen angezeigt.")
            .arg(SpecialOptionsLanguage)
            .arg(TSpecialOptionsRec::LanguageSlotCount),
        QStringLiteral("Sondereinstellungen"), platform::Icon::Warning);
}

bool TFormSO::SaveSpecialOptions() {
    SpecialOptions.keepOwnFont(CurrentSpecialSlot);
    SpecialOptionsPath = SpecialOptionsFile();
    return SpecialOptions.save(SpecialOptionsPath);
}

int TFormSO::checkit() {
    LoadSpecialOptions();
    SavedSpecialSlot = CurrentSpecialSlot;
    int index = 0;
    const QString wanted = UpperCaseEach(CurrentLanguage);
    for (int i = 0; i < cbsprache->count(); ++i) {
        if (UpperCaseEach(cbsprache->itemText(i)) == wanted) {
            index = i;
            break;
        }
    }
    showing_ = true;
    cbsprache->setCurrentIndex(cbsprache->count() > 0 ? index : -1);
    showing_ = false;
    ShowLanguageOptions(-1);
    reportMissingSlot();
    return platform::execModal(*this);
}

void TFormSO::cbspracheChange() {
    ShowLanguageOptions(-1);
    reportMissingSlot();
}

void TFormSO::ApplyCaptionFontChoice() {
    if (CaptionChoiceBusy) return;
    CaptionChoiceBusy = true;
    const int source = rb1->isChecked()   ? TSpecialOptionsRec::SourceTableWord
                       : rb2->isChecked() ? TSpecialOptionsRec::SourceTableTranslation
                                          : TSpecialOptionsRec::SourceOwn;
    SpecialOptions.chooseCaptionFont(CurrentSpecialSlot, source, DatabaseOptions);
    showCaptionFont();
    CaptionChoiceBusy = false;
}

void TFormSO::EditChange(int entry, const QString& text) {
    if (showing_ || !validSlot() || entry < 1 || entry > 8) return;
    SpecialOptions.Captions[CurrentSpecialSlot][entry] =
        text.left(TSpecialOptionsRec::StringCapacity);
}

// The own font is kept as it is typed, so that it survives switching to a
// table font and back, in every slot and not only in the one saved last.
void TFormSO::cbSchriftChange(const QString& text) {
    if (showing_ || !validSlot()) return;
    const QString name = text.left(TSpecialOptionsRec::StringCapacity);
    SpecialOptions.CaptionFontName[CurrentSpecialSlot] = name;
    SpecialOptions.keepOwnFont(CurrentSpecialSlot);
}

void TFormSO::cbSchriftsizeChange(const QString& text) {
    if (showing_ || !validSlot()) return;
    bool ok = false;
    const int size = text.toInt(&ok);
    if (!ok || size <= 0) return; // an incomplete entry keeps the size in force
    SpecialOptions.CaptionFontSize[CurrentSpecialSlot] = size;
    SpecialOptions.keepOwnFont(CurrentSpecialSlot);
}

void TFormSO::cbSchriftfettClick(bool checked) {
    if (showing_ || !validSlot()) return;
    SpecialOptions.CaptionFontBold[CurrentSpecialSlot] = checked;
    SpecialOptions.keepOwnFont(CurrentSpecialSlot);
}

void TFormSO::Button1Click() {
    if (!SaveSpecialOptions()) return; // reported; the window stays open with the edits
    CurrentSpecialSlot = SavedSpecialSlot;
    if (FormSOHooks.applySpecialFormCaptions) FormSOHooks.applySpecialFormCaptions();
    done(platform::ResultOk);
}

void TFormSO::Button2Click() {
    done(platform::ResultCancel);
}
