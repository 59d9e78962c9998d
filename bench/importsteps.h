#pragma once
// The import of an export file into a new database's table, as the
// benchmarks time it.
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "exchange/exportfile.h"
#include "exchange/importformat.h"
#include "exchange/importstore.h"
#include "platform/codec.h"

#include <QFile>
#include <QString>

namespace bench {

// A new table holding the one empty word a new database has.
inline void newDatabaseTable(const QString& path) {
    engine::Query query;
    CreateVocabularyTable(query, path);
    query.clearSql();
    query.addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(path));
    query.open();
    InsertNewWordRecord(query, QStringLiteral("001A1"));
}

// Reads the export file's descriptor and imports its records into `target`.
inline ImportSummary importExportFile(const QString& file, const QString& target) {
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    const ExportDescriptor descriptor =
        ReadExportDescriptor(platform::codec::fromBytes(in.readAll()));
    in.close();
    ImportPlan plan;
    plan.exportFile = true;
    plan.files = {file};
    plan.recordsStart = descriptor.recordsStart;
    plan.rules.codes = FieldCodesFromMask(descriptor.mask);
    plan.rules.mask = descriptor.mask;
    plan.rules.separators = descriptor.separators;
    return RunImport(target, plan);
}

} // namespace bench
