#include "platform/codec.h"

#include "platform/codepages.h"

#include <array>
#include <unordered_map>

namespace platform::codec {
namespace {

struct Table {
    const char16_t* toUnicode;
    std::unordered_map<char16_t, unsigned char> fromUnicode;

    explicit Table(const char16_t* table) : toUnicode(table) {
        for (int b = 0; b < 256; ++b)
            fromUnicode.emplace(table[b], static_cast<unsigned char>(b));
    }
    QChar decode(unsigned char b) const { return QChar(toUnicode[b]); }
    int encode(QChar c) const {
        auto it = fromUnicode.find(c.unicode());
        return it == fromUnicode.end() ? -1 : it->second;
    }
};

const Table& stored() {
    static const Table table(codepages::cp1252);
    return table;
}

// The symbol character set shows byte b as U+F000 + b.
char16_t symbolTable[256];
const Table& symbol() {
    static const Table table([] {
        for (int b = 0; b < 256; ++b)
            symbolTable[b] = static_cast<char16_t>(0xF000 + b);
        return symbolTable;
    }());
    return table;
}

const Table* tableFor(int charset) {
    switch (charset) {
    case 2: return &symbol();
    case 161: { static const Table t(codepages::cp1253); return &t; }
    case 177: { static const Table t(codepages::cp1255); return &t; }
    case 162: { static const Table t(codepages::cp1254); return &t; }
    case 204: { static const Table t(codepages::cp1251); return &t; }
    case 238: { static const Table t(codepages::cp1250); return &t; }
    case 186: { static const Table t(codepages::cp1257); return &t; }
    case 178: { static const Table t(codepages::cp1256); return &t; }
    case 163: { static const Table t(codepages::cp1258); return &t; }
    case 222: { static const Table t(codepages::cp874); return &t; }
    case 77: { static const Table t(codepages::cpMacRoman); return &t; }
    case 255: { static const Table t(codepages::cp850); return &t; }
    default: return nullptr; // 0, 1 and the multi-byte sets show the bytes as stored
    }
}

} // namespace

QString fromBytes(const char* bytes, int length) {
    QString result(length, Qt::Uninitialized);
    QChar* out = result.data();
    for (int i = 0; i < length; ++i)
        out[i] = stored().decode(static_cast<unsigned char>(bytes[i]));
    return result;
}

QString fromBytes(const QByteArray& bytes) { return fromBytes(bytes.constData(), bytes.size()); }

QByteArray toBytes(const QString& text) {
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        int b = stored().encode(text[i]);
        result[i] = static_cast<char>(b < 0 ? '?' : b);
    }
    return result;
}

QChar storedChar(unsigned char byte) { return stored().decode(byte); }
int storedByte(QChar c) { return stored().encode(c); }

QString toDisplay(const QString& text, int charset) {
    const Table* table = tableFor(charset);
    if (!table)
        return text;
    QString result = text;
    for (QChar& c : result) {
        int b = stored().encode(c);
        if (b >= 0)
            c = table->decode(static_cast<unsigned char>(b));
    }
    return result;
}

QString fromDisplay(const QString& shown, int charset) {
    const Table* table = tableFor(charset);
    if (!table)
        return shown;
    QString result = shown;
    for (QChar& c : result) {
        int b = table->encode(c);
        // Characters the set cannot show are typed as they are when the stored
        // alphabet has them (plain Latin letters, digits), '?' otherwise.
        if (b >= 0)
            c = stored().decode(static_cast<unsigned char>(b));
        else if (stored().encode(c) < 0)
            c = QLatin1Char('?');
    }
    return result;
}

QByteArray dosToWindowsMapping(int dosCodePage) {
    const char16_t* dos = nullptr;
    const char16_t* windows = nullptr;
    switch (dosCodePage) {
    case 437: dos = codepages::cp437; windows = codepages::cp1252; break;
    case 850: dos = codepages::cp850; windows = codepages::cp1252; break;
    case 737: dos = codepages::cp737; windows = codepages::cp1253; break;
    case 862: dos = codepages::cp862; windows = codepages::cp1255; break;
    default: return QByteArray();
    }
    const Table target(windows);
    QByteArray mapping(256, '?');
    for (int b = 0; b < 256; ++b) {
        const int to = target.encode(QChar(dos[b]));
        if (to >= 0) mapping[b] = static_cast<char>(to);
    }
    return mapping;
}

QString memoToWidget(const QString& stored) {
    QString text = stored;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QString memoFromWidget(const QString& shown) {
    QString text = shown;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text;
}

} // namespace platform::codec
