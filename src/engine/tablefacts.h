#pragma once
// What the program asks of a table file as a whole, beside its queries: the
// different values of one field and their rewriting, and a stamp kept in the
// file's header.
#include <QString>
#include <QStringList>
#include <functional>

namespace engine {

// Opens the table file's connection, as the first query on it would, so that
// a file that is no usable table is refused before anything else is done with
// it. Throws EngineError.
void openTable(const QString& tablePath);

// Every different value of a field, read as word text as the queries read it
// (a BLOB or text that is no UTF-8, as another tool may write them, by its
// 8-bit bytes; a number by its digits). NULL is left out. The order is the
// file's: numbers, then text, then BLOBs, each ascending; two values of
// different kinds may read as the same text. An indexed field costs one index
// seek per value, however many rows share it. `allText`, when given, tells
// whether the file holds every value (NULL included) as the text it reads as.
// Throws EngineError.
QStringList distinctValues(const QString& tablePath, const QString& field, bool* allText = nullptr);

// What a value of a field, read as word text as above (NULL as ""), is to be
// stored as: a text, or a null QString to leave the value as it is.
using ValueRewrite = std::function<QString(const QString& text)>;
// Stores every value of the field that the rewrite changes, or that the file
// holds other than as the text the rewrite gives (a BLOB, say), as that text,
// in one statement. Returns the number of rows changed. The rewrite is called
// for every row and must not throw. Throws EngineError, the table unchanged.
int rewriteValues(const QString& tablePath, const QString& field, const ValueRewrite& rewrite);
// The number of rows rewriteValues() would change, changing nothing.
int countRewrites(const QString& tablePath, const QString& field, const ValueRewrite& rewrite);

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
