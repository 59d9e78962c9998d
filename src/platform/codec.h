#pragma once
// Word text is 8-bit. In memory it is a QString whose characters are the
// Windows-1252 decoding of the stored bytes (a fixed bijection of all 256
// bytes). A database's character set only changes how those bytes are shown
// and typed; these routines convert between bytes, stored text and shown text.
#include <QByteArray>
#include <QString>

namespace platform::codec {

// Bytes of a file → stored text, and back. Characters that are not part of
// the stored alphabet become '?'.
QString fromBytes(const QByteArray& bytes);
QByteArray toBytes(const QString& stored);
QString fromBytes(const char* bytes, int length);

// Stored text → what a widget shows for the given character set, and back.
QString toDisplay(const QString& stored, int charset);
QString fromDisplay(const QString& shown, int charset);

// Stored text of one byte value, and the byte value of a stored character
// (-1 when the character is not one of the 256 stored ones).
QChar storedChar(unsigned char byte);
int storedByte(QChar c);

// How the older engine read a table stored under a DOS code page: each byte
// becomes the byte of the same character in the Windows code page of that
// script (437 and 850 → 1252, 737 → 1253, 862 → 1255), '?' where that code
// page lacks it. The 256 bytes of that mapping, or an empty array for a code
// page that has no such pair here.
QByteArray dosToWindowsMapping(int dosCodePage);

// Memo fields keep their lines separated by CR LF; widgets work with "\n".
QString memoToWidget(const QString& stored);
QString memoFromWidget(const QString& shown);

} // namespace platform::codec
