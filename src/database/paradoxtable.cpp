#include "database/paradoxtable.h"

#include "database/vocabularytable.h"
#include "platform/codec.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QVector>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

namespace {

// The header of a Paradox table, as far as the checks below need it.
// Integers are little-endian.
constexpr int RecordSizeAt = 0x00;
constexpr int HeaderSizeAt = 0x02;
constexpr int FileTypeAt = 0x04;
constexpr int BlockKilobytesAt = 0x05;
constexpr int RecordCountAt = 0x06;
constexpr int FileBlocksAt = 0x0c;
constexpr int FirstBlockAt = 0x0e;
constexpr int FieldCountAt = 0x21;
constexpr int VersionAt = 0x39;
constexpr int CodePageAt = 0x6a; // in the longer header only
// Tables of version 4 and later have a longer header before the field list.
constexpr int OldFieldListAt = 0x58;
constexpr int FieldListAt = 0x78;
constexpr int FirstVersionWithLongHeader = 5;
// The table's name follows the field list, a pointer to it and one pointer
// per field, in a fixed field of 79 bytes (261 from version 7 on).
constexpr int TableNamePointersAt = 4;
constexpr int FieldNamePointerSize = 4;
constexpr int TableNameLength = 79;
constexpr int LongTableNameLength = 261;
constexpr int FirstVersionWithLongTableName = 12;
constexpr int BlockHeaderSize = 6;

// The fields of the vocabulary table as the older engine declared them.
struct ExpectedField {
    char type;
    int width; // text: the width of the engine's field
};
const ExpectedField expectedFields[VokabelFieldCount] = {
    {pxfAutoInc, 0}, {pxfAlpha, 5},  {pxfAlpha, 100}, {pxfAlpha, 150}, {pxfAlpha, 40},
    {pxfAlpha, 40},  {pxfAlpha, 40}, {pxfAlpha, 40},  {pxfAlpha, 40},  {pxfAlpha, 40},
    {pxfAlpha, 150}, {pxfAlpha, 5},  {pxfShort, 0},   {pxfAlpha, 100}, {pxfShort, 0},
    {pxfShort, 0},   {pxfShort, 0},  {pxfShort, 0},   {pxfLogical, 0}, {pxfLogical, 0}};

quint32 word(const QByteArray& bytes, qint64 at) {
    return quint8(bytes[at]) | quint32(quint8(bytes[at + 1])) << 8;
}

quint32 dword(const QByteArray& bytes, qint64 at) {
    return word(bytes, at) | word(bytes, at + 2) << 16;
}

bool knownBlockSize(int kilobytes) {
    for (const int size : {1, 2, 3, 4, 8, 16, 32})
        if (kilobytes == size) return true;
    return false;
}

// The byte size a field of this type takes in a record, 0 for a type that a
// table of this kind cannot hold.
bool plausibleField(int type, int size) {
    switch (type) {
    case pxfAlpha:
        return size >= 1 && size <= 255;
    case pxfShort:
        return size == 2;
    case pxfLogical:
        return size == 1;
    case pxfDate:
    case pxfLong:
    case pxfTime:
    case pxfAutoInc:
        return size == 4;
    case pxfCurrency:
    case pxfNumber:
    case pxfTimestamp:
        return size == 8;
    case pxfBCD:
        return size == 17;
    case pxfMemoBLOb:
    case pxfBLOb:
    case pxfFmtMemoBLOb:
    case pxfOLE:
    case pxfGraphic:
    case pxfBytes:
        return size >= 1 && size <= 255;
    default:
        return false;
    }
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

ParadoxTableError damaged(const QString& name) {
    return ParadoxTableError(
        QStringLiteral("Die Tabelle \"%1\" im Format des früheren Programms (Paradox) ist "
                       "beschädigt und kann nicht umgewandelt werden.")
            .arg(shown(name)));
}

ParadoxTableError foreign(const QString& name) {
    return ParadoxTableError(QStringLiteral("Die Paradox-Tabelle \"%1\" ist keine Vokabeltabelle "
                                            "dieses Programms (ihre Felder passen nicht) und wird "
                                            "nicht umgewandelt.")
                                 .arg(shown(name)));
}

// What pxlib is given to read: checked first, so that no count or block
// number of a damaged file leads it astray.
struct Layout {
    qint64 recordSize = 0;
    qint64 headerSize = 0;
    qint64 blockSize = 0;
    qint64 records = 0;
    qint64 fileBlocks = 0;
    qint64 firstBlock = 0;
    int fieldCount = 0;
    int fieldList = 0;
    int codePage = 0; // 0: none recorded
};

Layout checkedLayout(const QByteArray& file, const QString& name) {
    if (!LooksLikeParadoxTable(file)) throw damaged(name);
    Layout layout;
    layout.recordSize = word(file, RecordSizeAt);
    layout.headerSize = word(file, HeaderSizeAt);
    layout.blockSize = qint64(quint8(file[BlockKilobytesAt])) * 1024;
    layout.records = dword(file, RecordCountAt);
    layout.fileBlocks = word(file, FileBlocksAt);
    layout.firstBlock = word(file, FirstBlockAt);
    layout.fieldCount = int(word(file, FieldCountAt));
    const bool longHeader = quint8(file[VersionAt]) >= FirstVersionWithLongHeader;
    layout.fieldList = longHeader ? FieldListAt : OldFieldListAt;
    // Every offset below lies inside the header, and the header inside the
    // file: a file cut short is refused before any of them is read.
    if (layout.headerSize > file.size() ||
        layout.fieldList + 2 * layout.fieldCount > layout.headerSize)
        throw damaged(name);
    layout.codePage = longHeader ? int(word(file, CodePageAt)) : 0;

    qint64 fieldBytes = 0;
    for (int i = 0; i < layout.fieldCount; ++i) {
        const int type = quint8(file[layout.fieldList + 2 * i]);
        const int size = quint8(file[layout.fieldList + 2 * i + 1]);
        if (!plausibleField(type, size)) throw damaged(name);
        fieldBytes += size;
    }
    if (fieldBytes != layout.recordSize || layout.recordSize > layout.blockSize - BlockHeaderSize)
        throw damaged(name);
    if (layout.fieldCount != VokabelFieldCount) throw foreign(name);
    // pxlib copies the name as a string ending at its zero byte: a name
    // without one would be read on past its field.
    const qint64 tableNameAt = layout.fieldList + 2 * layout.fieldCount + TableNamePointersAt +
                               FieldNamePointerSize * layout.fieldCount;
    const qint64 tableNameEnd = qMin(
        layout.headerSize, tableNameAt + (quint8(file[VersionAt]) >= FirstVersionWithLongTableName
                                              ? LongTableNameLength
                                              : TableNameLength));
    if (tableNameAt >= tableNameEnd ||
        !std::memchr(file.constData() + tableNameAt, 0, size_t(tableNameEnd - tableNameAt)))
        throw damaged(name);
    // A file cut short ends before its last block.
    if (layout.headerSize + layout.fileBlocks * layout.blockSize > file.size()) throw damaged(name);
    return layout;
}

// The older engine handed text over as the table's language driver made it:
// text of a table stored under a DOS code page came in the Windows code page
// of the same script, text of one under a Windows code page (or none
// recorded) as it stands. Returns the byte mapping for a DOS code page and an
// empty one otherwise; a code page without a mapping here is refused.
QByteArray textMapping(int codePage, const QString& name) {
    static const int windowsCodePages[] = {874,  932,  936,  949,  950,  1250, 1251,
                                           1252, 1253, 1254, 1255, 1256, 1257, 1258};
    if (codePage == 0 || std::find(std::begin(windowsCodePages), std::end(windowsCodePages),
                                   codePage) != std::end(windowsCodePages))
        return QByteArray();
    const QByteArray mapping = platform::codec::dosToWindowsMapping(codePage);
    if (mapping.isEmpty())
        throw ParadoxTableError(QStringLiteral("Die Paradox-Tabelle \"%1\" ist in der Codeseite "
                                               "%2 gespeichert, deren Zeichen dieses Programm "
                                               "nicht umwandeln kann, und wird nicht umgewandelt.")
                                    .arg(shown(name))
                                    .arg(codePage));
    return mapping;
}

// The records of one data block: where the first starts, how many follow.
struct BlockRecords {
    qint64 first;
    qint64 count;
};

// Follows the chain of data blocks: every block once, inside the file, no
// more records than fit, and as many as the header counts. Returns the
// blocks in the table's order.
QVector<BlockRecords> checkBlocks(const QByteArray& file, const Layout& layout,
                                  const QString& name) {
    const qint64 perBlock = (layout.blockSize - BlockHeaderSize) / layout.recordSize;
    QVector<bool> seen(layout.fileBlocks + 1, false);
    QVector<BlockRecords> blocks;
    qint64 total = 0;
    for (qint64 block = layout.firstBlock; block != 0;) {
        if (block > layout.fileBlocks || seen[block]) throw damaged(name);
        seen[block] = true;
        const qint64 at = layout.headerSize + (block - 1) * layout.blockSize;
        const qint16 lastRecord = qint16(word(file, at + 4));
        if (lastRecord >= 0) {
            if (lastRecord % layout.recordSize != 0) throw damaged(name);
            const qint64 inBlock = lastRecord / layout.recordSize + 1;
            if (inBlock > perBlock) throw damaged(name);
            total += inBlock;
            blocks.append({at + BlockHeaderSize, inBlock});
        }
        block = word(file, at);
    }
    if (total != layout.records) throw damaged(name);
    return blocks;
}

// The pxlib document of a table held in memory.
class Document {
  public:
    Document(const QByteArray& bytes, const QString& name) {
        static const bool booted = [] {
            PX_boot();
            return true;
        }();
        Q_UNUSED(booted);
        // Read-only: the stream never writes into the bytes.
        stream_ = fmemopen(const_cast<char*>(bytes.constData()), size_t(bytes.size()), "rb");
        doc_ = PX_new3(&Document::report, nullptr, nullptr, nullptr, this);
        if (!stream_ || !doc_ || PX_open_fp(doc_, stream_) < 0) {
            // pxlib has already freed parts of a document it could not open.
            doc_ = nullptr;
            release();
            throw damaged(name);
        }
    }
    ~Document() { release(); }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    pxdoc_t* get() const { return doc_; }

  private:
    static void report(pxdoc_t*, int, const char*, void*) {
        // A failure shows in the result of the call; the text is pxlib's own
        // English and is not shown to the user.
    }
    void release() {
        if (doc_) {
            PX_close(doc_);
            PX_delete(doc_);
            doc_ = nullptr;
        }
        if (stream_) {
            std::fclose(stream_);
            stream_ = nullptr;
        }
    }
    FILE* stream_ = nullptr;
    pxdoc_t* doc_ = nullptr;
};

void checkFields(const Document& doc, const QString& name) {
    if (PX_get_num_fields(doc.get()) != VokabelFieldCount) throw foreign(name);
    const pxfield_t* fields = PX_get_fields(doc.get());
    if (!fields) throw damaged(name);
    for (int i = 0; i < VokabelFieldCount; ++i) {
        const ExpectedField& expected = expectedFields[i];
        const char type = fields[i].px_ftype;
        const bool typeFits = type == expected.type || (i == 0 && type == pxfLong);
        const QString fieldName = platform::codec::fromBytes(QByteArray(fields[i].px_fname));
        if (!typeFits || fieldName.compare(VokabelFieldNames().at(i), Qt::CaseInsensitive) != 0)
            throw foreign(name);
    }
}

// Reads the fields of a record through pxlib's converters. Text comes as it
// is stored (no encoding is set) and goes through the table's text mapping
// when it has one, then through the codec.
class RecordReader {
  public:
    RecordReader(pxdoc_t* doc, const QString& name, const QByteArray& mapping)
        : doc_(doc), name_(name), textMapping_(mapping) {
        const pxfield_t* fields = PX_get_fields(doc);
        int at = 0;
        for (int i = 0; i < VokabelFieldCount; ++i) {
            offsets_[i] = at;
            lengths_[i] = fields[i].px_flen;
            at += fields[i].px_flen;
        }
    }

    void read(char* record, QVariantList& values) const {
        values.clear();
        for (int f = 0; f < VokabelFieldCount; ++f)
            values << value(record + offsets_[f], f);
    }

  private:
    QVariant value(char* data, int field) const {
        const int length = lengths_[field];
        if (field == 0) {
            long key = 0;
            if (PX_get_data_long(doc_, data, length, &key) <= 0 || key <= 0) throw damaged(name_);
            return qint64(key);
        }
        switch (expectedFields[field].type) {
        case pxfAlpha:
            return text(data, field);
        case pxfShort: {
            short number = 0;
            return PX_get_data_short(doc_, data, length, &number) > 0 ? int(number) : 0;
        }
        default: {
            char flag = 0;
            return PX_get_data_byte(doc_, data, length, &flag) > 0 && flag != 0;
        }
        }
    }

    QString text(char* data, int field) const {
        char* bytes = nullptr;
        if (PX_get_data_alpha(doc_, data, lengths_[field], &bytes) <= 0 || !bytes) return QString();
        const int length = int(qstrlen(bytes));
        if (!textMapping_.isEmpty())
            for (int i = 0; i < length; ++i)
                bytes[i] = textMapping_[quint8(bytes[i])];
        const QString stored = platform::codec::fromBytes(bytes, length);
        doc_->free(doc_, bytes);
        if (stored.size() > expectedFields[field].width)
            throw ParadoxTableError(
                QStringLiteral("Die Paradox-Tabelle \"%1\" enthält im Feld \"%2\" einen Text, der "
                               "länger ist als das Feld erlaubt, und wird nicht umgewandelt.")
                    .arg(shown(name_), VokabelFieldNames().at(field)));
        return stored;
    }

    pxdoc_t* doc_;
    QString name_;
    QByteArray textMapping_;
    int offsets_[VokabelFieldCount] = {};
    int lengths_[VokabelFieldCount] = {};
};

} // namespace

bool LooksLikeParadoxTable(const QByteArray& head) {
    if (head.size() < OldFieldListAt) return false;
    if (head.startsWith(QByteArray("SQLite format 3\0", 16))) return false;
    const int fileType = quint8(head[FileTypeAt]);
    const int version = quint8(head[VersionAt]);
    return (fileType == pxfFileTypIndexDB || fileType == pxfFileTypNonIndexDB) &&
           knownBlockSize(quint8(head[BlockKilobytesAt])) && word(head, RecordSizeAt) > 0 &&
           word(head, HeaderSizeAt) >= OldFieldListAt && word(head, FieldCountAt) > 0 &&
           version >= 3 && version <= 12;
}

bool IsParadoxTableFile(const QString& path) {
    QFile file;
    return platform::openRegularFile(file, path) && LooksLikeParadoxTable(file.read(FieldListAt));
}

ParadoxTableInfo ReadParadoxVocabulary(const QByteArray& file, const QString& shownName,
                                       const std::function<void(const QVariantList&)>& record) {
    const Layout layout = checkedLayout(file, shownName);
    const QVector<BlockRecords> blocks = checkBlocks(file, layout, shownName);
    const QByteArray mapping = textMapping(layout.codePage, shownName);

    const Document doc(file, shownName);
    checkFields(doc, shownName);
    const int count = PX_get_num_records(doc.get());
    if (count != layout.records) throw damaged(shownName);

    ParadoxTableInfo info;
    info.autoIncrement = doc.get()->px_head->px_autoinc;
    // An encrypted table would need pxlib's own reading of each record; the
    // older program never wrote one.
    if (doc.get()->px_head->px_encryption != 0)
        throw ParadoxTableError(QStringLiteral("Die Paradox-Tabelle \"%1\" ist mit einem Kennwort "
                                               "geschützt und wird nicht umgewandelt.")
                                    .arg(shown(shownName)));
    if (PX_get_recordsize(doc.get()) != layout.recordSize) throw damaged(shownName);

    // The records are taken from the blocks in chain order (pxlib would look
    // each one up from the start) and their fields read by pxlib.
    const RecordReader fields(doc.get(), shownName, mapping);
    QByteArray data(int(layout.recordSize), '\0');
    QVariantList values;
    values.reserve(VokabelFieldCount);
    for (const BlockRecords& block : blocks) {
        for (qint64 r = 0; r < block.count; ++r) {
            const qint64 at = block.first + r * layout.recordSize;
            std::memcpy(data.data(), file.constData() + at, size_t(layout.recordSize));
            fields.read(data.data(), values);
            record(values);
            ++info.records;
        }
    }
    return info;
}
