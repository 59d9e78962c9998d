// The main road of a user: a new database, words typed into two lessons, the
// program closed and the database opened again from the recent list.
#include "database/charsets.h"
#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/generaloptions.h"
#include "database/lessons.h"
#include "database/lessontree.h"
#include "database/newdatabasedialog.h"
#include "database/opendialog.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "mainwindow/mainwindow.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "platform/modal.h"
#include "platform/paths.h"
#include "support/filesizelimit.h"
#include "support/mainwindowstart.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

void typeInto(QPlainTextEdit* memo, const QString& text) {
    memo->setFocus();
    memo->selectAll();
    if (text.isEmpty())
        memo->textCursor().removeSelectedText();
    else
        memo->insertPlainText(text);
}

QStringList wordsOfTable(const QString& path) {
    engine::Query q;
    q.addSql("SELECT * FROM " + engine::quoteLiteral(path));
    q.open();
    QStringList words;
    for (q.first(); !q.eof(); q.next())
        words << q.asString("Lektion") + ":" + q.asString("Fremdwort") + "=" +
                     q.asString("Uebersetzung");
    return words;
}

} // namespace

class TestDatabaseRoad : public QObject {
    Q_OBJECT
    QTemporaryDir program;
    QList<platform::MessageBoxRequest> boxes;
    platform::Answer nextAnswer = platform::Answer::Ok;

    std::unique_ptr<TForm1> startProgram() { return StartMainWindow(program.path()); }

    // A table in the Latin folder holding words as another tool wrote them:
    // lesson, foreign word and translation, "('001A1', 'amare', 'lieben'), ...".
    QString latinTable(const QString& name, const QByteArray& words) {
        platform::ensureFolder(program.filePath("Latein"));
        const QString table = program.filePath("Latein/" + name + ".ol");
        {
            engine::Query create;
            CreateVocabularyTable(create, table);
        }
        engine::releaseTable(table);
        execOnFile(table,
                   "INSERT INTO VokabelTable (Lektion, Fremdwort, Uebersetzung) VALUES " + words);
        return table;
    }

  private slots:
    void initTestCase() {
        platform::ensureFolder(program.filePath("data"));
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return nextAnswer;
        });
        DialogNeu = new TDialogNeu;
        dateiladen = new Tdateiladen;
    }
    void cleanupTestCase() {
        platform::setMessageBoxHandler({});
        platform::setModalHandler({});
        delete DialogNeu;
        delete dateiladen;
    }
    void init() { boxes.clear(); }

    void nameCheckMessages() {
        QVERIFY(CheckDatabaseName("Caesar").isEmpty());
        QCOMPARE(CheckDatabaseName(""), QStringLiteral("Bitte erst gültigen Namen eingeben"));
        QCOMPARE(CheckDatabaseName("a.b"),
                 QStringLiteral("Der Name enhält unzulässige Zeichen. Bitte korrigieren sie das. "
                                "Folgende Zeichen sind nicht erlaubt: . / \\ : * ? \" < > |"));
        QVERIFY(!CheckDatabaseName("..").isEmpty());
        QVERIFY(!CheckDatabaseName("a/b").isEmpty());
        QVERIFY(!CheckDatabaseName(QString(31, 'x')).isEmpty());
        QVERIFY(CheckDatabaseName(QString(30, 'x')).isEmpty());

        // The dialog keeps itself open on a bad name.
        TDialogNeu dialog;
        dialog.EditName->setText("Cae.sar");
        dialog.setResult(0);
        dialog.OKBtnClick();
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(boxes.size(), 1);
    }

    // A language is the name of the database's folder and is stored in its
    // 8-bit options record: one the record cannot hold, or a folder of the
    // program's own, is refused by the dialog and by the command, before
    // anything is created.
    void newDatabaseRefusesUnusableLanguages() {
        for (const QString& language :
             {QStringLiteral("Русский"), QStringLiteral("data"), QStringLiteral("Backup")}) {
            boxes.clear();
            auto window = startProgram();
            int rounds = 0;
            int dialogResult = -1;
            bool picked = false;
            platform::setModalHandler([&](QDialog& d) {
                auto* neu = qobject_cast<TDialogNeu*>(&d);
                if (++rounds > 1) return 2;
                neu->EditName->setText("Neu");
                neu->userl->setCurrentText(language);
                picked = neu->ruser->isChecked(); // typing a language picks it
                neu->setResult(0);
                neu->OKBtnClick();
                dialogResult = neu->result();
                return 1; // as if it had been accepted
            });
            QCOMPARE(window->NeuClick2(), true);
            QCOMPARE(rounds, 2);
            QVERIFY(picked);
            QCOMPARE(dialogResult, 0);
            QCOMPARE(boxes.size(), 2);
            for (const platform::MessageBoxRequest& box : boxes)
                QVERIFY2(box.text.startsWith("„" + language +
                                             "“ kann nicht die Sprache der Datenbank sein."),
                         qPrintable(box.text));
            QVERIFY(!QDir(program.filePath("Русский")).exists());
            QVERIFY(!QFile::exists(program.filePath(language + "/Neu.ol")));
            QVERIFY(!QFile::exists(program.filePath(language.toLower() + "/Neu.ol")));
            QVERIFY(!QFile::exists(program.filePath(language.toLower() + "/Neu.opt")));
            QVERIFY(CurrentTablePath.isEmpty());
        }
        platform::setModalHandler({});
    }

    void createTypeCloseReopen() {
        const QString table = program.filePath("Latein/Caesar.ol");
        {
            auto window = startProgram();
            platform::setModalHandler([](QDialog& d) {
                auto* neu = qobject_cast<TDialogNeu*>(&d);
                neu->EditName->setText("Caesar");
                neu->RLatein->setChecked(true);
                return 1;
            });
            QCOMPARE(window->NeuClick2(), false);
            QCOMPARE(CurrentTablePath, table);
            QCOMPARE(CurrentLanguage, QStringLiteral("Latein"));
            QVERIFY(QFile::exists(program.filePath("Latein/Caesar.opt")));
            QCOMPARE(window->lekbaum->topLevelItemCount(), 1);
            QCOMPARE(window->LabelPraeFut->text(), QStringLiteral("Präsens:"));

            typeInto(window->DBFremdwort, "amare");
            typeInto(window->DBuebersetzung, "lieben");
            window->SpeedCreateClick();
            typeInto(window->DBFremdwort, "videre");
            typeInto(window->DBuebersetzung, "sehen");
            window->wortart->setCurrentIndex(0);
            window->WortartChange();

            // A second lesson, then a word in it.
            baumlist.add("002A1Nomen");
            SaveLessonList(baumlist);
            RebuildLessonTree(window->lekbaum, baumlist);
            QVERIFY(SelectLessonNode(window->lekbaum, "002A1"));
            window->lekbaumClick();
            QCOMPARE(CurrentLessonCode, QStringLiteral("002A1"));
            typeInto(window->DBFremdwort, "rex");
            typeInto(window->DBuebersetzung, "König");
            window->close(); // the word being typed is stored on close
        }
        QCOMPARE(wordsOfTable(table),
                 (QStringList{"001A1:amare=lieben", "001A1:videre=sehen", "002A1:rex=König"}));
        {
            // A new database is recorded once it is opened again; do so now
            // through the open dialog, then from the recent list.
            auto window = startProgram();
            platform::setModalHandler([table](QDialog& d) {
                auto* open = qobject_cast<Tdateiladen*>(&d);
                open->FormPaint();
                const int row = open->dbnames.indexOf(table);
                open->namenliste->setCurrentRow(row);
                return 1;
            });
            window->oeffnenClick();
            QCOMPARE(CurrentTablePath, table);
            QCOMPARE(window->Query->recordCount(), 2);
            QCOMPARE(window->Query->asString("Fremdwort"), QStringLiteral("amare"));
            QCOMPARE(window->wortart->currentIndex(), 13);
            window->SpeednextClick();
            QCOMPARE(window->wortart->currentIndex(), 0);
            QCOMPARE(GeneralOptions.Recent[0].Path, table);
        }
        {
            auto window = startProgram();
            window->RebuildRecentFilesMenu(); // done by the settings dialog at start-up
            QVERIFY(window->mit1->isVisible());
            window->mit1->trigger();
            QCOMPARE(CurrentTablePath, table);
            QCOMPARE(window->windowTitle(), QStringLiteral("Orvilex Vokabeltrainer - Caesar"));
        }
    }

    // A new database whose table cannot be made (a full disk) leaves no file
    // behind, and the window goes back to the database open before.
    void aFailedCreationGoesBackToTheOpenDatabase() {
        const QString open = latinTable("Offen", "('002A1', 'amare', 'lieben')");
        auto window = startProgram();
        window->OpenVocabularyDatabase(open);
        QCOMPARE(window->lekbaum->topLevelItemCount(), 1);
        platform::setModalHandler([](QDialog& d) {
            auto* neu = qobject_cast<TDialogNeu*>(&d);
            neu->EditName->setText("Voll");
            neu->RLatein->setChecked(true);
            return 1;
        });
        {
            FileSizeLimit full(512);
            QVERIFY_THROWS_EXCEPTION(std::exception, window->NeuClick2());
        }
        platform::setModalHandler({});
        QVERIFY(!QFileInfo::exists(program.filePath("Latein/Voll.ol")));
        QCOMPARE(CurrentTablePath, open);
        QCOMPARE(window->lekbaum->topLevelItemCount(), 1);
        QVERIFY(window->DBFremdwort->isEnabled());
        QCOMPARE(window->Query->asString("Fremdwort"), QStringLiteral("amare"));
    }

    // A database named relative to the folder the program is started from
    // opens, although the program first changes to its own folder, and the
    // recent list keeps its full path.
    void relativePathOnTheCommandLine() {
        QTemporaryDir start;
        platform::ensureFolder(start.filePath("Latein"));
        const QString table = start.filePath("Latein/Mein.ol");
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
        }
        engine::releaseTable(table);
        TDatabaseOptionsRec::forNewDatabase("Latein").save(start.filePath("Latein/Mein.opt"));
        LessonList({"001A1"}).save(start.filePath("Latein/Mein.lst"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(start.path()));
        TForm1 window;
        Form1 = &window;
        window.hooks.openDatabase = [&window](const QString& path) {
            window.OpenVocabularyDatabase(path);
        };
        window.FormCreate({"Latein/../Latein/Mein.ol"}, program.path());
        QCOMPARE(QDir::currentPath(), program.path());
        window.FormPaint();
        QDir::setCurrent(before);
        Form1 = nullptr;
        QVERIFY(boxes.isEmpty());
        QCOMPARE(CurrentTablePath, table);
        QCOMPARE(GeneralOptions.Recent[0].Path, table);
    }

    void incompleteRecordCannotBeLeft() {
        auto window = startProgram();
        window->OpenVocabularyDatabase(program.filePath("Latein/Caesar.ol"));
        typeInto(window->DBFremdwort, "dicere");
        typeInto(window->DBuebersetzung, "");
        window->SpeednextClick();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Bitte zuerst Datensatz vervollständigen"));
        QCOMPARE(window->Query->recNo(), 0);
        boxes.clear();
        window->SpeedCreateClick(); // an empty translation inserts nothing
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(window->Query->recordCount(), 2);
        typeInto(window->DBFremdwort, "amare");
        typeInto(window->DBuebersetzung, "lieben");

        // A click on the lesson shown opens it again at its first word, with
        // no word marked.
        window->SpeednextClick();
        QCOMPARE(window->Query->recNo(), 1);
        window->idlist->addItem(QString::number(window->Query->currentId()));
        QVERIFY(SelectLessonNode(window->lekbaum, CurrentLessonCode));
        window->lekbaumClick();
        QCOMPARE(window->Query->recNo(), 0);
        QCOMPARE(window->idlist->count(), 0);
        QCOMPARE(window->Query->asString("Fremdwort"), QStringLiteral("amare"));
    }

    void duplicateWarning() {
        auto window = startProgram();
        GeneralOptions.cbdopp = true;
        window->OpenVocabularyDatabase(program.filePath("Latein/Caesar.ol"));
        window->SpeedCreateClick();
        typeInto(window->DBFremdwort, "videre");
        window->DBFremdwortExit();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Die Vokabel \"videre\" existiert schon in dieser Datenbank."));
        boxes.clear();
        typeInto(window->DBFremdwort, "vid\"re");
        window->DBFremdwortExit(); // the quote stands for any one character
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text,
                 QStringLiteral("Die Vokabel \"vid_re\" existiert schon in dieser Datenbank."));
        // Warned when the focus moves on to another field, not when another
        // window (the special characters) takes the activation.
        boxes.clear();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->DBFremdwort->setFocus();
        QWidget characters;
        characters.show();
        characters.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&characters));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), window->DBFremdwort);
        QCOMPARE(boxes.size(), 0);
        QTest::keyClick(window->DBFremdwort, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window->DBuebersetzung);
        QCOMPARE(boxes.size(), 1);
        GeneralOptions.cbdopp = false;
        nextAnswer = platform::Answer::Yes;
        window->SpeedDeleteClick();
        nextAnswer = platform::Answer::Ok;
    }

    // "Append new words at the end of the lesson" is kept and shown only: F3
    // starts the new word where it always does, before the current one.
    void theAppendOptionDoesNotMoveNewWords() {
        auto window = startProgram();
        window->OpenVocabularyDatabase(program.filePath("Latein/Caesar.ol"));
        GeneralOptions.cbeinf = true;
        QCOMPARE(window->Query->recNo(), 0);
        const int count = window->Query->recordCount();
        QVERIFY(count >= 2);
        QList<int> insertedAt;
        const auto watch = connect(window->Query, &engine::Query::scrolled, this, [&] {
            if (window->Query->state() == engine::Query::State::Insert)
                insertedAt << window->Query->recNo();
        });
        window->SpeedCreateClick();
        disconnect(watch);
        GeneralOptions.cbeinf = false;
        QCOMPARE(insertedAt, QList<int>({0}));
        QCOMPARE(window->Query->recordCount(), count + 1);
        QVERIFY(window->Query->asString("Fremdwort").isEmpty());
        nextAnswer = platform::Answer::Yes;
        window->SpeedDeleteClick();
        nextAnswer = platform::Answer::Ok;
    }

    // A database that opens on a lesson without words: the word typed there
    // is stored in that lesson with the values of a new word. A word started
    // any other way (typing into an empty result, insert, append) gets them as
    // well, and one left untouched is not stored.
    void wordsStartedInAnEmptyLessonBelongToIt() {
        platform::ensureFolder(program.filePath("Englisch"));
        const QString table = program.filePath("Englisch/Leer.ol");
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(table)});
            q.open();
            for (const char* lesson : {"001A1", "002A1"}) {
                q.append();
                WriteNewRecordValues(q, lesson);
                q.setValue("Fremdwort", "word");
                q.setValue("Uebersetzung", "Wort");
                q.post();
            }
        }
        engine::releaseTable(table);
        TDatabaseOptionsRec::forNewDatabase("Englisch").save(program.filePath("Englisch/Leer.opt"));
        LessonList({"000A1Leer", "001A1", "002A1"}).save(program.filePath("Englisch/Leer.lst"));
        const auto storedRows = [&table](const QString& where) {
            engine::Query q;
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(table), where});
            q.open();
            QStringList rows;
            for (q.first(); !q.eof(); q.next())
                rows << QStringLiteral("%1:%2:%3:%4")
                            .arg(q.asString("Lektion"), q.asString("Fremdwort"))
                            .arg(q.asInteger("Wortart"))
                            .arg(q.asInteger("Schwierigkeit"));
            return rows;
        };

        auto window = startProgram();
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentLessonCode, QStringLiteral("000A1"));
        QCOMPARE(SelectedLessonCode(window->lekbaum), QStringLiteral("000A1"));
        QCOMPARE(window->wortart->currentIndex(), 13);
        QCOMPARE(window->Schwcom->currentIndex(), 2);
        typeInto(window->DBFremdwort, "verloren");
        typeInto(window->DBuebersetzung, "lost");
        window->SpeedSaveClick();
        QVERIFY(SelectLessonNode(window->lekbaum, "000A1"));
        window->lekbaumClick();
        QCOMPARE(window->Query->recordCount(), 1);
        QCOMPARE(window->DBFremdwort->toPlainText(), QStringLiteral("verloren"));
        QCOMPARE(storedRows("WHERE Fremdwort = \"verloren\""), QStringList{"000A1:verloren:14:3"});

        // An empty result on a lesson, as a cancelled dialog leaves it.
        CurrentLessonCode = "003A1";
        ReopenLessonQuery(*window->Query);
        QVERIFY(window->Query->isEmpty());
        typeInto(window->DBFremdwort, "neu");
        QCOMPARE(window->Query->state(), engine::Query::State::Insert);
        QCOMPARE(window->wortart->currentIndex(), 13);
        QCOMPARE(window->Schwcom->currentIndex(), 2);
        typeInto(window->DBuebersetzung, "new");
        window->SpeedSaveClick();
        QCOMPARE(storedRows("WHERE Fremdwort = \"neu\""), QStringList{"003A1:neu:14:3"});

        for (bool append : {false, true}) {
            const int count = window->Query->recordCount();
            append ? window->Query->append() : window->Query->insert();
            QCOMPARE(window->Query->asString("Lektion"), QStringLiteral("003A1"));
            QCOMPARE(window->Query->asInteger("Wortart"), 14);
            QCOMPARE(window->Query->asInteger("Schwierigkeit"), 3);
            QVERIFY(!window->Query->isModified());
            window->Query->first(); // left untouched: not stored
            QCOMPARE(window->Query->recordCount(), count);
        }
        QCOMPARE(storedRows("WHERE Lektion = \"003A1\"").size(), 1);
        QVERIFY(storedRows("WHERE Lektion = \"\"").isEmpty());

        // From the table page, which shows words read-only, a click on a
        // lesson without words goes to the word page with the lesson's first
        // word, as from the word page.
        window->Tab1->setCurrentIndex(2);
        baumlist.add("004A1Leer");
        RebuildLessonTree(window->lekbaum, baumlist);
        QVERIFY(SelectLessonNode(window->lekbaum, "004A1"));
        window->lekbaumClick();
        QCOMPARE(window->Tab1->currentIndex(), 0);
        QVERIFY(window->Query->canModify());
        QCOMPARE(storedRows("WHERE Lektion = \"004A1\""), QStringList{"004A1::14:3"});
        QVERIFY(boxes.isEmpty());
    }

    void deletingTheOnlyWordLeavesABlankOne() {
        auto window = startProgram();
        window->OpenVocabularyDatabase(program.filePath("Latein/Caesar.ol"));
        QVERIFY(SelectLessonNode(window->lekbaum, "002A1"));
        window->lekbaumClick();
        QCOMPARE(window->Query->recordCount(), 1);
        nextAnswer = platform::Answer::Yes;
        window->SpeedDeleteClick();
        nextAnswer = platform::Answer::Ok;
        QCOMPARE(window->Query->recordCount(), 1);
        QVERIFY(window->Query->asString("Fremdwort").isEmpty());
        QCOMPARE(window->Query->asInteger("Wortart"), 14);
        QCOMPARE(window->Query->asString("Lektion"), QStringLiteral("002A1"));
    }

    void missingLessonListIsRebuiltOnOpen() {
        QVERIFY(QFile::remove(program.filePath("Latein/Caesar.lst")));
        auto window = startProgram();
        window->OpenVocabularyDatabase(program.filePath("Latein/Caesar.ol"));
        QCOMPARE(CurrentTablePath, program.filePath("Latein/Caesar.ol"));
        QVERIFY(QFile::exists(program.filePath("Latein/Caesar.lst")));
        QCOMPARE(window->lekbaum->topLevelItemCount(), 2);
        QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
    }

    // A list whose lines name no lesson (titles, codes with blanks in front or
    // their parts swapped) is built anew from the table: the database opens
    // on a lesson, a word typed then is stored in it, and the file keeps the
    // other lines.
    void listWithoutLessonCodesIsRebuiltOnOpen() {
        const QString table = program.filePath("Latein/Caesar.ol");
        QFile list(program.filePath("Latein/Caesar.lst"));
        QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write("Verben\r\n  001A1\r\n0011A\r\nNomen\r\n");
        list.close();
        {
            auto window = startProgram();
            window->OpenVocabularyDatabase(table);
            QVERIFY(boxes.isEmpty());
            QCOMPARE(window->lekbaum->topLevelItemCount(), 2);
            QCOMPARE(CurrentLessonCode, QStringLiteral("001A1"));
            QCOMPARE(SelectedLessonCode(window->lekbaum), QStringLiteral("001A1"));
            window->SpeedCreateClick();
            typeInto(window->DBFremdwort, "legere");
            typeInto(window->DBuebersetzung, "lesen");
            window->close();
        }
        QVERIFY(wordsOfTable(table).contains("001A1:legere=lesen"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(),
                 QByteArray("  001A1\r\n0011A\r\n001A1\r\n002A1\r\nNomen\r\nVerben\r\n"));
    }

    // Lesson values that another tool stored as no text: the window's opening
    // ends, its one note says what changed, and the tree reaches every word.
    void lessonValuesOfNoTextOpenIntoTheTree() {
        const QString table = latinTable("Fremd", "('001A1', 'amare', 'lieben'), "
                                                  "(x'3030314131', 'videre', 'sehen'), "
                                                  "(x'30300031', 'ire', 'gehen'), "
                                                  "(CAST(x'ff4131' AS TEXT), 'esse', 'sein')");
        QVERIFY(LessonList({"001A1Verben"}).save(program.filePath("Latein/Fremd.lst")));
        auto window = startProgram();
        {
            Deadline deadline(10, "the opening");
            window->OpenVocabularyDatabase(table);
        }
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Hinweis"));
        QVERIFY2(boxes[0].text.startsWith("Bei einer Vokabel war der Lektionscode abweichend") &&
                     boxes[0].text.endsWith("2 Vokabeln gehörten zu keiner Lektion; sie stehen "
                                            "jetzt unter „Lektion 0, A 1 [Ohne Lektion]“."),
                 qPrintable(boxes[0].text));
        QCOMPARE(window->lekbaum->topLevelItemCount(), 2);
        QCOMPARE(SelectedLessonCode(window->lekbaum), QStringLiteral("000A1"));
        QCOMPARE(window->Query->recordCount(), 2);
        QVERIFY(SelectLessonNode(window->lekbaum, "001A1"));
        window->lekbaumClick();
        QCOMPARE(window->Query->recordCount(), 2);
        window->close();
        QCOMPARE(wordsOfTable(table), QStringList({"001A1:amare=lieben", "001A1:videre=sehen",
                                                   "000A1:ire=gehen", "000A1:esse=sein"}));
    }

    // A FIFO where a table is expected (from the open dialog, the recent list
    // or the command line) would wait for a writer for good. Where a settings
    // file is expected it counts as missing: the defaults hold.
    void aFifoIsNoDatabaseNorSettings() {
        FifoGuard fifos;
        const QString fifo = program.filePath("Latein/Rohr.ol");
        fifos.make(fifo);
        {
            auto window = startProgram();
            window->OpenVocabularyDatabase(fifo);
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].text,
                     "Die Datenbank " + fifo +
                         " ist keine gewöhnliche Datei und kann nicht geöffnet werden.");
            QVERIFY(CurrentTablePath.isEmpty());
            QCOMPARE(window->lekbaum->topLevelItemCount(), 0);
        }
        QVERIFY(QFile::remove(fifo));

        const QString general = program.filePath("data/gruopt.dat");
        const QString kept = general + ".kept";
        QVERIFY(QFile::rename(general, kept));
        fifos.make(general);
        const QString table = program.filePath("Latein/Leitung.ol");
        {
            engine::Query q;
            CreateVocabularyTable(q, table);
        }
        engine::releaseTable(table);
        LessonList({"001A1"}).save(program.filePath("Latein/Leitung.lst"));
        fifos.make(program.filePath("Latein/Leitung.opt"));
        boxes.clear();
        GeneralOptions = TGeneralOptionsRec();
        {
            auto window = startProgram();
            QCOMPARE(GeneralOptions.toBytes(), TGeneralOptionsRec().toBytes());
            window->OpenVocabularyDatabase(table);
            QCOMPARE(CurrentTablePath, table);
            QCOMPARE(DatabaseOptions.toBytes(),
                     TDatabaseOptionsRec::forNewDatabase("Latein").toBytes());
        }
        QVERIFY(!fifos.waitedFor());
        QCOMPARE(boxes.size(), 0);
        QFile::remove(general);
        QVERIFY(QFile::rename(kept, general));
        QFile::remove(program.filePath("Latein/Leitung.opt"));
    }

    // A table whose schema carries SQL of its own is not opened (the open
    // dialog, the recent list and the command line all come here): the
    // message names the file, nothing is written, and the words stay. Without
    // it the table opens as before.
    void aTableCarryingSqlOfItsOwnIsNotOpened() {
        const QString table =
            latinTable("Falle", "('001A1', 'amare', 'lieben'), ('001A1', 'videre', 'sehen')");
        const QStringList words{"001A1:amare=lieben", "001A1:videre=sehen"};
        engine::releaseTable(table);
        auto window = startProgram();
        const char* carried[][3] = {
            {"CREATE TRIGGER t AFTER UPDATE ON VokabelTable BEGIN DELETE FROM VokabelTable; END",
             "DROP TRIGGER t", "einen Trigger"},
            {"CREATE VIEW v AS SELECT * FROM VokabelTable", "DROP VIEW v", "eine Sicht"}};
        for (const auto& [add, drop, found] : carried) {
            execOnFile(table, add);
            QFile file(table);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray before = file.readAll();
            file.close();
            boxes.clear();
            window->OpenVocabularyDatabase(table);
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes[0].caption, QStringLiteral("Fehler"));
            QCOMPARE(boxes[0].text, QStringLiteral("Die Tabelle \"%1\" ist keine Vokabeltabelle "
                                                   "dieses Programms (sie enthält %2) und wird "
                                                   "nicht geöffnet.")
                                        .arg(table, found));
            QVERIFY(CurrentTablePath.isEmpty());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
            file.close();
            QVERIFY(!QFile::exists(program.filePath("Latein/Falle.lst")));
            QVERIFY(GeneralOptions.Recent[0].Path != table);
            execOnFile(table, drop);
        }
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentTablePath, table);
        window->close();
        QCOMPARE(wordsOfTable(table), words);
    }

    void characterSetChangesTheLookNotTheTable() {
        auto window = startProgram();
        window->OpenVocabularyDatabase(program.filePath("Latein/Caesar.ol"));
        typeInto(window->DBFremdwort, QString::fromLatin1("\xE1\xE2")); // bytes E1 E2
        typeInto(window->DBuebersetzung, "ab");
        window->SpeedSaveClick();
        const qint64 id = window->Query->currentId();
        TDatabaseOptionsRec choice = DatabaseOptions;
        choice.CharsetPosition = CharsetPositionOfNumber(161);
        window->Schriftart(choice);
        QCOMPARE(window->DBFremdwort->toPlainText(), QStringLiteral("αβ"));
        choice.CharsetPosition = CharsetPositionOfNumber(1);
        window->Schriftart(choice);
        QCOMPARE(window->DBFremdwort->toPlainText(), QString::fromLatin1("\xE1\xE2"));
        window->close();
        engine::Query q;
        q.addSql("SELECT * FROM " + engine::quoteLiteral(program.filePath("Latein/Caesar.ol")) +
                 " WHERE ID = " + QString::number(id));
        q.open();
        QCOMPARE(q.asString("Fremdwort"), QString::fromLatin1("\xE1\xE2"));
    }

    // The recent slot of a database in "Französisch" holds its path and text
    // in Windows-1252, as the other strings of the record and its ".opt" do;
    // only a name the code page lacks goes as UTF-8.
    void recentEntryIsWrittenInWindows1252() {
        const QString table = program.filePath("Französisch/Verben.ol");
        QVERIFY(platform::ensureFolder(program.filePath("Französisch")));
        QVERIFY(QFile::copy(program.filePath("Latein/Caesar.ol"), table));
        auto window = startProgram();
        window->OpenVocabularyDatabase(table);
        QCOMPARE(CurrentLanguage, QStringLiteral("Französisch"));
        window->close();

        QFile file(program.filePath("data/gruopt.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray image = file.readAll();
        const QByteArray path = QFile::encodeName(program.path()) + "/Franz\xF6sisch/Verben.ol";
        QCOMPARE(image.mid(1076, 1 + path.size()), char(path.size()) + path);
        QCOMPARE(image.mid(1076 + 256, 21), QByteArray("\x14Verben [Franz\xF6sisch]"));

        TGeneralOptionsRec rec;
        rec.Recent[0] = {QStringLiteral("/Ιλιάδα.ol"), QStringLiteral("Ã¶ [Latein]")};
        const QByteArray greek = rec.toBytes();
        QCOMPARE(greek.mid(1076, 17), QByteArray("\x10/\xCE\x99\xCE\xBB\xCE\xB9\xCE\xAC"
                                                 "\xCE\xB4\xCE\xB1.ol"));
        TGeneralOptionsRec back;
        QVERIFY(back.fromBytes(greek));
        QCOMPARE(back.Recent[0], rec.Recent[0]); // "Ã¶" in Windows-1252 would read as "ö"
    }

    // Another copy of the program sorted the open table (a new file with new
    // keys took its place): the word typed here still reaches its word.
    void editAfterAnotherCopySortedTheTable() {
        const QString table = program.filePath("Latein/Caesar.ol");
        auto window = startProgram();
        window->OpenVocabularyDatabase(table);
        const QString word = window->Query->asString("Fremdwort");
        const QString fresh = program.filePath("Latein/sorted.tmp");
        QVERIFY(QFile::copy(table, fresh));
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(fresh).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "UPDATE VokabelTable SET ID = 1000 - ID", nullptr, nullptr,
                              nullptr),
                 SQLITE_OK);
        sqlite3_close(other);
        QCOMPARE(
            ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(table).constData()),
            0);

        typeInto(window->DBuebersetzung, "neu getippt");
        window->SpeedSaveClick();
        QVERIFY(boxes.isEmpty());
        QVERIFY(window->Query->currentId() > 900);
        QCOMPARE(window->DBuebersetzung->toPlainText(), QStringLiteral("neu getippt"));
        window->close();
        QVERIFY(wordsOfTable(table).contains("001A1:" + word + "=neu getippt"));
    }

    // The open dialog opens or deletes only a database the user chose: the
    // list taking the focus makes a row current but chooses nothing, and the
    // row chosen is the one shown as chosen.
    void openDialogActsOnlyOnAChosenDatabase() {
        QTemporaryDir root;
        const QString before = WorkDir;
        WorkDir = root.path();
        platform::ensureFolder(root.filePath("Englisch"));
        for (const char* name : {"Erste", "Zweite"}) {
            QFile file(root.filePath(QStringLiteral("Englisch/%1.ol").arg(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        Tdateiladen dialog;
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.namenliste->setFocus();
        QCOMPARE(dialog.namenliste->count(), 2);
        QVERIFY(dialog.namenliste->selectedItems().isEmpty());
        QVERIFY(!dialog.okbtn->isEnabled());
        QVERIFY(!dialog.BitBtn2->isEnabled());
        nextAnswer = platform::Answer::Yes;
        dialog.BitBtn2Click(); // the delete command of the pop-up menu comes here too
        QVERIFY(boxes.isEmpty());
        QVERIFY(QFile::exists(root.filePath("Englisch/Erste.ol")));

        // Moving in the list with the keys chooses the row reached.
        QTest::keyClick(dialog.namenliste, Qt::Key_Down);
        QCOMPARE(dialog.namenliste->selectedItems().size(), 1);
        const int chosen = dialog.namenliste->row(dialog.namenliste->selectedItems().first());
        QCOMPARE(dialog.Label2->text(), dialog.dbnames.at(chosen));
        QVERIFY(dialog.okbtn->isEnabled());
        QVERIFY(dialog.BitBtn2->isEnabled());
        dialog.BitBtn2Click();
        nextAnswer = platform::Answer::Ok;
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, QStringLiteral("Ausgewählte Datenbank wirklich löschen?"));
        QCOMPARE(QFile::exists(root.filePath("Englisch/Erste.ol")), chosen != 0);
        QCOMPARE(QFile::exists(root.filePath("Englisch/Zweite.ol")), chosen != 1);
        // The list filled again has nothing chosen.
        QCOMPARE(dialog.namenliste->count(), 1);
        QVERIFY(!dialog.okbtn->isEnabled());
        QVERIFY(!dialog.BitBtn2->isEnabled());
        QVERIFY(dialog.Label2->text().isEmpty());
        WorkDir = before;
    }

    void deletingADatabaseSparesItsSibling() {
        const QString sibling = program.filePath("Latein/Caesar.db");
        QVERIFY(QFile::copy(program.filePath("Latein/Caesar.ol"), sibling));
        QFile lab(program.filePath("data/CaesarLatein.lab"));
        QVERIFY(lab.open(QIODevice::WriteOnly));
        lab.close();
        QVERIFY(DeleteDatabaseFiles(program.filePath("Latein/Caesar.ol")));
        QVERIFY(!QFile::exists(program.filePath("Latein/Caesar.ol")));
        QVERIFY(!QFile::exists(program.filePath("Latein/Caesar.opt")));
        QVERIFY(!QFile::exists(program.filePath("Latein/Caesar.lst")));
        QVERIFY(!QFile::exists(program.filePath("data/CaesarLatein.lab")));
        QVERIFY(QFile::exists(sibling));
    }
};

QTEST_MAIN(TestDatabaseRoad)
#include "tst_databaseroad.moc"
