#pragma once
// File-name helper of the quiz's settings records; the byte-image helpers
// themselves are platform/recordimage.h.
#include <QString>

namespace quizrecord {

// A language name as part of a file name: path separators would lead out of
// the data folder and become "_".
QString fileNamePart(const QString& name);

} // namespace quizrecord
