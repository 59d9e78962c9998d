// The controls of the quiz settings page, their layout and help buttons.
#include "quiz/quizoptionspage.h"

#include "platform/formwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using platform::addRow;
using platform::checkBox;
using platform::group;
using platform::helpButton;
using platform::named;
using platform::optionGrid;
using platform::radio;

// A group with one help button at its top right, beside the first row.
void addHelpAtTop(QGridLayout* grid, QToolButton* help) {
    grid->addWidget(help, 0, 1, Qt::AlignRight | Qt::AlignTop);
}

QLineEdit* numberField(QWidget* parent, const char* name, int maxLength, int width) {
    auto* field = named(new QLineEdit(parent), name);
    field->setMaxLength(maxLength);
    field->setFixedWidth(width);
    return field;
}

QPlainTextEdit* memo(QWidget* parent, const char* name) {
    auto* edit = named(new QPlainTextEdit(parent), name);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    return edit;
}

// A list with its help button in the group's top right corner.
QGroupBox* listGroup(QWidget* parent, const char* name, const QString& title, QWidget* list,
                     QToolButton*& help, const char* helpName, const QString& helpText) {
    QGroupBox* box = group(parent, name, title);
    auto* grid = optionGrid(box);
    help = helpButton(parent, helpName, helpText);
    grid->addWidget(list, 0, 0, 2, 1);
    grid->addWidget(help, 0, 1, Qt::AlignRight | Qt::AlignTop);
    grid->setRowStretch(1, 1);
    return box;
}

} // namespace

QuizOptionsPage::QuizOptionsPage(TQuizOptionsRec* options, QWidget* parent)
    : QWidget(parent), options_(options ? options : &QuizOptions) {
    setObjectName(QStringLiteral("Panel1"));
    TabbedNotebook1 = named(new QTabWidget(this), "TabbedNotebook1");
    TabAllgemein = named(new QWidget, "TabAllgemein");
    TabAutokorrektur = named(new QWidget, "TabAutokorrektur");
    TabSonstige = named(new QWidget, "TabSonstige");
    TabbedNotebook1->addTab(TabAllgemein, QStringLiteral("Allgemein"));
    TabbedNotebook1->addTab(TabAutokorrektur, QStringLiteral("Autokorrektur"));
    TabbedNotebook1->addTab(TabSonstige, QStringLiteral("Sonstige"));
    buildAllgemein();
    buildAutokorrektur();
    buildSonstige();

    BitBtn2 = named(new QPushButton(QStringLiteral("&Zurück zur Abfrage"), this), "BitBtn2");
    BitBtn2->setDefault(true);
    BitBtn2->setMinimumWidth(150);
    connect(BitBtn2, &QPushButton::clicked, this, &QuizOptionsPage::BitBtn2Clicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(TabbedNotebook1, 1);
    layout->addLayout(buttons);

    connectControls();
    loadControls();
}

void QuizOptionsPage::buildAllgemein() {
    QWidget* page = TabAllgemein;

    GroupAbfrageart = group(page, "GroupAbfrageart", QStringLiteral("Abfrageart"));
    {
        auto* grid = optionGrid(GroupAbfrageart);
        CheckBox1 = checkBox(page, "CheckBox1",
                             QStringLiteral("Bei falscher Eingabe selbst auf Richtigkeit prüfen"));
        SpeedButton1 = helpButton(
            page, "SpeedButton1",
            QStringLiteral("Wird ihre Eingabe als Falsch bewertet, werden sie, wenn diese Option "
                           "gewählt ist, gefragt, ob diese nicht doch richtig war. Sinnvoll für "
                           "die (schnelle) Sichtabfrage (Übersetzung nicht eintippen, sondern sich "
                           "denken, dann Button Richtig/Falsch drücken)"));
        addRow(grid, CheckBox1, SpeedButton1);

        LabelVersuche =
            named(new QLabel(QStringLiteral("Lösungsversuche:"), page), "LabelVersuche");
        ComboBox1 = named(new QComboBox(page), "ComboBox1");
        ComboBox1->setEditable(true);
        ComboBox1->setInsertPolicy(QComboBox::NoInsert);
        ComboBox1->addItems(QuizAttemptItems());
        ComboBox1->setFixedWidth(80);
        LabelVersuche->setBuddy(ComboBox1);
        auto* attempts = new QHBoxLayout;
        attempts->addWidget(LabelVersuche);
        attempts->addWidget(ComboBox1);
        attempts->addStretch(1);
        SpeedButton2 = helpButton(
            page, "SpeedButton2",
            QStringLiteral("Haben Sie eine Vokabel nicht gewusst, dann wird diese Vokabel später "
                           "(zufällig) noch einmal abgefragt, und zwar sooft, bis die Eingabe "
                           "richtig war oder die Anzahl der Versuche, die Sie einstellen können, "
                           "überschritten wurde."));
        addRow(grid, attempts, SpeedButton2);

        cbgw = checkBox(page, "cbgw", QStringLiteral("Bei richtiger Eingabe gleich weiter"));
        SpeedButton3 = helpButton(
            page, "SpeedButton3",
            QStringLiteral("Bei Wahl dieser Option wird, wenn die Eingabe richtig war, nicht das "
                           "\"Richtig\"-Feld mit dem \"Weiter\"-Button angezeigt, sondern es "
                           "erscheint gleich die nächste Vokabel."));
        addRow(grid, cbgw, SpeedButton3);

        cbschnell = checkBox(page, "cbschnell", QStringLiteral("Schnellabfragemodus aktiv"));
        SpeedButton33 = helpButton(
            page, "SpeedButton33",
            QStringLiteral("Im Schnellabfragemodus müssen Sie, wenn Sie bis auf "
                           "Groß/Kleinschreibung exakt die Übersetzung eingeben, nicht die "
                           "Eingabetaste drücken."));
        addRow(grid, cbschnell, SpeedButton33);
    }

    GroupReihenfolge = group(page, "GroupReihenfolge", QStringLiteral("Abfragereihenfolge"));
    {
        auto* grid = optionGrid(GroupReihenfolge);
        rborder = radio(page, "rborder", QStringLiteral("Geordnet (fest)"));
        rbrandom = radio(page, "rbrandom", QStringLiteral("Zufällig"));
        SpeedButton34 = helpButton(
            page, "SpeedButton34",
            QStringLiteral("Hier können Sie die Reihenfolge festlegen, ob die Vokabeln in "
                           "zufälliger Reihenfolge oder in der Reihenfolge, in der sie in der "
                           "Datenbank stehen, abgefragt werden sollen."));
        auto* row = new QHBoxLayout;
        row->addWidget(rborder);
        row->addSpacing(16);
        row->addWidget(rbrandom);
        row->addStretch(1);
        addRow(grid, row, SpeedButton34);
        OrderGroup = new QButtonGroup(this);
        OrderGroup->addButton(rborder);
        OrderGroup->addButton(rbrandom);
    }

    GroupModus = group(page, "GroupModus", QStringLiteral("Abfragemodus"));
    {
        auto* grid = optionGrid(GroupModus);
        rbabnorm = radio(page, "rbabnorm", QStringLiteral("Normal"));
        rbabmult = radio(page, "rbabmult", QStringLiteral("Multiple Choice"));
        cbms = checkBox(page, "cbms", QStringLiteral("Schwierig"));
        rbabvor = radio(page, "rbabvor", QStringLiteral("Vorspiel/Lernmodus"));
        ModeGroup = new QButtonGroup(this);
        ModeGroup->addButton(rbabnorm);
        ModeGroup->addButton(rbabmult);
        ModeGroup->addButton(rbabvor);
        SpeedButton35 = helpButton(
            page, "SpeedButton35",
            QStringLiteral("Bei Muliple Choice müssen Sie die Übersetzung nicht eingeben, sondern "
                           "können aus 4 Vorschlägen wählen. Bei Vorspielmodus muss nichts "
                           "eingegeben werden, sondern die Vokabeln werden hintereinander kurz "
                           "angezeigt."));
        addRow(grid, rbabnorm, SpeedButton35);
        auto* multiple = new QHBoxLayout;
        multiple->addWidget(rbabmult);
        multiple->addSpacing(12);
        multiple->addWidget(cbms);
        multiple->addStretch(1);
        addRow(grid, multiple);
        addRow(grid, rbabvor);

        // The fields of the timed mode, indented below it.
        Label6 = named(new QLabel(QStringLiteral("Anzeigen (ms):"), page), "Label6");
        ems = numberField(page, "ems", 5, 60);
        Label6->setBuddy(ems);
        Label7 = named(new QLabel(QStringLiteral("Durchläufe:"), page), "Label7");
        edurch = numberField(page, "edurch", 5, 60);
        Label7->setBuddy(edurch);
        auto* timed = new QGridLayout;
        timed->setContentsMargins(22, 0, 0, 0);
        timed->setHorizontalSpacing(8);
        timed->addWidget(Label6, 0, 0);
        timed->addWidget(ems, 0, 1);
        timed->addWidget(Label7, 1, 0);
        timed->addWidget(edurch, 1, 1);
        timed->setColumnStretch(2, 1);
        addRow(grid, timed);
        cbnach = checkBox(page, "cbnach", QStringLiteral("Fremdw./Übers. "));
        label21 = named(new QLabel(QStringLiteral("nacheinander zeigen"), page), "label21");
        auto* after = new QHBoxLayout;
        after->setContentsMargins(22, 0, 0, 0);
        after->setSpacing(0);
        after->addWidget(cbnach);
        after->addWidget(label21);
        after->addStretch(1);
        addRow(grid, after);
    }

    GroupSonderformen = group(page, "GroupSonderformen", QStringLiteral("Sonderformen abfragen"));
    {
        auto* grid = optionGrid(GroupSonderformen);
        labf = checkBox(page, "labf", QStringLiteral("Stammformen"));
        geabf = checkBox(page, "geabf", QStringLiteral("Genitiv"));
        seabf = checkBox(page, "seabf", QStringLiteral("Genus"));
        SpeedButton9 = helpButton(
            page, "SpeedButton9",
            QStringLiteral("Werden Stammformen, Genus oder Genitiv abgefragt, erscheinen Felder zu "
                           "deren Eingabe. Zwischen diesen Eingabefeldern mit der Tab-Taste "
                           "wechseln!"));
        addRow(grid, labf, SpeedButton9);
        addRow(grid, geabf);
        addRow(grid, seabf);
    }

    GroupAnzeigen = group(page, "GroupAnzeigen", QStringLiteral("Anzeigen"));
    {
        auto* grid = optionGrid(GroupAnzeigen);
        lanz = checkBox(page, "lanz", QStringLiteral("Stammformen"));
        ganz = checkBox(page, "ganz", QStringLiteral("Genitiv"));
        sanz = checkBox(page, "sanz", QStringLiteral("Geschlecht"));
        CheckBox6 = checkBox(page, "CheckBox6", QStringLiteral("Wortart"));
        CheckBox10 = checkBox(page, "CheckBox10", QStringLiteral("Bemerkungen"));
        SpeedButton10 = helpButton(
            page, "SpeedButton10",
            QStringLiteral("Werden hier z. B. Stammformen gewählt, so werden diese gleich mit dem "
                           "Fremdwort zusammen angezeigt."));
        addRow(grid, lanz, SpeedButton10);
        addRow(grid, ganz);
        addRow(grid, sanz);
        addRow(grid, CheckBox6);
        addRow(grid, CheckBox10);
    }

    GroupAutokorrekturAktiv =
        group(page, "GroupAutokorrekturAktiv", QStringLiteral("Autokorrektur aktiv"));
    {
        auto* grid = optionGrid(GroupAutokorrekturAktiv);
        cbaue = checkBox(page, "cbaue", QStringLiteral("Übersetzung"));
        cbast = checkBox(page, "cbast", QStringLiteral("Stammformen"));
        cbage = checkBox(page, "cbage", QStringLiteral("Genitiv"));
        SpeedButton11 = helpButton(
            page, "SpeedButton11",
            QStringLiteral("Hier kann gewählt werden, wann Autokorrektur durchgeführt werden soll. "
                           "Die Autokorrektur-Einstellung sind auf der nächsten Seite."));
        addRow(grid, cbaue, SpeedButton11);
        addRow(grid, cbast);
        addRow(grid, cbage);
    }

    GroupBedeutungen =
        group(page, "GroupBedeutungen", QStringLiteral("Anzahl der einzugebenden Bedeutungen"));
    {
        auto* grid = optionGrid(GroupBedeutungen);
        tb1 = named(new QSlider(Qt::Vertical, page), "tb1");
        tb1->setRange(0, TQuizOptionsRec::MaxMeaningsPosition);
        tb1->setPageStep(1);
        tb1->setInvertedAppearance(true); // position 0 at the top
        tb1->setInvertedControls(true);
        tb1->setTickPosition(QSlider::TicksRight);
        tb1->setTickInterval(1);
        tb1->setFixedHeight(150);
        LabelEineBedeutung =
            named(new QLabel(QStringLiteral("Nur eine Bedeutung muss eingegeben werden"), page),
                  "LabelEineBedeutung");
        Label60Prozent =
            named(new QLabel(QStringLiteral("ca. 60 % (gerundet) der Bedeutungen"), page),
                  "Label60Prozent");
        Label80Prozent =
            named(new QLabel(QStringLiteral("ca. 80 % (gerundet) der Bedeutungen"), page),
                  "Label80Prozent");
        LabelAlleBedeutungen =
            named(new QLabel(QStringLiteral("Alle Bedeutungen müssen eingegeben werden"), page),
                  "LabelAlleBedeutungen");
        auto* captions = new QVBoxLayout;
        captions->setSpacing(0);
        captions->addWidget(LabelEineBedeutung);
        captions->addStretch(1);
        captions->addWidget(Label60Prozent);
        captions->addStretch(1);
        captions->addWidget(Label80Prozent);
        captions->addStretch(1);
        captions->addWidget(LabelAlleBedeutungen);
        auto* row = new QHBoxLayout;
        row->addWidget(tb1);
        row->addLayout(captions, 1);
        SpeedButton12 = helpButton(
            page, "SpeedButton12",
            QStringLiteral("Hier kann eingestellt werden, wieviele Bedeutungen eingegeben werden "
                           "müssen, wenn eine Vokabel mehrere Bedeutungen hat."));
        grid->addLayout(row, 0, 0);
        addHelpAtTop(grid, SpeedButton12);
    }

    auto* left = new QVBoxLayout;
    left->addWidget(GroupAbfrageart);
    left->addWidget(GroupReihenfolge);
    left->addWidget(GroupModus);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(GroupSonderformen);
    middle->addWidget(GroupAnzeigen);
    middle->addWidget(GroupAutokorrekturAktiv);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBedeutungen);
    right->addStretch(1);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 3);
    columns->addLayout(middle, 2);
    columns->addLayout(right, 3);
}

void QuizOptionsPage::buildAutokorrektur() {
    QWidget* page = TabAutokorrektur;

    GroupIgnorieren = group(page, "GroupIgnorieren", QStringLiteral("Ignorieren"));
    {
        auto* grid = optionGrid(GroupIgnorieren);
        aktign = checkBox(page, "aktign", QStringLiteral("Griechische Akzente"));
        SpeedButton13 = helpButton(
            page, "SpeedButton13",
            QStringLiteral("Fragt man sich Vokabel Deutsch-Griechisch ab, kann man mit dieser "
                           "Option ganz darauf verzichten, beim Eintippen Akzente zu setzen."));
        addRow(grid, aktign, SpeedButton13);
        cbfa = checkBox(page, "cbfa", QStringLiteral("Französische Akzente"));
        SpeedButton14 = helpButton(
            page, "SpeedButton14",
            QStringLiteral("Schreibt z. B. das Wort \"âme\" ohne Akzente, also \"ame\", wird die "
                           "Eingabe korrigiert und als Richtig bewertet."));
        addRow(grid, cbfa, SpeedButton14);
        CheckBox3 = checkBox(page, "CheckBox3", QStringLiteral("Groß-/Kleinschreibung"));
        SpeedButton20 = helpButton(
            page, "SpeedButton20",
            QStringLiteral("Schreibt man statt \"Hase\" einfach \"hase\" ist die Eingabe "
                           "richtig."));
        addRow(grid, CheckBox3, SpeedButton20);
        CheckBox4 = checkBox(page, "CheckBox4", QStringLiteral("Artikel"));
        SpeedButton19 = helpButton(
            page, "SpeedButton19",
            QStringLiteral("Die in der Artikelliste stehenden Artikel werden ignoriert, d. h. Sie "
                           "können statt \"das Haus\" auch \"ein Haus\" schreiben."));
        addRow(grid, CheckBox4, SpeedButton19);
        CheckBox2 = checkBox(page, "CheckBox2", QStringLiteral("Leerzeichen"));
        SpeedButton22 = helpButton(
            page, "SpeedButton22",
            QStringLiteral("Sehr wichtig, damit die Eingabe, falls man irgendwo ein Leerzeichen "
                           "zuviel oder zuwenig hat, nicht gleich als Falsch bewertet wird."));
        addRow(grid, CheckBox2, SpeedButton22);
        CheckBox5 = checkBox(page, "CheckBox5", QStringLiteral("Satzzeichen"));
        SpeedButton21 = helpButton(
            page, "SpeedButton21",
            QStringLiteral("Bei Wahl dieser Option werden alle Satzzeichen, die rechts in der "
                           "Satzzeichenliste stehen, ignoriert (z. B. \"bis...zu\"=\"bis-zu\")"));
        addRow(grid, CheckBox5, SpeedButton21);
        cbss = checkBox(page, "cbss", QStringLiteral("ß und ss"));
        SpeedButton23 = helpButton(
            page, "SpeedButton23",
            QStringLiteral("Damit keine Probleme zwischen alter und neue Rechtschreibung "
                           "auftreten: Sie können statt \"Faß\" auch \"Fass\" eintippen."));
        addRow(grid, cbss, SpeedButton23);
        cbrf = checkBox(page, "cbrf", QStringLiteral("Andere Wortreihenfolge"));
        SpeedButton15 = helpButton(
            page, "SpeedButton15",
            QStringLiteral("Besteht eine Bedeutung aus mehreren Wörtern, z. B. \"in hinein\", "
                           "kann diese auch mit anderer Wortreihenfolge eingegeben werden: "
                           "\"hinein in\"."));
        addRow(grid, cbrf, SpeedButton15);
        cbkw = checkBox(page, "cbkw", QStringLiteral("Kompatible Wörter "));
        SpeedButton16 = helpButton(
            page, "SpeedButton16",
            QStringLiteral("Wörter in der Liste rechts unten sind kompatibel, das heißt, Sie "
                           "können statt dem in der linken Spalte das in der rechten schreiben. "
                           "Benutzung: Synonyme (herein | hinein) und Kurzformen (jmd | jemand)"));
        addRow(grid, cbkw, SpeedButton16);
        cbuk = checkBox(page, "cbuk", QStringLiteral("Unkorrigierbare nicht"));
        SpeedButton17 = helpButton(
            page, "SpeedButton17",
            QStringLiteral("Damit wegen der Tippfehlerkorrektur nicht z. B. eine Eingabe von "
                           "\"an\" richtig ist, wenn \"ab\" erwartet wird, können hier Wörter "
                           "eingegeben werden, die nie automatisch korrigiert werden sollen."));
        addRow(grid, cbuk, SpeedButton17);
        cbklamm = checkBox(page, "cbklamm", QStringLiteral("Wörter in Klammern"));
        SpeedButton18 = helpButton(
            page, "SpeedButton18",
            QStringLiteral("Bsp.: Bei \"von (her)\" kann dann auch nur \"von\" eingegeben werden. "
                           "(Die Eingabe \"von (her)\" wäre aber auch richtig."));
        addRow(grid, cbklamm, SpeedButton18);
    }

    GroupTippfehler = group(page, "GroupTippfehler", QStringLiteral("Tippfehler korrigieren"));
    {
        auto* grid = optionGrid(GroupTippfehler);
        ak1 = checkBox(page, "ak1", QStringLiteral("Vertauschte Buchstaben"));
        SpeedButton24 = helpButton(
            page, "SpeedButton24",
            QStringLiteral("Bsp.: Bei \"Haus\" werden z. B. Tippfehler wie \"Huas\" oder \"Hasu\" "
                           "korrigiert."));
        addRow(grid, ak1, SpeedButton24);
        ak2 = checkBox(page, "ak2", QStringLiteral("Buchstabe zuviel"));
        SpeedButton25 = helpButton(
            page, "SpeedButton25",
            QStringLiteral("Bsp.: Bei \"Hase\" wird z. B. \"Hahse\" oder \"Hasse\" korrigiert."));
        addRow(grid, ak2, SpeedButton25);
        ak4 = checkBox(page, "ak4", QStringLiteral("Falscher Buchstabe"));
        SpeedButton27 =
            helpButton(page, "SpeedButton27",
                       QStringLiteral("Bsp.: Bei \"Tastatur\" wird z. B. \"Tatatur\" korrigiert."));
        addRow(grid, ak4, SpeedButton27);
        ak3 = checkBox(page, "ak3", QStringLiteral("Buchstabe zuwenig"));
        SpeedButton26 =
            helpButton(page, "SpeedButton26",
                       QStringLiteral("Bsp.: Bei \"Lexikon\" wird z. B. \"Lexikin\" korrigiert."));
        addRow(grid, ak3, SpeedButton26);

        LabelKorrigieren = named(new QLabel(QStringLiteral("Wenig oder viel korrigieren"), page),
                                 "LabelKorrigieren");
        SpeedButton28 = helpButton(
            page, "SpeedButton28",
            QStringLiteral("Hier kann eingestellt werden, wieviel Tippfehler korrigiert werden "
                           "sollen: Relativ zur Anzahl der Buchstaben wird je nachdem wie die "
                           "Leiste eingestellt ist eine Maximalzahl für Tippfehlerkorrekturen "
                           "errechnet."));
        addRow(grid, LabelKorrigieren, SpeedButton28);
        ak12 = named(new QSlider(Qt::Horizontal, page), "ak12");
        ak12->setRange(0, TQuizOptionsRec::MaxTypoTolerance);
        ak12->setPageStep(1);
        ak12->setTickPosition(QSlider::TicksBelow);
        ak12->setTickInterval(1);
        LabelKorrigieren->setBuddy(ak12);
        addRow(grid, ak12);
    }

    Memo4 = memo(page, "Memo4");
    Memo4->setFixedHeight(Memo4->fontMetrics().lineSpacing() * 2 + 12);
    GroupSatzzeichen =
        listGroup(page, "GroupSatzzeichen", QStringLiteral("Satzzeichenliste"), Memo4,
                  SpeedButton29, "SpeedButton29",
                  QStringLiteral("Hier bitte die Schriftzeichen eingeben, die ignoriert werden "
                                 "sollen. Hintereinander ohne Abtrennung. Kein Leerzeichen "
                                 "hinzufügen (!)"));

    Memo3 = memo(page, "Memo3");
    GroupArtikel = listGroup(
        page, "GroupArtikel", QStringLiteral("Artikelliste"), Memo3, SpeedButton30, "SpeedButton30",
        QStringLiteral("Liste mit Artikeln: Artikel mit Eingabetaste trennen (1 Artikel pro "
                       "Zeile). Nicht allzuviele eingeben (sonst Geschwindigkeitsdefizit)."));

    ukb = memo(page, "ukb");
    GroupUnkorrigierbar = listGroup(
        page, "GroupUnkorrigierbar", QStringLiteral("Unkorrigierbar"), ukb, SpeedButton31,
        "SpeedButton31",
        QStringLiteral("Hier Wörter eingeben, die verschieden sind, aber vom Computer als "
                       "Tippfehler aufgefasst werden können: z. B. \"ver\" (wegen \"vor\") oder "
                       "\"an\" (wegen \"ab\")."));

    lkw = named(new QTableWidget(TQuizOptionsRec::PairCount, 2, page), "lkw");
    lkw->setHorizontalHeaderLabels({QStringLiteral("Wort"), QStringLiteral("Kompatibles Wort")});
    lkw->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    lkw->verticalHeader()->setDefaultSectionSize(lkw->fontMetrics().height() + 6);
    lkw->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lkw->setTabKeyNavigation(false);
    lkw->setMinimumHeight(120);
    GroupKompatibel = listGroup(
        page, "GroupKompatibel", QStringLiteral("Liste kompatibler Wörter"), lkw, SpeedButton32,
        "SpeedButton32",
        QStringLiteral("Je Zeile können zwei miteinander kompatible Wörter hingeschrieben werden "
                       "(Synonyme oder auch Kurzformen für Wörter)."));

    auto* left = new QVBoxLayout;
    left->addWidget(GroupIgnorieren);
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(GroupTippfehler);
    middle->addWidget(GroupSatzzeichen);
    middle->addWidget(GroupArtikel, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupUnkorrigierbar, 2);
    right->addWidget(GroupKompatibel, 3);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 4);
    columns->addLayout(middle, 3);
    columns->addLayout(right, 4);
}

void QuizOptionsPage::buildSonstige() {
    QWidget* page = TabSonstige;
    auto* box = group(page, "GroupSonstige", QStringLiteral("Weitere Einstellungen"));
    auto* grid = optionGrid(box);
    grid->setVerticalSpacing(8);

    cbendung =
        checkBox(page, "cbendung", QStringLiteral("Bei Genitiv nur Eingabe der Endung verlangt"));
    SpeedButton6 = helpButton(
        page, "SpeedButton6",
        QStringLiteral("Bsp: \"corpus\", \"corporis\". Für den Genitiv muss nur \"oris\" "
                       "eingegeben werden. Mögliche (richtige) Eingaben wären auch \"corporis\" "
                       "bzw. \"poris\" usw.: Nur die Endung muss stimmen."));
    addRow(grid, cbendung, SpeedButton6);

    cbstamm = checkBox(page, "cbstamm",
                       QStringLiteral("Bei Stammformen nur Eingabe der Endung verlangt"));
    SpeedButton7 = helpButton(
        page, "SpeedButton7",
        QStringLiteral("Bsp: \"laudare\", \"laudavi\". Als Stammform muss nur \"vi\" eingegeben "
                       "werden. Mögliche (richtige) Eingaben wären auch \"laudavi\" oder \"avi\" "
                       "usw.: Nur die Endung muss stimmen."));
    addRow(grid, cbstamm, SpeedButton7);

    cbpraep =
        checkBox(page, "cbpraep",
                 QStringLiteral("Autom. Anzeige vom Feld Genus (für Kasus) bei Präpositionen "));
    SpeedButton8 = helpButton(
        page, "SpeedButton8",
        QStringLiteral("Ist diese Option gewählt, wird bei Präpositionen immer das Feld Genus "
                       "angezeigt. Dort kann der Kasus eingegeben werden, mit dem die Präp. "
                       "steht."));
    addRow(grid, cbpraep, SpeedButton8);

    cbautosch =
        checkBox(page, "cbautosch",
                 QStringLiteral("Änderung der Beschriftung Genus/Genitiv bei anderen Wortarten"));
    addRow(grid, cbautosch);

    cbsyn = checkBox(
        page, "cbsyn",
        QStringLiteral("Bei mehreren Synonymen pro Übersetzung (= pro Zeile) nur eine verlangen"));
    SpeedButton36 = helpButton(
        page, "SpeedButton36",
        QStringLiteral("Bsp: Das Wort x hat die Übersetzungen a,b,c. a und b sind Synonyme, c "
                       "nicht. Ist die Vokabel so eingegeben: 1.Zeile: a;b 2.Zeile: c, dann "
                       "müssen nur a und c oder a und b eingegeben werden. Mehr in der Hilfe "
                       "\"Eingeben von Vokabeln\"."));
    addRow(grid, cbsyn, SpeedButton36);
    LabelTrennzeichen =
        named(new QLabel(QStringLiteral("Trennzeichen:"), page), "LabelTrennzeichen");
    esyn = numberField(page, "esyn", 1, 28);
    esyn->setAlignment(Qt::AlignCenter);
    LabelTrennzeichen->setBuddy(esyn);
    auto* separator = new QHBoxLayout;
    separator->setContentsMargins(22, 0, 0, 0);
    separator->addWidget(LabelTrennzeichen);
    separator->addWidget(esyn);
    separator->addStretch(1);
    addRow(grid, separator);

    cbbemerkung = checkBox(
        page, "cbbemerkung",
        QStringLiteral("Optionales Anzeigen vom Bemerkungenfeld (für Eselsbrücken als Hilfe)"));
    SpeedButton37 = helpButton(
        page, "SpeedButton37",
        QStringLiteral("Ist diese Option gewählt, erscheint, falls eine Vokabel abgefragt wird, "
                       "bei der das Bemerkungen-Feld nicht leer ist, ein Button, mit dem man es "
                       "anzeigen kann. Sinnvoll, wenn man Eselsbrücken oder Hilfen ins "
                       "Bem.-Feld eintippt."));
    addRow(grid, cbbemerkung, SpeedButton37);

    cbxmal = checkBox(page, "cbxmal", QStringLiteral("Vokabeln, die "));
    exmal = numberField(page, "exmal", 5, 50);
    LabelXmalTimes =
        named(new QLabel(QStringLiteral("-mal nicht gekonnt werden"), page), "LabelXmalTimes");
    LabelXmalLesson =
        named(new QLabel(QStringLiteral("in Lektion \"Schwierige Wörter\" kopieren"), page),
              "LabelXmalLesson");
    SpeedButton4 = helpButton(
        page, "SpeedButton4",
        QStringLiteral("Ist diese Option gewählt, wird jede Vokabel, die in einer Abfrage die "
                       "hier eingestellte Anzahl von Versuchen erreicht, in die Lektion "
                       "\"Schwierige Wörter\" (Lektion 999 Z 9) kopiert. Dort können Sie "
                       "Vokabeln, die Ihnen schwer fallen, später gezielt wiederholen."));
    auto* times = new QHBoxLayout;
    times->setSpacing(4);
    times->addWidget(cbxmal);
    times->addWidget(exmal);
    times->addWidget(LabelXmalTimes);
    times->addStretch(1);
    addRow(grid, times, SpeedButton4);
    auto* lesson = new QHBoxLayout;
    lesson->setContentsMargins(22, 0, 0, 0);
    lesson->addWidget(LabelXmalLesson);
    lesson->addStretch(1);
    addRow(grid, lesson);

    auto* column = new QVBoxLayout;
    column->addWidget(box);
    column->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(column, 3);
    layout->addStretch(1);
}
