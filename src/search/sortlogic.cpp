#include "search/sortlogic.h"

#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "engine/tablefacts.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/safefile.h"
#include "quiz/accentstripping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace sorting {

namespace {

QString upperAscii(const QString& text) {
    QString upper = text;
    for (QChar& c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
    return upper;
}

bool isLowerAscii(QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z'); }

// Latin letter of the "Greek" font layout → letter whose byte order follows
// the Greek alphabet.
QChar transliterate(QChar upper) {
    static const char from[] = "ABGDEZHQIKLMNXOPRSJTUFCYW";
    static const char to[] = "abcdefghijklmnopqrstuvwxy";
    for (int i = 0; from[i]; ++i)
        if (upper == QLatin1Char(from[i])) return QLatin1Char(to[i]);
    return upper;
}

// Splits a table path into base and extension as the program names its files.
void splitPath(const QString& path, QString* base, QString* extension) {
    if (path.size() >= 3 && path.at(path.size() - 3) == QLatin1Char('.')) {
        *base = path.left(path.size() - 3);
        *extension = path.right(3);
    } else {
        *base = path;
        *extension = QStringLiteral(".db");
    }
}

struct Fields {
    int lektion = -1, fremdwort = -1, uebersetzung = -1, extra = -1, genitiv = -1, wortart = -1,
        anzahl = -1, falsch = -1, id = -1;
    explicit Fields(const QStringList& names) {
        const auto find = [&](const char* name) {
            for (int i = 0; i < names.size(); ++i)
                if (names.at(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return i;
            return -1;
        };
        id = find("ID");
        lektion = find("Lektion");
        fremdwort = find("Fremdwort");
        uebersetzung = find("Uebersetzung");
        extra = find("Extra");
        genitiv = find("Genitiv");
        wortart = find("Wortart");
        anzahl = find("Anzahl_Abfragen");
        falsch = find("Falsche_Antworten");
    }
};

QString text(const WordRecord& word, int column) {
    return column >= 0 && column < word.size() ? word.at(column).toString() : QString();
}
int number(const WordRecord& word, int column) {
    return column >= 0 && column < word.size() ? word.at(column).toInt() : 0;
}

int keyColumn(const Fields& f, int key) {
    switch (key) {
    case KeyUebersetzung: return f.uebersetzung;
    case KeyExtra: return f.extra;
    default: return f.fremdwort;
    }
}

// The text a section title is made of.
QString sortKeyText(const WordRecord& word, const Fields& f, int key) {
    switch (key) {
    case KeyWortart: {
        const int code = number(word, f.wortart);
        // A code outside the list would have no name; its number keeps the
        // run going and the title readable.
        const QString name = code >= WordClassMin && code <= WordClassMax
                                 ? WordClassNames().at(code - 1)
                                 : QString::number(code);
        return TrimSortKey(name);
    }
    case KeyStatistik: {
        const int value = StatisticsValue(number(word, f.anzahl), number(word, f.falsch));
        return QString::number(int(std::nearbyint(value / 2.0))) +
               QStringLiteral("% nicht gewusst");
    }
    default:
        return TrimSortKey(text(word, keyColumn(f, key)));
    }
}

QString sectionTitle(const QString& first, const QString& last) {
    return first == last ? first : first + QStringLiteral(" bis ") + last;
}

bool removeIfExists(const QString& path) { return !QFile::exists(path) || QFile::remove(path); }

// Gives a file a second name: a hard link, or a copy where the file system
// has none.
bool secondName(const QString& path, const QString& other) {
    return ::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()) == 0 ||
           platform::copyWholeFile(path, other);
}

// Puts `source` in the place of `target` at once: a rename replaces the
// target atomically; across file systems a whole copy does.
bool replaceWith(const QString& source, const QString& target) {
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    if (!platform::copyWholeFile(source, target)) return false;
    QFile::remove(source); // a leftover goes at the next start
    return true;
}

} // namespace

int LessonSizeOfItem(int item) {
    static const int sizes[] = {0, 5, 10, 15, 20, 25, 30, 40, 50, 70, 100, 150, 200};
    if (item < 0 || item >= int(std::size(sizes))) return 20;
    return sizes[item];
}

QString GreekSortKey(const QString& word, bool codepage1253) {
    QString s = codepage1253 ? greekaccents::ak3konv(word) : greekaccents::akkonvTable(word);
    QString marked = word;
    if (s.size() >= 4) {
        if (s.startsWith(QLatin1String("o "))) {
            s.remove(0, 2);
            marked = QStringLiteral("_1") + word;
        } else if (s.startsWith(QLatin1String("h "))) {
            s.remove(0, 2);
            marked = QStringLiteral("_2") + word;
        } else if (s.startsWith(QLatin1String("to "))) {
            s.remove(0, 3);
            marked = QStringLiteral("_3") + word;
        }
    }
    if (s.size() >= 2) {
        if (QStringLiteral("\"'`(-.<").contains(s.at(0))) s.remove(0, 1);
        marked = QStringLiteral("_0") + marked;
    }
    QString t;
    t.reserve(s.size());
    for (const QChar c : s) {
        QChar mapped = transliterate(upperAscii(QString(c)).at(0));
        if (!isLowerAscii(c)) mapped = upperAscii(QString(mapped)).at(0);
        t += mapped;
    }
    return QLatin1Char('{') + t + marked + QLatin1Char('}');
}

QString TrimSortKey(const QString& text) {
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    qsizetype cut = -1;
    if (lf >= 0) cut = lf;
    if (cr >= 0 && (cut < 0 || cr < cut)) cut = cr;
    return cut < 0 ? text : text.left(cut);
}

int StatisticsValue(int anzahlAbfragen, int falscheAntworten) {
    return int(std::nearbyint(falscheAntworten / (anzahlAbfragen + 0.0001) * 200));
}

void SortWords(QList<WordRecord>& words, const QStringList& fieldNames,
               const SortOptions& options) {
    const Fields f(fieldNames);
    struct Keyed {
        QByteArray text;
        int value = 0;
        qsizetype index = 0;
    };
    const bool numeric = options.key == KeyWortart || options.key == KeyStatistik;
    QList<Keyed> keys;
    keys.reserve(words.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        const WordRecord& word = words.at(i);
        Keyed k;
        k.index = i;
        if (options.key == KeyWortart)
            k.value = number(word, f.wortart);
        else if (options.key == KeyStatistik)
            k.value = StatisticsValue(number(word, f.anzahl), number(word, f.falsch));
        else if (options.key == KeyFremdwort && options.greek)
            k.text = platform::codec::toBytes(GreekSortKey(text(word, f.fremdwort), options.codepage1253) +
                                    text(word, f.genitiv));
        else
            k.text = platform::codec::toBytes(text(word, keyColumn(f, options.key)));
        keys << k;
    }
    const auto less = [numeric](const Keyed& a, const Keyed& b) {
        return numeric ? a.value < b.value : a.text < b.text;
    };
    if (options.descending)
        std::stable_sort(keys.begin(), keys.end(),
                         [&](const Keyed& a, const Keyed& b) { return less(b, a); });
    else
        std::stable_sort(keys.begin(), keys.end(), less);
    QList<WordRecord> sorted;
    sorted.reserve(words.size());
    for (const Keyed& k : keys)
        sorted << std::move(words[k.index]);
    words = std::move(sorted);
}

Division DivideIntoLessons(const QList<WordRecord>& words, const QStringList& fieldNames,
                           const SortOptions& options) {
    const Fields f(fieldNames);
    Division division;
    const int size = options.lessonSize;
    int count = size;
    int section = 0;
    QString code, first, previous;
    bool open = false;
    for (const WordRecord& word : words) {
        ++count;
        bool opens = size > 0 && count >= size;
        const QString key = sortKeyText(word, f, options.key);
        if (size == 0) {
            if (options.key <= KeyExtra) {
                opens = upperAscii(key.left(1)) != upperAscii(previous.left(1));
                if (opens && options.greek && options.key == KeyFremdwort &&
                    upperAscii(GreekSortKey(key, options.codepage1253).mid(1, 1)) ==
                        upperAscii(GreekSortKey(previous, options.codepage1253).mid(1, 1)))
                    opens = false;
            } else {
                opens = key != previous;
            }
        }
        if (!open) opens = true;
        if (opens) {
            if (open) division.listLines << code + sectionTitle(first, previous);
            ++section;
            code = (QString::number(section) + QStringLiteral("A1"))
                       .rightJustified(LessonCodeLength, QLatin1Char('0'));
            count = 0;
            first = key;
            open = true;
        }
        division.codes << code;
        previous = key;
    }
    if (open) division.listLines << code + sectionTitle(first, previous);
    return division;
}

SortOutcome SortTable(const QString& tablePath, const SortOptions& options,
                      const WordCopyProgress& progress) {
    SortOutcome outcome;
    QString base, extension;
    splitPath(tablePath, &base, &extension);
    const QString work = options.workBase + extension;

    RemoveWorkFiles(options.workBase);
    engine::releaseTable(tablePath);
    QList<WordRecord> words;
    QStringList fieldNames;
    {
        // Every word is read, an empty foreign word included.
        engine::Query reader;
        reader.setRequestLive(false);
        reader.setSql({QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(tablePath))});
        reader.open();
        fieldNames = reader.fieldNames();
        const int rows = reader.recordCount();
        const int columns = fieldNames.size();
        words.reserve(rows);
        for (int row = 0; row < rows; ++row) {
            WordRecord word;
            word.reserve(columns);
            for (int column = 0; column < columns; ++column)
                word << reader.valueAt(row, column);
            words << word;
        }
        reader.close();
    }
    const Fields f(fieldNames);

    SortWords(words, fieldNames, options);
    Division division;
    if (options.full) {
        division = DivideIntoLessons(words, fieldNames, options);
        if (division.listLines.size() > 999) {
            outcome.error = QStringLiteral(
                "Die Vokabeln ergäben mehr als 999 Lektionen. Bitte eine größere "
                "Lektionengröße wählen. Die Datenbank wurde nicht verändert.");
            return outcome;
        }
    }

    const QString backupTable = options.backupBase + extension;
    if (options.backup) {
        if (options.backupBase.isEmpty()) {
            outcome.error = QStringLiteral("Bitte einen Namen für die Sicherungskopie eingeben.");
            return outcome;
        }
        if (QFile::exists(backupTable)) {
            outcome.error = QStringLiteral("Die Sicherungskopie \"") +
                            QDir::toNativeSeparators(backupTable) +
                            QStringLiteral("\" ist schon vorhanden. Bitte einen anderen Namen "
                                           "wählen. Die Datenbank wurde nicht verändert.");
            return outcome;
        }
    }

    // The new table, written completely before anything else is touched.
    const qint32 stamp = NewLessonListStamp();
    try {
        engine::Query writer;
        CreateVocabularyTable(writer, work);
        writer.setRequestLive(true);
        writer.setSql({QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(work)),
                       QStringLiteral("WHERE ID = 0")});
        writer.open();
        if (progress.start) progress.start(int(words.size()));
        engine::Transaction transaction(work);
        const QStringList workFields = writer.fieldNames();
        QList<int> columns;
        for (const QString& name : workFields)
            columns << int(fieldNames.indexOf(name));
        for (qsizetype i = 0; i < words.size(); ++i) {
            const WordRecord& word = words.at(i);
            QVariantList values;
            values.reserve(workFields.size());
            for (int k = 0; k < workFields.size(); ++k) {
                if (k == 0 || columns[k] < 0 ||
                    workFields[k].compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
                    values << QVariant();
                else if (options.full &&
                         workFields[k].compare(QLatin1String("Lektion"), Qt::CaseInsensitive) == 0)
                    values << division.codes.at(i);
                else
                    values << word.at(columns[k]);
            }
            writer.insertRecord(values);
            if (progress.advance) progress.advance(int(i + 1));
        }
        // The stamp that ties the new table to its new lesson list.
        if (options.full) engine::setTableStamp(work, stamp);
        transaction.commit();
        writer.close();
        engine::Query check;
        check.setRequestLive(false);
        check.setSql({QStringLiteral("SELECT * FROM ") + engine::quoteLiteral(ShortPath(work))});
        check.open();
        const int written = check.recordCount();
        check.close();
        if (written != words.size())
            throw platform::Error(QStringLiteral("Die sortierte Tabelle ist unvollständig."));
    } catch (const platform::Error& error) {
        engine::releaseTable(work);
        removeIfExists(work);
        if (progress.finish) progress.finish();
        outcome.error = error.message() + QStringLiteral("\nDie Datenbank wurde nicht verändert.");
        return outcome;
    }
    engine::releaseTable(work);
    if (progress.finish) progress.finish();

    // The swap: the old file first gets the backup name too (a second name
    // for the same file, or a copy), with the old list and options beside it;
    // the new lesson list is written to wait beside the table; then the new
    // file replaces the table in one step. The table's path never stands
    // empty, and a table never goes without the list that belongs to it, even
    // when the program is stopped in between.
    const QString failed = QStringLiteral("Die sortierte Tabelle konnte nicht gespeichert werden. "
                                          "Die Datenbank wurde nicht verändert.");
    QStringList madeForBackup; // files of the backup copy this run made
    const auto undo = [&] {
        for (const QString& file : madeForBackup)
            QFile::remove(file);
        removeIfExists(work);
        if (options.full) DropPendingLessonList(tablePath, stamp);
    };
    if (options.backup) {
        QDir().mkpath(QFileInfo(backupTable).absolutePath());
        if (!secondName(tablePath, backupTable)) {
            undo();
            outcome.error = QStringLiteral("Die Sicherungskopie \"") +
                            QDir::toNativeSeparators(backupTable) +
                            QStringLiteral("\" konnte nicht angelegt werden. Die Datenbank "
                                           "wurde nicht verändert.");
            return outcome;
        }
        madeForBackup << backupTable;
        // Companions of an older copy under the same name are kept.
        for (const char* ending : {".lst", ".opt"}) {
            const QString copy = options.backupBase + ending;
            if (!QFile::exists(copy) && platform::copyIfMissing(base + ending, copy))
                madeForBackup << copy;
        }
    }
    // The new sections replace the lessons; lines of the old list that name
    // no lesson stay in the file.
    QStringList listLines = division.listLines;
    if (options.full) {
        LessonList old;
        old.load(LessonListPath(base));
        listLines = old.otherLines() + listLines;
        QString listError;
        if (!WritePendingLessonList(LessonList(listLines), tablePath, stamp, &listError)) {
            undo();
            outcome.error = listError + QStringLiteral("\r\nDie Datenbank wurde nicht verändert.");
            return outcome;
        }
    }
    if (!replaceWith(work, tablePath)) {
        undo();
        outcome.error = failed;
        return outcome;
    }
    if (options.stopAfterSwap && options.stopAfterSwap()) return outcome;
    if (options.full) CommitPendingLessonList(tablePath, stamp, &outcome.listError);
    const QString px = base + QStringLiteral(".px");
    if (options.backup) {
        if (QFile::exists(px)) QFile::rename(px, options.backupBase + QStringLiteral(".px"));
    } else {
        removeIfExists(px);
    }
    removeIfExists(options.workBase + QStringLiteral(".px"));

    outcome.done = true;
    outcome.words = int(words.size());
    outcome.listLines = listLines;
    return outcome;
}

SortOutcome SortOpenDatabase(engine::Query& Query, LessonList& list, const SortOptions& options,
                             const WordCopyProgress& progress) {
    Query.close();
    Query.clearSql();
    SortOutcome outcome;
    try {
        outcome = SortTable(CurrentTablePath, options, progress);
    } catch (...) {
        ReopenLessonQuery(Query);
        throw;
    }
    if (outcome.done && options.full) {
        list.setLines(outcome.listLines);
        // The list waits beside the table and is put in place at the next
        // opening; until then it is written as any list is, and a failure is
        // reported.
        if (!outcome.listError.isEmpty()) {
            QString base, extension;
            splitPath(CurrentTablePath, &base, &extension);
            SaveLessonList(list, LessonListPath(base));
        }
    }
    if (outcome.done)
        CurrentLessonCode = list.isEmpty() ? FirstLessonCode : list.at(0).left(LessonCodeLength);
    Query.setRequestLive(true);
    ReopenLessonQuery(Query);
    return outcome;
}

QString WorkTableBase() {
    return QDir(WorkDir).filePath(QStringLiteral("tempsort"));
}

void RemoveWorkFiles(const QString& workBase) {
    if (workBase.isEmpty()) return;
    for (const char* table : {".ol", ".db"})
        engine::releaseTable(workBase + QLatin1String(table));
    for (const char* ext : {".ol", ".db", ".px", ".opt", ".lst", ".ol-journal", ".db-journal"})
        removeIfExists(workBase + QLatin1String(ext));
}

QString BackupBase(const QString& name) {
    return QDir(WorkDir).filePath(CurrentLanguage + QLatin1Char('/') + name);
}

QString FreeBackupName(const QString& name) {
    QString free = name;
    while (QFile::exists(BackupBase(free) + QStringLiteral(".lst")))
        free += QLatin1Char('_');
    return free;
}

} // namespace sorting
