#include "settings/databasesettingsdialog.h"

#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "database/recentdatabases.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/formwidgets.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "settings/databasesettings.h"
#include "settings/specialoptionswindow.h"

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
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

Tdbeform* dbeform = nullptr;

namespace {

const int FontSizes[] = {6,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                         17, 18, 20, 22, 24, 26, 28, 30, 34, 40};

const QString CharsetHelp = QStringLiteral(
    "Falls Ihre Sprache bestimmte Sonderzeichen benötigt, können Sie hier den entsprechenden "
    "Zeichensatz einstellen. Bitte wählen Sie dann bekannte Schriftarten wie Arial oder Times New "
    "Roman, denn nur solche unterstützen mehrere Zeichensätze.");
const QString CharsetInTranslationHelp = QStringLiteral(
    "Das Kästchen ankreuzen, damit der eingestellte Fremdwort-Zeichensatz auch in Feldern der "
    "Muttersprache verwendet werden soll. Damit lassen sich Wörter der Fremdsprache in "
    "Übersetzungsfelder schreiben.");

using platform::named;

QComboBox* fontBox(QWidget* parent, const char* name) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(18);
    box->setEditText(QStringLiteral("Times New Roman"));
    return box;
}

QComboBox* sizeBox(QWidget* parent, const char* name, const char* designText) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setValidator(new QIntValidator(1, 999, box));
    box->setMinimumContentsLength(3);
    box->setEditText(QString::fromLatin1(designText));
    return box;
}

QToolButton* helpButton(QWidget* parent, const char* name) {
    auto* button = named(new QToolButton(parent), name);
    button->setText(QStringLiteral("?"));
    button->setToolTip(QStringLiteral("Hilfe zu dieser Einstellung"));
    button->setFixedSize(20, 20);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void showHelp(const QString& text) {
    platform::showMessage(text, QStringLiteral("Information"), platform::Icon::Information);
}

// A size typed into a box; what is no positive number keeps the old size.
int sizeOf(const QComboBox* box, int old) {
    bool ok = false;
    const int size = box->currentText().trimmed().toInt(&ok);
    return ok && size > 0 ? size : old;
}

QString fontOf(const QComboBox* box, const QString& old) {
    const QString name = box->currentText().trimmed();
    return name.isEmpty() ? old : name;
}

} // namespace

Tdbeform::Tdbeform(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dbeform"));
    buildLayout();
    connectControls();
    FormCreate();
}

void Tdbeform::buildLayout() {
    setWindowTitle(QStringLiteral("Datenbank Einstellungen"));

    GroupDatenbank = named(new QGroupBox(QStringLiteral("Datenbank"), this), "GroupDatenbank");
    Label1 = named(new QLabel(QStringLiteral("Name der Datenbank:"), GroupDatenbank), "Label1");
    Edit1 = named(new QLineEdit(GroupDatenbank), "Edit1");
    Label1->setBuddy(Edit1);
    Label2 = named(new QLabel(QStringLiteral("Sprache der Datenbank:"), GroupDatenbank), "Label2");
    Edit2 = named(new QLineEdit(QStringLiteral("Sonstige"), GroupDatenbank), "Edit2");
    Label2->setBuddy(Edit2);
    Label3 =
        named(new QLabel(QStringLiteral("Sonderformenbeschriftungen der Sprache:"), GroupDatenbank),
              "Label3");
    Button1 = named(new QPushButton(QStringLiteral("&Bearbeiten"), GroupDatenbank), "Button1");
    auto* names = new QGridLayout(GroupDatenbank);
    names->addWidget(Label1, 0, 0);
    names->addWidget(Edit1, 0, 1, 1, 2);
    names->addWidget(Label2, 1, 0);
    names->addWidget(Edit2, 1, 1, 1, 2);
    names->addWidget(Label3, 2, 0);
    names->addWidget(Button1, 2, 1, Qt::AlignLeft);
    names->setColumnStretch(2, 1);

    GroupSchrift = named(new QGroupBox(QStringLiteral("Schriftarten"), this), "GroupSchrift");
    LabelFw = named(new QLabel(QStringLiteral("Fremdwort:"), GroupSchrift), "LabelFw");
    cbFw = fontBox(GroupSchrift, "cbFw");
    sgFw = sizeBox(GroupSchrift, "sgFw", "18");
    FettFw = named(new QCheckBox(QStringLiteral("Fett"), GroupSchrift), "FettFw");
    LabelUe = named(new QLabel(QStringLiteral("Übersetzung:"), GroupSchrift), "LabelUe");
    cbUe = fontBox(GroupSchrift, "cbUe");
    sgUe = sizeBox(GroupSchrift, "sgUe", "16");
    fettu = named(new QCheckBox(QStringLiteral("Fett"), GroupSchrift), "fettu");
    LabelTFw =
        named(new QLabel(QStringLiteral("Fremdwort (Tabelle) und Sonderformen:"), GroupSchrift),
              "LabelTFw");
    cbTFw = fontBox(GroupSchrift, "cbTFw");
    sgTfw = sizeBox(GroupSchrift, "sgTfw", "11");
    FettTFw = named(new QCheckBox(QStringLiteral("Fett"), GroupSchrift), "FettTFw");
    LabelTUe = named(new QLabel(QStringLiteral("Übersetzung (Tabelle) und Genus:"), GroupSchrift),
                     "LabelTUe");
    cbTUe = fontBox(GroupSchrift, "cbTUe");
    sgTUe = sizeBox(GroupSchrift, "sgTUe", "11");
    fetttu = named(new QCheckBox(QStringLiteral("Fett"), GroupSchrift), "fetttu");
    auto* fonts = new QGridLayout(GroupSchrift);
    fonts->addWidget(new QLabel(QStringLiteral("Schriftart"), GroupSchrift), 0, 1);
    fonts->addWidget(new QLabel(QStringLiteral("Größe"), GroupSchrift), 0, 2);
    const struct {
        QLabel* label;
        QComboBox* font;
        QComboBox* size;
        QCheckBox* bold;
    } rows[] = {{LabelFw, cbFw, sgFw, FettFw},
                {LabelUe, cbUe, sgUe, fettu},
                {LabelTFw, cbTFw, sgTfw, FettTFw},
                {LabelTUe, cbTUe, sgTUe, fetttu}};
    int row = 1;
    for (const auto& r : rows) {
        r.label->setBuddy(r.font);
        fonts->addWidget(r.label, row, 0);
        fonts->addWidget(r.font, row, 1);
        fonts->addWidget(r.size, row, 2);
        fonts->addWidget(r.bold, row, 3);
        ++row;
    }
    fonts->setColumnStretch(1, 1);

    GroupZeichensatz =
        named(new QGroupBox(QStringLiteral("Zeichensatz"), this), "GroupZeichensatz");
    LabelCharset = named(new QLabel(QStringLiteral("Zeichensatz (Fremdspr.)"), GroupZeichensatz),
                         "LabelCharset");
    echarset = named(new QComboBox(GroupZeichensatz), "echarset");
    echarset->addItems(CharsetNames());
    LabelCharset->setBuddy(echarset);
    wcharset = named(new QComboBox(GroupZeichensatz), "wcharset");
    wcharset->addItems(CharsetNumberItems());
    wcharset->setVisible(false);
    SpeedButton8 = helpButton(GroupZeichensatz, "SpeedButton8");
    cbCharset = named(new QCheckBox(QStringLiteral("Zeichensatz auch in Übersetzungsfeldern "
                                                   "verwenden"),
                                    GroupZeichensatz),
                      "cbCharset");
    SpeedButton1 = helpButton(GroupZeichensatz, "SpeedButton1");
    auto* charset = new QGridLayout(GroupZeichensatz);
    charset->addWidget(LabelCharset, 0, 0);
    charset->addWidget(echarset, 0, 1);
    charset->addWidget(SpeedButton8, 0, 3, Qt::AlignRight);
    charset->addWidget(cbCharset, 1, 0, 1, 2);
    charset->addWidget(SpeedButton1, 1, 3, Qt::AlignRight);
    charset->setColumnStretch(2, 1);

    BitBtn1 = named(new QPushButton(QStringLiteral("&OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = named(new QPushButton(QStringLiteral("&Abbruch"), this), "BitBtn2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupDatenbank);
    layout->addWidget(GroupSchrift);
    layout->addWidget(GroupZeichensatz);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tdbeform::connectControls() {
    connect(Edit1, &QLineEdit::textEdited, this, [this] { Edit1Change(); });
    connect(Button1, &QPushButton::clicked, this, &Tdbeform::Button1Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &Tdbeform::SpeedButton8Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tdbeform::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tdbeform::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tdbeform::BitBtn2Click);
}

void Tdbeform::FormCreate() {
    const QStringList families = QFontDatabase::families();
    for (QComboBox* box : {cbFw, cbUe, cbTFw, cbTUe}) {
        const QString shown = box->currentText();
        box->addItems(families);
        box->setEditText(shown);
    }
    QStringList sizes;
    for (int size : FontSizes)
        sizes << QString::number(size);
    for (QComboBox* box : {sgFw, sgUe, sgTfw, sgTUe}) {
        const QString shown = box->currentText();
        box->addItems(sizes);
        box->setEditText(shown);
    }
    echarset->setCurrentIndex(DefaultCharsetPosition - 1);
}

int Tdbeform::execute() {
    FormShow();
    const int result = platform::execModal(*this);
    FormClose();
    return result;
}

void Tdbeform::FormShow() {
    Edit1->setText(CurrentDatabaseName);
    Edit2->setText(CurrentLanguage);
    showFonts(DatabaseOptions);
    BitBtn1->setFocus();
}

void Tdbeform::showFonts(const TDatabaseOptionsRec& options) {
    cbFw->setEditText(options.WordFont);
    cbUe->setEditText(options.TranslationFont);
    cbTFw->setEditText(options.TableWordFont);
    cbTUe->setEditText(options.TableTranslationFont);
    sgFw->setEditText(QString::number(options.WordFontSize));
    sgUe->setEditText(QString::number(options.TranslationFontSize));
    sgTfw->setEditText(QString::number(options.TableWordFontSize));
    sgTUe->setEditText(QString::number(options.TableTranslationFontSize));
    FettFw->setChecked(options.WordFontBold);
    fettu->setChecked(options.TranslationFontBold);
    FettTFw->setChecked(options.TableWordFontBold);
    fetttu->setChecked(options.TableTranslationFontBold);
    const int position = IsValidCharsetPosition(options.CharsetPosition) ? options.CharsetPosition
                                                                         : DefaultCharsetPosition;
    echarset->setCurrentIndex(position - 1);
    wcharset->setCurrentIndex(position);
    cbCharset->setChecked(options.CharsetInTranslation);
}

TDatabaseOptionsRec Tdbeform::fontChoice(const TDatabaseOptionsRec& base) const {
    TDatabaseOptionsRec choice = base;
    choice.WordFont = fontOf(cbFw, base.WordFont);
    choice.TranslationFont = fontOf(cbUe, base.TranslationFont);
    choice.TableWordFont = fontOf(cbTFw, base.TableWordFont);
    choice.TableTranslationFont = fontOf(cbTUe, base.TableTranslationFont);
    choice.WordFontSize = sizeOf(sgFw, base.WordFontSize);
    choice.TranslationFontSize = sizeOf(sgUe, base.TranslationFontSize);
    choice.TableWordFontSize = sizeOf(sgTfw, base.TableWordFontSize);
    choice.TableTranslationFontSize = sizeOf(sgTUe, base.TableTranslationFontSize);
    choice.WordFontBold = FettFw->isChecked();
    choice.TranslationFontBold = fettu->isChecked();
    choice.TableWordFontBold = FettTFw->isChecked();
    choice.TableTranslationFontBold = fetttu->isChecked();
    // CharsetIndex is the visible item + 1; wcharset holds its number at that
    // index, which the record derives from the position.
    choice.CharsetPosition = echarset->currentIndex() + 1;
    if (!IsValidCharsetPosition(choice.CharsetPosition))
        choice.CharsetPosition = DefaultCharsetPosition;
    choice.CharsetInTranslation = cbCharset->isChecked();
    return choice;
}

void Tdbeform::BitBtn1Click() {
    wcharset->setCurrentIndex(echarset->currentIndex() + 1);
    const TDatabaseOptionsRec choice = fontChoice(DatabaseOptions);
    if (Form1)
        Form1->Schriftart(choice);
    else
        DatabaseOptions = choice;
    done(platform::ResultOk);
}

void Tdbeform::BitBtn2Click() {
    done(AbortResult);
}

void Tdbeform::FormClose() {
    if (CurrentTablePath.isEmpty()) return;
    const QString previousLanguage = CurrentLanguage;
    const QString previousName = CurrentDatabaseName;
    qint64 currentId = -1;
    if (Form1 && Form1->Query->isActive() && !Form1->Query->isEmpty())
        currentId = Form1->Query->currentId();

    // Releasing the table stores what was typed into the current word.
    const RelocationOutcome outcome = RenameDatabaseFiles(Edit1->text(), Edit2->text());
    if (Form1 && (outcome == RelocationOutcome::Done || outcome == RelocationOutcome::Failed)) {
        ReopenLessonQuery(*Form1->Query);
        if (currentId >= 0) Form1->Query->locate(currentId);
    }
    if (outcome == RelocationOutcome::Done && Form1 && CurrentDatabaseName != previousName)
        Form1->setWindowTitle(QStringLiteral("Orvikon Orvilex Vokabeltrainer - ") +
                              CurrentDatabaseName);

    LoadDatabaseOptionFiles();
    // Also what makes a database just created one of the recent ones.
    AddRecentDatabase(CurrentTablePath, CurrentDatabaseName, CurrentLanguage);
    if (!Form1) return;
    // Captions and the foreign-word alignment follow the language.
    if (CurrentLanguage != previousLanguage)
        Form1->SetLanguageLabels();
    else
        Form1->ApplyFonts();
    Form1->ShowWordTypeAndDifficulty();
    Form1->UpdateNavButtons();
}

void Tdbeform::Edit1Change() {
    if (nameCheckBusy_) return;
    const NameFieldCleanup cleaned =
        RemoveForbiddenNameCharacters(Edit1->text(), Edit1->cursorPosition());
    if (cleaned.removed == 0) return;
    nameCheckBusy_ = true;
    Edit1->setText(cleaned.text);
    Edit1->setCursorPosition(cleaned.caret);
    nameCheckBusy_ = false;
    for (int i = 0; i < cleaned.removed; ++i)
        platform::showMessage(NameFieldForbiddenMessage(), QStringLiteral("Fehler"),
                              platform::Icon::Error);
}

void Tdbeform::Button1Click() {
    if (FormSO) FormSO->checkit();
}

void Tdbeform::SpeedButton8Click() {
    showHelp(CharsetHelp);
}

void Tdbeform::SpeedButton1Click() {
    showHelp(CharsetInTranslationHelp);
}
