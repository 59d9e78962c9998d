#pragma once
// The text form in which words leave a database and come back into one: the
// six separators with their replacements, the escaping of separators inside
// values, the descriptor line that lets the import read a file back, and the
// plain-text and RTF layouts of the header and of each word. Widget-free.
//
// All text here is stored text (one character per byte, see platform/codec.h);
// the writer of a file turns it into bytes with codec::toBytes.
#include <QString>
#include <QStringList>
#include <array>

// The separator set in force, process-wide: the export dialog sets it on
// confirmation, the import from the descriptor of the file it reads, and the
// universal import sets the first three and clears the replacements.
extern QString ExportRecordSeparator;
extern QString ExportFieldSeparator;
extern QString ExportTranslationSeparator;
extern QString ExportRecordReplacement;
extern QString ExportFieldReplacement;
extern QString ExportTranslationReplacement;

// One separator set as a value, so that a file is written or read with the set
// it started with. The defaults are those of a plain-text export.
struct ExportSeparators {
    QString record = QStringLiteral("\r\n");
    QString field = QStringLiteral("\t");
    QString translation = QStringLiteral(", ");
    QString recordReplacement = QStringLiteral("§$");
    QString fieldReplacement = QStringLiteral("~+");
    QString translationReplacement = QStringLiteral("##");

    // The process-wide set, and making this one the process-wide set.
    static ExportSeparators current();
    void publish() const;

    // The six strings in descriptor order (record, field, translation, then
    // their replacements).
    std::array<QString, 6> all() const;
    static ExportSeparators fromAll(const std::array<QString, 6>& parts);
};

// Replaces every occurrence of `searched` from left to right; inserted text is
// not scanned again. An empty `searched` changes nothing.
QString ReplaceEvery(const QString& text, const QString& searched, const QString& replacement);

// Separators inside a value → their replacements (record, field, translation,
// in this order). A separator whose replacement is empty stays as it is.
QString EscapeSeparators(const QString& text, const ExportSeparators& separators);
QString EscapeSeparators(const QString& text);
// Replacements → separators (record, field, translation, in this order); an
// empty replacement is skipped.
QString UnescapeSeparators(const QString& text, const ExportSeparators& separators);
QString UnescapeSeparators(const QString& text);

// RTF escaping: every character except "A"-"Z", "a"-"z", "0"-"9", backslash
// and apostrophe becomes \'hh (its byte, two upper-case hex digits), so that
// control words carried by separators ("\tab", "\par") survive. `active`
// false returns the text unchanged.
QString RtfEscape(const QString& text, bool active = true);

// The translation as it is written: its own translation separators replaced
// (kept as they are when the replacement is empty), each line break (CR LF,
// or a stray LF or CR) turned into the translation separator, then record and
// field separators replaced.
QString TranslationExportForm(const QString& stored, const ExportSeparators& separators);
// The way back: every translation separator becomes CR LF (one meaning per
// line), then the replacements are undone.
QString TranslationImportForm(const QString& text, const ExportSeparators& separators);

// The separator a user picks or types: "Tabulator" and "Zeilenumbruch" stand
// for TAB and CR LF, in an RTF file for "\tab " and "\par" CR LF; any other
// text is the separator itself.
QString SeparatorFromChoice(const QString& choice, bool rtf);

// The six strings the export dialog confirms, as typed (record, field,
// translation, then their replacements), checked and converted.
struct SeparatorCheck {
    bool ok = false;
    // Text for the user: the reason when !ok; when ok, a notice that may be
    // shown before the export goes on (empty when there is nothing to say).
    QString message;
    ExportSeparators separators;
};
// The separators must be given (not empty, not a single blank). A plain-text
// file must keep its descriptor readable: no string may contain "B" or "å",
// which delimit it. Two equal strings are only pointed out (the message of an
// ok check).
SeparatorCheck CheckExportSeparators(const std::array<QString, 6>& typed, bool rtf);

// --- fields -------------------------------------------------------------------

// The fourteen exportable fields, in file order; the positions are also the
// import's field codes.
enum ExportField {
    FieldFremdwort = 1,
    FieldUebersetzung,
    FieldLektion,
    FieldWortart,
    FieldSchwierigkeit,
    FieldExtra,
    FieldGenus,
    FieldGenitiv,
    FieldPraeFut,
    FieldPerAor,
    FieldPerfekt,
    FieldPerfektPassiv,
    FieldAoristPassiv,
    FieldFuturPassiv,
};
constexpr int ExportFieldCount = 14;

// The table field of a position (1..14), e.g. 13 → "Aorist_passiv".
const QString& ExportFieldName(int position);
// The RTF font (0 or 1) a position is written in.
int ExportFieldFont(int position);

// The word-class name of a code 1..14, the difficulty name of 1..5; a code
// out of range gives "".
QString WordClassName(int code);
QString DifficultyName(int code);
// The code of a name (exact comparison); 0 when no name matches.
int WordClassCode(const QString& name);
int DifficultyCode(const QString& name);

// One word as it is exported or imported: the texts by field position
// (positions of Wortart and Schwierigkeit unused) and the two codes.
struct ExchangeWord {
    std::array<QString, ExportFieldCount + 1> text;
    int wortart = 14;      // "Sonstiges"
    int schwierigkeit = 3; // "Normal"

    QString& operator[](int position) { return text[position]; }
    const QString& operator[](int position) const { return text[position]; }
};

// --- layouts ------------------------------------------------------------------

// A font of the RTF font table: name, charset byte and point size.
struct RtfFont {
    QString name;
    int charset = 0;
    int pointSize = 10;
};

// What the export dialog decided for one file.
struct ExportSettings {
    // fields[i] for position i (index 0 unused).
    std::array<bool, ExportFieldCount + 1> fields{};
    bool emptyFields = true; // "Auch &leere Felder exportieren"
    bool rtf = false;        // "Als RTF-Datei abspeichern"
    ExportSeparators separators;
    // Font 0 for the foreign-word column, font 1 for the translation column.
    std::array<RtfFont, 2> fonts;

    // Foreign word, translation and lesson, as the dialog starts.
    static ExportSettings defaults();
};

// "1" or "0" for each of the fourteen positions.
QString ExportFieldMask(const ExportSettings& settings);
// The descriptor: mask, the six separators joined by "B", the end byte 0xE5
// ("å"), CR LF.
QString ExportDescriptorLine(const ExportSettings& settings);
// The whole header of a plain-text export: descriptor, empty line, title line
// naming the table and the date, empty line, 84 dashes, empty line.
QString ExportTextHeader(const ExportSettings& settings, const QString& tablePath,
                         const QString& date);
// The first line of an RTF export: document start and the two-font table.
QString RtfProlog(const ExportSettings& settings);
// What ends an RTF export.
QString RtfEpilog();
// The header of either form.
QString ExportHeader(const ExportSettings& settings, const QString& tablePath, const QString& date);
// What follows the last record ("" for plain text).
QString ExportFooter(const ExportSettings& settings);

// Appends one word: the ticked fields in order, separated by the field
// separator and ended by the record separator. Empty fields are left out
// unless settings.emptyFields; a word of which nothing is written adds nothing.
void AppendExportRecord(QString& out, const ExchangeWord& word, const ExportSettings& settings);
QString ExportRecord(const ExchangeWord& word, const ExportSettings& settings);

// The number of values of a word, as a plain-text export writes them, that
// the import would not read back as they were: a value that holds the field
// or the record separator (one without a replacement; a lesson or a name,
// which are written as they are) ends its field early, and a meaning that
// holds the translation separator while it has no replacement, or whose end
// begins the separator written after it, comes back parted. An RTF file is
// not read back: 0.
int UnreadableExportValues(const ExchangeWord& word, const ExportSettings& settings);
