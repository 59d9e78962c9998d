#pragma once
// Writing an export file from the rows of an open query: the statement that
// selects a whole table, the words read from the rows, and the file written
// whole and atomically, so that a failed export never leaves half a file.
// Widget-free.
#include "exchange/exportformat.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace engine {
class Query;
}

// The statement of an export of a whole table: every complete word, in the
// table's own order.
QStringList WholeTableExportSql(const QString& tablePath);
// The statement that selects the words of an ID list (order is given by the
// list, see RowsOfIds).
QStringList IdListExportSql(const QString& tablePath, const QList<qint64>& ids);

// The rows of an open query that hold the listed IDs, in the order of the
// list; IDs that are not in the result are left out.
QVector<int> RowsOfIds(const engine::Query& query, const QList<qint64>& ids);

// Reads the word of one row of an open query; with `fields`, only the fields
// ticked there (the others stay empty).
class ExportWordReader {
  public:
    explicit ExportWordReader(const engine::Query& query,
                              const std::array<bool, ExportFieldCount + 1>* fields = nullptr);
    ExchangeWord word(int row) const;

  private:
    const engine::Query& query_;
    std::array<int, ExportFieldCount + 1> columns_{};
};

// Today's date as the title line gives it: the system's short date format.
QString ExportDateText();

// The file name to write: a chosen name whose file name has no "." gets ".rtf"
// or ".txt". A dot in a folder name does not count.
QString ExportFileName(const QString& chosen, bool rtf);

struct ExportOutcome {
    bool ok = false;
    int words = 0; // records written
    QString error; // German text for the user when !ok
};

// The values among the words of `rows` (all rows of the query when null)
// that the import would not read back (UnreadableExportValues).
int CountUnreadableExportValues(const engine::Query& query, const ExportSettings& settings,
                                const QVector<int>* rows = nullptr);

// Writes the header, the words of `rows` (all rows of the query in result
// order when `rows` is empty and `allRows` is true) and the footer to `path`.
// `progress` is told the number of rows done. The file is replaced only when
// everything was written.
ExportOutcome WriteExportFile(const QString& path, const engine::Query& query,
                              const ExportSettings& settings, const QString& tablePath,
                              const QString& date, const QVector<int>* rows = nullptr,
                              const std::function<void(int)>& progress = {});
