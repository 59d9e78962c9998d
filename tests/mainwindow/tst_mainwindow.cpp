#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/startup.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
    QList<platform::MessageBoxRequest> boxes;

private slots:
    void init() {
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
    }
    void cleanup() { platform::setMessageBoxHandler({}); }

    void normalStartKeepsTheProgramFolder() {
        QTemporaryDir program;
        platform::ensureFolder(program.filePath("data"));
        TForm1 window;
        const QDir started = QDir::current();
        window.FormCreate({"Caesar.OL"}, program.path());
        QCOMPARE(WorkDir, program.path());
        QVERIFY(boxes.isEmpty());
        QCOMPARE(int(StartMode), int(StartDatabase));
        // Named relative to the folder the program was started from; a full
        // path stays as it is.
        QCOMPARE(StartFile, started.filePath("Caesar.OL"));
        QCOMPARE(startup::startFilePath("/srv/Latein/Caesar.ol", program.path()),
                 QStringLiteral("/srv/Latein/Caesar.ol"));
        QDir::setCurrent(started.path());
        QVERIFY(CurrentTablePath.isEmpty());
        QVERIFY(!window.Bearbeiten->menuAction()->isEnabled());
        QVERIFY(!window.Tab1->isEnabled());
        QCOMPARE(window.RecentMenuBase, window.DatenbankMenu->actions().indexOf(window.mit1));
    }

    void slashOneForcesRestrictedUserMode() {
        QTemporaryDir program, documents;
        platform::ensureFolder(program.filePath("data"));
        QFile option(program.filePath("data/option.dat"));
        QVERIFY(option.open(QIODevice::WriteOnly));
        option.close();
        platform::setDocumentsFolderOverride(documents.path());
        TForm1 window;
        window.FormCreate({"/1"}, program.path());
        platform::setDocumentsFolderOverride({});
        QCOMPARE(WorkDir, documents.filePath("Orvilex"));
        QCOMPARE(InstallDir, program.path());
        QVERIFY(QFile::exists(documents.filePath("Orvilex/data/option.dat")));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Information"));
        QCOMPARE(int(StartMode), int(StartNormal));
    }

    void readOnlyProgramFolderFallsBackToTheUserFolder() {
        QTemporaryDir program, documents;
        // No "data" folder to write into: the write test fails.
        platform::setDocumentsFolderOverride(documents.path());
        TForm1 window;
        window.FormCreate({}, program.path());
        platform::setDocumentsFolderOverride({});
        QCOMPARE(WorkDir, documents.filePath("Orvilex"));
    }

    void userFolderThatCannotBeMadeIsReported() {
        QTemporaryDir program, documents;
        QFile blocker(documents.filePath("Orvilex"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        platform::setDocumentsFolderOverride(documents.path());
        TForm1 window;
        window.FormCreate({"/1"}, program.path());
        platform::setDocumentsFolderOverride({});
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith("Kein Zugriff auf Orvilex-Verzeichnis."));
    }

    void shortcutsCanBeSwitchedOffExceptNewWord() {
        QTemporaryDir program;
        platform::ensureFolder(program.filePath("data"));
        TForm1 window;
        GeneralOptions.cbShortcutz = true; // as if read from gruopt.dat
        window.FormCreate({}, program.path());
        GeneralOptions = TGeneralOptionsRec();
        QList<QAction*> withShortcut;
        std::function<void(QMenu*)> walk = [&](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->menu())
                    walk(a->menu());
                else if (!a->shortcut().isEmpty())
                    withShortcut << a;
            }
        };
        for (QAction* top : window.menuBar()->actions())
            walk(top->menu());
        QCOMPARE(withShortcut.size(), 1);
        QCOMPARE(withShortcut[0]->shortcut(), QKeySequence(Qt::Key_F3));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
