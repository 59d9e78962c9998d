// Times the backup and the restore of a database of 100,000 words in 200
// lessons, as the backup and restore windows run them.
#include "generator.h"

#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "engine/query.h"
#include "exchange/backuparchive.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("Latein"));
    platform::ensureFolder(folder);
    const QString table = folder + QStringLiteral("/Gross.ol");
    bench::generateDatabase(table);
    QStringList lines;
    for (int lesson = 0; lesson < 200; ++lesson)
        lines << bench::lessonCodeOf(lesson) + QStringLiteral("Lektion %1").arg(lesson);
    LessonList(lines).save(folder + QStringLiteral("/Gross.lst"));
    TDatabaseOptionsRec::forNewDatabase(QStringLiteral("Latein"))
        .save(folder + QStringLiteral("/Gross.opt"));
    engine::releaseTable(table);

    const QString archive = work.filePath(QStringLiteral("Gross.olx"));
    const QString temp = work.filePath(QStringLiteral("backup"));
    QElapsedTimer timer;
    timer.start();
    const int backup = BackupDatabase(table, archive, temp, false, QStringLiteral("3.2"));
    const double backupMs = timer.nsecsElapsed() / 1e6;

    const QString dest = work.filePath(QStringLiteral("restore"));
    timer.restart();
    const int restore = RestoreDatabase(archive, dest, temp, false);
    const double restoreMs = timer.nsecsElapsed() / 1e6;

    const bool same = contents(table) == contents(dest + QStringLiteral("/Latein/Gross.ol"));
    std::printf("table %.1f MB, archive %.1f MB\n", QFileInfo(table).size() / 1048576.0,
                QFileInfo(archive).size() / 1048576.0);
    std::printf("backup 100,000 words:  %7.1f ms (code %d)\n", backupMs, backup);
    std::printf("restore 100,000 words: %7.1f ms (code %d, %s)\n", restoreMs, restore,
                same ? "identical" : "DIFFERENT");
    return backup == 0 && restore == 0 && same ? 0 : 1;
}
