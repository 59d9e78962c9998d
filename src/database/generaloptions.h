#pragma once
// The general settings record "gruopt.dat": option flags of the general
// settings dialog, the user's special-character table and its size, the recent
// databases and the custom vocabulary folder, in one 8,760-byte image. The
// per-language character-table files ("…Sz.dat", "sz.dat") share the layout.
//
// GeneralOptions holds the general settings in force: every part of the
// program reads it, the general settings dialog edits it.
#include <QByteArray>
#include <QString>
#include <array>

struct RecentDatabaseEntry {
    QString Path;        // full path of the table file
    QString DisplayText; // database name, " [", language, "]"

    bool operator==(const RecentDatabaseEntry&) const = default;
};

class TGeneralOptionsRec {
  public:
    static constexpr int RecordSize = 8760;
    static constexpr int CharTableColumns = 7;
    static constexpr int CharTableRows = 20;
    static constexpr int MaxRecent = 4;
    static constexpr int StringCapacity = 255;
    // Track-bar positions of the character-table size.
    static constexpr int MinCharTableSize = 3;
    static constexpr int MaxCharTableSize = 7;

    // Option flags, bytes 0 to 13.
    bool AkzAkt = false;        // Greek accent typing aid
    bool AusJedAn = false;      // selection/print settings file per language
    bool AbfJedAn = false;      // quiz settings file per language
    bool sza = false;           // show the user character table when a database is loaded
    bool szs = false;           // user character table per language
    bool wbla = false;          // lesson selection preset to the last quiz
    bool sca = false;           // scale windows to the screen
    bool sbanz = false;         // special-form captions in the quiz
    bool cbdopp = false;        // warn about duplicate foreign words
    bool cbeinf = false;        // append new words at the end of the lesson
    bool cbShortcutz = false;   // no menu shortcuts (read at start-up)
    bool cbMehrZeichen = false; // more rows in the user character table
    bool rbVVStandard = false;  // vocabulary folder: the standard one
    bool rbVVCustom = false;    // vocabulary folder: CustomFolder

    // The user's special characters: each cell empty or one character (stored
    // text), indexed [column 0..6][row 0..19].
    std::array<std::array<QString, CharTableRows>, CharTableColumns> UserCharTable;

    // Size of the special-character window: a one-character string whose
    // character code is the track-bar position. Use charTableSize().
    QString CharTableSize;

    // Recent databases, most recent first; only the first RecentCount are used.
    std::array<RecentDatabaseEntry, MaxRecent> Recent;
    int RecentCount = 0; // 0..4

    // The custom vocabulary folder as stored (it may be empty or unusable).
    QString CustomFolder;

    TGeneralOptionsRec();

    // Whether a path fits a path field of the record without being cut.
    static bool fitsPathField(const QString& path);

    // The track-bar position stored in the record, or 0 when none in 3..7 is.
    int charTableSize() const;
    void setCharTableSize(int position);

    // Reads one record. A missing, short or unreadable file leaves the object
    // as it was and returns false (no message: a missing file is normal).
    bool load(const QString& path);
    // Writes the whole record atomically; a failure is shown in a box and
    // returns false. Bytes the fields do not cover are written as read.
    bool save(const QString& path) const;

    // The image as it would be written, and the reverse. fromBytes needs a
    // whole record and returns false (object unchanged) otherwise.
    QByteArray toBytes() const;
    bool fromBytes(const QByteArray& bytes);

    // Copies one group of fields from another record, for writers that read
    // the file again and replace only what they own.
    void takeSettingsFrom(const TGeneralOptionsRec& other);  // flags, size, custom folder
    void takeCharTableFrom(const TGeneralOptionsRec& other); // UserCharTable
    void takeRecentFrom(const TGeneralOptionsRec& other);    // Recent, RecentCount

  private:
    // The last image read or written: the bytes no field owns are written as
    // they stand here, and unchanged strings keep their bytes exactly.
    mutable QByteArray image_;
};

// The general settings in force.
extern TGeneralOptionsRec GeneralOptions;
// The custom vocabulary folder in force: the stored folder when it is usable,
// otherwise WorkDir (set by the general settings dialog).
extern QString CustomVocabularyDir;
// Print settings files (shared by all languages).
extern QString PrintCardOptionsPath;
extern QString PrintTextOptionsPath;

// "gruopt.dat" in WorkDir's "data" folder.
QString GeneralOptionsFile();
// Reads "gruopt.dat" into GeneralOptions (false, record unchanged, when it is
// missing or short).
bool loadGeneralOptions();
// Writes GeneralOptions to "gruopt.dat"; a failure is reported and returns false.
bool saveGeneralOptions();
