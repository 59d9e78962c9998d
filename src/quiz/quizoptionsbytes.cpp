#include "quiz/quizoptionsbytes.h"

namespace quizrecord {

QString fileNamePart(const QString& name) {
    QString part = name;
    part.replace(QLatin1Char('/'), QLatin1Char('_'));
    part.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return part;
}

void clearReservedBytes(QByteArray& image) {
    struct Range {
        int offset;
        int size;
    };
    // Between the Booleans, after the number fields, after the display
    // Booleans, and before the two line counts.
    static constexpr Range Reserved[] = {{20204, 3},  {20208, 1}, {20217, 2}, {20242, 14},
                                         {20276, 16}, {20299, 9}, {60966, 2}};
    for (const Range& range : Reserved)
        if (range.offset + range.size <= image.size())
            image.replace(range.offset, range.size, QByteArray(range.size, '\0'));
}

} // namespace quizrecord
