#pragma once
// Databases and archives for the backup tests: a real vocabulary table with a
// few words, its lesson list and options record, and hand-made archives.
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "exchange/backuparchive.h"
#include "platform/codec.h"
#include "platform/paths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <zlib.h>

namespace fixture {

// Creates language/name.ol below root with three words, ".lst" and ".opt";
// returns the table path. The table is released so its file can be read.
inline QString makeDatabase(const QString& root, const QString& language, const QString& name,
                            const QString& firstWord = QStringLiteral("amare")) {
    const QString folder = platform::joinPath(root, language);
    platform::ensureFolder(folder);
    const QString table = folder + QLatin1Char('/') + name + QStringLiteral(".ol");
    {
        engine::Query q;
        CreateVocabularyTable(q, table);
        q.clearSql();
        q.addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(table));
        q.open();
        const QStringList words{firstWord, QStringLiteral("videre"), QStringLiteral("Übung")};
        for (const QString& word : words) {
            q.append();
            WriteNewRecordValues(q, QStringLiteral("001A1"));
            q.setValue(QStringLiteral("Fremdwort"), word);
            q.setValue(QStringLiteral("Uebersetzung"), QStringLiteral("Bedeutung\r\nzweite Zeile"));
            q.post();
        }
    }
    LessonList({QStringLiteral("001A1Verben"), QStringLiteral("002A1Nomen")})
        .save(folder + QLatin1Char('/') + name + QStringLiteral(".lst"));
    TDatabaseOptionsRec::forNewDatabase(language).save(folder + QLatin1Char('/') + name +
                                                       QStringLiteral(".opt"));
    engine::releaseTable(table);
    return table;
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray scrambled(QByteArray bytes) {
    const QByteArray& key = ArchiveKey();
    const char size = char(bytes.size() & 0xff);
    for (int p = 0; p < bytes.size(); ++p)
        bytes[p] = char(bytes[p] ^ key[p % key.size()] ^ size);
    return bytes;
}

inline void putInt32(QByteArray& bytes, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

inline quint32 int32At(const QByteArray& bytes, int offset) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(offset + i));
    return value;
}

inline QByteArray zlibStream(const QByteArray& data) {
    uLongf length = compressBound(uLong(data.size()));
    QByteArray out(int(length), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &length,
              reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), 9);
    out.truncate(int(length));
    return out;
}

struct Entry {
    QByteArray name;
    QByteArray data;
};

// A plain (unscrambled) archive with raw header fields, for crafted archives.
inline QByteArray plainArchive(const QByteArray& folder, const QList<Entry>& entries) {
    QByteArray image(TArchiveHeader::Size, '\0');
    image[0] = 3;
    image.replace(1, 3, "3.2");
    image[6] = char(folder.size());
    for (int i = 0; i < folder.size() && 7 + i < TArchiveHeader::Size; ++i)
        image[7 + i] = folder.at(i);
    putInt32(image, quint32(entries.size()));
    for (const Entry& e : entries) {
        putInt32(image, quint32(e.name.size()));
        image.append(e.name);
        putInt32(image, quint32(e.data.size()));
        image.append(zlibStream(e.data));
    }
    return image;
}

// Every file below a folder, relative to it.
inline QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDir dir(folder);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (info.isDir() && !info.isSymLink()) {
            files << info.fileName() + QLatin1Char('/');
            for (const QString& inner : filesBelow(info.filePath()))
                files << info.fileName() + QLatin1Char('/') + inner;
        } else {
            files << info.fileName();
        }
    }
    return files;
}

} // namespace fixture
