#pragma once
// Reading words from text files: the descriptor of an export file, the record
// reader shared by the import of exported files and the universal import, and
// the rules that turn the fields of a record into a word. Widget-free.
#include "exchange/exportformat.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

// --- export files -------------------------------------------------------------

// What the start of an export file says about it.
struct ExportDescriptor {
    // The file is an export: a mask of fourteen "0"/"1" naming at least the
    // foreign word and the translation, six separators of which the first three
    // are not empty, and the file goes on after the end byte.
    bool valid = false;
    std::array<bool, ExportFieldCount + 1> mask{};
    ExportSeparators separators;
    // Where the first record starts: after the rest of the descriptor's line
    // and the five header lines (the file's length when it ends before).
    int recordsStart = 0;
};

// Reads the descriptor from the file's stored text (one character per byte).
ExportDescriptor ReadExportDescriptor(const QString& content);

// The field code of each field of a record, by field number (index 0 is the
// first field): for an export file the positions of the set mask flags.
using FieldCodes = QVector<int>;
FieldCodes FieldCodesFromMask(const std::array<bool, ExportFieldCount + 1>& mask);

// --- universal import -----------------------------------------------------------

// The fields a column of the universal import can hold: the item index of the
// column lists is the field code; "Leer" (item 15) reads a value and drops it.
constexpr int UniversalColumnCount = 15;
constexpr int UnusedColumnCode = 0;
constexpr int SkippedColumnCode = 111;
const QStringList& UniversalColumnItems();
// The code a column's item stands for (0..14, 111 for "Leer").
int UniversalColumnCode(int item);

// The lesson code of a plain lesson number: the characters before the first
// digit are dropped; a whole number n becomes its digits padded to three and
// followed by "A1" ("1" → "001A1", "Lektion 12" → "012A1"); a number of more
// than three digits keeps its digits. Anything else keeps the text as it was.
// The result is cut to five characters.
QString ConvertLessonNumber(const QString& text);

// The default lesson of the n-th file (1-based) of an all-files import:
// "001A1" .. "999A1"; files from the thousandth on share "999A1".
QString FileLessonCode(int fileNumber);
// The lesson title of a file: its name without folder and extension.
QString FileLessonTitle(const QString& path);

// --- text of a file ---------------------------------------------------------------

// The text of a file to read words from. Export files and most word lists are
// 8-bit; a file that starts with a UTF-8 byte-order mark, or whose bytes are
// valid UTF-8 with characters beyond ASCII, is read as UTF-8 when `allowUtf8`.
struct ImportText {
    QString content;   // stored text, or Unicode text when utf8
    bool utf8 = false; // values still need converting into stored text
};
ImportText DecodeImportFile(const QByteArray& bytes, bool allowUtf8);

// The first `count` lines of a file's text, for the universal import's preview.
QStringList FirstLines(const QString& content, int count);

// --- records ----------------------------------------------------------------------

// Reads fields one after another: a field ends where its text ends with the
// field separator (tested first) or with the record separator, which also ends
// the record, or where the text ends. The separator is not part of the value.
class RecordReader {
  public:
    // `anyLineBreak`: a separator that is CR LF also ends at a lone LF, a lone
    // CR or an LF CR pair, for word lists written on systems with other line
    // ends.
    RecordReader(const QString& content, int start, const QString& fieldSeparator,
                 const QString& recordSeparator, bool anyLineBreak = false);

    bool atEnd() const { return pos_ >= content_.size(); }
    int position() const { return pos_; }
    // Reads the fields of the next record.
    QStringList readRecord();

  private:
    // Reads one field; `recordEnded` tells whether the record ended with it.
    QString readField(bool& recordEnded);
    int matchAt(const QString& separator, int end, int fieldStart) const;
    // Where reading goes on after a separator of `matched` characters ending at `end`.
    int afterSeparator(int end, int matched) const;

    QString content_;
    int pos_;
    QString field_;
    QString record_;
    bool anyLineBreak_;
};

// --- storing rules ----------------------------------------------------------------

// How the fields of a record become a word.
struct ImportRules {
    FieldCodes codes;
    ExportSeparators separators; // the replacements are undone in every text
    // Fields that the file carries: those that are not given take the defaults
    // (lesson: defaultLessonCode, word class 14, difficulty 3).
    std::array<bool, ExportFieldCount + 1> mask{};
    QString defaultLessonCode = QStringLiteral("001A1");
    bool convertLessonNumbers = false; // "A&utomatische Lektionkonvertierung"
    bool anyLineBreak = false;         // CR LF separators also match a lone LF
    // For a UTF-8 file: the charsets in which the new database shows its
    // foreign words and its translations; values are turned into stored text.
    bool utf8 = false;
    int wordCharset = 1;
    int translationCharset = 0;
};

enum class RecordVerdict {
    Word,       // a word to store
    Nothing,    // no field of the record was read (a skipped column only)
    Incomplete, // neither foreign word nor translation: not a word
};

// Turns the fields of one record into a word. `lessonReplaced` is set when the
// record named a lesson that is no five-character code and the word was given
// the default lesson instead.
RecordVerdict WordFromRecord(const QStringList& fields, const ImportRules& rules,
                             ExchangeWord& word, bool* lessonReplaced = nullptr);

// Collects the lesson list of an import: one line per lesson code in the order
// the codes first occur, with the title of the file they came from.
class ImportLessons {
  public:
    void note(const QString& code, const QString& title);
    const QStringList& lines() const { return lines_; }
    bool isEmpty() const { return lines_.isEmpty(); }

  private:
    QSet<QString> seen_;
    QStringList lines_;
};
