#pragma once
// The options record of a database, the ".opt" file beside its table: its
// language, the four fonts in which its words are shown and the character set
// of the foreign words. One 176-byte image:
//
//   0  string[30] language            93  string[30] table foreign-word font
//  31  string[30] foreign-word font   124  string[30] table translation font
//      (in the file "#p#" + name,     155  gap
//       p the charset position)       156..171  four Int32 sizes (word,
//  62  string[30] translation font         translation, table word, table
//                                          translation; the last + 1000 when
//                                          the charset applies to translations)
//                                     172..175  four bold flags (word, table
//                                          word, translation, table translation)
//
// In memory the font names carry no prefix, the charset position is a field of
// its own and the 1000 is the flag CharsetInTranslation, so the prefix and the
// 1000 are added exactly once per write, however often the record is saved.
#include <QByteArray>
#include <QString>
#include <functional>

class TDatabaseOptionsRec {
  public:
    static constexpr int RecordSize = 176;
    static constexpr int NameCapacity = 30;
    // Added to the table translation size in the file when the character set
    // applies to the translation fields too.
    static constexpr int CharsetInTranslationMark = 1000;

    QString Language;                     // CurrentLanguage, e.g. "Latein"
    QString WordFont;                     // cbFw, without the "#p#" prefix
    QString TranslationFont;              // cbUe
    QString TableWordFont;                // cbTFw: table foreign word and special forms
    QString TableTranslationFont;         // cbTUe: table translation, genitive, genus
    int WordFontSize = 18;                // sgFw
    int TranslationFontSize = 11;         // sgUe
    int TableWordFontSize = 14;           // sgTfw
    int TableTranslationFontSize = 11;    // sgTUe, without the 1000
    bool WordFontBold = false;            // FettFw
    bool TableWordFontBold = false;       // FettTFw
    bool TranslationFontBold = true;      // fettu
    bool TableTranslationFontBold = true; // fetttu
    int CharsetPosition = 2;              // CharsetIndex: 1..19
    bool CharsetInTranslation = false;    // cbCharset

    TDatabaseOptionsRec();

    // The values a new database of this language gets.
    static TDatabaseOptionsRec forNewDatabase(const QString& language);
    // The charset position of a new database: 18 for the East European
    // languages, 16 for Russian, 11 for Turkish, 2 for every other.
    static int defaultCharsetPosition(const QString& language);

    // WordFontCharset: the charset number of CharsetPosition.
    int wordCharset() const;
    // The charset of the translation fields: wordCharset() when
    // CharsetInTranslation, otherwise 0 (ANSI).
    int translationCharset() const;

    // The file image, and the reverse. fromBytes needs a whole record and
    // returns false (object unchanged) otherwise. A position outside 1..19 or
    // a prefix that is no number reads as position 2.
    QByteArray toBytes() const;
    bool fromBytes(const QByteArray& bytes);

    // Reads the record; false (object unchanged) when the file is missing,
    // short or unreadable.
    bool load(const QString& path);
    // Writes the whole record atomically; a failure is shown in a box and
    // returns false. The foreign-word font is cut so that prefix and name fit
    // the field, in memory as in the file.
    bool save(const QString& path);

  private:
    // The last image read or written: the gap and unused string bytes are
    // written as they stand here.
    QByteArray image_;
};

// The options of the open database.
extern TDatabaseOptionsRec DatabaseOptions;
// The charset position of the open database (1..19) and its charset number.
int CharsetIndex();
int WordFontCharset();

// base + ".opt".
QString DatabaseOptionsFile(const QString& databaseBase);

// Reads the options record of the database at `databaseBase` (path without
// extension) into DatabaseOptions and sets CurrentLanguage from it. A missing
// or short file gives the values of a new database whose language is the name
// of the database's folder; returns false then. A language that cannot be a
// folder name (CheckedDatabaseLanguage) is replaced by the folder's name after
// a message to the user.
bool ReadDatabaseOptions(const QString& databaseBase);
// Writes DatabaseOptions to CurrentDatabaseBase + ".opt" (false after a
// reported failure).
bool WriteDatabaseOptions();

// Chooses the selection, quiz and character-table settings files in force
// (SelectionOptionsPath, QuizOptionsPath, CharTableOptionsPath) by the general
// settings AusJedAn, AbfJedAn and szs and CurrentLanguage, making a missing
// per-language file as a copy of the shared one (an existing one is never
// overwritten), then has the quiz window and the special-character window
// read their settings again through the hooks below.
void LoadDatabaseOptionFiles();

// Wired by the program entry: the windows that read those files.
struct DatabaseOptionFileHooks {
    std::function<void()> reloadQuizOptions; // Tabfrag.FormCreate
    std::function<void()> reloadCharTable;   // Teinf.FormCreate
};
extern DatabaseOptionFileHooks DatabaseOptionFileReaders;

// The per-language settings file of a language: language + suffix ("a.dat",
// "o.dat", "Sz.dat") in WorkDir's "data" folder. Characters that would lead
// out of that folder ("/", "\") are replaced by "_".
QString PerLanguageSettingsFile(const QString& language, const QString& suffix);
