#include "settings/databasesettings.h"

#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/recentdatabases.h"
#include "engine/query.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// The companions share the table's base name; this is also the order in which
// they move, the table first.
QStringList companionEndings(const QString& tableExtension) {
    return {tableExtension, QStringLiteral(".px"), QStringLiteral(".opt"), QStringLiteral(".lst")};
}

// The quiz files of a database carry its name and its language.
const QStringList& quizFileEndings() {
    static const QStringList endings{QStringLiteral(".lab"), QStringLiteral("aw.dat"),
                                     QStringLiteral("aw2.dat")};
    return endings;
}

QString dataFolder() {
    return platform::joinPath(WorkDir, QStringLiteral("data"));
}

QString withSlash(const QString& folder) {
    QString result = platform::normalizePath(folder);
    if (!result.endsWith(QLatin1Char('/'))) result += QLatin1Char('/');
    return result;
}

// The file of that name in the folder, found without regard to case as the
// rest of the program finds it, or "" when there is none.
QString existingFile(const QString& folder, const QString& name) {
    const QString path = platform::findCaseInsensitive(folder, name);
    return QFileInfo(path).isFile() ? path : QString();
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The files of the database as they lie on disk, each with the name it gets.
QList<DatabaseFileMove> databaseFiles(const DatabaseRelocation& r) {
    const TablePathParts parts = SplitTablePath(r.tablePath);
    const QString folder = withSlash(r.newFolder);
    QList<DatabaseFileMove> files;
    for (const QString& ending : companionEndings(parts.extension)) {
        const QString source = ending == parts.extension
                                   ? platform::normalizePath(r.tablePath)
                                   : existingFile(parts.folder, parts.name + ending);
        if (!source.isEmpty() && QFileInfo(source).isFile() &&
            !BelongsToAnotherDatabase(source, parts))
            files.append({source, folder + r.newName + ending});
    }
    if (!r.language.isEmpty()) {
        for (const QString& ending : quizFileEndings()) {
            const QString source = existingFile(dataFolder(), parts.name + r.language + ending);
            if (!source.isEmpty() && !BelongsToAnotherDatabase(source, parts))
                files.append(
                    {source, platform::joinPath(dataFolder(), r.newName + r.newLanguage + ending)});
        }
    }
    return files;
}

QString checkName(const QString& name, const QString& what) {
    const QString problem = CheckTypedName(name);
    if (problem.isEmpty()) return QString();
    return what.arg(name) + QStringLiteral("\n\n") + problem;
}

QString fileExistsMessage(const QString& path) {
    return QStringLiteral("Die Datenbank kann nicht umbenannt oder verschoben werden, weil es "
                          "die Datei „%1“ schon gibt. Es wird keine Datei überschrieben.")
        .arg(QDir::toNativeSeparators(path));
}

QList<DatabaseFileMove> reversed(const QList<DatabaseFileMove>& moves) {
    QList<DatabaseFileMove> back;
    for (auto it = moves.crbegin(); it != moves.crend(); ++it)
        back.append({it->target, it->source});
    return back;
}

void showError(const QString& text) {
    platform::showMessage(text, QStringLiteral("Fehler"), platform::Icon::Error);
}

// Replaces the recent-list entry of the old path by the new one at the front
// of the list; other entries keep their order.
void moveRecentEntry(const QString& oldPath, const QString& newPath, const QString& name,
                     const QString& language) {
    TGeneralOptionsRec stored = GeneralOptions;
    stored.load(GeneralOptionsFile()); // unreadable: the list in memory goes on
    int count = std::clamp(stored.RecentCount, 0, TGeneralOptionsRec::MaxRecent);
    for (int i = 0; i < count; ++i) {
        if (stored.Recent[i].Path != oldPath) continue;
        for (int k = i; k + 1 < count; ++k)
            stored.Recent[k] = stored.Recent[k + 1];
        stored.Recent[count - 1] = RecentDatabaseEntry{};
        --count;
        break;
    }
    stored.RecentCount = count;
    AddRecentEntry(stored, newPath, name, language);
    stored.save(GeneralOptionsFile()); // a failure is reported by save
    GeneralOptions.takeRecentFrom(stored);
    if (RecentDatabasesChanged) RecentDatabasesChanged();
}

} // namespace

QString LanguageFolderFor(const QString& tablePath, const QString& language) {
    QDir parent(SplitTablePath(tablePath).folder);
    QString root;
    if (parent.cdUp()) {
        for (const QString& candidate : {WorkDir, VocabularyRoot()}) {
            if (!candidate.isEmpty() && sameFile(parent.path(), candidate)) root = parent.path();
        }
    }
    if (root.isEmpty()) root = VocabularyRoot();
    return withSlash(platform::joinPath(root, language));
}

QList<DatabaseFileMove> PlanDatabaseRelocation(const DatabaseRelocation& relocation) {
    QList<DatabaseFileMove> moves;
    for (const DatabaseFileMove& file : databaseFiles(relocation)) {
        if (file.source != file.target) moves.append(file);
    }
    return moves;
}

QString CheckDatabaseRelocation(const DatabaseRelocation& r) {
    QString problem = checkName(r.newName, QStringLiteral("Die Datenbank kann nicht „%1“ heißen."));
    if (problem.isEmpty()) problem = CheckTypedLanguage(r.newLanguage);
    if (!problem.isEmpty()) return problem;
    if (!QFileInfo(platform::normalizePath(r.tablePath)).isFile())
        return QStringLiteral("Die Datenbank „%1“ wurde nicht gefunden.")
            .arg(QDir::toNativeSeparators(r.tablePath));

    const QList<DatabaseFileMove> own = databaseFiles(r);
    auto isOwn = [&own](const QString& path) {
        return std::any_of(own.cbegin(), own.cend(),
                           [&path](const DatabaseFileMove& f) { return sameFile(f.source, path); });
    };
    const QString folder = withSlash(r.newFolder);
    // Both table extensions: a second table of that name would share the
    // lesson list and the options record of the moved one.
    for (const char* ending : {".ol", ".db"}) {
        const QString found = existingFile(folder, r.newName + QLatin1String(ending));
        if (!found.isEmpty() && !isOwn(found))
            return QStringLiteral("Es gibt schon eine Datenbank „%1“ in der Sprache „%2“ (%3). "
                                  "Bitte wählen Sie einen anderen Namen.")
                .arg(r.newName, r.newLanguage, QDir::toNativeSeparators(found));
    }
    for (const char* ending : {".px", ".opt", ".lst"}) {
        const QString found = existingFile(folder, r.newName + QLatin1String(ending));
        if (!found.isEmpty() && !isOwn(found)) return fileExistsMessage(found);
    }
    for (const QString& ending : quizFileEndings()) {
        const QString found = existingFile(dataFolder(), r.newName + r.newLanguage + ending);
        if (!found.isEmpty() && !isOwn(found)) return fileExistsMessage(found);
    }
    return QString();
}

QString MoveDatabaseFiles(const QList<DatabaseFileMove>& moves) {
    for (int i = 0; i < moves.size(); ++i) {
        QFile file(moves[i].source);
        if (file.rename(moves[i].target)) continue;
        QString text =
            QStringLiteral("Die Datei „%1“ konnte nicht nach „%2“ verschoben werden:\n%3")
                .arg(QDir::toNativeSeparators(moves[i].source),
                     QDir::toNativeSeparators(moves[i].target), file.errorString());
        QStringList stuck;
        for (const DatabaseFileMove& back : reversed(moves.mid(0, i))) {
            if (!QFile::rename(back.source, back.target))
                stuck << QDir::toNativeSeparators(back.source);
        }
        if (stuck.isEmpty())
            text += QStringLiteral("\n\nDie Datenbank bleibt unverändert.");
        else
            text += QStringLiteral("\n\nDiese Dateien konnten nicht zurückverschoben werden:\n") +
                    stuck.join(QLatin1Char('\n'));
        return text;
    }
    return QString();
}

RelocationOutcome RenameDatabaseFiles(const QString& newName, const QString& newLanguage) {
    if (CurrentTablePath.isEmpty()) return RelocationOutcome::Unchanged;
    QString name = newName.trimmed();
    if (name.isEmpty()) name = CurrentDatabaseName;
    QString language = newLanguage.trimmed();
    if (language.isEmpty()) language = CurrentLanguage;
    if (name == CurrentDatabaseName && language == CurrentLanguage)
        return RelocationOutcome::Unchanged;

    const bool languageChanged = language != CurrentLanguage;
    const QString folder = languageChanged ? LanguageFolderFor(CurrentTablePath, language)
                                           : withSlash(CurrentDatabaseFolder);
    const DatabaseRelocation relocation{CurrentTablePath, CurrentLanguage, name, language, folder};
    const QString problem = CheckDatabaseRelocation(relocation);
    if (!problem.isEmpty()) {
        showError(problem);
        return RelocationOutcome::Refused;
    }
    const bool folderExisted = QFileInfo(folder).isDir();
    if (!platform::ensureFolder(folder)) {
        showError(QStringLiteral("Der Ordner „%1“ kann nicht angelegt werden.")
                      .arg(QDir::toNativeSeparators(folder)));
        return RelocationOutcome::Refused;
    }
    auto dropNewFolder = [&] {
        if (!folderExisted) QDir().rmdir(folder); // only when still empty
    };

    const QList<DatabaseFileMove> moves = PlanDatabaseRelocation(relocation);
    engine::releaseTable(CurrentTablePath);
    const QString failure = MoveDatabaseFiles(moves);
    if (!failure.isEmpty()) {
        showError(failure);
        dropNewFolder();
        return RelocationOutcome::Failed;
    }

    const QString newBase = folder + name;
    if (languageChanged) {
        // The record on disk is the one to keep; a database without one gets
        // the options in memory, so that its language is recorded.
        TDatabaseOptionsRec record = DatabaseOptions;
        const QString optionsPath = DatabaseOptionsFile(newBase);
        record.load(optionsPath);
        record.Language = language;
        if (!record.save(optionsPath)) { // reported by save
            const QString back = MoveDatabaseFiles(reversed(moves));
            if (!back.isEmpty()) showError(back);
            dropNewFolder();
            return RelocationOutcome::Failed;
        }
        DatabaseOptions.Language = record.Language;
    }

    const QString oldPath = CurrentTablePath;
    CurrentDatabaseName = name;
    CurrentLanguage = language;
    CurrentDatabaseFolder = folder;
    CurrentDatabaseBase = newBase;
    CurrentTablePath = newBase + CurrentExtension;
    if (!InterruptedQuizPath.isEmpty())
        InterruptedQuizPath =
            platform::joinPath(dataFolder(), CurrentDatabaseName + CurrentLanguage + ".lab");
    moveRecentEntry(oldPath, CurrentTablePath, CurrentDatabaseName, CurrentLanguage);
    return RelocationOutcome::Done;
}

const QString& NameFieldForbiddenCharacters() {
    static const QString characters = QStringLiteral("/\\+*?\"<>|");
    return characters;
}

QString NameFieldForbiddenMessage() {
    return QStringLiteral("Der Name der Datenbank darf keines des folgenden Zeichen enthalten: ") +
           NameFieldForbiddenCharacters();
}

NameFieldCleanup RemoveForbiddenNameCharacters(const QString& text, int caret) {
    NameFieldCleanup result{text, std::clamp(caret, 0, static_cast<int>(text.size())), 0};
    bool found = true;
    while (found) {
        found = false;
        for (QChar c : NameFieldForbiddenCharacters()) {
            const int at = result.text.indexOf(c);
            if (at < 0) continue;
            result.text.remove(at, 1);
            if (at < result.caret) --result.caret;
            ++result.removed;
            found = true;
            break;
        }
    }
    return result;
}
