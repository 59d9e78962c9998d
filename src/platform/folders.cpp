#include "platform/folders.h"

#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

QString WorkDir;
QString InstallDir;

namespace platform {
namespace {
QString& documentsOverride() {
    static QString folder;
    return folder;
}
} // namespace

QString GetMyDocumentsFolder() {
    if (!documentsOverride().isEmpty())
        return documentsOverride();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder;
}

void setDocumentsFolderOverride(const QString& folder) { documentsOverride() = folder; }

QString dataFile(const QString& name) {
    return findCaseInsensitive(joinPath(WorkDir, QStringLiteral("data")), name);
}

} // namespace platform
