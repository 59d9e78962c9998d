#pragma once
// The rows of an open SELECT: the keys it selected, in result order, fixed at
// open, and the rows themselves fetched lazily in blocks around the row asked
// for. A row that another statement deletes reads as empty; rows it inserts
// do not join.
#include <QHash>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace engine::detail {

class Connection;

class ResultSet {
  public:
    using Row = QVector<QVariant>; // all columns of the table; empty: the row is gone

    ResultSet(std::shared_ptr<Connection> connection, QVector<qint64> ids);
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    Connection& connection() const { return *connection_; }

    int count() const { return int(ids_.size()); }
    qint64 id(int row) const { return ids_.value(row); }
    int indexOf(qint64 id) const { return int(ids_.indexOf(id)); }

    // The row's values, fetched when not cached.
    Row row(int index);

    // Row list changes made by the query itself.
    void insertRow(int index, qint64 id);
    void setId(int index, qint64 id);
    void moveRow(int from, int to);
    void removeRow(int index);

    // A statement changed this row or every row: read them again when asked.
    void forget(qint64 id);
    void forgetAll();
    // Called when a cached row went stale.
    void setStaleHandler(std::function<void()> handler) { stale_ = std::move(handler); }

  private:
    void fetchAround(int index);

    std::shared_ptr<Connection> connection_;
    QVector<qint64> ids_;
    QHash<qint64, Row> cache_;
    std::function<void()> stale_;
};

} // namespace engine::detail
