// Transactions over a table file, the release of its connection and the
// quoting of literals: the engine services around the query object.
#include "engine/connection.h"
#include "engine/query.h"

#include <QMap>

namespace engine {

QString quoteLiteral(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void releaseTable(const QString& tablePath) {
    detail::release(tablePath, true);
}

Transaction::Transaction(const QString& tablePath)
    : path_(tablePath), connection_(detail::acquire(tablePath)), level_(connection_->begin()) {}

Transaction::~Transaction() {
    if (done_ || !connection_->isOpen()) return;
    try {
        connection_->rollback(level_);
    } catch (const std::exception&) {
        // Closing the connection rolls back what is left.
    }
}

void Transaction::commit() {
    if (done_) return;
    connection_->commit(level_);
    done_ = true;
}

namespace configuration {

namespace {

struct DatabaseEntry {
    QString path;
    QString driver;
};

QMap<QString, DatabaseEntry>& databases() {
    static QMap<QString, DatabaseEntry> entries;
    return entries;
}

} // namespace

bool hasDatabaseName(const QString& name) {
    return databases().contains(name.toUpper());
}

void addStandardDatabase(const QString& name, const QString& path, const QString& driver) {
    databases().insert(name.toUpper(), {path, driver});
}

// Tables are reached by their paths; the record has nothing to keep.
void save() {}

} // namespace configuration

} // namespace engine
