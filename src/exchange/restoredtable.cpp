#include "exchange/restoredtable.h"

#include "database/lessons.h"
#include "database/paradoxconversion.h"
#include "database/vocabularytable.h"
#include "engine/schema.h"
#include "engine/schemaguard.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QStringList>
#include <memory>
#include <sqlite3.h>

namespace {

const QByteArray& engineSignature() {
    static const QByteArray signature("SQLite format 3\0", 16);
    return signature;
}

QString damagedTable(const QString& shownName) {
    return QStringLiteral("Die Tabelle \"%1\" in der Sicherung ist beschädigt und wird nicht "
                          "zurückgesichert.")
        .arg(shownName);
}

// The first column of every row the statement gives, as text.
bool firstColumn(sqlite3* db, const char* sql, QStringList& rows) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return false;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
    return rc == SQLITE_DONE;
}

// Whether the file is a table of this program's engine (an SQLite file) at
// all, judged by its first bytes.
bool looksLikeEngineTable(const QString& path) {
    QFile file;
    return platform::openRegularFile(file, path) && file.read(16) == engineSignature();
}

} // namespace

QString RestoredTableProblem(const QString& path, const QString& shownName) {
    if (!looksLikeEngineTable(path))
        return QStringLiteral("Die Sicherung enthält eine Tabelle in einem Format, das hier nicht "
                              "gelesen werden kann.");
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
    if (opened != SQLITE_OK) return damagedTable(shownName);
    // Nothing the file's schema holds runs during the checks, and a file
    // holding more than the program creates is refused before them.
    engine::detail::guardConnection(raw);
    auto foreign = engine::detail::ForeignObject::None;
    if (engine::detail::findForeignObject(raw, &foreign) != SQLITE_OK)
        return damagedTable(shownName);
    if (foreign != engine::detail::ForeignObject::None)
        return QStringLiteral("Die Tabelle \"%1\" in der Sicherung ist keine Vokabeltabelle "
                              "dieses Programms (sie enthält %2) und wird nicht zurückgesichert.")
            .arg(shownName, engine::detail::foreignObjectText(foreign));
    QStringList verdict;
    if (!firstColumn(raw, "PRAGMA integrity_check", verdict) ||
        verdict != QStringList(QStringLiteral("ok")))
        return damagedTable(shownName);
    QStringList fields;
    const QByteArray info =
        QByteArray("SELECT name FROM pragma_table_info('") + engine::detail::tableName + "')";
    if (!firstColumn(raw, info.constData(), fields)) return damagedTable(shownName);
    for (const QString& field : VokabelFieldNames())
        if (!fields.contains(field, Qt::CaseInsensitive))
            return QStringLiteral("Die Tabelle \"%1\" in der Sicherung ist keine Vokabeltabelle "
                                  "dieses Programms (es fehlt das Feld \"%2\") und wird nicht "
                                  "zurückgesichert.")
                .arg(shownName, field);
    return QString();
}

QString RestoredFileSizeProblem(const QString& name, quint64 size) {
    if (size > quint64(MaxTableFileSize))
        return QStringLiteral("Die Datei \"%1\" in der Sicherung ist zu groß für eine "
                              "Vokabeldatenbank.")
            .arg(name);
    if (name.endsWith(QLatin1String(".lst"), Qt::CaseInsensitive) &&
        size > quint64(MaxLessonListBytes))
        return LessonListTooLargeMessage(name);
    return QString();
}
