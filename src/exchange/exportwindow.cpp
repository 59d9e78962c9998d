#include "exchange/exportwindow.h"

#include "exchange/exportwidgets.h"
#include "platform/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TExportform* Exportform = nullptr;

namespace {

const QString CommonParagraph = QStringLiteral(
    "\n\rWenn in dem zu exportierenden Wert ein Trennzeichen enthalten ist, wird dieses beim "
    "Export durch das Ersatzzeichen ersetzt. Beim Import wird dieses Ersetzen automatisch wieder "
    "rückgängig gemacht. Wozu das ganze gut ist, können Sie der Hilfe entnehmen.");

// Values that would come back wrong: the user decides whether to write them.
bool confirmUnreadableValues(int count) {
    if (count <= 0) return true;
    const QString text =
        count == 1 ? QStringLiteral("Ein Wert enthält ein Trennzeichen ohne Ersatzzeichen oder "
                                    "endet mit dem Anfang eines Trennzeichens; er wird beim "
                                    "Importieren nicht richtig gelesen.")
                   : QStringLiteral("%1 Werte enthalten ein Trennzeichen ohne Ersatzzeichen oder "
                                    "enden mit dem Anfang eines Trennzeichens; sie werden beim "
                                    "Importieren nicht richtig gelesen.")
                         .arg(count);
    return platform::showMessage(text + QStringLiteral("\nTrotzdem exportieren?"),
                                 QStringLiteral("Achtung"), platform::Icon::Warning,
                                 platform::Buttons::YesNo) == platform::Answer::Yes;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool ticked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(ticked);
    return box;
}

QLineEdit* replacementEdit(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(2);
    edit->setFixedWidth(48);
    return edit;
}

// "\"" + text + "\" :" as the replacement labels name their separator.
QString replacementLabel(const QString& separator) {
    return QStringLiteral("\" ") + separator + QStringLiteral(" \" :");
}

QString boxCaption(QString caption) {
    if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
    return caption.trimmed().replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

TExportform::TExportform(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Exportform"));
    setWindowTitle(QStringLiteral("Vokabeln als Textdatei exportieren"));
    buildLayout();

    connect(btnWeiter, &QPushButton::clicked, this, &TExportform::btnWeiterClick);
    connect(Button1, &QPushButton::clicked, this, &TExportform::Button1Click);
    connect(btnStandard, &QPushButton::clicked, this, &TExportform::btnStandardClick);
    connect(cmbFeld, &QComboBox::editTextChanged, this, &TExportform::cmbFeldChange);
    connect(cmbUebersetzung, &QComboBox::editTextChanged, this,
            &TExportform::cmbUebersetzungChange);
    connect(cmbSatz, &QComboBox::editTextChanged, this, &TExportform::cmbSatzChange);
    cmbFeldChange();
    cmbUebersetzungChange();
    cmbSatzChange();
}

void TExportform::buildLayout() {
    GroupBox1 = new QGroupBox(QStringLiteral("Zu exportierende Felder"), this);
    chkFremdwort = checkBox(GroupBox1, "chkFremdwort", QStringLiteral("&Fremdwort"), true);
    chkUebersetzung = checkBox(GroupBox1, "chkUebersetzung", QStringLiteral("&Übersetzung"), true);
    chkLektion = checkBox(GroupBox1, "chkLektion", QStringLiteral("&Lektion"), true);
    chkWortart = checkBox(GroupBox1, "chkWortart", QStringLiteral("W&ortart"), false);
    chkSchwierigkeit =
        checkBox(GroupBox1, "chkSchwierigkeit", QStringLiteral("&Schwierigkeit"), false);
    chkGenus = checkBox(GroupBox1, "chkGenus", QStringLiteral("&Genus"), false);
    chkGenitiv = checkBox(GroupBox1, "chkGenitiv", QStringLiteral("G&enitiv"), false);
    chkExtra = checkBox(GroupBox1, "chkExtra", QStringLiteral("&Bemerkungen"), false);
    chkPraefut = checkBox(GroupBox1, "chkPraefut", QStringLiteral("Stammform &1"), false);
    chkPerAor = checkBox(GroupBox1, "chkPerAor", QStringLiteral("Stammform &2"), false);
    chkPerfekt = checkBox(GroupBox1, "chkPerfekt", QStringLiteral("Stammform &3"), false);
    chkPerfekt_passiv =
        checkBox(GroupBox1, "chkPerfekt_passiv", QStringLiteral("Stammform &4"), false);
    chkAorist_passiv =
        checkBox(GroupBox1, "chkAorist_passiv", QStringLiteral("Stammform &5"), false);
    chkFutur_passiv = checkBox(GroupBox1, "chkFutur_passiv", QStringLiteral("Stammform &6"), false);
    auto* fields = new QGridLayout(GroupBox1);
    fields->setHorizontalSpacing(24);
    const QList<QCheckBox*> left{chkFremdwort,     chkUebersetzung, chkLektion, chkWortart,
                                 chkSchwierigkeit, chkGenus,        chkGenitiv};
    const QList<QCheckBox*> right{chkExtra,          chkPraefut,       chkPerAor,      chkPerfekt,
                                  chkPerfekt_passiv, chkAorist_passiv, chkFutur_passiv};
    for (int i = 0; i < left.size(); ++i) {
        fields->addWidget(left[i], i, 0);
        fields->addWidget(right[i], i, 1);
    }

    GroupBox2 = new QGroupBox(QStringLiteral("Trennzeichen"), this);
    const exchange::SeparatorLists lists = exchange::separatorLists(GroupBox2);
    cmbFeld = lists.field;
    cmbUebersetzung = lists.translation;
    cmbSatz = lists.record;
    editErsatzFeld = replacementEdit(GroupBox2, "editErsatzFeld", QStringLiteral("~+"));
    editErsatzUebersetzung =
        replacementEdit(GroupBox2, "editErsatzUebersetzung", QStringLiteral("##"));
    editErsatzSatz = replacementEdit(GroupBox2, "editErsatzSatz", QStringLiteral("§$"));
    lblErsatz1 = new QLabel(GroupBox2);
    lblErsatz2 = new QLabel(GroupBox2);
    lblErsatz3 = new QLabel(GroupBox2);
    lblErsatz1->setObjectName(QStringLiteral("lblErsatz1"));
    lblErsatz2->setObjectName(QStringLiteral("lblErsatz2"));
    lblErsatz3->setObjectName(QStringLiteral("lblErsatz3"));
    SpeedButton3 = exchange::helpButton(GroupBox2, "SpeedButton3",
                                        QStringLiteral("Jede Vokabel bildet einen Datensatz.") +
                                            CommonParagraph);
    SpeedButton1 = exchange::helpButton(
        GroupBox2, "SpeedButton1",
        QStringLiteral("Unter Feldern versteht man die Daten, die zu einer Vokabel (Datensatz) "
                       "gehören, wie z.B. Übersetzung, Schwierigkeit und Wortart.") +
            CommonParagraph);
    SpeedButton2 = exchange::helpButton(
        GroupBox2, "SpeedButton2",
        QStringLiteral("Wenn eine Vokabel mehrere Übersetzungen hat, werden die einzelnen "
                       "Bedeutungen durch das hier angegebene Zeichen getrennt.") +
            CommonParagraph);
    auto* separators = new QGridLayout(GroupBox2);
    separators->setHorizontalSpacing(8);
    separators->setColumnStretch(5, 1);
    exchange::addSeparatorRows(separators, GroupBox2, lists, SpeedButton1, SpeedButton2,
                               SpeedButton3);
    const std::pair<QLabel*, QLineEdit*> replacements[] = {{lblErsatz1, editErsatzFeld},
                                                           {lblErsatz2, editErsatzUebersetzung},
                                                           {lblErsatz3, editErsatzSatz}};
    for (int r = 0; r < 3; ++r) {
        separators->addWidget(new QLabel(QStringLiteral("Ersatzzeichen für"), GroupBox2), r, 3);
        separators->addWidget(replacements[r].first, r, 4);
        separators->addWidget(replacements[r].second, r, 5, Qt::AlignLeft);
    }

    chkLeer = checkBox(this, "chkLeer", QStringLiteral("Auch &leere Felder exportieren"), true);
    chkrtf = checkBox(this, "chkrtf", QStringLiteral("Als RTF-Datei abspeichern"), false);
    SpeedButton4 = exchange::helpButton(
        this, "SpeedButton4",
        QStringLiteral("Wenn diese Option nicht aktiviert ist, werden keine leeren Felder "
                       "exportiert. Das kann dazu führen, dass die Exportdatei nicht mehr "
                       "ordnungsgemäß importiert werden kann.\n\r"
                       "Die Option ist dafür hilfreich, wenn z.B. alle Stammformfelder exportiert "
                       "werden sollen, aber nicht immer alle Felder Daten enthalten (weil eine "
                       "Form nicht existiert).\n\r"
                       "Bei aktiverter Checkbox würde in diesem Fall das Trennzeichen zweimal in "
                       "die Datei geschrieben werden, was u.U. nicht erwünscht ist."));
    SpeedButton5 = exchange::helpButton(
        this, "SpeedButton5",
        QStringLiteral("Es wird eine RTF-Datei erstellt. Dadurch werden sprachspezifische "
                       "Sonderzeichen beibehalten.\n\r"
                       "Allerdings ist ein Import aus dieser Datei dann nicht mehr möglich."));
    auto* options = new QGridLayout;
    options->addWidget(chkLeer, 0, 0);
    options->addWidget(SpeedButton4, 0, 1);
    options->addWidget(chkrtf, 1, 0);
    options->addWidget(SpeedButton5, 1, 1);
    options->setColumnStretch(2, 1);

    btnStandard = new QPushButton(QStringLiteral("S&tandardwerte"), this);
    btnStandard->setObjectName(QStringLiteral("btnStandard"));
    btnWeiter = new QPushButton(QStringLiteral("&Weiter"), this);
    btnWeiter->setObjectName(QStringLiteral("btnWeiter"));
    btnWeiter->setDefault(true);
    Button1 = new QPushButton(QStringLiteral("&Abbruch"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnStandard);
    buttons->addStretch(1);
    buttons->addWidget(btnWeiter);
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addLayout(options);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TExportform::prepare(const std::array<QString, 6>& formCaptions, bool extraFormsShown) {
    cmbFeldChange();
    cmbUebersetzungChange();
    cmbSatzChange();
    QCheckBox* boxes[6] = {chkPraefut,        chkPerAor,        chkPerfekt,
                           chkPerfekt_passiv, chkAorist_passiv, chkFutur_passiv};
    for (int i = 0; i < 6; ++i)
        if (!formCaptions[i].trimmed().isEmpty()) boxes[i]->setText(boxCaption(formCaptions[i]));
    // Hidden boxes keep their state: it still decides whether the field is written.
    for (int i = 3; i < 6; ++i)
        boxes[i]->setVisible(extraFormsShown);
}

void TExportform::btnWeiterClick() {
    const SeparatorCheck check = CheckExportSeparators(
        {cmbSatz->currentText(), cmbFeld->currentText(), cmbUebersetzung->currentText(),
         editErsatzSatz->text(), editErsatzFeld->text(), editErsatzUebersetzung->text()},
        chkrtf->isChecked());
    if (!check.ok) {
        platform::showMessage(check.message, QStringLiteral("Fehler"), platform::Icon::Error);
        setResult(0);
        return;
    }
    if (!check.message.isEmpty())
        platform::showMessage(check.message, QStringLiteral("Information"),
                              platform::Icon::Information);
    ExportSettings chosen = settings();
    chosen.separators = check.separators;
    if (countUnreadableValues && !confirmUnreadableValues(countUnreadableValues(chosen))) {
        // Back to the dialog: the user may give a replacement or other separators.
        setResult(0);
        return;
    }
    check.separators.publish();
    done(1);
}

void TExportform::Button1Click() {
    done(2);
}

void TExportform::cmbFeldChange() {
    lblErsatz1->setText(replacementLabel(cmbFeld->currentText()));
}

void TExportform::cmbUebersetzungChange() {
    lblErsatz2->setText(replacementLabel(cmbUebersetzung->currentText()));
}

void TExportform::cmbSatzChange() {
    lblErsatz3->setText(replacementLabel(cmbSatz->currentText()));
}

void TExportform::btnStandardClick() {
    // The labels follow the lists through their change signals.
    cmbSatz->setCurrentIndex(1);
    cmbSatz->setEditText(QStringLiteral("Zeilenumbruch"));
    cmbFeld->setCurrentIndex(0);
    cmbFeld->setEditText(QStringLiteral("Tabulator"));
    cmbUebersetzung->setEditText(QStringLiteral(", "));
    editErsatzSatz->setText(QStringLiteral("§$"));
    editErsatzFeld->setText(QStringLiteral("~+"));
    editErsatzUebersetzung->setText(QStringLiteral("##"));
    for (int position = 1; position <= ExportFieldCount; ++position)
        fieldBox(position)->setChecked(position <= FieldLektion);
    chkLeer->setChecked(true);
}

QCheckBox* TExportform::fieldBox(int position) const {
    QCheckBox* const boxes[ExportFieldCount + 1] = {
        nullptr,          chkFremdwort, chkUebersetzung,   chkLektion,       chkWortart,
        chkSchwierigkeit, chkExtra,     chkGenus,          chkGenitiv,       chkPraefut,
        chkPerAor,        chkPerfekt,   chkPerfekt_passiv, chkAorist_passiv, chkFutur_passiv};
    return position >= 1 && position <= ExportFieldCount ? boxes[position] : nullptr;
}

ExportSettings TExportform::settings() const {
    ExportSettings settings;
    for (int position = 1; position <= ExportFieldCount; ++position)
        settings.fields[position] = fieldBox(position)->isChecked();
    settings.emptyFields = chkLeer->isChecked();
    settings.rtf = chkrtf->isChecked();
    settings.separators = ExportSeparators::current();
    return settings;
}
