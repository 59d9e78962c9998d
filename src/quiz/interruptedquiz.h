#pragma once
// The state of an interrupted quiz, kept in "<database><language>.lab" in the
// folder "data" of WorkDir until the quiz is resumed or another quiz ends
// normally. Widget-free: the quiz window fills and reads the record.
//
// The file holds one record of 1,288 bytes, little-endian:
//     0  200 × string[5]  lesson codes (only the first `count` are meaningful)
//  1200  string[2]        direction "1", "2" or "3"
//  1204  10 × Int32       KnownAtAttempt
//  1244  Int32 × 6        QuizReached, QuizRemaining, QuizTotal,
//                         QuizRandomIndex, QuizRightCount, QuizWrongCount
//  1268  Int32            number of lesson codes (at most 200)
//  1272  Int32            word class of the selection (0 = all)
//  1276  Int32            reserved, written back as read
//  1280  6 × Boolean      difficulty sl, l, n, s, ss and "Nicht gewußte"
#include "quiz/quizstore.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>

struct InterruptedQuizRecord {
    static constexpr int RecordSize = 1288;
    static constexpr int MaxLessons = 200;
    static constexpr int LessonCodeLength = 5;

    QStringList lessonCodes; // at most MaxLessons, each at most five characters
    QString direction = QStringLiteral("1");
    std::array<qint32, 10> KnownAtAttempt{};
    qint32 QuizReached = 0;
    qint32 QuizRemaining = 0;
    qint32 QuizTotal = 0;
    qint32 QuizRandomIndex = 0;
    qint32 QuizRightCount = 0;
    qint32 QuizWrongCount = 0;
    qint32 wordClass = 0;
    qint32 reserved = 0;
    bool sl = true, l = true, n = true, s = true, ss = true;
    bool CheckBox1 = false; // "Nicht gewußte"

    QByteArray toBytes() const;
    // Fills the record from a file image. False with a German reason in
    // `error` when the image is short or its values cannot belong to a quiz
    // (no lesson, a count above 200, an unknown direction, negative counters);
    // the record is then left as it was.
    bool fromBytes(const QByteArray& image, QString* error = nullptr);

    // The direction as a number 1..3 (1 for anything else).
    int directionNumber() const;
    // The selection the resumed quiz runs on: the stored lessons, difficulties,
    // word class, "Nicht gewußte" and direction; the field filters and the
    // band of right answers come from `current`.
    QuizSelection selection(const TSelectionOptionsRec& current) const;
    bool operator==(const InterruptedQuizRecord&) const = default;
};

enum class InterruptedQuizRead { Ok, Missing, Unreadable, Corrupt };
// Reads the record at `path`. Anything but Ok comes with a German message in
// `error`; Corrupt means a file that is short or holds values no quiz has.
InterruptedQuizRead readInterruptedQuiz(const QString& path, InterruptedQuizRecord& record,
                                        QString& error);
// Writes the record atomically; a failure is reported to the user in a box and
// the old file stays as it was.
bool writeInterruptedQuiz(const QString& path, const InterruptedQuizRecord& record);
// Deletes the file; nothing happens when there is none.
void removeInterruptedQuiz(const QString& path);

// The store a resumed quiz runs on: it selects as the wrapped store does but
// keeps only the words not finished before the interruption (Abgefragt
// false), and it does not reset the quiz state of the words. Words deleted
// since the interruption are not selected at all, so they never come back.
class ResumeQuizStore : public QuizStore {
  public:
    explicit ResumeQuizStore(QuizStore& inner) : inner_(inner) {}

    QList<qint64> selectWords(const QuizSelection& selection) override;
    // The words keep their state; only empty counters become 0.
    void resetQuizState(const QList<qint64>& ids, const Progress& progress) override;
    void fillEmptyCounters(const QList<qint64>& ids) override { inner_.fillEmptyCounters(ids); }
    std::optional<QuizWord> readWord(qint64 id) override { return inner_.readWord(id); }
    void writeWord(const QuizWord& word) override { inner_.writeWord(word); }
    bool copyToDifficultLesson(const QuizWord& word) override {
        return inner_.copyToDifficultLesson(word);
    }

    // The number of words the selection picked, finished ones included.
    int selectedCount() const { return selectedCount_; }

  private:
    QuizStore& inner_;
    int selectedCount_ = 0;
};
