#include "engine/resultset.h"

#include "engine/connection.h"
#include "engine/statement.h"

namespace engine::detail {

namespace {

// Rows fetched at once: a screenful of the grid and the rows a loop walks next.
constexpr int blockSize = 200;
// Rows read before the one asked for, for a cursor that walks backwards.
constexpr int blockBehind = 40;
// Beyond this many cached rows the cache starts over.
constexpr int maxCachedRows = 20000;

QString blockSql(int count) {
    QString marks = QStringLiteral("?");
    for (int i = 1; i < count; ++i)
        marks += QLatin1String(",?");
    return QStringLiteral("SELECT * FROM %1 WHERE ID IN (%2)").arg(QLatin1String(tableName), marks);
}

} // namespace

ResultSet::ResultSet(std::shared_ptr<Connection> connection, QVector<qint64> ids)
    : connection_(std::move(connection)), ids_(std::move(ids)) {
    connection_->attach(this);
}

ResultSet::~ResultSet() {
    connection_->detach(this);
}

ResultSet::Row ResultSet::row(int index) {
    if (index < 0 || index >= ids_.size()) return {};
    const qint64 id = ids_[index];
    if (const auto it = cache_.constFind(id); it != cache_.constEnd()) return it.value();
    fetchAround(index);
    return cache_.value(id);
}

void ResultSet::fetchAround(int index) {
    if (cache_.size() > maxCachedRows) cache_.clear();
    QVector<qint64> wanted{ids_[index]};
    for (int i = qMax(0, index - blockBehind); i < ids_.size() && wanted.size() < blockSize; ++i)
        if (i != index && ids_[i] > 0 && !cache_.contains(ids_[i])) wanted.append(ids_[i]);

    const Schema& schema = connection_->schema();
    const int idColumn = schema.idColumn();
    // One statement text for every full block, so it is prepared once; a short
    // block repeats its first key.
    const bool single = wanted.size() == 1;
    Statement select(*connection_, single ? blockSql(1) : blockSql(blockSize));
    for (int i = 0; i < (single ? 1 : blockSize); ++i)
        select.bind(i + 1, wanted.value(i, wanted[0]));
    while (select.step()) {
        Row values(schema.size());
        for (int c = 0; c < schema.size(); ++c)
            values[c] = select.value(c, schema.columns[c].kind);
        cache_.insert(select.int64(idColumn), values);
    }
    for (qint64 id : std::as_const(wanted))
        if (!cache_.contains(id)) cache_.insert(id, Row());
}

void ResultSet::insertRow(int index, qint64 id) {
    ids_.insert(index, id);
}

void ResultSet::setId(int index, qint64 id) {
    ids_[index] = id;
}

void ResultSet::moveRow(int from, int to) {
    ids_.move(from, to);
}

void ResultSet::removeRow(int index) {
    ids_.remove(index);
}

void ResultSet::forget(qint64 id) {
    if (cache_.remove(id) && stale_) stale_();
}

void ResultSet::forgetAll() {
    if (cache_.isEmpty()) return;
    cache_.clear();
    if (stale_) stale_();
}

} // namespace engine::detail
