#include "quiz/quizoptionsbytes.h"

namespace quizrecord {

QString fileNamePart(const QString& name) {
    QString part = name;
    part.replace(QLatin1Char('/'), QLatin1Char('_'));
    part.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return part;
}

} // namespace quizrecord
