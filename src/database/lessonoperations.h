#pragma once
// Lesson operations on the open database: new lesson, rename (a lesson
// number or one section), delete, copy and move of a section. Widget-free:
// the main window passes its query and the lesson list, then rebuilds its tree.
//
// Every operation changes the table and the list file together: the table's
// statements run in one transaction that is committed only after the list
// file was written, so a failure on either side leaves both as they were.
// On success CurrentLessonCode names the lesson to show and the query is open
// on it; a lesson without words then gets one new word, so that the window
// always has a record to show.
#include <QString>
#include <QStringList>
#include <functional>

class LessonList;

namespace engine {
class Query;
}

// How an operation ended. Every refusal leaves table, list and current lesson
// unchanged.
enum class LessonResult {
    Done,
    Unchanged,     // the user asked for what is there already
    InvalidLesson, // "Ungültige Lektion"
    LessonExists,  // "Lektion schon vorhanden"
    TargetExists,  // "Ziellektion schon vorhanden !"
    OnlyLesson,    // "Einzige Lektion kann nicht gelöscht werden"
    SameAsSource,  // "Es kann nicht in Quellektion verschoben werden !"
    ListNotSaved,  // the list file could not be written (already reported)
};

// Shows the box that tells the user about a refusal; nothing for Done,
// Unchanged and ListNotSaved.
void ShowLessonResult(LessonResult result);

// Progress of a word-by-word copy, driven like the progress window: start with
// the number of words, then each word copied (1-based), then finish. Any part
// may be left empty.
struct WordCopyProgress {
    std::function<void(int steps)> start;
    std::function<void(int position)> advance;
    std::function<void()> finish;
};

// The longest title the dialog takes.
constexpr int LessonTitleLength = 100;

// A title as it can be stored in the one-line-per-lesson list file: line
// breaks and tabs become blanks, the text is cut to LessonTitleLength.
QString CleanLessonTitle(const QString& title);

// A lesson number as typed is usable when it has one to three digits and is
// not zero.
bool IsValidLessonNumber(const QString& numberText);
// A full code: a usable three-digit number, a letter "A".."Z" and a digit "1".."9".
bool IsValidLessonCode(const QString& code);

// The statement lines the operations run on the table.
// UPDATE ... SET Lektion = to WHERE Lektion = from (full table path).
QStringList MoveLessonWordsSql(const QString& tablePath, const QString& fromCode,
                               const QString& toCode);
// DELETE of a section (a key of five characters) or of every section of a
// lesson number (three characters).
QStringList DeleteLessonWordsSql(const QString& tablePath, const QString& key);
// SELECT of a section's words, or of a lesson number's words.
QStringList SelectLessonWordsSql(const QString& tablePath, const QString& key);

// Number of words of a section (five characters) or lesson number (three).
int CountLessonWords(const QString& tablePath, const QString& key);

// Copies every word chosen by each WHERE line (in key order, each word once)
// into lesson `target`: all fields but ID, which the table assigns anew. All
// copies are written in one transaction. Returns the number of words copied.
int CopyWords(const QString& tablePath, const QStringList& whereLines, const QString& target,
              const WordCopyProgress& progress = {});

// A new section: number as typed, letter, digit and title from the dialog.
// Refused when the number is not usable or the section has words or is listed.
LessonResult NewLesson(engine::Query& Query, LessonList& list, const QString& numberText,
                       const QString& letter, const QString& digit, const QString& title);

// Gives every section of lesson number `oldNumber` (three digits) the number
// typed, titles kept. Sections that have words but no list line are renamed
// too and get a line. Refused when the new number has words or lines.
// Afterwards the last listed section of the new number is the current lesson.
LessonResult RenameLessonNumber(engine::Query& Query, LessonList& list, const QString& oldNumber,
                                const QString& numberText);

// Renames section `oldCode`: a new code, a new title or both. A code that has
// words or is listed refuses the rename; the same code with another title only
// changes the list line.
LessonResult RenameLessonSection(engine::Query& Query, LessonList& list, const QString& oldCode,
                                 const QString& numberText, const QString& letter,
                                 const QString& digit, const QString& title);

// Deletes a section (five characters) or a lesson number (three) with all its
// words. Refused when the list would be left without a line. Afterwards the
// line before the first removed one is the current lesson.
LessonResult DeleteLesson(engine::Query& Query, LessonList& list, const QString& key);

// Copies the words of section `sourceCode` into the existing section
// `targetCode`; the current lesson stays.
LessonResult CopyLessonSection(engine::Query& Query, LessonList& list, const QString& sourceCode,
                               const QString& targetCode, const WordCopyProgress& progress = {});
// Copies the section into lesson number `targetNumber` under the same letter
// and digit: a new section with the source's title. Refused when it exists.
LessonResult CopyLessonSectionToNumber(engine::Query& Query, LessonList& list,
                                       const QString& sourceCode, const QString& targetNumber,
                                       const WordCopyProgress& progress = {});

// Moves the words of section `sourceCode` into the existing section
// `targetCode` (both sections' words stay, in the target) and removes the
// source's line. The target becomes the current lesson.
LessonResult MoveLessonSection(engine::Query& Query, LessonList& list, const QString& sourceCode,
                               const QString& targetCode);
// Moves the section to lesson number `targetNumber` under the same letter and
// digit, title kept. Refused when that section exists.
LessonResult MoveLessonSectionToNumber(engine::Query& Query, LessonList& list,
                                       const QString& sourceCode, const QString& targetNumber);
