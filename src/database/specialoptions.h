#pragma once
// The special-form captions of every language, "soption.dat" in WorkDir's
// "data" folder: what the six special-form fields, the genitive field and the
// genus field are called in a language, and the font of those captions. One
// record of 311,688 bytes; a language owns one of the slots 0..99 (slot 100 is
// never given to a language):
//
//        0  101 × 2,304  nine strings[255] per slot: the language ("#" when the
//                        slot is free), special forms 1..6, genitive, genus
//  232,704  25,856       reserved, kept as read
//  258,560  101 × 4      CaptionFontSource (1 table foreign-word font of the
//                        database, 2 its table translation font, 3 own font)
//  258,964  101 × 4      CaptionFontSize
//  259,368  101 × 4      OwnFontSize
//  259,772  101 × 256    CaptionFontName (string[255])
//  285,628  101 × 256    OwnFontName
//  311,484  101 × 1      CaptionFontBold
//  311,585  101 × 1      OwnFontBold
//  311,686  2            padding
//
// The "own" font is kept while source 1 or 2 is chosen, so that choosing
// source 3 again brings it back.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

class TDatabaseOptionsRec;

class TSpecialOptionsRec {
  public:
    static constexpr int RecordSize = 311688;
    static constexpr int SlotCount = 101;         // slots 0..100
    static constexpr int LanguageSlotCount = 100; // slots 0..99 can hold a language
    static constexpr int EntryCount = 9;          // language, forms 1..6, genitive, genus
    static constexpr int StringCapacity = 255;
    static constexpr int GenitiveEntry = 7;
    static constexpr int GenusEntry = 8;
    enum FontSource { SourceTableWord = 1, SourceTableTranslation = 2, SourceOwn = 3 };

    // [slot][entry]: entry 0 the language or "#", 1..6 the special forms,
    // 7 the genitive, 8 the genus.
    std::array<std::array<QString, EntryCount>, SlotCount> Captions;
    std::array<qint32, SlotCount> CaptionFontSource{};
    std::array<qint32, SlotCount> CaptionFontSize{};
    std::array<qint32, SlotCount> OwnFontSize{};
    std::array<QString, SlotCount> CaptionFontName;
    std::array<QString, SlotCount> OwnFontName;
    std::array<bool, SlotCount> CaptionFontBold{};
    std::array<bool, SlotCount> OwnFontBold{};

    // Every slot free ("#") with the captions of an unknown language.
    TSpecialOptionsRec();
    // The record written when "soption.dat" is missing: slot k belongs to
    // language k of the list (at most 100), each with its language's defaults.
    static TSpecialOptionsRec withLanguages(const QStringList& languages);

    // The default captions and caption font of a language for slot `slot`
    // (entry 0 is left as it is).
    void SetLanguageCaptionDefaults(int slot, const QString& language);

    // The slot 0..99 whose language equals `language` with a..z compared
    // without regard to case, or -1.
    int findSlot(const QString& language) const;
    // Gives the first free slot 0..99 to the language with its defaults;
    // -1 when none is free or the language is empty.
    int allocateSlot(const QString& language);

    // The radio buttons of the caption font: takes the font of the chosen
    // source (the database's table fonts for 1 and 2, the slot's own font for 3).
    void chooseCaptionFont(int slot, int source, const TDatabaseOptionsRec& database);
    // Before saving: a slot on its own font keeps that font as its own.
    void keepOwnFont(int slot);

    QByteArray toBytes() const;
    // Needs a whole record; false (object unchanged) otherwise.
    bool fromBytes(const QByteArray& bytes);
    // False (object unchanged) when the file is missing, short or unreadable.
    bool load(const QString& path);
    // Writes the whole record atomically; a failure is reported, returns false.
    bool save(const QString& path) const;

    static bool isValidSlot(int slot) { return slot >= 0 && slot < SlotCount; }

  private:
    mutable QByteArray image_;
};

// S with a..z turned into A..Z and every other character unchanged.
QString UpperCaseEach(const QString& s);

// The module state of the captions window.
extern TSpecialOptionsRec SpecialOptions;
extern QString SpecialOptionsPath;     // WorkDir/data/soption.dat
extern QString SpecialOptionsLanguage; // the language looked up or defaulted
extern int CurrentSpecialSlot;         // the slot shown, -1 when none could be had
extern int SavedSpecialSlot;

// "soption.dat" in WorkDir's "data" folder.
QString SpecialOptionsFile();

// The language folders: sub-folders of `root` (name order) that hold at least
// one table (".db" or ".ol"). Unreadable folders are skipped.
QStringList FindLanguageFolders(const QString& root);

// Reads "soption.dat" into SpecialOptions and sets SpecialOptionsPath; when
// the file is missing it is created from `languages` (their defaults) without
// a message. A short or unreadable file leaves SpecialOptions as it was.
void LoadSpecialOptionsRecord(const QStringList& languages);

// What the main window and the quiz window show for a language.
struct SpecialFormCaptions {
    std::array<QString, 6> Forms; // special forms 1..6
    QString Genitive;
    QString Genus;
    QString FontName;
    int FontSize = 8;
    bool FontBold = true;
};

// The captions of a slot; the font of sources 1 and 2 is that of `database`
// as it is now. An invalid slot gives the defaults of `language`.
SpecialFormCaptions CaptionsOfSlot(const TSpecialOptionsRec& options, int slot,
                                   const TDatabaseOptionsRec& database,
                                   const QString& language = QString());

// For ApplySpecialFormCaptions: reads (or creates) "soption.dat" again, finds
// the slot of `language` (giving it a free one in memory when it has none) and
// returns its captions, with the fonts of DatabaseOptions. When no slot can be
// had, the language's defaults.
SpecialFormCaptions SpecialFormCaptionsFor(const QString& language);
