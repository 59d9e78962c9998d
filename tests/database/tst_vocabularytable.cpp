#include "database/currentdatabase.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/messagebox.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

struct Word {
    QString lesson;
    QString foreign;
    QString translation;
    int wortart = NewRecordWortart;
    int schwierigkeit = NewRecordSchwierigkeit;
};

void addWord(engine::Query& query, const Word& word) {
    query.insert();
    WriteNewRecordValues(query, word.lesson);
    query.setValue(QStringLiteral("Fremdwort"), word.foreign);
    query.setValue(QStringLiteral("Uebersetzung"), word.translation);
    query.setValue(QStringLiteral("Wortart"), word.wortart);
    query.setValue(QStringLiteral("Schwierigkeit"), word.schwierigkeit);
    query.post();
}

QStringList foreignWords(engine::Query& query) {
    QStringList words;
    for (query.first(); !query.eof(); query.next())
        words << query.asString(QStringLiteral("Fremdwort"));
    return words;
}

} // namespace

class TestVocabularyTable : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request;
            return platform::Answer::Ok;
        });
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        CurrentTablePath = folder->filePath(QStringLiteral("Caesar.ol"));
        CurrentLessonCode = QStringLiteral("001A1");
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void codesAndNames() {
        QCOMPARE(VokabelFieldNames().size(), VokabelFieldCount);
        QCOMPARE(WordClassNames().size(), 14);
        QCOMPARE(WordClassNames().at(WordClassItem(4)),
                 QStringLiteral("Präposition (Verhältniswort)"));
        QCOMPARE(WordClassNames().at(WordClassItem(NewRecordWortart)), QStringLiteral("Sonstiges"));
        QCOMPARE(DifficultyNames().at(DifficultyItem(NewRecordSchwierigkeit)),
                 QStringLiteral("Normal"));
        QCOMPARE(DifficultyNames().at(DifficultyItem(5)), QStringLiteral("Sehr schwierig"));
        QCOMPARE(WordClassItem(1), 0);
        QCOMPARE(DifficultyItem(1), 0);
        for (int outside : {0, -1, 15, 32767})
            QCOMPARE(WordClassItem(outside), -1);
        for (int outside : {0, -1, 6, 100})
            QCOMPARE(DifficultyItem(outside), -1);
        QCOMPARE(ShortPath("/home/x/Latein/Caesar.ol"), QStringLiteral("/home/x/Latein/Caesar.ol"));
    }

    void createStatement() {
        const QStringList sql = CreateVocabularyTableSql("/v/Latein/Caesar.ol");
        QCOMPARE(sql.size(), 22);
        QCOMPARE(sql.first(), QStringLiteral("CREATE TABLE \"/v/Latein/Caesar.ol\""));
        QCOMPARE(sql.at(1), QStringLiteral("(ID AUTOINC,"));
        QCOMPARE(sql.at(13), QStringLiteral("Wortart SMALLINT,"));
        QCOMPARE(sql.at(19), QStringLiteral("Letzte_gewusst BOOLEAN,"));
        QCOMPARE(sql.last(), QStringLiteral("PRIMARY KEY(ID))"));
        // Every field once, in column order.
        for (int i = 0; i < VokabelFieldCount; ++i)
            QVERIFY2(sql.at(i + 1).mid(i == 0 ? 1 : 0).startsWith(VokabelFieldNames().at(i) + ' '),
                     qPrintable(sql.at(i + 1)));
        // A quote in a path stays inside the literal.
        QCOMPARE(CreateVocabularyTableSql("/v/A\"B.ol").first(),
                 QStringLiteral("CREATE TABLE \"/v/A\"\"B.ol\""));
    }

    void createFillAndShowLessonByLesson() {
        engine::Query Query;
        Query.setRequestLive(false);
        CreateVocabularyTable(Query, CurrentTablePath);
        QVERIFY(QFileInfo::exists(CurrentTablePath));
        QVERIFY(Query.requestLive());

        ReopenLessonQuery(Query);
        QVERIFY(Query.isActive());
        QVERIFY(Query.isEmpty());
        QCOMPARE(Query.fieldNames().size(), VokabelFieldCount);
        for (int i = 0; i < VokabelFieldCount; ++i)
            QCOMPARE(Query.fieldNames().at(i).toLower(), VokabelFieldNames().at(i).toLower());

        addWord(Query, {"001A1", "amare", "lieben"});
        addWord(Query, {"002A1", "unus", "eins"});
        addWord(Query, {"001A1", "laudare", "loben"});
        addWord(Query, {"001B1", QStringLiteral("Cäsar \"der Große\""), "Caesar"});

        ReopenLessonQuery(Query);
        QCOMPARE(foreignWords(Query), QStringList({"amare", "laudare"}));
        CurrentLessonCode = "002A1";
        ReopenLessonQuery(Query);
        QCOMPARE(foreignWords(Query), QStringList({"unus"}));
        CurrentLessonCode = "001B1";
        ReopenLessonQuery(Query);
        QCOMPARE(foreignWords(Query), QStringList({QStringLiteral("Cäsar \"der Große\"")}));
        // A lesson code in quotes is only a code: nothing leaks out of the literal.
        CurrentLessonCode = "\" OR \"\"=\"";
        ReopenLessonQuery(Query);
        QVERIFY(Query.isEmpty());
        CurrentLessonCode = "009A1";
        ReopenLessonQuery(Query);
        QVERIFY(Query.isActive());
        QCOMPARE(Query.recordCount(), 0);
        QVERIFY(Query.canModify());

        // The new-record values as a word of an empty lesson gets them.
        InsertNewWordRecord(Query, "009A1");
        ReopenLessonQuery(Query);
        QCOMPARE(Query.recordCount(), 1);
        QCOMPARE(Query.asString("Lektion"), QStringLiteral("009A1"));
        QCOMPARE(Query.asString("Fremdwort"), QString());
        QCOMPARE(Query.asInteger("Wortart"), 14);
        QCOMPARE(Query.asInteger("Schwierigkeit"), 3);
        QCOMPARE(Query.asInteger("Anzahl_Abfragen"), 0);
        QCOMPARE(Query.asInteger("Falsche_Antworten"), 0);
        QCOMPARE(Query.asInteger("Versuche"), 0);
        QCOMPARE(Query.asBoolean("Letzte_gewusst"), false);
        QCOMPARE(Query.asBoolean("Abgefragt"), false);
    }

    void checkRecordComplete() {
        engine::Query Query;
        CreateVocabularyTable(Query, CurrentTablePath);
        ReopenLessonQuery(Query);
        InsertNewWordRecord(Query, "001A1");
        ReopenLessonQuery(Query);

        // Both filled: the word may be left.
        QVERIFY(CheckRecordComplete("amare", "lieben", Query));
        QVERIFY(boxes.isEmpty());

        // Exactly one empty: a hint, and the user stays.
        QVERIFY(!CheckRecordComplete("amare", "", Query));
        QVERIFY(!CheckRecordComplete("", "lieben", Query));
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].text, QStringLiteral("Bitte zuerst Datensatz vervollständigen"));
        QCOMPARE(boxes[0].caption, QStringLiteral("Hinweis"));
        QCOMPARE(boxes[0].icon, platform::Icon::Information);
        QCOMPARE(boxes[0].buttons, platform::Buttons::Ok);
        QCOMPARE(Query.recordCount(), 1);

        // Both empty, only word of the lesson: it stays.
        QVERIFY(CheckRecordComplete("", "", Query));
        ReopenLessonQuery(Query);
        QCOMPARE(Query.recordCount(), 1);

        // Both empty among others: the empty word goes.
        addWord(Query, {"001A1", "amare", "lieben"});
        ReopenLessonQuery(Query);
        QCOMPARE(Query.recordCount(), 2);
        Query.first();
        QVERIFY(CheckRecordComplete("", "", Query));
        ReopenLessonQuery(Query);
        QCOMPARE(foreignWords(Query), QStringList({"amare"}));
        QCOMPARE(boxes.size(), 2);
    }

    void emptyWordBeingEditedIsDeleted() {
        engine::Query Query;
        CreateVocabularyTable(Query, CurrentTablePath);
        ReopenLessonQuery(Query);
        addWord(Query, {"001A1", "amare", "lieben"});
        addWord(Query, {"001A1", "x", "y"});
        ReopenLessonQuery(Query);
        Query.last();
        // The user cleared both fields of a stored word.
        Query.setValue("Fremdwort", QString());
        Query.setValue("Uebersetzung", QString());
        QVERIFY(CheckRecordComplete("", "", Query));
        ReopenLessonQuery(Query);
        QCOMPARE(foreignWords(Query), QStringList({"amare"}));
    }

    void wordTypeAndDifficulty() {
        engine::Query Query;
        QCOMPARE(ShowWordTypeAndDifficulty(Query).active, false);

        CreateVocabularyTable(Query, CurrentTablePath);
        ReopenLessonQuery(Query);
        const WordTypeAndDifficulty none = ShowWordTypeAndDifficulty(Query);
        QVERIFY(none.active);
        QCOMPARE(none.wortartItem, -1);
        QCOMPARE(none.schwierigkeitItem, -1);

        addWord(Query, {"001A1", "amare", "lieben", 1, 5});
        addWord(Query, {"001A1", "a", "b", 0, 0});
        addWord(Query, {"001A1", "c", "d", 15, 6});
        addWord(Query, {"001A1", "e", "f", 14, 1});
        ReopenLessonQuery(Query);
        QList<QPair<int, int>> shown;
        for (Query.first(); !Query.eof(); Query.next()) {
            const WordTypeAndDifficulty items = ShowWordTypeAndDifficulty(Query);
            QVERIFY(items.active);
            shown.append({items.wortartItem, items.schwierigkeitItem});
        }
        QCOMPARE(shown, (QList<QPair<int, int>>{{0, 4}, {-1, -1}, {-1, -1}, {13, 0}}));

        Query.close();
        QCOMPARE(ShowWordTypeAndDifficulty(Query).active, false);
    }

  private:
    std::unique_ptr<QTemporaryDir> folder;
    QList<platform::MessageBoxRequest> boxes;
};

QTEST_MAIN(TestVocabularyTable)
#include "tst_vocabularytable.moc"
