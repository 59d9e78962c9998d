// Times the conversion of a 100,000-word table of the older engine (Paradox)
// and the import of 100,000 exported words, each beside a raw SQLite prepared
// insert of the same rows in one transaction: both should stay within 3x.
#include "generator.h"
#include "importsteps.h"

#include "../tests/support/paradoxwriter.h"
#include "database/paradoxconversion.h"
#include "exchange/exportfile.h"
#include "exchange/importformat.h"
#include "exchange/importstore.h"
#include "platform/codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int Words = 100000;

// The rows of a table as the engine reads them, in key order.
QList<QVariantList> rowsOf(const QString& table) {
    QList<QVariantList> rows;
    engine::Query q;
    q.setRequestLive(false);
    q.addSql(QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(table));
    q.open();
    const QStringList fields = q.fieldNames();
    for (q.first(); !q.eof(); q.next()) {
        QVariantList row;
        for (const QString& field : fields)
            row << q.value(field);
        rows << row;
    }
    return rows;
}

// A new, empty vocabulary table.
QString emptyTable(const QString& path) {
    engine::Query q;
    CreateVocabularyTable(q, path);
    engine::releaseTable(path);
    return path;
}

// The rows straight into SQLite: one prepared statement, one transaction.
// Returns milliseconds.
double rawInsert(const QString& table, const QList<QVariantList>& rows) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(table).constData(), &db);
    QElapsedTimer timer;
    timer.start();
    QStringList marks;
    for (int i = 0; i < VokabelFieldCount; ++i)
        marks << QStringLiteral("?");
    const QByteArray sql =
        (QStringLiteral("INSERT INTO VokabelTable (") +
         VokabelFieldNames().join(QLatin1String(", ")) + QStringLiteral(") VALUES (") +
         marks.join(QLatin1String(", ")) + QLatin1Char(')'))
            .toUtf8();
    sqlite3_stmt* insert = nullptr;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &insert, nullptr);
    for (const QVariantList& row : rows) {
        for (int c = 0; c < row.size(); ++c) {
            const QVariant& value = row[c];
            if (value.metaType().id() == QMetaType::QString) {
                const QByteArray text = value.toString().toUtf8();
                sqlite3_bind_text(insert, c + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(insert, c + 1, value.toLongLong());
            }
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double ms = bench::ms(timer);
    sqlite3_close(db);
    return ms;
}

void report(const char* what, double ms, double raw) {
    std::printf("%-34s %8.1f ms   raw insert %7.1f ms   ratio %4.2f (target <= 3)\n", what, ms, raw,
                ms / raw);
}

// The same words as a Paradox table of the older engine.
bool writeParadox(const QString& path, const QList<QVariantList>& rows) {
    QList<paradox::Row> records;
    records.reserve(rows.size());
    for (const QVariantList& row : rows) {
        paradox::Row record;
        for (int c = 0; c < row.size(); ++c) {
            const QVariant& value = row[c];
            if (value.metaType().id() == QMetaType::QString)
                record << (value.toString().isEmpty()
                               ? QVariant()
                               : QVariant(platform::codec::toBytes(value.toString())));
            else if (value.metaType().id() == QMetaType::Bool)
                record << value.toBool();
            else
                record << value.toInt();
        }
        records << record;
    }
    return paradox::writeTable(path, paradox::vocabularyFields(), records);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QElapsedTimer timer;

    // The words: the benchmark database, exported with every field.
    const QString source = dir.filePath("Gross.ol");
    bench::generateDatabase(source, Words);
    const QList<QVariantList> rows = rowsOf(source);
    engine::releaseTable(source);
    const QString file = dir.filePath("Gross.txt");
    ExportSettings settings = ExportSettings::defaults();
    settings.fields.fill(true);
    {
        engine::Query all;
        all.setRequestLive(false);
        all.setSql(WholeTableExportSql(source));
        all.open();
        if (!WriteExportFile(file, all, settings, source, ExportDateText()).ok) return 1;
    }

    // Conversion of the Paradox table against the raw insert of its rows.
    const QString paradoxTable = dir.filePath("Alt.db");
    if (!writeParadox(paradoxTable, rows)) {
        std::printf("FAILED: the Paradox table could not be written\n");
        return 1;
    }
    const double rawForConversion = rawInsert(emptyTable(dir.filePath("Roh1.ol")), rows);
    timer.start();
    const int converted = WriteConvertedTable(paradoxTable, dir.filePath("Neu.ol"), "Alt.db");
    const double conversion = bench::ms(timer);
    report("convert 100,000-word Paradox table:", conversion, rawForConversion);

    // Import into a new database's table (holding its one empty word).
    const QString target = dir.filePath("Import.ol");
    bench::newDatabaseTable(target);
    timer.restart();
    const ImportSummary imported = bench::importExportFile(file, target);
    const double import = bench::ms(timer);
    const double rawForImport = rawInsert(emptyTable(dir.filePath("Roh2.ol")), rowsOf(target));
    report("import 100,000 words:", import, rawForImport);

    if (converted != Words || !imported.ok || imported.words != Words) {
        std::printf("FAILED: %d converted, %d imported %s\n", converted, imported.words,
                    qPrintable(imported.error));
        return 1;
    }
    return 0;
}
