#pragma once
// Judging the special forms of a word after its translation: the six
// principal parts, the genitive and the genus, with the rule that only the
// ending of a form that begins like the foreign word must be typed.
#include "quiz/answercomparison.h"
#include "quiz/comparisonoptions.h"

#include <QString>
#include <array>

namespace comparison {

// Typed and stored special forms of the current word, named after the quiz
// window's fields.
struct SpecialFormsInput {
    std::array<QString, 6> mm; // typed principal parts (mm1..mm6)
    std::array<QString, 6> m;  // stored principal parts (m1..m6)
    QString EGenitiv;          // typed genitive
    QString DBMemo2;           // stored genitive
    QString EGenus;            // typed genus
    QString DBMemo3;           // stored genus
    QString DBWortart;         // word class as text; "4" is a preposition
    QString DBFremdwort;       // the foreign word
};

struct SpecialFormsVerdict {
    std::array<bool, 6> principalPartRight{true, true, true, true, true, true};
    bool genitiveRight = true;
    bool genusRight = true;
    // False when any judged form was wrong; the answer is then wrong as a whole.
    bool allRight() const;
};

// Judges the forms the options ask for (the quiz window's sfpruf). Nothing is
// judged in multiple choice. Principal parts are judged whenever `labf` is
// ticked, the genitive when `geabf` is ticked and the word has one, the genus
// when `seabf` is ticked and the word has one (not for prepositions with
// `cbpraep`).
SpecialFormsVerdict sfpruf(const SpecialFormsInput& input, const ComparisonOptions& options);

// One principal part: with autocorrection (mapu) or exactly (pauker). Both
// strip Greek accents by the database font first. True when right.
bool mapu(const QString& given, const QString& expected, const QString& foreignWord,
          const ComparisonOptions& options);
bool pauker(const QString& given, const QString& expected, const QString& foreignWord,
            const ComparisonOptions& options);
// The genitive: with autocorrection (gapu) or exactly (gauker).
bool gapu(const QString& given, const QString& expected, const QString& foreignWord,
          const ComparisonOptions& options);
bool gauker(const QString& given, const QString& expected, const QString& foreignWord,
            const ComparisonOptions& options);

// "Only the ending": cuts the expected form to the length of the typed one
// when the typed text is at most one character shorter than the part of the
// form after its common beginning with the foreign word (after dropping a
// Greek article from the foreign word and stripping accents by the font).
void checkit(ComparePair& pair, const QString& foreignWord, const ComparisonOptions& options);

} // namespace comparison
