// Renders the main window and its dialogs offscreen. With ORVILEX_SHOTS set to
// a folder, the pictures are saved there for a person to look at.
#include "database/newdatabasedialog.h"
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
