#pragma once
// The word search without its window: the SELECT built from the search
// criteria, the run of it on the main query and the bulk operations on the
// hits. The hits are always handled by their keys (the IDs the result held
// when it was opened), so an operation touches exactly the words the user saw
// listed, whatever was edited in between.
#include "database/lessonoperations.h"

#include <QList>
#include <QString>
#include <QStringList>

class LessonList;

namespace engine {
class Query;
}

namespace search {

// Items of the word-class and difficulty boxes that mean "no restriction".
constexpr int AllWordClassesItem = 14;
constexpr int AllDifficultiesItem = 5;

// What the search window's controls ask for.
struct SearchCriteria {
    QString term;
    bool fremdwort = true;
    bool uebersetzung = true;
    bool genitiv = false;
    bool bemerkungen = false;
    bool caseSensitive = false; // chkGross
    bool exact = false;         // chkGenau: the whole field
    int wordClassItem = AllWordClassesItem;    // -1 counts as "Alle"
    int difficultyItem = AllDifficultiesItem;  // -1 counts as "Alle"
    QString successFrom = QStringLiteral("0");
    QString successTo = QStringLiteral("100");
    bool lastUnknown = false; // cbngw
    bool lastKnown = false;   // cbgw
    QString lesson;           // eLektion
};

// The items of the search window's difficulty box: the five difficulties
// as this window writes them, then "Alle".
QStringList DifficultyItems();

// The term as the table stores it: the text typed into the search field,
// which shows it in `charset`, turned back into stored text.
QString StoredSearchTerm(const QString& typed, int charset);
// The character set the search field shows: with "Schrift der Fremdsprache"
// ticked that of the foreign-word field, otherwise that of the translation
// field.
int SearchFieldCharset(bool foreignScript);

// How a typed term can be searched. A code page that cannot hold a character
// would turn it into "?": the term is searched in the script of the search
// field, or, when only the foreign words' code page holds its characters, in
// that one; characters that no usable code page holds are named instead.
struct TermScript {
    bool foreignScript = false; // search in the foreign words' code page
    QString unsearchable;       // non-empty: these characters, and no search
};
TermScript ChooseTermScript(const QString& typed, bool foreignScriptTicked);
// The German message naming characters that cannot be searched.
QString UnsearchableCharactersMessage(const QString& characters);

// The German message for a term longer than any field it is looked for in
// (such a term can never be found, and a very long one is more than the
// engine's pattern matching takes); empty when the term is fine.
QString TermTooLongMessage(const SearchCriteria& criteria, const engine::Query& Query);

// Ä, Ö, Ü, ä, ö, ü become "_" (any one character), so that a term typed with
// or without umlauts finds both spellings; everything else stays.
QString MaskUmlautsForLike(const QString& pattern);
// Upper case of "a".."z" only, as the engine's UPPER does it.
QString UpperAsciiLetters(const QString& text);
// The LIKE pattern for a lesson typed as "7", "12b", "3A2" or "C"; empty when
// the text starts with neither a digit nor a letter (no lesson criterion).
QString LessonPatternFromText(const QString& text);

// Corrections of the success range when an edit is left: the texts to keep.
QString CorrectedSuccessFrom(const QString& from, const QString& to);
QString CorrectedSuccessTo(const QString& from, const QString& to);

// "WHERE ..." for the criteria, empty when nothing restricts the search.
QString SearchWhereLine(const SearchCriteria& criteria);
// The two statement lines: the SELECT on the table and the WHERE line (an
// empty line when there is none).
QStringList SearchSql(const QString& tablePath, const SearchCriteria& criteria);

// Puts the search on the main query (read-only result) and opens it. Returns
// the number of hits.
int RunSearch(engine::Query& Query, const QString& tablePath, const SearchCriteria& criteria);

// The keys of every row the open query holds, in its order.
QList<qint64> HitIds(const engine::Query& Query);

// The confirmation text of "Löschen".
QString DeleteQuestion(int count);

// Bulk operations. Each runs in one transaction and leaves the main query on
// a lesson (ReopenLessonQuery); the caller rebuilds the tree afterwards.

// Deletes the hits; the lesson list is then rebuilt from the lessons left in
// the table (RebuildLessonListFromTable's result is returned in tableHadWords).
int DeleteHits(engine::Query& Query, const QList<qint64>& ids);
// Moves the hits into `target`, which becomes the current lesson.
int MoveHits(engine::Query& Query, const QList<qint64>& ids, const QString& target);
// Copies the hits (counters kept) into `target`; the current lesson stays.
int CopyHits(engine::Query& Query, const QList<qint64>& ids, const QString& target,
             const WordCopyProgress& progress = {});

// "in neue Lektion": checks the number typed, adds the lesson's line to the
// list, saves it and copies the hits into the new lesson. A failed copy takes
// the line out again. Refusals change nothing: InvalidLesson, LessonExists,
// ListNotSaved (already reported). Afterwards the main query holds the search
// `searchSql` again, run anew and editable: the hits with their copies.
LessonResult CopyHitsToNewLesson(engine::Query& Query, LessonList& list, const QString& numberText,
                                 const QString& letter, const QString& digit, const QString& title,
                                 const QList<qint64>& ids, const QStringList& searchSql,
                                 const WordCopyProgress& progress = {}, int* copied = nullptr);

// The target code of a picked section: "Lektion 12" and "B 3 [..]" → "012B3".
QString TargetCodeFromNodes(const QString& parentText, const QString& nodeText);

} // namespace search
