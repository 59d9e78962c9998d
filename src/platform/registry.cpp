#include "platform/registry.h"

#include "platform/paths.h"

#include <QSettings>
#include <QStandardPaths>

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

} // namespace

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
    QSettings store(registryFile(), QSettings::IniFormat);
    return store.value(settingsGroup(fullKey) + QLatin1Char('/') + valueName).toString();
}

bool writeRegistryString(const QString& fullKey, const QString& valueName, const QString& value) {
    if (registryRoot(fullKey) == 0)
        return false;
    QSettings store(registryFile(), QSettings::IniFormat);
    store.setValue(settingsGroup(fullKey) + QLatin1Char('/') + valueName, value);
    store.sync();
    return store.status() == QSettings::NoError;
}

bool registryKeyExists(const QString& fullKey) {
    if (registryRoot(fullKey) == 0)
        return false;
    QSettings store(registryFile(), QSettings::IniFormat);
    store.beginGroup(settingsGroup(fullKey));
    return !store.childKeys().isEmpty() || !store.childGroups().isEmpty();
}

} // namespace platform
