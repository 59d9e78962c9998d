// Times the export of 100,000 words into a text file and their import into a
// new table, the way the export and import commands do it.
#include "generator.h"
#include "importsteps.h"

#include "exchange/exportfile.h"
#include "exchange/importformat.h"
#include "exchange/importstore.h"
#include "platform/codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString source = dir.filePath("Gross.ol");
    const QString file = dir.filePath("Gross.txt");
    QElapsedTimer timer;
    timer.start();
    bench::generateDatabase(source);
    std::printf("generate 100,000 words:  %8.1f ms\n", bench::ms(timer));
    engine::releaseTable(source);

    // Export with the dialog's first choice of fields, then with every field
    // ticked (the file the import reads).
    ExportOutcome exported;
    for (const bool allFields : {false, true}) {
        ExportSettings settings = ExportSettings::defaults();
        if (allFields) settings.fields.fill(true);
        timer.restart();
        engine::Query rows;
        rows.setRequestLive(false);
        rows.setSql(WholeTableExportSql(source));
        rows.open();
        exported = WriteExportFile(file, rows, settings, source, ExportDateText());
        std::printf(
            "export 100,000 words:    %8.1f ms (%s, %d words, %lld bytes; target < 1000 ms)\n",
            bench::ms(timer), allFields ? "all 14 fields" : "3 fields", exported.words,
            static_cast<long long>(QFile(file).size()));
    }

    // Import into a new table holding the one empty word a new database has.
    const QString target = dir.filePath("Neu.ol");
    bench::newDatabaseTable(target);
    timer.restart();
    const ImportSummary imported = bench::importExportFile(file, target);
    const double importMs = bench::ms(timer);
    std::printf("import 100,000 words:    %8.1f ms (%d words, %lld lessons; target < 2000 ms)\n",
                importMs, imported.words, static_cast<long long>(imported.lessonLines.size()));
    if (!exported.ok || !imported.ok || imported.words != exported.words) {
        std::printf("FAILED: %s%s\n", qPrintable(exported.error), qPrintable(imported.error));
        return 1;
    }
    return 0;
}
