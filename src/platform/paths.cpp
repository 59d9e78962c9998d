#include "platform/paths.h"

#include "platform/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

QString normalizePath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString joinPath(const QString& folder, const QString& relative) {
    QString rel = normalizePath(relative);
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    if (folder.isEmpty())
        return rel;
    return QDir::cleanPath(normalizePath(folder) + QLatin1Char('/') + rel);
}

QString findCaseInsensitive(const QString& folder, const QString& name) {
    QDir dir(normalizePath(folder));
    const QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return exact;
}

bool ensureFolder(const QString& folder) {
    return QDir().mkpath(normalizePath(folder));
}

bool copyIfMissing(const QString& source, const QString& target) {
    if (QFileInfo::exists(target))
        return true;
    return copyWholeFile(source, target);
}

bool copyReplacing(const QString& source, const QString& target) {
    return copyWholeFile(source, target);
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace platform
