#pragma once
// Writes imported words into a table, all of them in one transaction: an
// import that fails part-way leaves the table as it was. Widget-free.
#include "engine/query.h"
#include "engine/rowappender.h"
#include "exchange/exportformat.h"
#include "exchange/importformat.h"

#include <QString>
#include <QVariantList>
#include <QVector>
#include <array>
#include <functional>
#include <optional>

class ImportStore {
  public:
    // Opens the table and starts the transaction. When the table holds exactly
    // one record and that record has neither foreign word nor translation (the
    // record a new database is created with), the first word goes into it.
    explicit ImportStore(const QString& tablePath);

    // Stores a word with fresh quiz counters. Throws engine::EngineError.
    void add(const ExchangeWord& word);
    // Makes every stored word permanent. Without it nothing is kept.
    void commit();
    int count() const { return count_; }

  private:
    QVariantList valuesOf(const ExchangeWord& word) const;

    QString tablePath_;
    engine::Transaction transaction_;
    engine::Query query_; // only for the first word, which may fill the blank record
    // Every other word goes in through one prepared statement.
    std::optional<engine::RowAppender> rows_;
    QStringList fields_;
    // Per column: a field position of the word, or what else the column gets.
    QVector<int> sources_;
    bool fillFirstRecord_ = false;
    int count_ = 0;
};

// One import: the files to read, in order, and how their records become words.
struct ImportPlan {
    QStringList files;
    // Export files are read by their descriptor as 8-bit text and start after
    // their header; other files may be UTF-8 and start at their beginning.
    bool exportFile = false;
    int recordsStart = 0;
    // Every file gets a lesson of its own, titled by its name (the all-files
    // option of the universal import).
    bool lessonPerFile = false;
    ImportRules rules;
};

struct ImportSummary {
    bool ok = false;
    QString error;           // German text for the user when !ok
    int words = 0;           // words stored
    int incomplete = 0;      // records without foreign word and translation, left out
    int lessonsReplaced = 0; // words whose lesson was no code and that went into the default lesson
    QStringList skippedFiles; // files of a word-list import that hold no text (NUL bytes)
    QStringList lessonLines;  // one line per lesson code: code + title
    QString firstLesson;      // the lesson of the first word stored
    bool listSaved = false;   // the lesson list file holds lessonLines
};

// Reads every file of the plan and stores its words in the table, all in one
// transaction. `progress` gets the characters read of the current file and its
// length. On failure nothing is stored and the summary says why. The lesson
// list of the words is written before the words are committed and put in
// place after (tied to the table by its stamp, lessons.h): a program stopped
// in between leaves the table with the list that belongs to it.
ImportSummary RunImport(const QString& tablePath, const ImportPlan& plan,
                        const std::function<void(int done, int total)>& progress = {});
