// The controls of the quiz selection window, their layout and help buttons,
// and the band track bar.
#include "quiz/selectionwindow.h"

#include "platform/formwidgets.h"
#include "quiz/selectionoptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

// --- The band track bar --------------------------------------------------------

SelectionTrackBar::SelectionTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void SelectionTrackBar::setSelection(int start, int end) {
    start = std::clamp(start, minimum(), maximum());
    end = std::clamp(end, minimum(), maximum());
    if (end < start) std::swap(start, end);
    if (start == selStart_ && end == selEnd_) return;
    selStart_ = start;
    selEnd_ = end;
    update();
    emit selectionChanged(start, end);
}

void SelectionTrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);

    // Groove and ticks first, the band over the groove, the handle on top.
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    auto xOf = [&](int value) {
        return groove.left() + handle.width() / 2 +
               QStyle::sliderPositionFromValue(minimum(), maximum(), value, span,
                                               option.upsideDown);
    };
    const int left = xOf(selStart_);
    const int right = xOf(selEnd_);
    const int height = std::max(4, groove.height() / 2 + 2);
    const QRect band(left, groove.center().y() - height / 2 + 1, std::max(2, right - left), height);
    QColor fill = palette().color(QPalette::Highlight);
    painter.setPen(fill.darker(120));
    fill.setAlpha(200);
    painter.setBrush(fill);
    painter.drawRect(band);
    // Small marks below the groove at both ends of the band.
    painter.setPen(palette().color(QPalette::WindowText));
    for (int x : {left, right})
        painter.drawLine(x, band.bottom() + 2, x, band.bottom() + 5);

    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

// --- The window ------------------------------------------------------------------

namespace {

using platform::checkBox;
using platform::helpButton;
using platform::named;
using platform::radio;

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

QGridLayout* groupGrid(QGroupBox* box) { return platform::optionGrid(box, 3); }

} // namespace

Tausw::Tausw(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ausw"));
    setWindowTitle(QStringLiteral("Lektionenauswahl"));
    setModal(true);

    Notebook = named(new QTabWidget(this), "Notebook");
    PageLektionen = named(new QWidget, "PageLektionen");
    Notebook->addTab(PageLektionen, QStringLiteral("Wahl der Lektionen"));
    buildLessonPage();

    OkBtn = button(this, "OkBtn", QStringLiteral("&OK"));
    OkBtn->setDefault(true);
    CancelBtn = button(this, "CancelBtn", QStringLiteral("&Abbruch"));
    spa = button(this, "spa", QStringLiteral("spa"));
    spa->hide();
    for (QPushButton* b : {OkBtn, CancelBtn})
        b->setMinimumWidth(100);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(Notebook, 1);
    layout->addLayout(buttons);

    connect(OkBtn, &QPushButton::clicked, this, &Tausw::OKBtn_Click);
    connect(CancelBtn, &QPushButton::clicked, this, &Tausw::CancelBtn_Click);
    connect(spa, &QPushButton::clicked, this, &Tausw::spaClick);
    connect(BitBtn1, &QPushButton::clicked, this, &Tausw::BitBtn1Click);
    connect(allemark, &QPushButton::clicked, this, &Tausw::allemarkClick);
    connect(Invert, &QPushButton::clicked, this, &Tausw::InvertClick);
    connect(Tb1, &QSlider::valueChanged, this, &Tausw::Tb1Change);
    connect(Tb1, &SelectionTrackBar::selectionChanged, this, &Tausw::showBand);
    connect(start, &QRadioButton::clicked, this, &Tausw::startClick);
    connect(ende, &QRadioButton::clicked, this, &Tausw::endeClick);
    Panel5->installEventFilter(this);

    // The filters of a fresh record until the file is read.
    loadControls(TSelectionOptionsRec());
    resize(780, 540);
}

void Tausw::buildLessonPage() {
    QWidget* page = PageLektionen;

    LabelSrc = named(new QLabel(QStringLiteral("Bitte Lektionen zur Abfrage markieren:"), page),
                     "LabelSrc");
    SrcList = named(new QListWidget(page), "SrcList");
    // A click marks or unmarks a lesson; several may be marked.
    SrcList->setSelectionMode(QAbstractItemView::MultiSelection);
    // The lesson numbers are right-aligned in three places: a fixed-pitch
    // font keeps the sections in a column.
    SrcList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    SrcList->setMinimumWidth(280);
    LabelSrc->setBuddy(SrcList);
    dstlist = named(new QListWidget(page), "dstlist");
    dstlist->hide();

    BitBtn1 = button(page, "BitBtn1", QStringLiteral("&Wie bei letzter Abfrage"));
    BitBtn1->setToolTip(QStringLiteral("Setzen der Zielliste wie bei letzter Abfrage"));
    allemark = button(page, "allemark", QStringLiteral("A&lle"));
    Invert = button(page, "Invert", QStringLiteral("&Invertieren"));

    auto* markButtons = new QHBoxLayout;
    markButtons->addWidget(BitBtn1, 2);
    markButtons->addWidget(allemark, 1);
    markButtons->addWidget(Invert, 1);

    auto* lessons = new QVBoxLayout;
    lessons->addWidget(LabelSrc);
    lessons->addWidget(SrcList, 1);
    lessons->addLayout(markButtons);

    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(10, 10, 10, 10);
    columns->setSpacing(12);
    columns->addLayout(lessons, 1);
    columns->addWidget(buildFilterColumn());
}

QWidget* Tausw::buildFilterColumn() {
    auto* column = named(new QWidget(PageLektionen), "FilterColumn");
    QWidget* page = column;

    GroupRichtung = named(new QGroupBox(QStringLiteral("Abfragerichtung"), page), "GroupRichtung");
    {
        auto* grid = groupGrid(GroupRichtung);
        RadioButton1 = radio(page, "RadioButton1", QStringLiteral("&Fremd-> Muttersprache"));
        RadioButton2 = radio(page, "RadioButton2", QStringLiteral("&Mutter-> Fremdsprache"));
        RadioButton3 = radio(page, "RadioButton3", QStringLiteral("&Gemischt"));
        RichtungGroup = new QButtonGroup(this);
        RichtungGroup->addButton(RadioButton1, 1);
        RichtungGroup->addButton(RadioButton2, 2);
        RichtungGroup->addButton(RadioButton3, 3);
        SpeedButton4 = helpButton(
            page, "SpeedButton4",
            QStringLiteral("Wählt man \"Fremdsprache-Muttersprache\", so erscheint bei der Abfrage "
                           "das Fremdwort der Vokabel (z. B. in Latein) und das Wort der "
                           "Muttersprache (Deutsch) muß eingetippt werden."));
        grid->addWidget(RadioButton1, 0, 0);
        grid->addWidget(SpeedButton4, 0, 1, Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(RadioButton2, 1, 0);
        grid->addWidget(RadioButton3, 2, 0);
        grid->setRowStretch(3, 1);
    }

    GroupSchwierigkeit =
        named(new QGroupBox(QStringLiteral("Schwierigkeitsgrad"), page), "GroupSchwierigkeit");
    {
        auto* grid = groupGrid(GroupSchwierigkeit);
        sl = checkBox(page, "sl", QStringLiteral("Se&hr leichte Vokabeln"));
        l = checkBox(page, "l", QStringLiteral("L&eichte Vokabeln"));
        n = checkBox(page, "n", QStringLiteral("&Normale Vokabeln"));
        s = checkBox(page, "s", QStringLiteral("S&chwere Vokabeln"));
        ss = checkBox(page, "ss", QStringLiteral("&Sehr schwere Vokabeln"));
        SpeedButton2 = helpButton(
            page, "SpeedButton2",
            QStringLiteral("Jede Vokabel hat ein Feld mit dem Schwierigkeitsgrades (Sehr "
                           "leicht,...). Nur Vokabeln, deren Schwierigkeitsgrad hier gewählt wird "
                           "bzw. ist, werden abgefragt. Einstellen läßt sich der "
                           "Schwierigkeitsgrad bei der Eingabe und während der Abfrage."));
        int row = 0;
        for (QCheckBox* box : {sl, l, n, s, ss})
            grid->addWidget(box, row++, 0);
        grid->addWidget(SpeedButton2, 0, 1, Qt::AlignRight | Qt::AlignTop);
    }

    GroupFilter =
        named(new QGroupBox(QStringLiteral("Nur diese Vokabeln abfragen"), page), "GroupFilter");
    {
        auto* grid = groupGrid(GroupFilter);
        CheckBox1 = checkBox(page, "CheckBox1", QStringLiteral("&Nicht gewußte"));
        CheckBox1->setToolTip(QStringLiteral("Nur nicht gewußte Vokabeln werden abgefragt"));
        SpeedButton3 = helpButton(
            page, "SpeedButton3",
            QStringLiteral("Es werden nur die Vokabeln abgefragt, die sich in den gewählten "
                           "Lektionen befinden und beim letzten mal, als sie abgefragt wurden, "
                           "falsch beantwortet wurden. Noch nie abgefragte Vokabeln werden beim "
                           "Wählen dieser Option nicht abgefragt."));
        LabelWortart = named(new QLabel(QStringLiteral("Wortart:"), page), "LabelWortart");
        ComboBox1 = named(new QComboBox(page), "ComboBox1");
        ComboBox1->addItems(TSelectionOptionsRec::WordClassItems());
        ComboBox1->setMaxVisibleItems(TSelectionOptionsRec::WordClassCount);
        LabelWortart->setBuddy(ComboBox1);
        cbgenus = checkBox(page, "cbgenus", QStringLiteral("Gen&us eingegeben"));
        cbgeni = checkBox(page, "cbgeni", QStringLiteral("Geni&tiv eingegeben"));
        cbsf = checkBox(page, "cbsf", QStringLiteral("Stammfo&rm eingegeben"));
        SpeedButton1 = helpButton(
            page, "SpeedButton1",
            QStringLiteral("Bsp: Ist \"Genus eingegeben\" gewählt, dann werden nur Vokabeln, bei "
                           "denen das Genus-Feld ausgefüllt ist, abgefragt."));

        auto* wordClass = new QHBoxLayout;
        wordClass->addWidget(LabelWortart);
        wordClass->addWidget(ComboBox1, 1);
        grid->addWidget(CheckBox1, 0, 0);
        grid->addWidget(SpeedButton3, 0, 1, Qt::AlignRight | Qt::AlignVCenter);
        grid->addLayout(wordClass, 1, 0);
        grid->addWidget(cbgenus, 2, 0);
        grid->addWidget(SpeedButton1, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(cbgeni, 3, 0);
        grid->addWidget(cbsf, 4, 0);
    }

    Panel5 = named(new QGroupBox(QStringLiteral("Erfolgsquote"), page), "Panel5");
    {
        auto* grid = groupGrid(Panel5);
        grid->setColumnStretch(0, 0);
        grid->setColumnStretch(1, 1);
        Tb1 = named(new SelectionTrackBar(page), "Tb1");
        Tb1->setRange(0, TSelectionOptionsRec::MaxPercent);
        Tb1->setTickPosition(QSlider::TicksAbove);
        Tb1->setTickInterval(10);
        Tb1->setPageStep(10);
        Tb1->setMinimumHeight(30);
        Label0 = named(new QLabel(QStringLiteral("0%"), page), "Label0");
        Label100 = named(new QLabel(QStringLiteral("100%"), page), "Label100");
        LabelGewusst =
            named(new QLabel(QStringLiteral("...der Abfragen gewusst..."), page), "LabelGewusst");
        LabelGewusst->setAlignment(Qt::AlignCenter);
        LabelBand = named(new QLabel(page), "LabelBand");
        LabelBand->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        start = radio(page, "start", QStringLiteral("&Von %"));
        ende = radio(page, "ende", QStringLiteral("&Bis % "));
        BandGroup = new QButtonGroup(this);
        BandGroup->addButton(start);
        BandGroup->addButton(ende);
        SpeedButton9 = helpButton(
            page, "SpeedButton9",
            QStringLiteral("Hier können Sie festlegen, dass nur Vokabeln abgefragt werden, die "
                           "bisher mindestens zu einem bestimmten Prozentsatz gewusst wurden "
                           "(richtige Antworten in %)( von%) und bis zu einem bestimmten "
                           "(bis%)."));

        grid->addWidget(Label0, 0, 0, Qt::AlignRight | Qt::AlignBottom);
        grid->addWidget(Tb1, 0, 1);
        grid->addWidget(Label100, 0, 2, Qt::AlignLeft | Qt::AlignBottom);
        grid->addWidget(SpeedButton9, 0, 3, Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(LabelGewusst, 1, 1);
        auto* ends = new QHBoxLayout;
        ends->addWidget(start);
        ends->addWidget(ende);
        ends->addStretch(1);
        ends->addWidget(LabelBand);
        grid->addLayout(ends, 2, 0, 1, 3);
    }

    auto* directionAndDifficulty = new QHBoxLayout;
    directionAndDifficulty->setSpacing(8);
    directionAndDifficulty->addWidget(GroupRichtung, 1);
    directionAndDifficulty->addWidget(GroupSchwierigkeit, 1);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(directionAndDifficulty);
    layout->addWidget(GroupFilter);
    layout->addWidget(Panel5);
    layout->addStretch(1);
    return column;
}
