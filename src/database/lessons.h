#pragma once
// Lessons: the five-character lesson code, the lesson list file (".lst") with
// its in-memory sorted copy, and the lesson tree as plain data. Widget-free;
// lessontree.h puts the tree into a QTreeWidget.
//
// A code is a three-digit lesson number, a letter "A".."Z" and a digit
// "1".."9" ("001A1"). A list line is the code immediately followed by the
// lesson's title, which may be empty.
#include <QList>
#include <QString>
#include <QStringList>

namespace engine {
class Query;
}

constexpr int LessonCodeLength = 5;
constexpr int LessonNumberLength = 3;
// The first lesson of a new or emptied database.
inline const QString FirstLessonCode = QStringLiteral("001A1");

// A lesson number as typed ("7", "07", "007") → three characters ("007"):
// one character gets "00" in front, two characters "0"; others stay as they are.
QString NormalizeLessonNumber(const QString& number);
// Number, letter ("Stück") and digit ("Absatz") → the code, e.g. "001A1".
QString LessonCode(const QString& number, const QString& letter, const QString& digit);
QString LessonCode(int number, QChar letter, QChar digit);

// The sorted lesson list: the lines of the ".lst" file of the open database,
// kept in ascending case-insensitive order so that all sections of one lesson
// number stand together. Lines may repeat.
class LessonList {
  public:
    LessonList() = default;
    explicit LessonList(const QStringList& lines) { setLines(lines); }

    int count() const { return lines_.size(); }
    bool isEmpty() const { return lines_.isEmpty(); }
    const QString& at(int index) const { return lines_.at(index); }
    const QStringList& lines() const { return lines_; }

    // Replaces every line; the lines are sorted. Here and in add() a title
    // loses its CR and LF characters: one line is one lesson.
    void setLines(const QStringList& lines);
    void clear() { lines_.clear(); }
    // Inserts a line at its sorted place (after equal lines); returns its index.
    int add(const QString& line);
    void removeAt(int index) { lines_.removeAt(index); }
    // Replaces a line and moves it to its sorted place; returns the new index.
    int replace(int index, const QString& line);

    // The index of the first line whose first five characters are `code`
    // (compared exactly), or -1.
    int indexOfCode(const QString& code) const;

    // Reads a list file: 8-bit text, lines ended by CR LF, LF or CR. Empty lines
    // are dropped. A missing or unreadable file gives an empty list and false.
    bool load(const QString& path);
    // Writes every line followed by CR LF, atomically. False when the file
    // could not be written (the old file then stays as it was; `error` gets
    // the German cause).
    bool save(const QString& path, QString* error = nullptr) const;

    // The ordering of the list: true when line a stands before line b.
    static bool lessThan(const QString& a, const QString& b);

  private:
    QStringList lines_;
};

// The lesson list of the open database.
extern LessonList baumlist;

// The list file of the open database: CurrentDatabaseBase + ".lst", in the
// spelling the file already has on disk.
QString LessonListPath();
QString LessonListPath(const QString& databaseBase);
// Saves the list to the open database's list file; a failure is reported to
// the user in a box and gives false.
bool SaveLessonList(const LessonList& list);
bool SaveLessonList(const LessonList& list, const QString& path);

// The code and the title of a list line (the title is empty for a line of five
// characters or fewer).
QString LessonCodeOfLine(const QString& line);
QString LessonTitleOfLine(const QString& line);

// True when some line starts with exactly this code (case-sensitive).
bool LessonExists(const LessonList& list, const QString& code);

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
// numeric order, its sections in text order. Empty lines and lines shorter
// than a code are left out.
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
// per code, sorted; a code the old list knew keeps its title), saves it, and
// puts the query on the lesson of the table's first word. An empty table gets
// the single lesson "001A1" with one new word in it. Returns false in that
// case, true when the table had words.
bool RebuildLessonListFromTable(engine::Query& Query, LessonList& list);

// Makes `code` the current lesson and opens the query on it. A lesson without
// words gets one new word at once. Returns true when such a word was created.
bool OpenLesson(engine::Query& Query, const QString& code);
