#include "database/paradoxconversion.h"

#include "database/databasefiles.h"
#include "database/paradoxtable.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "engine/rowappender.h"
#include "platform/filemoves.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/safefile.h"
#include "platform/temporaryfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>
#include <cerrno>

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The table file mapped into memory: read where it lies, without a copy of
// its bytes (copying a big table costs more than converting it). The file
// is a staged copy of a restore or the table about to be converted, which
// nothing else writes meanwhile.
class MappedTable {
  public:
    MappedTable(const QString& path, const QString& shownName) {
        const auto unreadable = [&] {
            return platform::Error(
                QStringLiteral("Die Tabelle \"%1\" kann nicht gelesen werden.").arg(shownName));
        };
        if (!platform::openRegularFile(file_, path)) throw unreadable();
        const qint64 size = file_.size();
        if (size > MaxTableFileSize)
            throw ParadoxTableError(
                QStringLiteral("Die Tabelle \"%1\" ist zu groß für eine Vokabeltabelle und wird "
                               "nicht umgewandelt.")
                    .arg(shownName));
        if (size == 0) return;
        const uchar* mapped = file_.map(0, size);
        if (mapped) {
            bytes_ = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
            return;
        }
        bytes_ = file_.readAll();
        if (file_.error() != QFileDevice::NoError || bytes_.size() != size) throw unreadable();
    }
    const QByteArray& bytes() const { return bytes_; }

  private:
    QFile file_;
    QByteArray bytes_;
};

void fillTable(const QByteArray& paradox, const QString& tablePath, const QString& shownName,
               int* words) {
    engine::RowAppender rows(tablePath);
    QSet<qint64> keys;
    qint64 highest = 0;
    const ParadoxTableInfo info =
        ReadParadoxVocabulary(paradox, shownName, [&](const QVariantList& values) {
            const qint64 key = values.first().toLongLong();
            // Two records with one key: the primary index was broken.
            if (keys.contains(key))
                throw ParadoxTableError(
                    QStringLiteral("Die Tabelle \"%1\" im Format des früheren Programms "
                                   "(Paradox) ist beschädigt (ein Schlüssel kommt doppelt vor) "
                                   "und kann nicht umgewandelt werden.")
                        .arg(shownName));
            keys.insert(key);
            highest = qMax(highest, key);
            rows.append(values);
        });
    rows.reserveKeysUpTo(qMax(highest, info.autoIncrement));
    rows.commit();
    *words = info.records;
}

// The engine's messages name the file it writes, a hidden temporary one
// the user never saw: they name the table instead. Called inside a handler.
[[noreturn]] void rethrowNamingTheTable(const QString& writtenPath, const QString& shownName) {
    try {
        throw;
    } catch (const engine::EngineError& error) {
        const QString written =
            QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(writtenPath).absoluteFilePath()));
        // An empty path would be found between any two letters.
        if (writtenPath.isEmpty() || !error.message().contains(written)) throw;
        throw engine::EngineError(QString(error.message()).replace(written, shownName));
    }
}

} // namespace

int WriteConvertedTable(const QString& paradoxPath, const QString& tablePath,
                        const QString& shownName) {
    const MappedTable paradox(paradoxPath, shownName);
    int words = 0;
    try {
        {
            engine::Query create;
            CreateVocabularyTable(create, tablePath);
        }
        fillTable(paradox.bytes(), tablePath, shownName, &words);
        engine::releaseTable(tablePath);
    } catch (...) {
        try {
            engine::releaseTable(tablePath);
        } catch (const std::exception&) {
        }
        QFile::remove(tablePath);
        rethrowNamingTheTable(tablePath, shownName);
    }
    return words;
}

KeptParadoxFiles KeptParadoxNames(const QString& tablePath, const QString& indexPath) {
    const QString table = platform::normalizePath(tablePath);
    const QString index = platform::normalizePath(indexPath);
    for (int n = 1;; ++n) {
        const QString suffix =
            n == 1 ? QStringLiteral(".paradox") : QStringLiteral(".paradox-%1").arg(n);
        KeptParadoxFiles kept{table + suffix, index.isEmpty() ? QString() : index + suffix};
        if (!platform::entryExists(kept.table) &&
            (kept.index.isEmpty() || !platform::entryExists(kept.index)))
            return kept;
    }
}

QString ParadoxConversionNotice(const QString& tableFileName, const KeptParadoxFiles& kept) {
    QString text = QStringLiteral("Die Tabelle \"%1\" lag im Format des früheren Programms "
                                  "(Paradox) vor und wurde einmalig in das Format dieser "
                                  "Programmversion umgewandelt. Die ursprüngliche Tabelle bleibt "
                                  "unverändert als \"%2\"")
                       .arg(tableFileName, QFileInfo(kept.table).fileName());
    if (!kept.index.isEmpty())
        text += QStringLiteral(" (mit \"%1\")").arg(QFileInfo(kept.index).fileName());
    return text + QStringLiteral(" im selben Ordner erhalten.");
}

ParadoxConversion ConvertParadoxTableInPlace(const QString& tablePath) {
    ParadoxConversion result;
    const QString table = platform::normalizePath(tablePath);
    if (!IsParadoxTableFile(table)) return result;
    const QFileInfo info(table);
    const QString folder = info.absolutePath();
    const QString name = info.fileName();
    const auto cannotWrite = [&](const QString& cause) {
        return QStringLiteral("Die Tabelle \"%1\" muss umgewandelt werden, aber im Ordner \"%2\" "
                              "kann nicht geschrieben werden. %3")
            .arg(name, shown(folder), cause);
    };

    QTemporaryFile converted(platform::conversionTemporaryTemplate(folder, name));
    errno = 0;
    if (!converted.open()) {
        result.error = cannotWrite(platform::writeErrorText(errno ? errno : EIO));
        return result;
    }
    converted.close();
    // A file made without a name gets one only now; a file system that makes
    // such files but cannot name them leaves nothing to convert into.
    const QString convertedPath = converted.fileName();
    if (convertedPath.isEmpty()) {
        result.error = cannotWrite(platform::writeErrorText(EOPNOTSUPP));
        return result;
    }
    try {
        engine::releaseTable(table);
        WriteConvertedTable(table, convertedPath, name);
    } catch (const platform::Error& error) {
        result.error = error.message();
        return result;
    }

    const QString base = info.completeBaseName();
    const QString index = platform::findCaseInsensitive(folder, base + QStringLiteral(".px"));
    const bool withIndex =
        QFileInfo(index).isFile() && !BelongsToAnotherDatabase(index, SplitTablePath(table));
    const KeptParadoxFiles kept = KeptParadoxNames(table, withIndex ? index : QString());
    // The original is kept under its new name first (a second link, or a
    // copy), so the table's own name never stands empty: a program killed at
    // any point leaves either the old table or the converted one there.
    QString cause;
    if (!platform::addSecondName(table, kept.table, &cause)) {
        result.error = cannotWrite(cause);
        return result;
    }
    const auto fail = [&](int error) {
        QFile::remove(kept.table);
        result.error = cannotWrite(platform::writeErrorText(error));
        return result;
    };
    if (withIndex && !platform::renameNew(index, kept.index)) return fail(errno);
    platform::takePermissionsOf(convertedPath, kept.table);
    if (!platform::renameReplacing(convertedPath, table)) {
        const int error = errno;
        if (withIndex) platform::renameNew(kept.index, index);
        return fail(error);
    }
    converted.setAutoRemove(false);
    result.converted = true;
    result.notice = ParadoxConversionNotice(name, kept);
    return result;
}
