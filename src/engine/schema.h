#pragma once
// The columns of a table file and what the engine makes of their declared
// types: the record key, fixed-width text, small counters and Booleans.
#include <QString>
#include <QVariant>
#include <QVector>

namespace engine::detail {

// The table's name inside every table file; statements name the file instead.
inline constexpr char tableName[] = "VokabelTable";

struct Column {
    enum class Kind { Id, Text, Integer, Boolean, Other };
    QString name;
    Kind kind = Kind::Other;
    int width = 0; // CHAR(n) → n
};

// Reads a declared type as written in CREATE TABLE or reported by the file
// ("CHAR(40)", "SMALLINT", "BOOLEAN", "AUTOINC", "INTEGER" for the key).
Column::Kind kindOfType(const QString& declaredType, int* width);

struct Schema {
    QVector<Column> columns;

    bool isEmpty() const { return columns.isEmpty(); }
    int size() const { return columns.size(); }
    // Index of a column by name without regard to case, -1 when there is none.
    int indexOf(const QString& name) const;
    const Column* find(const QString& name) const;
    int idColumn() const;
};

// The value a new record holds in a column: "" for text, 0, false; no key.
QVariant defaultValue(const Column& column);

// Turns a value written by the program into what the column stores: text cut
// to the column's width, numbers from text, Booleans from "True"/"1".
// Throws EngineError for text that is no number in a number column.
QVariant toStored(const Column& column, const QVariant& value);

// Readings of a stored value as text, number and truth value. An empty value
// (a row that is gone) reads as "", 0 and false.
QString storedAsString(const QVariant& value);
int storedAsInteger(const QVariant& value);
bool storedAsBoolean(const QVariant& value);

} // namespace engine::detail
