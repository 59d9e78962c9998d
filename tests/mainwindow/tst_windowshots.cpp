// Renders the main window and its dialogs offscreen. With ORVILEX_SHOTS set to
// a folder, the pictures are saved there for a person to look at.
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/newdatabasedialog.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include <QTabWidget>
#include "database/opendialog.h"
#include "mainwindow/mainwindow.h"
#include "platform/paths.h"

#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

class TestWindowShots : public QObject {
    Q_OBJECT

    static void save(QWidget& w, const char* name) {
        const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
        if (!folder.isEmpty())
            QVERIFY(w.grab().save(folder + "/" + name + ".png"));
    }

private slots:
    void mainWindowWithoutDatabase() {
        QTemporaryDir program;
        platform::ensureFolder(program.filePath("data"));
        TForm1 window;
        window.FormCreate({}, program.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.menuBar()->actions().size(), 6);
        QVERIFY(window.height() >= 550);
        save(window, "mainwindow-empty");
    }

    void mainWindowWithALessonOpen() {
        QTemporaryDir program;
        platform::ensureFolder(program.filePath("data"));
        platform::ensureFolder(program.filePath("Latein"));
        const QString table = program.filePath("Latein/Caesar.ol");
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
            q.clearSql();
            q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
            q.open();
            const char* words[][3] = {{"001A1", "amare", "lieben"}, {"001A1", "videre", "sehen"},
                                      {"001A1", "audire", "hören"}, {"002A1", "rex", "König"}};
            for (auto& w : words) {
                q.append();
                WriteNewRecordValues(q, w[0]);
                q.setValue("Fremdwort", w[1]);
                q.setValue("Uebersetzung", QString::fromUtf8(w[2]) + "\r\n(gern) haben");
                q.setValue("PraeFut", "amo");
                q.setValue("Anzahl_Abfragen", 5);
                q.setValue("Falsche_Antworten", 2);
                q.post();
            }
        }
        TDatabaseOptionsRec::forNewDatabase("Latein").save(program.filePath("Latein/Caesar.opt"));
        LessonList({"001A1Verben", "002A1Nomen", "002B1", "010A2Zahlen"})
            .save(program.filePath("Latein/Caesar.lst"));
        TForm1 window;
        Form1 = &window;
        window.FormCreate({}, program.path());
        window.OpenVocabularyDatabase(table);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        save(window, "mainwindow-lesson");
        window.Tab1->setCurrentIndex(2);
        save(window, "mainwindow-table");
        window.Tab1->setCurrentIndex(1);
        QTest::qWait(50);
        save(window, "mainwindow-extras");
    }

    void dialogs() {
        TDialogNeu neu;
        neu.show();
        save(neu, "dialogneu");
        Tdateiladen laden;
        laden.show();
        save(laden, "dateiladen");
    }
};

QTEST_MAIN(TestWindowShots)
#include "tst_windowshots.moc"
