#pragma once
// The quiz selection's settings and lesson marks.
//
// "AuswOpt.dat" (or the per-language "<Sprache>a.dat") is one 272-byte record
// shared by two windows: bytes 0 to 235 belong to the print window, bytes 236
// to 271 to the quiz selection (direction, difficulty and field filters, word
// class, the band of right answers). Each writer reads the file again, changes
// only its own bytes and writes the whole record back, so neither disturbs the
// other.
//
// "<Datenbank><Sprache>aw.dat" (200 flags) and "...aw2.dat" (10,000 flags)
// remember which lines of the lesson list were marked at the last quiz.
#include "database/lessons.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace SelectionOptionsOffset {
constexpr int QuizPart = 236; // first byte of the quiz selection's part
constexpr int RadioButton1 = 236;
constexpr int RadioButton2 = 237;
constexpr int RadioButton3 = 238;
constexpr int CheckBox1 = 239;
constexpr int sl = 240;
constexpr int l = 241;
constexpr int n = 242;
constexpr int s = 243;
constexpr int ss = 244;
constexpr int cbgenus = 245;
constexpr int cbgeni = 246;
constexpr int cbsf = 247;
constexpr int ComboBox1 = 256;
constexpr int SelStart = 260;
constexpr int SelEnd = 264;
constexpr int Position = 268;
} // namespace SelectionOptionsOffset

// The quiz selection's part of the selection options record. The members carry
// the names of the selection window's controls.
class TSelectionOptionsRec {
  public:
    static constexpr int RecordSize = 272;
    static constexpr int QuizPartSize = RecordSize - SelectionOptionsOffset::QuizPart;
    static constexpr int WordClassCount = 15; // "Alle" and the 14 word classes
    static constexpr int MaxPercent = 100;

    // Direction: foreign → native, native → foreign, mixed. Exactly one holds.
    bool RadioButton1 = true;
    bool RadioButton2 = false;
    bool RadioButton3 = false;
    bool CheckBox1 = false; // "Nicht gewußte": only words answered wrongly last time
    // Difficulties 1 (very easy) to 5 (very hard).
    bool sl = true;
    bool l = true;
    bool n = true;
    bool s = true;
    bool ss = true;
    bool cbgenus = false;    // only words with a genus
    bool cbgeni = false;     // only words with a genitive
    bool cbsf = false;       // only words with a principal part
    int ComboBox1 = 0;       // word class, 0 = all
    int SelStart = 0;        // lower bound of the band of right answers in %
    int SelEnd = MaxPercent; // upper bound
    int Position = 0;        // the track bar's position when saved (not read back)

    // Puts the fields within their ranges: exactly one direction (the last
    // ticked one, or foreign → native when none is), the word class within the
    // list ("Alle" otherwise), the band within 0..100.
    void normalize();

    // The direction as the quiz counts it: 1, 2 or 3.
    int direction() const;
    void setDirection(int direction);

    // Reads the record. A missing, unreadable or short file gives the defaults
    // above (every difficulty ticked, foreign → native, the full band) and
    // returns false.
    bool load(const QString& path);
    // Writes bytes 236 to 271 into the file as it is now: the print window's
    // bytes 0 to 235 and the unused bytes 248 to 255 stay as the file holds
    // them (zeros for a missing file). A failure is reported; false then.
    bool save(const QString& path) const;

    // The quiz part read from and written into a whole record image.
    bool fromBytes(const QByteArray& image);
    void writeInto(QByteArray& image) const;

    // The items of the word-class list, index = word-class code.
    static QStringList WordClassItems();
};

// The quiz selection in force (what the selection window last loaded or saved).
extern TSelectionOptionsRec SelectionOptions;

// Reads the selection options file, lets `change` set bytes in the 272-byte
// image (zero-filled where the file was missing or short) and writes it back
// whole; a failure is reported and returns false. Both windows sharing the
// file write through this.
bool updateSelectionOptionsFile(const QString& path,
                                const std::function<void(QByteArray& image)>& change);

// The selection options file for a language: "<Sprache>a.dat" when the
// general settings ask for one file per language, "AuswOpt.dat" otherwise, in
// WorkDir's "data" folder.
QString SelectionOptionsFileFor(const QString& language, bool perLanguage);
// With CurrentLanguage and the general settings in force.
QString SelectionOptionsFile();
// Points SelectionOptionsPath at SelectionOptionsFile(); a per-language file
// that does not exist yet starts as a copy of "AuswOpt.dat".
void chooseSelectionOptionsPath();

// SelectionOptions from and to SelectionOptionsPath ("AuswOpt.dat" when none
// was chosen yet).
bool loadSelectionOptions();
bool saveSelectionOptions();

// --- Lesson marks of the last quiz -------------------------------------------

// One flag per line of the lesson list: whether it was marked at the last OK.
class LessonMarksRecord {
  public:
    explicit LessonMarksRecord(int count) : flags_(count, false) {}

    int count() const { return static_cast<int>(flags_.size()); }
    bool marked(int index) const { return flags_[index]; }
    const QList<bool>& flags() const { return flags_; }

    // Takes the marks of the list's lines; entries past the list are false,
    // lines past the record's count are not kept.
    void setMarks(const QList<bool>& marks);

    // A missing file gives false; a short one keeps its flags, the rest false.
    bool load(const QString& path);
    // Written whole and atomically; a failure is reported.
    bool save(const QString& path) const;

  private:
    QList<bool> flags_;
};

// "…aw.dat": the first 200 lines.
class TLastSelectionRec : public LessonMarksRecord {
  public:
    static constexpr int Count = 200;
    TLastSelectionRec() : LessonMarksRecord(Count) {}
};

// "…aw2.dat": the first 10,000 lines.
class TLastSelection2Rec : public LessonMarksRecord {
  public:
    static constexpr int Count = 10000;
    TLastSelection2Rec() : LessonMarksRecord(Count) {}
};

// The mark files of a database (the path of its table without the extension)
// and language, in WorkDir's "data" folder, named after the database's name.
QString LastSelectionFile(const QString& databaseBase, const QString& language);
QString LastSelection2File(const QString& databaseBase, const QString& language);
// Whether "aw.dat" exists: "&Wie bei letzter Abfrage" is offered only then.
bool LastSelectionExists(const QString& databaseBase, const QString& language);

// Writes both mark files from the marks of the lesson list (line k → flag k).
bool writeLastSelection(const QList<bool>& marks, const QString& databaseBase,
                        const QString& language);

// The marks to restore on a list of `lineCount` lines: from "aw2.dat" when it
// holds all its flags, otherwise from "aw.dat"; nothing when neither exists.
// The result covers lines 0 .. min(lineCount, flags) − 1; later lines keep
// their marks.
std::optional<QList<bool>> readLastSelection(int lineCount, const QString& databaseBase,
                                             const QString& language);

// --- Lesson list lines and codes ----------------------------------------------

// The selection list's line of a section: the lesson number right-aligned in
// three characters and a blank, the letter and digit, a blank and the rest of
// the section's tree text ("  1 A1  [Haus]").
QString SelectionListLine(const QString& topNodeText, const QString& childText);
// Every section of the lesson tree, in tree order.
QStringList SelectionListLines(const LessonTree& tree);

// The lesson code of a list line: blanks in the first two places become "0",
// the blank after the number goes ("  1 A1  [Haus]" → "001A1").
QString LessonCodeFromSelectionLine(const QString& line);

// The codes of the marked lines, from the last marked line to the first (the
// order in which the quiz receives them). Marks past the list are ignored.
// Computed from the lines each time, so a second confirmation after a refused
// one gives the same codes.
QStringList SelectionCodesFromLines(const QStringList& lines, const QList<bool>& marks);
