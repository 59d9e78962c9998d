// The controls of the general settings dialog and their help buttons.
#include "settings/optionsdialog.h"

#include "platform/formwidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using platform::addRow;
using platform::checkBox;
using platform::group;
using platform::helpButton;
using platform::optionGrid;

} // namespace

void Tfopt::buildLayout() {
    setWindowTitle(QStringLiteral("Allgemeine Einstellungen"));

    // Greek.
    GroupGriechisch = group(this, "GroupGriechisch", QStringLiteral("Griechisch"));
    AkzAkt =
        checkBox(GroupGriechisch, "AkzAkt",
                 QStringLiteral("Akzentsetzungsverfahren (Greek.ttf) bei Griechischer Schrift"));
    SpeedButton1 = helpButton(this, "SpeedButton1",
                              QStringLiteral("Ist die Schrift \"Greek.ttf\" gewählt, dann wird bei "
                                             "Wahl dieser Option ermöglicht, einfach Akzente zu "
                                             "setzen. Mehr dazu in der Hilfe."));
    addRow(optionGrid(GroupGriechisch), AkzAkt, SpeedButton1);

    // Settings files per language.
    GroupEinstellungsdateien =
        group(this, "GroupEinstellungsdateien", QStringLiteral("Einstellungsdateien"));
    AusJedAn =
        checkBox(GroupEinstellungsdateien, "AusJedAn",
                 QStringLiteral("Separate Auswahl-/Druckeinstellungsdatei für jede Sprache"));
    AbfJedAn = checkBox(GroupEinstellungsdateien, "AbfJedAn",
                        QStringLiteral("Separate Abfrageeinstellungsdatei für jede Sprache"));
    SpeedButton2 = helpButton(this, "SpeedButton2",
                              QStringLiteral("Die Änderungen bei der Auswahl (z. B. Wortart, "
                                             "Fremd.-Mutterspr. ..) und bei der Druckauswahl "
                                             "(Format...) werden für jede Sprache einzeln "
                                             "gespeichert."));
    SpeedButton3 = helpButton(this, "SpeedButton3",
                              QStringLiteral("Für jede Sprache ist somit eine eigene "
                                             "Abfrageeinstellung (z. B. Auto Korrektur ...) "
                                             "möglich."));
    {
        QGridLayout* grid = optionGrid(GroupEinstellungsdateien);
        addRow(grid, AusJedAn, SpeedButton2);
        addRow(grid, AbfJedAn, SpeedButton3);
    }

    // User character table.
    GroupSonderzeichentabelle =
        group(this, "GroupSonderzeichentabelle", QStringLiteral("Sonderzeichentabelle"));
    sza = checkBox(GroupSonderzeichentabelle, "sza",
                   QStringLiteral("Benutzerzeichentabelle automatisch anzeigen"));
    szs = checkBox(GroupSonderzeichentabelle, "szs",
                   QStringLiteral("Separate Benutzerzeichentabelle für jede Sprache"));
    cbMehrZeichen = checkBox(GroupSonderzeichentabelle, "cbMehrZeichen",
                             QStringLiteral("Mehr Zeichen in Benutzerzeichentabelle"));
    SpeedButton4 = helpButton(this, "SpeedButton4",
                              QStringLiteral("Es kann bei Wahl dieser Option eine Tabelle für jede "
                                             "Sprache angelegt werden."));
    SpeedButton5 = helpButton(this, "SpeedButton5",
                              QStringLiteral("Beim Laden einer Datenbank wird die Tabelle "
                                             "automatisch angezeigt."));
    SpeedButton12 = helpButton(this, "SpeedButton12",
                               QStringLiteral("Hier können Sie einstellen, dass die "
                                              "Benutzerzeichentabelle vier Zeilen mehr (24 Zeichen "
                                              "mehr) enthält."));
    LabelGroesse = new QLabel(QStringLiteral("Größe:"), GroupSonderzeichentabelle);
    LabelKlein = new QLabel(QStringLiteral("klein"), GroupSonderzeichentabelle);
    LabelGross = new QLabel(QStringLiteral("groß"), GroupSonderzeichentabelle);
    tabg = new QSlider(Qt::Horizontal, GroupSonderzeichentabelle);
    tabg->setObjectName(QStringLiteral("tabg"));
    tabg->setRange(TGeneralOptionsRec::MinCharTableSize, TGeneralOptionsRec::MaxCharTableSize);
    tabg->setValue(5);
    tabg->setPageStep(1);
    tabg->setTickInterval(1);
    tabg->setTickPosition(QSlider::TicksBelow);
    tabg->setMinimumWidth(160);
    {
        QGridLayout* grid = optionGrid(GroupSonderzeichentabelle);
        addRow(grid, sza, SpeedButton5);
        addRow(grid, szs, SpeedButton4);
        addRow(grid, cbMehrZeichen, SpeedButton12);
        auto* size = new QWidget(GroupSonderzeichentabelle);
        auto* row = new QHBoxLayout(size);
        row->setContentsMargins(0, 4, 0, 0);
        row->addWidget(LabelGroesse);
        row->addSpacing(8);
        row->addWidget(LabelKlein);
        row->addWidget(tabg);
        row->addWidget(LabelGross);
        row->addStretch(1);
        addRow(grid, size, nullptr);
    }

    // The program's own behaviour.
    GroupOrvilex = group(this, "GroupOrvilex", QStringLiteral("Orvilex Einstellungen"));
    wbla = checkBox(GroupOrvilex, "wbla",
                    QStringLiteral("Bei Lektionenauswahl automatisch  'Wie bei letzter Abfrage'"));
    sca = checkBox(GroupOrvilex, "sca", QStringLiteral("Auf Bildschirmgröße skalieren"));
    sbanz = checkBox(GroupOrvilex, "sbanz",
                     QStringLiteral("Stammformen/Sonderformenbeschriftungen bei der Abfrage "
                                    "anzeigen"));
    cbdopp = checkBox(GroupOrvilex, "cbdopp",
                      QStringLiteral("Warnung bei doppelt eingegebenen Vokabeln"));
    cbeinf = checkBox(GroupOrvilex, "cbeinf",
                      QStringLiteral("Neu eingegebene Vokableln immer am Ende der Lektion "
                                     "anfügen"));
    cbShortcutz = checkBox(GroupOrvilex, "cbShortcutz", QStringLiteral("Shortcuts deaktivieren"));
    SpeedButton6 = helpButton(this, "SpeedButton6",
                              QStringLiteral("Wird auf Abfrage geklickt, werden automatisch die "
                                             "Lektionen (als Voreinstellung) so wie bei der "
                                             "letzten Abfrage gewählt."));
    SpeedButton7 = helpButton(this, "SpeedButton7",
                              QStringLiteral("Ist die Auflösung höher als 800*600, dann werden "
                                             "Eingabe und Abfragefenster auf die Bildschirmgröße "
                                             "skaliert (also vergrößert)."));
    SpeedButton8 = helpButton(this, "SpeedButton8",
                              QStringLiteral("Falls Sonderformen (z.B. Stammformen) abgefragt "
                                             "werden, so werden wenn diese Einstellung gewählt "
                                             "ist, die Beschriftungen der Felder auch bei der "
                                             "Abfrage (z.B. Präsens, Futur) angezeigt."));
    SpeedButton9 = helpButton(this, "SpeedButton9",
                              QStringLiteral("Falls eine Vokabel eingegeben wird, die sich schon "
                                             "einmal in der Datenbank befindet, erscheint eine "
                                             "Warnungsmeldung."));
    // Its text speaks of an introduction window that has no option here, so
    // it is kept out of sight rather than beside an option it does not explain.
    SpeedButton10 = helpButton(this, "SpeedButton10",
                               QStringLiteral("Legen Sie hier fest, ob bei jedem Start von Orvilex "
                                              "ein Fenster zur Einführung in Orvilex angezeigt "
                                              "wird."));
    SpeedButton10->hide();
    SpeedButton11 = helpButton(this, "SpeedButton11",
                               QStringLiteral("Hier können Sie die Shortcuts (Kurztasten) "
                                              "deaktivieren. Damit Änderungen wirksam werden, "
                                              "Orvilex neu starten."));
    {
        QGridLayout* grid = optionGrid(GroupOrvilex);
        addRow(grid, wbla, SpeedButton6);
        addRow(grid, sca, SpeedButton7);
        addRow(grid, sbanz, SpeedButton8);
        addRow(grid, cbdopp, SpeedButton9);
        addRow(grid, cbeinf, nullptr);
        addRow(grid, cbShortcutz, SpeedButton11);
    }

    // Folder of the vocabulary databases.
    GroupVokabelverzeichnis =
        group(this, "GroupVokabelverzeichnis", QStringLiteral("Vokabelverzeichnis"));
    rbVVStandard = new QRadioButton(QStringLiteral("Standardverzeichnis"), GroupVokabelverzeichnis);
    rbVVStandard->setObjectName(QStringLiteral("rbVVStandard"));
    rbVVCustom = new QRadioButton(QStringLiteral("Selbst festlegen:"), GroupVokabelverzeichnis);
    rbVVCustom->setObjectName(QStringLiteral("rbVVCustom"));
    LabelVV = new QLabel(GroupVokabelverzeichnis);
    LabelVV->setObjectName(QStringLiteral("LabelVV"));
    LabelVV->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bVV = new QPushButton(QStringLiteral("Ändern"), GroupVokabelverzeichnis);
    bVV->setObjectName(QStringLiteral("bVV"));
    SpeedButton13 = helpButton(this, "SpeedButton13",
                               QStringLiteral("Hier können Sie das Verzeichnis einstellen, in dem "
                                              "sich die Sprachen-Unterverzeichnisse mit den "
                                              "Vokabeldatenbanken der jeweiligen Sprache "
                                              "befinden."));
    {
        QGridLayout* grid = optionGrid(GroupVokabelverzeichnis);
        grid->addWidget(rbVVStandard, 0, 0, 1, 2);
        grid->addWidget(SpeedButton13, 0, 2, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(rbVVCustom, 1, 0);
        grid->addWidget(bVV, 1, 1, 1, 2, Qt::AlignRight);
        // The folder below its radio button, indented like a caption.
        grid->addWidget(LabelVV, 2, 0, 1, 2);
        LabelVV->setContentsMargins(22, 0, 0, 0);
    }

    // Buttons.
    BitBtn1 = new QPushButton(QStringLiteral("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton* b : {BitBtn1, BitBtn2})
        b->setMinimumWidth(90);

    auto* left = new QVBoxLayout;
    left->addWidget(GroupGriechisch);
    left->addWidget(GroupEinstellungsdateien);
    left->addWidget(GroupSonderzeichentabelle);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupOrvilex);
    right->addWidget(GroupVokabelverzeichnis);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 12, 12, 12);
    main->setSpacing(10);
    main->addLayout(columns);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}
