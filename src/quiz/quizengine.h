#pragma once
// The quiz without its window: the pool of words still to be asked, the quiz
// counters, the direction of each question, the verdict on the answer and
// what "&Weiter" writes into the word. The quiz window shows what the engine
// holds and hands it what the user typed or clicked; the table is reached
// through a QuizStore. Randomness comes only from platform::randomBelow.
#include "quiz/answercomparison.h"
#include "quiz/comparisonspecialforms.h"
#include "quiz/quizoptions.h"
#include "quiz/quizstore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The direction of the quiz as the selection chose it (the window's Memo2).
enum class QuizDirection { ForeignToNative = 1, NativeToForeign = 2, Mixed = 3 };

enum class QuizPhase {
    Idle,     // no quiz (never started, or the start found no word)
    Asking,   // a word is shown, the answer is being typed
    Judged,   // the verdict is shown, "&Weiter" is next
    Finished, // the pool is empty
};

// What a tick of the presentation timer asks the window to do.
struct DemoTick {
    bool showAnswer = false; // show the answer half of the word
    bool advance = false;    // the display time is over: the word counts as shown
};

class QuizEngine {
  public:
    // The engine reads the options whenever it needs one, so changes on the
    // settings page act at once.
    explicit QuizEngine(QuizStore& store, const TQuizOptionsRec& options = QuizOptions);

    // --- the quiz counters ---------------------------------------------------------------
    int QuizTotal = 0;       // words selected
    int QuizRemaining = 0;   // words still in the pool
    int QuizReached = 0;     // different words shown so far, the one on screen included
    int QuizRightCount = 0;  // answers judged right in this quiz
    int QuizWrongCount = 0;  // computed when the quiz ends
    int QuizRandomIndex = 0; // last drawn position in the pool
    int MaxAttempts = 1;     // attempts a word gets before it leaves the pool
    int CurrentAttempt = 0;  // attempt number of the answer being judged
    // Words known at attempt 1, 2, 3, 4 ([0]..[3]) and at attempt 5 or later
    // ([4]); [5]..[9] stay 0.
    std::array<int, 10> KnownAtAttempt{};
    bool QuizInterrupted = false;
    // In the mixed direction: the direction drawn for the word on screen
    // (true: the foreign word is shown).
    bool MixedDirectionForward = false;
    QuizDirection direction = QuizDirection::ForeignToNative;

    // --- the verdict on the current answer ----------------------------------------------
    bool AnswerJudgedRight = false;
    // Whether the current answer is counted in QuizRightCount (0 or 1).
    int RightCountForWord = 0;
    // Meanings of the current word, the number the answer must contain, and
    // the last judgement.
    int ExpectedMeaningCount = 0;
    int RequiredMeanings = 1;
    comparison::AnswerVerdict lastVerdict;
    comparison::SpecialFormsVerdict lastFormsVerdict;

    QuizPhase phase() const { return phase_; }
    bool running() const { return phase_ == QuizPhase::Asking || phase_ == QuizPhase::Judged; }

    // --- start -----------------------------------------------------------------------------
    // Starts a new quiz: selects the words, resets their Abgefragt and
    // Versuche, takes the first word (in order or at random) and draws its
    // direction. False when no word qualifies (the phase stays Idle).
    bool start(const QuizSelection& selection, const QuizStore::Progress& progress = {});
    // Goes on with an interrupted quiz on a store that selects the words not
    // finished yet: as start(), but with the first word of the pool in table
    // order, also in random order. The caller restores the counters.
    bool resume(const QuizSelection& selection, const QuizStore::Progress& progress = {});

    // The facts of the open database that the comparison and the principal
    // parts need: the foreign-word font (Greek rules, the order of forms 4
    // and 6) and the character set of the words.
    void setDatabaseFacts(const QString& foreignFontName, int wordFontCharset);
    bool greekFont() const;

    // --- the current word ----------------------------------------------------------------
    bool hasWord() const { return word_.has_value(); }
    const QuizWord& word() const { return *word_; }
    // For changes the user makes to the word during the quiz (word class,
    // difficulty, texts): they are written with the word's counters.
    QuizWord& editWord() { return *word_; }
    const QList<qint64>& pool() const { return pool_; }
    int poolPosition() const { return position_; }

    // Draws the direction anew (a new word) or keeps it (the same word shown
    // again), and prepares the meanings of the expected answer.
    void Felderset(bool newWord);
    // The expected answer is the foreign word (the window's check box `uber`).
    bool uber() const { return !foreignShown_; }
    QString questionText() const;       // MemoFremd
    QString expectedAnswerText() const; // MemoUebers
    const QStringList& meanings() const { return meanings_; }
    // Counts the meanings of the expected answer and how many are required.
    void ordbe();
    // RequiredMeaningsTable: meanings required of a word with `meaningCount`
    // meanings at position `tb1` (0..6) of the option's track bar.
    static int requiredMeaningsFor(int meaningCount, int tb1);

    // The stored principal parts in the order of the window's fields m1..m6
    // (forms 4 and 6 change places for the font "Greek").
    std::array<QString, 6> storedForms() const;
    // Which special forms this word asks for (never in multiple choice).
    bool asksGenitive() const;
    bool asksGenus() const;
    bool asksPrincipalParts() const;
    bool asksSpecialForms() const { return asksGenitive() || asksGenus() || asksPrincipalParts(); }

    // --- answering -------------------------------------------------------------------------
    // The typed special forms (the window's mm1..mm6, EGenitiv, EGenus).
    struct TypedForms {
        std::array<QString, 6> mm;
        QString EGenitiv;
        QString EGenus;
    };
    // Judges the typed answer (stored text; lines separated by line breaks)
    // and the typed special forms. In multiple choice the verdict is
    // `multipleChoiceRight` alone (whether the right proposal was chosen) and
    // the special forms are not judged. Returns the verdict.
    bool submit(const QString& typedAnswer, const TypedForms& forms = {},
                std::optional<bool> multipleChoiceRight = std::nullopt);
    // Whether the user is to be asked "Wie war die Eingabe?".
    bool wantsSelfAssessment() const;
    // The user says the answer was right ("&Richtig", "doch r&ichtig") or
    // wrong ("doch f&alsch"). The answer is counted right at most once.
    void judgeRight();
    void judgeWrong();

    // The word editor: the texts of the current word (foreign word,
    // translation, special forms, genitive, genus, remarks) are replaced by
    // the corrected ones and written at once; the direction stays and the
    // meanings are prepared anew. Throws platform::Error when the word cannot
    // be written (the word is then left as it was).
    void correctWord(const QuizWord& corrected);
    // Takes back the count of the verdict shown, before the answer is judged
    // again against a corrected word.
    void retractVerdict();

    // "&Weiter": writes the word's counters (not in the presentation mode),
    // applies the attempts rule, copies the word into the lesson of difficult
    // words when its attempt reaches the set number, and moves to the next
    // word. The phase is Finished when the pool ran empty.
    void next();
    // The quiz is left before its end: no word is asked any more; the
    // counters stay as they are for the evaluation.
    void stop();

    // --- presentation mode ("Vorspiel/Lernmodus") ----------------------------------------
    bool presentationMode() const { return options_.rbabvor; }
    // The OK of the presentation mode: the word counts as shown, the quiz
    // moves on.
    void presentationShown();
    // Timer interval in ms: the display time / 20, halves to even, plus 1.
    static int demoTimerInterval(int ems);
    int demoTimerInterval() const { return demoTimerInterval(options_.ems); }
    int DemoElapsed = 0;
    void resetDemoClock() { DemoElapsed = 0; }
    DemoTick demoTick();

    // The comparison options of the settings in force for the current word.
    comparison::ComparisonOptions comparisonOptions() const;

  private:
    bool begin(const QuizSelection& selection, const QuizStore::Progress& progress, bool resuming);
    void loadCurrent();
    void gotoNext();
    void moveInPool(bool finished);

    QuizStore& store_;
    const TQuizOptionsRec& options_;
    QuizPhase phase_ = QuizPhase::Idle;
    QList<qint64> pool_;
    int position_ = -1;
    std::optional<QuizWord> word_;
    bool foreignShown_ = true;
    QStringList meanings_;
    QString foreignFontName_;
    int wordFontCharset_ = 0;
};

// The comparison options of a quiz options record.
comparison::ComparisonOptions ComparisonOptionsFrom(const TQuizOptionsRec& options);
