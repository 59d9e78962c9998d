// The controls of the search window and how they are laid out.
#include "search/searchwindow.h"

#include "database/vocabularytable.h"
#include "platform/messagebox.h"
#include "platform/ownerwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* helpButton(QWidget* parent, const QString& text) {
    auto* button = new QToolButton(parent);
    button->setFocusPolicy(Qt::NoFocus);
    button->setText(QStringLiteral("?"));
    button->setFixedSize(22, 22);
    button->setToolTip(QStringLiteral("Hilfe"));
    QObject::connect(button, &QToolButton::clicked, button, [button, text] {
        const platform::OwnerWindowScope owner(button);
        platform::showMessage(text, QStringLiteral("Information"), platform::Icon::Information,
                              platform::Buttons::Ok);
    });
    return button;
}

QHBoxLayout* withHelp(QWidget* control, QToolButton* help) {
    auto* row = new QHBoxLayout;
    row->addWidget(control);
    row->addWidget(help);
    row->addStretch();
    return row;
}

} // namespace

void Tsuchen::buildLayout() {
    setWindowTitle(QStringLiteral("Vokabel suchen"));
    auto* outer = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    outer->addWidget(PageControl1);

    // Page "Vokabelsuche".
    Vokabelsuche = new QWidget;
    PageControl1->addTab(Vokabelsuche, QStringLiteral("Vokabelsuche"));
    auto* page = new QVBoxLayout(Vokabelsuche);

    auto* termBox = new QGroupBox(QStringLiteral("Suchbegriff"), Vokabelsuche);
    auto* termGrid = new QGridLayout(termBox);
    Edit1 = new QLineEdit(termBox);
    Edit1->setMinimumWidth(260);
    auto* termLabel = new QLabel(QStringLiteral("Suchbegriff eingeben : "), termBox);
    termLabel->setBuddy(Edit1);
    btnStart = new QPushButton(QStringLiteral("&Suche starten"), termBox);
    btnStart->setDefault(true);
    termGrid->addWidget(termLabel, 0, 0);
    termGrid->addWidget(Edit1, 0, 1);
    termGrid->addWidget(btnStart, 0, 2);
    chkGriechisch = new QCheckBox(QStringLiteral("Schrift der Fremdsprache"), termBox);
    termGrid->addWidget(chkGriechisch, 1, 1);
    page->addWidget(termBox);

    auto* fieldBox = new QGroupBox(QStringLiteral("Suchen in"), Vokabelsuche);
    auto* fieldGrid = new QGridLayout(fieldBox);
    cFremdwort = new QCheckBox(QStringLiteral("Feld &Fremdwort"), fieldBox);
    cUebersetzung = new QCheckBox(QStringLiteral("Feld &Übersetzung"), fieldBox);
    cGenitiv = new QCheckBox(QStringLiteral("Feld &Genitiv"), fieldBox);
    cBemerkungen = new QCheckBox(QStringLiteral("Feld &Bemerkungen"), fieldBox);
    cFremdwort->setChecked(true);
    cUebersetzung->setChecked(true);
    fieldGrid->addWidget(cFremdwort, 0, 0);
    fieldGrid->addWidget(cUebersetzung, 1, 0);
    fieldGrid->addWidget(cGenitiv, 2, 0);
    fieldGrid->addWidget(cBemerkungen, 3, 0);
    chkGross = new QCheckBox(QStringLiteral("G&roß-/Kleinschreibung"), fieldBox);
    chkGenau = new QCheckBox(QStringLiteral("&Exakte Zeichenfolge"), fieldBox);
    SpeedButton13 = helpButton(fieldBox, QStringLiteral("Wenn dieses Feld markiert ist, wird bei der "
                                                        "Suche auf Groß- und Kleinschreibung "
                                                        "Rücksicht genommen !"));
    SpeedButton1 = helpButton(
        fieldBox, QStringLiteral("Wenn dieses Feld markiert ist, werden nur Vokabeln gefunden, die "
                                 "ganau mit dem Suchbegriff übereinstimmen.\rAchtung: Wenn das "
                                 "Übersetzungsfeld einer Vokabel mehrere Bedeutungen enthält, gelten "
                                 "alle Bedeutungen zusammen als ein Wort !"));
    fieldGrid->addLayout(withHelp(chkGross, SpeedButton13), 0, 1);
    fieldGrid->addLayout(withHelp(chkGenau, SpeedButton1), 1, 1);
    fieldGrid->setColumnStretch(1, 1);
    page->addWidget(fieldBox);

    auto* moreBox = new QGroupBox(QStringLiteral("Weitere Bedingungen"), Vokabelsuche);
    auto* more = new QGridLayout(moreBox);
    wortartBox = new QComboBox(moreBox);
    wortartBox->addItems(WordClassNames());
    wortartBox->addItem(QStringLiteral("Alle"));
    wortartBox->setCurrentIndex(search::AllWordClassesItem);
    schwierigkeitBox = new QComboBox(moreBox);
    schwierigkeitBox->addItems(search::DifficultyItems());
    schwierigkeitBox->setCurrentIndex(search::AllDifficultiesItem);
    SpeedButton3 = helpButton(
        moreBox, QStringLiteral("Es werden nur Vokabeln der hier ausgewählten Wortart gefunden !"));
    SpeedButton4 = helpButton(
        moreBox,
        QStringLiteral("Es werden nur Vokabeln des hier ausgewählten Schwierigkeitsgrad gefunden !"));
    more->addWidget(new QLabel(QStringLiteral("Wortart:"), moreBox), 0, 0);
    more->addLayout(withHelp(wortartBox, SpeedButton3), 0, 1);
    more->addWidget(new QLabel(QStringLiteral("Schwierigkeit:"), moreBox), 1, 0);
    more->addLayout(withHelp(schwierigkeitBox, SpeedButton4), 1, 1);

    Edit2 = new QLineEdit(QStringLiteral("0"), moreBox);
    Edit3 = new QLineEdit(QStringLiteral("100"), moreBox);
    for (QLineEdit* edit : {Edit2, Edit3}) {
        edit->setMaxLength(3);
        edit->setFixedWidth(44);
        edit->setAlignment(Qt::AlignRight);
    }
    auto* range = new QHBoxLayout;
    range->addWidget(Edit2);
    range->addWidget(new QLabel(QStringLiteral("%    -"), moreBox));
    range->addWidget(Edit3);
    range->addWidget(new QLabel(QStringLiteral("%"), moreBox));
    range->addWidget(new QLabel(QStringLiteral("der Abfrage gewusst"), moreBox));
    range->addStretch();
    more->addWidget(new QLabel(QStringLiteral("Erfolg:"), moreBox), 2, 0);
    more->addLayout(range, 2, 1);
    cbngw = new QCheckBox(QStringLiteral("nur bei letzter Abfrage \"nicht gewusste\""), moreBox);
    cbgw = new QCheckBox(QStringLiteral("nur bei letzter Abfrage \"gewusste\""), moreBox);
    more->addWidget(cbngw, 3, 1);
    more->addWidget(cbgw, 4, 1);
    eLektion = new QLineEdit(moreBox);
    eLektion->setMaxLength(5);
    eLektion->setFixedWidth(70);
    auto* lessonLabel = new QLabel(QStringLiteral("Lektion "), moreBox);
    lessonLabel->setBuddy(eLektion);
    more->addWidget(lessonLabel, 5, 0);
    auto* lessonRow = new QHBoxLayout;
    lessonRow->addWidget(eLektion);
    lessonRow->addWidget(new QLabel(QStringLiteral("(z. B. 7, 12B oder 3A2)"), moreBox));
    lessonRow->addStretch();
    more->addLayout(lessonRow, 5, 1);
    more->setColumnStretch(1, 1);
    page->addWidget(moreBox);
    page->addStretch();

    // Page "Tabelle".
    Tabelle = new QWidget;
    PageControl1->addTab(Tabelle, QStringLiteral("Tabelle"));
    auto* table = new QVBoxLayout(Tabelle);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("Gefundene Einträge :"), Tabelle));
    Labelanzahl = new QLabel(QStringLiteral(" "), Tabelle);
    countRow->addWidget(Labelanzahl);
    countRow->addStretch();
    table->addLayout(countRow);
    DBGrid1 = new QTableView(Tabelle);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    table->addWidget(DBGrid1, 1);
    auto* opRow = new QHBoxLayout;
    opRow->addWidget(new QLabel(QStringLiteral("Angezeigte Vokabeln "), Tabelle));
    cmboperation = new QComboBox(Tabelle);
    cmboperation->addItems({QStringLiteral("in neue Lektion"), QStringLiteral("Kopieren nach"),
                            QStringLiteral("Verschieben nach"), QStringLiteral("Löschen"),
                            QStringLiteral("Exportieren in Datei")});
    opRow->addWidget(cmboperation);
    btnop = new QPushButton(QStringLiteral("&Durchführen"), Tabelle);
    opRow->addWidget(btnop);
    SpeedButton5 = helpButton(
        Tabelle, QStringLiteral("Nach erfolgreicher Suche können die gefundenen Vokabeln gelöscht, "
                                "kopiert oder verschoben werden.\rAußerdem kann eine neue Lektion "
                                "erstellt werden, in die die gefundenen Vokabeln kopiert werden."));
    opRow->addWidget(SpeedButton5);
    opRow->addStretch();
    table->addLayout(opRow);

    resize(560, 520);
}
