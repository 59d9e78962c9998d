#include "platform/shell.h"

#include "platform/paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

bool shellOpen(const QString& target) {
    const QUrl url = target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"))
                         ? QUrl(target)
                         : QUrl::fromLocalFile(normalizePath(target));
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

bool startProgram(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    const QString path = normalizePath(program);
    if (!QFileInfo::exists(path))
        return false;
    return QProcess::startDetached(path, arguments, normalizePath(workingFolder));
}

} // namespace platform
