#include "support/mainwindowstart.h"
#include "tst_backupfixture.h"

#include "database/currentdatabase.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/recentdatabases.h"
#include "exchange/backuprun.h"
#include "exchange/backupscaling.h"
#include "exchange/backupwindow.h"
#include "exchange/foldertree.h"
#include "exchange/restorewindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/filedialog.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/mounts.h"
#include "platform/temporaryfiles.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <atomic>
#include <cerrno>
#include <future>
#include <memory>
#include <sys/vfs.h>

using namespace fixture;

class TestBackupWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString target;
    QList<platform::MessageBoxRequest> boxes;
    QList<platform::Answer> answers; // for the questions, in order
    // Holds the injected statfs below the silent folder until the test ends.
    std::unique_ptr<std::promise<void>> silence;
    std::shared_ptr<std::atomic<int>> statfsCalls = std::make_shared<std::atomic<int>>(0);
    const int answerMs = platform::FileSystemAnswerMs;

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
    // A mount table of `lines` and a statfs that never answers below the
    // `silent` folders and fails below `failing`; the deadline is shortened.
    void fakeMounts(const QByteArray& lines, const QByteArrayList& silent,
                    const QByteArray& failing) {
        platform::MountTablePath = dir->filePath("mounts");
        QVERIFY(writeAll(platform::MountTablePath, lines));
        silence = std::make_unique<std::promise<void>>();
        const std::shared_future<void> released = silence->get_future().share();
        platform::setStatfsFunction(
            [=, calls = statfsCalls](const char* path, struct statfs* info) {
                ++*calls;
                const QByteArray name(path);
                for (const QByteArray& folder : silent)
                    if (name.startsWith(folder)) released.wait();
                if (name.startsWith(failing)) {
                    errno = EIO;
                    return -1;
                }
                return ::statfs(path, info);
            });
        // Long enough that what must not wait for it is told from what does,
        // however busy the machine.
        platform::FileSystemAnswerMs = 600;
    }
    static QStringList itemTexts(const QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
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
        silence.reset(); // lets the silent questions end
        platform::setStatfsFunction({});
        platform::MountTablePath = QStringLiteral("/proc/self/mounts");
        platform::FileSystemAnswerMs = answerMs;
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

    // The windows are made at start-up without asking any mount; the drive
    // box is filled from the mount table when a window shows it, and a drive
    // that does not answer is marked. Choosing it, backing up into it,
    // restoring or opening from it ends with a message in time.
    void aSilentFileSystemIsNeverWaitedFor() {
        makeDatabase(WorkDir, "Latein", "Caesar");
        makeDatabase(WorkDir, "Englisch", "Vokabeln");
        const QByteArray mounts = "/dev/fake0 / ext4 rw 0 0\n"
                                  "proc /proc proc rw 0 0\n"
                                  "server:/share /mnt/Netz\\040Freigabe nfs4 rw 0 0\n"
                                  "/dev/fake1 /media/Stick vfat rw 0 0\n";
        const QByteArray english = QFile::encodeName(WorkDir + "/Englisch");
        fakeMounts(mounts, {"/mnt/Netz Freigabe", english}, "/media/Stick");
        const QString silent = "/mnt/Netz Freigabe";
        Tsichern backup;
        backup.disableDatabaseControls = [] {};
        backup.enableDatabaseControls = [] {};
        Tzsichern restore;
        QCOMPARE(statfsCalls->load(), 0);
        QCOMPARE(backup.drive->count(), 1);
        QCOMPARE(restore.DriveComboBox1->count(), 1);

        QElapsedTimer clock;
        clock.start();
        backup.FormShow();
        QVERIFY(clock.elapsed() < 450);
        const QString home = QStringLiteral("Persönlicher Ordner (%1)").arg(QDir::homePath());
        QCOMPARE(itemTexts(backup.drive), QStringList({home, "/", silent, "/media/Stick"}));
        QTRY_COMPARE(itemTexts(backup.drive), QStringList({home, "/", silent + " (antwortet nicht)",
                                                           "/media/Stick (nicht bereit)"}));

        const QString before = backup.targetFolder();
        clock.restart();
        emit backup.drive->activated(2);
        QVERIFY(clock.elapsed() < 300); // its deadline has passed already
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Laufwerk nicht verfügbar"));
        QVERIFY(boxes[0].text.startsWith("Das Laufwerk \"" + silent + "\" antwortet nicht"));
        QCOMPARE(backup.targetFolder(), before);
        emit backup.drive->activated(3);
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Das Laufwerk \"/media/Stick\" ist nicht bereit."));

        const QString folder = silent + "/Sicherungen";
        backup.setTargetFolder(folder);
        backup.eoClick();
        QVERIFY(boxes.last().text.startsWith("Der Ordner \"" + folder + "\" antwortet nicht"));
        QCOMPARE(backup.targetFolder(), folder);
        backup.lbds->item(1)->setSelected(true);
        backup.BitBtn1Click();
        QCOMPARE(lines(backup.ResultText), QStringList("Fehler beim Sichern von \"Caesar\". " +
                                                       platform::noAnswerMessage(folder)));

        restore.FormShow();
        restore.setFolder(folder);
        QCOMPARE(restore.folderLabel->text(), folder + " (antwortet nicht)");
        QCOMPARE(restore.flb->count(), 0);
        QString text;
        int code = 0;
        restore.neu_entzip(text, code, "Caesar", folder + "/Caesar.olx");
        QCOMPARE(code, 3);
        QVERIFY(text.contains("Die Datei \"" + folder + "/Caesar.olx\" antwortet nicht"));
        QVERIFY(restore.entzip(folder + "/Alt.olz").contains("antwortet nicht"));

        // The main window: a database there is neither opened nor dropped
        // from the recent list, a missing one is.
        // A language folder that is a mount and does not answer is left out
        // of the list of databases and of the start-up's clean-up.
        QVERIFY(writeAll(platform::MountTablePath,
                         mounts + "/dev/fake2 " + english + " fuse rw 0 0\n"));
        backup.FormShow();
        QCOMPARE(backup.dbnames, QStringList(WorkDir + "/Latein/Caesar.ol"));
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        for (const char* language : {"Latein", "Englisch"}) {
            QFile leftover(WorkDir + "/" + QLatin1String(language) + "/.move-abcdef.tmp");
            QVERIFY(leftover.open(QIODevice::WriteOnly));
            QVERIFY(leftover.setFileTime(old, QFileDevice::FileModificationTime));
        }
        platform::removeLeftoverTemporariesBelow({WorkDir});
        QVERIFY(!QFileInfo::exists(WorkDir + "/Latein/.move-abcdef.tmp"));
        QVERIFY(QFileInfo::exists(WorkDir + "/Englisch/.move-abcdef.tmp"));

        auto main = StartMainWindow(WorkDir);
        boxes.clear();
        main->OpenVocabularyDatabase(silent + "/Latein/Caesar.ol");
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.startsWith("Die Datenbank \"" + silent + "/Latein/Caesar.ol\""));
        QVERIFY(CurrentTablePath.isEmpty());
        TGeneralOptionsRec options;
        AddRecentEntry(options, silent + "/Latein/Caesar.ol", "Caesar", "Latein");
        AddRecentEntry(options, WorkDir + "/Latein/Weg.ol", "Weg", "Latein");
        QCOMPARE(RemoveMissingRecentDatabases(options), 1);
        QCOMPARE(options.Recent[0].Path, silent + "/Latein/Caesar.ol");
        main.reset();
        Form1 = nullptr;

        // A file chosen for an export, import or printout in a folder that
        // does not answer is refused, the chosen one elsewhere taken.
        QFileDialog files(nullptr, "Speichern unter", WorkDir + "/Englisch");
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        files.selectFile("Liste.txt");
        boxes.clear();
        QCOMPARE(platform::chosenFile(files, QDialog::Accepted), QString());
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, platform::noAnswerMessage(WorkDir + "/Englisch"));
        files.setDirectory(WorkDir + "/Latein");
        files.selectFile("Liste.txt");
        QCOMPARE(platform::chosenFile(files, QDialog::Accepted), WorkDir + "/Latein/Liste.txt");
        QCOMPARE(platform::chosenFile(files, QDialog::Rejected), QString());
        QCOMPARE(boxes.size(), 1);
    }

    // The tree lists each folder on a thread of its own, without the hidden
    // ones and with links to folders; a listing that does not come marks its
    // folder, and nothing waits for it when the tree goes.
    void folderTreeListsInTheBackground() {
        for (const char* sub : {"/a/innen", "/B", "/c", "/.versteckt"})
            platform::ensureFolder(target + sub);
        writeAll(target + "/datei.txt", "x");
        QVERIFY(QFile::link(target + "/c", target + "/verweis"));
        FolderTreeModel model;
        model.setRootPath(target);
        QVERIFY(!model.indexOf(target + "/a/innen").isValid());
        QTRY_VERIFY(model.indexOf(target + "/a/innen").isValid());
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.index(row, 0).data().toString();
        QCOMPARE(names, QStringList({"a", "B", "c", "verweis"}));
        QCOMPARE(model.filePath(model.indexOf(target + "/a/innen")), target + "/a/innen");

        std::promise<void> never;
        const std::shared_future<void> released = never.get_future().share();
        platform::FileSystemAnswerMs = 300;
        auto silentModel = std::make_unique<FolderTreeModel>(
            nullptr, [released](const QString& path, const FolderReport& report) {
                if (path == "/x")
                    report({"Netz"}, true, true);
                else
                    released.wait();
            });
        silentModel->setRootPath("/x");
        silentModel->indexOf("/x/Netz/y");
        QTRY_COMPARE(silentModel->rowCount(), 1);
        silentModel->indexOf("/x/Netz/y");
        const QModelIndex netz = silentModel->index(0, 0);
        QTRY_COMPARE(netz.data().toString(), QStringLiteral("Netz (antwortet nicht)"));
        QVERIFY(!silentModel->hasChildren(netz));
        QElapsedTimer clock;
        clock.start();
        silentModel.reset();
        QVERIFY(clock.elapsed() < 1000); // its lister never returns
        never.set_value();
    }

    // Where the machine allows it, the same on FUSE mounts whose daemons are
    // stopped (tools/stuck-mount-check.sh makes them): under the temporary
    // folder, under /mnt and in the home folder.
    void underStoppedMounts() {
        const QStringList mounts =
            qEnvironmentVariable("ORVILEX_STUCK_MOUNTS").split(':', Qt::SkipEmptyParts);
        if (mounts.isEmpty()) QSKIP("No stopped mounts here (tools/stuck-mount-check.sh --run)");
        makeDatabase(WorkDir, "Latein", "Caesar");
        platform::FileSystemAnswerMs = 500;
        auto main = StartMainWindow(WorkDir);
        Tsichern backup;
        backup.disableDatabaseControls = [] {};
        backup.enableDatabaseControls = [] {};
        Tzsichern restore;
        backup.FormShow();
        restore.FormShow();
        backup.show();
        restore.show();
        auto* tree = static_cast<FolderTreeModel*>(backup.dlb1->model());
        for (const QString& mount : mounts) {
            const int drive = backup.drive->findData(mount);
            QVERIFY2(drive >= 0, qPrintable(mount));
            QTRY_VERIFY(backup.drive->itemText(drive).endsWith(" (antwortet nicht)"));
            // The folder that holds the mount point is listed, the mount point
            // in it too; listing the mount point itself comes to nothing.
            backup.setTargetFolder(QFileInfo(mount).path());
            QTRY_VERIFY(tree->indexOf(mount).isValid());
            tree->fetchMore(tree->indexOf(mount)); // as the tree does when it is opened
            QTRY_VERIFY(tree->indexOf(mount).data().toString().endsWith(" (antwortet nicht)"));

            boxes.clear();
            emit backup.drive->activated(drive);
            QCOMPARE(boxes.size(), 1);
            QVERIFY(boxes[0].text.contains("antwortet nicht"));
            backup.setTargetFolder(mount);
            selectAll(backup.lbds);
            backup.BitBtn1Click();
            QVERIFY(backup.ResultText.contains(platform::noAnswerMessage(mount)));
            restore.setFolder(mount);
            QVERIFY(restore.folderLabel->text().endsWith(" (antwortet nicht)"));
            boxes.clear();
            main->OpenVocabularyDatabase(mount + "/Caesar.ol");
            QCOMPARE(boxes.size(), 1);
            QVERIFY(boxes[0].text.contains("antwortet nicht"));
            // A file dialog that showed the folder with the mount point in it ends.
            QFileDialog files(nullptr, "Speichern unter", QFileInfo(mount).path());
            files.setOption(QFileDialog::DontUseNativeDialog);
            platform::setModalHandler([](QDialog& dialog) {
                dialog.show();
                QTest::qWait(300);
                return int(QDialog::Rejected);
            });
            platform::execModal(files);
        }
        {
            // The print dialog's completer of the output file lists the home
            // folder, which holds one of the mounts.
            QPrinter printer;
            QPrintDialog print(&printer);
            print.setOption(QAbstractPrintDialog::PrintToFile, true);
            platform::execModal(print);
        }
        main.reset();
        Form1 = nullptr;
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
        fakeMounts("/dev/fake0 / ext4 rw 0 0\n"
                   "server:/share /mnt/Netz\\040Freigabe nfs4 rw 0 0\n",
                   {"/mnt/Netz Freigabe"}, "-");
        Tsichern backup;
        backup.FormShow();
        backup.setTargetFolder(target);
        backup.lbds->item(0)->setSelected(true);
        backup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&backup));
        QTest::qWait(200);
        QVERIFY(backup.Panel2->isHidden());
        QCOMPARE(backup.folderLabel->text(), target);
        // The tree shows the chosen folder once the folders on its way are listed.
        const auto* tree = static_cast<const FolderTreeModel*>(backup.dlb1->model());
        QTRY_COMPARE(tree->filePath(backup.dlb1->currentIndex()), target);
        QTRY_COMPARE(backup.drive->itemText(2),
                     QStringLiteral("/mnt/Netz Freigabe (antwortet nicht)"));

        backUpAll();
        Tzsichern restore;
        restore.setFolder(target);
        restore.FormShow();
        restore.flb->item(0)->setSelected(true);
        restore.show();
        QVERIFY(QTest::qWaitForWindowExposed(&restore));
        QTRY_COMPARE(restore.DriveComboBox1->itemText(2),
                     QStringLiteral("/mnt/Netz Freigabe (antwortet nicht)"));
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
