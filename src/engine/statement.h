#pragma once
// A prepared statement borrowed from its connection for one run: binds
// values, steps through rows and returns the statement for reuse.
#include "engine/schema.h"

#include <QVariantList>

struct sqlite3_stmt;
struct sqlite3_value;

namespace engine::detail {

class Connection;

// A value of a row exactly as the file holds it (its kind and its bytes),
// kept beyond the row it came from.
class StoredValue {
  public:
    StoredValue() = default;
    ~StoredValue();
    StoredValue(StoredValue&& other) noexcept;
    StoredValue& operator=(StoredValue&& other) noexcept;
    StoredValue(const StoredValue&) = delete;
    StoredValue& operator=(const StoredValue&) = delete;

    // No value at all: past the last row, or NULL.
    bool isNull() const;
    // Its reading as word text, see wordText().
    QString text(bool* asText = nullptr) const;

  private:
    friend class Statement;
    sqlite3_value* value_ = nullptr;
};

// A stored value read as word text. The files hold word text as UTF-8; a BLOB,
// or text that is no UTF-8 (as another tool may write them), holds the 8-bit
// bytes themselves, which read through the codec; a number reads as its
// digits, NULL as "". `asText`, when given, tells whether the file holds the
// value as the text it reads as.
QString wordText(sqlite3_value* value, bool* asText = nullptr);

class Statement {
  public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds values to the parameters 1, 2, ... in order.
    void bind(const QVariantList& values);
    void bind(int index, const QVariant& value);
    // Binds a value as the file held it: compared with its own kind and bytes.
    void bind(int index, const StoredValue& value);

    // Steps to the next row; false when the statement is done.
    bool step();
    // Runs the statement to its end and returns the rows it changed.
    int run();
    // Ends the run early so that the connection may run other statements.
    void finish();

    // A text column reads as word text (see wordText()).
    QVariant value(int column, Column::Kind kind) const;
    qint64 int64(int column) const;
    StoredValue stored(int column) const;

  private:
    Connection& connection_;
    QString sql_;
    sqlite3_stmt* statement_;
};

} // namespace engine::detail
