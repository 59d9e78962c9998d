// The quiz window: creation, what it takes over from the main window, the
// menu lock and the end of a quiz.
#include "quiz/quizwindow.h"

#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "mainwindow/mainwindow.h"
#include "platform/buttonkeys.h"
#include "platform/error.h"
#include "platform/messagebox.h"
#include "quiz/accentstripping.h"
#include "quiz/countbars.h"
#include "quiz/interruptedquiz.h"
#include "quiz/quizoptionspage.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

Tabfrag* abfrag = nullptr;

Tabfrag::Tabfrag(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("abfrag"));
    setWindowTitle(QStringLiteral("Orvilex Abfrage"));
    buildMenu();
    Panel1 = new QuizOptionsPage(&QuizOptions, this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    buildQuizPage();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Panel1);
    layout->addWidget(Panel2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Panel1->setFixedSize(PageWidth, std::max(PageHeight, Panel1->sizeHint().height()));
    Panel2->setFixedHeight(Panel1->height());
    Panel1->hide();

    // Enter submits, moves to the next field or goes on to the next word:
    // held down, it must not run through words the user has not seen.
    platform::setHeldEnterActsOnce(this);
    // The aids see each edit before the quiz's own handlers do.
    setUpTypingAids();
    connectControls();
    LayoutQuizFields();
}

Tabfrag::~Tabfrag() {
    if (abfrag == this) abfrag = nullptr;
}

void Tabfrag::connectControls() {
    connect(Einstellungen1, &QAction::triggered, this, [this] { BitBtn3->click(); });
    connect(Unterbrechen1, &QAction::triggered, this, [this] { BitBtn5->click(); });
    connect(Statistik1, &QAction::triggered, this, &Tabfrag::Statistik1Click);
    connect(BitBtn5, &QPushButton::clicked, this, &Tabfrag::BitBtn5Click);
    connect(Beenden1, &QAction::triggered, this, [this] { CancelBtn->click(); });
    connect(OkBtn, &QPushButton::clicked, this, &Tabfrag::OKBtn_Click);
    connect(BitBtn4, &QPushButton::clicked, this, &Tabfrag::BitBtn4Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tabfrag::BitBtn3Click);
    connect(CancelBtn, &QPushButton::clicked, this, &Tabfrag::CancelBtnClick);
    connect(Button3, &QPushButton::clicked, this, &Tabfrag::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &Tabfrag::Button4Click);
    connect(Button6, &QPushButton::clicked, this, &Tabfrag::Button6Click);
    connect(Button2, &QPushButton::clicked, this, &Tabfrag::Button2Click);
    connect(bbemerkung, &QPushButton::clicked, this, &Tabfrag::bbemerkungClick);
    connect(Edit5, &QPlainTextEdit::textChanged, this, &Tabfrag::Edit5Change);
    connect(wacom, &QComboBox::currentIndexChanged, this, &Tabfrag::wacomChange);
    connect(Schwcom, &QComboBox::currentIndexChanged, this, &Tabfrag::SchwcomChange);
    connect(tim, &QTimer::timeout, this, &Tabfrag::timTimer);
    connect(Panel1, &QuizOptionsPage::BitBtn2Clicked, this, &Tabfrag::BitBtn2_Click);

    // Enter in a special-form field goes to the next one shown, and from the
    // last one submits the answer.
    QList<QLineEdit*> forms{EGenitiv, EGenus};
    for (QLineEdit* field : mm)
        forms << field;
    for (QLineEdit* field : forms)
        connect(field, &QLineEdit::returnPressed, this, [this, forms, field] {
            for (qsizetype k = forms.indexOf(field) + 1; k < forms.size(); ++k)
                if (forms[k]->isVisibleTo(Panel2) &&
                    forms[k]->parentWidget()->isVisibleTo(Panel2)) {
                    forms[k]->setFocus();
                    return;
                }
            if (OkBtn->isEnabled()) {
                OkBtn->setFocus();
                OKBtn_Click();
            }
        });
    for (QWidget* field : answerFields())
        field->installEventFilter(this);
    setTabOrder(Edit5, EGenitiv);
    QWidget* previous = EGenitiv;
    for (QWidget* next : std::initializer_list<QWidget*>{EGenus, mm[0], mm[1], mm[2], mm[3], mm[4],
                                                         mm[5], OkBtn, BitBtn4}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void Tabfrag::FormCreate() {
    Panel1->FormCreate();
    LayoutQuizFields();
}

bool Tabfrag::quizRunning() const {
    return engine_ && engine_->running();
}

// --- what the main window hands over ----------------------------------------------------------

void Tabfrag::applyLanguageLabels(const LanguageLabels& labels) {
    griech->setChecked(labels.greekMode);
    quizMemoPointSize_ = labels.quizMemoPointSize;
    for (QPlainTextEdit* memo : {Edit5, MemoUebers}) {
        QFont font = memo->font();
        font.setPointSize(quizMemoPointSize_);
        memo->setFont(font);
    }
}

void Tabfrag::applyDatabaseFonts(const DatabaseFonts& fonts) {
    wordView_ = fonts.word;
    translationView_ = fonts.translation;
    tableWordView_ = fonts.tableWord;
    tableTranslationView_ = fonts.tableTranslation;
}

void Tabfrag::applySpecialFormCaptions(const SpecialFormCaptions& captions) {
    captions_ = captions;
    Label24->setText(GenitivePrompt(captions.Genitive));
    Label31->setText(captions.Genus);
    const QFont font = CaptionFont(captions);
    // Forms 4 and 6 change places for the font "Greek", as their fields do.
    const bool greek = DatabaseOptions.WordFont == QLatin1String(greekaccents::GreekFontName);
    for (int k = 0; k < 6; ++k) {
        int form = k;
        if (greek && k == 3) form = 5;
        if (greek && k == 5) form = 3;
        ll[k]->setFont(font);
        l[k]->setFont(font);
        ll[k]->setText(captions.Forms[form]);
        l[k]->setText(captions.Forms[form]);
    }
}

QString Tabfrag::akkonv(const QString& text) {
    return greekaccents::akkonvTable(text);
}
QString Tabfrag::ak2konv(const QString& text) {
    return greekaccents::ak2konv(text);
}
QString Tabfrag::ak3konv(const QString& text) {
    return greekaccents::ak3konv(text);
}

// --- the main window's menus ----------------------------------------------------------------

namespace {

void setMainMenusEnabled(bool enabled) {
    if (!Form1) return;
    for (QMenu* menu : {Form1->DatenbankMenu, Form1->Bearbeiten, Form1->Eingabe1, Form1->Vokabeln,
                        Form1->EinstellungenMenu})
        if (menu) menu->menuAction()->setEnabled(enabled);
}

} // namespace

void Tabfrag::LockMainMenus() {
    setMainMenusEnabled(false);
}

void Tabfrag::UnlockMainMenus() {
    setMainMenusEnabled(true);
}

// --- progress chart -------------------------------------------------------------------------

// The chart is small: more value labels would hide each other.
constexpr int ProgressChartIntervals = 3;

void Tabfrag::drawChart(int right, int wrong) {
    // The presentation shows the time passed on the fixed display time.
    const bool demo = QuizOptions.rbabvor && quizRunning();
    ShowCountBars(tabrf->chart(), tabrfSeries,
                  demo ? PresentationPoints(wrong) : ProgressPoints(right, wrong),
                  ProgressChartIntervals);
    const auto axes = tabrf->chart()->axes(Qt::Vertical);
    if (auto* axis = axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
        axis && demo) {
        axis->setRange(0, std::max(1, QuizOptions.ems));
        axis->setTickCount(2);
    }
}

// --- end ------------------------------------------------------------------------------------

void Tabfrag::CancelBtnClick() {
    close();
}

bool Tabfrag::FormCloseQuery() {
    if (vonh->isChecked() || !engine_ || !engine_->running() || engine_->QuizTotal <= 0 ||
        engine_->QuizInterrupted)
        return true;
    return platform::showMessage(QStringLiteral("Abfrage wirklich beenden?"),
                                 QStringLiteral("Achtung"), platform::Icon::Question,
                                 platform::Buttons::YesNo) == platform::Answer::Yes;
}

void Tabfrag::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    endQuiz();
}

void Tabfrag::endQuiz() {
    ending_ = true;
    StopDemoTimer();
    const bool settingsOnly = vonh->isChecked();
    const bool quizRan = !settingsOnly && store_ && engine_;
    if (quizRan) {
        // A change made to the word on screen (word class, difficulty) is kept.
        try {
            if (engine_->running() && engine_->hasWord()) store_->writeWord(engine_->word());
        } catch (const platform::Error& error) {
            platform::showMessage(error.message(), QStringLiteral("Fehler"), platform::Icon::Error);
        }
        // A quiz that ends normally leaves no interrupted quiz behind: the
        // words' quiz marks no longer match the saved state. Leaving the
        // settings page alone never touches it.
        if (!engine_->QuizInterrupted) removeInterruptedQuiz(QuizLabPath);
        QuizEndShowEvaluation = true;
        // The word on screen was not answered.
        if (engine_->QuizReached > 0) --engine_->QuizReached;
        engine_->stop();
        store_->close();
    }
    hide();
    if (!settingsOnly) {
        UnlockMainMenus();
        if (quizRan && !CharWindowWasOpen) FormClose2();
        QuizEndShowEvaluation = false;
        if (Form1) Form1->show();
        if (quizEnded) quizEnded();
    }
    vonh->setChecked(false);
    ending_ = false;
}
