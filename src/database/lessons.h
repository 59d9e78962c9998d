#pragma once
// Lessons: the five-character lesson code, the lesson list file (".lst") with
// its in-memory sorted copy, and the lesson tree as plain data. Widget-free;
// lessontree.h puts the tree into a QTreeWidget.
//
// A code is a three-digit lesson number, a letter "A".."Z" and a digit
// "1".."9" ("001A1"). A list line is the code immediately followed by the
// lesson's title, which may be empty. A line that does not start with a code
// names no lesson.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace engine {
class Query;
}

constexpr int LessonCodeLength = 5;
constexpr int LessonNumberLength = 3;
// The first lesson of a new or emptied database.
inline const QString FirstLessonCode = QStringLiteral("001A1");

// The largest lesson list file that is read. A real list holds a few thousand
// lines of at most 105 characters; a file many times that size is no list of
// this program, and reading it would only hold the program up. Restores refuse
// a list member over this size as well.
constexpr qint64 MaxLessonListBytes = qint64(1) << 20;
// The German message for a list file over that size.
QString LessonListTooLargeMessage(const QString& path);

// A lesson number as typed ("7", "07", "007") → three characters ("007"):
// one character gets "00" in front, two characters "0"; others stay as they are.
QString NormalizeLessonNumber(const QString& number);
// Number, letter ("Stück") and digit ("Absatz") → the code, e.g. "001A1".
QString LessonCode(const QString& number, const QString& letter, const QString& digit);
QString LessonCode(int number, QChar letter, QChar digit);
// True for exactly five characters of that form: three digits "0".."9", a
// letter "A".."Z" and a digit "1".."9".
bool IsLessonCode(QStringView code);
// True when the line starts with a lesson code.
bool IsLessonLine(QStringView line);

// The sorted lesson list: the lines of the ".lst" file of the open database,
// kept in ascending case-insensitive order so that all sections of one lesson
// number stand together. Lines may repeat.
//
// Only lines that start with a lesson code are lessons; count(), at() and
// lines() give those alone, so that nothing reading the list (the tree, the
// quiz selection, printing, search, sorting) takes a title or a damaged line
// for a lesson. The other lines of the file are kept apart and written back,
// in their sorted places, whenever the list is saved.
class LessonList {
  public:
    LessonList() = default;
    explicit LessonList(const QStringList& lines) { setLines(lines); }

    int count() const { return lines_.size(); }
    bool isEmpty() const { return lines_.isEmpty(); }
    const QString& at(int index) const { return lines_.at(index); }
    const QStringList& lines() const { return lines_; }

    // The lines that name no lesson (empty lines are dropped).
    const QStringList& otherLines() const { return others_; }

    // Replaces every line, both kinds; the lines are sorted. Here and in add()
    // a title loses its CR and LF characters: one line is one lesson.
    void setLines(const QStringList& lines);
    void clear() {
        lines_.clear();
        others_.clear();
    }
    // Inserts a line at its sorted place (after equal lines); returns its
    // index, or -1 for a line that names no lesson (kept with the other lines).
    int add(const QString& line);
    void removeAt(int index) { lines_.removeAt(index); }
    // Replaces a line and moves it to its sorted place; returns the new index.
    int replace(int index, const QString& line);

    // The index of the first line whose first five characters are `code`
    // (compared exactly), or -1.
    int indexOfCode(const QString& code) const;

    // Reads a list file: 8-bit text, lines ended by CR LF, LF or CR. Empty lines
    // are dropped. Takes time in proportion to the file when its lines are in
    // order already, as the program writes them. A missing, unreadable or
    // oversized file, or anything but a regular file at the path, gives an
    // empty list and false; `error` then gets the German cause (empty for a
    // file that does not exist).
    bool load(const QString& path, QString* error = nullptr);
    // Writes every line, both kinds in one sorted order, followed by CR LF,
    // atomically. False when the file could not be written (the old file then
    // stays as it was; `error` gets the German cause).
    bool save(const QString& path, QString* error = nullptr) const;

    // The ordering of the list: true when line a stands before line b.
    static bool lessThan(const QString& a, const QString& b);

  private:
    void sortLines();
    // Puts a line read or given among the lessons or the other lines.
    void takeLine(const QString& line);

    QStringList lines_;
    QStringList others_;
};

// The lesson list of the open database.
extern LessonList baumlist;

// The list file of the open database: CurrentDatabaseBase + ".lst", in the
// spelling the file already has on disk.
QString LessonListPath();
QString LessonListPath(const QString& databaseBase);
// Saves the list to the open database's list file; a failure is reported to
// the user in a box and gives false. The list then holds for the rest of the
// session: the next opening of its database takes it instead of the file, as
// long as the file stays as it is.
bool SaveLessonList(const LessonList& list);
bool SaveLessonList(const LessonList& list, const QString& path);

// The code and the title of a list line (the title is empty for a line of five
// characters or fewer).
QString LessonCodeOfLine(const QString& line);
QString LessonTitleOfLine(const QString& line);

// True when some line starts with exactly this code (case-sensitive).
bool LessonExists(const LessonList& list, const QString& code);

// True when the list names a lesson that the tree can show.
bool HasLessonLine(const LessonList& list);

// --- Opening ---------------------------------------------------------------

// The lesson list of a table that is being opened, read from its list file so
// that no word of the table is hidden: a list that a sort or an import left
// waiting beside the table is settled first (below); a file that cannot be
// read or is too large counts as an empty list; and every lesson code of the
// table's words that the list lacks gets a line without a title.
//
// Every word's lesson value becomes the text of a listed lesson: a value that
// is a code stored otherwise (as a BLOB, as another tool may write it, in
// small letters or with blanks around it) is stored as that code, and every
// other value (no text, text that is no code, NULL) is gathered into lesson
// 000A1 "Ohne Lektion", all in one change of the table. The list line of that
// lesson is saved before the change is final, so a program stopped in between
// finds the line at the next opening and the words where they were; a line
// added for that lesson bears its title.
//
// The list file is saved when lines were added. A list that cannot be saved
// holds for the rest of the session, as long as its file stays as it is
// (SaveLessonList keeps every list it could not save so). `message` gets a
// German note for the user (empty when there is nothing to say): a file that
// could not be used, what was changed in the table, words that stay in no
// lesson because the table cannot be written, and, once per session and
// list, a list that could not be saved. A list that still has no lesson
// afterwards belongs to a table without lessons: the caller builds it with
// RebuildLessonListFromTable.
void LoadLessonListForOpening(LessonList& list, const QString& tablePath, QString* message);

// For tests: called when an opening that changes lesson values has saved its
// list, before the table's change is final; returning true abandons the
// opening there, leaving the files as a program killed at that moment would
// (SQLite rolls the change back at the next opening). Empty: no stop.
void SetGatheringInterruption(std::function<bool()> stop);

// --- A list written ahead of its table ---------------------------------------
// A sort or an import that changes the lessons of a table writes the new list
// beside the table before the table changes, under a hidden name that holds a
// stamp, and gives the new table the same stamp (engine::setTableStamp) in the
// step that puts it in place. The waiting list then takes the old list's
// place. A program stopped in between leaves the list waiting; opening the
// table, or backing it up, settles it: it takes its place when the table
// carries its stamp and is removed otherwise. Either way the table and its
// list belong together. Only a regular file no larger than a list may be
// read takes the list's place: anything else under that name (a link to a
// file elsewhere, say) is removed, and the old list stays.

// A fresh stamp, never 0 (the stamp of a table that never got one).
qint32 NewLessonListStamp();
// The hidden file beside the table in which the list waits.
QString PendingLessonListPath(const QString& tablePath, qint32 stamp);
// Writes the list to wait for the table's change. False with the German
// message (the list file's path and the cause) in `error` when it could not be
// written completely.
bool WritePendingLessonList(const LessonList& list, const QString& tablePath, qint32 stamp,
                            QString* error);
// Puts the waiting list in place of the table's list file once the table
// carries the stamp. False with the German message in `error` when that failed
// (the list then keeps waiting and is settled at the next opening) or when the
// waiting file is no list that could be read (the old list stays).
bool CommitPendingLessonList(const QString& tablePath, qint32 stamp, QString* error);
// Removes the waiting list of a change that did not happen.
void DropPendingLessonList(const QString& tablePath, qint32 stamp);
// Settles every list waiting beside the table (see above). A table whose
// stamp cannot be read settles nothing: its lists keep waiting.
void SettlePendingLessonLists(const QString& tablePath);

// --- The lesson tree as data ---------------------------------------------

// A section: its code, its title and the text it is shown with ("A 1 [Verben]").
struct LessonTreeChild {
    QString code;
    QString title;
    QString text;
};

// A lesson number: "Lektion 1" with its sections.
struct LessonTreeNode {
    QString number; // three characters, as in the codes
    QString text;
    QList<LessonTreeChild> children;
};

using LessonTree = QList<LessonTreeNode>;

// "Lektion " + the number with up to two leading zeros removed.
QString LessonNodeText(const QString& number);
// Letter, blank, digit, blank and the title in square brackets.
QString LessonChildText(const QString& code, const QString& title);

// Builds the two-level tree from the list lines: one node per lesson number in
// numeric order, its sections in text order. Lines that name no lesson are
// left out.
LessonTree BuildLessonTree(const QStringList& lines);
inline LessonTree BuildLessonTree(const LessonList& list) {
    return BuildLessonTree(list.lines());
}

// The order of two sibling tree nodes by their texts: -1 when the first comes
// first, 1 when the second does, 0 only for equal texts. Top nodes ("Lektion
// n") go by their numbers, sections by the locale's case-insensitive order.
int CompareLessonNodeTexts(const QString& first, const QString& second);

// The code of a section from its top node's text and its own text:
// ("Lektion 1", "A 1 [Verben]") → "001A1".
QString LessonCodeFromNodeTexts(const QString& topNodeText, const QString& childText);
// The title of a section from its text ("A 1 [Verben]" → "Verben").
QString LessonTitleFromChildText(const QString& childText);

// The code of the first section of the lowest lesson number, empty when the
// tree has none.
QString FirstLessonCodeOf(const LessonTree& tree);

// --- Changes of the list ----------------------------------------------------

// Removes every line of a lesson number (a key of three characters) or of a
// section (a key of five characters). Returns the index of the line to make
// current afterwards: the line before the first removed one, or the first
// line; -1 when the list is empty afterwards.
int RemoveLessonLines(LessonList& list, const QString& key);

// RemoveLessonLines, then saves the list to `listPath` and makes the line to
// keep the current lesson (CurrentLessonCode). Returns that code (empty when
// the list ran empty; CurrentLessonCode then stays).
QString DeleteLessonFromList(LessonList& list, const QString& key, const QString& listPath);

// Builds the list anew from the lesson codes found in the open table (one line
// per code, sorted; a code the old list knew keeps its title, and the lines
// that name no lesson stay), saves it, and puts the query on the lesson of
// the table's first word. A table without a word in a lesson (empty, or no
// word's lesson value a code)
// gets the single lesson "001A1" with one new word in it. Returns false in
// that case, true when the table had words in lessons.
bool RebuildLessonListFromTable(engine::Query& Query, LessonList& list);

// Makes `code` the current lesson and opens the query on it. A lesson without
// words gets one new word at once, through an editable result even when the
// query was opened read-only for the table page; the caller then shows the
// word page. Returns true when such a word was created.
bool OpenLesson(engine::Query& Query, const QString& code);
