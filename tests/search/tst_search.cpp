// The word search: statements built from the criteria, searches on a real
// table (quotes and umlauts in the term) and the bulk operations on the hits.
#include "database/currentdatabase.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/messagebox.h"
#include "search/searchlogic.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using search::SearchCriteria;

namespace {

struct Word {
    QString lesson, fremdwort, uebersetzung;
    int wortart = 14, anzahl = 0, falsch = 0;
    bool gewusst = false;
};

QStringList foreignOf(engine::Query& q) {
    QStringList words;
    for (int row = 0; row < q.recordCount(); ++row) {
        q.setRecNo(row);
        words << q.asString("Fremdwort");
    }
    return words;
}

QStringList tableWords(const QString& where = QString()) {
    engine::Query q;
    q.setRequestLive(false);
    q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath), where});
    q.open();
    QStringList words;
    for (q.first(); !q.eof(); q.next())
        words << q.asString("Lektion") + ":" + q.asString("Fremdwort") + ":" +
                     QString::number(q.asInteger("Anzahl_Abfragen"));
    return words;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<engine::Query> query;

    void makeDatabase(const QList<Word>& words) {
        CurrentDatabaseBase = folder->filePath("Vok\"abeln");
        CurrentTablePath = CurrentDatabaseBase + ".ol";
        query = std::make_unique<engine::Query>();
        CreateVocabularyTable(*query, CurrentTablePath);
        engine::Query q;
        q.setSql({"SELECT * FROM " + engine::quoteLiteral(CurrentTablePath), "WHERE ID = 0"});
        q.open();
        for (const Word& w : words)
            q.insertRecord({QVariant(), w.lesson, w.fremdwort, w.uebersetzung, "", "", "", "", "",
                            "", "", "", w.wortart, "", 3, w.anzahl, w.falsch, 0, w.gewusst,
                            false});
        q.close();
        QStringList lines;
        for (const Word& w : words)
            if (!LessonExists(LessonList(lines), w.lesson)) lines << w.lesson + "Titel";
        baumlist.setLines(lines);
        QVERIFY(baumlist.save(CurrentDatabaseBase + ".lst"));
        CurrentLessonCode = baumlist.at(0).left(5);
        ReopenLessonQuery(*query);
    }

    QStringList search(const SearchCriteria& c) {
        search::RunSearch(*query, CurrentTablePath, c);
        return foreignOf(*query);
    }

  private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) {
            return platform::Answer::Yes;
        });
    }
    void cleanup() {
        query.reset();
        engine::releaseTable(CurrentTablePath);
        platform::setMessageBoxHandler({});
    }

    void masksAndPatterns() {
        QCOMPARE(search::MaskUmlautsForLike(QString::fromLatin1("B\xe4r \xdf \xd6l")),
                 QString::fromLatin1("B_r \xdf _l"));
        QCOMPARE(search::UpperAsciiLetters(QString::fromLatin1("t\xfcr-ab")),
                 QString::fromLatin1("T\xfcR-AB"));
        QCOMPARE(search::LessonPatternFromText("5"), QString("005__"));
        QCOMPARE(search::LessonPatternFromText("12b"), QString("012B_"));
        QCOMPARE(search::LessonPatternFromText("3A2x"), QString("003A2"));
        QCOMPARE(search::LessonPatternFromText("C"), QString("%C_"));
        QCOMPARE(search::LessonPatternFromText("1234"), QString("1234__"));
        QVERIFY(search::LessonPatternFromText("-4").isEmpty());
        QVERIFY(search::LessonPatternFromText("").isEmpty());
    }

    void successRangeCorrections() {
        QCOMPARE(search::CorrectedSuccessFrom("", "100"), QString("0"));
        QCOMPARE(search::CorrectedSuccessFrom("60", "50"), QString("0"));
        QCOMPARE(search::CorrectedSuccessFrom("150", "100"), QString("0"));
        QCOMPARE(search::CorrectedSuccessFrom("40", "50"), QString("40"));
        QCOMPARE(search::CorrectedSuccessTo("", ""), QString("100"));
        QCOMPARE(search::CorrectedSuccessTo("60", "50"), QString("100"));
        QCOMPARE(search::CorrectedSuccessTo("10", "50"), QString("50"));
    }

    void whereLines() {
        SearchCriteria c;
        c.uebersetzung = false;
        c.term = "haus";
        QCOMPARE(search::SearchWhereLine(c),
                 QString("WHERE (Fremdwort LIKE \"%haus%\") OR (UPPER(Fremdwort) LIKE \"%HAUS%\")"));

        SearchCriteria t;
        t.fremdwort = false;
        t.exact = true;
        t.term = QString::fromLatin1("T\xfcr");
        t.wordClassItem = 1;
        QCOMPARE(search::SearchWhereLine(t),
                 QString("WHERE ((UPPER(Uebersetzung) LIKE \"T_R\")) AND (Wortart = 2)"));

        // Nothing active: no WHERE line; a term without fields adds nothing.
        QCOMPARE(search::SearchWhereLine(SearchCriteria{}), QString());
        SearchCriteria none;
        none.term = "x";
        none.fremdwort = none.uebersetzung = false;
        none.difficultyItem = 0;
        QCOMPARE(search::SearchWhereLine(none), QString("WHERE (Schwierigkeit = 1)"));

        SearchCriteria all;
        all.term = "a";
        all.caseSensitive = true;
        all.genitiv = all.bemerkungen = true;
        all.successFrom = "0";
        all.successTo = "99";
        all.lastUnknown = true;
        all.lesson = "7b";
        QCOMPARE(search::SearchWhereLine(all),
                 QString("WHERE ((Fremdwort LIKE \"%a%\") OR (Uebersetzung LIKE \"%a%\") OR "
                         "(Genitiv LIKE \"%a%\") OR (Extra LIKE \"%a%\")) AND "
                         "(((Anzahl_Abfragen-Falsche_Antworten)*100/Anzahl_Abfragen) BETWEEN 0 "
                         "AND 99) AND Letzte_gewusst=FALSE AND Lektion LIKE \"007B_\""));

        // Range bounds that are no numbers never reach the statement.
        SearchCriteria bad;
        bad.successFrom = "1) OR (1=1";
        bad.successTo = "100";
        QCOMPARE(search::SearchWhereLine(bad), QString());
        QCOMPARE(search::SearchSql("/x/a.ol", bad).size(), 2);
    }

    void searchesOnTable() {
        makeDatabase({{"001A1", "Haus", "house"},
                      {"001A1", "sag \"ja\"", "say yes", 13},
                      {"001B1", QString::fromLatin1("B\xe4r"), "bear", 2, 10, 2, true},
                      {"002A1", "Bar", "bar", 2, 4, 4},
                      {"007B2", "haushoch", "very high"},
                      {"007A1", "nie", "never", 14, 0, 0}});
        SearchCriteria c;
        c.term = "HAUS";
        QCOMPARE(search(c), QStringList({"Haus", "haushoch"}));
        QVERIFY(!query->canModify());
        c.caseSensitive = true;
        QCOMPARE(search(c), QStringList());

        // A double quote in the term is searched for, not part of the statement.
        SearchCriteria q;
        q.term = "\"ja\"";
        QCOMPARE(search(q), QStringList({"sag \"ja\""}));
        q.term = "x\" OR \"\"=\"";
        QCOMPARE(search(q), QStringList());

        // Umlauts are masked: Bär also finds Bar.
        SearchCriteria u;
        u.term = QString::fromLatin1("B\xe4r");
        u.exact = true;
        QCOMPARE(search(u), QStringList({QString::fromLatin1("B\xe4r"), "Bar"}));

        SearchCriteria range;
        range.successFrom = "50";
        range.successTo = "100";
        QCOMPARE(search(range), QStringList({QString::fromLatin1("B\xe4r")}));
        SearchCriteria known;
        known.lastKnown = true;
        QCOMPARE(search(known), QStringList({QString::fromLatin1("B\xe4r")}));

        SearchCriteria lesson;
        lesson.lesson = "7";
        QCOMPARE(search(lesson), QStringList({"haushoch", "nie"}));
        lesson.lesson = "7b";
        QCOMPARE(search(lesson), QStringList({"haushoch"}));

        QCOMPARE(search(SearchCriteria{}).size(), 6);
        QCOMPARE(search::HitIds(*query).size(), 6);
    }

    void bulkOperations() {
        makeDatabase({{"001A1", "Haus", "house", 14, 3},
                      {"001A1", "Baum", "tree"},
                      {"002A1", "Hausboot", "houseboat", 14, 5},
                      {"003A1", "Maus", "mouse"}});
        SearchCriteria c;
        c.term = "haus";

        // Copy: counters kept, originals stay.
        search::RunSearch(*query, CurrentTablePath, c);
        QList<qint64> ids = search::HitIds(*query);
        QCOMPARE(search::CopyHits(*query, ids, "003A1"), 2);
        QCOMPARE(tableWords("WHERE Lektion = \"003A1\""),
                 QStringList({"003A1:Maus:0", "003A1:Haus:3", "003A1:Hausboot:5"}));
        QCOMPARE(tableWords().size(), 6);
        QVERIFY(query->canModify());

        // Move the hits of a search exactly: the four Haus words now.
        search::RunSearch(*query, CurrentTablePath, c);
        ids = search::HitIds(*query);
        QCOMPARE(ids.size(), 4);
        QCOMPARE(search::MoveHits(*query, ids, "002A1"), 4);
        QCOMPARE(CurrentLessonCode, QString("002A1"));
        QCOMPARE(query->recordCount(), 4);
        QCOMPARE(tableWords("WHERE Lektion = \"002A1\"").size(), 4);

        // A new lesson: refused numbers change nothing; then the copy lands
        // in the new lesson and the list names it.
        // Afterwards the search is shown again, with the copies beside the hits.
        const QStringList before = tableWords();
        const QStringList sql = search::SearchSql(CurrentTablePath, c);
        QCOMPARE(search::CopyHitsToNewLesson(*query, baumlist, "0", "A", "1", "", ids, sql),
                 LessonResult::InvalidLesson);
        QCOMPARE(search::CopyHitsToNewLesson(*query, baumlist, "1", "A", "1", "", ids, sql),
                 LessonResult::LessonExists);
        QCOMPARE(tableWords(), before);
        int copied = 0;
        QCOMPARE(search::CopyHitsToNewLesson(*query, baumlist, "12", "C", "2", "Neu", ids, sql, {},
                                             &copied),
                 LessonResult::Done);
        QCOMPARE(copied, 4);
        QCOMPARE(CurrentLessonCode, QString("002A1"));
        QCOMPARE(query->sql(), sql);
        QCOMPARE(query->recordCount(), 8);
        QVERIFY(query->canModify());
        LessonList saved;
        QVERIFY(saved.load(CurrentDatabaseBase + ".lst"));
        QVERIFY(saved.lines().contains("012C2Neu"));

        // Delete: exactly the hits, in one go.
        search::RunSearch(*query, CurrentTablePath, c);
        ids = search::HitIds(*query);
        QCOMPARE(ids.size(), 8);
        QCOMPARE(search::DeleteHits(*query, ids), 8);
        QStringList left = tableWords();
        left.sort();
        QCOMPARE(left, QStringList({"001A1:Baum:0", "003A1:Maus:0"}));
        QCOMPARE(search::DeleteQuestion(8),
                 QString::fromUtf8("Sollen die 8 gefundenen Vokabeln wirklich gelöscht werden ?"));
    }

    void targetCode() {
        QCOMPARE(search::TargetCodeFromNodes("Lektion 12", "B 3 [Verben]"), QString("012B3"));
        QCOMPARE(search::TargetCodeFromNodes("Lektion 1", "A 1 []"), QString("001A1"));
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
