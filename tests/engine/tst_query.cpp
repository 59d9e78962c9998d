// Query objects on a table file: the table the program creates, live results
// with their cursor and record buffer, and what happens when other statements
// change, delete or replace rows and files underneath.
#include "engine/query.h"
#include "engine/tablefacts.h"
#include "support/filesizelimit.h"
#include "support/testfiles.h"
#include "testtable.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sqlite3.h>

using engine::EngineError;
using engine::Query;
using testtable::column;
using testtable::exec;
using testtable::select;
using testtable::word;

namespace {

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EngineError& e) {
        return e.message();
    }
    return {};
}

} // namespace

class QueryTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QString path_;

    // A table with `count` words in lesson 001A1, named w1, w2, ...
    void fill(int count, const QString& lesson = "001A1") {
        Query query;
        query.setSql({select(path_)});
        query.open();
        engine::Transaction transaction(path_);
        for (int i = 1; i <= count; ++i) {
            query.append();
            query.setValue("Lektion", lesson);
            query.setValue("Fremdwort", QStringLiteral("w%1").arg(i));
            query.post();
        }
        transaction.commit();
    }

    void openLesson(Query& query, const QString& lesson = "001A1") {
        query.setSql({select(path_, "WHERE Lektion = " + engine::quoteLiteral(lesson))});
        query.open();
    }

    QVariantList words() { return column(select(path_), "Fremdwort"); }

  private slots:
    void init() {
        path_ = dir_.filePath(QStringLiteral("%1.ol").arg(QTest::currentTestFunction()));
        testtable::create(path_);
    }

    void cleanup() { engine::releaseTable(path_); }

    void createdTableHasTheDeclaredLayout() {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(path_), &db, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        sqlite3_stmt* info = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA table_info(VokabelTable)", -1, &info, nullptr);
        QStringList layout;
        while (sqlite3_step(info) == SQLITE_ROW)
            layout << QStringLiteral("%1 %2 %3 %4")
                          .arg(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)),
                               reinterpret_cast<const char*>(sqlite3_column_text(info, 2)))
                          .arg(sqlite3_column_int(info, 3))
                          .arg(reinterpret_cast<const char*>(sqlite3_column_text(info, 4)));
        sqlite3_finalize(info);
        sqlite3_close(db);
        QCOMPARE(layout.size(), 20);
        QCOMPARE(layout[0], QStringLiteral("ID INTEGER 0 "));
        QCOMPARE(layout[2], QStringLiteral("Fremdwort CHAR(100) 1 ''"));
        QCOMPARE(layout[12], QStringLiteral("Wortart SMALLINT 1 0"));
        QCOMPARE(layout[19], QStringLiteral("Abgefragt BOOLEAN 1 0"));

        Query query;
        openLesson(query);
        QCOMPARE(query.fieldNames().size(), 20);
        QCOMPARE(query.fieldWidth("uebersetzung"), 150);
        QCOMPARE(query.fieldWidth("Wortart"), 0);
        QVERIFY(query.isEmpty() && query.eof() && query.bof());
        QCOMPARE(query.recNo(), -1);
        QVERIFY(!QFile::exists(path_ + "-journal"));
    }

    void createTableReplacesTableAndClosesItsQueries() {
        fill(3);
        Query open;
        openLesson(open);
        QSignalSpy closed(&open, &Query::closed);
        testtable::create(path_);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!open.isActive());
        QCOMPARE(words(), QVariantList{});
        fill(1);
        QCOMPARE(column(select(path_), "ID"), QVariantList{1}); // a new table counts from 1

        QFile garbage(dir_.filePath("garbage.ol"));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a table at all, just some bytes of an old file");
        garbage.close();
        QVERIFY(errorOf([&] {
                    column(select(garbage.fileName()), "ID");
                }).startsWith("Die Datei ist keine gültige Tabelle"));
        testtable::create(garbage.fileName());
        QCOMPARE(column(select(garbage.fileName()), "ID"), QVariantList{});
        engine::releaseTable(garbage.fileName());

        // A FIFO is no table and is never waited for; a new table replaces it.
        FifoGuard fifos;
        const QString pipe = dir_.filePath("pipe.ol");
        fifos.make(pipe);
        QVERIFY(!errorOf([&] { column(select(pipe), "ID"); }).isEmpty());
        testtable::create(pipe);
        QCOMPARE(column(select(pipe), "ID"), QVariantList{});
        engine::releaseTable(pipe);
        QVERIFY(!fifos.waitedFor());
    }

    void missingFileOrFolderIsAnErrorAndCreatesNothing() {
        const QString missing = dir_.filePath("missing.ol");
        QCOMPARE(errorOf([&] { column(select(missing), "ID"); }),
                 QStringLiteral("Tabelle nicht gefunden: %1").arg(missing));
        QVERIFY(errorOf([&] {
                    exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 1").arg(missing));
                }).startsWith("Tabelle nicht gefunden"));
        QVERIFY(!QFile::exists(missing));
        const QString noFolder = dir_.filePath("nofolder/new.ol");
        QVERIFY(errorOf([&] { testtable::create(noFolder); }).contains("Ordner"));
        QVERIFY(!QFile::exists(dir_.filePath("nofolder")));
        // A table the disk has no room for leaves no empty file behind.
        const QString full = dir_.filePath("full.ol");
        {
            FileSizeLimit limit(100);
            QVERIFY(!errorOf([&] { testtable::create(full); }).isEmpty());
        }
        QVERIFY(!QFile::exists(full));
        QVERIFY(!QFile::exists(full + "-journal"));
    }

    void valuesFieldsAndConversions() {
        Query query;
        openLesson(query);
        query.insertRecord(word("001A1", "Haus", "das Haus\r\ndie Hütte", 7, 2, true));
        QCOMPARE(query.value("ID"), QVariant(qint64(1)));
        QCOMPARE(query.value("fremdwort"), QVariant(QStringLiteral("Haus")));
        QCOMPARE(query.value("Anzahl_Abfragen"), QVariant(7));
        QCOMPARE(query.value("Letzte_Gewusst"), QVariant(true));
        QCOMPARE(query.asString("Letzte_gewusst"), QStringLiteral("True"));
        QCOMPARE(query.asString("Abgefragt"), QStringLiteral("False"));
        QCOMPARE(query.asString("Wortart"), QStringLiteral("14"));
        QCOMPARE(query.asInteger("Fremdwort"), 0);
        QCOMPARE(query.asBoolean("Anzahl_Abfragen"), true);
        QCOMPARE(query.asString("Uebersetzung"), QStringLiteral("das Haus\r\ndie Hütte"));
        QCOMPARE(errorOf([&] { query.value("Nothing"); }),
                 QStringLiteral("Feld 'Nothing' nicht gefunden."));
        QVERIFY(!errorOf([&] { query.setValue("ID", 5); }).isEmpty());

        query.setValue("Abgefragt", "True");
        query.setValue("Versuche", "3");
        query.setValue("Genus", "masculinum");
        query.post();
        QCOMPARE(query.value("Abgefragt"), QVariant(true));
        QCOMPARE(query.value("Versuche"), QVariant(3));
        QCOMPARE(query.value("Genus"), QVariant(QStringLiteral("mascu")));
        QVERIFY(!errorOf([&] { query.setValue("Versuche", "drei"); }).isEmpty());
        QCOMPARE(query.state(), Query::State::Browse); // a refused value starts no edit
    }

    // Values another tool may store where the program writes text: a BLOB, or
    // text that is no UTF-8, reads as its 8-bit bytes; the different values
    // of a field are found whatever their kind, each once; and a rewrite
    // stores them as text in one statement.
    void valuesStoredAsNoText() {
        fill(1);
        execOnFile(path_, "INSERT INTO VokabelTable (Lektion, Fremdwort) VALUES "
                          "(x'3030314131', x'e4'), (CAST(x'ff4131' AS TEXT), CAST(x'fc' AS TEXT))");
        QCOMPARE(words(), QVariantList({"w1", "ä", "ü"}));
        bool allText = true;
        {
            Deadline deadline(10, "the walk along the lesson index");
            QCOMPARE(engine::distinctValues(path_, "Lektion", &allText),
                     QStringList({"001A1", "ÿA1", "001A1"}));
        }
        QVERIFY(!allText);
        QCOMPARE(engine::distinctValues(path_, "Fremdwort", &allText),
                 QStringList({"w1", "ü", "ä"}));
        QVERIFY(!allText);

        const engine::ValueRewrite asText = [](const QString& text) { return text; };
        QCOMPARE(engine::countRewrites(path_, "Lektion", asText), 2);
        QCOMPARE(engine::rewriteValues(path_, "Lektion", asText), 2);
        QCOMPARE(engine::distinctValues(path_, "Lektion", &allText), QStringList({"001A1", "ÿA1"}));
        QVERIFY(allText);
        QCOMPARE(column(select(path_, "WHERE Lektion = \"001A1\""), "Fremdwort"),
                 QVariantList({"w1", "ä"}));
        QCOMPARE(engine::rewriteValues(path_, "Lektion", asText), 0);
    }

    void cursorMovesLikeADataSet() {
        fill(4);
        Query query;
        openLesson(query);
        QSignalSpy scrolled(&query, &Query::scrolled);
        QCOMPARE(query.recNo(), 0);
        QVERIFY(query.bof() && !query.eof());
        query.next();
        query.next();
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("w3"));
        QVERIFY(!query.bof() && !query.eof());
        query.last();
        QVERIFY(query.eof());
        query.next();
        QCOMPARE(query.recNo(), 3);
        QCOMPARE(query.moveBy(-10), -3);
        QVERIFY(query.bof());
        query.prior();
        QCOMPARE(query.recNo(), 0);
        QCOMPARE(query.moveBy(2), 2);
        query.setRecNo(99);
        QCOMPARE(query.recNo(), 3);
        QVERIFY(query.locate(2));
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("w2"));
        QVERIFY(!query.locate(42));
        QCOMPARE(query.recNo(), 1);
        QCOMPARE(scrolled.count(), 7);
    }

    void insertEditPostCancelDelete() {
        fill(3);
        Query query;
        openLesson(query);
        QSignalSpy rows(&query, &Query::rowsChanged);
        query.next(); // w2

        query.insert();
        QCOMPARE(query.state(), Query::State::Insert);
        QCOMPARE(query.recordCount(), 4);
        QCOMPARE(query.recNo(), 1);
        QCOMPARE(query.value("Wortart"), QVariant(0));
        QCOMPARE(query.value("Letzte_gewusst"), QVariant(false));
        QCOMPARE(query.currentId(), 0);
        query.cancel();
        QCOMPARE(query.recordCount(), 3);
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("w2"));

        // Leaving an untouched new record drops it; a typed one is stored.
        query.insert();
        query.next();
        QCOMPARE(query.recordCount(), 3);
        query.append();
        query.setValue("Fremdwort", "neu");
        query.setValue("Lektion", "001A1");
        query.first();
        QCOMPARE(query.recordCount(), 4);
        QCOMPARE(words(), (QVariantList{"w1", "w2", "w3", "neu"}));

        query.setValue("Fremdwort", "erstes");
        QCOMPARE(query.state(), Query::State::Edit);
        QVERIFY(query.isModified());
        QCOMPARE(query.valueAt(0, query.fieldIndex("Fremdwort")), QVariant("erstes"));
        query.cancel();
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("w1"));
        query.edit();
        query.setValue("Fremdwort", "erstes");
        query.post();
        QCOMPARE(query.state(), Query::State::Browse);

        query.setRecNo(1);
        query.deleteRecord();
        QCOMPARE(query.recNo(), 1);
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("w3"));
        query.last();
        query.deleteRecord();
        QCOMPARE(query.recNo(), 1);
        QCOMPARE(words(), (QVariantList{"erstes", "w3"}));
        QVERIFY(rows.count() >= 6);
    }

    void newRecordsJoinTheResultInKeyOrder() {
        fill(2);
        Query query;
        openLesson(query);
        // The main window's way to empty a lesson of one word: a blank word
        // is inserted, posted by the move back, and the old one deleted.
        query.setSql({select(path_, "WHERE ID = 1")});
        query.open();
        query.insert();
        query.setValue("Lektion", "001A1");
        query.setValue("Wortart", 14);
        query.prior();
        QCOMPARE(query.currentId(), 1);
        query.deleteRecord();
        QCOMPARE(query.recordCount(), 1);
        QCOMPARE(query.currentId(), 3);
        QCOMPARE(query.asInteger("Wortart"), 14);

        // Typing into an empty result starts a new record.
        query.setSql({select(path_, "WHERE Lektion = \"999Z9\"")});
        query.open();
        query.setValue("Lektion", "999Z9");
        QCOMPARE(query.state(), Query::State::Insert);
        query.post();
        QCOMPARE(query.recordCount(), 1);

        // Descending key order puts the new record first.
        query.setSql({select(path_, "ORDER BY ID DESC")});
        query.open();
        query.last();
        query.insertRecord(word("001A1", "oben"));
        QCOMPARE(query.recNo(), 0);
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("oben"));
    }

    void postFindsTheRowByKeyAndOldValues() {
        fill(2);
        Query mine;
        openLesson(mine);
        mine.setValue("Fremdwort", "meins");
        // Another statement changes a field this edit does not touch: no conflict.
        exec(QStringLiteral("UPDATE \"%1\" SET Extra = \"Notiz\" WHERE ID = 1").arg(path_));
        mine.post();
        QCOMPARE(column(select(path_, "WHERE ID = 1"), "Extra"), QVariantList{"Notiz"});

        mine.setValue("Fremdwort", "wieder meins");
        exec(QStringLiteral("UPDATE \"%1\" SET Fremdwort = \"fremd\" WHERE ID = 1").arg(path_));
        QCOMPARE(errorOf([&] { mine.post(); }),
                 QStringLiteral("Datensatz wurde von einem anderen Benutzer geändert."));
        QCOMPARE(mine.state(), Query::State::Edit);
        QCOMPARE(mine.asString("Fremdwort"), QStringLiteral("wieder meins"));
        QVERIFY(!errorOf([&] { mine.next(); }).isEmpty());
        QCOMPARE(mine.recNo(), 0);
        mine.cancel();
        QCOMPARE(mine.asString("Fremdwort"), QStringLiteral("fremd"));

        mine.next();
        mine.setValue("Fremdwort", "zu spät");
        exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 2").arg(path_));
        QVERIFY(errorOf([&] { mine.post(); }).contains("gelöscht"));
    }

    void liveResultKeepsTheKeysItSelected() {
        fill(3);
        Query walker;
        openLesson(walker);
        int steps = 0;
        for (walker.first(); !walker.eof() && steps < 10; walker.next(), ++steps)
            exec(QStringLiteral("INSERT INTO \"%1\" (Lektion, Fremdwort) VALUES (\"001A1\", %2)")
                     .arg(path_, engine::quoteLiteral("copy of " + walker.asString("Fremdwort"))));
        QCOMPARE(steps, 3);
        QCOMPARE(walker.recordCount(), 3);

        // The copy loop of the search: note the key, insert, locate, go on.
        const int count = walker.recordCount();
        walker.first();
        for (int i = 0; i < count; ++i) {
            const qint64 id = walker.currentId();
            QVariantList values = word("002A1", walker.asString("Fremdwort"));
            walker.insertRecord(values);
            QVERIFY(walker.locate(id));
            walker.next();
        }
        QCOMPARE(walker.recordCount(), 6);
        QCOMPARE(column(select(path_, "WHERE Lektion = \"002A1\""), "Fremdwort"),
                 (QVariantList{"w1", "w2", "w3"}));
    }

    void rowsChangedElsewhereReadFresh() {
        fill(3);
        Query query;
        openLesson(query);
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("w1"));
        QSignalSpy refreshed(&query, &Query::refreshed);
        exec(QStringLiteral("UPDATE \"%1\" SET Fremdwort = \"neu\" WHERE ID = 1").arg(path_));
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("neu"));
        exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 2").arg(path_));
        QCOMPARE(query.recordCount(), 3);
        QCOMPARE(query.valueAt(1, query.fieldIndex("Fremdwort")), QVariant());
        query.next();
        QCOMPARE(query.asString("Fremdwort"), QString());
        QCOMPARE(query.asInteger("Wortart"), 0);
        QVERIFY(refreshed.wait(1000));
    }

    void largeResultIsFetchedLazily() {
        Query query;
        query.setSql({select(path_)});
        query.open();
        {
            engine::Transaction transaction(path_);
            for (int i = 0; i < 20000; ++i)
                query.insertRecord(word(QStringLiteral("%1A1").arg(i % 200, 3, 10, QChar('0')),
                                        QStringLiteral("wort%1").arg(i)));
            transaction.commit();
        }
        QCOMPARE(query.recordCount(), 20000);
        QCOMPARE(query.valueAt(12345, query.fieldIndex("Fremdwort")), QVariant("wort12345"));
        openLesson(query, "007A1");
        QCOMPARE(query.recordCount(), 100);
        query.last();
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("wort19807"));
        int visited = 0;
        for (query.first(); !query.eof(); query.next())
            visited += query.asString("Lektion") == "007A1";
        QCOMPARE(visited, 100);
    }

    void releaseTableStoresEditsAndClosesQueries() {
        fill(2);
        Query editing;
        Query browsing;
        openLesson(editing);
        openLesson(browsing);
        QSignalSpy closed(&browsing, &Query::closed);
        editing.setValue("Fremdwort", "getippt");
        engine::releaseTable(path_);
        QVERIFY(!editing.isActive() && !browsing.isActive());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(words(), (QVariantList{"getippt", "w2"}));
        engine::releaseTable(path_);
        QVERIFY(QFile::remove(path_));
        QVERIFY(errorOf([&] { browsing.open(); }).startsWith("Tabelle nicht gefunden"));
        testtable::create(path_);
        QCOMPARE(words(), QVariantList{});
    }

    void fileReplacedBehindTheEnginesBack() {
        fill(1);
        const QString other = dir_.filePath("other.ol");
        testtable::create(other);
        exec(QStringLiteral("INSERT INTO \"%1\" (Fremdwort) VALUES (\"anderes\")").arg(other));
        engine::releaseTable(other);
        Query query;
        openLesson(query, "");
        QVERIFY(QFile::remove(path_));
        QVERIFY(QFile::copy(other, path_));
        QCOMPARE(words(), QVariantList{"anderes"});
        QVERIFY(!query.isActive());
    }

    // Another copy of the program sorted the table: it wrote a new file, with
    // new keys, and renamed it over this one while this query stayed open on
    // the old file. `change` runs on the new file before it takes the place.
    void replaceAsAnotherProgram(const QString& change = QString()) {
        const QString fresh = dir_.filePath("fresh.tmp");
        QFile::remove(fresh);
        QVERIFY(QFile::copy(path_, fresh));
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(fresh).constData(), &other), SQLITE_OK);
        QCOMPARE(
            sqlite3_exec(other, "UPDATE VokabelTable SET ID = 100 - ID", nullptr, nullptr, nullptr),
            SQLITE_OK);
        if (!change.isEmpty())
            QCOMPARE(sqlite3_exec(other, change.toUtf8().constData(), nullptr, nullptr, nullptr),
                     SQLITE_OK);
        sqlite3_close(other);
        QCOMPARE(
            ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path_).constData()),
            0);
    }

    void editAfterTheTableWasReplaced() {
        fill(3);
        Query query;
        openLesson(query);
        query.next();
        replaceAsAnotherProgram();
        // The edit reaches the same word in the new file.
        query.setValue("Fremdwort", "getippt");
        query.post();
        QCOMPARE(words(), (QVariantList{"w3", "getippt", "w1"}));
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("getippt"));
        QCOMPARE(query.currentId(), 98);
        QCOMPARE(query.recordCount(), 3);

        // So does a new word, and a deletion.
        replaceAsAnotherProgram();
        query.append();
        query.setValue("Fremdwort", "neu");
        query.setValue("Lektion", "001A1");
        query.post();
        QCOMPARE(words().size(), 4);
        QVERIFY(words().contains("neu"));
        replaceAsAnotherProgram();
        query.first();
        const QString first = query.asString("Fremdwort");
        query.deleteRecord();
        QVERIFY(!words().contains(first));
        QCOMPARE(words().size(), 3);
    }

    void replacedTableWithoutTheEditedWord() {
        fill(2);
        Query query;
        openLesson(query);
        replaceAsAnotherProgram("UPDATE VokabelTable SET Fremdwort = 'anders' WHERE ID = 99");
        query.setValue("Fremdwort", "getippt");
        const QString error = errorOf([&] { query.post(); });
        QVERIFY2(error.contains("wurde von einem anderen Programm geändert"), qPrintable(error));
        QVERIFY(!error.contains("schreibgeschützt"));
        // Nothing typed is lost: it waits as a new word of the new file.
        QVERIFY(query.isActive());
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("getippt"));
        query.post();
        QCOMPARE(words(), (QVariantList{"w2", "anders", "getippt"}));

        // A table that is gone keeps the edit where it is.
        query.first();
        query.setValue("Fremdwort", "bleibt");
        QVERIFY(QFile::remove(path_));
        const QString gone = errorOf([&] { query.post(); });
        QVERIFY2(gone.contains("gelöscht oder verschoben"), qPrintable(gone));
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("bleibt"));
        query.cancel();
        query.close();
        testtable::create(path_);
    }

    void transactionsAreAllOrNothing() {
        fill(3);
        {
            engine::Transaction transaction(path_);
            exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 1").arg(path_));
            Query query;
            openLesson(query);
            query.setValue("Fremdwort", "geändert");
            query.post();
            QCOMPARE(words(), (QVariantList{"geändert", "w3"}));
        }
        QCOMPARE(words(), (QVariantList{"w1", "w2", "w3"}));

        {
            engine::Transaction outer(path_);
            exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 1").arg(path_));
            {
                engine::Transaction inner(path_);
                exec(QStringLiteral("DELETE FROM \"%1\" WHERE ID = 2").arg(path_));
            }
            outer.commit();
        }
        QCOMPARE(words(), (QVariantList{"w2", "w3"}));

        // A failing statement inside a batch: the caller's error, the file unchanged.
        try {
            engine::Transaction transaction(path_);
            exec(QStringLiteral("UPDATE \"%1\" SET Fremdwort = \"x\"").arg(path_));
            exec(QStringLiteral("UPDATE \"%1\" SET Wortart = \"keine Zahl\"").arg(path_));
            transaction.commit();
            QFAIL("no error");
        } catch (const EngineError&) {
        }
        QCOMPARE(words(), (QVariantList{"w2", "w3"}));
    }

    void readOnlyResult() {
        fill(1);
        Query query;
        query.setRequestLive(false);
        openLesson(query);
        QVERIFY(query.isActive() && !query.canModify());
        QCOMPARE(errorOf([&] { query.edit(); }),
                 QStringLiteral("Die Datenmenge kann nicht bearbeitet werden."));
        QVERIFY(!errorOf([&] { query.setValue("Fremdwort", "x"); }).isEmpty());
        QVERIFY(!errorOf([&] { query.insert(); }).isEmpty());
        QCOMPARE(query.recordCount(), 1);
    }

    void closingNeverLosesATypedWord() {
        fill(1);
        Query query;
        openLesson(query);
        query.setValue("Fremdwort", "getippt");
        query.close();
        QCOMPARE(words(), QVariantList{"getippt"});

        openLesson(query);
        query.setValue("Fremdwort", "nochmal");
        exec(QStringLiteral("UPDATE \"%1\" SET Fremdwort = \"anders\"").arg(path_));
        QVERIFY(!errorOf([&] { query.close(); }).isEmpty());
        QVERIFY(query.isActive());
        QCOMPARE(query.asString("Fremdwort"), QStringLiteral("nochmal"));
        query.cancel();

        // Changing the statement closes the query, storing the edit.
        query.setValue("Fremdwort", "zuletzt");
        query.clearSql();
        QVERIFY(!query.isActive());
        QCOMPARE(words(), QVariantList{"zuletzt"});
    }

    // A table file holds the program's table, its key counter and its lesson
    // index. One whose schema carries more (a trigger or view that acts on
    // the words, an index on an expression, another table) is refused whole:
    // nothing of it runs and the file stays as it is. Without it, the table
    // opens with its words.
    void tableCarryingSqlOfItsOwnIsRefused() {
        fill(3);
        engine::releaseTable(path_);
        const struct {
            const char* add;
            const char* drop;
            const char* found;
        } carried[] = {
            {"CREATE TRIGGER t AFTER UPDATE ON VokabelTable BEGIN DELETE FROM VokabelTable; END",
             "DROP TRIGGER t", "einen Trigger"},
            {"CREATE VIEW v AS SELECT * FROM VokabelTable", "DROP VIEW v", "eine Sicht"},
            {"CREATE INDEX x ON VokabelTable (abs(Wortart))", "DROP INDEX x",
             "einen weiteren Index"},
            {"CREATE TABLE Notizen (Text)", "DROP TABLE Notizen", "eine weitere Tabelle"},
        };
        const auto rawExec = [&](const char* sql) {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(path_).constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        };
        const auto bytes = [&] {
            QFile file(path_);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        for (const auto& c : carried) {
            rawExec(c.add);
            const QByteArray before = bytes();
            QCOMPARE(errorOf([&] {
                         exec(QStringLiteral("UPDATE \"%1\" SET Fremdwort = \"x\" WHERE ID = 1")
                                  .arg(path_));
                     }),
                     QStringLiteral("Die Tabelle \"%1\" ist keine Vokabeltabelle dieses "
                                    "Programms (sie enthält %2) und wird nicht geöffnet.")
                         .arg(path_, c.found));
            QCOMPARE(bytes(), before);
            rawExec(c.drop);
        }
        QCOMPARE(words(), (QVariantList{"w1", "w2", "w3"}));
        QCOMPARE(
            exec(QStringLiteral("UPDATE \"%1\" SET Fremdwort = \"x\" WHERE ID = 1").arg(path_)), 1);
        QCOMPARE(words(), (QVariantList{"x", "w2", "w3"}));
    }

    void openAndExecuteKeepToTheirStatements() {
        Query query;
        query.setSql({QStringLiteral("DELETE FROM \"%1\" WHERE ID = 1").arg(path_)});
        QVERIFY(!errorOf([&] { query.open(); }).isEmpty());
        QVERIFY(!query.isActive());
        query.setSql({select(path_)});
        QCOMPARE(query.execSql(), 0);
        QVERIFY(!query.isActive());
        query.open();
        query.open(); // already open: nothing happens
        QVERIFY(query.isActive());
        QVERIFY(QFileInfo(query.tablePath()).isAbsolute());
    }
};

QTEST_GUILESS_MAIN(QueryTest)
#include "tst_query.moc"
