#pragma once
// How the quiz reaches the word table: a small store interface that the quiz
// engine calls, and its implementation on the table engine. Widget-free.
//
// The quiz never walks a live result to find its next word; it keeps the IDs
// of its pool itself and asks the store for one word at a time. So a record
// that the store adds (the copy into the lesson of difficult words) can never
// join the running pool.
#include "quiz/selectionoptions.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace engine {
class Query;
}

// The lesson that collects the words that were failed too often.
inline const QString DifficultWordsLessonCode = QStringLiteral("999Z9");
inline const QString DifficultWordsLessonTitle = QStringLiteral("Schwierige Wörter");

// One word of the table as the quiz needs it: all its fields.
struct QuizWord {
    qint64 ID = -1;
    QString Lektion;
    QString Fremdwort;
    QString Uebersetzung;
    // The six special forms in column order: PraeFut, PerAor, Perfekt,
    // Perfekt_passiv, Aorist_passiv, Futur_passiv.
    std::array<QString, 6> Forms;
    QString Genitiv;
    QString Genus;
    int Wortart = 0;
    QString Extra;
    int Schwierigkeit = 0;
    int Anzahl_Abfragen = 0;
    int Falsche_Antworten = 0;
    int Versuche = 0;
    bool Letzte_gewusst = false;
    bool Abgefragt = false;

    bool operator==(const QuizWord&) const = default;
};

// The column names of QuizWord::Forms.
const std::array<QString, 6>& QuizFormFieldNames();

// What the selection window chose: the lessons and the filters.
struct QuizSelection {
    QStringList lessonCodes;
    TSelectionOptionsRec options;
};

// The WHERE part of the selection statement, as statement lines (the first
// begins with "WHERE"). The percentage of right answers of a word is
// (asked − wrong) / asked, and 0 for a word never asked; the band includes
// both of its ends. "Nicht gewußte" takes only words that were asked and
// answered wrongly the last time. Every lesson code enters as a quoted
// literal. Empty when nothing can be selected (no lesson, no difficulty).
QStringList QuizSelectionConditions(const QuizSelection& selection);
// The whole statement on a table: "SELECT * FROM" the quoted path, then the
// conditions.
QStringList QuizSelectionSql(const QString& tablePath, const QuizSelection& selection);

class QuizStore {
  public:
    using Progress = std::function<void(int done, int total)>;

    virtual ~QuizStore() = default;

    // The IDs of the words the selection picks, in table order.
    virtual QList<qint64> selectWords(const QuizSelection& selection) = 0;
    // A new quiz: Abgefragt := false and Versuche := 0 on these words (and
    // empty counters 0), all or nothing. `progress` (may be empty) follows the work.
    virtual void resetQuizState(const QList<qint64>& ids, const Progress& progress) = 0;
    // Empty (NULL) counters of these words become 0; nothing else changes.
    // A table of this program has none; one written by another may.
    virtual void fillEmptyCounters(const QList<qint64>& ids) { Q_UNUSED(ids); }
    // The word with this ID, or nothing when it is gone.
    virtual std::optional<QuizWord> readWord(qint64 id) = 0;
    // Writes the word back: its counters (Letzte_gewusst, Falsche_Antworten,
    // Anzahl_Abfragen, Versuche, Abgefragt) and any field changed during the
    // quiz (word class, difficulty, texts).
    virtual void writeWord(const QuizWord& word) = 0;
    // Copies the word into the lesson of difficult words unless a word with
    // the same foreign word and translation is there already. Returns whether
    // a copy was made.
    virtual bool copyToDifficultLesson(const QuizWord& word) = 0;
};

// The store on a table file. Reads and writes through a live query of its
// own; the look-up and the insert of the copy run through a second query, so
// the first never moves away from the word being asked.
class TableQuizStore : public QuizStore {
  public:
    explicit TableQuizStore(const QString& tablePath);
    ~TableQuizStore() override;

    const QString& tablePath() const { return tablePath_; }

    QList<qint64> selectWords(const QuizSelection& selection) override;
    void resetQuizState(const QList<qint64>& ids, const Progress& progress) override;
    void fillEmptyCounters(const QList<qint64>& ids) override;
    std::optional<QuizWord> readWord(qint64 id) override;
    void writeWord(const QuizWord& word) override;
    bool copyToDifficultLesson(const QuizWord& word) override;

    // Called after the lesson "999Z9" was added to the lesson list (the main
    // window rebuilds its tree).
    std::function<void()> lessonListChanged;

    // The queries, for a window that shows the word through them.
    engine::Query& query() { return *Query; }

    // Closes both queries.
    void close();

  private:
    // The query on the word with this ID (opened when needed).
    bool locate(qint64 id);
    void ensureDifficultLessonListed();

    QString tablePath_;
    std::unique_ptr<engine::Query> Query;  // the words of the quiz
    std::unique_ptr<engine::Query> mQuery; // look-ups and the copy
};

// Reads the current record of an open query into a QuizWord.
QuizWord QuizWordFromQuery(const engine::Query& query);
