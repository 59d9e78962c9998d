#pragma once
// The byte-level machinery of the answer comparison: the normaliser chain,
// the typo autocorrection, the word-order and bracket fallbacks and the
// synonym loop. It works on the bytes of the stored text (QByteArray), so
// that every rule that speaks of byte values reads as written; the QString
// interface lives in answercomparison.h.
#include "quiz/comparisonoptions.h"

#include <QByteArray>
#include <QList>
#include <array>

namespace comparison::chain {

// The compare pair: G is the typed text, E the stored one. Every step
// rewrites them in place; they match when they are equal afterwards.
struct Texts {
    QByteArray G;
    QByteArray E;
    bool equal() const { return G == E; }
};

// Steps of the normaliser chain, in the order they run.
enum Step : unsigned {
    GreekAccents = 1u << 0,
    FrenchAccents = 1u << 1,
    CompatibleWords = 1u << 2,
    SharpS = 1u << 3,
    Punctuation = 1u << 4,
    Case = 1u << 5,
    Blanks = 1u << 6,
    Articles = 1u << 7,
    Typos = 1u << 8,
    AllSteps = (1u << 9) - 1,
    // What the word-order fallback runs on the whole texts before splitting.
    WordOrderSteps = AllSteps & ~Blanks & ~Typos,
};

// What one comparison found out about the typo step (for tests and the log).
struct TypoState {
    int CorrectionsUsed = 0;
    int CorrectionLimit = 0;
    bool CorrectionBlocked = false;
};

// Words of the word-order fallback beyond this count on either side make the
// fallback report no match.
inline constexpr int MaxWordsPerSide = 50;

// The options turned into bytes once, so that a judgement over many lines and
// meanings does not convert the word lists again for every pair.
class Normaliser {
  public:
    explicit Normaliser(const ComparisonOptions& options);

    const ComparisonOptions& options() const { return options_; }

    // The chain; only the steps in `steps` run, each only while G ≠ E.
    void normalise(Texts& texts, unsigned steps = AllSteps, TypoState* typo = nullptr) const;
    // The whole comparison with its synonym attempts and fallbacks.
    bool compare(Texts& texts) const;
    // The fallback for another word order; on a match G and E are equal.
    bool wordsMatchAnyOrder(Texts& texts) const;

    QByteArray foldCase(QByteArray text) const;
    char synonymSeparator() const { return separator_; }

  private:
    void greekAccents(Texts& texts) const;
    void compatibleWords(Texts& texts) const;
    void articles(Texts& texts) const;
    void typos(Texts& texts, TypoState& state) const;
    bool neverCorrectedBlocks(const Texts& texts) const;
    void correctTypos(Texts& texts, TypoState& state) const;

    ComparisonOptions options_;
    QList<std::pair<QByteArray, QByteArray>> compatiblePairs_; // folded, both cells non-empty
    QList<QByteArray> articles_;                               // folded, non-empty
    QList<QByteArray> neverCorrected_;                         // folded, non-empty
    std::array<bool, 256> punctuation_{};
    char separator_ = ';';
};

// Deletes "(...)" up to the first ")" after its "(" and looks for the next
// "(" only behind where that ")" stood, so a bracket that directly follows a
// removed one stays ("a(b)(c)" gives "a(c)"); a "(" without a later ")" stays.
QByteArray stripParentheses(const QByteArray& text);
// Corrections allowed for an expected text of `expectedLength` bytes:
// length × (ak12 + 1) × 0.05, to the nearest integer, halves to even.
int correctionLimit(qsizetype expectedLength, int ak12);
// 1 plus the number of occurrences of c.
int countChar(const QByteArray& text, char c);
// Field n (1-based) of the text split at c, without the separators.
QByteArray extractField(const QByteArray& text, char c, int n);
// Upper-cases "a".."z" when ignoreCase is set; every other byte stays.
QByteArray foldCase(QByteArray text, bool ignoreCase);

} // namespace comparison::chain
