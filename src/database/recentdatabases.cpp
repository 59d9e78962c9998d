#include "database/recentdatabases.h"

#include "database/generaloptions.h"
#include "platform/mounts.h"

#include <QFileInfo>
#include <algorithm>

std::function<void()> RecentDatabasesChanged;

namespace {
constexpr int MaxRecent = TGeneralOptionsRec::MaxRecent;
constexpr int FieldLength = TGeneralOptionsRec::StringCapacity;

int usedCount(const TGeneralOptionsRec& options) {
    return std::clamp(options.RecentCount, 0, MaxRecent);
}

void removeSlot(TGeneralOptionsRec& options, int index) {
    const int count = usedCount(options);
    for (int i = index; i + 1 < count; ++i)
        options.Recent[i] = options.Recent[i + 1];
    options.Recent[count - 1] = RecentDatabaseEntry{};
    options.RecentCount = count - 1;
}
} // namespace

QString RecentDisplayText(const QString& databaseName, const QString& language) {
    return databaseName + QStringLiteral(" [") + language + QLatin1Char(']');
}

QString RecentMenuCaption(int n, const QString& displayText) {
    QString text = displayText;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + QString::number(n) + QLatin1Char(' ') + text;
}

void AddRecentEntry(TGeneralOptionsRec& options, const QString& path, const QString& databaseName,
                    const QString& language) {
    options.RecentCount = usedCount(options);
    for (int i = 0; i < options.RecentCount; ++i) {
        if (options.Recent[i].Path == path) {
            removeSlot(options, i);
            break;
        }
    }
    if (options.RecentCount < MaxRecent) ++options.RecentCount;
    for (int i = options.RecentCount - 1; i > 0; --i)
        options.Recent[i] = options.Recent[i - 1];
    options.Recent[0] = RecentDatabaseEntry{
        path.left(FieldLength), RecentDisplayText(databaseName, language).left(FieldLength)};
}

int RemoveMissingRecentDatabases(TGeneralOptionsRec& options) {
    options.RecentCount = usedCount(options);
    // A database whose file system does not answer may well still be there.
    QStringList paths;
    for (int i = 0; i < options.RecentCount; ++i)
        paths << options.Recent[i].Path;
    const QList<platform::FileSystemAnswer> answers = platform::askFileSystems(paths);
    int removed = 0;
    for (int i = options.RecentCount - 1; i >= 0; --i) {
        if (answers.at(i).answered() && !QFileInfo(options.Recent[i].Path).isFile()) {
            removeSlot(options, i);
            ++removed;
        }
    }
    return removed;
}

QString RecentDatabasePath(int n) {
    if (n < 1 || n > usedCount(GeneralOptions)) return QString();
    return GeneralOptions.Recent[n - 1].Path;
}

bool AddRecentDatabase(const QString& path, const QString& databaseName, const QString& language) {
    TGeneralOptionsRec stored = GeneralOptions;
    stored.load(GeneralOptionsFile()); // unreadable: the list in memory goes on
    AddRecentEntry(stored, path, databaseName, language);
    const bool saved = stored.save(GeneralOptionsFile());
    GeneralOptions.takeRecentFrom(stored);
    if (RecentDatabasesChanged) RecentDatabasesChanged();
    return saved;
}
