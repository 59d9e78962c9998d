#include "quiz/interruptedquiz.h"

#include "platform/recordimage.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

namespace off {
constexpr int Lessons = 0;
constexpr int Direction = 1200;
constexpr int KnownAtAttempt = 1204;
constexpr int QuizReached = 1244;
constexpr int QuizRemaining = 1248;
constexpr int QuizTotal = 1252;
constexpr int QuizRandomIndex = 1256;
constexpr int QuizRightCount = 1260;
constexpr int QuizWrongCount = 1264;
constexpr int LessonCount = 1268;
constexpr int WordClass = 1272;
constexpr int Reserved = 1276;
constexpr int Difficulty = 1280; // sl, l, n, s, ss, CheckBox1
} // namespace off

constexpr int LessonSlot = InterruptedQuizRecord::LessonCodeLength + 1;

QString fileName(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).fileName());
}

} // namespace

QByteArray InterruptedQuizRecord::toBytes() const {
    QByteArray image(RecordSize, '\0');
    const int count = std::min<int>(lessonCodes.size(), MaxLessons);
    for (int k = 0; k < count; ++k)
        platform::writeShortString(image, off::Lessons + k * LessonSlot, LessonCodeLength,
                                   lessonCodes.at(k));
    platform::writeShortString(image, off::Direction, 2, direction);
    for (int k = 0; k < 10; ++k)
        platform::writeInt32(image, off::KnownAtAttempt + 4 * k, KnownAtAttempt[k]);
    platform::writeInt32(image, off::QuizReached, QuizReached);
    platform::writeInt32(image, off::QuizRemaining, QuizRemaining);
    platform::writeInt32(image, off::QuizTotal, QuizTotal);
    platform::writeInt32(image, off::QuizRandomIndex, QuizRandomIndex);
    platform::writeInt32(image, off::QuizRightCount, QuizRightCount);
    platform::writeInt32(image, off::QuizWrongCount, QuizWrongCount);
    platform::writeInt32(image, off::LessonCount, count);
    platform::writeInt32(image, off::WordClass, wordClass);
    platform::writeInt32(image, off::Reserved, reserved);
    const bool flags[6] = {sl, l, n, s, ss, CheckBox1};
    for (int k = 0; k < 6; ++k)
        platform::writeBool(image, off::Difficulty + k, flags[k]);
    return image;
}

bool InterruptedQuizRecord::fromBytes(const QByteArray& image, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (image.size() < RecordSize)
        return fail(QStringLiteral("Die Datei ist unvollständig (%1 statt %2 Bytes).")
                        .arg(image.size())
                        .arg(RecordSize));
    InterruptedQuizRecord r;
    const int count = platform::readInt32(image, off::LessonCount);
    if (count < 1 || count > MaxLessons)
        return fail(QStringLiteral("Die Anzahl der Lektionen (%1) ist ungültig.").arg(count));
    for (int k = 0; k < count; ++k) {
        const QString code =
            platform::readShortString(image, off::Lessons + k * LessonSlot, LessonCodeLength);
        if (code.isEmpty()) return fail(QStringLiteral("Ein Lektionscode ist leer."));
        r.lessonCodes << code;
    }
    r.direction = platform::readShortString(image, off::Direction, 2);
    if (r.direction != QLatin1String("1") && r.direction != QLatin1String("2") &&
        r.direction != QLatin1String("3"))
        return fail(QStringLiteral("Die Abfragerichtung „%1“ ist ungültig.").arg(r.direction));
    for (int k = 0; k < 10; ++k)
        r.KnownAtAttempt[k] = platform::readInt32(image, off::KnownAtAttempt + 4 * k);
    r.QuizReached = platform::readInt32(image, off::QuizReached);
    r.QuizRemaining = platform::readInt32(image, off::QuizRemaining);
    r.QuizTotal = platform::readInt32(image, off::QuizTotal);
    r.QuizRandomIndex = platform::readInt32(image, off::QuizRandomIndex);
    r.QuizRightCount = platform::readInt32(image, off::QuizRightCount);
    r.QuizWrongCount = platform::readInt32(image, off::QuizWrongCount);
    r.wordClass = platform::readInt32(image, off::WordClass);
    r.reserved = platform::readInt32(image, off::Reserved);
    bool negative = r.QuizReached < 0 || r.QuizRemaining < 0 || r.QuizTotal < 0 ||
                    r.QuizRightCount < 0 || r.QuizWrongCount < 0 || r.QuizRandomIndex < 0;
    for (qint32 known : r.KnownAtAttempt)
        negative = negative || known < 0;
    if (negative) return fail(QStringLiteral("Die gespeicherten Zähler sind ungültig."));
    if (r.wordClass < 0 || r.wordClass >= TSelectionOptionsRec::WordClassCount)
        return fail(QStringLiteral("Die gespeicherte Wortart (%1) ist ungültig.").arg(r.wordClass));
    bool* flags[6] = {&r.sl, &r.l, &r.n, &r.s, &r.ss, &r.CheckBox1};
    for (int k = 0; k < 6; ++k)
        *flags[k] = platform::readBool(image, off::Difficulty + k);
    *this = r;
    return true;
}

int InterruptedQuizRecord::directionNumber() const {
    const int d = direction.toInt();
    return d >= 1 && d <= 3 ? d : 1;
}

QuizSelection InterruptedQuizRecord::selection(const TSelectionOptionsRec& current) const {
    QuizSelection s{lessonCodes, current};
    s.options.sl = sl;
    s.options.l = l;
    s.options.n = n;
    s.options.s = this->s;
    s.options.ss = ss;
    s.options.CheckBox1 = CheckBox1;
    s.options.ComboBox1 = wordClass;
    s.options.setDirection(directionNumber());
    return s;
}

InterruptedQuizRead readInterruptedQuiz(const QString& path, InterruptedQuizRecord& record,
                                        QString& error) {
    const QString intro =
        QStringLiteral("Die unterbrochene Abfrage kann nicht fortgesetzt werden.\n\n");
    QFile file(path);
    if (path.isEmpty() || !file.exists()) {
        error = intro + QStringLiteral("Die Datei „%1“ ist nicht vorhanden.").arg(fileName(path));
        return InterruptedQuizRead::Missing;
    }
    // A FIFO in its place would block the read for good: only a regular file is read.
    if (QString cause; !platform::openRegularFile(file, path, &cause)) {
        error = intro + cause;
        return InterruptedQuizRead::Unreadable;
    }
    const QByteArray image = file.read(InterruptedQuizRecord::RecordSize);
    QString why;
    if (!record.fromBytes(image, &why)) {
        error =
            intro + QStringLiteral("Die Datei „%1“ ist beschädigt. %2").arg(fileName(path), why);
        return InterruptedQuizRead::Corrupt;
    }
    return InterruptedQuizRead::Ok;
}

bool writeInterruptedQuiz(const QString& path, const InterruptedQuizRecord& record) {
    return platform::saveRecordFile(path, record.toBytes(), platform::RecordFolder::Create,
                                    QStringLiteral("Die Daten der unterbrochenen Abfrage"));
}

void removeInterruptedQuiz(const QString& path) {
    if (!path.isEmpty()) QFile::remove(path);
}

QList<qint64> ResumeQuizStore::selectWords(const QuizSelection& selection) {
    const QList<qint64> all = inner_.selectWords(selection);
    selectedCount_ = static_cast<int>(all.size());
    QList<qint64> open;
    for (qint64 id : all) {
        const std::optional<QuizWord> word = inner_.readWord(id);
        if (word && !word->Abgefragt) open << id;
    }
    return open;
}

void ResumeQuizStore::resetQuizState(const QList<qint64>& ids, const Progress& progress) {
    inner_.fillEmptyCounters(ids);
    if (progress) progress(static_cast<int>(ids.size()), static_cast<int>(ids.size()));
}
