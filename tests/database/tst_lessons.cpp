#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "engine/tablefacts.h"
#include "platform/messagebox.h"
#include "support/filesizelimit.h"
#include "support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList nodeTexts(const LessonTree& tree) {
    QStringList texts;
    for (const LessonTreeNode& node : tree)
        texts << node.text;
    return texts;
}

QStringList childTexts(const LessonTreeNode& node) {
    QStringList texts;
    for (const LessonTreeChild& child : node.children)
        texts << child.text;
    return texts;
}

void addWord(engine::Query& query, const QString& lesson, const QString& foreign) {
    query.insert();
    WriteNewRecordValues(query, lesson);
    query.setValue(QStringLiteral("Fremdwort"), foreign);
    query.setValue(QStringLiteral("Uebersetzung"), foreign + QStringLiteral("-de"));
    query.post();
}

// The table of the current database with words of these lesson values, as
// another tool wrote them ("('001A1'), (x'30')"), and a list naming 001A1.
void makeTableWithLessonValues(const QByteArray& values, bool ownTable = true) {
    if (ownTable) {
        engine::Query create;
        CreateVocabularyTable(create, CurrentTablePath);
    }
    engine::releaseTable(CurrentTablePath);
    if (!values.isEmpty())
        execOnFile(CurrentTablePath, "INSERT INTO VokabelTable (Lektion) VALUES " + values);
    writeFile(LessonListPath(), "001A1Verben\r\n");
}

// Each word's lesson value in key order as the file holds it: its kind and
// SQLite's quoting of it ("text:'001A1'", "blob:X'3030'").
QStringList storedLessonValues(const QString& table) {
    QStringList values;
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    sqlite3_open(QFile::encodeName(table).constData(), &db);
    sqlite3_prepare_v2(db,
                       "SELECT typeof(Lektion) || ':' || quote(Lektion) FROM VokabelTable "
                       "ORDER BY ID",
                       -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW)
        values << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return values;
}

// The words of each lesson of the tree, as a click on it opens them:
// "Lektion 1 / A 1 [Verben]: 4".
QStringList wordsUnderTheTree(const LessonList& list) {
    QTreeWidget lekbaum;
    ConfigureLessonTree(&lekbaum);
    RebuildLessonTree(&lekbaum, list);
    QStringList shown;
    engine::Query query;
    for (int top = 0; top < lekbaum.topLevelItemCount(); ++top) {
        const QTreeWidgetItem* node = lekbaum.topLevelItem(top);
        for (int child = 0; child < node->childCount(); ++child) {
            CurrentLessonCode = LessonCodeFromNodeTexts(node->text(0), node->child(child)->text(0));
            ReopenLessonQuery(query);
            shown << node->text(0) + " / " + node->child(child)->text(0) + ": " +
                         QString::number(query.recordCount());
        }
    }
    return shown;
}

} // namespace

class TestLessons : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request.caption + QStringLiteral(": ") + request.text;
            return platform::Answer::Ok;
        });
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        CurrentDatabaseBase = folder->filePath(QStringLiteral("Caesar"));
        CurrentTablePath = CurrentDatabaseBase + QStringLiteral(".ol");
        CurrentLessonCode.clear();
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void codes() {
        QCOMPARE(NormalizeLessonNumber("7"), QStringLiteral("007"));
        QCOMPARE(NormalizeLessonNumber("12"), QStringLiteral("012"));
        QCOMPARE(NormalizeLessonNumber("123"), QStringLiteral("123"));
        QCOMPARE(LessonCode("7", "B", "2"), QStringLiteral("007B2"));
        QCOMPARE(LessonCode(1, 'A', '1'), QStringLiteral("001A1"));
        QCOMPARE(LessonCode(999, 'Z', '9'), QStringLiteral("999Z9"));
    }

    void treeFromListLines() {
        const LessonTree tree =
            BuildLessonTree(LessonList({"001A1Verben", "001B1", "010A2Zahlen"}));
        QCOMPARE(nodeTexts(tree), QStringList({"Lektion 1", "Lektion 10"}));
        QCOMPARE(childTexts(tree[0]), QStringList({"A 1 [Verben]", "B 1 []"}));
        QCOMPARE(childTexts(tree[1]), QStringList({"A 2 [Zahlen]"}));
        QCOMPARE(tree[1].children[0].code, QStringLiteral("010A2"));
        QCOMPARE(FirstLessonCodeOf(tree), QStringLiteral("001A1"));
    }

    void topNodesInNumericOrder() {
        const LessonTree tree =
            BuildLessonTree(LessonList({"002A1", "100A1", "009A1", "010A1", "000A1Null"}));
        QCOMPARE(nodeTexts(tree),
                 QStringList({"Lektion 0", "Lektion 2", "Lektion 9", "Lektion 10", "Lektion 100"}));
        QCOMPARE(FirstLessonCodeOf(tree), QStringLiteral("000A1"));
        // The order does not depend on the order of the lines.
        QCOMPARE(nodeTexts(BuildLessonTree(QStringList{"100A1", "010A1", "002A1", "009A1"})),
                 QStringList({"Lektion 2", "Lektion 9", "Lektion 10", "Lektion 100"}));
    }

    void nodeComparisonIsAStrictOrder() {
        QCOMPARE(CompareLessonNodeTexts("Lektion 9", "Lektion 10"), -1);
        QCOMPARE(CompareLessonNodeTexts("Lektion 10", "Lektion 9"), 1);
        QCOMPARE(CompareLessonNodeTexts("Lektion 10", "Lektion 10"), 0);
        // Equal numbers in different texts still have one order, both ways round.
        QCOMPARE(CompareLessonNodeTexts("Lektion 1", "Lektion 1x"),
                 -CompareLessonNodeTexts("Lektion 1x", "Lektion 1"));
        QVERIFY(CompareLessonNodeTexts("Lektion 1", "Lektion 1x") != 0);
        QCOMPARE(CompareLessonNodeTexts("A 1 [Verben]", "B 1 []"), -1);
        QCOMPARE(CompareLessonNodeTexts("A 2 []", "A 1 [Zahlen]"), 1);
    }

    void shortAndEmptyLines() {
        // Lines too short to hold a code are kept apart for the file and make
        // no node; empty lines are dropped.
        const LessonList list({"", "00", "001A", "002B1", "003C1T"});
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.otherLines(), QStringList({"00", "001A"}));
        const LessonTree tree = BuildLessonTree(list);
        QCOMPARE(nodeTexts(tree), QStringList({"Lektion 2", "Lektion 3"}));
        QCOMPARE(childTexts(tree[0]), QStringList({"B 1 []"}));
        QCOMPARE(childTexts(tree[1]), QStringList({"C 1 [T]"}));
        QVERIFY(BuildLessonTree(LessonList()).isEmpty());
        QCOMPARE(FirstLessonCodeOf(LessonTree()), QString());
    }

    void nodeTextsBackToCodes() {
        QCOMPARE(LessonCodeFromNodeTexts("Lektion 1", "A 1 [Verben]"), QStringLiteral("001A1"));
        QCOMPARE(LessonCodeFromNodeTexts("Lektion 10", "A 2 [Zahlen]"), QStringLiteral("010A2"));
        QCOMPARE(LessonCodeFromNodeTexts("Lektion 100", "Z 9 []"), QStringLiteral("100Z9"));
        QCOMPARE(LessonCodeFromNodeTexts("Lektion 0", "A 1 []"), QStringLiteral("000A1"));
        QCOMPARE(LessonCodeFromNodeTexts("", ""), QString());
        QCOMPARE(LessonTitleFromChildText("A 1 [Verben [alt]]"), QStringLiteral("Verben [alt]"));
        // Every section of a built tree leads back to its own code.
        const QStringList lines{"000A1", "001A1Verben", "001B2", "012C3Zwölf", "999Z9Schwer"};
        for (const LessonTreeNode& node : BuildLessonTree(LessonList(lines)))
            for (const LessonTreeChild& child : node.children)
                QCOMPARE(LessonCodeFromNodeTexts(node.text, child.text), child.code);
    }

    void sortedListKeepsNumbersTogether() {
        LessonList list({"002A1", "001B1Affe", "001A1Zebra"});
        QCOMPARE(list.lines(), QStringList({"001A1Zebra", "001B1Affe", "002A1"}));
        QCOMPARE(list.add("001C1"), 2);
        QCOMPARE(list.add("000A1"), 0);
        QCOMPARE(list.lines(), QStringList({"000A1", "001A1Zebra", "001B1Affe", "001C1", "002A1"}));
        QCOMPARE(list.replace(0, "003A1"), 4);
        QCOMPARE(list.at(4), QStringLiteral("003A1"));
    }

    void lessonExistsComparesExactly() {
        const LessonList list({"001A1Verben", "002B1"});
        QVERIFY(LessonExists(list, "001A1"));
        QVERIFY(LessonExists(list, "002B1"));
        QVERIFY(!LessonExists(list, "001a1"));
        QVERIFY(!LessonExists(list, "001"));
        QVERIFY(!LessonExists(list, "001A2"));
        QVERIFY(!LessonExists(LessonList(), "001A1"));
    }

    // A lesson is named by a code: three digits, a capital letter and a digit
    // from 1 to 9. Titles alone, codes with blanks in front or with their
    // parts swapped name none: nothing that reads the list takes them for a
    // lesson, and the file keeps them through saving and deleting.
    void linesWithoutACodeNameNoLesson() {
        const QStringList others{"  001A1Alt", "0011A", "001a1", "000A0", "Nomen", "Verben"};
        LessonList list(others + QStringList{"002B1Zwei", "001A1Eins"});
        QCOMPARE(list.lines(), QStringList({"001A1Eins", "002B1Zwei"}));
        QCOMPARE(nodeTexts(BuildLessonTree(list)), QStringList({"Lektion 1", "Lektion 2"}));
        QVERIFY(BuildLessonTree(others).isEmpty());
        QVERIFY(!HasLessonLine(LessonList(others)));
        QVERIFY(!LessonExists(list, "Nomen"));
        QVERIFY(!LessonExists(list, "0011A"));
        QCOMPARE(list.add("Adjektive"), -1);
        QCOMPARE(list.count(), 2);

        const QString path = LessonListPath();
        QVERIFY(SaveLessonList(list));
        QCOMPARE(readFile(path), QByteArray("  001A1Alt\r\n000A0\r\n0011A\r\n001a1\r\n001A1Eins\r\n"
                                            "002B1Zwei\r\nAdjektive\r\nNomen\r\nVerben\r\n"));
        LessonList back;
        QVERIFY(back.load(path));
        QCOMPARE(back.lines(), list.lines());
        QCOMPARE(DeleteLessonFromList(back, "001", path), QStringLiteral("002B1"));
        QCOMPARE(readFile(path), QByteArray("  001A1Alt\r\n000A0\r\n0011A\r\n001a1\r\n"
                                            "002B1Zwei\r\nAdjektive\r\nNomen\r\nVerben\r\n"));
    }

    void deleteLessonFromList_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<QString>("current");
        const QStringList all{"001A1", "001B1", "002A1Zwei", "002B1", "003A1"};
        QTest::newRow("number in the middle")
            << "002" << QStringList{"001A1", "001B1", "003A1"} << "001B1";
        QTest::newRow("first number")
            << "001" << QStringList{"002A1Zwei", "002B1", "003A1"} << "002A1";
        QTest::newRow("last number")
            << "003" << QStringList{"001A1", "001B1", "002A1Zwei", "002B1"} << "002B1";
        QTest::newRow("section") << "002B1" << QStringList{"001A1", "001B1", "002A1Zwei", "003A1"}
                                 << "002A1";
        QTest::newRow("first section")
            << "001A1" << QStringList{"001B1", "002A1Zwei", "002B1", "003A1"} << "001B1";
        QTest::newRow("unknown key") << "004" << all << "001A1";
        QTest::newRow("section key in lower case") << "002b1" << all << "001A1";
    }

    void deleteLessonFromList() {
        QFETCH(QString, key);
        QFETCH(QStringList, remaining);
        QFETCH(QString, current);
        LessonList list({"001A1", "001B1", "002A1Zwei", "002B1", "003A1"});
        const QString path = LessonListPath();
        QCOMPARE(DeleteLessonFromList(list, key, path), current);
        QCOMPARE(list.lines(), remaining);
        QCOMPARE(CurrentLessonCode, current);
        QCOMPARE(readFile(path), remaining.join("\r\n").toLatin1() + "\r\n");
    }

    void deleteRemovesRepeatedLines() {
        LessonList list({"001A1", "002A1Alt", "002A1Neu", "003A1"});
        QCOMPARE(RemoveLessonLines(list, "002A1"), 0);
        QCOMPARE(list.lines(), QStringList({"001A1", "003A1"}));
        LessonList only({"001A1"});
        QCOMPARE(RemoveLessonLines(only, "001"), -1);
        QVERIFY(only.isEmpty());
    }

    void listFileBytes() {
        const QString path = LessonListPath();
        QVERIFY(SaveLessonList(LessonList({FirstLessonCode})));
        QCOMPARE(readFile(path), QByteArray("001A1\r\n"));
        QVERIFY(SaveLessonList(LessonList({"002A1Übungen", "001A1Verben"})));
        QCOMPARE(readFile(path), QByteArray("001A1Verben\r\n002A1\xDC"
                                            "bungen\r\n"));
        LessonList back;
        QVERIFY(back.load(path));
        QCOMPARE(back.lines(), QStringList({"001A1Verben", QStringLiteral("002A1Übungen")}));
        QVERIFY(SaveLessonList(LessonList()));
        QCOMPARE(readFile(path), QByteArray());
    }

    // A title with a line break would become two lines of the file, the
    // second one a lesson of its own: titles lose CR and LF.
    void titlesKeepToOneLine() {
        LessonList list({"002A1Verben\r\nNomen"});
        list.add("001A1eins\nzwei\rdrei");
        list.replace(list.indexOfCode("002A1"), "002A1Ver\r\nben");
        QCOMPARE(list.lines(), QStringList({"001A1einszweidrei", "002A1Verben"}));
        QVERIFY(SaveLessonList(list));
        QCOMPARE(readFile(LessonListPath()), QByteArray("001A1einszweidrei\r\n002A1Verben\r\n"));
        LessonList back;
        QVERIFY(back.load(LessonListPath()));
        QCOMPARE(back.lines(), list.lines());
    }

    void listFileIsFoundInAnyCase() {
        writeFile(folder->filePath("Caesar.LST"), "005A1\r\n");
        QCOMPARE(LessonListPath(), folder->filePath("Caesar.LST"));
        LessonList list;
        QVERIFY(list.load(LessonListPath()));
        QCOMPARE(list.lines(), QStringList({"005A1"}));
        QFile::remove(folder->filePath("Caesar.LST"));

        // A database "caesar" beside it keeps its own list: a new "Caesar"
        // that has none yet writes its own.
        writeFile(folder->filePath("caesar.ol"), "");
        writeFile(folder->filePath("caesar.lst"), "009A1\r\n");
        QCOMPARE(LessonListPath(), folder->filePath("Caesar.lst"));
        QVERIFY(SaveLessonList(LessonList({"001A1"})));
        QCOMPARE(readFile(folder->filePath("caesar.lst")), QByteArray("009A1\r\n"));
    }

    void loadingOddFiles() {
        const QString path = folder->filePath("odd.lst");
        LessonList list({"009A1"});
        QVERIFY(!list.load(folder->filePath("missing.lst")));
        QVERIFY(list.isEmpty());

        writeFile(path, "");
        QVERIFY(list.load(path));
        QVERIFY(list.isEmpty());

        // Any line break, a last line without one, empty and short lines.
        writeFile(path, "003A1Drei\n\r\n001A1\r002\r\n\r\n004B2");
        QVERIFY(list.load(path));
        QCOMPARE(list.lines(), QStringList({"001A1", "003A1Drei", "004B2"}));
        QCOMPARE(list.otherLines(), QStringList({"002"}));
        QCOMPARE(nodeTexts(BuildLessonTree(list)),
                 QStringList({"Lektion 1", "Lektion 3", "Lektion 4"}));

        // Not read at all: a file far larger than any list (reading it would
        // hold the program up), and anything but a regular file (a FIFO would
        // wait for a writer for good).
        QByteArray big;
        while (big.size() <= MaxLessonListBytes)
            big += "001A1" + QByteArray(98, 'x') + "\r\n";
        writeFile(path, big);
        QString error;
        QVERIFY(!list.load(path, &error));
        QVERIFY(list.isEmpty());
        QCOMPARE(error, LessonListTooLargeMessage(path));
        QVERIFY(error.startsWith("Die Lektionsliste ist größer als 1 MB"));
        const QString fifo = folder->filePath("rohr.lst");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!list.load(fifo, &error));
        QVERIFY(error.contains("keine gewöhnliche Datei"));
        QVERIFY(!list.load(folder->path(), &error));
        QVERIFY(error.contains("keine gewöhnliche Datei"));
    }

    // Opening makes the list whole, so that every word of the table stands in
    // a listed lesson: missing codes are added, a file without a single usable
    // line or one that cannot be read counts as empty (and one that exists but
    // cannot be read is not written over).
    void listIsMadeWholeOnOpening_data() {
        QTest::addColumn<QByteArray>("file"); // "<fifo>", "<big>" or the bytes; empty: none
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("noted");
        QTest::addColumn<bool>("saved");
        const QStringList fromTable{"001A1", "002A1"};
        // Every row gets the line of the lesson that gathers the words of no
        // lesson, so that every list is written but an unreadable one.
        QTest::newRow("whole") << QByteArray("001A1Verben\r\n002A1Zahlen\r\n")
                               << QStringList{"001A1Verben", "002A1Zahlen"} << false << true;
        QTest::newRow("lacks a code")
            << QByteArray("001A1Verben\r\n005A1Leer\r\n")
            << QStringList{"001A1Verben", "002A1", "005A1Leer"} << false << true;
        QTest::newRow("missing") << QByteArray() << fromTable << false << true;
        QTest::newRow("no usable code") << QByteArray("xy\r\n1\r\n") << fromTable << false << true;
        QTest::newRow("titles only")
            << QByteArray("Verben\r\nNomen\r\n") << fromTable << false << true;
        QTest::newRow("codes out of shape")
            << QByteArray("  001A1Alt\r\n0011A\r\n005A1Leer\r\n")
            << QStringList{"001A1", "002A1", "005A1Leer"} << false << true;
        QTest::newRow("too large") << QByteArray("<big>") << fromTable << true << true;
        // A list that exists but cannot be read keeps its titles on disk.
        QTest::newRow("fifo") << QByteArray("<fifo>") << fromTable << true << false;
        QTest::newRow("unreadable") << QByteArray("<locked>") << fromTable << true << false;
    }
    void listIsMadeWholeOnOpening() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, lines);
        QFETCH(bool, noted);
        QFETCH(bool, saved);
        engine::Query query;
        CreateVocabularyTable(query, CurrentTablePath);
        CurrentLessonCode = "001A1";
        ReopenLessonQuery(query);
        addWord(query, "002A1", "duo");
        addWord(query, "001A1", "unus");
        addWord(query, "", "nullus");     // no lesson the tree could show: gathered
        addWord(query, "Nomen", "nomen"); // nor is this one
        query.close();
        const QString path = folder->filePath("Caesar.lst");
        if (file == "<fifo>") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (file == "<locked>") {
            if (geteuid() == 0) QSKIP("root reads through any permission");
            writeFile(path, "001A1Verben\r\n");
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        } else if (file == "<big>") {
            writeFile(path, QByteArray(MaxLessonListBytes + 1, 'x'));
        } else if (!file.isEmpty()) {
            writeFile(path, file);
        }
        // The entry itself, taken now: a list written over is a new file.
        struct stat before {};
        ::lstat(QFile::encodeName(path).constData(), &before);

        LessonList list({"009A1Anderer"});
        QString message;
        LoadLessonListForOpening(list, CurrentTablePath, &message);
        lines.prepend("000A1Ohne Lektion");
        QCOMPARE(list.lines(), lines);
        QCOMPARE(message.contains("neu zusammengestellt"), noted);
        QVERIFY2(message.contains("2 Vokabeln gehörten zu keiner Lektion; sie stehen jetzt unter "
                                  "„Lektion 0, A 1 [Ohne Lektion]“."),
                 qPrintable(message));
        CurrentLessonCode = "000A1";
        ReopenLessonQuery(query);
        QCOMPARE(query.recordCount(), 2);
        if (saved) {
            LessonList back;
            QVERIFY(back.load(path));
            QCOMPARE(back.lines(), lines);
            // The lines that name no lesson are written back as they stood.
            const QByteArray written = readFile(path);
            for (QByteArray line : file.split('\n')) {
                if (line.endsWith('\r')) line.chop(1);
                if (!line.isEmpty() && !file.startsWith('<') &&
                    !lines.contains(QString::fromLatin1(line)))
                    QVERIFY2(written.contains(line + "\r\n"), line.constData());
            }
        } else {
            struct stat after {};
            ::lstat(QFile::encodeName(path).constData(), &after);
            QCOMPARE(after.st_ino, before.st_ino);
            QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        }
        QVERIFY(boxes.isEmpty());
        engine::releaseTable(CurrentTablePath);
    }

    // Lesson values as another tool may store them: no text at all (a BLOB,
    // one holding a NUL, an empty one, a number, NULL) or text that is no
    // UTF-8. The opening ends; a value whose bytes are a code, or that is a
    // code in small letters or with blanks around it, is stored as that code;
    // every other one is gathered; the note counts both. Afterwards every
    // word holds the text of a listed lesson, and the tree shows them all.
    void lessonValuesOfEveryKindEndUnderTheTree_data() {
        QTest::addColumn<bool>("foreign"); // made by another tool: an untyped Lektion, no index
        QTest::newRow("own table") << false;
        QTest::newRow("another tool's table") << true;
    }
    void lessonValuesOfEveryKindEndUnderTheTree() {
        QFETCH(bool, foreign);
        if (foreign)
            execOnFile(
                CurrentTablePath,
                "CREATE TABLE VokabelTable (ID INTEGER PRIMARY KEY AUTOINCREMENT, Lektion, "
                "Fremdwort CHAR(100), Uebersetzung CHAR(150), PraeFut CHAR(40), PerAor "
                "CHAR(40), Perfekt CHAR(40), Perfekt_passiv CHAR(40), Aorist_passiv CHAR(40), "
                "Futur_passiv CHAR(40), Genitiv CHAR(150), Genus CHAR(5), Wortart SMALLINT, "
                "Extra CHAR(100), Schwierigkeit SMALLINT, Anzahl_Abfragen SMALLINT, "
                "Falsche_Antworten SMALLINT, Versuche SMALLINT, Letzte_gewusst BOOLEAN, "
                "Abgefragt BOOLEAN)");
        QByteArray values = "('001A1'), ('002A1'), (x'3030314131'), (x'3030354231'), ('001a1'), "
                            "(' 001A1'), ('002a1 '), (CAST(x'ff4131' AS TEXT)), "
                            "(x'303031410031'), (x''), (42), ('')";
        if (foreign) values += ", (NULL), (1.5)";
        makeTableWithLessonValues(values, !foreign);
        const int gathered = foreign ? 7 : 5;

        LessonList list;
        QString message;
        {
            Deadline deadline(10, "the opening");
            LoadLessonListForOpening(list, CurrentTablePath, &message);
        }
        QCOMPARE(list.lines(), QStringList({"000A1Ohne Lektion", "001A1Verben", "002A1", "005B1"}));
        QCOMPARE(message, QStringLiteral("Bei 5 Vokabeln war der Lektionscode abweichend "
                                         "gespeichert (in Kleinbuchstaben, mit Leerzeichen oder "
                                         "nicht als Text); er ist jetzt in der üblichen Form "
                                         "gespeichert.\r\n\r\n%1 Vokabeln gehörten zu keiner "
                                         "Lektion; sie stehen jetzt unter „Lektion 0, A 1 [Ohne "
                                         "Lektion]“.")
                              .arg(gathered));
        QStringList expected{"text:'001A1'", "text:'002A1'", "text:'001A1'", "text:'005B1'",
                             "text:'001A1'", "text:'001A1'", "text:'002A1'"};
        for (int i = 0; i < gathered; ++i)
            expected << "text:'000A1'";
        QCOMPARE(storedLessonValues(CurrentTablePath), expected);
        QCOMPARE(readFile(LessonListPath()),
                 QByteArray("000A1Ohne Lektion\r\n001A1Verben\r\n002A1\r\n005B1\r\n"));
        QCOMPARE(wordsUnderTheTree(list),
                 QStringList({"Lektion 0 / A 1 [Ohne Lektion]: " + QString::number(gathered),
                              "Lektion 1 / A 1 [Verben]: 4", "Lektion 2 / A 1 []: 2",
                              "Lektion 5 / B 1 []: 1"}));

        // Nothing is left for the next opening to do.
        LoadLessonListForOpening(list, CurrentTablePath, &message);
        QCOMPARE(message, QString());
        QCOMPARE(list.count(), 4);
        QVERIFY(boxes.isEmpty());
        engine::releaseTable(CurrentTablePath);
    }

    // Many different values that name no lesson are gathered at once, in one
    // change of the table.
    void manyStrayValuesAreGatheredAtOnce() {
        makeTableWithLessonValues("('001A1')");
        execOnFile(CurrentTablePath,
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                   "WHERE i < 5000) INSERT INTO VokabelTable (Lektion) "
                   "SELECT 'S' || i FROM n");
        LessonList list;
        QString message;
        QElapsedTimer timer;
        timer.start();
        {
            Deadline deadline(120, "gathering 5,000 stray values");
            LoadLessonListForOpening(list, CurrentTablePath, &message);
        }
        qInfo("5,000 different stray values gathered in %.1f ms", timer.nsecsElapsed() / 1e6);
        QVERIFY2(message.contains("5000 Vokabeln gehörten zu keiner Lektion"), qPrintable(message));
        QCOMPARE(wordsUnderTheTree(list), QStringList({"Lektion 0 / A 1 [Ohne Lektion]: 5000",
                                                       "Lektion 1 / A 1 [Verben]: 1"}));
        engine::releaseTable(CurrentTablePath);
    }

    // A table that cannot be written keeps its words as they are, and the note
    // says how many belong to no lesson and why. Beside a list that cannot be
    // written the words are gathered all the same; the list made then, title
    // and all, holds for the rest of the session, and the failed save is said
    // at the first opening only.
    void aTableOrListThatCannotBeWritten() {
        if (!ActAsUser::possible()) QSKIP("file permissions do not apply here");
        makeTableWithLessonValues("('001A1'), (x'3030314131'), ('S1'), ('S2')");
        const QString listPath = LessonListPath();
        const auto permissions = [](const QString& path, QFileDevice::Permissions others) {
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | others));
        };
        const auto open = [&](LessonList& list, QString& message) {
            Deadline deadline(10, "the opening");
            ActAsUser user;
            LoadLessonListForOpening(list, CurrentTablePath, &message);
            engine::releaseTable(CurrentTablePath);
        };
        const QFileDevice::Permissions all = QFileDevice::ReadOther | QFileDevice::WriteOther |
                                             QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                             QFileDevice::WriteGroup | QFileDevice::ExeGroup;
        permissions(folder->path(), all);
        QVERIFY(QFile::setPermissions(CurrentTablePath, QFileDevice::ReadOwner |
                                                            QFileDevice::ReadGroup |
                                                            QFileDevice::ReadOther));
        const QByteArray table = readFile(CurrentTablePath);
        LessonList list;
        QString message;
        open(list, message);
        QCOMPARE(list.lines(), QStringList({"001A1Verben"}));
        QCOMPARE(message, "3 Vokabeln gehören zu keiner Lektion; sie bleiben so, weil die "
                          "Tabelle nicht geschrieben werden kann:\r\nDie Tabelle ist "
                          "schreibgeschützt: " +
                              CurrentTablePath);
        QCOMPARE(readFile(CurrentTablePath), table);
        QCOMPARE(readFile(listPath), QByteArray("001A1Verben\r\n"));

        QVERIFY(QFile::setPermissions(CurrentTablePath,
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther));
        QVERIFY(QFile::setPermissions(listPath, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        const QStringList gatheredLines{"000A1Ohne Lektion", "001A1Verben"};
        open(list, message);
        QCOMPARE(list.lines(), gatheredLines);
        QVERIFY2(message.contains("Bei einer Vokabel war der Lektionscode abweichend") &&
                     message.contains("2 Vokabeln gehörten zu keiner Lektion; sie stehen jetzt") &&
                     message.contains("Die Lektionsliste konnte nicht gespeichert werden") &&
                     message.endsWith("Bis zum Programmende gilt die Liste, wie sie jetzt "
                                      "angezeigt wird."),
                 qPrintable(message));
        QCOMPARE(storedLessonValues(CurrentTablePath),
                 QStringList({"text:'001A1'", "text:'001A1'", "text:'000A1'", "text:'000A1'"}));
        for (int again = 0; again < 2; ++again) {
            LessonList reopened;
            open(reopened, message);
            QCOMPARE(reopened.lines(), gatheredLines);
            QCOMPARE(message, QString());
        }
        QCOMPARE(readFile(listPath), QByteArray("001A1Verben\r\n"));
        QVERIFY(boxes.isEmpty());
        permissions(folder->path(), {});
    }

    // A program killed while an opening gathers words loses neither the words
    // nor the gathering lesson's title: the next opening finds both. A list
    // that lacks that lesson's line all the same (an older program killed
    // there) gets the line back with its title.
    void aKillWhileGatheringLosesNoTitle() {
        makeTableWithLessonValues("('001A1'), ('S1')");
        LessonList list;
        QString message;
        SetGatheringInterruption([] { return true; });
        LoadLessonListForOpening(list, CurrentTablePath, &message);
        SetGatheringInterruption({});
        engine::releaseTable(CurrentTablePath);

        LoadLessonListForOpening(list, CurrentTablePath, &message);
        const QStringList wholeTree{"Lektion 0 / A 1 [Ohne Lektion]: 1",
                                    "Lektion 1 / A 1 [Verben]: 1"};
        QCOMPARE(wordsUnderTheTree(list), wholeTree);
        QCOMPARE(readFile(LessonListPath()), QByteArray("000A1Ohne Lektion\r\n001A1Verben\r\n"));

        writeFile(LessonListPath(), "001A1Verben\r\n");
        LoadLessonListForOpening(list, CurrentTablePath, &message);
        QCOMPARE(wordsUnderTheTree(list), wholeTree);
        QCOMPARE(readFile(LessonListPath()), QByteArray("000A1Ohne Lektion\r\n001A1Verben\r\n"));
        QVERIFY(boxes.isEmpty());
        engine::releaseTable(CurrentTablePath);
    }

    // A list waits beside its table under a hidden name; before it takes the
    // list's place it must be one: a file far too large, or a link to a file
    // elsewhere, is removed instead, the old list stays, and no later save
    // writes outside the folder.
    void waitingListsAreCheckedBeforeTheyTakeTheirPlace() {
        engine::Query query;
        CreateVocabularyTable(query, CurrentTablePath);
        query.close();
        const qint32 stamp = NewLessonListStamp();
        engine::setTableStamp(CurrentTablePath, stamp);
        const QString path = LessonListPath();
        const QString pending = PendingLessonListPath(CurrentTablePath, stamp);
        QTemporaryDir elsewhere;
        const QString outside = elsewhere.filePath("fremd.lst");
        writeFile(outside, "001A1Fremd\r\n");
        for (const char* kind : {"big", "link"}) {
            writeFile(path, "001A1Alt\r\n");
            if (qstrcmp(kind, "big") == 0)
                writeFile(pending, QByteArray(5 << 20, 'x'));
            else
                QVERIFY(QFile::link(outside, pending));
            LessonList list;
            QString message;
            LoadLessonListForOpening(list, CurrentTablePath, &message);
            QCOMPARE(list.lines(), QStringList({"001A1Alt"}));
            QCOMPARE(message, QString());
            QVERIFY(!QFileInfo(pending).isSymLink() && !QFileInfo::exists(pending));
            QVERIFY(!QFileInfo(path).isSymLink());
            list.add("002A1Neu");
            QVERIFY(SaveLessonList(list));
            QCOMPARE(readFile(path), QByteArray("001A1Alt\r\n002A1Neu\r\n"));
            QCOMPARE(readFile(outside), QByteArray("001A1Fremd\r\n"));
        }
        QVERIFY(boxes.isEmpty());
        engine::releaseTable(CurrentTablePath);
    }

    void failedSaveIsReported() {
        const QString path = folder->filePath("no/such/folder/Caesar.lst");
        QVERIFY(!SaveLessonList(LessonList({"001A1"}), path));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith("Fehler: Die Lektionsliste konnte nicht gespeichert werden"));
    }

    // A list that no longer fits on the disk: the old file keeps every line
    // and the user learns why.
    void listOnAFullDiskKeepsTheOldFile() {
        const QString path = LessonListPath();
        QStringList old, grown;
        for (int i = 1; i <= 50; ++i)
            old << LessonCode(i, QLatin1Char('A'), QLatin1Char('1')) + "Alt";
        for (int i = 1; i <= 200; ++i)
            grown << LessonCode(i, QLatin1Char('A'), QLatin1Char('1')) + QString(60, 'n');
        QVERIFY(SaveLessonList(LessonList(old)));
        const QByteArray before = readFile(path);
        bool saved;
        {
            FileSizeLimit full(4096);
            saved = SaveLessonList(LessonList(grown));
        }
        QVERIFY(!saved);
        QCOMPARE(readFile(path), before);
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith("Fehler: Die Lektionsliste konnte nicht gespeichert werden"));
        QVERIFY(boxes[0].contains("Datenträger"));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList({"Caesar.lst"}));
    }

    void treeWidget() {
        QTreeWidget lekbaum;
        ConfigureLessonTree(&lekbaum);
        RebuildLessonTree(&lekbaum, LessonList({"001A1Verben", "001B1", "010A2Zahlen", "002A1"}));
        QCOMPARE(lekbaum.topLevelItemCount(), 3);
        QCOMPARE(lekbaum.topLevelItem(2)->text(0), QStringLiteral("Lektion 10"));
        QCOMPARE(lekbaum.topLevelItem(0)->child(1)->text(0), QStringLiteral("B 1 []"));

        CurrentLessonCode = "010A2";
        QVERIFY(SelectCurrentLessonNode(&lekbaum));
        QCOMPARE(SelectedLessonCode(&lekbaum), QStringLiteral("010A2"));
        QCOMPARE(LessonNodeLevel(lekbaum.currentItem()), 1);
        QCOMPARE(LessonNumberOfItem(lekbaum.currentItem()), QStringLiteral("010"));

        // A top node opens nothing; an unknown code selects nothing.
        lekbaum.setCurrentItem(lekbaum.topLevelItem(1));
        QCOMPARE(LessonNodeLevel(lekbaum.currentItem()), 0);
        QCOMPARE(SelectedLessonCode(&lekbaum), QString());
        QCOMPARE(LessonNumberOfItem(lekbaum.currentItem()), QStringLiteral("002"));
        lekbaum.clearSelection();
        QVERIFY(!SelectLessonNode(&lekbaum, "005A1"));
        QVERIFY(lekbaum.selectedItems().isEmpty());

        QVERIFY(SelectFirstLessonSection(&lekbaum));
        QCOMPARE(SelectedLessonCode(&lekbaum), QStringLiteral("001A1"));

        LessonList list({"001A1Verben", "001B1", "010A2Zahlen", "002A1"});
        QCOMPARE(DeleteLessonFromList(&lekbaum, list, "010"), QStringLiteral("002A1"));
        QCOMPARE(lekbaum.topLevelItemCount(), 2);
        QCOMPARE(SelectedLessonCode(&lekbaum), QStringLiteral("002A1"));
    }

    void rebuildListFromTable() {
        engine::Query query;
        CreateVocabularyTable(query, CurrentTablePath);
        CurrentLessonCode = "002A1";
        ReopenLessonQuery(query);
        // Lesson 002A1 in two runs, lesson 001A1 after it in key order.
        addWord(query, "002A1", "duo");
        addWord(query, "001A1", "unus");
        addWord(query, "002A1", "duae");
        addWord(query, "003B1", "tres");
        addWord(query, "Nomen", "nomen"); // no code: no lesson

        LessonList list({"001A1Verben", "002A1Zahlen", "005A1Leer"});
        QTreeWidget lekbaum;
        QVERIFY(RebuildLessonListFromTable(&lekbaum, query, list));
        QCOMPARE(list.lines(), QStringList({"001A1Verben", "002A1Zahlen", "003B1"}));
        QCOMPARE(readFile(LessonListPath()), QByteArray("001A1Verben\r\n002A1Zahlen\r\n003B1\r\n"));
        QCOMPARE(CurrentLessonCode, QStringLiteral("002A1"));
        QCOMPARE(query.recordCount(), 2);
        QCOMPARE(SelectedLessonCode(&lekbaum), QStringLiteral("002A1"));
        QCOMPARE(lekbaum.topLevelItemCount(), 3);
    }

    void rebuildListFromEmptyTable() {
        engine::Query query;
        CurrentTablePath = folder->filePath("Leer.ol");
        CurrentDatabaseBase = folder->filePath("Leer");
        CreateVocabularyTable(query, CurrentTablePath);
        // A word whose lesson is no code is in no lesson the tree could show.
        CurrentLessonCode = "ab";
        ReopenLessonQuery(query);
        addWord(query, "ab", "kurz");
        LessonList list({"004A1Alt", "Verben"});
        QTreeWidget lekbaum;
        QVERIFY(!RebuildLessonListFromTable(&lekbaum, query, list));
        QCOMPARE(list.lines(), QStringList({"001A1"}));
        QCOMPARE(readFile(folder->filePath("Leer.lst")), QByteArray("001A1\r\nVerben\r\n"));
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
        QCOMPARE(query.recordCount(), 1);
        QCOMPARE(query.asString("Lektion"), QStringLiteral("001A1"));
        QCOMPARE(query.asInteger("Wortart"), NewRecordWortart);
        QCOMPARE(SelectedLessonCode(&lekbaum), QStringLiteral("001A1"));
    }

    void openingAnEmptyLessonCreatesAWord() {
        engine::Query query;
        CreateVocabularyTable(query, CurrentTablePath);
        CurrentLessonCode = "001A1";
        ReopenLessonQuery(query);
        addWord(query, "001A1", "unus");
        QVERIFY(!OpenLesson(query, "001A1"));
        QCOMPARE(query.recordCount(), 1);
        QVERIFY(OpenLesson(query, "007B2"));
        QCOMPARE(CurrentLessonCode, QStringLiteral("007B2"));
        QCOMPARE(query.recordCount(), 1);
        QCOMPARE(query.asString("Lektion"), QStringLiteral("007B2"));
        QCOMPARE(query.asString("Fremdwort"), QString());
        QCOMPARE(query.asInteger("Schwierigkeit"), NewRecordSchwierigkeit);
        QVERIFY(!OpenLesson(query, "007B2"));
        QCOMPARE(query.recordCount(), 1);
    }

  private:
    std::unique_ptr<QTemporaryDir> folder; // one per test: every test creates its own table
    QStringList boxes;
};

QTEST_MAIN(TestLessons)
#include "tst_lessons.moc"
