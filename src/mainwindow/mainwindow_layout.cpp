// The main window's controls: tool bar, lesson tree and the three notebook pages.
#include "mainwindow/mainwindow.h"

#include "database/vocabularytable.h"
#include "mainwindow/columnfonts.h"

#include <QChartView>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QToolButton* toolButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& hint,
                        const QString& text = QString()) {
    auto* button = new QToolButton(parent);
    // A speed button is clicked, never tabbed to: the keys stay in the fields.
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    if (!text.isEmpty()) {
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return button;
}

// Sizes a memo by lines of its font, also when the database's fonts are put on
// it later: it asks for `lines` lines and takes less, down to `fewest`, when
// large fonts leave the page too little room.
class LinesHigh : public QObject {
  public:
    LinesHigh(QPlainTextEdit* edit, int lines, int fewest)
        : QObject(edit), edit_(edit), lines_(lines), fewest_(fewest) {
        edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        edit->installEventFilter(this);
        fit();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FontChange) fit();
        return false;
    }

  private:
    void fit() {
        const int line = edit_->fontMetrics().lineSpacing();
        const int margins = int(2 * edit_->document()->documentMargin()) + 2 * edit_->frameWidth() +
                            edit_->contentsMargins().top() + edit_->contentsMargins().bottom() + 2;
        edit_->setMinimumHeight(line * fewest_ + margins);
        edit_->setMaximumHeight(line * lines_ + margins);
    }

    QPlainTextEdit* edit_;
    int lines_;
    int fewest_;
};

QPlainTextEdit* memo(QWidget* parent, int lines, int fewest) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    // A long word without blanks breaks between letters: a horizontal scroll
    // bar would cover the lower half of a short memo.
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    new LinesHigh(edit, lines, fewest);
    return edit;
}

} // namespace

void TForm1::buildToolBar() {
    Panel1 = new QWidget(this);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    SpeedNew = toolButton(Panel1, QStyle::SP_FileIcon, QStringLiteral("Neue Datenbank (Strg+N)"));
    SpeedOpen =
        toolButton(Panel1, QStyle::SP_DialogOpenButton, QStringLiteral("Datenbank öffnen (Strg+O)"));
    SpeedAbfragen = toolButton(Panel1, QStyle::SP_MediaPlay,
                               QStringLiteral("Vokabeln abfragen (Strg+A)"), QStringLiteral("Abfrage"));
    SpeedDruck = toolButton(Panel1, QStyle::SP_FileDialogDetailedView,
                            QStringLiteral("Vokabeln drucken (Strg+P)"));
    SpeedCreate = toolButton(Panel1, QStyle::SP_FileDialogNewFolder, QStringLiteral("Neue Vokabel (F3)"));
    SpeedSave = toolButton(Panel1, QStyle::SP_DialogSaveButton, QStringLiteral("Vokabel speichern (F2)"));
    SpeedDelete = toolButton(Panel1, QStyle::SP_TrashIcon, QStringLiteral("Vokabel löschen (F4)"));
    SpeedFirst = toolButton(Panel1, QStyle::SP_MediaSkipBackward, QStringLiteral("Erste Vokabel (F9)"));
    SpeedPrior = toolButton(Panel1, QStyle::SP_MediaSeekBackward, QStringLiteral("Vorherige Vokabel (F10)"));
    Speednext = toolButton(Panel1, QStyle::SP_MediaSeekForward, QStringLiteral("Nächste Vokabel (F11)"));
    SpeedLast = toolButton(Panel1, QStyle::SP_MediaSkipForward, QStringLiteral("Letzte Vokabel (F12)"));
    hilfebtn = toolButton(Panel1, QStyle::SP_DialogHelpButton, QStringLiteral("Hilfe (F1)"));
    infobtn = toolButton(Panel1, QStyle::SP_MessageBoxInformation, QStringLiteral("Info"));
    SpeedEnde = toolButton(Panel1, QStyle::SP_DialogCloseButton, QStringLiteral("Programm beenden"));
    bwork = new QPushButton(QStringLiteral("Workdir"), Panel1);
    bwork->setVisible(false);

    auto separator = [&] { row->addSpacing(12); };
    for (QToolButton* b : {SpeedNew, SpeedOpen})
        row->addWidget(b);
    separator();
    row->addWidget(SpeedAbfragen);
    row->addWidget(SpeedDruck);
    separator();
    for (QToolButton* b : {SpeedCreate, SpeedSave, SpeedDelete})
        row->addWidget(b);
    separator();
    for (QToolButton* b : {SpeedFirst, SpeedPrior, Speednext, SpeedLast})
        row->addWidget(b);
    row->addStretch(1);
    row->addWidget(bwork);
    for (QToolButton* b : {hilfebtn, infobtn, SpeedEnde})
        row->addWidget(b);

    connect(SpeedEnde, &QToolButton::clicked, this, &TForm1::EndeClick);
    connect(bwork, &QPushButton::clicked, this, &TForm1::bworkClick);
}

void TForm1::buildWordPage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);

    GroupBox1 = new QWidget(page);
    auto* words = new QGridLayout(GroupBox1);
    words->setContentsMargins(0, 0, 0, 0);
    LabelFremdwort = new QLabel(QStringLiteral("Fremdwort:"), GroupBox1);
    DBFremdwort = memo(GroupBox1, 2, 2);
    LabelUebersetzung = new QLabel(QStringLiteral("Übersetzung:"), GroupBox1);
    SpeedButton2 = new QToolButton(GroupBox1);
    SpeedButton2->setText(QStringLiteral("?"));
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    SpeedButton2->setToolTip(QStringLiteral("Hinweis zur Eingabe von Übersetzungen"));
    DBuebersetzung = memo(GroupBox1, 4, 1);
    Button1 = new QPushButton(QStringLiteral("BIG"), GroupBox1);
    Button1->setToolTip(QStringLiteral("Anfangsbuchstaben der Übersetzungen groß schreiben"));
    auto* translationHead = new QHBoxLayout;
    translationHead->addWidget(LabelUebersetzung);
    translationHead->addWidget(SpeedButton2);
    translationHead->addStretch(1);
    translationHead->addWidget(Button1);
    words->addWidget(LabelFremdwort, 0, 0);
    words->addWidget(DBFremdwort, 1, 0);
    words->addLayout(translationHead, 2, 0);
    words->addWidget(DBuebersetzung, 3, 0);
    layout->addWidget(GroupBox1);

    Panel4 = new QWidget(page);
    auto* details = new QGridLayout(Panel4);
    details->setContentsMargins(0, 0, 0, 0);
    LabelGenetiv = new QLabel(QStringLiteral("Genitiv:"), Panel4);
    DBGenetiv = new QLineEdit(Panel4);
    LabelGenus = new QLabel(QStringLiteral("Genus:"), Panel4);
    DBGenus = new QLineEdit(Panel4);
    DBGenus->setMaximumWidth(80);
    auto* wortartLabel = new QLabel(QStringLiteral("Wortart:"), Panel4);
    wortart = new QComboBox(Panel4);
    wortart->addItems(WordClassNames());
    auto* schwLabel = new QLabel(QStringLiteral("Schwierigkeit:"), Panel4);
    Schwcom = new QComboBox(Panel4);
    Schwcom->addItems(DifficultyNames());
    details->addWidget(LabelGenetiv, 0, 0);
    details->addWidget(DBGenetiv, 0, 1);
    details->addWidget(LabelGenus, 0, 2);
    details->addWidget(DBGenus, 0, 3);
    details->addWidget(wortartLabel, 1, 0);
    details->addWidget(wortart, 1, 1);
    details->addWidget(schwLabel, 1, 2);
    details->addWidget(Schwcom, 1, 3);
    details->setColumnStretch(1, 1);
    layout->addWidget(Panel4);

    StammformBox = new QGroupBox(QStringLiteral("Sonderformen"), page);
    auto* forms = new QGridLayout(StammformBox);
    LabelPraeFut = new QLabel(QStringLiteral("Sonderform 1:"), StammformBox);
    LabelPerAor = new QLabel(QStringLiteral("Sonderform 2:"), StammformBox);
    LabelPerfekt = new QLabel(QStringLiteral("Sonderform 3:"), StammformBox);
    DBPraeFut = new QLineEdit(StammformBox);
    DBPerAor = new QLineEdit(StammformBox);
    DBPerfekt = new QLineEdit(StammformBox);
    PanelGre = new QWidget(StammformBox);
    auto* gre = new QGridLayout(PanelGre);
    gre->setContentsMargins(0, 0, 0, 0);
    LabelFuturPassiv = new QLabel(QStringLiteral("Sonderform 4:"), PanelGre);
    LabelAoristPassiv = new QLabel(QStringLiteral("Sonderform 5:"), PanelGre);
    LabelPerfektPassiv = new QLabel(QStringLiteral("Sonderform 6:"), PanelGre);
    DBFuturPassiv = new QLineEdit(PanelGre);
    DBAoristPassiv = new QLineEdit(PanelGre);
    DBPerfektPassiv = new QLineEdit(PanelGre);
    forms->addWidget(LabelPraeFut, 0, 0);
    forms->addWidget(DBPraeFut, 0, 1);
    forms->addWidget(LabelPerAor, 1, 0);
    forms->addWidget(DBPerAor, 1, 1);
    forms->addWidget(LabelPerfekt, 2, 0);
    forms->addWidget(DBPerfekt, 2, 1);
    gre->addWidget(LabelFuturPassiv, 0, 0);
    gre->addWidget(DBFuturPassiv, 0, 1);
    gre->addWidget(LabelAoristPassiv, 1, 0);
    gre->addWidget(DBAoristPassiv, 1, 1);
    gre->addWidget(LabelPerfektPassiv, 2, 0);
    gre->addWidget(DBPerfektPassiv, 2, 1);
    forms->addWidget(PanelGre, 0, 2, 3, 1);
    forms->setColumnStretch(1, 1);
    forms->setColumnStretch(2, 1);
    layout->addWidget(StammformBox);

    LabelExtra = new QLabel(QStringLiteral("Bemerkungen:"), page);
    DBExtra = memo(page, 2, 1);
    layout->addWidget(LabelExtra);
    layout->addWidget(DBExtra);
    layout->addStretch(1);

    // Tab follows the fields as the page shows them: the word, the
    // translation, genitive and genus, the choosers, the special forms column
    // by column, the remarks and "BIG".
    const QList<QWidget*> tabOrder{DBFremdwort,     DBuebersetzung, DBGenetiv, DBGenus,
                                   wortart,         Schwcom,        DBPraeFut, DBPerAor,
                                   DBPerfekt,       DBFuturPassiv,  DBAoristPassiv,
                                   DBPerfektPassiv, DBExtra,        Button1};
    for (qsizetype k = 1; k < tabOrder.size(); ++k)
        QWidget::setTabOrder(tabOrder[k - 1], tabOrder[k]);
}

void TForm1::buildExtrasPage(QWidget* page) {
    ExtrasPage = page;
    auto* layout = new QGridLayout(page);
    DBcFremdwort = new QLineEdit(page);
    DBcFremdwort->setReadOnly(true);
    DBcUebersetzung = new QLineEdit(page);
    DBcUebersetzung->setReadOnly(true);
    // The copies show the start of a long word, not its end.
    for (QLineEdit* copy : {DBcFremdwort, DBcUebersetzung})
        connect(copy, &QLineEdit::textChanged, copy, [copy] { copy->setCursorPosition(0); });
    layout->addWidget(new QLabel(QStringLiteral("Fremdwort:"), page), 0, 0);
    layout->addWidget(DBcFremdwort, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Übersetzung:"), page), 1, 0);
    layout->addWidget(DBcUebersetzung, 1, 1);
    // The two charts are placed here; the statistics code fills them.
    allchart = new QChartView(page);
    xchart = new QChartView(page);
    for (QChartView* view : {allchart, xchart}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->chart()->legend()->hide();
        view->setMinimumHeight(220);
    }
    auto* charts = new QHBoxLayout;
    charts->addWidget(allchart, 1);
    charts->addWidget(xchart, 1);
    layout->addLayout(charts, 2, 0, 1, 2);
    layout->setRowStretch(2, 1);
}

void TForm1::buildTablePage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    DBGitter = new QTableView(page);
    DBGitter->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGitter->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGitter->horizontalHeader()->setStretchLastSection(true);
    DBGitter->verticalHeader()->setDefaultSectionSize(DBGitter->fontMetrics().height() + 6);
    // Titles and row numbers stay in the window's font whatever font the words take.
    const QFont titles(DBGitter->font().family(), DBGitter->font().pointSize());
    DBGitter->horizontalHeader()->setFont(titles);
    DBGitter->verticalHeader()->setFont(titles);
    gitterFonts_ = new ColumnFontDelegate(DBGitter);
    DBGitter->setItemDelegate(gitterFonts_);
    layout->addWidget(DBGitter, 1);
    auto* bottom = new QHBoxLayout;
    LabelMarkiert = new QLabel(QStringLiteral("Markierte Vokabeln : "), page);
    idlist = new QListWidget(page);
    idlist->setVisible(false);
    anzeintrag = new QLabel(page);
    Label5 = new QLabel(QStringLiteral("Einträge"), page);
    bottom->addWidget(LabelMarkiert);
    bottom->addStretch(1);
    bottom->addWidget(anzeintrag);
    bottom->addWidget(Label5);
    layout->addLayout(bottom);
}

void TForm1::buildLayout() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    buildToolBar();
    outer->addWidget(Panel1);

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    lekbaum = new QTreeWidget(splitter);
    lekbaum->setHeaderHidden(true);
    lekbaum->setContextMenuPolicy(Qt::CustomContextMenu);
    lekbaum->setMinimumWidth(180);
    Tab1 = new QTabWidget(splitter);
    auto* wordPage = new QWidget;
    auto* extrasPage = new QWidget;
    auto* tablePage = new QWidget;
    buildWordPage(wordPage);
    buildExtrasPage(extrasPage);
    buildTablePage(tablePage);
    Tab1->addTab(wordPage, QStringLiteral("V&okabel"));
    Tab1->addTab(extrasPage, QStringLiteral("E&xtras"));
    Tab1->addTab(tablePage, QStringLiteral("&Tabelle"));
    splitter->addWidget(lekbaum);
    splitter->addWidget(Tab1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 580});
    outer->addWidget(splitter, 1);
    setCentralWidget(central);
}

void TForm1::sizeTableColumns() {
    if (gitterFonts_->fonts.size() < 2) return;
    const QFontMetrics word(gitterFonts_->fonts.at(0)), translation(gitterFonts_->fonts.at(1));
    DBGitter->verticalHeader()->setDefaultSectionSize(
        std::max({word.height(), translation.height(), DBGitter->fontMetrics().height()}) + 6);
    // The foreign-word column takes its title and the words shown, at most
    // half of the grid; the translation column has the rest.
    const int title = DBGitter->horizontalHeader()->sectionSizeHint(0);
    int width = std::max({title, word.averageCharWidth() * 12,
                          static_cast<QAbstractItemView*>(DBGitter)->sizeHintForColumn(0)});
    if (const int half = DBGitter->viewport()->width() / 2; half > title)
        width = std::min(width, half);
    DBGitter->setColumnWidth(0, width);
}
