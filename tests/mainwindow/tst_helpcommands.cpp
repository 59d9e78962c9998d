// The help commands, the maker's addresses, the merge tool, the search command
// and the about box. Nothing here opens a real viewer or browser: an opener
// that records what it was given stands in for the desktop.
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/aboutbox.h"
#include "mainwindow/helpbook.h"
#include "mainwindow/helpcommands.h"
#include "mainwindow/helpwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "quiz/quizwindow.h"
#include "quiz/selectionwindow.h"
#include "support/mainwindowstart.h"
#include "support/wordtable.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
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

    // Each help command of each window opens the help window at its page.
    void helpCommandsOpenTheirPage_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("title");
        const QString contents = "html/inhalt.htm";
        const QString contentsTitle = "Inhalt der Hilfe zu Orvilex";
        QTest::newRow("Hilfe > Inhalt") << "Inhalt" << contents << contentsTitle;
        QTest::newRow("F1 im Hauptfenster") << "F1 Hauptfenster" << contents << contentsTitle;
        QTest::newRow("Hilfe-Knopf") << "Hilfe-Knopf" << contents << contentsTitle;
        QTest::newRow("Griechische Schriftart") << "Griechisch"
                                                << "html/orvi8oc6.htm"
                                                << "Griechische Schrift und Akzente";
        QTest::newRow("Orvilex effektiv nutzen") << "effektiv"
                                                 << "html/orvi6378.htm"
                                                 << "Orvilex effektiv nutzen";
        QTest::newRow("F1 in der Abfrage") << "F1 Abfrage"
                                           << "html/orvi8nhi.htm"
                                           << "Das Abfragefenster";
        QTest::newRow("F1 in der Lektionenauswahl") << "F1 Auswahl"
                                                    << "html/orvi8oiu.htm"
                                                    << "Lektionen für die Abfrage wählen";
        QTest::newRow("Hilfe der Lektionenauswahl") << "Auswahl"
                                                    << "html/orvi8oiu.htm"
                                                    << "Lektionen für die Abfrage wählen";
    }
    void helpCommandsOpenTheirPage() {
        QFETCH(QString, command);
        QFETCH(QString, page);
        QFETCH(QString, title);
        auto window = StartMainWindow(work->path());
        helpcommands::ConnectHelpCommands(*window);
        Tabfrag quiz;
        Tausw selection;
        if (HelpWindow* help = helpcommands::helpWindow()) help->close();

        const auto pressF1 = [](QWidget& w) {
            w.show();
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTest::keyClick(&w, Qt::Key_F1);
        };
        if (command == "Inhalt") window->OrvilexHilfe1->trigger();
        if (command == "F1 Hauptfenster") pressF1(*window);
        if (command == "Hilfe-Knopf") window->hilfebtn->click();
        if (command == "Griechisch") window->HilfezurgriechischenSchriftart1->trigger();
        if (command == "effektiv") window->Orvilexeffektivnutzen1->trigger();
        if (command == "F1 Abfrage") pressF1(quiz);
        if (command == "F1 Auswahl") pressF1(selection);
        if (command == "Auswahl") selection.BitBtn2Click();

        HelpWindow* help = helpcommands::helpWindow();
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(help->currentPage(), page);
        QCOMPARE(help->currentTitle(), title);
        QCOMPARE(help->windowTitle(), "Orvilex Hilfe – " + title);
        QVERIFY(boxes.isEmpty());
        help->close();
        Form1 = nullptr;
    }

    // A page or help file that does not exist is explained; no empty window opens.
    void missingPageIsExplained() {
        if (HelpWindow* help = helpcommands::helpWindow()) help->close();
        QVERIFY(!helpcommands::ShowHelp("Orvilex.chm::/html/gibtesnicht.htm"));
        QVERIFY(!helpcommands::ShowHelp("Anders.chm::/html/inhalt.htm"));
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0].text, QStringLiteral("Die Hilfeseite „html/gibtesnicht.htm“ wurde in "
                                               "der Hilfe zu Orvilex nicht gefunden."));
        QCOMPARE(boxes[1].text,
                 QStringLiteral("Die Hilfedatei „Anders.chm“ wurde nicht gefunden."));
        QVERIFY(!helpcommands::helpWindow() || !helpcommands::helpWindow()->isVisible());
        QVERIFY(opened.isEmpty());

        // A link to a missing page keeps the page shown.
        QVERIFY(helpcommands::ShowHelp("orvilex.CHM::/html/orvi6378.htm"));
        HelpWindow* help = helpcommands::helpWindow();
        emit help->browser->anchorClicked(QUrl("fehlt.htm"));
        QCOMPARE(boxes.size(), 3);
        QVERIFY(boxes[2].text.contains("„html/fehlt.htm“"));
        QCOMPARE(help->currentPage(), QStringLiteral("html/orvi6378.htm"));
        // Web addresses go to the desktop.
        emit help->browser->anchorClicked(QUrl("https://orvilex.de"));
        QCOMPARE(opened, QStringList{"https://orvilex.de"});
        help->close();
    }

    // The contents reach every page, every link and picture of every page
    // leads somewhere, and in the window links, back, forward and the search work.
    void helpWindowNavigatesAndSearches() {
        const help::HelpBook& book = help::book();
        QSet<QString> listed{help::ContentsPage};
        for (const help::ContentsGroup& group : book.contents())
            for (const help::PageEntry& entry : group.pages)
                listed << entry.page;
        const QStringList pages = book.pages();
        QCOMPARE(QSet<QString>(pages.begin(), pages.end()), listed);
        static const QRegularExpression reference("(?:href|src)=\"([^\"]+)\"");
        for (const QString& page : pages) {
            QVERIFY2(!book.title(page).isEmpty(), qPrintable(page));
            for (auto it = reference.globalMatch(book.html(page)); it.hasNext();) {
                const QUrl target = book.url(page).resolved(QUrl(it.next().captured(1)));
                if (target.scheme() != "qrc") continue;
                const QString where = page + " -> " + target.toString();
                QVERIFY2(QFile::exists(":" + target.path()), qPrintable(where));
                if (target.hasFragment())
                    QVERIFY2(book.html(book.pageOf(target))
                                 .contains("name=\"" + target.fragment() + "\""),
                             qPrintable(where));
            }
        }

        QVERIFY(helpcommands::ShowHelp("Orvilex.chm::/html/eingeben.htm"));
        HelpWindow* help = helpcommands::helpWindow();
        QCOMPARE(help->currentTitle(), QStringLiteral("Eingeben von Vokabeln"));
        QVERIFY(help->browser->toHtml().contains("sonderzeichen.htm"));
        emit help->browser->anchorClicked(QUrl("sonderzeichen.htm"));
        QCOMPARE(help->currentPage(), QStringLiteral("html/sonderzeichen.htm"));
        QVERIFY(help->backButton->isEnabled());
        help->backButton->click();
        QCOMPARE(help->currentPage(), QStringLiteral("html/eingeben.htm"));
        help->forwardButton->click();
        QCOMPARE(help->currentPage(), QStringLiteral("html/sonderzeichen.htm"));
        help->contentsButton->click();
        QCOMPARE(help->currentPage(), help::ContentsPage);
        QCOMPARE(help->contentsTree->currentItem()->text(0), book.title(help::ContentsPage));

        help->searchField->setText("synonyme");
        help->searchButton->click();
        QCOMPARE(help->tabs->currentIndex(), 1);
        QVERIFY(help->hitList->count() >= 2);
        QCOMPARE(help->hitList->item(0)->text(), QStringLiteral("Eingeben von Vokabeln"));
        emit help->hitList->itemActivated(help->hitList->item(0));
        QCOMPARE(help->currentPage(), QStringLiteral("html/eingeben.htm"));
        QCOMPARE(help->browser->textCursor().selectedText().toLower(), QStringLiteral("synonyme"));
        help->searchField->setText("Quantenchromodynamik");
        emit help->searchField->returnPressed();
        QCOMPARE(help->hitList->count(), 0);
        QVERIFY(help->searchResult->text().startsWith("Keine Seite"));
        QVERIFY(boxes.isEmpty());

        // The window fits the free area of a small screen, its frame too;
        // Escape closes it.
        const QRect free = help->screen()->availableGeometry();
        QVERIFY(free.width() < 1160);
        QVERIFY(free.contains(help->frameGeometry()));
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help->searchField, Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        // A screen 1000 pixels high, a title bar of 30.
        const QMargins frame(4, 30, 4, 4);
        QCOMPARE(FitIntoScreen({60, 235, 1160, 780}, frame, {0, 0, 1280, 1000}),
                 QRect(60, 216, 1160, 780));
        QCOMPARE(FitIntoScreen({-50, 0, 1160, 780}, frame, {0, 24, 800, 576}),
                 QRect(4, 54, 792, 542));
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
        WriteWordTable(table, {{"amare", "x"}, {"videre", "x"}});
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
