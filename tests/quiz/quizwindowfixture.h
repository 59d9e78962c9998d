#pragma once
// A program folder with one Latin database, a main window and a quiz window,
// as the program entry wires them, for tests that drive a quiz through the
// windows. Message boxes are recorded and answered with `nextAnswer`.
#include "database/databasedisplay.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/progresswindows.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "quiz/quizoptions.h"
#include "quiz/quizstart.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionoptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

struct QuizRow {
    QuizRow(const char* lesson, const char* foreign, const char* translation, int wordClass = 14,
            const char* genitive = "")
        : lesson(QString::fromUtf8(lesson)), foreign(QString::fromUtf8(foreign)),
          translation(QString::fromUtf8(translation)), wordClass(wordClass),
          genitive(QString::fromUtf8(genitive)) {}
    QString lesson;
    QString foreign;
    QString translation;
    int wordClass;
    QString genitive;
};

struct WordCounters {
    int asked = 0, wrong = 0, attempts = 0, difficulty = 0;
    bool lastRight = false;
    QString translation;
};

class QuizWindowFixture {
  public:
    QTemporaryDir program;
    QString table;
    std::unique_ptr<TForm1> mainWindow;
    QList<platform::MessageBoxRequest> boxes;
    platform::Answer nextAnswer = platform::Answer::Yes;

    void setUp() {
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        table = program.filePath("Latein/Caesar.ol");
        fill({{"001A1", "amare", "lieben"}});
        TDatabaseOptionsRec::forNewDatabase("Latein").save(program.filePath("Latein/Caesar.opt"));
        LessonList({"001A1Verben"}).save(program.filePath("Latein/Caesar.lst"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return nextAnswer;
        });
        mainWindow = std::make_unique<TForm1>();
        Form1 = mainWindow.get();
        fosc = new Tfosc;
        abfrag = new Tabfrag;
        Form1->hooks.languageChanged = [](const LanguageLabels& l) {
            abfrag->applyLanguageLabels(l);
        };
        Form1->hooks.fontsChanged = [](const DatabaseFonts& f) { abfrag->applyDatabaseFonts(f); };
        Form1->hooks.captionsChanged = [](const SpecialFormCaptions& c) {
            abfrag->applySpecialFormCaptions(c);
        };
        Form1->FormCreate({}, program.path());
        Form1->OpenVocabularyDatabase(table);
        Form1->show();
        abfrag->FormCreate();
    }

    void tearDown() {
        delete abfrag;
        abfrag = nullptr;
        delete fosc;
        fosc = nullptr;
        mainWindow.reset();
        Form1 = nullptr;
        platform::setMessageBoxHandler({});
        platform::setRandomSource({});
    }

    // Replaces the table's words.
    void fill(const QList<QuizRow>& rows) {
        {
            engine::Query q;
            engine::releaseTable(table);
            QFile::remove(table);
            CreateVocabularyTable(q, table);
        }
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table) + " WHERE ID = -1");
        q.open();
        engine::Transaction transaction(table);
        for (const QuizRow& r : rows)
            q.insertRecord({QVariant(), r.lesson,   r.foreign, r.translation, "", "", "", "", "",
                            "",         r.genitive, "",        r.wordClass,   "", 3,  0,  0,  0,
                            false,      false});
        transaction.commit();
    }

    WordCounters counters(const QString& foreign) const {
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(table) +
                 " WHERE Fremdwort = " + engine::quoteLiteral(foreign));
        q.open();
        return {q.asInteger("Anzahl_Abfragen"), q.asInteger("Falsche_Antworten"),
                q.asInteger("Versuche"),        q.asInteger("Schwierigkeit"),
                q.asBoolean("Letzte_gewusst"),  q.asString("Uebersetzung")};
    }

    // Saves a picture of the widget when ORVILEX_SHOTS names a folder.
    static void shot(QWidget& widget, const char* name) {
        const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
        if (folder.isEmpty()) return;
        QTest::qWait(50); // the chart lays itself out in the event loop
        QDir().mkpath(folder);
        QVERIFY(widget.grab().save(folder + "/" + name + ".png"));
    }
};

// A random source that plays back a script (0 once it runs out).
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
    void add(QList<int> more) { script_ += more; }
    QList<int> bounds;

  private:
    QList<int> script_;
};
