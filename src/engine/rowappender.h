#pragma once
// Appends whole rows to a table through one prepared statement, all inside one
// transaction: the fast way to fill a table with many rows (an import, a table
// converted from another format). Nothing is kept unless commit() is called.
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace engine {

namespace detail {
class Connection;
class Statement;
} // namespace detail

class RowAppender {
  public:
    // Opens the table (which must exist) and starts the transaction. Throws
    // EngineError.
    explicit RowAppender(const QString& tablePath);
    ~RowAppender(); // rolls back unless committed
    RowAppender(const RowAppender&) = delete;
    RowAppender& operator=(const RowAppender&) = delete;

    // The table's fields in column order.
    QStringList fieldNames() const;

    // Stores one row from values in column order, each made what its column
    // stores (text cut to its width, numbers from text); an empty value gets
    // the column's default and an empty key the next free one. A key that is
    // taken throws EngineError. Returns the row's key.
    qint64 append(const QVariantList& values);

    // New rows get keys above `key` from now on, even after a restart: keys
    // of rows that were deleted before are never given again.
    void reserveKeysUpTo(qint64 key);

    void commit();

  private:
    std::shared_ptr<detail::Connection> connection_;
    QString insertSql_;
    std::unique_ptr<detail::Statement> insert_; // kept prepared for every row
    int level_ = 0;
    bool done_ = false;
};

} // namespace engine
