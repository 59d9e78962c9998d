#pragma once
// Judging a typed answer: each typed line is compared with the stored
// meanings through a chain of tolerant rewritings that the quiz options
// select (accents, compatible words, "ß", punctuation, case, blanks,
// articles, typos), with synonyms per line and two fallbacks (another word
// order, words in brackets). Pure functions on stored text; the quiz window
// fills ComparisonOptions from its settings and calls them.
#include "quiz/comparisonoptions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace comparison {

// The compare pair. The caller puts the typed text into GivenAnswer and the
// stored text into ExpectedAnswer; the comparison rewrites both, and they
// match exactly when they are equal afterwards.
struct ComparePair {
    QString GivenAnswer;
    QString ExpectedAnswer;
    bool matches() const { return GivenAnswer == ExpectedAnswer; }
};

// The full comparison (the quiz window's Vergleich): synonym attempts, the
// normaliser chain and the fallbacks. Returns whether the pair matches.
bool Vergleich(ComparePair& pair, const ComparisonOptions& options);

// One typed line against one stored meaning as the answer judgement does it:
// with `cbaue` the full comparison; without it no rewriting at all, only (with
// `cbsyn`) one synonym of the meaning may stand for the whole line.
bool compareLine(ComparePair& pair, const ComparisonOptions& options);

// The normaliser chain alone (all nine steps), for callers and tests.
void NormaliseAnswers(ComparePair& pair, const ComparisonOptions& options);
// The word-order fallback alone; on a match both texts are made equal.
bool WordsMatchAnyOrder(ComparePair& pair, const ComparisonOptions& options);

// Upper-cases "a".."z" when `ignoreCase` (the option `CheckBox3`) is set.
QString FoldCase(const QString& text, bool ignoreCase);
// Deletes bracketed parts "(...)", looking for the next "(" only behind where
// the removed ")" stood ("a(b)(c)" gives "a(c)"); a "(" without a later ")"
// stays.
QString StripParentheses(const QString& text);
// Corrections the typo step may make for an expected text of the given
// length: length × (ak12 + 1) × 0.05, to the nearest integer, halves to even.
int CorrectionLimit(qsizetype expectedLength, int ak12);

// The answer field is read up to this many lines, or up to the number of
// meanings when the word has more.
inline constexpr int MaxAnswerLines = 10;
// The stored answer is read up to this length (its last line break included).
inline constexpr int MaxStoredAnswerLength = 255;

// The meanings of a stored answer (translation, or foreign word when that is
// asked): its lines, each whole (a cut line would let a typed line that only
// begins like the meaning count as right). Empty lines are no meanings. Use
// the size of this list both for the required count and for judging, so that
// the two always agree.
QStringList meaningLines(const QString& storedAnswer);

// The lines of a typed answer (line breaks as CR LF, CR or LF) that take part
// in the judgement: an empty answer counts as one blank, each line is taken
// whole, empty lines are left out, and at most
// max(MaxAnswerLines, meaningCount) lines are read.
QStringList answerLines(const QString& typedAnswer, qsizetype meaningCount);

// Result of judging one typed answer against the meanings of a word.
struct AnswerVerdict {
    int ExpectedMeaningCount = 0;
    int GivenLineCount = 0;
    int RequiredMeanings = 0;
    int MatchedMeanings = 0;
    bool AnswerJudgedRight = false;
    // For each meaning, the index of the typed line that matched it, or -1.
    QList<int> lineOfMeaning;
    // For each typed line, whether it matched a meaning.
    QList<bool> AnswerLineUsed;
    // The comparison log: "eingegeben:" and "buch:" lines per tried pair.
    QStringList log;
    // The hidden summary "<matched>/anzahlbe<count>".
    QString summary() const;
};

// Judges typed lines against meanings: each meaning is matched by the first
// unused line that compares equal (compareLine); the answer is right when at
// least `requiredMeanings` meanings matched (kept within 1..number of meanings
// when the word has meanings). Multiple choice and the special forms are
// judged by the caller.
AnswerVerdict judgeAnswer(const QStringList& typedLines, const QStringList& meanings,
                          int requiredMeanings, const ComparisonOptions& options);

} // namespace comparison
