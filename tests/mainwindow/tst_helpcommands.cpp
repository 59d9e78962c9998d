// The help commands, the maker's addresses, the merge tool, the search command
// and the about box. Nothing here opens a real viewer or browser: an opener
// that records what it was given stands in for the desktop.
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/aboutbox.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "support/mainwindowstart.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

void writeFile(const QString& path, const QByteArray& content,
               QFileDevice::Permissions permissions = {}) {
    platform::ensureFolder(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (permissions) QVERIFY(file.setPermissions(permissions));
}

void typeInto(QPlainTextEdit* memo, const QString& text) {
    memo->setFocus();
    memo->selectAll();
    if (text.isEmpty())
        memo->textCursor().removeSelectedText();
    else
        memo->insertPlainText(text);
}

void saveShot(QWidget& w, const char* name) {
    const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
    if (!folder.isEmpty()) QVERIFY(w.grab().save(folder + "/" + name + ".png"));
}

} // namespace

class TestHelpCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> work, install;
    QList<platform::MessageBoxRequest> boxes;
    QStringList opened;
    bool openerSucceeds = true;

  private slots:
    void initTestCase() {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
        helpcommands::setOpener([this](const QString& target) {
            opened << target;
            return openerSucceeds;
        });
    }
    void cleanupTestCase() {
        platform::setMessageBoxHandler({});
        helpcommands::setOpener({});
    }
    void init() {
        work = std::make_unique<QTemporaryDir>();
        install = std::make_unique<QTemporaryDir>();
        WorkDir = work->path();
        InstallDir = install->path();
        platform::ensureFolder(work->filePath("data"));
        platform::HelpFile = "Orvilex.chm";
        boxes.clear();
        opened.clear();
        openerSucceeds = true;
    }

    void missingHelpFileIsExplained() {
        QVERIFY(!helpcommands::ShowHelp());
        QVERIFY(opened.isEmpty());
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains("„Orvilex.chm“ wurde nicht gefunden"));
        QVERIFY(boxes[0].text.contains(WorkDir));
    }

    void helpFileIsFoundAndOpened() {
        // In restricted-user mode the help lies in the program folder only;
        // a file name in other case is found as well.
        writeFile(install->filePath("orvilex.CHM"), "ITSF");
        QVERIFY(helpcommands::ShowHelp());
        QCOMPARE(opened, QStringList{install->filePath("orvilex.CHM")});
        writeFile(work->filePath("Orvilex.chm"), "ITSF");
        QVERIFY(helpcommands::ShowHelp());
        QCOMPARE(opened.last(), work->filePath("Orvilex.chm"));
        QVERIFY(boxes.isEmpty());

        // No program to show it: the user is told what is missing.
        openerSucceeds = false;
        QVERIFY(!helpcommands::ShowHelp());
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains("konnte nicht geöffnet werden"));
        QVERIFY(boxes[0].text.contains("CHM"));
    }

    void makerAddresses() {
        QVERIFY(helpcommands::OpenHomepage());
        QVERIFY(helpcommands::WriteMailToMaker());
        QCOMPARE(opened, (QStringList{"https://orvilex.de", "mailto:kontakt@orvilex.de"}));
        QVERIFY(boxes.isEmpty());
        openerSucceeds = false;
        QVERIFY(!helpcommands::OpenHomepage());
        QVERIFY(!helpcommands::WriteMailToMaker());
        QCOMPARE(boxes.size(), 2);
        QVERIFY(boxes[0].text.contains("https://orvilex.de"));
        QVERIFY(boxes[1].text.contains("kontakt@orvilex.de"));
    }

    void mergeTool() {
        // Missing: nothing at all happens.
        QVERIFY(!helpcommands::StartMergeTool());
        QVERIFY(boxes.isEmpty());
        QCOMPARE(QDir(WorkDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"data"});

        // A Windows program cannot run here: the user is told.
        const QString tool = work->filePath("data/zusammen.exe");
        writeFile(tool, "MZ\x90\x00", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(!helpcommands::StartMergeTool());
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains("zusammen.exe"));

        // An executable one starts in WorkDir.
        writeFile(tool, "#!/bin/sh\ntouch merged\n",
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(helpcommands::StartMergeTool());
        QTRY_VERIFY(QFile::exists(work->filePath("merged")));
        QCOMPARE(boxes.size(), 1);
    }

    void searchOnlyWhenTheWordIsComplete() {
        const QString table = work->filePath("Latein/Caesar.ol");
        platform::ensureFolder(work->filePath("Latein"));
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
            q.clearSql();
            q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
            q.open();
            for (const char* word : {"amare", "videre"}) {
                q.append();
                WriteNewRecordValues(q, "001A1");
                q.setValue("Fremdwort", word);
                q.setValue("Uebersetzung", "x");
                q.post();
            }
        }
        LessonList({"001A1"}).save(work->filePath("Latein/Caesar.lst"));
        TDatabaseOptionsRec::forNewDatabase("Latein").save(work->filePath("Latein/Caesar.opt"));
        auto window = StartMainWindow(work->path());
        window->OpenVocabularyDatabase(table);
        boxes.clear();

        QWidget suchen;
        window->Tab1->setCurrentIndex(1);
        typeInto(window->DBuebersetzung, "");
        QVERIFY(!helpcommands::ShowSearchWindow(*window, &suchen));
        QVERIFY(!suchen.isVisible());
        QCOMPARE(window->Tab1->currentIndex(), 1);
        QCOMPARE(boxes.size(), 1);

        typeInto(window->DBuebersetzung, "lieben");
        QVERIFY(helpcommands::ShowSearchWindow(*window, &suchen));
        QVERIFY(suchen.isVisible());
        QCOMPARE(window->Tab1->currentIndex(), 0);

        engine::releaseTable(table);
        Form1 = nullptr;
    }

    void aboutBox() {
        Tinfo2 box;
        QCOMPARE(box.windowTitle(), QStringLiteral("Orvilex Info"));
        QCOMPARE(box.ProductName->text(), QStringLiteral("Orvilex 3.3"));
        QCOMPARE(box.Version->text(), QStringLiteral("v3.3.6 built 07.11.09"));
        QCOMPARE(box.ProgramIcon->parentWidget(), box.GroupBox1);
        QCOMPARE(box.OKButton->text(), QStringLiteral("&OK"));
        emit box.memo1->linkActivated("https://orvilex.de");
        emit box.memo2->linkActivated("mailto:kontakt@orvilex.de");
        QCOMPARE(opened, (QStringList{"https://orvilex.de", "mailto:kontakt@orvilex.de"}));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        saveShot(box, "info2");
        box.OKButton->click();
        QCOMPARE(box.result(), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
