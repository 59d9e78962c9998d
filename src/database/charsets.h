#pragma once
// Character sets of a database's foreign words: the 19 positions of the
// database settings dialog's character-set list, the Windows font charset
// number behind each, the "#p#" prefix that stores the position in front of the
// foreign-word font name, and how a font with a character set shows stored
// bytes. The stored bytes never change when only the character set changes.
#include <QFont>
#include <QString>
#include <QStringList>

namespace engine {
class Query;
}

// Positions 1..19 (the dialog's visible list shows position p as item p - 1).
constexpr int CharsetPositionCount = 19;
// The position of "Standard (DEFAULT_CHARSET)", used wherever no valid
// position is stored.
constexpr int DefaultCharsetPosition = 2;

bool IsValidCharsetPosition(int position);
// Position 1..19 → charset number (18 → 238); an invalid position gives the
// number of the default position (1).
int CharsetNumber(int position);
// Position 1..19 → the name shown in the list (18 → "EASTEUROPE_CHARSET");
// an invalid position gives the default position's name.
QString CharsetName(int position);
// Charset number → its position, or 0 when no position has that number.
int CharsetPositionOfNumber(int number);
// The dialog's visible list `echarset` (19 names) and its hidden parallel
// list `wcharset` (20 numbers as text; item 0 is a "1" no position selects).
QStringList CharsetNames();
QStringList CharsetNumberItems();

// When s starts with "#", returns the number between the first "#" and the
// next one and replaces s by the text after that second "#" (cut to maxLength
// characters); the number may be decimal or "$" and hexadecimal ("#$A1#"
// gives 161). Otherwise returns 0 and leaves s unchanged. A "#" without a
// second "#" leaves s unchanged and returns 0 (the whole string is the font
// name); a prefix whose number is no number is removed and gives 0.
int SplitOptionString(QString& s, int maxLength);

// Removes every leading "#p#" prefix from a font field that is longer than 2
// characters. Stops as soon as nothing more can be removed, so a lone "#" can
// never make it loop.
void StripCharsetPrefixes(QString& fontField, int maxLength = 30);

// The language and font test of the Hebrew entry aid: the language is written
// exactly "Hebräisch", "hebräisch", "Hebraeisch" or "hebraeisch", or the
// foreign-word font is exactly "Bwhebb".
bool IsHebrewDatabase(const QString& language, const QString& wordFont);
// The same for the open database (CurrentLanguage, DatabaseOptions).
bool IsHebrewDatabase();

// Whether the Hebrew entry aid is wanted for the open database: a Hebrew
// database whose words are written in a font that draws Hebrew on the Latin
// codes. In the Hebrew (or Arabic) character set the text fields lay out
// right-to-left text themselves, and the aid would store every word backwards.
bool HebrewEntryAidWanted();

// Whether the Hebrew entry aid acts now: a Hebrew database, no bulk change of
// records running, and the main query open with an editable result.
bool IsHebrewLanguage(bool suppressFieldChange, bool queryOpen, bool queryLive);
// Convenience for callers that hold the main query.
template <typename QueryT = engine::Query>
bool IsHebrewLanguage(const QueryT* query, bool suppressFieldChange) {
    return query && IsHebrewLanguage(suppressFieldChange, query->isActive(), query->canModify());
}

// What a control that shows stored word text needs for a font and charset:
// the font to set, and the conversions between the stored text (held by the
// query and the records) and the text the control shows and returns.
struct WordFontView {
    QFont font;
    int charset = 1;

    QString toDisplay(const QString& stored) const;
    QString fromDisplay(const QString& shown) const;
};

// A font asked for by the name the records hold (Qt falls back to a similar
// one when it is not installed); a size of 0 or less keeps the default size.
WordFontView WordFontFor(const QString& family, int pointSize, bool bold, int charset);
