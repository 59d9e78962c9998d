#include "support/mainwindowstart.h"
#include "tst_backupfixture.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "exchange/backuprun.h"
#include "exchange/backupscaling.h"
#include "exchange/backupwindow.h"
#include "exchange/restorewindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <memory>

using namespace fixture;

class TestBackupWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString target;
    QList<platform::MessageBoxRequest> boxes;
    QList<platform::Answer> answers; // for the questions, in order

    static void selectAll(QListWidget* list) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(true);
    }
    static QStringList lines(const QString& text) {
        QStringList result = text.split(ResultLineEnd);
        if (!result.isEmpty() && result.last().isEmpty()) result.removeLast();
        return result;
    }
    QStringList questions() const {
        QStringList texts;
        for (const auto& box : boxes)
            if (box.buttons == platform::Buttons::YesNo) texts << box.caption + ": " + box.text;
        return texts;
    }
    // Backs up every database of WorkDir into `target` with the window.
    void backUpAll() {
        Tsichern window;
        window.disableDatabaseControls = [] {};
        window.enableDatabaseControls = [] {};
        window.FormShow();
        window.setTargetFolder(target);
        selectAll(window.lbds);
        window.BitBtn1Click();
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = dir->filePath("work");
        target = dir->filePath("target");
        platform::ensureFolder(WorkDir + "/data");
        platform::ensureFolder(target);
        GeneralOptions = TGeneralOptionsRec();
        CurrentTablePath.clear();
        baumlist.clear();
        boxes.clear();
        answers.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes << request;
            if (request.buttons == platform::Buttons::YesNo)
                return answers.isEmpty() ? platform::Answer::No : answers.takeFirst();
            return platform::Answer::Ok;
        });
    }
    void cleanup() {
        RemoveBackupTempFolder();
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
        CurrentTablePath.clear();
        baumlist.clear();
    }

    void backupWindowWritesOneArchivePerDatabase() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        makeDatabase(WorkDir, "Englisch", "Caesar");
        makeDatabase(WorkDir, "Latein", "Cicero");
        Tsichern window;
        QVERIFY(!BackupTempFolder.isEmpty());
        QVERIFY(QFileInfo(BackupTempFolder).isDir());
        int disabled = 0, enabled = 0;
        window.disableDatabaseControls = [&] { ++disabled; };
        window.enableDatabaseControls = [&] { ++enabled; };
        window.FormShow();
        QCOMPARE(window.lbds->count(), 3);
        QCOMPARE(window.dbnames.size(), 3);

        // Nothing chosen.
        window.BitBtn1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Bitte erst Datenbanken in obiger Liste markieren."));

        // Two databases of the same name: the second asks to overwrite the
        // first's archive; "No" keeps it.
        boxes.clear();
        window.setTargetFolder(target + "/");
        selectAll(window.lbds);
        window.BitBtn1Click();
        QCOMPARE(questions(), QStringList("Datei existiert schon: Soll vorhandene Datei \"" +
                                          target + "/Caesar.olx\" überschrieben werden?"));
        const QStringList result = lines(window.ResultText);
        QCOMPARE(boxes.last().text, window.ResultText);
        QCOMPARE(boxes.last().caption, QString());
        QCOMPARE(result.size(), 3);
        QCOMPARE(result.count("Datenbank \"Caesar\" wurde erfolgreich gesichert."), 1);
        QCOMPARE(result.count("Fehler beim Sichern von \"Caesar\". Datei existiert schon."), 1);
        QVERIFY(result.contains("Datenbank \"Cicero\" wurde erfolgreich gesichert."));
        QVERIFY(window.ResultText.endsWith("\n\r"));
        QCOMPARE(filesBelow(target), QStringList({"Caesar.olx", "Cicero.olx"}));
        QVERIFY(window.Panel2->isHidden());
        QCOMPARE(window.lnam->text(), QStringLiteral("Cicero.olx"));
        // No database was open: none is opened afterwards.
        QCOMPARE(disabled, 2);
        QCOMPARE(enabled, 0);

        // "Yes" overwrites; the open database is shown again afterwards.
        CurrentTablePath = WorkDir + "/Latein/Cicero.ol";
        baumlist.setLines({"001A1"});
        boxes.clear();
        answers = {platform::Answer::Yes, platform::Answer::Yes, platform::Answer::Yes};
        window.BitBtn1Click();
        QCOMPARE(questions().size(), 3);
        QCOMPARE(
            lines(window.ResultText).count("Datenbank \"Caesar\" wurde erfolgreich gesichert."), 2);
        QCOMPARE(enabled, 1);
    }

    void backupReportsAMissingCompanion() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        QFile::remove(WorkDir + "/Latein/Caesar.lst");
        backUpAll();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith("Fehler beim Sichern von \"Caesar\". Die Datei \""));
        QVERIFY(boxes[0].text.contains("Caesar.lst\" fehlt."));
        QCOMPARE(filesBelow(target), QStringList());
    }

    void folderButtons() {
        Tsichern window;
        window.setTargetFolder(target);
        window.eoClick();
        const QString dated = target + "/" + DatedBackupFolderName(QDate::currentDate());
        QVERIFY(QFileInfo(dated).isDir());
        QCOMPARE(window.targetFolder(), dated);
        QVERIFY(DatedBackupFolderName(QDate(2024, 3, 5)).startsWith("Orvilex Sicherung ("));
        QVERIFY(!DatedBackupFolderName(QDate(2024, 3, 5)).contains('/'));

        QString typed = "Neu";
        platform::setModalHandler([&](QDialog& dialog) {
            auto& input = static_cast<QInputDialog&>(dialog);
            input.setTextValue(typed);
            return int(QDialog::Accepted);
        });
        window.BneuClick();
        QVERIFY(QFileInfo(dated + "/Neu").isDir());
        QCOMPARE(window.targetFolder(), dated + "/Neu");
        typed = "../Weg";
        window.BneuClick();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        QVERIFY(!QFileInfo::exists(dated + "/Weg"));
        QCOMPARE(window.targetFolder(), dated + "/Neu");

        window.SpeedButton9Click();
        QVERIFY(boxes.last().text.contains("\"Orvilex Sicherung (<#Datum#>)\""));
        window.cleartemp();
        QVERIFY(QFileInfo(WorkDir + "/backup").isDir());
    }

    void restoreWindowRestoresArchivesInListOrder() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        makeDatabase(WorkDir, "Latein", "Cicero");
        backUpAll();
        writeAll(target + "/Alt.olz", "PK");
        QDir(WorkDir).removeRecursively();
        platform::ensureFolder(WorkDir);

        Tzsichern window;
        QStringList opened;
        window.openDatabase = [&](const QString& path) { opened << path; };
        window.setFolder(target);
        QCOMPARE(window.flb->count(), 3);
        QCOMPARE(window.flb->item(0)->text(), QStringLiteral("Alt.olz"));
        boxes.clear();
        window.flb->item(2)->setSelected(true);
        window.flb->item(1)->setSelected(true);
        window.BitBtn1Click();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(lines(boxes[0].text),
                 QStringList({"Datenbank \"Caesar\" wurde erfolgreich zurückgesichert.",
                              "Datenbank \"Cicero\" wurde erfolgreich zurückgesichert."}));
        QVERIFY(QFileInfo::exists(WorkDir + "/Latein/Cicero.ol"));
        QVERIFY(window.Panel1->isHidden());
        QVERIFY(opened.isEmpty());

        // A file that only looks like an old zipped backup is refused.
        boxes.clear();
        window.flb->clearSelection();
        window.flb->item(0)->setSelected(true);
        window.BitBtn1Click();
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith("Fehler beim Zurücksichern von \"Alt\". Die Datei \""));
        QVERIFY(boxes[0].text.contains("ist beschädigt oder keine ZIP-Datei."));
    }

    void restoreOverAnExistingDatabaseAsksFirst() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        backUpAll();
        const QString archive = target + "/Caesar.olx";
        const QString table = WorkDir + "/Latein/Caesar.ol";
        const QByteArray packed = readAll(table);
        // The database changed since.
        engine::releaseTable(table);
        QFile::remove(table);
        makeDatabase(WorkDir, "Latein", "Caesar", "ferre");
        const QByteArray changed = readAll(table);
        QVERIFY(changed != packed);

        Tzsichern window;
        QStringList opened;
        window.openDatabase = [&](const QString& path) { opened << path; };
        boxes.clear();
        QCOMPARE(window.neu_entzip(archive),
                 QStringLiteral("Fehler beim Zurücksichern von \"Caesar\". Datenbank existiert "
                                "schon.\n\r"));
        QCOMPARE(questions(), QStringList("Achtung - Datenbank existiert schon: Soll vorhandene "
                                          "Datenbank \"Caesar\" überschrieben werden?"));
        QCOMPARE(readAll(table), changed);

        // The open database is replaced and shown again.
        CurrentTablePath = table;
        answers = {platform::Answer::Yes};
        QString text = "vorher\n\r";
        int code = 7;
        window.neu_entzip(text, code, "Caesar", archive);
        QCOMPARE(text, QStringLiteral("vorher\n\rDatenbank \"Caesar\" wurde erfolgreich "
                                      "zurückgesichert.\n\r"));
        QCOMPARE(code, 7); // unchanged on success
        QCOMPARE(readAll(table), packed);
        QCOMPARE(opened, QStringList(table));

        // A damaged archive leaves the database as it is and says why.
        QByteArray broken = readAll(archive);
        broken.chop(30);
        writeAll(target + "/Kaputt.olx", broken);
        answers = {platform::Answer::Yes};
        text.clear();
        window.neu_entzip(text, code, "Kaputt", target + "/Kaputt.olx");
        QCOMPARE(code, 3);
        QVERIFY(text.startsWith("Fehler beim Zurücksichern von \"Kaputt\". Die Datei \""));
        QVERIFY(text.contains("beschädigt"));
        QCOMPARE(readAll(table), packed);
    }

    // As a new user would: the open database, the "Tabelle" page, a restore of
    // that database from its archive, then F3 and a new word at once.
    void newWordRightAfterARestoreFromTheTablePage() {
        const QString table = makeDatabase(WorkDir, "Latein", "Caesar");
        backUpAll();
        auto window = StartMainWindow(WorkDir);
        window->OpenVocabularyDatabase(table);
        window->Tab1->setCurrentIndex(2);
        QVERIFY(!window->Query->canModify());

        Tzsichern restore;
        restore.setFolder(target);
        restore.flb->item(0)->setSelected(true);
        answers = {platform::Answer::Yes};
        boxes.clear();
        restore.BitBtn1Click();
        QCOMPARE(boxes.last().text, QStringLiteral("Datenbank \"Caesar\" wurde erfolgreich "
                                                   "zurückgesichert.\n\r"));

        const int before = window->Query->recordCount();
        window->VokabelNeu1->trigger();
        QCOMPARE(window->Query->recordCount(), before + 1);
        QCOMPARE(window->Query->asString("Fremdwort"), QString());
        window->DBFremdwort->setPlainText("ferre");
        window->DBuebersetzung->setPlainText("tragen");
        window->SpeedSaveClick();
        QCOMPARE(window->Tab1->currentIndex(), 0);
        engine::Query words;
        words.setSql(
            {"SELECT * FROM " + engine::quoteLiteral(table) + " WHERE Fremdwort = \"ferre\""});
        words.open();
        QCOMPARE(words.recordCount(), 1);
        QCOMPARE(words.asString("Uebersetzung"), QStringLiteral("tragen"));
        words.close();
        window.reset();
        Form1 = nullptr;
        engine::releaseTable(table);
    }

    void restoreGoesWhereTheDatabasesAreListed() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        backUpAll();
        const QString custom = dir->filePath("custom");
        platform::ensureFolder(custom);
        GeneralOptions.rbVVCustom = true;
        CustomVocabularyDir = custom;
        Tzsichern window;
        QString text;
        int code = 0;
        window.neu_entzip(text, code, "Caesar", target + "/Caesar.olx");
        GeneralOptions.rbVVCustom = false;
        CustomVocabularyDir.clear();
        QCOMPARE(code, 0);
        QVERIFY(QFileInfo::exists(custom + "/Latein/Caesar.ol"));
    }

    void startupScaling() {
        // Examples: 1280 × 1024 keeps the width, 1920 × 1080 the height.
        StartupScaling s = ComputeStartupScaling(QSize(1280, 1024), QSize(1280, 1024));
        QVERIFY(s.scaleMain);
        QCOMPARE(s.mainSize, QSize(1280, 937));
        QCOMPARE(s.mainFactor, 1.6);
        s = ComputeStartupScaling(QSize(1920, 1080), QSize(1920, 1080));
        QCOMPARE(s.mainSize, QSize(1476, 1080));
        QCOMPARE(s.mainFactor, 1476 / 800.0);
        QCOMPARE(s.desktopHeight, 1080);
        // The desktop, not the primary screen, sets the size.
        s = ComputeStartupScaling(QSize(1000, 1000), QSize(2000, 1000));
        QCOMPARE(s.mainSize, QSize(1366, 1000));
        // An 800 × 600 screen changes nothing.
        s = ComputeStartupScaling(QSize(800, 600), QSize(800, 600));
        QVERIFY(!s.scaleMain);
        QVERIFY(!s.scaleQuiz);
        QCOMPARE(QuizScaleFactor(1080, 600), 1080 / 618.0);

        // Applied to the main window and to a quiz window created later.
        QTemporaryDir program;
        platform::ensureFolder(program.filePath("data"));
        TForm1 main;
        main.FormCreate({}, program.path());
        Form1 = &main;
        Tsichern window;
        const qreal before = main.font().pointSizeF();
        window.ScaleWindows(ComputeStartupScaling(QSize(1280, 1024), QSize(1280, 1024)));
        QCOMPARE(main.size(), QSize(1280, 937));
        QCOMPARE(main.font().pointSizeF(), before * 1.6);
        QVERIFY(!main.MainResizeAllowed);
        QDialog quiz;
        quiz.resize(500, 600);
        const qreal quizBefore = quiz.font().pointSizeF();
        window.ApplyQuizScaling(&quiz);
        QCOMPARE(quiz.font().pointSizeF(), quizBefore * 1024 / 618.0);
        window.ApplyQuizScaling(&quiz); // only once
        QCOMPARE(quiz.font().pointSizeF(), quizBefore * 1024 / 618.0);
        Form1 = nullptr;
    }

    void renderWindows() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        makeDatabase(WorkDir, "Englisch", "Vokabeln");
        Tsichern backup;
        backup.FormShow();
        backup.setTargetFolder(target);
        backup.lbds->item(0)->setSelected(true);
        backup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&backup));
        QTest::qWait(200);
        QVERIFY(backup.Panel2->isHidden());
        QCOMPARE(backup.folderLabel->text(), target);

        backUpAll();
        Tzsichern restore;
        restore.setFolder(target);
        restore.FormShow();
        restore.flb->item(0)->setSelected(true);
        restore.show();
        QVERIFY(QTest::qWaitForWindowExposed(&restore));
        QTest::qWait(200);
        QVERIFY(restore.Panel1->isHidden());
        QCOMPARE(restore.flb->count(), 2);

        const QString shots = qEnvironmentVariable("ORVILEX_SHOTS");
        if (!shots.isEmpty()) {
            QVERIFY(backup.grab().save(shots + "/backupwindow.png"));
            QVERIFY(restore.grab().save(shots + "/restorewindow.png"));
        }
    }
};

QTEST_MAIN(TestBackupWindows)
#include "tst_backupwindows.moc"
