// Sorting and re-division on real tables: every word survives with all its
// fields, lessons are formed and titled as asked, and a refused or failed run
// leaves the database as it was.
#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "search/sortlogic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using sorting::SortOptions;

namespace {

struct Word {
    QString lesson, fremdwort, uebersetzung;
    int wortart = 14, anzahl = 0, falsch = 0, versuche = 0;
    QString genitiv = QString();
};

QList<QStringList> rows(const QString& table) {
    engine::Query q;
    q.setRequestLive(false);
    q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
    q.open();
    QList<QStringList> result;
    for (q.first(); !q.eof(); q.next()) {
        QStringList fields;
        for (const QString& name : q.fieldNames())
            if (name.compare("ID", Qt::CaseInsensitive) != 0) fields << q.asString(name);
        result << fields;
    }
    return result;
}

// Lektion and Fremdwort of every row, in key order.
QStringList lessonsAndWords(const QString& table) {
    QStringList out;
    for (const QStringList& row : rows(table))
        out << row.at(0) + ":" + row.at(1);
    return out;
}

// Every field but ID and Lektion, sorted: the words as a multiset.
QStringList contents(const QString& table) {
    QStringList out;
    for (const QStringList& row : rows(table))
        out << row.mid(1).join("|");
    out.sort();
    return out;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestSort : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<engine::Query> query;

    void makeDatabase(const QList<Word>& words) {
        QDir().mkpath(folder->filePath("db"));
        CurrentDatabaseBase = folder->filePath("db/Wörter");
        CurrentDatabaseName = "Wörter";
        CurrentTablePath = CurrentDatabaseBase + ".ol";
        query = std::make_unique<engine::Query>();
        CreateVocabularyTable(*query, CurrentTablePath);
        {
            engine::Transaction transaction(CurrentTablePath);
            engine::Query q;
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath), "WHERE ID = 0"});
            q.open();
            for (const Word& w : words)
                q.insertRecord(
                    {QVariant(), w.lesson, w.fremdwort, w.uebersetzung, "",    "",        "",
                     "",         "",       "",          w.genitiv,      "",    w.wortart, "",
                     3,          w.anzahl, w.falsch,    w.versuche,     false, false});
            q.close();
            transaction.commit();
        }
        QStringList lines;
        for (const Word& w : words)
            if (!LessonExists(LessonList(lines), w.lesson)) lines << w.lesson + "Alt";
        baumlist.setLines(lines);
        QVERIFY(baumlist.save(CurrentDatabaseBase + ".lst"));
        CurrentLessonCode = baumlist.isEmpty() ? FirstLessonCode : baumlist.at(0).left(5);
        ReopenLessonQuery(*query);
    }

    SortOptions options(bool full, int key, int size = 20) {
        SortOptions o;
        o.full = full;
        o.key = key;
        o.lessonSize = size;
        o.backup = false;
        o.workBase = QDir(WorkDir).filePath("tempsort");
        return o;
    }

  private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        WorkDir = folder->filePath("work");
        QDir().mkpath(WorkDir);
        CurrentLanguage = "Latein";
        platform::setMessageBoxHandler(
            [](const platform::MessageBoxRequest&) { return platform::Answer::Ok; });
    }
    void cleanup() {
        query.reset();
        engine::releaseTable(CurrentTablePath);
        platform::setMessageBoxHandler({});
    }

    void keysAndSizes() {
        QCOMPARE(sorting::GreekSortKey("o logos", false), QString("{kocor_0_1o logos}"));
        QCOMPARE(sorting::GreekSortKey("Logos", false), QString("{Kocor_0Logos}"));
        QCOMPARE(sorting::GreekSortKey("(a", false), QString("{a_0(a}"));
        QCOMPARE(sorting::TrimSortKey("eins\r\nzwei"), QString("eins"));
        QCOMPARE(sorting::TrimSortKey("eins\nzwei\rdrei"), QString("eins"));
        QCOMPARE(sorting::StatisticsValue(20, 7), 70);
        QCOMPARE(sorting::StatisticsValue(0, 0), 0);
        QCOMPARE(sorting::LessonSizeOfItem(0), 0);
        QCOMPARE(sorting::LessonSizeOfItem(1), 5);
        QCOMPARE(sorting::LessonSizeOfItem(9), 70);
        QCOMPARE(sorting::LessonSizeOfItem(12), 200);
    }

    void internalSortKeepsLessons() {
        makeDatabase({{"002A1", "d", "", 3, 1, 1, 4},
                      {"001A1", "b", "", 2},
                      {"002A1", "c", "", 1},
                      {"001A1", "a", "", 5},
                      {"001A1", "", "leer", 1}});
        const QStringList before = contents(CurrentTablePath);
        const QStringList listBefore = baumlist.lines();
        const auto outcome =
            sorting::SortOpenDatabase(*query, baumlist, options(false, sorting::KeyWortart));
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(outcome.words, 5);
        // The word without a foreign word is kept too.
        QCOMPARE(contents(CurrentTablePath), before);
        QCOMPARE(lessonsAndWords(CurrentTablePath),
                 QStringList({"002A1:c", "001A1:", "001A1:b", "002A1:d", "001A1:a"}));
        QCOMPARE(baumlist.lines(), listBefore);
        QCOMPARE(CurrentLessonCode, QString("001A1"));
        QCOMPARE(query->recordCount(), 3);
        QVERIFY(!QFile::exists(CurrentTablePath + ".alt"));
        QVERIFY(!QFile::exists(QDir(WorkDir).filePath("tempsort.ol")));
    }

    void fullSortIntoFixedLessonsWithBackup() {
        QList<Word> words;
        for (int i = 23; i >= 1; --i)
            words << Word{"005B2", QString("w%1").arg(i, 2, 10, QChar('0')), "t"};
        makeDatabase(words);
        // A line that names no lesson stays in the list the sort writes.
        QCOMPARE(baumlist.add("Verben"), -1);
        QVERIFY(baumlist.save(CurrentDatabaseBase + ".lst"));
        const QStringList before = contents(CurrentTablePath);
        SortOptions o = options(true, sorting::KeyFremdwort, 10);
        o.backup = true;
        o.backupBase = sorting::BackupBase(sorting::FreeBackupName(CurrentDatabaseName));
        const auto outcome = sorting::SortOpenDatabase(*query, baumlist, o);
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(baumlist.lines(),
                 QStringList({"001A1w01 bis w10", "002A1w11 bis w20", "003A1w21 bis w23"}));
        LessonList saved;
        QVERIFY(saved.load(CurrentDatabaseBase + ".lst"));
        QCOMPARE(saved.lines(), baumlist.lines());
        QCOMPARE(saved.otherLines(), QStringList({"Verben"}));
        QCOMPARE(baumlist.otherLines(), QStringList({"Verben"}));
        QCOMPARE(contents(CurrentTablePath), before);
        const QStringList sorted = lessonsAndWords(CurrentTablePath);
        QCOMPARE(sorted.first(), QString("001A1:w01"));
        QCOMPARE(sorted.at(10), QString("002A1:w11"));
        QCOMPARE(sorted.last(), QString("003A1:w23"));
        QCOMPARE(query->recordCount(), 10);

        // The backup holds the old table and list.
        const QString backup = QDir(WorkDir).filePath("Latein/Wörter");
        QCOMPARE(contents(backup + ".ol"), before);
        QCOMPARE(lessonsAndWords(backup + ".ol").first(), QString("005B2:w23"));
        QVERIFY(QFile::exists(backup + ".lst"));
        QCOMPARE(sorting::FreeBackupName("Wörter"), QString("Wörter_"));
        engine::releaseTable(backup + ".ol");

        // A taken backup name refuses the run before anything changes.
        const QStringList now = lessonsAndWords(CurrentTablePath);
        const auto refused = sorting::SortOpenDatabase(*query, baumlist, o);
        QVERIFY(!refused.done);
        QVERIFY(refused.error.contains("schon vorhanden"));
        QCOMPARE(lessonsAndWords(CurrentTablePath), now);
    }

    // A full sort stopped right after the new table took the old one's place
    // (the program killed there) still leaves the new table with its new
    // list: the next opening puts it in place, so no word lies in a lesson the
    // list does not name. A list left waiting by a run stopped before the swap
    // is dropped, and the old pair stays; so is one that a later save of the
    // list has overtaken.
    void fullSortStoppedAfterTheSwap() {
        QList<Word> words;
        for (int i = 1; i <= 12; ++i)
            words << Word{LessonCode(13 - i, QLatin1Char('A'), QLatin1Char('1')),
                          QString("w%1").arg(i, 2, 10, QChar('0')), "t"};
        makeDatabase(words);
        const QString list = CurrentDatabaseBase + ".lst";
        const QByteArray oldList = readAll(list);
        const auto databaseFiles = [] {
            return QDir(QFileInfo(CurrentTablePath).path())
                .entryList(QDir::Files | QDir::Hidden, QDir::Name);
        };
        SortOptions o = options(true, sorting::KeyFremdwort, 5);
        bool stopped = false;
        o.stopAfterSwap = [&] { return stopped = true; };
        sorting::SortTable(CurrentTablePath, o);
        QVERIFY(stopped);
        QCOMPARE(readAll(list), oldList);
        QCOMPARE(lessonsAndWords(CurrentTablePath).first(), QString("001A1:w01"));

        const QStringList sorted{"001A1w01 bis w05", "002A1w06 bis w10", "003A1w11 bis w12"};
        LessonList opened;
        QString message;
        LoadLessonListForOpening(opened, CurrentTablePath, &message);
        QCOMPARE(opened.lines(), sorted);
        QVERIFY(message.isEmpty());
        QCOMPARE(readAll(list), QByteArray("001A1w01 bis w05\r\n002A1w06 bis w10\r\n"
                                           "003A1w11 bis w12\r\n"));
        QCOMPARE(databaseFiles(), QStringList({"Wörter.lst", "Wörter.ol"}));

        QVERIFY(WritePendingLessonList(LessonList({"001A1Fremd"}), CurrentTablePath,
                                       NewLessonListStamp(), nullptr));
        QCOMPARE(databaseFiles().size(), 3);
        LoadLessonListForOpening(opened, CurrentTablePath, &message);
        QCOMPARE(opened.lines(), sorted);
        QCOMPARE(databaseFiles(), QStringList({"Wörter.lst", "Wörter.ol"}));

        // A list saved after the waiting one (the window's way when that one
        // could not be renamed, or the user's titles since) is the newer one.
        sorting::SortTable(CurrentTablePath, o);
        const QStringList titled{"001A1Eigene", "002A1", "003A1"};
        QVERIFY(SaveLessonList(LessonList(titled), list));
        LoadLessonListForOpening(opened, CurrentTablePath, &message);
        QCOMPARE(opened.lines(), titled);
        QCOMPARE(databaseFiles(), QStringList({"Wörter.lst", "Wörter.ol"}));
    }

    void statisticsAndIntuitiveSections() {
        makeDatabase({{"001A1", "a", "Axt", 14, 20, 7, 2},
                      {"001A1", "b", "tanne", 14, 10, 0},
                      {"001A1", "c", "Apfel\nObst", 14, 10, 10},
                      {"001A1", "d", "anker", 14, 20, 7, 1}});
        auto outcome = sorting::SortOpenDatabase(*query, baumlist, [&] {
            auto o = options(true, sorting::KeyStatistik, 0);
            o.descending = true;
            return o;
        }());
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(baumlist.lines(), QStringList({"001A1100% nicht gewusst", "002A135% nicht gewusst",
                                                "003A10% nicht gewusst"}));
        QCOMPARE(lessonsAndWords(CurrentTablePath),
                 QStringList({"001A1:c", "002A1:a", "002A1:d", "003A1:b"}));
        // The attempt counters are not touched by the statistics key.
        QStringList versuche;
        for (const QStringList& row : rows(CurrentTablePath))
            versuche << row.at(16);
        QCOMPARE(versuche, QStringList({"0", "2", "1", "0"}));

        // Sections by the first letter, without regard to case; the title
        // stops at the line break.
        outcome =
            sorting::SortOpenDatabase(*query, baumlist, options(true, sorting::KeyUebersetzung, 0));
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(baumlist.lines(), QStringList({"001A1Apfel bis anker", "002A1tanne"}));
    }

    void greekDatabaseSortsByTransliteration() {
        makeDatabase({{"001A1", "to dwron", "", 14, 0, 0, 0, "gen{x}"},
                      {"001A1", "o logos", "", 14, 0, 0, 0, "lo"},
                      {"001A1", "bios", "", 14, 0, 0, 0, ""}});
        auto o = options(false, sorting::KeyFremdwort);
        o.greek = true;
        const auto outcome = sorting::SortOpenDatabase(*query, baumlist, o);
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(lessonsAndWords(CurrentTablePath),
                 QStringList({"001A1:bios", "001A1:to dwron", "001A1:o logos"}));
        // The genitive keeps its own text, braces included.
        QCOMPARE(rows(CurrentTablePath).at(1).at(9), QString("gen{x}"));
    }

    void tooManyLessonsChangesNothing() {
        QList<Word> words;
        for (int i = 0; i < 5000; ++i)
            words << Word{"001A1", QString::number(i), "x"};
        makeDatabase(words);
        const QStringList before = lessonsAndWords(CurrentTablePath);
        const auto outcome =
            sorting::SortOpenDatabase(*query, baumlist, options(true, sorting::KeyFremdwort, 5));
        QVERIFY(!outcome.done);
        QVERIFY(outcome.error.contains("999"));
        QCOMPARE(lessonsAndWords(CurrentTablePath), before);
        QCOMPARE(baumlist.count(), 1);
    }

    void emptyTable() {
        makeDatabase({});
        const auto outcome =
            sorting::SortOpenDatabase(*query, baumlist, options(true, sorting::KeyFremdwort, 5));
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(outcome.words, 0);
        QCOMPARE(CurrentLessonCode, QString("001A1"));
    }

    // A sort stopped part-way (the program killed) leaves its work files in
    // WorkDir; they go at the next start and at the next sort. A journal left
    // beside the work table would otherwise be played into the next one.
    void leftoversOfAStoppedSortAreRemoved() {
        const QStringList leftovers{"tempsort.ol", "tempsort.ol-journal", "tempsort.lst",
                                    "tempsort.opt", "tempsort.px"};
        const auto leave = [&] {
            for (const QString& name : leftovers) {
                QFile file(QDir(WorkDir).filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("stopped");
            }
        };
        const auto remaining = [] { return QDir(WorkDir).entryList({"tempsort*"}, QDir::Files); };
        leave();
        QCOMPARE(sorting::WorkTableBase(), QDir(WorkDir).filePath("tempsort"));
        sorting::RemoveWorkFiles(sorting::WorkTableBase());
        QCOMPARE(remaining(), QStringList());

        makeDatabase({{"001A1", "b", "x"}, {"001A1", "a", "y"}});
        leave();
        const auto outcome =
            sorting::SortOpenDatabase(*query, baumlist, options(false, sorting::KeyFremdwort));
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        QCOMPARE(lessonsAndWords(CurrentTablePath), QStringList({"001A1:a", "001A1:b"}));
        QCOMPARE(remaining(), QStringList());
    }
};

QTEST_MAIN(TestSort)
#include "tst_sort.moc"
