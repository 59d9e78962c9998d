// Renaming a database and moving it to another language with real files, the
// refusals that protect other databases, and the database settings dialog on
// an open database in the main window.
#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/newdatabasedialog.h"
#include "database/recentdatabases.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "settings/databasesettings.h"
#include "settings/databasesettingsdialog.h"
#include "support/mainwindowstart.h"
#include "support/testfiles.h"
#include "support/wordtable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

namespace {

QStringList wordsOf(const QString& table) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(table));
    q.open();
    QStringList words;
    for (q.first(); !q.eof(); q.next())
        words << q.asString("Fremdwort");
    engine::releaseTable(table);
    return words;
}

QStringList filesBelow(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

void saveShot(QWidget& w, const char* name) {
    const QString folder = qEnvironmentVariable("ORVILEX_SHOTS");
    if (!folder.isEmpty()) QVERIFY(w.grab().save(folder + "/" + name + ".png"));
}

} // namespace

class TestDatabaseSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QList<platform::MessageBoxRequest> boxes;

    QString path(const QString& relative) const { return dir->filePath(relative); }

    // Latein/Caesar.ol with a word, its lesson list, an options record with
    // the East European character set used in the translations too, an index
    // companion and two quiz files; open as the current database.
    void makeCaesar() {
        const QString table = path("Latein/Caesar.ol");
        platform::ensureFolder(path("Latein"));
        WriteWordTable(table, {{"amare", "lieben"}});
        engine::releaseTable(table);
        LessonList({"001A1Verben"}).save(path("Latein/Caesar.lst"));
        TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase("Latein");
        options.CharsetPosition = 18;
        options.CharsetInTranslation = true;
        QVERIFY(options.save(path("Latein/Caesar.opt")));
        writeFile(path("Latein/Caesar.px"), "index");
        writeFile(path("data/CaesarLateinaw.dat"), "selection");
        writeFile(path("data/CaesarLatein.lab"), "interrupted");

        const TablePathParts parts = SplitTablePath(table);
        CurrentTablePath = table;
        CurrentDatabaseName = parts.name;
        CurrentDatabaseFolder = parts.folder;
        CurrentDatabaseBase = parts.base;
        CurrentExtension = parts.extension;
        CurrentLessonCode = "001A1";
        ReadDatabaseOptions(CurrentDatabaseBase);
    }

    void expectUntouched(const QStringList& before) {
        QCOMPARE(filesBelow(dir->path()), before);
        QCOMPARE(CurrentTablePath, path("Latein/Caesar.ol"));
        QCOMPARE(CurrentDatabaseName, QStringLiteral("Caesar"));
        QCOMPARE(CurrentLanguage, QStringLiteral("Latein"));
        QCOMPARE(wordsOf(CurrentTablePath), QStringList{"amare"});
    }

  private slots:
    void initTestCase() {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
    }
    void cleanupTestCase() {
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
    }

    void init() {
        dir = std::make_unique<QTemporaryDir>();
        WorkDir = dir->path();
        platform::ensureFolder(path("data"));
        GeneralOptions = TGeneralOptionsRec();
        boxes.clear();
        makeCaesar();
    }
    void cleanup() {
        engine::releaseTable(CurrentTablePath);
        CurrentTablePath.clear();
    }

    void renameTakesEveryFileAndTheRecentEntry() {
        AddRecentDatabase(path("Latein/Cicero.ol"), "Cicero", "Latein");
        AddRecentDatabase(CurrentTablePath, "Caesar", "Latein");
        AddRecentDatabase(path("Latein/Nepos.ol"), "Nepos", "Latein");
        const QByteArray options = readFile(path("Latein/Caesar.opt"));

        QCOMPARE(RenameDatabaseFiles("  Gallia ", ""), RelocationOutcome::Done);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(filesBelow(dir->path()),
                 (QStringList{"Latein/Gallia.lst", "Latein/Gallia.ol", "Latein/Gallia.opt",
                              "Latein/Gallia.px", "data/GalliaLatein.lab",
                              "data/GalliaLateinaw.dat", "data/gruopt.dat"}));
        QCOMPARE(readFile(path("Latein/Gallia.opt")), options);
        QCOMPARE(readFile(path("data/GalliaLatein.lab")), QByteArray("interrupted"));
        QCOMPARE(wordsOf(path("Latein/Gallia.ol")), QStringList{"amare"});

        QCOMPARE(CurrentTablePath, path("Latein/Gallia.ol"));
        QCOMPARE(CurrentDatabaseBase, path("Latein/Gallia"));
        QCOMPARE(CurrentDatabaseName, QStringLiteral("Gallia"));
        QCOMPARE(CurrentLanguage, QStringLiteral("Latein"));

        // The renamed database is at the front in place of its old entry, in
        // memory and in the file.
        TGeneralOptionsRec stored;
        QVERIFY(stored.load(GeneralOptionsFile()));
        for (const TGeneralOptionsRec* list : {&GeneralOptions, &stored}) {
            QCOMPARE(list->RecentCount, 3);
            QCOMPARE(list->Recent[0].Path, path("Latein/Gallia.ol"));
            QCOMPARE(list->Recent[0].DisplayText, QStringLiteral("Gallia [Latein]"));
            QCOMPARE(list->Recent[1].Path, path("Latein/Nepos.ol"));
            QCOMPARE(list->Recent[2].Path, path("Latein/Cicero.ol"));
        }
    }

    void languageMoveRecordsTheLanguageAndKeepsTheCharset() {
        QCOMPARE(RenameDatabaseFiles("", "Griechisch"), RelocationOutcome::Done);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(
            filesBelow(dir->path()),
            (QStringList{"Griechisch/Caesar.lst", "Griechisch/Caesar.ol", "Griechisch/Caesar.opt",
                         "Griechisch/Caesar.px", "data/CaesarGriechisch.lab",
                         "data/CaesarGriechischaw.dat", "data/gruopt.dat"}));
        QCOMPARE(CurrentDatabaseFolder, path("Griechisch") + "/");
        QCOMPARE(CurrentLanguage, QStringLiteral("Griechisch"));
        QCOMPARE(DatabaseOptions.Language, QStringLiteral("Griechisch"));

        const QByteArray image = readFile(path("Griechisch/Caesar.opt"));
        QCOMPARE(image.size(), TDatabaseOptionsRec::RecordSize);
        QCOMPARE(image.mid(1, static_cast<unsigned char>(image[0])), QByteArray("Griechisch"));
        QCOMPARE(image.mid(32, 4), QByteArray("#18#"));
        QCOMPARE(qFromLittleEndian<qint32>(image.constData() + 168), 1011);
        QCOMPARE(wordsOf(CurrentTablePath), QStringList{"amare"});
    }

    void aMissingOptionsFileIsWrittenInTheNewFolder() {
        QFile::remove(path("Latein/Caesar.opt"));
        QCOMPARE(RenameDatabaseFiles("Gallia", "Französisch"), RelocationOutcome::Done);
        TDatabaseOptionsRec stored;
        QVERIFY(stored.load(path("Französisch/Gallia.opt")));
        QCOMPARE(stored.Language, QStringLiteral("Französisch"));
        QCOMPARE(stored.CharsetPosition, 18);
    }

    void languageFolderStaysBesideTheDatabase() {
        QCOMPARE(LanguageFolderFor(path("Latein/Caesar.ol"), "Griechisch"),
                 path("Griechisch") + "/");
        // A database of the custom vocabulary folder stays there, where the
        // open dialog lists it.
        QTemporaryDir custom;
        platform::ensureFolder(custom.filePath("Latein"));
        GeneralOptions.rbVVCustom = true;
        CustomVocabularyDir = custom.path();
        QCOMPARE(LanguageFolderFor(custom.filePath("Latein/Nepos.ol"), "Griechisch"),
                 custom.filePath("Griechisch") + "/");
        QCOMPARE(LanguageFolderFor(path("Latein/Caesar.ol"), "Griechisch"),
                 path("Griechisch") + "/");
        // One from anywhere else goes to the vocabulary folder.
        QTemporaryDir elsewhere;
        platform::ensureFolder(elsewhere.filePath("a/b"));
        QCOMPARE(LanguageFolderFor(elsewhere.filePath("a/b/Nepos.ol"), "Griechisch"),
                 custom.filePath("Griechisch") + "/");
        CustomVocabularyDir.clear();
    }

    void unchangedOrBlankChangesNothing() {
        const QStringList before = filesBelow(dir->path());
        QCOMPARE(RenameDatabaseFiles("", " "), RelocationOutcome::Unchanged);
        QCOMPARE(RenameDatabaseFiles("Caesar", "Latein"), RelocationOutcome::Unchanged);
        QVERIFY(boxes.isEmpty());
        expectUntouched(before);
    }

    void refusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("blocker"); // a file that is in the way
        QTest::newRow("table of that name") << "Gallia"
                                            << ""
                                            << "Latein/Gallia.ol";
        QTest::newRow("table with the other extension") << "Gallia"
                                                        << ""
                                                        << "Latein/Gallia.db";
        QTest::newRow("stray lesson list") << "Gallia"
                                           << ""
                                           << "Latein/Gallia.lst";
        QTest::newRow("same name in the new language") << ""
                                                       << "Griechisch"
                                                       << "Griechisch/Caesar.ol";
        QTest::newRow("quiz file of the new name") << "Gallia"
                                                   << ""
                                                   << "data/GalliaLateinaw2.dat";
        QTest::newRow("name with a colon") << "Cae:sar"
                                           << ""
                                           << "";
        QTest::newRow("name with a dot") << "Caesar.alt"
                                         << ""
                                         << "";
        QTest::newRow("name too long") << QString(31, 'x') << ""
                                       << "";
        QTest::newRow("name the records cannot hold") << QString::fromUtf8("Καίσαρ") << ""
                                                      << "";
        QTest::newRow("language leading out of the folder") << ""
                                                            << "../Latein2"
                                                            << "";
        QTest::newRow("language with a slash") << ""
                                               << "Alt/Griechisch"
                                               << "";
        QTest::newRow("language of a program folder") << ""
                                                      << "Backup"
                                                      << "";
    }
    void refusals() {
        QFETCH(QString, name);
        QFETCH(QString, language);
        QFETCH(QString, blocker);
        if (!blocker.isEmpty()) writeFile(path(blocker), "someone else's");
        AddRecentDatabase(CurrentTablePath, "Caesar", "Latein");
        const QStringList before = filesBelow(dir->path());

        QCOMPARE(RenameDatabaseFiles(name, language), RelocationOutcome::Refused);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
        expectUntouched(before);
        if (!blocker.isEmpty()) QCOMPARE(readFile(path(blocker)), QByteArray("someone else's"));
        QCOMPARE(GeneralOptions.Recent[0].Path, path("Latein/Caesar.ol"));
        QVERIFY(!QFileInfo::exists(path("Griechisch")) || !blocker.isEmpty());
    }

    void aCaseOnlyRenameIsNoConflictWithItself() {
        QCOMPARE(RenameDatabaseFiles("caesar", ""), RelocationOutcome::Done);
        QVERIFY(boxes.isEmpty());
        QVERIFY(QFile::exists(path("Latein/caesar.ol")));
        QVERIFY(!QFile::exists(path("Latein/Caesar.ol")));
    }

    // "caesar" is another database on this file system: renaming "Caesar"
    // takes none of its files, not even one that "Caesar" lacks.
    void aDatabaseNamedInOtherCaseKeepsItsFiles() {
        QVERIFY(QFile::copy(path("Latein/Caesar.ol"), path("Latein/caesar.ol")));
        writeFile(path("data/caesarLateinaw2.dat"), "other");
        QCOMPARE(RenameDatabaseFiles("Gallia", ""), RelocationOutcome::Done);
        QCOMPARE(readFile(path("data/caesarLateinaw2.dat")), QByteArray("other"));
        QVERIFY(QFile::exists(path("Latein/caesar.ol")));
        QVERIFY(!QFile::exists(path("data/GalliaLateinaw2.dat")));
        QVERIFY(QFile::exists(path("data/GalliaLateinaw.dat")));
    }

    void aFailedMovePutsTheMovedFilesBack() {
        const QStringList before = filesBelow(dir->path());
        QList<DatabaseFileMove> moves = PlanDatabaseRelocation(
            {CurrentTablePath, "Latein", "Gallia", "Latein", path("Latein")});
        QCOMPARE(moves.size(), 6);
        // A source that vanished after the plan was made.
        moves.insert(3, {path("Latein/Vanished.lst"), path("Latein/Gallia.xyz")});
        const QString message = MoveDatabaseFiles(moves);
        QVERIFY(message.contains("Vanished.lst"));
        QVERIFY(message.contains("Die Datenbank bleibt unverändert."));
        expectUntouched(before);
    }

    void nameFieldLosesForbiddenCharacters() {
        NameFieldCleanup typed = RemoveForbiddenNameCharacters("Cae/sar", 4);
        QCOMPARE(typed.text, QStringLiteral("Caesar"));
        QCOMPARE(typed.caret, 3);
        QCOMPARE(typed.removed, 1);
        NameFieldCleanup pasted = RemoveForbiddenNameCharacters("a|b*c", 5);
        QCOMPARE(pasted.text, QStringLiteral("abc"));
        QCOMPARE(pasted.caret, 3);
        QCOMPARE(pasted.removed, 2);
        QCOMPARE(NameFieldForbiddenMessage(),
                 QStringLiteral("Der Name der Datenbank darf keines des folgenden Zeichen "
                                "enthalten: /\\+*?\"<>|"));

        Tdbeform form;
        form.FormShow();
        form.Edit1->setFocus();
        form.Edit1->end(false);
        QTest::keyClicks(form.Edit1, "/x");
        QCOMPARE(form.Edit1->text(), QStringLiteral("Caesarx"));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, NameFieldForbiddenMessage());

        // A name the program gave earlier is shown as it is, never cut back.
        CurrentDatabaseName = "A+B";
        form.FormShow();
        QCOMPARE(form.Edit1->text(), QStringLiteral("A+B"));
        QCOMPARE(boxes.size(), 1);
        CurrentDatabaseName = "Caesar";
    }

    void dialogShowsAndReturnsTheFontChoice() {
        Tdbeform form;
        form.FormShow();
        QCOMPARE(form.Edit1->text(), QStringLiteral("Caesar"));
        QCOMPARE(form.Edit2->text(), QStringLiteral("Latein"));
        QCOMPARE(form.echarset->currentText(), QStringLiteral("EASTEUROPE_CHARSET"));
        QCOMPARE(form.wcharset->count(), 20);
        QVERIFY(form.cbCharset->isChecked());
        QCOMPARE(form.sgFw->currentText(), QStringLiteral("18"));
        QCOMPARE(form.sgUe->count(), 20);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        saveShot(form, "dbeform");

        form.echarset->setCurrentText("GREEK_CHARSET");
        form.sgUe->setEditText("abc"); // not a size: the old one stays
        form.sgTUe->setEditText("13");
        form.cbFw->setEditText("Greek");
        form.FettFw->setChecked(true);
        const TDatabaseOptionsRec choice = form.fontChoice(DatabaseOptions);
        QCOMPARE(choice.CharsetPosition, 10);
        QCOMPARE(choice.wordCharset(), 161);
        QCOMPARE(choice.TranslationFontSize, DatabaseOptions.TranslationFontSize);
        QCOMPARE(choice.TableTranslationFontSize, 13);
        QCOMPARE(choice.WordFont, QStringLiteral("Greek"));
        QVERIFY(choice.WordFontBold);
    }

    // The whole road: the database is open in the main window, the dialog
    // moves it to Greek with a new font; the window goes on with the moved
    // table and the font is stored in the moved options record.
    void dialogOnTheOpenDatabase() {
        cleanup();
        auto window = StartMainWindow(dir->path());
        window->OpenVocabularyDatabase(path("Latein/Caesar.ol"));
        QCOMPARE(CurrentTablePath, path("Latein/Caesar.ol"));
        boxes.clear();

        Tdbeform form;
        platform::setModalHandler([](QDialog& d) {
            auto& f = static_cast<Tdbeform&>(d);
            f.Edit2->setText("Griechisch");
            f.cbFw->setEditText("Greek");
            f.echarset->setCurrentText("GREEK_CHARSET");
            f.BitBtn1->click();
            return f.result();
        });
        QCOMPARE(form.execute(), 1);
        platform::setModalHandler({});

        QCOMPARE(boxes.size(), 0);
        QCOMPARE(CurrentTablePath, path("Griechisch/Caesar.ol"));
        QVERIFY(!QFile::exists(path("Latein/Caesar.ol")));
        QVERIFY(window->Query->isActive());
        QCOMPARE(window->Query->tablePath(), path("Griechisch/Caesar.ol"));
        QCOMPARE(window->Query->asString("Fremdwort"), QStringLiteral("amare"));
        // Only a new name gives the window its caption "Orvikon …".
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvilex Vokabeltrainer - Caesar"));

        TDatabaseOptionsRec stored;
        QVERIFY(stored.load(path("Griechisch/Caesar.opt")));
        QCOMPARE(stored.Language, QStringLiteral("Griechisch"));
        QCOMPARE(stored.WordFont, QStringLiteral("Greek"));
        QCOMPARE(stored.CharsetPosition, 10);
        QVERIFY(stored.CharsetInTranslation);

        // "&Abbruch" keeps the fonts but still renames.
        platform::setModalHandler([](QDialog& d) {
            auto& f = static_cast<Tdbeform&>(d);
            f.Edit1->setText("Gallia");
            f.cbFw->setEditText("Arial");
            f.BitBtn2->click();
            return f.result();
        });
        QCOMPARE(form.execute(), Tdbeform::AbortResult);
        platform::setModalHandler({});
        QCOMPARE(CurrentTablePath, path("Griechisch/Gallia.ol"));
        QVERIFY(stored.load(path("Griechisch/Gallia.opt")));
        QCOMPARE(stored.WordFont, QStringLiteral("Greek"));
        QCOMPARE(window->Query->tablePath(), path("Griechisch/Gallia.ol"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvikon Orvilex Vokabeltrainer - Gallia"));

        engine::releaseTable(CurrentTablePath);
        Form1 = nullptr;
    }

    // A database just created stands in the recent list once the settings
    // that follow its creation are closed, however they are closed.
    void aNewDatabaseIsRecentAfterItsSettings() {
        cleanup();
        auto window = StartMainWindow(dir->path());
        DialogNeu = new TDialogNeu;
        Tdbeform form;
        window->hooks.afterNewDatabase = [&form] { form.execute(); };
        RecentDatabasesChanged = [&window] { window->RebuildRecentFilesMenu(); };
        platform::setModalHandler([](QDialog& d) {
            if (auto* neu = qobject_cast<TDialogNeu*>(&d)) {
                neu->EditName->setText("Neu");
                neu->RLatein->setChecked(true);
                return 1;
            }
            static_cast<Tdbeform&>(d).BitBtn2->click();
            return Tdbeform::AbortResult;
        });
        window->NeuClick();
        platform::setModalHandler({});
        delete DialogNeu;
        DialogNeu = nullptr;
        QCOMPARE(CurrentTablePath, path("Latein/Neu.ol"));
        QCOMPARE(GeneralOptions.Recent[0].Path, path("Latein/Neu.ol"));
        QCOMPARE(window->mit1->text(), QStringLiteral("&1 Neu [Latein]"));
        RecentDatabasesChanged = nullptr;
        engine::releaseTable(CurrentTablePath);
        Form1 = nullptr;
    }
};

QTEST_MAIN(TestDatabaseSettings)
#include "tst_databasesettings.moc"
