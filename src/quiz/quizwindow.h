#pragma once
// The quiz window: shows the word the quiz engine asks, takes the answer,
// shows the verdict and moves on. The quiz page (Panel2) and the settings page
// (Panel1, the quiz options) share the window and are never shown together.
//
// The window is thin: the pool, the counters, the judgement and what is
// written into the table live in QuizEngine; the window hands it what the
// user typed and shows what it holds.
#include "database/charsets.h"
#include "database/specialoptions.h"
#include "mainwindow/greektyping.h"
#include "quiz/interruptedquiz.h"
#include "quiz/quizengine.h"
#include "quiz/quizstore.h"

#include <QDialog>
#include <functional>
#include <memory>

struct LanguageLabels;
struct DatabaseFonts;
class QuizOptionsPage;
class TypingAids;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QChartView;
class QStackedBarSeries;

class Tabfrag : public QDialog {
    Q_OBJECT
  public:
    explicit Tabfrag(QWidget* parent = nullptr);
    ~Tabfrag() override;

    // --- creation and start ----------------------------------------------------------------
    // The creation handler: reads the quiz options record into the settings
    // page and places the special-form fields. Run again after a database was
    // opened and the per-language settings files were chosen.
    void FormCreate();
    // Starts a quiz over these lessons with the selection options in force
    // (the road of startQuiz in quizstart.h). Returns whether it runs.
    bool startQuiz(const QStringList& lessonCodes);
    // The start routine. In the settings-only mode (`vonh`) it prepares no quiz.
    void FormPaint();
    // The main menu's "Ab&frage (Modus/..)": shows only the settings page,
    // modally; "&Fertig" saves and closes.
    void showSettingsOnly();

    // --- what the main window hands over about the open database -------------------------
    // SetLanguageLabels: the Greek mode and the size of the two answer memos.
    void applyLanguageLabels(const LanguageLabels& labels);
    // ApplyFonts: the fonts and character sets of the word fields.
    void applyDatabaseFonts(const DatabaseFonts& fonts);
    // ApplySpecialFormCaptions: the genitive and genus prompts and the twelve
    // special-form captions.
    void applySpecialFormCaptions(const SpecialFormCaptions& captions);
    // Places the special-form fields by the general setting `sbanz`.
    void LayoutQuizFields();

    // Greek accent stripping, as the comparison uses it.
    static QString akkonv(const QString& text);
    static QString ak2konv(const QString& text);
    static QString ak3konv(const QString& text);

    // --- the quiz --------------------------------------------------------------------------
    // The engine of the running (or last) quiz; null before the first start.
    QuizEngine* engine() const { return engine_.get(); }
    bool quizRunning() const;
    // The lesson codes of the running quiz, in the order they were handed over.
    QStringList QuizLessonCodes;
    QString QuizTablePath;
    QString QuizLabPath;
    bool CharWindowWasOpen = false;

    // Answering.
    void OKBtn_Click();
    // Judges the answer in the fields (also again, after the word editor).
    void judgeAnswer();
    void eingabe();
    void Edit5Change();
    void Edit5Exit(); // focus to the first special-form field that is shown
    void Button3Click();
    void Button4Click();
    void Button6Click();
    void Button2Click();
    void BitBtn4Click();
    // Settings page.
    void BitBtn3Click();
    void BitBtn2_Click();
    // "&Ende": closes the window (the end handling runs in the close event).
    void CancelBtnClick();

    // --- interrupt, resume, evaluation (quizwindow_interrupt.cpp) -----------------------------
    // "&Unterbrechen": saves the state of the quiz in the file at QuizLabPath
    // and closes the window. When the file cannot be written the user is told
    // and the quiz goes on, so nothing is lost.
    void BitBtn5Click();
    // Reads the saved state from QuizLabPath into the window's resume record
    // and the selection window. False (the user told why) when the file is
    // missing, unreadable, short or corrupt; a short or corrupt file is
    // removed, since nothing can ever be resumed from it.
    bool loaduab();
    // Resumes the interrupted quiz of the open database: reads the file,
    // rebuilds the pool from the words not finished yet and shows the window.
    // Returns whether the quiz runs.
    bool resumeQuiz();
    // "&Statistik": the evaluation window with the counts reached so far.
    void Statistik1Click();
    // The evaluation step of the quiz end: fills and shows the evaluation
    // window.
    void FormClose2();
    // The state of the last interruption, as loaduab read it.
    InterruptedQuizRecord ResumeRecord;
    // The record the interrupt writes for the running quiz.
    InterruptedQuizRecord currentQuizRecord() const;
    bool QuizEndShowEvaluation = false;
    // The selection filters the running quiz was started with.
    TSelectionOptionsRec QuizSelectionOptions;

    // Presentation timer.
    void StartDemoTimer();
    void StopDemoTimer();
    void timTimer();

    // --- multiple choice (quizwindow_multiplechoice.cpp) -----------------------------------
    // Prepares the four proposals for the current word and shows them in
    // front of the answer field; with multiple choice off it only hides them.
    void FillMultipleChoice();
    // A proposal clicked (1..4): the answer is submitted.
    void mbClick(int button);
    QString MultipleChoiceAnswer; // the right answer (stored text)
    QString MultipleChoiceStem;   // the same without its prefix ("der", ...)
    int MultipleChoiceRight = 0;  // the button (1..4) with the right answer
    int MultipleChoiceChosen = 0; // the button clicked; 0 while none

    // Layout of the current word.
    void Felderset(bool newWord);
    void LayoutDemoMode();
    void DemoShowQuestion();
    void DemoShowAnswer();
    void ShowAttemptLabel();
    void UpdateSpecialFormsPanel();
    void LayoutSpecialFormFields();
    void leiste();
    void leisteo();
    void wacomChange();
    void SchwcomChange();
    void bbemerkungClick();

    // --- the menu "E&xtras", special characters, help (quizwindow_extras.cpp) ------------
    // "Sonderzeichen &einfügen" and "&Benutzertabelle anzeigen": the
    // special-character window with the full table or the user's table (the
    // main window, which offers them too, is hidden during a quiz).
    void Sonderzeicheneinfuegen1Click();
    void Benutzertabelleanzeigen1Click();
    // "&Schwierigkeit": the difficulty (1..5) of the word on screen, written
    // with the word's next write.
    void SchwierigkeitClick(int level);
    // A character chosen in the special-character window (CharToInsert) goes
    // into the answer field that has the focus: Edit5, EGenitiv or mm1..mm6.
    void FormActivate();
    // F1: the help.
    void HelpRequested();

    // --- typing aids in the answer fields (quizwindow_typing.cpp) ---------------------------
    // The quiz's Greek aid (QuizGreekTyping), for the answer fields and the
    // word editor.
    static GreekTypingResult sonderzeichen(const QString& before, const QString& after, int caret);
    // "Vokabel &bearbeiten": the word editor on the word being asked. Its OK
    // writes the corrected word at once, shows it again with its direction
    // and, when the verdict is shown, judges the answer again.
    void Vokabelbearbeiten1Click();
    bool applyWordCorrection(const QuizWord& corrected);

    // The main window's menus during a quiz.
    static void LockMainMenus();
    static void UnlockMainMenus();

    // Called when a quiz has ended and the window closed (the evaluation).
    std::function<void()> quizEnded;
    // Whether the special-character window is visible (noted at the start).
    std::function<bool()> charWindowVisible;

    // --- controls ----------------------------------------------------------------------------
    QMenuBar* MainMenu1;
    QMenu* AbfrageMenu;
    QAction* Einstellungen1; // "&Einstellungen"
    QAction* Unterbrechen1;  // "&Unterbrechen"
    QAction* Statistik1;     // "&Statistik"
    QAction* Beenden1;       // "&Beenden"
    QMenu* ExtrasMenu;
    QAction* Sonderzeicheneinfuegen1;  // "Sonderzeichen &einfügen"
    QAction* Benutzertabelleanzeigen1; // "&Benutzertabelle anzeigen"
    QAction* Vokabelbearbeiten1;       // "Vokabel &bearbeiten"
    QMenu* Schwierigkeit1;             // "&Schwierigkeit"
    QAction* Aufsehrschwierig1;        // 5
    QAction* Aufschwierig1;            // 4
    QAction* Aufmittel1;               // 3
    QAction* Aufleicht1;               // 2
    QAction* Aufsehrleicht1;           // 1
    QAction* Hilfe1;                   // F1

    QuizOptionsPage* Panel1; // settings page
    QWidget* Panel2;         // quiz page

    // Word on screen.
    QLabel* LabelLektion;
    QLabel* Label25; // lesson of the word, "12 A 1"
    QLabel* LabelFortschritt;
    QLabel* Label1;  // finished / shown / total
    QLabel* Label16; // attempt number
    QLabel* Label30; // ". Versuch" / ". Vorspielen"
    QLabel* lala;    // words remaining (hidden)
    QPushButton* bbemerkung;
    QPlainTextEdit* MemoFremd;
    QPlainTextEdit* DBMemo5; // remarks
    QComboBox* wacom;        // word class
    QLineEdit* DBMemo2;      // genitive
    QLineEdit* DBMemo3;      // genus
    QComboBox* Schwcom;      // difficulty

    // Answer.
    QLabel* LabelEingabe;
    QLabel* LabelBedeutungen;
    QLabel* Label11; // number of meanings
    QLabel* lanze;   // "(required)"
    QPlainTextEdit* Edit5;
    QFrame* PSFein;
    QFrame* PGenitiv;
    QLabel* Label24;
    QLineEdit* EGenitiv;
    QFrame* PGenus;
    QLabel* Label31;
    QLineEdit* EGenus;
    std::array<QLabel*, 6> ll{};
    std::array<QLineEdit*, 6> mm{};

    // Stored answer and stored special forms.
    QFrame* Panel7;
    QLabel* Label19;
    QPlainTextEdit* MemoUebers;
    QFrame* grpan;
    QFrame* grrrr;
    std::array<QLabel*, 6> l{};
    std::array<QLineEdit*, 6> m{};
    QFrame* PanelVor;
    QLabel* LabelVor;

    // Multiple choice.
    QFrame* pmulti;
    std::array<QPushButton*, 4> mb{};
    QPlainTextEdit* mmemo; // hidden; its width is the room of a caption

    // Verdict.
    QFrame* Panel3;
    QFrame* Shape1;
    QLabel* Label9;
    QPushButton* Button6; // "doch r&ichtig"
    QPushButton* Button2; // "doch f&alsch"
    QFrame* Panel4;
    QLabel* LabelWieWar;
    QPushButton* Button3; // "&Richtig"
    QPushButton* Button4; // "&Falsch"

    // Commands.
    QPushButton* OkBtn;
    QPushButton* BitBtn4;   // "&Weiter"
    QPushButton* BitBtn3;   // "&Einstellungen"
    QPushButton* BitBtn5;   // "&Unterbrechen"
    QPushButton* CancelBtn; // "&Ende"

    // Progress chart.
    QChartView* tabrf;
    QStackedBarSeries* tabrfSeries;

    // Hidden state.
    QPlainTextEdit* Memo2; // direction "1", "2", "3"
    QCheckBox* uber;       // the answer is the foreign word
    QCheckBox* vonh;       // settings only
    QCheckBox* Letztewieder;
    QCheckBox* griech;     // Greek mode of the comparison
    QListWidget* ListBox3; // meanings
    QListWidget* ListBox4; // typed lines
    QListWidget* ListBox6; // comparison log
    QLabel* Label13;       // matched / meanings
    QTimer* tim;

    // The design size of the quiz page.
    static constexpr int PageWidth = 1024;
    static constexpr int PageHeight = 575;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Ctrl+1..Ctrl+9 in the answer fields.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // quizwindow_layout.cpp
    void buildMenu();
    void buildQuizPage();
    void buildVerdictAndCommands();
    void buildMultipleChoice();
    void connectControls();
    void layoutRemarksAndWordClass();
    void showVerdict(bool right);
    void showCurrentWord();
    // The stored genitive and genus (by the options to show them) and the
    // stored special forms that hold text.
    void showStoredFields();
    // quizwindow_answer.cpp
    void afterMove();
    QWidget* firstSpecialField() const;
    void setLeavingCommandsEnabled(bool enabled);
    // After a right verdict with "Bei richtiger Eingabe gleich weiter" the
    // quiz goes on at once; otherwise "&Weiter" gets the focus.
    void focusWeiter();
    QString typedAnswer() const;
    QuizEngine::TypedForms typedForms() const;
    // quizwindow_extras.cpp
    void buildExtrasMenu();
    // The answer fields that take special characters, and the character set
    // each shows.
    QList<QWidget*> answerFields() const;
    int fieldCharset(const QWidget* field) const;
    // quizwindow_typing.cpp
    // The Hebrew and Greek aids on Edit5 (while the foreign word is asked),
    // EGenitiv and mm1..mm6.
    void setUpTypingAids();
    // After the Hebrew aid in Edit5 a line break that stands first moves to
    // the end, so the typed line stays one line. True when it moved one.
    bool moveLeadingLineBreak();
    // quizwindow_start.cpp
    // Opens the pool (a resumed one with `resuming`) and shows the first word;
    // false when no word qualified.
    bool openQuiz(bool resuming);
    // quizwindow.cpp
    void endQuiz();
    bool FormCloseQuery();
    void drawChart(int right, int wrong);

    TypingAids* answerAids_ = nullptr; // Edit5
    TypingAids* formAids_ = nullptr;   // EGenitiv, mm1..mm6
    std::unique_ptr<TableQuizStore> store_;
    std::unique_ptr<ResumeQuizStore> resumeStore_;
    std::unique_ptr<QuizEngine> engine_;
    // How the word fields show stored text.
    WordFontView wordView_;
    WordFontView translationView_;
    WordFontView tableWordView_;
    WordFontView tableTranslationView_;
    int quizMemoPointSize_ = 10;
    SpecialFormCaptions captions_;
    bool edit5Busy_ = false;
    int edit5Breaks_ = 0;  // line breaks of the answer at its last change
    bool showing_ = false; // the controls are being filled
    bool ending_ = false;
};

extern Tabfrag* abfrag;
