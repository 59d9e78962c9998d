#include "database/databasefiles.h"

#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "engine/query.h"
#include "platform/codec.h"
#include "platform/folders.h"
#include "platform/mounts.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

DatabaseListing ListDatabases(const QString& root) {
    DatabaseListing listing;
    QDir dir(platform::normalizePath(root));
    // The folders are read only where their file system answers.
    if (!platform::askFileSystem(dir.path()).answered()) return listing;
    QStringList folders;
    for (const QString& folder :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        folders << dir.filePath(folder);
    for (const QString& path : platform::foldersThatAnswer(folders)) {
        const QString folder = QFileInfo(path).fileName();
        QDir language(path);
        const QStringList files = language.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString& file : files) {
            const QString suffix = QFileInfo(file).suffix().toLower();
            if (suffix != QLatin1String("ol") && suffix != QLatin1String("db")) continue;
            listing.dbnames << language.filePath(file);
            listing.titles << file;
            listing.namenliste << folder + QLatin1Char('/') + file;
        }
    }
    return listing;
}

QString VocabularyRoot() {
    if (GeneralOptions.rbVVCustom && !CustomVocabularyDir.isEmpty()) return CustomVocabularyDir;
    return WorkDir;
}

TablePathParts SplitTablePath(const QString& tablePath) {
    const QString path = platform::normalizePath(tablePath);
    TablePathParts parts;
    parts.extension = path.right(3);
    if (!parts.extension.startsWith(QLatin1Char('.')))
        parts.extension = QLatin1Char('.') + QFileInfo(path).suffix();
    parts.base = path.left(path.size() - parts.extension.size());
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    parts.folder = path.left(slash + 1);
    parts.name = parts.base.mid(slash + 1);
    return parts;
}

bool BelongsToAnotherDatabase(const QString& found, const TablePathParts& parts) {
    const QString name = QFileInfo(found).fileName().left(parts.name.size());
    if (name == parts.name) return false;
    return QFileInfo::exists(parts.folder + name + QStringLiteral(".ol")) ||
           QFileInfo::exists(parts.folder + name + QStringLiteral(".db"));
}

QString DatabaseCompanionPath(const QString& databaseBase, const QString& ending) {
    const QFileInfo base(platform::normalizePath(databaseBase));
    const QString name = base.fileName() + QLatin1Char('.') + ending;
    const QString found = platform::findCaseInsensitive(base.path(), name);
    const TablePathParts parts = SplitTablePath(base.filePath() + QStringLiteral(".ol"));
    if (BelongsToAnotherDatabase(found, parts)) return QDir(base.path()).filePath(name);
    return found;
}

bool DeleteDatabaseFiles(const QString& tablePath) {
    const TablePathParts parts = SplitTablePath(tablePath);
    // The quiz files of the database are named after its language, which
    // only its options record knows.
    TDatabaseOptionsRec options;
    const bool haveLanguage = options.load(DatabaseOptionsFile(parts.base));
    const QString language = CheckedDatabaseLanguage(options.Language, parts.base);
    QStringList files{platform::normalizePath(tablePath), parts.base + QStringLiteral(".px"),
                      parts.base + QStringLiteral(".lst"), parts.base + QStringLiteral(".opt")};
    if (haveLanguage && !language.isEmpty()) {
        const QString stem = parts.name + language;
        for (const char* ending : {".lab", "aw.dat", "aw2.dat"})
            files << platform::dataFile(stem + QLatin1String(ending));
    }
    engine::releaseTable(tablePath);
    bool ok = true;
    for (const QString& file : files) {
        const QString found =
            platform::findCaseInsensitive(QFileInfo(file).path(), QFileInfo(file).fileName());
        if (BelongsToAnotherDatabase(found, parts)) continue;
        if (QFileInfo::exists(found) && !QFile::remove(found)) ok = false;
    }
    return ok;
}

const QString& ForbiddenNameCharacters() {
    static const QString characters = QStringLiteral("./\\:*?\"<>|");
    return characters;
}

QString ForbiddenCharactersMessage() {
    QString list;
    for (QChar c : ForbiddenNameCharacters()) {
        if (!list.isEmpty()) list += QLatin1Char(' ');
        list += c;
    }
    return QStringLiteral("Der Name enhält unzulässige Zeichen. Bitte korrigieren sie das. "
                          "Folgende Zeichen sind nicht erlaubt: ") +
           list;
}

namespace {
QString CheckName(const QString& name, int maxLength) {
    if (name.trimmed().isEmpty()) return QStringLiteral("Bitte erst gültigen Namen eingeben");
    for (QChar c : name)
        if (ForbiddenNameCharacters().contains(c) || c.unicode() < 32)
            return ForbiddenCharactersMessage();
    if (name.size() > maxLength)
        return QStringLiteral("Der Name ist zu lang (höchstens %1 Zeichen).").arg(maxLength);
    return QString();
}

QString programFolderMessage() {
    return QStringLiteral("Der Name ist einem Ordner des Programms vorbehalten.");
}
} // namespace

QString CheckDatabaseName(const QString& name) {
    return CheckName(name, MaxDatabaseNameLength);
}

QString CheckTypedName(const QString& name) {
    const QString problem = CheckDatabaseName(name);
    if (!problem.isEmpty()) return problem;
    if (platform::codec::fromBytes(platform::codec::toBytes(name)) != name)
        return QStringLiteral("Der Name enthält Zeichen, die Orvilex nicht speichern kann.");
    return QString();
}

QString CheckTypedLanguage(const QString& language) {
    QString problem = CheckTypedName(language);
    if (problem.isEmpty() && IsProgramFolderName(language))
        problem = programFolderMessage();
    if (problem.isEmpty()) return QString();
    return QStringLiteral("„%1“ kann nicht die Sprache der Datenbank sein.\n\n").arg(language) +
           problem;
}

bool IsUsableNameFromFile(const QString& name) {
    return CheckName(name, MaxNameFromFileLength).isEmpty();
}

bool IsProgramFolderName(const QString& name) {
    return name.compare(QLatin1String("data"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("backup"), Qt::CaseInsensitive) == 0;
}

QString CheckLanguageFromFile(const QString& name) {
    if (IsProgramFolderName(name)) return programFolderMessage();
    return CheckName(name, MaxNameFromFileLength);
}

bool IsUsableLanguageFromFile(const QString& name) {
    return CheckLanguageFromFile(name).isEmpty();
}

QString CheckedDatabaseLanguage(const QString& language, const QString& databaseBase,
                                QString* message) {
    if (language.isEmpty() || IsUsableLanguageFromFile(language)) return language;
    // The database lies in the folder named after its language.
    const QString base = platform::normalizePath(databaseBase);
    const QString folderLanguage = QFileInfo(base).absoluteDir().dirName();
    if (message)
        *message = QStringLiteral("Die Sprache \"%1\" in der Datei \"%2\" kann nicht als "
                                  "Ordnername verwendet werden. Es wird die Sprache des "
                                  "Datenbankordners verwendet: \"%3\".")
                       .arg(language, QDir::toNativeSeparators(base + QStringLiteral(".opt")),
                            folderLanguage);
    return folderLanguage;
}
