#pragma once
// Rewrites the program's statements for SQLite. The table is named by its file
// path; in the file it is always the one table `tableName`. Every literal
// becomes a bound parameter, so the text of a literal never reaches the SQL.
#include "engine/schema.h"
#include "engine/tokenizer.h"

#include <QStringList>
#include <QVariantList>

namespace engine::detail {

enum class StatementKind { Select, Update, Delete, Insert, CreateTable };

struct ParsedStatement {
    StatementKind kind = StatementKind::Select;
    QString tablePath; // as written in the statement
    QVector<Token> tokens;
    int tableToken = -1;
};

// Finds the kind of statement and the table it names. Throws EngineError for
// an empty or unknown statement.
ParsedStatement parseStatement(const QString& text);

struct Translation {
    QString sql;
    QVariantList params;
    // SELECT: the statement selects the keys of the rows in result order; these
    // are the schema columns the result shows.
    QVector<int> fields;
    enum class Order { ById, ByIdDescending, Other };
    Order order = Order::ById;
};

// SELECT, UPDATE, DELETE and INSERT against a table with this schema.
Translation translate(const ParsedStatement& statement, const Schema& schema);

struct TableDefinition {
    Schema schema;
    QStringList statements; // the table and its index, in this order
};

TableDefinition translateCreate(const ParsedStatement& statement);

} // namespace engine::detail
