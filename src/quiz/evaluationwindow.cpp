#include "quiz/evaluationwindow.h"

#include "platform/formwidgets.h"
#include "platform/modal.h"
#include "quiz/countbars.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QVBoxLayout>

Tauswertung* auswertung = nullptr;

namespace {

using platform::named;

QChartView* newChartView(QWidget* parent, const char* name) {
    auto* c = new QChart;
    c->setAnimationOptions(QChart::NoAnimation);
    c->setBackgroundRoundness(0);
    auto* view = named(new QChartView(c, parent), name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 300);
    return view;
}

QPushButton* okButton(QWidget* parent, const char* name) {
    auto* button = named(new QPushButton(QStringLiteral("&OK"), parent), name);
    button->setMinimumWidth(100);
    return button;
}

} // namespace

Tauswertung::Tauswertung(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("auswertung"));
    setWindowTitle(QStringLiteral("Auswertung der Abfrage"));

    MainMenu1 = named(new QMenuBar(this), "MainMenu1");
    Ende = MainMenu1->addAction(QStringLiteral("Auswertung &schließen"));
    Ende->setObjectName(QStringLiteral("Ende"));

    TabbedNotebook1 = named(new QTabWidget(this), "TabbedNotebook1");

    auto* standard = new QWidget;
    chart = newChartView(standard, "chart");
    Series1 = AddCountBars(chart->chart());
    Chart1 = newChartView(standard, "Chart1");
    BarSeries1 = new QPieSeries;
    BarSeries1->setPieSize(0.7);
    Chart1->chart()->addSeries(BarSeries1);
    Chart1->chart()->legend()->setAlignment(Qt::AlignBottom);
    OKButton = okButton(standard, "OKButton");
    {
        auto* charts = new QHBoxLayout;
        charts->addWidget(chart, 1);
        charts->addWidget(Chart1, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(OKButton);
        auto* page = new QVBoxLayout(standard);
        page->addLayout(charts, 1);
        page->addLayout(buttons);
    }
    TabbedNotebook1->addTab(standard, QStringLiteral("&Standardauswertung"));

    auto* detailed = new QWidget;
    DBChart = newChartView(detailed, "DBChart");
    Series2 = AddCountBars(DBChart->chart());
    // Seven long labels do not fit below the bars: the legend names them.
    DBChart->chart()->legend()->show();
    DBChart->chart()->legend()->setAlignment(Qt::AlignRight);
    if (auto* x = qobject_cast<QBarCategoryAxis*>(DBChart->chart()->axes(Qt::Horizontal).first()))
        x->setLabelsVisible(false);
    Button1 = okButton(detailed, "Button1");
    {
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(Button1);
        auto* page = new QVBoxLayout(detailed);
        page->addWidget(DBChart, 1);
        page->addLayout(buttons);
    }
    TabbedNotebook1->addTab(detailed, QStringLiteral("&Detaillierte Auswertung"));

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(TabbedNotebook1);
    resize(820, 480);

    connect(OKButton, &QPushButton::clicked, this, &Tauswertung::OKButtonClick);
    connect(Button1, &QPushButton::clicked, this, &Tauswertung::Button1Click);
    connect(Ende, &QAction::triggered, this, &Tauswertung::EndeClick);
    OKButton->setDefault(true);
}

Tauswertung::~Tauswertung() {
    if (auswertung == this) auswertung = nullptr;
}

void Tauswertung::fill(const EvaluationFigures& figures) {
    shown_ = figures;
    ShowCountBars(chart->chart(), Series1, figures.summary);
    ShowCountBars(DBChart->chart(), Series2, figures.attempts);
    BarSeries1->clear();
    for (const ChartPoint& p : figures.summary) {
        QPieSlice* slice =
            BarSeries1->append(QStringLiteral("%1: %2").arg(p.label).arg(p.value), p.value);
        slice->setColor(p.colour);
        slice->setBorderColor(Qt::white);
        slice->setLabelVisible(false); // the legend names the slices
    }
}

int Tauswertung::showModal() {
    TabbedNotebook1->setCurrentIndex(0);
    return platform::execModal(*this);
}

void Tauswertung::OKButtonClick() {
    accept();
}

void Tauswertung::Button1Click() {
    accept();
}

void Tauswertung::EndeClick() {
    accept();
}
