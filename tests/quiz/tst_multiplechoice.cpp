// The proposals of multiple choice on real tables with a scripted random
// source: the right answer's place, the narrowing of a large table, too few
// words, quotes and LIKE wildcards in the answer, and the captions.
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/random.h"
#include "quiz/multiplechoice.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

struct Word {
    Word(const QString& foreign, const QString& translation, int wordClass = 2)
        : foreign(foreign), translation(translation), wordClass(wordClass) {}
    QString foreign;
    QString translation;
    int wordClass;
};

// A random source that plays back a script (0 once it runs out) and notes the
// bounds asked for.
class ScriptedRandom {
  public:
    explicit ScriptedRandom(QList<int> script = {}) : script_(std::move(script)) {
        platform::setRandomSource([this](int bound) {
            bounds << bound;
            const int value = script_.isEmpty() ? 0 : script_.takeFirst();
            return std::clamp(value, 0, std::max(0, bound - 1));
        });
    }
    ~ScriptedRandom() { platform::setRandomSource({}); }
    QList<int> bounds;

  private:
    QList<int> script_;
};

using multiplechoice::EmptyProposal;

} // namespace

class TestMultipleChoice : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    int tables = 0;

    QString table(const QList<Word>& words) {
        const QString path = folder.filePath(QStringLiteral("t%1.ol").arg(++tables));
        {
            engine::Query create;
            CreateVocabularyTable(create, path);
        }
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(path) + " WHERE ID = -1");
        q.open();
        engine::Transaction transaction(path);
        for (const Word& w : words)
            q.insertRecord({QVariant(), "001A1", w.foreign, w.translation, "", "", "", "", "",
                            "",         "",      "",        w.wordClass,   "", 3,  0,  0,  0,
                            false,      false});
        transaction.commit();
        return path;
    }

    static multiplechoice::Request request(const QString& path, const QString& answer,
                                           bool hard = true, int wordClass = 2) {
        multiplechoice::Request r;
        r.tablePath = path;
        r.answer = answer;
        r.wordClass = wordClass;
        r.hard = hard;
        return r;
    }

  private slots:
    void scores() {
        ScriptedRandom random({2, 1});
        using multiplechoice::CountLetterDifferences;
        // Beginnings count once, the last three letters twice.
        QCOMPARE(CountLetterDifferences("lieben", "sehen", true), 3);
        QCOMPARE(CountLetterDifferences("lieben", "laufen", true), 4);
        QCOMPARE(CountLetterDifferences("Hund", "Hand", true), 1);
        QCOMPARE(CountLetterDifferences("lieben", "", true), 6);
        // The same text is pushed far back.
        QCOMPARE(CountLetterDifferences("Hund", "Hund", true), 10000);
        QVERIFY(random.bounds.isEmpty());
        // The easy setting pushes near-identical words back and adds 0..2.
        QCOMPARE(CountLetterDifferences("Hund", "Hand", false), 82);
        // A short answer keeps its low score.
        QCOMPARE(CountLetterDifferences("Tor", "Tag", false), 2 + 1);
        QCOMPARE(random.bounds, (QList<int>{3, 3}));
    }

    void prefixesAndPatterns() {
        QCOMPARE(multiplechoice::AnswerPrefix("der Hund"), QStringLiteral("der"));
        QCOMPARE(multiplechoice::AnswerPrefix("in etwas"), QStringLiteral("in "));
        QCOMPARE(multiplechoice::AnswerPrefix("inne"), QString());
        QCOMPARE(multiplechoice::AnswerPrefix("Dieb"), QString());
        // The stem keeps the blank after the article.
        QCOMPARE(multiplechoice::NarrowingPattern("der", " Hund", 1), QStringLiteral("der %"));
        QCOMPARE(multiplechoice::NarrowingPattern("der", " Hund", 3), QStringLiteral("der Hu%"));
        QCOMPARE(multiplechoice::NarrowingPattern("", "50%_\\x", 5),
                 QStringLiteral("50\\%\\_\\\\%"));
        QCOMPARE(multiplechoice::NarrowingPattern("", "ab", 5), QStringLiteral("ab%"));
    }

    void rightPlaceAndSmallTable() {
        const QString path = table(
            {{"amare", "lieben"}, {"videre", "sehen"}, {"ire", "gehen"}, {"currere", "laufen"}});
        ScriptedRandom random({1});
        const auto p = multiplechoice::FillMultipleChoice(request(path, "lieben"));
        QVERIFY(p.error.isEmpty());
        QCOMPARE(p.right, 2);
        QCOMPARE(random.bounds.first(), 4);
        // A small table is read whole, without skips; the scores order them.
        QCOMPARE(p.candidates, (QStringList{"sehen", "gehen", "laufen"}));
        QCOMPARE(p.texts, (std::array<QString, 4>{"sehen", "lieben", "gehen", "laufen"}));
        QCOMPARE(p.filled, (std::array<bool, 4>{true, true, true, true}));
        QCOMPARE(p.statement.size(), 1);

        // Over the four places the right answer can stand on each.
        for (int place = 0; place < 4; ++place) {
            ScriptedRandom again({place});
            const auto q = multiplechoice::FillMultipleChoice(request(path, "lieben"));
            QCOMPARE(q.right, place + 1);
            QCOMPARE(q.texts[place], QStringLiteral("lieben"));
        }
    }

    void tooFewWords() {
        const QString alone = table({{"amare", "lieben"}});
        ScriptedRandom random({3});
        auto p = multiplechoice::FillMultipleChoice(request(alone, "lieben", false));
        QCOMPARE(p.right, 4);
        QCOMPARE(p.filled, (std::array<bool, 4>{false, false, false, true}));
        QCOMPARE(p.texts[3], QStringLiteral("lieben"));

        // Two words with the same translation give one proposal; a word with
        // the right answer's translation is never proposed.
        const QString twins = table(
            {{"canis", "Hund"}, {"felis", "Katze"}, {"catta", "Katze"}, {"molossus", "Hund"}});
        ScriptedRandom second({0});
        p = multiplechoice::FillMultipleChoice(request(twins, "Hund"));
        QCOMPARE(p.candidates, QStringList{"Katze"});
        // An empty place scores by the answer's length alone, so here it
        // comes before the one proposal.
        QCOMPARE(p.texts[3], QStringLiteral("Katze"));
        QCOMPARE(p.filled, (std::array<bool, 4>{true, false, false, true}));
    }

    void narrowingOfALargeTable() {
        QList<Word> words{{"canis", "der Hund"}};
        for (int k = 0; k < 40; ++k)
            words.append({"x", QStringLiteral("der Ha%1").arg(k)});
        for (int k = 0; k < 28; ++k)
            words.append({"x", QStringLiteral("der Hut%1").arg(k)});
        for (int k = 0; k < 12; ++k)
            words.append({"x", QStringLiteral("der Hunger%1").arg(k)});
        for (int k = 0; k < 40; ++k)
            words.append({"x", QStringLiteral("die Katze%1").arg(k)});
        for (int k = 0; k < 30; ++k)
            words.append({"x", QStringLiteral("der Hund%1").arg(k), 1});
        const QString path = table(words);

        ScriptedRandom random;
        auto p = multiplechoice::FillMultipleChoice(request(path, "der Hund"));
        QCOMPARE(p.prefix, QStringLiteral("der"));
        QCOMPARE(p.stem, QStringLiteral(" Hund"));
        // "der Hund%" leaves the answer alone: the step before is kept. The
        // verbs were never in reach.
        QCOMPARE(p.statement.size(), 3);
        QCOMPARE(p.statement[1], QStringLiteral("WHERE Wortart=2"));
        QCOMPARE(p.statement[2],
                 QStringLiteral("AND Uebersetzung LIKE \"der Hun%\" ESCAPE \"\\\""));
        QCOMPARE(p.candidates.size(), 12);
        for (const QString& text : p.candidates)
            QVERIFY(text.startsWith("der Hunger"));
        QVERIFY(p.filled[1] && p.filled[2] && p.filled[3]);
        // No skips: 13 rows are fewer than 80 + 3.
        QCOMPARE(random.bounds, QList<int>{4});

        // Without "Schwierig" there is no narrowing by letters, and a table
        // larger than 50 + 3 rows is read with random skips.
        ScriptedRandom easy({0, 2, 1});
        p = multiplechoice::FillMultipleChoice(request(path, "der Hund", false));
        QCOMPARE(p.statement, (QStringList{p.statement[0], "WHERE Wortart=2"}));
        QCOMPARE(p.candidates.size(), 50);
        // Two rows skipped after the first, one after the second.
        QCOMPARE(p.candidates.mid(0, 3), (QStringList{"der Ha0", "der Ha3", "der Ha5"}));
        QCOMPARE(easy.bounds.mid(0, 3), (QList<int>{4, 3, 3}));

        // An unknown word class skips the class step.
        ScriptedRandom none;
        p = multiplechoice::FillMultipleChoice(request(path, "der Hund", true, 0));
        QCOMPARE(p.statement.size(), 2);
        // "der Hund%" now finds the verbs "der Hund0".."der Hund29".
        QCOMPARE(p.statement[1],
                 QStringLiteral("WHERE Uebersetzung LIKE \"der Hund%\" ESCAPE \"\\\""));
    }

    void quotesAndWildcardsInTheAnswer() {
        QList<Word> words{{"x", "50% \"gut\""}};
        for (int k = 0; k < 15; ++k)
            words.append({"x", QStringLiteral("50% \"a%1\"").arg(k)});
        for (int k = 0; k < 15; ++k)
            words.append({"x", QStringLiteral("50% b%1").arg(k)});
        for (int k = 0; k < 30; ++k)
            words.append({"x", QStringLiteral("50x \"c%1\"").arg(k)});
        for (int k = 0; k < 30; ++k)
            words.append({"x", QStringLiteral("5_0 d%1").arg(k)});
        const QString path = table(words);
        ScriptedRandom random;
        const auto p = multiplechoice::FillMultipleChoice(request(path, "50% \"gut\""));
        QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
        // "%" and "_" match themselves only: the last pattern kept is 50% " .
        QCOMPARE(p.statement.last(),
                 QStringLiteral("AND Uebersetzung LIKE \"50\\% \"\"%\" ESCAPE \"\\\""));
        QCOMPARE(p.candidates.size(), 15);
        for (const QString& text : p.candidates)
            QVERIFY2(text.startsWith("50% \"a"), qPrintable(text));
    }

    void failingStatementFallsBack() {
        // A table of another program without the word class: the class step
        // fails, and the proposals come from the statement before it.
        const QString path = folder.filePath("ohneWortart.ol");
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QString sql = "CREATE TABLE VokabelTable (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                      "Lektion CHAR(5), Fremdwort CHAR(100), Uebersetzung CHAR(150));";
        for (int k = 0; k < 30; ++k)
            sql += QStringLiteral("INSERT INTO VokabelTable (Lektion, Fremdwort, Uebersetzung) "
                                  "VALUES ('001A1', 'f%1', 'Wort%1');")
                       .arg(k);
        QCOMPARE(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);

        ScriptedRandom random;
        const auto p = multiplechoice::FillMultipleChoice(request(path, "Wort0", false));
        QVERIFY(p.error.isEmpty());
        QCOMPARE(p.statement.size(), 1);
        QCOMPARE(p.candidates.size(), 29);
        QVERIFY(p.filled[1] && p.filled[2] && p.filled[3]);
        engine::releaseTable(path);
    }

    void foreignWordAsked() {
        const QString path = table({{"amare", "lieben"}, {"amor", "Liebe"}, {"amicus", "Freund"}});
        ScriptedRandom random;
        auto r = request(path, "amare");
        r.foreignExpected = true;
        const auto p = multiplechoice::FillMultipleChoice(r);
        QCOMPARE(p.candidates, (QStringList{"amor", "amicus"}));
        QCOMPARE(p.texts[0], QStringLiteral("amare"));
    }

    void captions() {
        QCOMPARE(multiplechoice::JoinedLines("gehen\r\nlaufen\r\nfahren"),
                 QStringLiteral("gehen, laufen, fahren"));
        QFont font(QStringLiteral("DejaVu Sans"), 10);
        const QString shortText = QStringLiteral("gehen, laufen");
        QCOMPARE(multiplechoice::FitCaption(shortText, font, 400), shortText);
        const QString longText = QStringLiteral("sich an etwas erinnern, gedenken, im Gedächtnis "
                                                "behalten, sich vergegenwärtigen");
        const QString cut = multiplechoice::FitCaption(longText, font, 200);
        QVERIFY(cut.endsWith(".."));
        QVERIFY(longText.startsWith(cut.chopped(2)));
        QVERIFY(QFontMetrics(font).horizontalAdvance(cut.chopped(2)) <= 200);
    }
};

QTEST_MAIN(TestMultipleChoice)
#include "tst_multiplechoice.moc"
