#include "quiz/accentstripping.h"

#include "platform/codec.h"

#include <algorithm>
#include <array>

namespace greekaccents {
namespace {

using ByteTable = std::array<unsigned char, 256>;

ByteTable identityTable() {
    ByteTable table{};
    for (int b = 0; b < 256; ++b)
        table[b] = static_cast<unsigned char>(b);
    return table;
}

void mapRange(ByteTable& table, int from, int to, char letter) {
    for (int b = from; b <= to; ++b)
        table[b] = static_cast<unsigned char>(letter);
}

const ByteTable& symbolFontTable() {
    static const ByteTable table = [] {
        ByteTable t = identityTable();
        // No replacement letter lies in any of the ranges, so the order of the
        // assignments does not matter and one byte changes at most once.
        t[118] = 'a';
        mapRange(t, 161, 182, 'a');
        mapRange(t, 152, 159, 'e');
        mapRange(t, 131, 144, 'i');
        mapRange(t, 208, 215, 'o');
        mapRange(t, 216, 229, 'u');
        t[74] = 'w';
        mapRange(t, 230, 251, 'w');
        t[86] = 'h';
        mapRange(t, 185, 195, 'h');
        mapRange(t, 197, 207, 'h');
        mapRange(t, 183, 184, 'r');
        return t;
    }();
    return table;
}

const ByteTable& codepage1253Table() {
    static const ByteTable table = [] {
        ByteTable t = identityTable();
        const int pairs[][2] = {{220, 225}, {221, 229}, {222, 231}, {253, 245}, {252, 239},
                                {254, 249}, {223, 233}, {162, 193}, {184, 197}, {185, 199},
                                {190, 213}, {188, 207}, {191, 217}, {186, 201}};
        for (const auto& pair : pairs)
            t[pair[0]] = static_cast<unsigned char>(pair[1]);
        return t;
    }();
    return table;
}

QString mapBytes(const QString& text, const ByteTable& table) {
    QString result = text;
    for (QChar& c : result) {
        const int b = platform::codec::storedByte(c);
        if (b >= 0 && table[b] != b) c = platform::codec::storedChar(table[b]);
    }
    return result;
}

} // namespace

QString akkonvTable(const QString& text) {
    return mapBytes(text, symbolFontTable());
}

QString akkonv(const QString& text, const QString& foreignFontName) {
    if (foreignFontName != QLatin1String(GreekFontName)) return text;
    return akkonvTable(text);
}

QString ak2konv(const QString& text) {
    static const QString signs = QStringLiteral("<>/\\|%&{}[]~");
    QString result;
    result.reserve(text.size());
    for (QChar c : text)
        if (!signs.contains(c)) result.append(c);
    return result;
}

QString ak3konv(const QString& text) {
    return mapBytes(text, codepage1253Table());
}

bool isHebgriFontName(const QString& fontName) {
    static const QString marker = QStringLiteral("HEBGRI");
    const QString upper = fontName.toUpper();
    if (upper.endsWith(marker)) return true;
    // The older test read the six characters that start one before the last
    // six; names it accepted keep working.
    const qsizetype start = std::max<qsizetype>(0, upper.size() - 7);
    return upper.mid(start, 6) == marker;
}

AccentRule accentRuleFor(const QString& foreignFontName, int wordFontCharset) {
    if (foreignFontName == QLatin1String(GreekFontName)) return AccentRule::SymbolFont;
    if (isHebgriFontName(foreignFontName)) return AccentRule::Hebgri;
    if (wordFontCharset == GreekCharset) return AccentRule::Codepage1253;
    return AccentRule::None;
}

QString stripAccents(const QString& text, const QString& foreignFontName, int wordFontCharset) {
    switch (accentRuleFor(foreignFontName, wordFontCharset)) {
    case AccentRule::SymbolFont:
        return akkonvTable(text);
    case AccentRule::Hebgri:
        return ak2konv(text);
    case AccentRule::Codepage1253:
        return ak3konv(text);
    case AccentRule::None:
        break;
    }
    return text;
}

} // namespace greekaccents
