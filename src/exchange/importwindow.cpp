#include "exchange/importwindow.h"

#include "exchange/exportwidgets.h"
#include "platform/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TImportForm* ImportForm = nullptr;

namespace {

QComboBox* columnCombo(QWidget* parent, int n) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("ComboBox%1").arg(n));
    combo->addItems(UniversalColumnItems());
    combo->setMinimumContentsLength(11);
    return combo;
}

void errorBox(const QString& text) {
    platform::showMessage(text, QStringLiteral("Fehler"), platform::Icon::Error);
}

} // namespace

TImportForm::TImportForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("ImportForm"));
    setWindowTitle(QStringLiteral("Universalimport"));
    buildLayout();

    connect(Button1, &QPushButton::clicked, this, &TImportForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TImportForm::Button2Click);
    connect(chkLektion, &QCheckBox::clicked, this, &TImportForm::chkLektionClick);
    connect(chkAlleDateien, &QCheckBox::pressed, this, &TImportForm::chkAlleDateienMouseDown);
    connect(cmbFeld, &QComboBox::editTextChanged, this, &TImportForm::cmbFeldChange);
    for (int n = 1; n <= UniversalColumnCount; ++n)
        connect(columns_[n], &QComboBox::currentIndexChanged, this, &TImportForm::cmbFeldChange);
    FormShow();
}

void TImportForm::buildLayout() {
    Label1 = new QLabel(
        QStringLiteral("Die ersten Zeilen aus der zu importierenden Datei lauten: "), this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 4 + 14);
    Label2 = new QLabel(QStringLiteral("Bitte gleichen Sie die Struktur an :"), this);
    lblpreview = new QLineEdit(this);
    lblpreview->setObjectName(QStringLiteral("lblpreview"));
    lblpreview->setReadOnly(true);
    SpeedButton5 = exchange::helpButton(
        this, "SpeedButton5",
        QStringLiteral("Die hier ausgebene Zeile muss von der Struktur her einer Zeile der zu "
                       "importierenden Datei entsprechen.\n\r"
                       "Sie können diese Zeile anpassen, indem Sie die Trennzeichen modifizieren, "
                       "bzw. unten im Fenster die entsprechenden Felder in der gewünschten "
                       "Reihenfolge auswählen."));
    auto* preview = new QHBoxLayout;
    preview->addWidget(lblpreview, 1);
    preview->addWidget(SpeedButton5);

    GroupBox2 = new QGroupBox(QStringLiteral("Trennzeichen"), this);
    const exchange::SeparatorLists lists = exchange::separatorLists(GroupBox2);
    cmbFeld = lists.field;
    cmbUebersetzung = lists.translation;
    cmbSatz = lists.record;
    SpeedButton1 = exchange::helpButton(
        GroupBox2, "SpeedButton1",
        QStringLiteral("Unter Feldern versteht man die Daten, die zu einer Vokabel (Datensatz) "
                       "gehören, wie z.B. Übersetzung, Schwierigkeit und Wortart."));
    SpeedButton2 = exchange::helpButton(
        GroupBox2, "SpeedButton2",
        QStringLiteral("Gibt an, mit welchem Zeichen mehrere Bedeutungen einer Vokabel getrennt "
                       "sind."));
    SpeedButton3 = exchange::helpButton(
        GroupBox2, "SpeedButton3",
        QStringLiteral("Gibt an, mit welchem Zeichen die einzelnen Vokabeln getrennt sind."));
    auto* separators = new QGridLayout(GroupBox2);
    exchange::addSeparatorRows(separators, GroupBox2, lists, SpeedButton1, SpeedButton2,
                               SpeedButton3);
    separators->setColumnStretch(3, 1);

    auto* columnsBox = new QGroupBox(QStringLiteral("Felder in der Reihenfolge der Spalten"), this);
    auto* columnGrid = new QGridLayout(columnsBox);
    columnGrid->setHorizontalSpacing(8);
    columnGrid->setVerticalSpacing(2);
    for (int n = 1; n <= UniversalColumnCount; ++n) {
        columns_[n] = columnCombo(columnsBox, n);
        const int row = (n - 1) / 5 * 2;
        const int col = (n - 1) % 5;
        auto* label = new QLabel(QStringLiteral("Spalte %1").arg(n), columnsBox);
        label->setBuddy(columns_[n]);
        columnGrid->addWidget(label, row, col);
        columnGrid->addWidget(columns_[n], row + 1, col);
    }
    ComboBox1 = columns_[1];
    ComboBox2 = columns_[2];
    ComboBox3 = columns_[3];
    ComboBox4 = columns_[4];
    ComboBox5 = columns_[5];
    ComboBox6 = columns_[6];
    ComboBox7 = columns_[7];
    ComboBox8 = columns_[8];
    ComboBox9 = columns_[9];
    ComboBox10 = columns_[10];
    ComboBox11 = columns_[11];
    ComboBox12 = columns_[12];
    ComboBox13 = columns_[13];
    ComboBox14 = columns_[14];
    ComboBox15 = columns_[15];

    chkLektion = new QCheckBox(QStringLiteral("A&utomatische Lektionkonvertierung"), this);
    chkLektion->setObjectName(QStringLiteral("chkLektion"));
    chkAlleDateien =
        new QCheckBox(QStringLiteral("A&lle Dateien des aktuellen Ordners importieren"), this);
    chkAlleDateien->setObjectName(QStringLiteral("chkAlleDateien"));
    SpeedButton4 = exchange::helpButton(
        this, "SpeedButton4",
        QStringLiteral(
            "Wenn die Option \"Alle Dateien importieren\" ausgewählt ist, werden alle Dateien "
            "des Ordners importiert.\n\r"
            "Dabei wird für jede importierte Datei eine eigene Lektion angelegt.\n\r\n\r"
            "Falls eine Datei auch Informationen über die Lektion einer Vokabel enthält, dabei "
            "aber nicht das bei Orvilex übliche Format (z.B. \"001A1\") einhält,\n\r"
            "sondern einfache Zahlen als Lektionsangabe benutzt, kann die Option \"Automatische "
            "Lektionskonvertierung\" aktiviert werden, um z.B. \"1\" in \"001A1\" oder \"123\" "
            "in \"123A1\" zu konvertieren."));
    auto* options = new QGridLayout;
    options->addWidget(chkLektion, 0, 0);
    options->addWidget(chkAlleDateien, 1, 0);
    options->addWidget(SpeedButton4, 0, 1, 2, 1, Qt::AlignVCenter);
    options->setColumnStretch(2, 1);

    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setVisible(false);

    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Memo1);
    layout->addSpacing(4);
    layout->addWidget(Label2);
    layout->addLayout(preview);
    layout->addWidget(GroupBox2);
    layout->addWidget(columnsBox);
    layout->addLayout(options);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TImportForm::setFile(const QString& path, const QStringList& firstLines) {
    Memo1->setPlainText(firstLines.join(QLatin1Char('\n')));
    folder_ = QFileInfo(path).absolutePath();
    FileListBox1->clear();
    const QDir dir(folder_);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(name, FileListBox1);
        item->setData(Qt::UserRole, dir.filePath(name));
    }
}

void TImportForm::FormShow() {
    for (int n = 1; n <= UniversalColumnCount; ++n) {
        const QSignalBlocker blocker(columns_[n]);
        columns_[n]->setCurrentIndex(n <= 2 ? n : 0);
    }
    cmbFeldChange();
}

void TImportForm::cmbFeldChange() {
    QStringList used;
    for (int n = 1; n <= UniversalColumnCount; ++n) {
        tags_[n] = UniversalColumnCode(columns_[n]->currentIndex());
        if (!columns_[n]->currentText().isEmpty()) used << columns_[n]->currentText();
    }
    lblpreview->setText(used.join(cmbFeld->currentText()));
}

void TImportForm::Button1Click() {
    setResult(0);
    const QString satz = cmbSatz->currentText();
    const QString feld = cmbFeld->currentText();
    const QString uebersetzung = cmbUebersetzung->currentText();
    if (satz.isEmpty() || feld.isEmpty() || uebersetzung.isEmpty()) {
        errorBox(QStringLiteral("Bitte alle notwendigen Trennzeichen angeben!"));
        return;
    }
    if (satz == feld || satz == uebersetzung || feld == uebersetzung) {
        errorBox(QStringLiteral("Es darf kein Trennzeichen doppelt auftreten!"));
        return;
    }
    cmbFeldChange();
    std::array<int, ExportFieldCount + 1> chosen{};
    for (int n = 1; n <= UniversalColumnCount; ++n) {
        const int code = tags_[n];
        if (code >= 1 && code <= ExportFieldCount && ++chosen[code] > 1) {
            errorBox(QStringLiteral("Es darf jedes Feld nur einmal ausgewählt werden!"));
            return;
        }
    }
    // Without these two columns no word could be made of a line.
    if (!chosen[FieldFremdwort] || !chosen[FieldUebersetzung]) {
        errorBox(QStringLiteral("Bitte wählen Sie aus, in welcher Spalte das Fremdwort und in "
                                "welcher die Übersetzung steht."));
        return;
    }
    done(1);
}

void TImportForm::Button2Click() {
    done(2);
}

void TImportForm::chkLektionClick() {
    if (chkAlleDateien->isChecked()) chkAlleDateien->setChecked(false);
}

void TImportForm::chkAlleDateienMouseDown() {
    if (chkLektion->isChecked()) chkLektion->setChecked(false);
}

QComboBox* TImportForm::column(int n) const {
    return n >= 1 && n <= UniversalColumnCount ? columns_[n] : nullptr;
}

int TImportForm::columnTag(int n) const {
    return n >= 1 && n <= UniversalColumnCount ? tags_[n] : UnusedColumnCode;
}

FieldCodes TImportForm::columnCodes() const {
    FieldCodes codes;
    for (int n = 1; n <= UniversalColumnCount; ++n)
        codes << UniversalColumnCode(columns_[n]->currentIndex());
    return codes;
}

ExportSeparators TImportForm::separators() const {
    ExportSeparators s;
    s.record = SeparatorFromChoice(cmbSatz->currentText(), false);
    s.field = SeparatorFromChoice(cmbFeld->currentText(), false);
    s.translation = SeparatorFromChoice(cmbUebersetzung->currentText(), false);
    s.recordReplacement.clear();
    s.fieldReplacement.clear();
    s.translationReplacement.clear();
    return s;
}

QStringList TImportForm::folderFiles() const {
    QStringList files;
    for (int i = 0; i < FileListBox1->count(); ++i)
        files << FileListBox1->item(i)->data(Qt::UserRole).toString();
    return files;
}
