#pragma once
// A prepared statement borrowed from its connection for one run: binds
// values, steps through rows and returns the statement for reuse.
#include "engine/schema.h"

#include <QVariantList>

struct sqlite3_stmt;

namespace engine::detail {

class Connection;

class Statement {
  public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds values to the parameters 1, 2, ... in order.
    void bind(const QVariantList& values);
    void bind(int index, const QVariant& value);

    // Steps to the next row; false when the statement is done.
    bool step();
    // Runs the statement to its end and returns the rows it changed.
    int run();
    // Ends the run early so that the connection may run other statements.
    void finish();

    QVariant value(int column, Column::Kind kind) const;
    qint64 int64(int column) const;

  private:
    Connection& connection_;
    QString sql_;
    sqlite3_stmt* statement_;
};

} // namespace engine::detail
