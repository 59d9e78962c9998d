#include "mainwindow/startup.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

unsigned char StartMode = StartNormal;
QString StartFile;
QString SubstDrive;

namespace startup {

StartModes startModeFor(const QString& argument) {
    const QString upper = argument.toUpper();
    if (upper.endsWith(QLatin1String("OLZ")))
        return StartZippedBackup;
    if (upper.endsWith(QLatin1String("OLX")))
        return StartArchive;
    if (upper.endsWith(QLatin1String("OL")))
        return StartDatabase;
    return StartNormal;
}

QString startFilePath(const QString& argument, const QString& startFolder) {
    return QDir::cleanPath(QDir(startFolder).absoluteFilePath(platform::normalizePath(argument)));
}

bool programFolderWritable(const QString& workDir) {
    const QString path = platform::joinPath(workDir, QStringLiteral("data/ClearView.clr"));
    // Opening a FIFO for writing waits for a reader that never comes: with
    // anything but a regular file there, a new file beside it tells.
    if (!platform::notARegularFileText(path).isEmpty()) {
        QTemporaryFile probe(platform::joinPath(workDir, QStringLiteral("data/ClearView-XXXXXX")));
        return probe.open();
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

const QStringList& restrictedModeFiles() {
    static const QStringList files{
        "data/option.dat",    "data/soption.dat",     "data/auswopt.dat",  "data/Dru2Opt.dat",
        "data/Dru3Opt.dat",   "data/gruopt.dat",      "data/sz.dat",       "data/TreeView.clr",
        "data/zusammen.exe",  "backup/zip.exe",       "backup/Unzip.exe",  "backup/9mk.exe",
        "Latein/Beispiel.ol", "Latein/Beispiel.opt",  "Latein/Beispiel.lst", "Latein/Beispiel.px",
        "Orvilex.chm",        "Orvilex.hlp",          "Orvilex.cnt"};
    return files;
}

QString prepareUserFolder(const QString& installDir, const QString& documents) {
    const QString workDir = platform::joinPath(documents, QStringLiteral("Orvilex"));
    for (const char* sub : {"", "backup", "data", "Latein"})
        if (!platform::ensureFolder(platform::joinPath(workDir, QString::fromLatin1(sub))))
            throw platform::Error(QStringLiteral("Ordner kann nicht angelegt werden: ") + workDir);
    for (const QString& relative : restrictedModeFiles()) {
        // The install folder may spell a file in another case than the list does.
        const QString folder = QFileInfo(platform::joinPath(installDir, relative)).path();
        const QString source =
            platform::findCaseInsensitive(folder, QFileInfo(relative).fileName());
        const QString target = platform::findCaseInsensitive(
            QFileInfo(platform::joinPath(workDir, relative)).path(), QFileInfo(source).fileName());
        if (QFileInfo::exists(source))
            platform::copyIfMissing(source, target); // a failed copy is not fatal
    }
    return workDir;
}

QString restrictedModeMessage(const QString& workDir) {
    const QString lfcr = QStringLiteral("\n\r");
    return QStringLiteral("Orvilex wird im Modus für eingeschränkte Benutzer gestartet.") + lfcr +
           lfcr + QStringLiteral("Vokabel- und Einstellungsdateien werden im Ordner ") + lfcr +
           QLatin1Char('"') + QDir::toNativeSeparators(workDir) + QLatin1Char('"') +
           QStringLiteral(" gespeichert.");
}

bool screenTooSmall(int screenHeight) { return screenHeight < 550; }

} // namespace startup
