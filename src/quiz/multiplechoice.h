#pragma once
// Multiple choice: instead of typing the answer the user picks it from four
// proposals. One carries the expected answer, three the answers of other words
// of the same table, found so that they resemble the right one (the setting
// "Schwierig") or, without it, so that they do not resemble it too closely.
// Widget-free apart from the font metrics that cut a caption; the quiz window
// shows the proposals on its buttons. Randomness comes only from
// platform::randomBelow.
#include <QString>
#include <QStringList>
#include <array>

class QFont;

namespace multiplechoice {

// The caption of a place for which no other word was found.
inline const QString EmptyProposal = QStringLiteral("LEER - Zu wenige Vokabeln");

// What the proposals are made for: the current word of the quiz.
struct Request {
    QString tablePath;            // the quiz's table
    QString answer;               // the expected answer as stored (lines separated by CR LF)
    bool foreignExpected = false; // the answer is the foreign word (`uber`)
    int wordClass = 0;            // the word's class; 0 or less: none known
    bool hard = false;            // the setting "Schwierig" (`cbms`)
};

struct Proposals {
    int right = 1;                // the place (1..4) of the right answer
    std::array<QString, 4> texts; // the stored text of each place
    std::array<bool, 4> filled{}; // false: no word left for this place
    QString prefix;               // "der", "die", ... or empty
    QString stem;                 // the answer without that prefix
    QStringList statement;        // the statement the candidates came from
    QStringList candidates;       // the other answers read, in table order
    QString error;                // the table could not be read (German)
};

// The prefix of an answer: its first three characters when they are one of
// "der", "die", "das", "ein", "jdn", "jdm", "jmd", "etw", "sic", "in " or
// "nic", else empty.
QString AnswerPrefix(const QString& answer);

// The LIKE pattern of narrowing step k (1..): the prefix and the first k
// characters of the stem, with "%", "_" and the escape character itself
// escaped, followed by "%".
QString NarrowingPattern(const QString& prefix, const QString& stem, int k);
// The escape character of NarrowingPattern.
inline constexpr char16_t PatternEscape = u'\\';

// How unlike a candidate b is to the answer a (low: similar). Without `hard`
// near-identical candidates of an answer longer than three characters are
// pushed back and a random 0..2 is added; a score of 0 becomes 10000.
int CountLetterDifferences(const QString& a, const QString& b, bool hard);

// Prepares the four places for the current word: draws the place of the right
// answer, narrows the table to words of the same class and (with `hard`) of
// ever longer common beginnings while enough remain, collects up to 50 (80)
// other answers with random skips on a large table, and takes the three with
// the lowest scores. A statement that fails falls back to the last good one;
// when the table cannot be read at all the right answer stands alone and
// `error` says why.
Proposals FillMultipleChoice(const Request& request);

// The lines of a stored text joined with ", " (JoinLines before the cut).
QString JoinedLines(const QString& stored);
// The caption of a shown text on a button: the text when it fits on one line
// of `width` pixels in `font`, else its first line followed by "..".
QString FitCaption(const QString& shown, const QFont& font, int width);

} // namespace multiplechoice
