#pragma once
// A query object on a vocabulary table: SQL text as lines, open (an editable
// result set when the live flag is on) or execute, a cursor over the result,
// fields by name and edit/insert/post/delete of the current record.
//
// Statements name their table by its file path in double quotes; every table
// file is one SQLite database reached through one shared connection.
#include "platform/error.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>

namespace engine {

class EngineError : public platform::Error {
  public:
    using platform::Error::Error;
};

namespace detail {
class Connection;
}

class Query : public QObject {
    Q_OBJECT
  public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Query(QObject* parent = nullptr);
    ~Query() override;

    // SQL text, kept as lines and joined with blanks when run.
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QStringList& lines);
    QStringList sql() const;

    // Live flag: an opened SELECT gives an editable result only while it is on
    // (on for a new query). Takes effect at the next open.
    void setRequestLive(bool live);
    bool requestLive() const;

    // Runs a SELECT and keeps its result; throws EngineError on failure. Does
    // nothing while the query is open. Changing the SQL text closes it.
    void open();
    // Runs UPDATE, DELETE, INSERT or CREATE TABLE; returns the rows changed.
    int execSql();
    void close();
    bool isActive() const;
    bool canModify() const;
    // The table file the open result belongs to.
    QString tablePath() const;

    // Cursor. Rows are numbered from 0; recNo is -1 on an empty result.
    int recordCount() const;
    int recNo() const;
    void setRecNo(int row);
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    // Moves to the record with this ID; false (cursor unchanged) when it is not in the result.
    bool locate(qint64 id);

    // Fields of the current record, by name without regard to case.
    QStringList fieldNames() const;
    int fieldIndex(const QString& name) const;
    int fieldWidth(const QString& name) const; // CHAR(n) → n, 0 otherwise
    QVariant value(const QString& field) const;
    QString asString(const QString& field) const;
    int asInteger(const QString& field) const;
    bool asBoolean(const QString& field) const;
    qint64 currentId() const;
    // Writes into the current record buffer; enters edit state when browsing.
    // Text longer than the field's CHAR(n) is cut to n characters.
    void setValue(const QString& field, const QVariant& value);

    // Any row of the result, for views (lazy; cached).
    QVariant valueAt(int row, int column) const;
    // The same as asString and asInteger give a field; a reader that walks
    // every row takes these instead of moving the cursor.
    QString stringAt(int row, int column) const;
    int integerAt(int row, int column) const;
    qint64 idAt(int row) const;

    State state() const;
    bool isModified() const;
    void edit();
    // Inserts an empty record before the current one (insert) or at the end (append).
    void insert();
    void append();
    // Writes the record buffer to the table: an update finds the row by ID and
    // the old values of the changed fields. Throws EngineError on failure.
    void post();
    void cancel();
    void deleteRecord();
    // Inserts and posts a whole record from values in column order (ID may be invalid).
    void insertRecord(const QVariantList& values);

    // Values, by field name, that a record started on this query holds in
    // place of the fields' empty defaults, however it is started: insert,
    // append, or typing into an empty result. Asked for at each start, so
    // they may follow the caller's state. They are no change of the user's:
    // a new record left untouched is still dropped.
    using FieldValues = QList<std::pair<QString, QVariant>>;
    void setNewRecordValues(std::function<FieldValues()> values);

  signals:
    void opened();
    void closed();
    // The current record moved to another row.
    void scrolled();
    // Values of the current record changed (typed, posted, cancelled).
    void recordChanged();
    // Another statement changed rows of the result; views read them again.
    void refreshed();
    void stateChanged();
    // Rows were added to or removed from the result.
    void rowsChanged();
    // Raised before a post so that bound controls can write their text.
    void beforePost();

  private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Doubles embedded double quotes and encloses the text in double quotes: the
// one way user text enters a statement.
QString quoteLiteral(const QString& text);

// Closes the shared connection of a table file (and every query open on it)
// before the file is deleted, renamed, overwritten or restored.
void releaseTable(const QString& tablePath);

// Runs a batch of changes in one transaction on a table: all or nothing.
class Transaction {
  public:
    explicit Transaction(const QString& tablePath);
    ~Transaction(); // rolls back unless committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

  private:
    QString path_;
    bool done_ = false;
    std::shared_ptr<detail::Connection> connection_;
    int level_ = 0;
};

// The engine configuration of the original platform: a list of database
// names with their drivers. Kept as a record with no effect.
namespace configuration {
bool hasDatabaseName(const QString& name);
void addStandardDatabase(const QString& name, const QString& path, const QString& driver);
void save();
} // namespace configuration

} // namespace engine
