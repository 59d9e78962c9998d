#pragma once
// Helpers of the quiz's settings records beside the byte-image helpers of
// platform/recordimage.h: file names and the quiz options' reserved bytes.
#include <QByteArray>
#include <QString>

namespace quizrecord {

// A language name as part of a file name: path separators would lead out of
// the data folder and become "_".
QString fileNamePart(const QString& name);

// Sets the bytes of the quiz options record that no field owns to zero, so
// that nothing another copy left there is carried on.
void clearReservedBytes(QByteArray& image);

} // namespace quizrecord
