#include "database/charsets.h"

#include "database/currentdatabase.h"
#include "database/databaseoptions.h"
#include "platform/codec.h"
#include "platform/wholenumber.h"

#include <array>

namespace {

struct CharsetEntry {
    const char* name;
    int number;
};

// Index p - 1 holds position p.
constexpr std::array<CharsetEntry, CharsetPositionCount> Charsets = {{
    {"ANSI_CHARSET", 0},          {"Standard (DEFAULT_CHARSET)", 1},
    {"SYMBOL_CHARSET", 2},        {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},       {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},     {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},      {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},      {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

const CharsetEntry& entry(int position) {
    return Charsets[(IsValidCharsetPosition(position) ? position : DefaultCharsetPosition) - 1];
}

} // namespace

bool IsValidCharsetPosition(int position) {
    return position >= 1 && position <= CharsetPositionCount;
}

int CharsetNumber(int position) {
    return entry(position).number;
}

QString CharsetName(int position) {
    return QString::fromLatin1(entry(position).name);
}

int CharsetPositionOfNumber(int number) {
    for (int p = 1; p <= CharsetPositionCount; ++p)
        if (Charsets[p - 1].number == number) return p;
    return 0;
}

QStringList CharsetNames() {
    QStringList names;
    for (const CharsetEntry& e : Charsets)
        names << QString::fromLatin1(e.name);
    return names;
}

QStringList CharsetNumberItems() {
    QStringList items{QStringLiteral("1")};
    for (const CharsetEntry& e : Charsets)
        items << QString::number(e.number);
    return items;
}

int SplitOptionString(QString& s, int maxLength) {
    if (!s.startsWith(QLatin1Char('#'))) return 0;
    const qsizetype close = s.indexOf(QLatin1Char('#'), 1);
    if (close < 0) return 0;
    const std::optional<qint32> number = platform::parseWholeNumber(s.mid(1, close - 1));
    s = s.mid(close + 1).left(maxLength);
    return number.value_or(0);
}

void StripCharsetPrefixes(QString& fontField, int maxLength) {
    while (fontField.size() > 2 && fontField.startsWith(QLatin1Char('#'))) {
        const QString before = fontField;
        SplitOptionString(fontField, maxLength);
        if (fontField == before) break;
    }
}

bool IsHebrewDatabase(const QString& language, const QString& wordFont) {
    static const QStringList spellings = {QStringLiteral("Hebräisch"), QStringLiteral("hebräisch"),
                                          QStringLiteral("Hebraeisch"),
                                          QStringLiteral("hebraeisch")};
    return spellings.contains(language) || wordFont == QLatin1String("Bwhebb");
}

bool IsHebrewDatabase() {
    return IsHebrewDatabase(CurrentLanguage, DatabaseOptions.WordFont);
}

bool HebrewEntryAidWanted() {
    const int charset = DatabaseOptions.wordCharset();
    return IsHebrewDatabase() && charset != 177 && charset != 178;
}

bool IsHebrewLanguage(bool suppressFieldChange, bool queryOpen, bool queryLive) {
    return HebrewEntryAidWanted() && !suppressFieldChange && queryOpen && queryLive;
}

QString WordFontView::toDisplay(const QString& stored) const {
    return platform::codec::toDisplay(stored, charset);
}

QString WordFontView::fromDisplay(const QString& shown) const {
    return platform::codec::fromDisplay(shown, charset);
}

WordFontView WordFontFor(const QString& family, int pointSize, bool bold, int charset) {
    WordFontView view;
    view.font.setFamily(family);
    if (pointSize > 0) view.font.setPointSize(pointSize);
    view.font.setBold(bold);
    view.charset = charset;
    return view;
}
