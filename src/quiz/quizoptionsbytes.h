#pragma once
// Byte-image helpers of the quiz's settings records: Booleans of one byte,
// 32-bit little-endian integers and length-prefixed 8-bit strings, plus the
// atomic write of a whole settings file.
#include <QByteArray>
#include <QString>

namespace quizrecord {

bool readBool(const QByteArray& image, int offset);
// Writes 0 or 1; a stored "true" other than 1 stays as it is.
void writeBool(QByteArray& image, int offset, bool value);

qint32 readInt(const QByteArray& image, int offset);
// Leaves the bytes alone when they already hold the value.
void writeInt(QByteArray& image, int offset, qint32 value);

// A string of `capacity` characters; a length byte above it reads as the capacity.
QString readText(const QByteArray& image, int offset, int capacity);
// Writes the string (cut to the capacity) unless the image already holds it,
// so that untouched fields keep their bytes exactly; a changed string clears
// the rest of its capacity.
void writeText(QByteArray& image, int offset, int capacity, const QString& text);

// Reads up to `size` bytes of a file; an empty array when it cannot be opened.
QByteArray readFile(const QString& path, int size);

// Writes a whole settings file atomically, creating the folder when needed.
// A failure is shown in a German box naming `what` ("Die Abfrageeinstellungen")
// and the file, and returns false.
bool writeFile(const QString& path, const QByteArray& bytes, const QString& what);

// A language name as part of a file name: path separators would lead out of
// the data folder and become "_".
QString fileNamePart(const QString& name);

} // namespace quizrecord
