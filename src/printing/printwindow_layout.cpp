// The controls of the print window, their layout and help buttons.
#include "printing/printwindow.h"

#include "platform/formwidgets.h"
#include "printing/printsettings.h"
#include "printing/reportpreview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using platform::checkBox;
using platform::group;
using platform::named;
using platform::radio;

QLineEdit* edit(QWidget* parent, const char* name, int width) {
    auto* line = named(new QLineEdit(parent), name);
    if (width > 0) line->setFixedWidth(width);
    return line;
}

QComboBox* sizeList(QWidget* parent, const char* name, const QList<int>& sizes) {
    auto* combo = named(new QComboBox(parent), name);
    for (int size : sizes)
        combo->addItem(QString::number(size));
    combo->setFixedWidth(58);
    return combo;
}

// The shared help button, a little smaller so that it sits level with a group's title.
QToolButton* helpButton(QWidget* parent, const char* name, const QString& text) {
    auto* help = platform::helpButton(parent, name, text);
    help->setFixedSize(17, 17);
    return help;
}

// Keeps help buttons in the top right corner of a group box, level with its
// title, so that they take no room from the group's controls.
class CornerButtons : public QObject {
  public:
    CornerButtons(QGroupBox* box, const QList<QToolButton*>& buttons)
        : QObject(box), box_(box), buttons_(buttons) {
        box->installEventFilter(this);
        place();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) place();
        return false;
    }

  private:
    void place() {
        int x = box_->width() - 4;
        for (auto it = buttons_.crbegin(); it != buttons_.crend(); ++it) {
            x -= (*it)->width();
            (*it)->move(x, 0);
            (*it)->raise();
            x -= 2;
        }
    }

    QGroupBox* box_;
    QList<QToolButton*> buttons_;
};

QGridLayout* groupGrid(QGroupBox* box, const QList<QToolButton*>& helps) {
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(8, 4, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    if (!helps.isEmpty()) new CornerButtons(box, helps);
    return grid;
}

// Fills a group's grid column by column, each from the top row down.
void addColumns(QGridLayout* grid, std::initializer_list<std::initializer_list<QWidget*>> columns) {
    int column = 0;
    for (const auto& controls : columns) {
        int row = 0;
        for (QWidget* control : controls)
            grid->addWidget(control, row++, column);
        ++column;
    }
}

// Whether and on which side a field is printed: "nicht drucken", left, right.
void sideRadios(QGroupBox* box, const char* const (&names)[3], QRadioButton*& none,
                QRadioButton*& left, QRadioButton*& right) {
    none = radio(box, names[0], QStringLiteral("n&icht drucken"));
    left =
        radio(box, names[1], QStringLiteral("li&nks (bei Karteikarten auf Vorderseite) drucken"));
    right =
        radio(box, names[2], QStringLiteral("&rechts (bei Karteikarten auf Rückseite) drucken"));
}

QVBoxLayout* pageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(5);
    return layout;
}

QLabel* label(QWidget* parent, const QString& text, QWidget* buddy = nullptr) {
    auto* result = new QLabel(text, parent);
    if (buddy) result->setBuddy(buddy);
    return result;
}

} // namespace

void Tdruck::buildLayout() {
    setObjectName(QStringLiteral("druck"));
    setWindowTitle(QStringLiteral("Vokabeln drucken"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setFullPage(true);
    prev = named(new report::ReportPreview(this), "prev");

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->setUsesScrollButtons(false);
    TabAuswahl = buildSelectionTab();
    TabEinstellungen = buildSettingsTab();
    TabLayout = buildLayoutTab();
    TabKartei = buildCardTab();
    PageControl1->addTab(TabAuswahl, QStringLiteral("&Vokabelauswahl"));
    PageControl1->addTab(TabEinstellungen, QStringLiteral("&Einstellungen"));
    PageControl1->addTab(TabLayout, QStringLiteral("&Layout"));
    PageControl1->addTab(TabKartei, QStringLiteral("&Karteikarten"));

    PanelTools = buildPreviewTools();

    BitBtn2 = named(new QPushButton(QStringLiteral("Änderungen &übernehmen"), this), "BitBtn2");
    BitBtn2->setToolTip(QStringLiteral("Druckvorlage neu erstellen"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    BitBtn3 = named(new QPushButton(QStringLiteral("&Drucken"), this), "BitBtn3");
    BitBtn3->setToolTip(QStringLiteral("Aktuelle Druckvorlage drucken"));
    BitBtn3->setIcon(SpeedButton1->icon());
    BitBtn1 = named(new QPushButton(QStringLiteral("&Abbruch"), this), "BitBtn1");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    for (QPushButton* button : {BitBtn2, BitBtn3, BitBtn1})
        button->setAutoDefault(false);

    // The progress of a build, under the preview.
    Panel2 = named(new QWidget(this), "Panel2");
    li = named(new QLabel(QStringLiteral("Erstellen der Druckvorlage..."), Panel2), "li");
    pb = named(new QProgressBar(Panel2), "pb");
    pb->setTextVisible(false);
    pb->setFixedHeight(14);
    BitBtn4 = named(new QPushButton(QStringLiteral("&Abbruch"), Panel2), "BitBtn4");
    BitBtn4->setAutoDefault(false);
    auto* progressRow = new QHBoxLayout(Panel2);
    progressRow->setContentsMargins(0, 0, 0, 0);
    progressRow->setSpacing(6);
    progressRow->addWidget(li);
    progressRow->addWidget(pb, 1);
    progressRow->addWidget(BitBtn4);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    PreviewArea = named(new QStackedWidget(this), "PreviewArea");
    PreviewArea->addWidget(prev);
    auto* noPages = new QFrame;
    noPages->setFrameShape(QFrame::StyledPanel);
    noPages->setAutoFillBackground(true);
    QPalette gray = noPages->palette();
    gray.setColor(QPalette::Window, gray.color(QPalette::Dark));
    noPages->setPalette(gray);
    PreviewArea->addWidget(noPages);
    left->addWidget(PreviewArea, 1);
    left->addWidget(Panel2);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(BitBtn2, 1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(PageControl1, 1);
    right->addWidget(PanelTools);
    right->addLayout(buttons);

    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(8, 8, 8, 8);
    main->setSpacing(8);
    main->addLayout(left, 1);
    auto* rightWidget = new QWidget(this);
    rightWidget->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    rightWidget->setMinimumWidth(384);
    main->addWidget(rightWidget);
    PreviewArea->setMinimumWidth(360);

    // 790 x 550 holds every control at the usual font sizes; with larger
    // system fonts the window grows instead of cutting captions off.
    setFixedSize(QSize(790, 550).expandedTo(minimumSizeHint()));
}

QWidget* Tdruck::buildSelectionTab() {
    auto* page = new QWidget;
    auto* layout = pageLayout(page);

    llek = named(new QListWidget(page), "llek");
    llek->setSelectionMode(QAbstractItemView::ExtendedSelection);
    llek->setToolTip(QStringLiteral("Auswahl der zu druckenden Lektionen"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(font().pointSize());
    llek->setFont(fixed);
    SpeedButton4 = helpButton(
        page, "SpeedButton4",
        QStringLiteral("Markieren Sie alle Lektionen, die Sie drucken möchten. Wenn Sie die "
                       "Umschalt- oder die Strg-Taste gedrückt halten, können Sie mehrere "
                       "markieren."));
    LabelLektionen = label(page, QStringLiteral("Lektionen:"), llek);
    auto* head = new QHBoxLayout;
    head->addWidget(LabelLektionen);
    head->addStretch(1);
    head->addWidget(SpeedButton4);
    layout->addLayout(head);
    layout->addWidget(llek, 1);

    GroupNur = group(page, "GroupNur", QStringLiteral("Nur Vokabeln mit"));
    SpeedButton5 = helpButton(
        GroupNur, "SpeedButton5",
        QStringLiteral("Hier können Sie einstellen, dass aus den ausgewählten Lektionen nur ganz "
                       "bestimmte Vokabeln gedruckt werden, z.B. nur Vokabeln einer bestimmten "
                       "Wortart, oder bei denen das Genitiv-Feld nicht leer ist."));
    comw = named(new QComboBox(GroupNur), "comw");
    LabelWortart = label(GroupNur, QStringLiteral("Wortart:"), comw);
    nge = checkBox(GroupNur, "nge", QStringLiteral("&Genitiv"));
    nse = checkBox(GroupNur, "nse", QStringLiteral("G&enus"));
    nst = checkBox(GroupNur, "nst", QStringLiteral("&Stammform"));
    auto* grid = groupGrid(GroupNur, {SpeedButton5});
    grid->addWidget(LabelWortart, 0, 0);
    grid->addWidget(comw, 0, 1, 1, 2);
    grid->addWidget(nge, 1, 0);
    grid->addWidget(nse, 1, 1);
    grid->addWidget(nst, 1, 2);
    grid->setColumnStretch(2, 1);
    layout->addWidget(GroupNur);
    return page;
}

QWidget* Tdruck::buildSettingsTab() {
    auto* page = new QWidget;
    auto* layout = pageLayout(page);

    GroupSort = group(page, "GroupSort", QStringLiteral("Sortieren nach"));
    SpeedButton6 = helpButton(
        GroupSort, "SpeedButton6",
        QStringLiteral("Legen Sie hier fest, wonach die Vokabeln primär sortiert werden. Die "
                       "Vokabeln werden dann in entsprechende Abschnitte (z.B. Wortarten) "
                       "gegliedert."));
    sl = radio(GroupSort, "sl", QStringLiteral("&Lektion"));
    sa = radio(GroupSort, "sa", QStringLiteral("&Alphabet Fremdwort"));
    sa_ueber = radio(GroupSort, "sa_ueber", QStringLiteral("&Alphabet Übersetzung"));
    sw = radio(GroupSort, "sw", QStringLiteral("&Wortart"));
    ss = radio(GroupSort, "ss", QStringLiteral("&Schwierigkeit"));
    sab = checkBox(GroupSort, "sab", QStringLiteral("A&bsteigend Sortieren"));
    addColumns(groupGrid(GroupSort, {SpeedButton6}), {{sl, sa, sa_ueber}, {sw, ss, sab}});
    layout->addWidget(GroupSort);

    GroupSort2 = group(page, "GroupSort2", QStringLiteral("Sekundär sortieren nach"));
    SpeedButton7 =
        helpButton(GroupSort2, "SpeedButton7",
                   QStringLiteral("Legen Sie hier fest, wie die Abschnitte (die nach der primären "
                                  "Sortierung festgelegt werden) intern sortiert werden sollen."));
    ssta = radio(GroupSort2, "ssta", QStringLiteral("S&tatistik (Falsche Antworten)"));
    sa2 = radio(GroupSort2, "sa2", QStringLiteral("Al&phabet Fremdwort"));
    sa2_ueber = radio(GroupSort2, "sa2_ueber", QStringLiteral("Al&phabet Übersetzung"));
    nrb = radio(GroupSort2, "nrb", QStringLiteral("&Normale Reihenfolge behalten"));
    addColumns(groupGrid(GroupSort2, {SpeedButton7}), {{ssta, sa2, sa2_ueber, nrb}});
    layout->addWidget(GroupSort2);

    GroupBemerkungen = group(page, "GroupBemerkungen", QStringLiteral("Bemerkungen"));
    SpeedButton8 = helpButton(
        GroupBemerkungen, "SpeedButton8",
        QStringLiteral(
            "Legen Sie hier fest, ob bzw. wie das Bemerkungsfeld gedruckt werden soll."));
    sideRadios(GroupBemerkungen, {"rbbd0", "rbbd1", "rbbd2"}, rbbd0, rbbd1, rbbd2);
    addColumns(groupGrid(GroupBemerkungen, {SpeedButton8}), {{rbbd0, rbbd1, rbbd2}});
    layout->addWidget(GroupBemerkungen);

    GroupStamm =
        group(page, "GroupStamm", QStringLiteral("Stammformen/Sonderformen, Genus, Genitiv"));
    SpeedButton17 = helpButton(GroupStamm, "SpeedButton17",
                               QStringLiteral("Legen Sie hier fest, ob bzw. wie die "
                                              "Stammformen/Sonderformen gedruckt werden sollen."));
    sideRadios(GroupStamm, {"rbsd0", "rbsd1", "rbsd2"}, rbsd0, rbsd1, rbsd2);
    addColumns(groupGrid(GroupStamm, {SpeedButton17}), {{rbsd0, rbsd1, rbsd2}});
    layout->addWidget(GroupStamm);
    layout->addStretch(1);

    // Each group box is one radio group; the groups are exclusive on their own
    // because every box is the buttons' parent.
    return page;
}

QWidget* Tdruck::buildLayoutTab() {
    auto* page = new QWidget;
    auto* layout = pageLayout(page);

    GroupFormat = group(page, "GroupFormat", QStringLiteral("Format"));
    SpeedButton9 = helpButton(GroupFormat, "SpeedButton9",
                              QStringLiteral("Wählen Sie hier das gewünschte Format."));
    rb0 = radio(GroupFormat, "rb0", QStringLiteral("A4, Hochk., 1 Spalte"));
    rb1 = radio(GroupFormat, "rb1", QStringLiteral("A4, Hochk., 2 Spalten"));
    rb2 = radio(GroupFormat, "rb2", QStringLiteral("A4, Hochk., 3 Spalten"));
    rb3 = radio(GroupFormat, "rb3", QStringLiteral("A4, Quer, 2 Spalten"));
    rb4 = radio(GroupFormat, "rb4", QStringLiteral("A4, Quer, 3 Spalten"));
    rb5 = radio(GroupFormat, "rb5", QStringLiteral("A4, Quer, 4 Spalten"));
    addColumns(groupGrid(GroupFormat, {SpeedButton9}), {{rb0, rb1, rb2}, {rb3, rb4, rb5}});
    layout->addWidget(GroupFormat);

    GroupLayoutEinst = group(page, "GroupLayoutEinst", QStringLiteral("Einstellungen"));
    SpeedButton10 =
        helpButton(GroupLayoutEinst, "SpeedButton10",
                   QStringLiteral("Hier können Sie weitere Layout-Einstellungen vornehmen und die "
                                  "Schriftgröße (für Fremdwort und Übersetzung) festlegen."));
    cbs = sizeList(GroupLayoutEinst, "cbs", ListFontSizes());
    LabelSchrift = label(GroupLayoutEinst, QStringLiteral("Schriftgröße:"), cbs);
    cbra = checkBox(GroupLayoutEinst, "cbra", QStringLiteral("&Rahmen um Stammformen"));
    line = checkBox(GroupLayoutEinst, "line", QStringLiteral("L&inien zwischen Vokabeln"));
    cbus = checkBox(GroupLayoutEinst, "cbus", QStringLiteral("A&bschnittbeschriftungen"));
    cbus->setToolTip(QStringLiteral("Überschriften, z. B. Lektionnamen drucken"));
    auto* settingsGrid = groupGrid(GroupLayoutEinst, {SpeedButton10});
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(LabelSchrift);
    sizeRow->addWidget(cbs);
    sizeRow->addStretch(1);
    settingsGrid->addLayout(sizeRow, 0, 0);
    settingsGrid->addWidget(cbra, 0, 1);
    settingsGrid->addWidget(line, 1, 0);
    settingsGrid->addWidget(cbus, 1, 1);
    layout->addWidget(GroupLayoutEinst);

    GroupKopfFuss = group(page, "GroupKopfFuss", QStringLiteral("Kopf- / Fußzeile"));
    SpeedButton12 = helpButton(
        GroupKopfFuss, "SpeedButton12",
        QStringLiteral("Bei der Kopf- und Fußzeile werden die unten aufgeführten Wörter in <> "
                       "durch einen automatisch generierten Text ersetzt. Falls Sie keine Kopf- "
                       "und Fußzeile wünschen, lassen Sie die beiden Felder leer."));
    ekz = edit(GroupKopfFuss, "ekz", 0);
    efz = edit(GroupKopfFuss, "efz", 0);
    for (QLineEdit* text : {ekz, efz})
        text->setMaxLength(255);
    LabelKopf = label(GroupKopfFuss, QStringLiteral("Kopfzeile:"), ekz);
    LabelFuss = label(GroupKopfFuss, QStringLiteral("Fußzeile:"), efz);
    Memo1 = named(new QPlainTextEdit(GroupKopfFuss), "Memo1");
    Memo2 = named(new QPlainTextEdit(GroupKopfFuss), "Memo2");
    Memo1->setPlainText(QStringLiteral("<seite>\n<datum>\n<abschnitt>\n<dbname>\n<dbsprache>"));
    Memo2->setPlainText(
        QStringLiteral("Seite\nDatum\nAbschnitt\nDatenbank Name\nDatenbank Sprache"));
    for (QPlainTextEdit* memo : {Memo1, Memo2}) {
        memo->setReadOnly(true);
        memo->setFrameShape(QFrame::NoFrame);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setFocusPolicy(Qt::NoFocus);
        memo->setBackgroundRole(QPalette::Window);
        memo->viewport()->setAutoFillBackground(false);
        memo->document()->setDocumentMargin(0);
        const int lineHeight = memo->fontMetrics().lineSpacing();
        memo->setFixedHeight(5 * lineHeight + 4);
    }
    auto* kopfGrid = groupGrid(GroupKopfFuss, {SpeedButton12});
    kopfGrid->addWidget(LabelKopf, 0, 0);
    kopfGrid->addWidget(ekz, 0, 1);
    kopfGrid->addWidget(LabelFuss, 1, 0);
    kopfGrid->addWidget(efz, 1, 1);
    auto* memos = new QHBoxLayout;
    memos->setSpacing(10);
    memos->addWidget(Memo1, 2);
    memos->addWidget(Memo2, 3);
    kopfGrid->addLayout(memos, 2, 1);
    layout->addWidget(GroupKopfFuss);

    GroupRaender = group(page, "GroupRaender", QStringLiteral("Seitenränder:"));
    SpeedButton11 = helpButton(
        GroupRaender, "SpeedButton11",
        QStringLiteral("Hier können Sie die Seitenränder ändern. Ändern Sie die Seitenränder "
                       "nicht beim Karteikartendruck, da Vorder- und Rückseite sonst nicht exakt "
                       "übereinander gedruckt werden."));
    sro = edit(GroupRaender, "sro", 44);
    sru = edit(GroupRaender, "sru", 44);
    srl = edit(GroupRaender, "srl", 44);
    srr = edit(GroupRaender, "srr", 44);
    auto* marginGrid = groupGrid(GroupRaender, {SpeedButton11});
    const QList<std::pair<QString, QLineEdit*>> margins{{QStringLiteral("Oben:"), sro},
                                                        {QStringLiteral("Unten:"), sru},
                                                        {QStringLiteral("Links:"), srl},
                                                        {QStringLiteral("Rechts:"), srr}};
    for (int i = 0; i < margins.size(); ++i) {
        const int r = i / 2;
        const int c = (i % 2) * 3;
        marginGrid->addWidget(label(GroupRaender, margins[i].first, margins[i].second), r, c);
        marginGrid->addWidget(margins[i].second, r, c + 1);
        marginGrid->addWidget(label(GroupRaender, QStringLiteral("mm")), r, c + 2);
    }
    marginGrid->setColumnStretch(2, 1);
    marginGrid->setColumnStretch(5, 1);
    layout->addWidget(GroupRaender);
    layout->addStretch(1);
    return page;
}

QWidget* Tdruck::buildCardTab() {
    auto* page = new QWidget;
    auto* layout = pageLayout(page);

    cbkartei = checkBox(page, "cbkartei", QStringLiteral("Ka&rteikartendruck"));
    SpeedButton13 =
        helpButton(page, "SpeedButton13",
                   QStringLiteral("Wählen Sie das Kästchen aus, um Karteikarten zu drucken."));
    auto* head = new QHBoxLayout;
    head->setContentsMargins(4, 0, 4, 0);
    head->addWidget(cbkartei);
    head->addStretch(1);
    head->addWidget(SpeedButton13);
    layout->addLayout(head);

    GroupKartenart = group(page, "GroupKartenart", QStringLiteral("Karteikartenart"));
    SpeedButton14 = helpButton(
        GroupKartenart, "SpeedButton14",
        QStringLiteral("Sie können entweder Vorder- und Rückseite der Karteikarten direkt neben "
                       "einander drucken oder in zwei Schritten erst die Vorderseite drucken, dann "
                       "die bedruckte Seite in den Drucker einlegen und die Rückseite bedrucken."));
    rbk1 = radio(GroupKartenart, "rbk1", QStringLiteral("Zum Falten (Vorder und Rückseite)"));
    rbk2 = radio(GroupKartenart, "rbk2", QStringLiteral("Vorderseite"));
    rbk3 = radio(GroupKartenart, "rbk3", QStringLiteral("Rückseite"));
    auto* kindGrid = groupGrid(GroupKartenart, {SpeedButton14});
    kindGrid->addWidget(rbk1, 0, 0, 1, 2);
    kindGrid->addWidget(rbk2, 1, 0);
    kindGrid->addWidget(rbk3, 1, 1);
    layout->addWidget(GroupKartenart);

    GroupKartEinst = group(page, "GroupKartEinst", QStringLiteral("Einstellungen"));
    SpeedButton15 = helpButton(
        GroupKartEinst, "SpeedButton15",
        QStringLiteral("Ob bei Karteikarten Bemerkungen gedruckt werden sollen, müssen Sie unter "
                       "\"Layout\" einstellen."));
    SpeedButton19 = helpButton(
        GroupKartEinst, "SpeedButton19",
        QStringLiteral("Legen Sie hier fest, ob die Karteikarten mit oder ohne Rahmen und mit oder "
                       "ohne Lektionsnummern gedruckt werden sollen."));
    rbkrahmen = checkBox(GroupKartEinst, "rbkrahmen", QStringLiteral("Rahmen"));
    rbklektion = checkBox(GroupKartEinst, "rbklektion", QStringLiteral("Lektionsnummer"));
    cbkvor = checkBox(GroupKartEinst, "cbkvor", QStringLiteral("Genitiv,Genus auf Vorderseite"));
    cbKartKopfFuss =
        checkBox(GroupKartEinst, "cbKartKopfFuss", QStringLiteral("Kopf- u. Fußzeile"));
    auto* cardGrid = groupGrid(GroupKartEinst, {SpeedButton19, SpeedButton15});
    addColumns(cardGrid, {{rbkrahmen, cbkvor}, {rbklektion, cbKartKopfFuss}});
    cardGrid->setColumnStretch(1, 1);
    layout->addWidget(GroupKartEinst);

    GroupSchriftgroessen = group(page, "GroupSchriftgroessen", QStringLiteral("Schriftgrößen"));
    SpeedButton16 =
        helpButton(GroupSchriftgroessen, "SpeedButton16",
                   QStringLiteral("Legen Sie hier die Schriftgrößen für die Karteikarten fest."));
    cbkfremdwort = sizeList(GroupSchriftgroessen, "cbkfremdwort", CardWordFontSizes());
    cbkueber = sizeList(GroupSchriftgroessen, "cbkueber", CardTranslationFontSizes());
    cbksonder = sizeList(GroupSchriftgroessen, "cbksonder", CardSpecialFontSizes());
    cbklektion = sizeList(GroupSchriftgroessen, "cbklektion", CardLessonFontSizes());
    auto* sizeGrid = groupGrid(GroupSchriftgroessen, {SpeedButton16});
    sizeGrid->addWidget(label(GroupSchriftgroessen, QStringLiteral("Fremdwort"), cbkfremdwort), 0,
                        0);
    sizeGrid->addWidget(cbkfremdwort, 0, 1);
    sizeGrid->addWidget(label(GroupSchriftgroessen, QStringLiteral("Übersetzung"), cbkueber), 0, 2);
    sizeGrid->addWidget(cbkueber, 0, 3);
    sizeGrid->addWidget(label(GroupSchriftgroessen, QStringLiteral("Sonderformen"), cbksonder), 1,
                        0);
    sizeGrid->addWidget(cbksonder, 1, 1);
    sizeGrid->addWidget(label(GroupSchriftgroessen, QStringLiteral("Lektion"), cbklektion), 1, 2);
    sizeGrid->addWidget(cbklektion, 1, 3);
    sizeGrid->setColumnStretch(1, 1);
    sizeGrid->setColumnStretch(3, 1);
    layout->addWidget(GroupSchriftgroessen);

    GroupKartLayout = group(page, "GroupKartLayout", QStringLiteral("Karteikartenlayout"));
    SpeedButton18 = helpButton(
        GroupKartLayout, "SpeedButton18",
        QStringLiteral("Hier können Sie Abstände und Größe der Karteikarten festlegen. Die "
                       "Seitenränder lassen sich beim Tabellenblatt \"Layout\" einstellen. Klicken "
                       "Sie nach Änderung der Einstellungen auf \"Änderungen übernehmen\"."));
    kkBreite = edit(GroupKartLayout, "kkBreite", 44);
    kkHoehe = edit(GroupKartLayout, "kkHoehe", 44);
    kkAbstandh = edit(GroupKartLayout, "kkAbstandh", 44);
    kkAbstandv = edit(GroupKartLayout, "kkAbstandv", 44);
    Button1 = named(new QPushButton(QStringLiteral("Standard"), GroupKartLayout), "Button1");
    Button1->setAutoDefault(false);
    auto* measureGrid = groupGrid(GroupKartLayout, {SpeedButton18});
    const QList<std::pair<QString, QLineEdit*>> measures{
        {QStringLiteral("Karteikartenbreite:"), kkBreite},
        {QStringLiteral("Karteikartenhöhe:"), kkHoehe},
        {QStringLiteral("Abstand horizontal:"), kkAbstandh},
        {QStringLiteral("Abstand vertikal:"), kkAbstandv}};
    for (int i = 0; i < measures.size(); ++i) {
        measureGrid->addWidget(label(GroupKartLayout, measures[i].first, measures[i].second), i, 0);
        measureGrid->addWidget(measures[i].second, i, 1);
        measureGrid->addWidget(label(GroupKartLayout, QStringLiteral("mm")), i, 2);
    }
    measureGrid->setColumnStretch(2, 1);
    measureGrid->addWidget(Button1, 3, 3, Qt::AlignRight | Qt::AlignBottom);
    layout->addWidget(GroupKartLayout);
    layout->addStretch(1);
    return page;
}
