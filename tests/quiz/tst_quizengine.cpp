// The quiz engine on a store in memory with a scripted random source: the
// road of a quiz word by word and the counters it leaves in the words.
#include "platform/random.h"
#include "quiz/quizengine.h"

#include <QMap>
#include <QtTest>

namespace {

class FakeStore : public QuizStore {
  public:
    QMap<qint64, QuizWord> words;
    QList<QuizWord> copies;
    int resets = 0;
    int writes = 0;

    qint64 add(const QString& lesson, const QString& foreign, const QString& translation) {
        QuizWord w;
        w.ID = words.isEmpty() ? 1 : words.lastKey() + 1;
        w.Lektion = lesson;
        w.Fremdwort = foreign;
        w.Uebersetzung = translation;
        w.Wortart = 14;
        w.Schwierigkeit = 3;
        // Left over from an earlier quiz: a new quiz starts them afresh.
        w.Versuche = 4;
        w.Abgefragt = true;
        words.insert(w.ID, w);
        return w.ID;
    }

    QList<qint64> selectWords(const QuizSelection& selection) override {
        QList<qint64> ids;
        for (const QuizWord& w : std::as_const(words))
            if (selection.lessonCodes.contains(w.Lektion)) ids << w.ID;
        return ids;
    }
    void resetQuizState(const QList<qint64>& ids, const Progress& progress) override {
        ++resets;
        for (qint64 id : ids) {
            words[id].Abgefragt = false;
            words[id].Versuche = 0;
        }
        if (progress) progress(int(ids.size()), int(ids.size()));
    }
    std::optional<QuizWord> readWord(qint64 id) override {
        if (!words.contains(id)) return std::nullopt;
        return words.value(id);
    }
    void writeWord(const QuizWord& word) override {
        ++writes;
        words[word.ID] = word;
    }
    bool copyToDifficultLesson(const QuizWord& word) override {
        for (const QuizWord& w : std::as_const(words))
            if (w.Lektion == DifficultWordsLessonCode && w.Fremdwort == word.Fremdwort &&
                w.Uebersetzung == word.Uebersetzung)
                return false;
        QuizWord copy = word;
        copy.ID = words.lastKey() + 1;
        copy.Lektion = DifficultWordsLessonCode;
        words.insert(copy.ID, copy);
        copies << copy;
        return true;
    }
};

// A random source that plays back a script and checks the bounds asked for.
class ScriptedRandom {
  public:
    explicit ScriptedRandom(QList<int> script) : script_(std::move(script)) {
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

QuizSelection lessons(const QStringList& codes, int direction = 1) {
    QuizSelection selection;
    selection.lessonCodes = codes;
    selection.options.setDirection(direction);
    return selection;
}

} // namespace

class TestQuizEngine : public QObject {
    Q_OBJECT

  private slots:
    void runOfFiveWords() {
        FakeStore store;
        for (int k = 1; k <= 5; ++k)
            store.add("001A1", QStringLiteral("verbum%1").arg(k), QStringLiteral("Wort%1").arg(k));
        store.add("002A1", "alius", "anderes");
        TQuizOptionsRec options;
        options.ComboBox1 = "2";
        QuizEngine quiz(store, options);

        QVERIFY(quiz.start(lessons({"001A1"})));
        QCOMPARE(store.resets, 1);
        QCOMPARE(quiz.QuizTotal, 5);
        QCOMPARE(quiz.QuizRemaining, 5);
        QCOMPARE(quiz.QuizReached, 1);
        QCOMPARE(quiz.MaxAttempts, 2);
        QCOMPARE(quiz.word().Versuche, 0);

        auto answer = [&](bool right) {
            QCOMPARE(quiz.phase(), QuizPhase::Asking);
            QVERIFY(!quiz.uber());
            QCOMPARE(quiz.questionText(), quiz.word().Fremdwort);
            quiz.submit(right ? quiz.word().Uebersetzung : QStringLiteral("falsch"));
            QCOMPARE(quiz.AnswerJudgedRight, right);
            QCOMPARE(quiz.phase(), QuizPhase::Judged);
        };
        auto current = [&] { return quiz.word().ID; };

        answer(true); // word 1 known at once
        quiz.next();
        QCOMPARE(current(), 2);
        answer(false); // word 2 comes back later
        quiz.next();
        QCOMPARE(current(), 3);
        QCOMPARE(quiz.QuizReached, 3);
        answer(false);
        quiz.judgeRight(); // "doch richtig"
        quiz.judgeRight(); // a second click counts nothing more
        QCOMPARE(quiz.QuizRightCount, 2);
        quiz.next();
        QCOMPARE(current(), 4);
        answer(true);
        quiz.judgeWrong(); // "doch falsch"
        QCOMPARE(quiz.QuizRightCount, 2);
        quiz.next();
        QCOMPARE(current(), 5);
        answer(false);
        quiz.next();
        // Back to the first word still in the pool; no new word reached.
        QCOMPARE(current(), 2);
        QCOMPARE(quiz.QuizReached, 5);
        QCOMPARE(quiz.QuizRemaining, 3);
        answer(true); // known at the second attempt
        quiz.next();
        QCOMPARE(current(), 4);
        answer(false); // second attempt used up: the word leaves the pool
        quiz.next();
        QCOMPARE(current(), 5);
        answer(false);
        quiz.next();

        QCOMPARE(quiz.phase(), QuizPhase::Finished);
        QVERIFY(!quiz.hasWord());
        QCOMPARE(quiz.QuizRemaining, 0);
        QCOMPARE(quiz.QuizReached, 6);
        QCOMPARE(quiz.QuizRightCount, 3);
        QCOMPARE(quiz.KnownAtAttempt[0], 2);
        QCOMPARE(quiz.KnownAtAttempt[1], 1);
        QCOMPARE(quiz.KnownAtAttempt[2], 0);

        struct Expected {
            int asked, wrong, attempts;
            bool lastRight, done;
        };
        const Expected expected[5] = {{1, 0, 0, true, true},
                                      {2, 1, 1, true, true},
                                      {1, 0, 0, true, true},
                                      {2, 2, 2, false, true},
                                      // The last word of the pool keeps Abgefragt false.
                                      {2, 2, 2, false, false}};
        for (int k = 0; k < 5; ++k) {
            const QuizWord& w = store.words[k + 1];
            QCOMPARE(w.Anzahl_Abfragen, expected[k].asked);
            QCOMPARE(w.Falsche_Antworten, expected[k].wrong);
            QCOMPARE(w.Versuche, expected[k].attempts);
            QCOMPARE(w.Letzte_gewusst, expected[k].lastRight);
            QCOMPARE(w.Abgefragt, expected[k].done);
        }
        // The word of the other lesson was not touched.
        QCOMPARE(store.words[6].Versuche, 4);
        QVERIFY(store.copies.isEmpty());
    }

    void noWordSelected() {
        FakeStore store;
        store.add("001A1", "a", "b");
        TQuizOptionsRec options;
        QuizEngine quiz(store, options);
        QVERIFY(!quiz.start(lessons({"005A1"})));
        QCOMPARE(quiz.phase(), QuizPhase::Idle);
        QCOMPARE(quiz.QuizTotal, 0);
        QCOMPARE(store.resets, 0);
    }

    void randomOrderAndMixedDirection() {
        FakeStore store;
        for (int k = 1; k <= 4; ++k)
            store.add("001A1", QStringLiteral("f%1").arg(k), QStringLiteral("n%1").arg(k));
        TQuizOptionsRec options;
        options.rborder = false;
        options.rbrandom = true;
        options.ComboBox1 = "3";
        QuizEngine quiz(store, options);
        // Start: position 2 of 4, direction "native shown".
        // Then: position 0 of 3 after word 3 finished, direction "foreign shown".
        ScriptedRandom random({2, 0, 0, 1});
        QVERIFY(quiz.start(lessons({"001A1"}, 3)));
        QCOMPARE(random.bounds, (QList<int>{4, 2}));
        QCOMPARE(quiz.word().ID, 3);
        QVERIFY(quiz.uber());
        QCOMPARE(quiz.questionText(), QStringLiteral("n3"));
        QCOMPARE(quiz.expectedAnswerText(), QStringLiteral("f3"));
        // The same word shown again (after editing it) keeps its direction.
        quiz.Felderset(false);
        QVERIFY(quiz.uber());
        QCOMPARE(random.bounds.size(), 2);

        quiz.submit("f3");
        QVERIFY(quiz.AnswerJudgedRight);
        quiz.next();
        QCOMPARE(random.bounds, (QList<int>{4, 2, 3, 2}));
        QCOMPARE(quiz.QuizRandomIndex, 0);
        QCOMPARE(quiz.word().ID, 1);
        QVERIFY(!quiz.uber());
        QCOMPARE(quiz.QuizReached, 2);
    }

    void resumeGoesOnInTableOrder() {
        FakeStore store;
        for (int k = 1; k <= 4; ++k)
            store.add("001A1", QStringLiteral("f%1").arg(k), QStringLiteral("n%1").arg(k));
        TQuizOptionsRec options;
        options.rborder = false;
        options.rbrandom = true;
        QuizEngine quiz(store, options);
        ScriptedRandom random({2});
        // The random draw belongs to a new quiz only.
        QVERIFY(quiz.resume(lessons({"001A1"})));
        QCOMPARE(quiz.word().ID, 1);
        QVERIFY(random.bounds.isEmpty());
        QVERIFY(quiz.start(lessons({"001A1"})));
        QCOMPARE(quiz.word().ID, 3);
        QCOMPARE(random.bounds, QList<int>{4});
    }

    void meaningsRequired() {
        QCOMPARE(QuizEngine::requiredMeaningsFor(3, 2), 2);
        QCOMPARE(QuizEngine::requiredMeaningsFor(10, 4), 7);
        QCOMPARE(QuizEngine::requiredMeaningsFor(1, 6), 1);
        // Past the table: the share of ten meanings.
        QCOMPARE(QuizEngine::requiredMeaningsFor(20, 0), 1);
        QCOMPARE(QuizEngine::requiredMeaningsFor(20, 3), 10);
        QCOMPARE(QuizEngine::requiredMeaningsFor(20, 6), 20);

        FakeStore store;
        store.add("001A1", "ire", "gehen\r\nlaufen\r\nfahren");
        TQuizOptionsRec options;
        options.tb1 = 2;
        options.ComboBox1 = "5";
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1"})));
        QCOMPARE(quiz.ExpectedMeaningCount, 3);
        QCOMPARE(quiz.RequiredMeanings, 2);
        QVERIFY(quiz.submit("fahren\ngehen"));
        quiz.judgeWrong();
        quiz.next();
        // The same meaning typed twice counts once.
        QVERIFY(!quiz.submit("gehen\ngehen"));
        quiz.next();
        QVERIFY(!quiz.submit("gehen"));
    }

    void longMeaningsAreComparedWhole() {
        FakeStore store;
        QString meaning;
        for (int k = 0; meaning.size() < 120; ++k)
            meaning += QStringLiteral("Wort%1 ").arg(k);
        meaning.truncate(120);
        store.add("001A1", "longum", meaning);
        TQuizOptionsRec options;
        options.ComboBox1 = "5";
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1"})));
        // The first 100 characters alone, or followed by a wrong tail, are
        // not the meaning.
        QVERIFY(!quiz.submit(meaning.left(100)));
        quiz.next();
        QVERIFY(!quiz.submit(meaning.left(100) + QStringLiteral("falsch")));
        quiz.next();
        QVERIFY(quiz.submit(meaning));
        QCOMPARE(quiz.QuizRightCount, 1);
    }

    void specialFormsTurnTheVerdict() {
        FakeStore store;
        const qint64 id = store.add("001A1", "laudare", "loben");
        store.words[id].Forms[0] = "laudo";
        store.words[id].Genitiv = "";
        TQuizOptionsRec options;
        options.labf = true;
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1"})));
        QVERIFY(quiz.asksPrincipalParts());
        QVERIFY(!quiz.asksGenitive());
        QuizEngine::TypedForms forms;
        forms.mm[0] = "laudas";
        QVERIFY(!quiz.submit("loben", forms));
        QVERIFY(!quiz.lastFormsVerdict.principalPartRight[0]);
        QCOMPARE(quiz.QuizRightCount, 0);
    }

    void difficultWordsCopy() {
        FakeStore store;
        const qint64 a = store.add("001A1", "dubius", "zweifelhaft \"sehr\"");
        const qint64 b = store.add("001A1", "certus", "sicher");
        store.add("999Z9", "certus", "sicher"); // already among the difficult words
        const qint64 c = store.add("999Z9", "rarus", "selten");
        TQuizOptionsRec options;
        options.cbxmal = true;
        options.exmal = 2;
        options.ComboBox1 = "3";
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1", "999Z9"})));
        const QList<qint64> pool = quiz.pool();

        // a: wrong, then right at the second attempt: copied all the same.
        QCOMPARE(quiz.word().ID, a);
        quiz.submit("nein");
        quiz.next();
        QCOMPARE(quiz.word().ID, b);
        quiz.submit("nein");
        quiz.next();
        QCOMPARE(quiz.word().ID, 3);
        quiz.submit("sicher");
        quiz.next();
        QCOMPARE(quiz.word().ID, c);
        quiz.submit("nein");
        quiz.next();
        QCOMPARE(quiz.word().ID, a);
        QVERIFY(store.copies.isEmpty());
        quiz.submit(store.words[a].Uebersetzung);
        QVERIFY(quiz.AnswerJudgedRight);
        quiz.next();
        QCOMPARE(store.copies.size(), 1);
        QCOMPARE(store.copies[0].Fremdwort, QStringLiteral("dubius"));
        QCOMPARE(store.copies[0].Uebersetzung, QStringLiteral("zweifelhaft \"sehr\""));
        // b reaches attempt 2 too, but its copy exists already; c is a word of
        // the lesson of difficult words itself.
        QCOMPARE(quiz.word().ID, b);
        quiz.submit("nein");
        quiz.next();
        QCOMPARE(quiz.word().ID, c);
        quiz.submit("nein");
        quiz.next();
        QCOMPARE(store.copies.size(), 1);
        // The copy never joined the pool.
        for (qint64 id : quiz.pool())
            QVERIFY(pool.contains(id));
    }

    void difficultWordsNeverReachedPastTheAttempts() {
        FakeStore store;
        store.add("001A1", "dubius", "zweifelhaft");
        TQuizOptionsRec options;
        options.cbxmal = true;
        options.exmal = 5;
        options.ComboBox1 = "3";
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1"})));
        while (quiz.hasWord()) {
            quiz.submit("nein");
            quiz.next();
        }
        QVERIFY(store.copies.isEmpty());

        // With 1 every word is copied on its first answer.
        options.exmal = 1;
        QVERIFY(quiz.start(lessons({"001A1"})));
        quiz.submit("zweifelhaft");
        quiz.next();
        QCOMPARE(store.copies.size(), 1);
    }

    void presentationLeavesTheCountersAlone() {
        FakeStore store;
        store.add("001A1", "a", "b");
        store.add("001A1", "c", "d");
        TQuizOptionsRec options;
        options.rbabnorm = false;
        options.rbabvor = true;
        options.edurch = 2;
        options.ComboBox1 = "7"; // the passes count, not the attempts
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1"})));
        QCOMPARE(quiz.MaxAttempts, 2);
        QList<qint64> shown;
        while (quiz.hasWord()) {
            shown << quiz.word().ID;
            quiz.presentationShown();
        }
        QCOMPARE(shown, (QList<qint64>{1, 2, 1, 2}));
        QCOMPARE(quiz.phase(), QuizPhase::Finished);
        QCOMPARE(quiz.QuizRightCount, 0);
        // Each pass counts at its attempt.
        QCOMPARE(quiz.KnownAtAttempt[0], 2);
        QCOMPARE(quiz.KnownAtAttempt[1], 2);
        for (const QuizWord& w : std::as_const(store.words)) {
            QCOMPARE(w.Anzahl_Abfragen, 0);
            QCOMPARE(w.Falsche_Antworten, 0);
            QCOMPARE(w.Letzte_gewusst, false);
            QCOMPARE(w.Versuche, 2);
        }
    }

    void timerInterval() {
        QCOMPARE(QuizEngine::demoTimerInterval(3000), 151);
        // Halves go to the even neighbour.
        QCOMPARE(QuizEngine::demoTimerInterval(10), 1);
        QCOMPARE(QuizEngine::demoTimerInterval(30), 3);
        QCOMPARE(QuizEngine::demoTimerInterval(50), 3);
        QCOMPARE(QuizEngine::demoTimerInterval(0), 1);

        FakeStore store;
        store.add("001A1", "a", "b");
        TQuizOptionsRec options;
        options.rbabnorm = false;
        options.rbabvor = true;
        options.cbnach = true;
        options.ems = 3000;
        QuizEngine quiz(store, options);
        QVERIFY(quiz.start(lessons({"001A1"})));
        int answerAt = 0;
        int advanceAt = 0;
        for (int tick = 1; tick <= 20 && !advanceAt; ++tick) {
            const DemoTick t = quiz.demoTick();
            if (t.showAnswer && !answerAt) answerAt = tick * 151;
            if (t.advance) advanceAt = tick * 151;
        }
        QCOMPARE(answerAt, 1510);
        QCOMPARE(advanceAt, 3020);
        QCOMPARE(quiz.DemoElapsed, 0);
    }
};

QTEST_GUILESS_MAIN(TestQuizEngine)
#include "tst_quizengine.moc"
