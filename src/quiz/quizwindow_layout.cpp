// The quiz window's controls and the arrangement of the page for each word.
#include "database/generaloptions.h"
#include "database/vocabularytable.h"
#include "platform/formwidgets.h"
#include "quiz/countbars.h"
#include "quiz/quizoptionspage.h"
#include "quiz/quizwindow.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace {

int Near(double x) {
    return static_cast<int>(std::nearbyint(x));
}

using platform::named;

QFrame* plainPanel(QWidget* parent, const char* name) {
    auto* frame = named(new QFrame(parent), name);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

QLineEdit* displayField(QWidget* parent, const char* name) {
    auto* field = named(new QLineEdit(parent), name);
    field->setReadOnly(true);
    return field;
}

// Geometry of the quiz page (design size 1024 × 575).
constexpr int Margin = 10;
constexpr int TopRowY = 8;
constexpr int QuestionY = 34;
constexpr int QuestionHeight = 88;
constexpr int RemarksWidth = 250;
constexpr int RowY = 128;
constexpr int RowHeight = 24;
constexpr int WordClassWidth = 200;
constexpr int GenusWidth = 100;
constexpr int DifficultyWidth = 150;
constexpr int AnswerPanelY = 156;
constexpr int AnswerPanelHeight = 146;
constexpr int FormRowHeight = 20;
constexpr int StoredAnswerWidth = 480;
constexpr int StoredFormsX = 512;
constexpr int BottomY = 462;

} // namespace

// --- building -------------------------------------------------------------------------------

void Tabfrag::buildMenu() {
    MainMenu1 = named(new QMenuBar(this), "MainMenu1");
    AbfrageMenu = named(MainMenu1->addMenu(QStringLiteral("&Abfrage")), "AbfrageMenu");
    Einstellungen1 = AbfrageMenu->addAction(QStringLiteral("&Einstellungen"));
    Einstellungen1->setObjectName(QStringLiteral("Einstellungen1"));
    Unterbrechen1 = AbfrageMenu->addAction(QStringLiteral("&Unterbrechen"));
    Unterbrechen1->setObjectName(QStringLiteral("Unterbrechen1"));
    Statistik1 = AbfrageMenu->addAction(QStringLiteral("&Statistik"));
    Statistik1->setObjectName(QStringLiteral("Statistik1"));
    AbfrageMenu->addSeparator();
    Beenden1 = AbfrageMenu->addAction(QStringLiteral("&Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    buildExtrasMenu();
}

void Tabfrag::buildQuizPage() {
    QWidget* page = Panel2;
    page->setFixedSize(PageWidth, PageHeight);

    // Top row: lesson, progress, attempt.
    LabelLektion = named(new QLabel(QStringLiteral("Lektion:"), page), "LabelLektion");
    LabelLektion->setGeometry(Margin, TopRowY, 52, 18);
    Label25 = named(new QLabel(page), "Label25");
    Label25->setGeometry(Margin + 54, TopRowY, 110, 18);
    QFont strong = Label25->font();
    strong.setBold(true);
    Label25->setFont(strong);
    LabelFortschritt =
        named(new QLabel(QStringLiteral("Fertig / abgefragt / gesamt:"), page), "LabelFortschritt");
    LabelFortschritt->setGeometry(190, TopRowY, 170, 18);
    Label1 = named(new QLabel(page), "Label1");
    Label1->setGeometry(362, TopRowY, 120, 18);
    Label1->setFont(strong);
    Label16 = named(new QLabel(page), "Label16");
    Label16->setGeometry(500, TopRowY, 30, 18);
    Label16->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label16->setFont(strong);
    Label30 = named(new QLabel(QStringLiteral(". Versuch"), page), "Label30");
    Label30->setGeometry(531, TopRowY, 90, 18);
    lala = named(new QLabel(page), "lala");
    lala->hide();
    bbemerkung = named(new QPushButton(QStringLiteral("&Bemerkung anzeigen"), page), "bbemerkung");
    bbemerkung->setGeometry(PageWidth - Margin - 160, TopRowY - 4, 160, 24);
    bbemerkung->hide();

    // The question and the remarks beside it.
    MemoFremd = named(new QPlainTextEdit(page), "MemoFremd");
    MemoFremd->setReadOnly(true);
    MemoFremd->setGeometry(Margin, QuestionY, PageWidth - 2 * Margin, QuestionHeight);
    MemoFremd->setFocusPolicy(Qt::NoFocus);
    DBMemo5 = named(new QPlainTextEdit(page), "DBMemo5");
    DBMemo5->setReadOnly(true);
    DBMemo5->setFocusPolicy(Qt::NoFocus);
    DBMemo5->setGeometry(PageWidth - Margin - RemarksWidth, QuestionY, RemarksWidth,
                         QuestionHeight);
    DBMemo5->setPlaceholderText(QStringLiteral("Bemerkungen"));
    DBMemo5->hide();

    // Word class, genitive, genus and difficulty of the word.
    wacom = named(new QComboBox(page), "wacom");
    wacom->addItems(WordClassNames());
    wacom->setFocusPolicy(Qt::NoFocus);
    DBMemo2 = displayField(page, "DBMemo2");
    DBMemo2->setPlaceholderText(QStringLiteral("Genitiv"));
    DBMemo3 = displayField(page, "DBMemo3");
    DBMemo3->setPlaceholderText(QStringLiteral("Genus"));
    Schwcom = named(new QComboBox(page), "Schwcom");
    Schwcom->addItems({QStringLiteral("Sehr schwierig"), QStringLiteral("Schwierig"),
                       QStringLiteral("Normal"), QStringLiteral("Leicht"),
                       QStringLiteral("Sehr leicht")});
    Schwcom->setFocusPolicy(Qt::NoFocus);
    Schwcom->setGeometry(PageWidth - Margin - DifficultyWidth, RowY, DifficultyWidth, RowHeight);
    wacom->setGeometry(Margin, RowY, WordClassWidth, RowHeight);

    // The answer and the typed special forms. PSFein spans the page; its
    // fields stand in the right half, the answer memo in the left one.
    PSFein = plainPanel(page, "PSFein");
    PSFein->setGeometry(0, AnswerPanelY, PageWidth, AnswerPanelHeight);
    PGenitiv = plainPanel(PSFein, "PGenitiv");
    PGenitiv->setGeometry(496, 0, 300, FormRowHeight + 2);
    Label24 = named(new QLabel(QStringLiteral("Bitte Genitiv eingeben:"), PGenitiv), "Label24");
    Label24->setGeometry(0, 0, 150, FormRowHeight + 2);
    EGenitiv = named(new QLineEdit(PGenitiv), "EGenitiv");
    EGenitiv->setGeometry(152, 0, 146, FormRowHeight + 2);
    PGenus = plainPanel(PSFein, "PGenus");
    PGenus->setGeometry(804, 0, 210, FormRowHeight + 2);
    Label31 = named(new QLabel(QStringLiteral("Genus:"), PGenus), "Label31");
    Label31->setGeometry(0, 0, 60, FormRowHeight + 2);
    EGenus = named(new QLineEdit(PGenus), "EGenus");
    EGenus->setGeometry(62, 0, 148, FormRowHeight + 2);
    for (int k = 0; k < 6; ++k) {
        ll[k] = new QLabel(QStringLiteral("Sonderform %1").arg(k + 1), PSFein);
        ll[k]->setObjectName(QStringLiteral("ll%1").arg(k + 1));
        mm[k] = new QLineEdit(PSFein);
        mm[k]->setObjectName(QStringLiteral("mm%1").arg(k + 1));
        const int y = 24 + k * FormRowHeight;
        ll[k]->setGeometry(496, y, 180, FormRowHeight);
        mm[k]->setGeometry(496, y, 418, FormRowHeight);
    }

    LabelEingabe = named(new QLabel(QStringLiteral("&Ihre Eingabe:"), page), "LabelEingabe");
    LabelEingabe->setGeometry(Margin, AnswerPanelY, 120, 18);
    LabelBedeutungen = named(new QLabel(QStringLiteral("Bedeutungen:"), page), "LabelBedeutungen");
    LabelBedeutungen->setGeometry(300, AnswerPanelY, 90, 18);
    LabelBedeutungen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label11 = named(new QLabel(page), "Label11");
    Label11->setGeometry(394, AnswerPanelY, 30, 18);
    lanze = named(new QLabel(page), "lanze");
    lanze->setGeometry(424, AnswerPanelY, 60, 18);
    lanze->setToolTip(QStringLiteral("So viele Bedeutungen müssen eingegeben werden."));
    Edit5 = named(new QPlainTextEdit(page), "Edit5");
    Edit5->setGeometry(Margin, AnswerPanelY + 20, StoredAnswerWidth, AnswerPanelHeight - 22);
    Edit5->setTabChangesFocus(true);
    LabelEingabe->setBuddy(Edit5);

    // The stored answer and the stored special forms, shown after the answer.
    Panel7 = plainPanel(page, "Panel7");
    Panel7->setGeometry(Margin, Near(PageHeight * 0.528695652), StoredAnswerWidth, 150);
    Label19 = named(new QLabel(QStringLiteral("Mögliche Übersetzungen:"), Panel7), "Label19");
    Label19->setGeometry(0, 0, StoredAnswerWidth, 18);
    MemoUebers = named(new QPlainTextEdit(Panel7), "MemoUebers");
    MemoUebers->setReadOnly(true);
    MemoUebers->setFocusPolicy(Qt::NoFocus);
    MemoUebers->setGeometry(0, 20, StoredAnswerWidth, 126);

    grpan = plainPanel(page, "grpan");
    grpan->setGeometry(StoredFormsX, Near(PageHeight * 0.535652174),
                       PageWidth - StoredFormsX - Margin, 6 * 22);
    grrrr = plainPanel(grpan, "grrrr");
    grrrr->setGeometry(0, 3 * 22, grpan->width(), 3 * 22);
    for (int k = 0; k < 6; ++k) {
        QWidget* parent = k < 3 ? static_cast<QWidget*>(grpan) : grrrr;
        const int y = (k < 3 ? k : k - 3) * 22;
        l[k] = new QLabel(QStringLiteral("Sonderform %1").arg(k + 1), parent);
        l[k]->setObjectName(QStringLiteral("l%1").arg(k + 1));
        l[k]->setGeometry(0, y, 180, 21);
        m[k] = new QLineEdit(parent);
        m[k]->setObjectName(QStringLiteral("m%1").arg(k + 1));
        m[k]->setReadOnly(true);
        m[k]->setFocusPolicy(Qt::NoFocus);
        m[k]->setGeometry(0, y, 418, 21);
    }

    // The backdrop of the presentation mode covers the answer fields.
    PanelVor = named(new QFrame(page), "PanelVor");
    PanelVor->setFrameShape(QFrame::StyledPanel);
    PanelVor->setAutoFillBackground(true);
    PanelVor->setGeometry(0, AnswerPanelY, PageWidth, BottomY - AnswerPanelY - 4);
    LabelVor = named(new QLabel(QStringLiteral("Vorspiel/Lernmodus: Die Vokabeln werden "
                                               "nacheinander angezeigt."),
                                PanelVor),
                     "LabelVor");
    LabelVor->setGeometry(Margin, PanelVor->height() - 24, PageWidth - 2 * Margin, 18);
    LabelVor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PanelVor->hide();

    buildMultipleChoice();
    buildVerdictAndCommands();
}

void Tabfrag::buildVerdictAndCommands() {
    QWidget* page = Panel2;

    tabrf = named(new QChartView(page), "tabrf");
    tabrf->setGeometry(Margin, BottomY, 250, PageHeight - BottomY - 6);
    auto* chart = new QChart;
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->setBackgroundVisible(false);
    tabrfSeries = AddCountBars(chart);
    tabrf->setChart(chart);
    tabrf->setRenderHint(QPainter::Antialiasing);

    // The verdict.
    Panel3 = named(new QFrame(page), "Panel3");
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel3->setGeometry(270, BottomY, 330, PageHeight - BottomY - 6);
    Shape1 = named(new QFrame(Panel3), "Shape1");
    Shape1->setGeometry(8, 8, 314, 52);
    Label9 = named(new QLabel(Shape1), "Label9");
    Label9->setGeometry(3, 3, 308, 46);
    Label9->setAlignment(Qt::AlignCenter);
    QFont verdictFont = Label9->font();
    verdictFont.setPointSize(20);
    verdictFont.setBold(true);
    Label9->setFont(verdictFont);
    Label9->setAutoFillBackground(true);
    Button6 = named(new QPushButton(QStringLiteral("doch r&ichtig"), Panel3), "Button6");
    Button6->setGeometry(8, 68, 150, 28);
    Button2 = named(new QPushButton(QStringLiteral("doch f&alsch"), Panel3), "Button2");
    Button2->setGeometry(172, 68, 150, 28);
    Panel3->hide();

    Panel4 = named(new QFrame(page), "Panel4");
    Panel4->setFrameShape(QFrame::StyledPanel);
    Panel4->setAutoFillBackground(true);
    Panel4->setGeometry(Panel3->geometry());
    LabelWieWar = named(new QLabel(QStringLiteral("Wie war die Eingabe?"), Panel4), "LabelWieWar");
    LabelWieWar->setGeometry(8, 10, 314, 30);
    LabelWieWar->setAlignment(Qt::AlignCenter);
    QFont question = LabelWieWar->font();
    question.setPointSize(12);
    question.setBold(true);
    LabelWieWar->setFont(question);
    Button3 = named(new QPushButton(QStringLiteral("&Richtig"), Panel4), "Button3");
    Button3->setGeometry(8, 52, 150, 32);
    Button4 = named(new QPushButton(QStringLiteral("&Falsch"), Panel4), "Button4");
    Button4->setGeometry(172, 52, 150, 32);
    Panel4->hide();

    // Commands.
    const int x = 612;
    OkBtn = named(new QPushButton(QStringLiteral("&OK"), page), "OkBtn");
    OkBtn->setGeometry(x, BottomY + 2, 196, 44);
    BitBtn4 = named(new QPushButton(QStringLiteral("&Weiter"), page), "BitBtn4");
    BitBtn4->setGeometry(x + 206, BottomY + 2, 196, 44);
    BitBtn4->setEnabled(false);
    QFont big = OkBtn->font();
    big.setBold(true);
    OkBtn->setFont(big);
    BitBtn4->setFont(big);
    BitBtn3 = named(new QPushButton(QStringLiteral("&Einstellungen"), page), "BitBtn3");
    BitBtn3->setGeometry(x, BottomY + 56, 130, 40);
    CancelBtn = named(new QPushButton(QStringLiteral("&Ende"), page), "CancelBtn");
    CancelBtn->setGeometry(x + 137, BottomY + 56, 130, 40);
    BitBtn5 = named(new QPushButton(QStringLiteral("&Unterbrechen"), page), "BitBtn5");
    BitBtn5->setGeometry(x + 274, BottomY + 56, 128, 40);
    for (QPushButton* button : {OkBtn, BitBtn4, BitBtn3, CancelBtn, BitBtn5, Button2, Button3,
                                Button4, Button6, bbemerkung})
        button->setAutoDefault(false);

    // Hidden state.
    Memo2 = named(new QPlainTextEdit(page), "Memo2");
    uber = named(new QCheckBox(page), "uber");
    vonh = named(new QCheckBox(page), "vonh");
    Letztewieder = named(new QCheckBox(page), "Letztewieder");
    griech = named(new QCheckBox(page), "griech");
    ListBox3 = named(new QListWidget(page), "ListBox3");
    ListBox4 = named(new QListWidget(page), "ListBox4");
    ListBox6 = named(new QListWidget(page), "ListBox6");
    Label13 = named(new QLabel(page), "Label13");
    for (QWidget* hidden : std::initializer_list<QWidget*>{Memo2, uber, vonh, Letztewieder, griech,
                                                           ListBox3, ListBox4, ListBox6, Label13})
        hidden->hide();
    tim = named(new QTimer(this), "tim");
}

// --- the arrangement for a word ---------------------------------------------------------------

void Tabfrag::layoutRemarksAndWordClass() {
    const TQuizOptionsRec& o = QuizOptions;
    const int pageWidth = Panel2->width();
    const bool hasRemark = engine_ && engine_->hasWord() && !engine_->word().Extra.isEmpty();
    int questionWidth;
    if (o.CheckBox10) {
        DBMemo5->show();
        bbemerkung->hide();
        questionWidth = pageWidth - DBMemo5->width() - 30;
    } else {
        DBMemo5->hide();
        // The remark as a hint behind a button, when the word has one.
        bbemerkung->setVisible(o.cbbemerkung && hasRemark);
        questionWidth = pageWidth - 20;
    }
    MemoFremd->resize(questionWidth, MemoFremd->height());

    const int allowance = DBMemo5->isVisible() ? 0 : Near(1.1 * Schwcom->width());
    int genitiveX;
    int genitiveWidth;
    if (o.CheckBox6) {
        wacom->show();
        genitiveX = wacom->x() + wacom->width() + 5;
        genitiveWidth = questionWidth - GenusWidth - wacom->width() - allowance - 20;
    } else {
        wacom->hide();
        genitiveX = wacom->x();
        genitiveWidth = questionWidth - GenusWidth - allowance - 15;
    }
    DBMemo2->setGeometry(genitiveX, RowY, std::max(genitiveWidth, 40), RowHeight);
    DBMemo3->setGeometry(DBMemo2->x() + DBMemo2->width() + 5, RowY, GenusWidth, RowHeight);
}

void Tabfrag::LayoutQuizFields() {
    const int W = PageWidth;
    int mmLeft, mmWidth, mLeft, mWidth;
    if (GeneralOptions.sbanz) {
        mmLeft = Near(W * 0.6640625);
        mmWidth = Near(W * 0.240234375);
        mLeft = Near(W * 0.1796875);
        mWidth = Near(W * 0.240234375);
    } else {
        mmLeft = Near(W * 0.484375);
        mmWidth = Near(W * 0.408203125);
        mLeft = 0;
        mWidth = Near(W * 0.408203125);
    }
    for (int k = 0; k < 6; ++k) {
        mm[k]->setGeometry(mmLeft, mm[k]->y(), mmWidth, mm[k]->height());
        m[k]->setGeometry(mLeft, m[k]->y(), mWidth, m[k]->height());
        ll[k]->setVisible(GeneralOptions.sbanz);
        l[k]->setVisible(GeneralOptions.sbanz);
    }
}

void Tabfrag::LayoutSpecialFormFields() {
    PSFein->hide();
    const bool sbanz = GeneralOptions.sbanz;
    if (engine_ && engine_->hasWord() && engine_->asksSpecialForms()) {
        PSFein->show();
        for (QLineEdit* field : mm)
            field->clear();
        EGenitiv->clear();
        EGenus->clear();
        const std::array<QString, 6> stored = engine_->storedForms();
        for (int k = 0; k < 6; ++k) {
            mm[k]->setVisible(QuizOptions.labf && !stored[k].isEmpty());
            ll[k]->setVisible(sbanz && mm[k]->isVisibleTo(PSFein));
        }
        PGenitiv->setVisible(engine_->asksGenitive());
        PGenus->setVisible(engine_->asksGenus());
    }
    for (int k = 0; k < 6; ++k) {
        m[k]->setVisible(!m[k]->text().isEmpty());
        l[k]->setVisible(sbanz && !m[k]->text().isEmpty());
    }
}

void Tabfrag::UpdateSpecialFormsPanel() {
    const bool noneButFour = m[0]->text().isEmpty() && m[1]->text().isEmpty() &&
                             m[2]->text().isEmpty() && m[4]->text().isEmpty() &&
                             m[5]->text().isEmpty();
    grpan->setVisible(!noneButFour);
    grrrr->show();
}

void Tabfrag::LayoutDemoMode() {
    const int H = PageHeight;
    if (QuizOptions.rbabvor) {
        if (!QuizOptions.cbnach)
            DemoShowAnswer();
        else
            DemoShowQuestion();
        Panel7->raise();
        grpan->raise();
        const bool severalPasses = engine_ && engine_->MaxAttempts != 1;
        Label16->setVisible(severalPasses);
        Label30->setVisible(severalPasses);
        Label30->setText(QStringLiteral(". Vorspielen"));
    } else {
        PanelVor->hide();
        Label16->show();
        Label30->show();
        Panel7->move(Panel7->x(), Near(H * 0.528695652));
        grpan->move(grpan->x(), Near(H * 0.535652174));
    }
}

void Tabfrag::DemoShowQuestion() {
    const int H = PageHeight;
    PSFein->hide();
    PanelVor->show();
    grpan->show();
    Panel7->hide();
    Panel7->move(Panel7->x(), Near(H * 0.293333333));
    grpan->move(grpan->x(), Near(H * 0.300952381));
    MemoUebers->show();
    Label19->hide();
    for (int k = 0; k < 6; ++k) {
        m[k]->hide();
        l[k]->hide();
    }
}

void Tabfrag::DemoShowAnswer() {
    const int H = PageHeight;
    PSFein->hide();
    PanelVor->show();
    grpan->show();
    Panel7->show();
    Panel7->move(Panel7->x(), Near(H * 0.293333333));
    grpan->move(grpan->x(), Near(H * 0.300952381));
    Panel7->raise();
    grpan->raise();
    MemoUebers->show();
    Label19->show();
    for (QLineEdit* field : m)
        field->setVisible(!field->text().isEmpty());
}

void Tabfrag::ShowAttemptLabel() {
    LayoutDemoMode();
    if (!QuizOptions.rbabvor) {
        Label30->setText(QStringLiteral(". Versuch"));
        Panel7->hide();
    }
}

void Tabfrag::leisteo() {
    if (!engine_) return;
    const QuizEngine& e = *engine_;
    Label1->setText(QStringLiteral("%1/%2/%3")
                        .arg(e.QuizTotal - e.QuizRemaining)
                        .arg(std::min(e.QuizReached, e.QuizTotal))
                        .arg(e.QuizTotal));
    drawChart(e.QuizRightCount, std::max(0, e.QuizReached - e.QuizRightCount - 1));
    if (e.hasWord()) Label16->setText(QString::number(e.word().Versuche + 1));
    LayoutSpecialFormFields();
}

void Tabfrag::showStoredFields() {
    if (!engine_ || !engine_->hasWord()) return;
    const QuizWord& w = engine_->word();
    if (QuizOptions.ganz && !w.Genitiv.isEmpty()) DBMemo2->show();
    if (QuizOptions.sanz && !w.Genus.isEmpty()) DBMemo3->show();
    for (int k = 0; k < 6; ++k) {
        m[k]->setVisible(!m[k]->text().isEmpty());
        l[k]->setVisible(GeneralOptions.sbanz && !m[k]->text().isEmpty());
    }
}

void Tabfrag::leiste() {
    if (!engine_) return;
    const QuizEngine& e = *engine_;
    if (e.hasWord()) {
        if (QuizOptions.ganz && !e.word().Genitiv.isEmpty()) DBMemo2->show();
        if (QuizOptions.sanz && !e.word().Genus.isEmpty()) DBMemo3->show();
    }
    Label1->setText(QStringLiteral("%1/%2/%3")
                        .arg(e.QuizTotal - e.QuizRemaining)
                        .arg(std::min(e.QuizReached, e.QuizTotal))
                        .arg(e.QuizTotal));
    if (!QuizOptions.rbabvor)
        drawChart(e.QuizRightCount, std::max(0, e.QuizReached - e.QuizRightCount - 1));
    else
        drawChart(0, e.DemoElapsed);
    grpan->setVisible(QuizOptions.lanz);
    if (e.hasWord()) Label16->setText(QString::number(e.word().Versuche + 1));
    LayoutSpecialFormFields();
    LayoutDemoMode();
}

// --- the word on screen ---------------------------------------------------------------------

namespace {

QString shownText(const WordFontView& view, const QString& stored) {
    QString text = view.toDisplay(stored);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The one-line fields of the forms stand in rows of 20 pixels.
QFont rowFont(QFont font) {
    if (font.pointSize() > 10) font.setPointSize(10);
    return font;
}

QString lessonDisplay(const QString& code) {
    if (code.size() < 5) return code;
    return QString::number(code.left(3).toInt()) + QLatin1Char(' ') + code.at(3) +
           QLatin1Char(' ') + code.at(4);
}

} // namespace

void Tabfrag::showCurrentWord() {
    if (!engine_ || !engine_->hasWord()) return;
    showing_ = true;
    const QuizEngine& e = *engine_;
    const QuizWord& w = e.word();
    layoutRemarksAndWordClass();

    // The question in the script of the language shown, the answer typed in
    // the script of the language expected.
    const bool forward = !e.uber();
    const WordFontView& questionView = forward ? wordView_ : translationView_;
    const WordFontView& answerView = forward ? translationView_ : wordView_;
    MemoFremd->setFont(questionView.font);
    MemoFremd->setPlainText(shownText(questionView, e.questionText()));
    QFont answerFont = answerView.font;
    answerFont.setPointSize(quizMemoPointSize_);
    MemoUebers->setFont(answerFont);
    MemoUebers->setPlainText(shownText(answerView, e.expectedAnswerText()));
    uber->setChecked(e.uber());
    const Qt::Alignment align = questionView.charset == 177 ? Qt::AlignRight : Qt::AlignLeft;
    MemoFremd->document()->setDefaultTextOption(QTextOption(align));
    const Qt::Alignment answerAlign = answerView.charset == 177 ? Qt::AlignRight : Qt::AlignLeft;
    MemoUebers->document()->setDefaultTextOption(QTextOption(answerAlign));
    // The answer is typed in the font and alignment of the expected answer.
    Edit5->setFont(MemoUebers->font());
    Edit5->document()->setDefaultTextOption(MemoUebers->document()->defaultTextOption());

    Label25->setText(lessonDisplay(w.Lektion));
    wacom->setCurrentIndex(WordClassItem(w.Wortart));
    Schwcom->setCurrentIndex(w.Schwierigkeit >= 1 && w.Schwierigkeit <= 5 ? 5 - w.Schwierigkeit
                                                                          : -1);
    DBMemo2->setFont(rowFont(tableWordView_.font));
    DBMemo2->setText(tableWordView_.toDisplay(w.Genitiv));
    DBMemo3->setFont(rowFont(tableTranslationView_.font));
    DBMemo3->setText(tableTranslationView_.toDisplay(w.Genus));
    DBMemo2->hide();
    DBMemo3->hide();
    DBMemo5->setFont(translationView_.font);
    DBMemo5->setPlainText(shownText(translationView_, w.Extra));
    const std::array<QString, 6> forms = e.storedForms();
    for (int k = 0; k < 6; ++k) {
        m[k]->setFont(rowFont(tableWordView_.font));
        m[k]->setText(tableWordView_.toDisplay(forms[k]));
        mm[k]->setFont(rowFont(tableWordView_.font));
    }
    EGenitiv->setFont(rowFont(tableWordView_.font));
    EGenus->setFont(rowFont(tableTranslationView_.font));

    // The meanings of the expected answer.
    ListBox3->clear();
    ListBox3->addItems(e.meanings());
    Label11->setText(QString::number(e.ExpectedMeaningCount));
    lanze->setText(QStringLiteral("(%1)").arg(e.RequiredMeanings));
    lala->setText(QString::number(e.QuizRemaining));
    Label16->setText(QString::number(w.Versuche + 1));
    // A preposition shows its case in the genus field.
    if (QuizOptions.cbpraep && w.Wortart == 4) DBMemo3->show();
    showing_ = false;
}

void Tabfrag::Felderset(bool newWord) {
    if (!engine_ || !engine_->hasWord()) return;
    // A new word has its direction drawn by the engine when it moves; the
    // same word shown again keeps it.
    if (!newWord) engine_->Felderset(false);
    showCurrentWord();
}
