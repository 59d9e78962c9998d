// The quiz store on a table whose counters may be empty (NULL): such words
// count as never asked, qualify for the selection and get 0 when a quiz
// prepares them.
#include "engine/query.h"
#include "quiz/interruptedquiz.h"
#include "quiz/quizstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

// A table written by another program: the same columns without the
// constraints this program's tables have, so counters can be NULL.
void writeLooseTable(const QString& path) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const char* sql =
        "CREATE TABLE VokabelTable (ID INTEGER PRIMARY KEY AUTOINCREMENT, Lektion CHAR(5), "
        "Fremdwort CHAR(100), Uebersetzung CHAR(150), PraeFut CHAR(40), PerAor CHAR(40), "
        "Perfekt CHAR(40), Perfekt_passiv CHAR(40), Aorist_passiv CHAR(40), Futur_passiv "
        "CHAR(40), Genitiv CHAR(150), Genus CHAR(5), Wortart SMALLINT, Extra CHAR(100), "
        "Schwierigkeit SMALLINT, Anzahl_Abfragen SMALLINT, Falsche_Antworten SMALLINT, "
        "Versuche SMALLINT, Letzte_gewusst BOOLEAN, Abgefragt BOOLEAN);"
        "INSERT INTO VokabelTable (Lektion, Fremdwort, Uebersetzung, Wortart, Schwierigkeit, "
        "Anzahl_Abfragen, Falsche_Antworten, Versuche, Letzte_gewusst, Abgefragt) VALUES "
        "('001A1', 'amare', 'lieben', 1, 3, NULL, NULL, NULL, NULL, 0),"
        "('001A1', 'videre', 'sehen', 1, 3, 4, 1, 0, 1, 0),"
        "('001A1', 'ire', 'gehen', 1, 3, 2, NULL, NULL, 0, 0);";
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const QString message = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(message));
}

// How many words still have an empty counter.
int emptyCounters(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT COUNT(*) FROM VokabelTable WHERE Anzahl_Abfragen IS NULL OR "
                       "Falsche_Antworten IS NULL OR Versuche IS NULL",
                       -1, &statement, nullptr);
    sqlite3_step(statement);
    const int count = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

} // namespace

class TestQuizStore : public QObject {
    Q_OBJECT
    QTemporaryDir folder;

    static QuizSelection lesson(int from = 0, int to = 100) {
        QuizSelection selection;
        selection.lessonCodes = {"001A1"};
        selection.options.SelStart = from;
        selection.options.SelEnd = to;
        return selection;
    }

  private slots:
    void emptyCountersQualify() {
        const QString path = folder.filePath("leer.ol");
        writeLooseTable(path);
        QCOMPARE(emptyCounters(path), 2);
        TableQuizStore store(path);
        QCOMPARE(store.selectWords(lesson()).size(), 3);
        // As never asked they stand at 0 % right answers.
        QCOMPARE(store.selectWords(lesson(0, 0)), (QList<qint64>{1}));
        QCOMPARE(store.selectWords(lesson(50, 100)).size(), 2);

        // The resume leaves the words as they are, but an empty counter
        // becomes 0.
        ResumeQuizStore resume(store);
        const QList<qint64> open = resume.selectWords(lesson());
        QCOMPARE(open.size(), 3);
        resume.resetQuizState(open, {});
        QCOMPARE(emptyCounters(path), 0);
        QCOMPARE(store.readWord(1)->Anzahl_Abfragen, 0);
        QCOMPARE(store.readWord(2)->Anzahl_Abfragen, 4);
        store.close();
        engine::releaseTable(path);
    }

    void newQuizFillsEmptyCounters() {
        const QString path = folder.filePath("neu.ol");
        writeLooseTable(path);
        TableQuizStore store(path);
        const QList<qint64> ids = store.selectWords(lesson());
        store.resetQuizState(ids, {});
        QCOMPARE(emptyCounters(path), 0);
        const QuizWord ire = *store.readWord(3);
        QCOMPARE(ire.Anzahl_Abfragen, 2);
        QCOMPARE(ire.Falsche_Antworten, 0);
        QCOMPARE(ire.Versuche, 0);
        store.close();
        engine::releaseTable(path);
    }
};

QTEST_GUILESS_MAIN(TestQuizStore)
#include "tst_quizstore.moc"
