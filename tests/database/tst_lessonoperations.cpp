// Lesson operations and marked-word operations on real tables: what lands in
// the table, in the list file and as the current lesson.
#include "database/currentdatabase.h"
#include "database/lessonoperations.h"
#include "database/lessons.h"
#include "database/markedwords.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/messagebox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Words as "lesson:foreign" in key order.
QStringList wordsOfTable() {
    engine::Query q;
    q.setRequestLive(false);
    q.addSql("SELECT * FROM " + engine::quoteLiteral(CurrentTablePath));
    q.open();
    QStringList words;
    for (q.first(); !q.eof(); q.next())
        words << q.asString("Lektion") + ":" + q.asString("Fremdwort");
    return words;
}

QStringList wordsOf(const QString& lesson) {
    QStringList words;
    for (const QString& word : wordsOfTable())
        if (word.startsWith(lesson + ":")) words << word.mid(6);
    return words;
}

QList<qint64> idsOf(const QString& lesson) {
    engine::Query q;
    q.setRequestLive(false);
    q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath),
              "WHERE Lektion = " + engine::quoteLiteral(lesson)});
    q.open();
    QList<qint64> ids;
    for (int row = 0; row < q.recordCount(); ++row)
        ids << q.idAt(row);
    return ids;
}

QByteArray listFile() {
    QFile file(LessonListPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestLessonOperations : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<engine::Query> query;
    QStringList boxes;

    // A database in a folder whose name has a double quote, so that every
    // statement must quote its table path properly.
    void makeDatabase(const QStringList& lines) {
        const QString dir = folder->filePath("Lat\"ein");
        QVERIFY(QDir().mkpath(dir));
        CurrentDatabaseBase = dir + "/Caesar";
        CurrentTablePath = CurrentDatabaseBase + ".ol";
        query = std::make_unique<engine::Query>();
        CreateVocabularyTable(*query, CurrentTablePath);
        baumlist.setLines(lines);
        QVERIFY(baumlist.save(CurrentDatabaseBase + ".lst"));
        CurrentLessonCode = LessonCodeOfLine(baumlist.at(0));
    }

    void addWords(const QString& lesson, int count, const QString& stem = "w") {
        engine::Query q;
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath), "WHERE ID = 0"});
        q.open();
        engine::Transaction transaction(CurrentTablePath);
        for (int i = 1; i <= count; ++i) {
            q.append();
            WriteNewRecordValues(q, lesson);
            q.setValue("Fremdwort", stem + QString::number(i));
            q.setValue("Uebersetzung", "de \"" + QString::number(i) + "\"\r\nzwei");
            q.setValue("Extra", "x" + QString::number(i));
            q.setValue("Anzahl_Abfragen", i);
            q.setValue("Falsche_Antworten", 1);
            q.setValue("Versuche", 2);
            q.setValue("Letzte_gewusst", true);
            q.setValue("Abgefragt", true);
            q.setValue("Schwierigkeit", 5);
            q.post();
        }
        transaction.commit();
    }

    void openCurrent() { ReopenLessonQuery(*query); }

  private slots:
    void init() {
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r.caption + ": " + r.text;
            return platform::Answer::Ok;
        });
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }
    void cleanup() {
        query.reset();
        if (!CurrentTablePath.isEmpty()) engine::releaseTable(CurrentTablePath);
        platform::setMessageBoxHandler({});
    }

    void inputChecks() {
        QVERIFY(IsValidLessonNumber("7"));
        QVERIFY(IsValidLessonNumber("999"));
        QVERIFY(!IsValidLessonNumber("0"));
        QVERIFY(!IsValidLessonNumber("000"));
        QVERIFY(!IsValidLessonNumber(""));
        QVERIFY(!IsValidLessonNumber("1a"));
        QVERIFY(!IsValidLessonNumber("1000"));
        QVERIFY(IsValidLessonCode("001A1"));
        QVERIFY(!IsValidLessonCode("001a1"));
        QVERIFY(!IsValidLessonCode("001A0"));
        QCOMPARE(CleanLessonTitle("Zahlen\r\nund\tmehr"), QStringLiteral("Zahlen  und mehr"));
        QCOMPARE(CleanLessonTitle(QString(150, 'x')).size(), 100);
        QCOMPARE(MoveLessonWordsSql("/d/a\"b.ol", "001A1", "002A1"),
                 (QStringList{"UPDATE \"/d/a\"\"b.ol\"", "SET Lektion = \"002A1\"",
                              "WHERE Lektion = \"001A1\""}));
        QCOMPARE(DeleteLessonWordsSql("/d/t.ol", "001"),
                 (QStringList{"DELETE FROM \"/d/t.ol\"", "WHERE Lektion LIKE \"001%\""}));
    }

    void newLesson() {
        makeDatabase({"001A1Verben", "003A1"});
        addWords("001A1", 2);
        openCurrent();
        QCOMPARE(NewLesson(*query, baumlist, "7", "B", "2", "Zahlen"), LessonResult::Done);
        QCOMPARE(CurrentLessonCode, QStringLiteral("007B2"));
        QCOMPARE(baumlist.lines(), (QStringList{"001A1Verben", "003A1", "007B2Zahlen"}));
        QCOMPARE(listFile(), QByteArray("001A1Verben\r\n003A1\r\n007B2Zahlen\r\n"));
        QCOMPARE(query->recordCount(), 1);
        QCOMPARE(query->asString("Lektion"), QStringLiteral("007B2"));
        QCOMPARE(query->asInteger("Wortart"), 14);
        QCOMPARE(query->asInteger("Schwierigkeit"), 3);

        // Refusals change nothing: an existing section, a listed section without
        // words, a number zero, a line break in the title is cleaned.
        QCOMPARE(NewLesson(*query, baumlist, "7", "B", "2", "Noch mal"),
                 LessonResult::LessonExists);
        QCOMPARE(NewLesson(*query, baumlist, "3", "A", "1", ""), LessonResult::LessonExists);
        QCOMPARE(NewLesson(*query, baumlist, "0", "A", "1", ""), LessonResult::InvalidLesson);
        QCOMPARE(NewLesson(*query, baumlist, "00", "A", "1", ""), LessonResult::InvalidLesson);
        QCOMPARE(baumlist.count(), 3);
        QCOMPARE(CurrentLessonCode, QStringLiteral("007B2"));
        QCOMPARE(NewLesson(*query, baumlist, "12", "C", "3", "a\r\nb \"c\""), LessonResult::Done);
        QVERIFY(baumlist.lines().contains("012C3a  b \"c\""));
        QCOMPARE(wordsOfTable().size(), 4);
    }

    void renameLessonNumberKeepsEveryWord() {
        makeDatabase({"001A1Verben", "001B1", "002A1Nomen"});
        addWords("001A1", 3, "a");
        addWords("001B1", 1, "b");
        addWords("001C1", 2, "c"); // words whose section has no list line
        addWords("002A1", 1, "n");
        CurrentLessonCode = "001A1";
        openCurrent();
        QCOMPARE(RenameLessonNumber(*query, baumlist, "001", "12"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"002A1Nomen", "012A1Verben", "012B1", "012C1"}));
        QCOMPARE(wordsOf("012A1"), (QStringList{"a1", "a2", "a3"}));
        QCOMPARE(wordsOf("012C1"), (QStringList{"c1", "c2"}));
        QCOMPARE(wordsOf("001A1"), QStringList());
        QCOMPARE(wordsOfTable().size(), 7);
        // The last listed section of the new number is shown.
        QCOMPARE(CurrentLessonCode, QStringLiteral("012B1"));
        QCOMPARE(query->asString("Fremdwort"), QStringLiteral("b1"));

        QCOMPARE(RenameLessonNumber(*query, baumlist, "012", "2"), LessonResult::LessonExists);
        QCOMPARE(RenameLessonNumber(*query, baumlist, "012", "0"), LessonResult::InvalidLesson);
        QCOMPARE(RenameLessonNumber(*query, baumlist, "012", "012"), LessonResult::Unchanged);
        QCOMPARE(wordsOf("012A1").size(), 3);
        QCOMPARE(listFile(), QByteArray("002A1Nomen\r\n012A1Verben\r\n012B1\r\n012C1\r\n"));
    }

    void renameSection() {
        makeDatabase({"001A1Verben", "001B1", "002A1"});
        addWords("001A1", 3);
        addWords("002A1", 1);
        openCurrent();
        // Only the title.
        QCOMPARE(RenameLessonSection(*query, baumlist, "001A1", "1", "A", "1", "Tätigkeiten"),
                 LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001A1Tätigkeiten", "001B1", "002A1"}));
        QCOMPARE(wordsOf("001A1").size(), 3);
        QCOMPARE(RenameLessonSection(*query, baumlist, "001A1", "1", "A", "1", "Tätigkeiten"),
                 LessonResult::Unchanged);
        // A listed section, even without words, is not taken over.
        QCOMPARE(RenameLessonSection(*query, baumlist, "001A1", "1", "B", "1", "x"),
                 LessonResult::LessonExists);
        QCOMPARE(RenameLessonSection(*query, baumlist, "001A1", "2", "A", "1", "x"),
                 LessonResult::LessonExists);
        QCOMPARE(wordsOf("001A1").size(), 3);
        // A free code takes words and line.
        QCOMPARE(RenameLessonSection(*query, baumlist, "001A1", "5", "C", "4", "Verben"),
                 LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001B1", "002A1", "005C4Verben"}));
        QCOMPARE(wordsOf("005C4").size(), 3);
        QCOMPARE(CurrentLessonCode, QStringLiteral("005C4"));
        QCOMPARE(query->recordCount(), 3);
        // The title of a listed section without words changes without losing its line.
        QCOMPARE(RenameLessonSection(*query, baumlist, "001B1", "1", "B", "1", "Neu"),
                 LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001B1Neu", "002A1", "005C4Verben"}));
    }

    void deleteLesson() {
        makeDatabase({"001A1", "001B1", "002A1", "003A1"});
        addWords("001A1", 2);
        addWords("001B1", 2);
        addWords("002A1", 1);
        CurrentLessonCode = "001B1";
        openCurrent();
        QCOMPARE(DeleteLesson(*query, baumlist, "001B1"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001A1", "002A1", "003A1"}));
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
        QCOMPARE(wordsOf("001B1"), QStringList());
        QCOMPARE(wordsOfTable().size(), 3);

        QCOMPARE(DeleteLesson(*query, baumlist, "002"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001A1", "003A1"}));
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
        // The lesson shown after a deletion has a word even when it had none.
        QCOMPARE(DeleteLesson(*query, baumlist, "001"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), QStringList{"003A1"});
        QCOMPARE(CurrentLessonCode, QStringLiteral("003A1"));
        QCOMPARE(query->recordCount(), 1);
        QCOMPARE(wordsOfTable(), QStringList{"003A1:"});

        QCOMPARE(DeleteLesson(*query, baumlist, "003A1"), LessonResult::OnlyLesson);
        QCOMPARE(DeleteLesson(*query, baumlist, "003"), LessonResult::OnlyLesson);
        QCOMPARE(baumlist.count(), 1);
        QCOMPARE(wordsOfTable().size(), 1);
    }

    void copySection() {
        makeDatabase({"001A1Verben", "002A1"});
        addWords("001A1", 10);
        addWords("002A1", 2, "n");
        openCurrent();
        QList<int> steps;
        int started = -1;
        bool finished = false;
        const WordCopyProgress progress{[&](int n) { started = n; }, [&](int i) { steps << i; },
                                        [&] { finished = true; }};
        QCOMPARE(CopyLessonSection(*query, baumlist, "001A1", "002A1", progress),
                 LessonResult::Done);
        QCOMPARE(started, 10);
        QCOMPARE(steps.size(), 10);
        QCOMPARE(steps.last(), 10);
        QVERIFY(finished);
        QCOMPARE(wordsOf("001A1").size(), 10);
        QCOMPARE(wordsOf("002A1").size(), 12);
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));

        // Every field but the key and the lesson is copied.
        engine::Query q;
        q.setRequestLive(false);
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath),
                  "WHERE Lektion = \"002A1\" AND Fremdwort = \"w7\""});
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.asString("Uebersetzung"), QStringLiteral("de \"7\"\r\nzwei"));
        QCOMPARE(q.asString("Extra"), QStringLiteral("x7"));
        QCOMPARE(q.asInteger("Anzahl_Abfragen"), 7);
        QCOMPARE(q.asInteger("Schwierigkeit"), 5);
        QVERIFY(q.asBoolean("Letzte_gewusst"));
        QVERIFY(!idsOf("001A1").contains(q.currentId()));

        // Onto a lesson number: a new section with the source's title.
        QCOMPARE(CopyLessonSectionToNumber(*query, baumlist, "001A1", "3"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001A1Verben", "002A1", "003A1Verben"}));
        QCOMPARE(wordsOf("003A1"), wordsOf("001A1"));
        QCOMPARE(CopyLessonSectionToNumber(*query, baumlist, "001A1", "3"),
                 LessonResult::TargetExists);
        QCOMPARE(wordsOf("003A1").size(), 10);
        QCOMPARE(wordsOfTable().size(), 32);
    }

    void moveSection() {
        makeDatabase({"001A1Verben", "001B1", "002A1"});
        addWords("001A1", 3, "a");
        addWords("001B1", 2, "b");
        addWords("002A1", 1, "n");
        openCurrent();
        QCOMPARE(MoveLessonSection(*query, baumlist, "001A1", "001A1"), LessonResult::SameAsSource);
        QCOMPARE(MoveLessonSectionToNumber(*query, baumlist, "001A1", "1"),
                 LessonResult::SameAsSource);
        QCOMPARE(MoveLessonSectionToNumber(*query, baumlist, "001A1", "2"),
                 LessonResult::TargetExists);
        QCOMPARE(baumlist.count(), 3);
        QCOMPARE(wordsOf("001A1").size(), 3);

        // Onto an existing section: both sections' words end up there.
        QCOMPARE(MoveLessonSection(*query, baumlist, "001A1", "001B1"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001B1", "002A1"}));
        QCOMPARE(wordsOf("001B1"), (QStringList{"a1", "a2", "a3", "b1", "b2"}));
        QCOMPARE(CurrentLessonCode, QStringLiteral("001B1"));
        QCOMPARE(query->recordCount(), 5);

        // Onto a lesson number: the section keeps letter, digit and title.
        QCOMPARE(MoveLessonSectionToNumber(*query, baumlist, "002A1", "3"), LessonResult::Done);
        QCOMPARE(baumlist.lines(), (QStringList{"001B1", "003A1"}));
        QCOMPARE(wordsOf("003A1"), QStringList{"n1"});
        QCOMPARE(CurrentLessonCode, QStringLiteral("003A1"));
        QCOMPARE(wordsOfTable().size(), 6);
    }

    void unwritableListChangesNothing() {
        makeDatabase({"001A1", "002A1"});
        addWords("001A1", 2);
        addWords("002A1", 1);
        openCurrent();
        // A folder where the list file should go: the list cannot be written.
        QVERIFY(QFile::remove(CurrentDatabaseBase + ".lst"));
        QVERIFY(QDir().mkdir(CurrentDatabaseBase + ".lst"));
        QCOMPARE(MoveLessonSection(*query, baumlist, "001A1", "002A1"), LessonResult::ListNotSaved);
        QCOMPARE(DeleteLesson(*query, baumlist, "002A1"), LessonResult::ListNotSaved);
        QCOMPARE(RenameLessonNumber(*query, baumlist, "001", "5"), LessonResult::ListNotSaved);
        QCOMPARE(boxes.size(), 3);
        QVERIFY(boxes[0].startsWith("Fehler: Die Lektionsliste konnte nicht gespeichert werden"));
        QCOMPARE(baumlist.lines(), (QStringList{"001A1", "002A1"}));
        QCOMPARE(wordsOfTable(), (QStringList{"001A1:w1", "001A1:w2", "002A1:w1"}));
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
        QCOMPARE(query->recordCount(), 2);
    }

    void markedWords() {
        makeDatabase({"001A1", "002A1"});
        addWords("001A1", 10);
        addWords("002A1", 1, "n");
        openCurrent();
        const QList<qint64> ids = idsOf("001A1");
        QCOMPARE(SelectedIdsWhere({12, 15, 40}), QStringLiteral("WHERE ID in (12,15,40)"));
        QCOMPARE(SelectedIdsWhereLines({40, 12, 15, 12}, 2),
                 (QStringList{"WHERE ID in (12,15)", "WHERE ID in (40)"}));
        QVERIFY(AllWordsMarked(ids, 10));
        QVERIFY(!AllWordsMarked(ids.mid(0, 9) + ids.mid(0, 1), 10));

        QCOMPARE(DeleteMarkedWords(*query, {ids[1], ids[4], ids[7]}), 3);
        QCOMPARE(query->recordCount(), 7);
        QCOMPARE(wordsOf("001A1"), (QStringList{"w1", "w3", "w4", "w6", "w7", "w9", "w10"}));

        QCOMPARE(MoveMarkedWords(*query, {ids[0], ids[2]}, "002A1"), 2);
        QCOMPARE(wordsOf("002A1"), (QStringList{"w1", "w3", "n1"}));
        QCOMPARE(query->recordCount(), 5);

        // A copy of all words in key order, whatever order they were marked in.
        const QList<qint64> left = idsOf("001A1");
        QCOMPARE(CopyMarkedWords(*query, {left[4], left[0], left[2], left[1], left[3]}, "002A1"),
                 5);
        QCOMPARE(wordsOf("002A1"), (QStringList{"w1", "w3", "n1", "w4", "w6", "w7", "w9", "w10"}));
        QCOMPARE(wordsOf("001A1").size(), 5);
    }

    void largeMarkingRunsInParts() {
        makeDatabase({"001A1", "002A1"});
        addWords("001A1", 1200);
        openCurrent();
        const QList<qint64> ids = idsOf("001A1");
        QCOMPARE(SelectedIdsWhereLines(ids).size(), 3);
        QCOMPARE(CopyMarkedWords(*query, ids, "002A1"), 1200);
        QCOMPARE(MoveMarkedWords(*query, ids.mid(0, 1100), "002A1"), 1100);
        QCOMPARE(DeleteMarkedWords(*query, idsOf("002A1").mid(0, 1150)), 1150);
        QCOMPARE(wordsOf("001A1").size(), 100);
        QCOMPARE(wordsOf("002A1").size(), 1150);
    }

    void resetCounters() {
        makeDatabase({"001A1", "002A1"});
        addWords("001A1", 3);
        addWords("002A1", 2);
        openCurrent();
        QCOMPARE(ResetCounters(*query, CounterReset::QuizCounters), 5);
        QCOMPARE(ResetCounters(*query, CounterReset::Difficulty), 5);
        engine::Query q;
        q.setRequestLive(false);
        q.addSql("SELECT * FROM " + engine::quoteLiteral(CurrentTablePath));
        q.open();
        QCOMPARE(q.recordCount(), 5);
        for (q.first(); !q.eof(); q.next()) {
            QCOMPARE(q.asInteger("Anzahl_Abfragen"), 0);
            QCOMPARE(q.asInteger("Falsche_Antworten"), 0);
            QCOMPARE(q.asInteger("Versuche"), 0);
            QVERIFY(!q.asBoolean("Letzte_gewusst"));
            QVERIFY(!q.asBoolean("Abgefragt"));
            QCOMPARE(q.asInteger("Schwierigkeit"), 3);
            QCOMPARE(q.asString("Extra").left(1), QStringLiteral("x"));
        }
        QVERIFY(query->isActive());
        QCOMPARE(query->recordCount(), 3);
    }
};

QTEST_MAIN(TestLessonOperations)
#include "tst_lessonoperations.moc"
