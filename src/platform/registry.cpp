#include "platform/registry.h"

#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace platform {
namespace {

QString& registryPath() {
    static QString path;
    return path;
}

const QStringList& rootNames() {
    static const QStringList names{
        QStringLiteral("HKEY_CLASSES_ROOT"), QStringLiteral("HKEY_CURRENT_USER"),
        QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("HKEY_USERS"),
        QStringLiteral("HKEY_CURRENT_CONFIG")};
    return names;
}

// "HKEY_CURRENT_USER\Volatile Environment" → "HKEY_CURRENT_USER/Volatile Environment".
QString settingsGroup(const QString& fullKey) {
    QString key = normalizePath(fullKey);
    while (key.startsWith(QLatin1Char('/')))
        key.remove(0, 1);
    const int slash = key.indexOf(QLatin1Char('/'));
    const QString root = (slash < 0 ? key : key.left(slash)).toUpper();
    return slash < 0 ? root : root + key.mid(slash);
}

// A new empty file in the folder whose name nothing has used yet.
QString freshFileName(const QString& folder) {
    QTemporaryFile file(folder + QStringLiteral("/registry-XXXXXX.tmp"));
    file.setAutoRemove(false);
    return file.open() ? file.fileName() : QString();
}

// QSettings reads its file without a second look: a FIFO would block it for
// good. Anything but a regular file there reads as an empty registry (and
// is not replaced: changeRegistry cannot copy it).
bool readableRegistry() {
    return notARegularFileText(registryFile()).isEmpty();
}

} // namespace

bool changeRegistry(const std::function<void(QSettings&)>& change) {
    const QString path = registryFile();
    const QString folder = QFileInfo(path).absolutePath();
    if (!ensureFolder(folder)) return false;
    const QString written = freshFileName(folder);
    const QString checked = freshFileName(folder);
    bool ok = !written.isEmpty() && !checked.isEmpty();
    if (ok && QFileInfo::exists(path)) ok = copyWholeFile(path, written);
    QHash<QString, QVariant> expected;
    if (ok) {
        QSettings store(written, QSettings::IniFormat);
        change(store);
        store.sync();
        ok = store.status() == QSettings::NoError;
        for (const QString& key : store.allKeys())
            expected.insert(key, store.value(key));
    }
    // Read back under a name QSettings has not cached, so that what is parsed
    // is the file on the disk.
    if (ok) ok = QFile::remove(checked) && QFile::rename(written, checked);
    if (ok) {
        QSettings back(checked, QSettings::IniFormat);
        ok = back.status() == QSettings::NoError && back.allKeys().size() == expected.size();
        for (auto it = expected.cbegin(); ok && it != expected.cend(); ++it)
            ok = back.value(it.key()) == it.value();
    }
    if (ok) ok = copyWholeFile(checked, path);
    QFile::remove(written);
    QFile::remove(checked);
    return ok;
}

int registryRoot(const QString& fullKey) {
    QString key = normalizePath(fullKey);
    while (key.startsWith(QLatin1Char('/')))
        key.remove(0, 1);
    const QString root = key.section(QLatin1Char('/'), 0, 0).toUpper();
    const int index = rootNames().indexOf(root);
    return index < 0 ? 0 : index + 1;
}

QString registryFile() {
    if (registryPath().isEmpty())
        registryPath() = joinPath(
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), "registry.ini");
    return registryPath();
}

void setRegistryFile(const QString& path) { registryPath() = path; }

QString readRegistryString(const QString& fullKey, const QString& valueName) {
    if (registryRoot(fullKey) == 0)
        return QString();
    if (!readableRegistry()) return QString();
    QSettings store(registryFile(), QSettings::IniFormat);
    return store.value(settingsGroup(fullKey) + QLatin1Char('/') + valueName).toString();
}

bool writeRegistryString(const QString& fullKey, const QString& valueName, const QString& value) {
    if (registryRoot(fullKey) == 0)
        return false;
    return changeRegistry([&](QSettings& store) {
        store.setValue(settingsGroup(fullKey) + QLatin1Char('/') + valueName, value);
    });
}

bool registryKeyExists(const QString& fullKey) {
    if (registryRoot(fullKey) == 0)
        return false;
    if (!readableRegistry()) return false;
    QSettings store(registryFile(), QSettings::IniFormat);
    store.beginGroup(settingsGroup(fullKey));
    return !store.childKeys().isEmpty() || !store.childGroups().isEmpty();
}

} // namespace platform
