#pragma once
// One SQLite connection per table file, shared by every query on that file.
// The registry hands out the connection of a path and closes it before the
// file is replaced, deleted or restored.
#include "engine/schema.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace engine {
class Query;
}

namespace engine::detail {

class ResultSet;
struct TableDefinition;

class Connection : public QObject {
    Q_OBJECT
  public:
    ~Connection() override;

    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }
    bool isOpen() const { return db_ != nullptr; }
    bool isReadOnly() const;
    // Whether the file at the path is still the one the connection opened:
    // another program may have replaced it (a sort writes a new file and
    // renames it over the old one) or removed it.
    enum class FileState { Same, Replaced, Gone };
    FileState fileState() const;
    const Schema& schema() const { return schema_; }

    // The key the last INSERT on this connection gave its row.
    qint64 lastInsertId() const;

    // Runs a statement without parameters or result rows.
    void execute(const QString& sql);
    // Throws the connection's last error as an EngineError in German.
    [[noreturn]] void fail(int code) const;

    // Nested transactions: the outermost is BEGIN IMMEDIATE, inner ones are
    // savepoints. Returns the level that commit/rollback must name.
    int begin();
    void commit(int level);
    void rollback(int level);
    bool inTransaction() const { return depth_ > 0; }

    // Prepared statements are kept for reuse; a statement in use is not
    // handed out twice.
    sqlite3_stmt* borrow(const QString& sql);
    void giveBack(const QString& sql, sqlite3_stmt* statement);

    // While set, the SQL function rewritten_value(x) of the statements on this
    // connection gives what the rewrite makes of x read as word text: the
    // text to store, or NULL where x is to stay (a null QString, or x held as
    // that text already). NULL while none is set.
    using ValueRewrite = std::function<QString(const QString& text)>;
    void setValueRewrite(const ValueRewrite* rewrite) { valueRewrite_ = rewrite; }

    // Result sets learn here which of their rows another statement changed.
    void attach(ResultSet* result);
    void detach(ResultSet* result);
    void forgetAllRows();

    // The queries open on this file, so that a release can store their edits.
    void addQuery(Query* query);
    void removeQuery(Query* query);
    QList<Query*> queries() const { return queries_; }

    void close();

    // Opens a table file; with create, a missing file is created (its folder
    // must exist) and may hold no table yet.
    static std::shared_ptr<Connection> open(const QString& key, bool create);
    // Drops the file's table and creates it anew, all in one transaction.
    void replaceTable(const TableDefinition& table);

  signals:
    // The connection is about to close: every query on it closes too.
    void closing();

  private:
    explicit Connection(const QString& path);
    void configure();
    void loadSchema();
    static void rowChanged(void* self, int operation, const char* database, const char* table,
                           long long rowid);
    static void rewrittenValue(sqlite3_context* context, int argc, sqlite3_value** argv);

    QString path_;
    sqlite3* db_ = nullptr;
    Schema schema_;
    int depth_ = 0;
    QMultiHash<QString, sqlite3_stmt*> idle_;
    QList<ResultSet*> results_;
    QList<Query*> queries_;
    const ValueRewrite* valueRewrite_ = nullptr;

  public:
    // Identity of the file the connection was opened on (device, inode), so
    // that a file replaced behind the engine's back gets a new connection.
    quint64 device = 0;
    quint64 inode = 0;
};

// The messages for a table file that another program replaced or removed
// while a query was open on it.
QString replacedTableMessage(const QString& path);
QString goneTableMessage(const QString& path);

// The registry key of a table path: "\" as "/", cleaned and absolute.
QString tableKey(const QString& path);

// The connection of an existing table file. Throws EngineError "Tabelle nicht
// gefunden" for a missing file; never creates one.
std::shared_ptr<Connection> acquire(const QString& path);

// Creates the table file, or replaces the table in an existing one, and
// returns its connection. The folder must exist.
std::shared_ptr<Connection> createTable(const QString& path, const TableDefinition& table);

// Closes the connection of a table file. With storeEdits the open queries
// first post their pending edits (an error then stops the release).
void release(const QString& path, bool storeEdits);

} // namespace engine::detail
