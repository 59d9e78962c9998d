#include "engine/connection.h"

#include "engine/query.h"
#include "engine/resultset.h"
#include "engine/schemaguard.h"
#include "engine/statement.h"
#include "engine/translator.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <sys/stat.h>

namespace engine::detail {

namespace {

// Idle prepared statements kept per connection; beyond this they are finalised.
constexpr int maxIdleStatements = 64;

QHash<QString, std::shared_ptr<Connection>>& registry() {
    static QHash<QString, std::shared_ptr<Connection>> connections;
    return connections;
}

// UPPER changes "a".."z" only, whatever the SQLite build links (ICU or not):
// the search masks umlauts itself and relies on them staying as they are.
void asciiUpper(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    QByteArray upper(text, size);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    sqlite3_result_text(context, upper.constData(), int(upper.size()), SQLITE_TRANSIENT);
}

bool isSqliteFile(const QString& path) {
    // A FIFO or a device holds no table (and reading a FIFO would block).
    if (!platform::notARegularFileText(path).isEmpty()) return false;
    QFile file;
    if (!platform::openRegularFile(file, path)) return true; // let SQLite report why
    const QByteArray head = file.read(16);
    return head.isEmpty() || head == QByteArray("SQLite format 3\0", 16);
}

// Whether a table file holds anything the program does not create.
bool holdsForeignObjects(const QString& path) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
    if (opened != SQLITE_OK) return false;
    guardConnection(raw);
    ForeignObject found = ForeignObject::None;
    return findForeignObject(raw, &found) == SQLITE_OK && found != ForeignObject::None;
}

bool identify(const QString& key, quint64* device, quint64* inode) {
    struct stat info {};
    if (::stat(QFile::encodeName(key).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    *device = info.st_dev;
    *inode = info.st_ino;
    return true;
}

} // namespace

Connection::Connection(const QString& path) : path_(path) {}

Connection::~Connection() {
    close();
}

std::shared_ptr<Connection> Connection::open(const QString& key, bool create) {
    std::shared_ptr<Connection> connection(new Connection(key));
    // Every connection lives on the GUI thread: no locking on each call.
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc =
        sqlite3_open_v2(QFile::encodeName(key).constData(), &connection->db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(connection->db_);
        connection->db_ = nullptr;
        throw EngineError(QStringLiteral("Die Tabelle kann nicht geöffnet werden: %1")
                              .arg(QDir::toNativeSeparators(key)));
    }
    // A file holding SQL of its own is refused before anything runs on it or
    // is written into it.
    guardConnection(connection->db_);
    ForeignObject foreign = ForeignObject::None;
    if (const int status = findForeignObject(connection->db_, &foreign); status != SQLITE_OK)
        connection->fail(status);
    if (foreign != ForeignObject::None)
        throw EngineError(QStringLiteral("Die Tabelle \"%1\" ist keine Vokabeltabelle dieses "
                                         "Programms (sie enthält %2) und wird nicht geöffnet.")
                              .arg(QDir::toNativeSeparators(key), foreignObjectText(foreign)));
    connection->configure();
    connection->loadSchema();
    if (!create && connection->schema_.isEmpty())
        throw EngineError(QStringLiteral("Die Datei enthält keine Tabelle: %1")
                              .arg(QDir::toNativeSeparators(key)));
    identify(key, &connection->device, &connection->inode);
    return connection;
}

void Connection::configure() {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 3000);
    execute(QStringLiteral("PRAGMA case_sensitive_like = ON"));
    // No side files beside the table: the rollback journal exists only while
    // a change is written.
    execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
    sqlite3_create_function_v2(db_, "upper", 1,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                               asciiUpper, nullptr, nullptr, nullptr);
    // Never part of a schema: a file's own SQL cannot call it.
    sqlite3_create_function_v2(db_, "rewritten_value", 1, SQLITE_UTF8 | SQLITE_DIRECTONLY, this,
                               &Connection::rewrittenValue, nullptr, nullptr, nullptr);
    sqlite3_update_hook(db_, &Connection::rowChanged, this);
}

void Connection::rewrittenValue(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const auto* self = static_cast<Connection*>(sqlite3_user_data(context));
    if (argc != 1 || !self->valueRewrite_) {
        sqlite3_result_null(context);
        return;
    }
    try {
        bool asText = false;
        const QString text = wordText(argv[0], &asText);
        const QString target = (*self->valueRewrite_)(text);
        if (target.isNull() || (asText && target == text)) {
            sqlite3_result_null(context);
            return;
        }
        const QByteArray stored = target.toUtf8();
        sqlite3_result_text(context, stored.constData(), int(stored.size()), SQLITE_TRANSIENT);
    } catch (const std::exception& error) {
        sqlite3_result_error(context, error.what(), -1);
    }
}

void Connection::loadSchema() {
    Schema schema;
    Statement info(*this, QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(tableName)));
    while (info.step()) {
        Column column;
        column.name = info.value(1, Column::Kind::Text).toString();
        const QString type = info.value(2, Column::Kind::Text).toString();
        column.kind = kindOfType(type, &column.width);
        if (info.int64(5) != 0 && type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            column.kind = Column::Kind::Id;
        schema.columns.append(column);
    }
    schema_ = schema;
}

Connection::FileState Connection::fileState() const {
    quint64 nowDevice = 0;
    quint64 nowInode = 0;
    if (!identify(path_, &nowDevice, &nowInode)) return FileState::Gone;
    return nowDevice == device && nowInode == inode ? FileState::Same : FileState::Replaced;
}

QString replacedTableMessage(const QString& path) {
    return QStringLiteral("Die Tabelle \"%1\" wurde von einem anderen Programm geändert; bitte "
                          "die Datenbank neu öffnen.")
        .arg(QDir::toNativeSeparators(path));
}

QString goneTableMessage(const QString& path) {
    return QStringLiteral("Die Tabelle \"%1\" wurde von einem anderen Programm gelöscht oder "
                          "verschoben; die Eingabe ist noch nicht gespeichert.")
        .arg(QDir::toNativeSeparators(path));
}

bool Connection::isReadOnly() const {
    return !db_ || sqlite3_db_readonly(db_, "main") == 1;
}

qint64 Connection::lastInsertId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

void Connection::execute(const QString& sql) {
    if (!db_)
        throw EngineError(QStringLiteral("Die Verbindung zur Tabelle ist geschlossen: %1")
                              .arg(QDir::toNativeSeparators(path_)));
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(rc);
}

void Connection::fail(int code) const {
    const QString where = QDir::toNativeSeparators(path_);
    const QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
    // Writing into a file that was renamed or deleted meanwhile: it is not
    // write-protected, it is no longer the table.
    if (code == SQLITE_READONLY_DBMOVED)
        throw EngineError(fileState() == FileState::Gone ? goneTableMessage(path_)
                                                         : replacedTableMessage(path_));
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EngineError(QStringLiteral("Die Tabelle wird gerade von einem anderen Programm "
                                         "benutzt: %1")
                              .arg(where));
    case SQLITE_READONLY:
        throw EngineError(QStringLiteral("Die Tabelle ist schreibgeschützt: %1").arg(where));
    case SQLITE_NOTADB:
        throw EngineError(QStringLiteral("Die Datei ist keine gültige Tabelle: %1").arg(where));
    case SQLITE_CORRUPT:
        throw EngineError(QStringLiteral("Die Tabelle ist beschädigt: %1").arg(where));
    case SQLITE_FULL:
        throw EngineError(QStringLiteral("Der Datenträger ist voll: %1").arg(where));
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
        throw EngineError(QStringLiteral("Die Tabelle kann nicht gelesen oder geschrieben werden: "
                                         "%1")
                              .arg(where));
    default:
        break;
    }
    if (message.startsWith(QLatin1String("no such column: ")))
        throw EngineError(QStringLiteral("Feld '%1' nicht gefunden.")
                              .arg(message.mid(int(qstrlen("no such column: ")))));
    throw EngineError(QStringLiteral("Fehler in der SQL-Anweisung: %1").arg(message));
}

int Connection::begin() {
    execute(depth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                        : QStringLiteral("SAVEPOINT level%1").arg(depth_));
    return ++depth_;
}

void Connection::commit(int level) {
    if (level != depth_)
        throw EngineError(QStringLiteral("Transaktionen wurden nicht in umgekehrter Reihenfolge "
                                         "abgeschlossen."));
    execute(level == 1 ? QStringLiteral("COMMIT")
                       : QStringLiteral("RELEASE level%1").arg(level - 1));
    --depth_;
}

void Connection::rollback(int level) {
    if (level != depth_ || !db_) return;
    if (level == 1) {
        execute(QStringLiteral("ROLLBACK"));
    } else {
        execute(QStringLiteral("ROLLBACK TO level%1").arg(level - 1));
        execute(QStringLiteral("RELEASE level%1").arg(level - 1));
    }
    --depth_;
    forgetAllRows();
}

sqlite3_stmt* Connection::borrow(const QString& sql) {
    if (!db_)
        throw EngineError(QStringLiteral("Die Verbindung zur Tabelle ist geschlossen: %1")
                              .arg(QDir::toNativeSeparators(path_)));
    if (const auto it = idle_.find(sql); it != idle_.end()) {
        sqlite3_stmt* statement = it.value();
        idle_.erase(it);
        return statement;
    }
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db_, text.constData(), int(text.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        fail(rc);
    }
    return statement;
}

void Connection::giveBack(const QString& sql, sqlite3_stmt* statement) {
    if (!statement) return;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (db_ && idle_.size() < maxIdleStatements)
        idle_.insert(sql, statement);
    else
        sqlite3_finalize(statement);
}

void Connection::attach(ResultSet* result) {
    results_.append(result);
}
void Connection::detach(ResultSet* result) {
    results_.removeAll(result);
}

void Connection::forgetAllRows() {
    for (ResultSet* result : std::as_const(results_))
        result->forgetAll();
}

void Connection::rowChanged(void* self, int, const char*, const char* table, long long rowid) {
    if (qstricmp(table, tableName) != 0) return;
    for (ResultSet* result : std::as_const(static_cast<Connection*>(self)->results_))
        result->forget(rowid);
}

void Connection::addQuery(Query* query) {
    if (!queries_.contains(query)) queries_.append(query);
}

void Connection::removeQuery(Query* query) {
    queries_.removeAll(query);
}

void Connection::close() {
    if (!db_) return;
    emit closing();
    forgetAllRows();
    for (sqlite3_stmt* statement : std::as_const(idle_))
        sqlite3_finalize(statement);
    idle_.clear();
    sqlite3_update_hook(db_, nullptr, nullptr);
    // close_v2 also rolls back an open transaction and waits for statements
    // still in use before it frees the handle.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    depth_ = 0;
}

void Connection::replaceTable(const TableDefinition& table) {
    const int level = begin();
    try {
        execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(tableName)));
        for (const QString& statement : table.statements)
            execute(statement);
        commit(level);
    } catch (...) {
        try {
            rollback(level);
        } catch (const EngineError&) {
        }
        throw;
    }
    // A replaced table leaves its old pages free; give them back to the disk.
    Statement freePages(*this, QStringLiteral("PRAGMA freelist_count"));
    if (freePages.step() && freePages.int64(0) > 0) {
        freePages.finish();
        execute(QStringLiteral("VACUUM"));
    }
    loadSchema();
}

QString tableKey(const QString& path) {
    QString normalised = path.trimmed();
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(QFileInfo(normalised).absoluteFilePath());
}

std::shared_ptr<Connection> acquire(const QString& path) {
    const QString key = tableKey(path);
    quint64 device = 0;
    quint64 inode = 0;
    const bool exists = identify(key, &device, &inode);
    auto& connections = registry();
    if (const auto it = connections.find(key); it != connections.end()) {
        if (exists && it.value()->isOpen() && it.value()->device == device &&
            it.value()->inode == inode)
            return it.value();
        // The file was deleted or replaced without a release: the queries on
        // the old file cannot go on.
        release(key, false);
    }
    if (!exists)
        throw EngineError(
            QStringLiteral("Tabelle nicht gefunden: %1").arg(QDir::toNativeSeparators(key)));
    auto connection = Connection::open(key, false);
    connections.insert(key, connection);
    return connection;
}

std::shared_ptr<Connection> createTable(const QString& path, const TableDefinition& table) {
    const QString key = tableKey(path);
    release(key, true);
    const QFileInfo info(key);
    if (!info.absoluteDir().exists())
        throw EngineError(QStringLiteral("Der Ordner für die Tabelle existiert nicht: %1")
                              .arg(QDir::toNativeSeparators(info.absolutePath())));
    // Whatever else lies at the path (an old table format, a broken file, a
    // file holding more than the program's table) is replaced, as the table
    // itself would be.
    if (info.exists() && (!isSqliteFile(key) || holdsForeignObjects(key)) && !QFile::remove(key))
        throw EngineError(QStringLiteral("Die Tabelle kann nicht ersetzt werden: %1")
                              .arg(QDir::toNativeSeparators(key)));
    const bool existed = QFileInfo::exists(key);
    std::shared_ptr<Connection> connection;
    try {
        connection = Connection::open(key, true);
        connection->replaceTable(table);
    } catch (...) {
        // SQLite makes the file at once; a table it could not write into it
        // (a full disk) must not be left as an empty file that looks like one.
        if (connection) connection->close();
        if (!existed) {
            QFile::remove(key);
            QFile::remove(key + QStringLiteral("-journal"));
        }
        throw;
    }
    identify(key, &connection->device, &connection->inode);
    registry().insert(key, connection);
    return connection;
}

void release(const QString& path, bool storeEdits) {
    const QString key = tableKey(path);
    auto& connections = registry();
    const auto it = connections.find(key);
    if (it == connections.end()) return;
    const std::shared_ptr<Connection> connection = it.value();
    if (storeEdits)
        for (Query* query : connection->queries())
            query->close();
    connections.remove(key);
    connection->close();
}

} // namespace engine::detail
