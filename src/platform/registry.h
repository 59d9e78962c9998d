#pragma once
// The registry of the original platform is an INI file here, with the same
// key paths and value names. A full key path starts with its root
// ("HKEY_LOCAL_MACHINE\Software\Orvitec\Orvilex").
#include <QString>
#include <functional>

class QSettings;

namespace platform {

// Root of a key path as the program numbers them: 0 for an unknown root.
int registryRoot(const QString& fullKey);

// The string value, or an empty string when the key, the value or the root is missing.
QString readRegistryString(const QString& fullKey, const QString& valueName);
bool writeRegistryString(const QString& fullKey, const QString& valueName, const QString& value);
bool registryKeyExists(const QString& fullKey);

// Changes the registry file whole or not at all. QSettings reports success
// after a short write on a full disk, so `change` works on a copy, which is
// read back and compared before it replaces the file (platform/safefile.h).
bool changeRegistry(const std::function<void(QSettings&)>& change);

// The INI file that holds the registry (default: the user's configuration folder).
QString registryFile();
void setRegistryFile(const QString& path);

} // namespace platform
