#pragma once
// What the program asks of a table file as a whole, beside its queries: the
// different values of one field, and a stamp kept in the file's header.
#include <QString>
#include <QStringList>

namespace engine {

// Opens the table file's connection, as the first query on it would, so that
// a file that is no usable table is refused before anything else is done with
// it. Throws EngineError.
void openTable(const QString& tablePath);

// Every different value of a field, in ascending byte order. An indexed field
// costs one index seek per value, however many rows share it. Throws
// EngineError.
QStringList distinctValues(const QString& tablePath, const QString& field);

// A number kept in the table file's header. It changes only where the program
// sets it, and with the same transaction as the rows written beside it, so a
// file written together with another file (a lesson list) can tell which
// state of the table that file belongs to. 0 for a file that never got one.
// Throws EngineError.
qint32 tableStamp(const QString& tablePath);
// Sets the stamp; inside an open Transaction on the table it is kept or rolled
// back with that transaction.
void setTableStamp(const QString& tablePath, qint32 stamp);

} // namespace engine
