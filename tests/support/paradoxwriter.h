#pragma once
// Writes Paradox tables with pxlib's own writer, for the tests and benchmarks
// of the conversion: the vocabulary table of the older engine or any other.
#include "platform/codec.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

namespace paradox {

struct Field {
    const char* name;
    char type; // pxfAlpha, pxfShort, pxfLogical, pxfAutoInc, pxfLong, ...
    int length;
};

// The fields of a vocabulary table as the older engine created them.
inline QVector<Field> vocabularyFields() {
    return {{"ID", pxfAutoInc, 4},
            {"Lektion", pxfAlpha, 5},
            {"Fremdwort", pxfAlpha, 100},
            {"Uebersetzung", pxfAlpha, 150},
            {"PraeFut", pxfAlpha, 40},
            {"PerAor", pxfAlpha, 40},
            {"Perfekt", pxfAlpha, 40},
            {"Perfekt_passiv", pxfAlpha, 40},
            {"Aorist_passiv", pxfAlpha, 40},
            {"Futur_passiv", pxfAlpha, 40},
            {"Genitiv", pxfAlpha, 150},
            {"Genus", pxfAlpha, 5},
            {"Wortart", pxfShort, 2},
            {"Extra", pxfAlpha, 100},
            {"Schwierigkeit", pxfShort, 2},
            {"Anzahl_Abfragen", pxfShort, 2},
            {"Falsche_Antworten", pxfShort, 2},
            {"Versuche", pxfShort, 2},
            {"Letzte_gewusst", pxfLogical, 1},
            {"Abgefragt", pxfLogical, 1}};
}

// A record: one value per field. QVariant() leaves the field empty (null);
// text is given as the stored bytes (QByteArray), numbers as int, Booleans as
// bool.
using Row = QVariantList;

namespace detail {

inline pxfield_t* makeFields(pxdoc_t* doc, const QVector<Field>& fields) {
    auto* made = static_cast<pxfield_t*>(
        doc->malloc(doc, sizeof(pxfield_t) * size_t(fields.size()), "fields"));
    for (int i = 0; i < fields.size(); ++i) {
        made[i].px_fname = ::strdup(fields[i].name);
        made[i].px_ftype = fields[i].type;
        made[i].px_flen = fields[i].length;
        made[i].px_fdc = 0;
    }
    return made;
}

inline void putValue(pxdoc_t* doc, char* at, const Field& field, const QVariant& value) {
    if (!value.isValid()) return; // all zero bytes: an empty field
    switch (field.type) {
    case pxfAlpha: {
        QByteArray text = value.toByteArray().left(field.length);
        text.append('\0');
        PX_put_data_alpha(doc, at, field.length, text.data());
        break;
    }
    case pxfShort:
        PX_put_data_short(doc, at, field.length, short(value.toInt()));
        break;
    case pxfLogical:
        PX_put_data_byte(doc, at, field.length, value.toBool() ? 1 : 0);
        break;
    default:
        PX_put_data_long(doc, at, field.length, value.toInt());
        break;
    }
}

inline bool writeIndex(pxdoc_t* doc, const QString& path, const Field& key) {
    pxdoc_t* index = PX_new();
    bool ok = PX_create_file(index, makeFields(index, {key}), 1,
                             QFile::encodeName(path).constData(), pxfFileTypPrimIndex) == 0 &&
              PX_write_primary_index(doc, index) == 0;
    PX_close(index);
    PX_delete(index);
    return ok;
}

} // namespace detail

// Writes the table to `path` and, with `indexPath`, its primary index (the
// first field is the key). `autoIncrement` is stored as the table's key
// counter; `codePage`, when given, as the code page of its header (pxlib
// writes 1252 otherwise). The table is built in memory (pxlib's writer is
// slow on a file).
inline bool writeTable(const QString& path, const QVector<Field>& fields, const QList<Row>& rows,
                       const QString& indexPath = QString(), qint32 autoIncrement = 0,
                       int codePage = 0) {
    static const bool booted = [] {
        PX_boot();
        return true;
    }();
    (void)booted;
    int recordSize = 0;
    for (const Field& field : fields)
        recordSize += field.length;
    const size_t capacity = size_t(rows.size()) * size_t(recordSize) * 5 / 4 + (size_t(1) << 20);
    char* memory = static_cast<char*>(std::calloc(capacity, 1));
    FILE* stream = fmemopen(memory, capacity, "w+b");
    pxdoc_t* doc = PX_new();
    bool ok = PX_create_fp(doc, detail::makeFields(doc, fields), int(fields.size()), stream,
                           pxfFileTypIndexDB) == 0;
    if (ok) PX_set_value(doc, "numprimkeys", 1);
    if (ok && codePage) ok = PX_set_value(doc, "codepage", codePage) == 0;
    QByteArray record(recordSize, '\0');
    for (int r = 0; ok && r < rows.size(); ++r) {
        record.fill('\0');
        int at = 0;
        for (int f = 0; f < fields.size(); ++f) {
            detail::putValue(doc, record.data() + at, fields[f], rows[r].value(f));
            at += fields[f].length;
        }
        ok = PX_put_recordn(doc, record.data(), r) >= 0;
    }
    if (ok && !indexPath.isEmpty()) ok = detail::writeIndex(doc, indexPath, fields.first());
    PX_close(doc);
    PX_delete(doc);
    std::fflush(stream);
    std::fseek(stream, 0, SEEK_END);
    const long length = std::ftell(stream);
    std::fclose(stream);
    QByteArray bytes(memory, int(length));
    std::free(memory);
    if (autoIncrement) {
        // The key counter of the header (offset 0x49), which pxlib does not write.
        for (int i = 0; i < 4; ++i)
            bytes[0x49 + i] = char((autoIncrement >> (8 * i)) & 0xff);
    }
    QFile file(path);
    return ok && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A vocabulary record with the given key, lesson, word and translation and
// the new-record values elsewhere.
inline Row word(int id, const QByteArray& lesson, const QByteArray& foreign,
                const QByteArray& translation) {
    return {id,         lesson,     foreign,    translation, QVariant(), QVariant(), QVariant(),
            QVariant(), QVariant(), QVariant(), QVariant(),  QVariant(), 14,         QVariant(),
            3,          0,          0,          0,           false,      false};
}

// The value a converted table holds for a written one: keys as 64-bit
// numbers, empty numbers as 0, Booleans false when empty, texts through the
// codec.
inline QVariant convertedValue(int field, const QVariant& written) {
    if (field == 0) return written.toLongLong();
    if (field >= 12 && field <= 17 && field != 13) return written.isValid() ? written.toInt() : 0;
    if (field >= 18) return written.isValid() && written.toBool();
    return platform::codec::fromBytes(written.toByteArray());
}

} // namespace paradox
