#pragma once
// Reading and writing the raw byte images of the settings records: integers
// are 4 bytes little-endian, Booleans one byte, and a string of capacity n
// takes n + 1 bytes, a length byte first. The records keep the image they
// read and write only the fields whose value changed, so that bytes the
// program does not understand (gaps, another copy's leftovers) stay as
// they were.
//
// Offsets are the caller's: every field must lie inside the image.
#include <QByteArray>
#include <QString>

namespace platform {

qint32 readInt32(const QByteArray& image, int offset);
void writeInt32(QByteArray& image, int offset, qint32 value);

// Any byte other than 0 is true.
bool readBool(const QByteArray& image, int offset);
// True is always written as 1, also over a true that another copy stored as
// some other non-zero byte.
void writeBool(QByteArray& image, int offset, bool value);

// Length-prefixed strings. A length byte above the capacity is read as the
// capacity. Writing cuts to the capacity; a string equal to the stored one
// leaves the field alone, a changed one clears the rest of the field, so that
// nothing of the old text stays behind.
QByteArray readShortBytes(const QByteArray& image, int offset, int capacity);
void writeShortBytes(QByteArray& image, int offset, int capacity, QByteArray bytes);

// The same for 8-bit stored text (platform::codec).
QString readShortString(const QByteArray& image, int offset, int capacity);
void writeShortString(QByteArray& image, int offset, int capacity, const QString& text);

// The first `size` bytes of a record file; fewer when the file is shorter,
// none when it is missing, unreadable or not a regular file (a FIFO would
// block, a device give endless bytes). The caller treats a short image as
// "use the defaults".
QByteArray readRecordFile(const QString& path, int size);

// Whether saving may create the folder of the file. A database's own record
// lies beside the database: a missing folder there means the database is
// gone, and recreating it would only leave a stray folder behind.
enum class RecordFolder { Create, MustExist };

// Writes the whole image atomically. On failure the user gets a German
// message box naming the file and the cause, and the old file stays intact.
// `what` is the plural subject of that message ("Die Abfrageeinstellungen");
// empty means "Die Einstellungen".
bool saveRecordFile(const QString& path, const QByteArray& image,
                    RecordFolder folder = RecordFolder::Create, const QString& what = QString());

} // namespace platform
