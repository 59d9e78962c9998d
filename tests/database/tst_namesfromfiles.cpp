// Language names read from a database's options record never build a path
// outside their folder: opening, sorting with a backup copy, the quiz files and
// deleting a database all use the language of the database's folder instead.
#include "database/currentdatabase.h"
#include "database/databasefiles.h"
#include "database/databaseoptions.h"
#include "database/lessons.h"
#include "database/vocabularytable.h"
#include "engine/query.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "quiz/selectionoptions.h"
#include "search/sortlogic.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestNamesFromFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    QList<platform::MessageBoxRequest> boxes;

    QString path(const QString& relative) const { return dir->filePath(relative); }

    // WorkDir/Latein/Caesar with two words and an options record naming
    // `language`.
    QString makeDatabase(const QString& language) {
        QDir().mkpath(path("work/Latein"));
        QDir().mkpath(path("work/data"));
        const QString base = path("work/Latein/Caesar");
        {
            engine::Query q;
            CreateVocabularyTable(q, base + ".ol");
            q.setSql({"SELECT * FROM " + engine::quoteLiteral(base + ".ol")});
            q.open();
            for (const char* word : {"videre", "amare"}) {
                q.insert();
                WriteNewRecordValues(q, FirstLessonCode);
                q.setValue("Fremdwort", QString::fromLatin1(word));
                q.post();
            }
        }
        engine::releaseTable(base + ".ol");
        LessonList({"001A1"}).save(base + ".lst");
        TDatabaseOptionsRec options = TDatabaseOptionsRec::forNewDatabase("Latein");
        options.Language = language;
        options.save(base + ".opt");
        return base;
    }

    void open(const QString& base) {
        CurrentDatabaseBase = base;
        CurrentDatabaseName = QFileInfo(base).fileName();
        CurrentTablePath = base + ".ol";
        CurrentLessonCode = FirstLessonCode;
        ReadDatabaseOptions(base);
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        WorkDir = path("work");
        boxes.clear();
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            boxes << r;
            return platform::Answer::Ok;
        });
    }
    void cleanup() {
        engine::releaseTable(CurrentTablePath);
        platform::setMessageBoxHandler({});
    }

    void theCheckOfTypedNames() {
        for (const char* bad : {"..", ".", "/../../x", "a/b", "a\\b", "Lat.ein", "x\ty", "a:b"})
            QVERIFY2(!IsUsableNameFromFile(QString::fromLatin1(bad)), bad);
        for (const char* good : {"Latein", "Hebräisch", "Neu Griechisch"})
            QVERIFY2(IsUsableNameFromFile(QString::fromUtf8(good)), good);
        // Earlier copies of the program wrote names of up to 50 characters.
        QVERIFY(IsUsableNameFromFile(QString(50, 'w')));
        QVERIFY(!IsUsableNameFromFile(QString(51, 'w')));
        QVERIFY(!IsUsableNameFromFile(QString(40, 'w') + "/.."));
        QVERIFY(!CheckDatabaseName(QString(31, 'w')).isEmpty());
    }

    void hostileLanguageIsReplacedOnOpening_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("parent") << "..";
        QTest::newRow("root") << "/../../x";
        QTest::newRow("separator") << "Latein/../../x";
        // The program's own folders are no language folders.
        QTest::newRow("data") << "data";
        QTest::newRow("backup") << "Backup";
    }
    void hostileLanguageIsReplacedOnOpening() {
        QFETCH(QString, language);
        open(makeDatabase(language));
        QCOMPARE(CurrentLanguage, QString("Latein"));
        QCOMPARE(DatabaseOptions.Language, QString("Latein"));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].text.contains("\"" + language + "\""));
        QVERIFY(boxes[0].text.contains("Caesar.opt"));
        QVERIFY(boxes[0].text.endsWith("Sprache des Datenbankordners verwendet: \"Latein\"."));
        // The quiz files are named inside the data folder.
        QCOMPARE(QFileInfo(LastSelectionFile(CurrentDatabaseBase, CurrentLanguage)).path(),
                 path("work/data"));
        QCOMPARE(QFileInfo(platform::dataFile(CurrentDatabaseName + CurrentLanguage + ".lab"))
                     .absolutePath(),
                 path("work/data"));
    }

    void plainLanguageIsKeptSilently() {
        open(makeDatabase("Griechisch"));
        QCOMPARE(CurrentLanguage, QString("Griechisch"));
        open(makeDatabase(""));
        QCOMPARE(CurrentLanguage, QString());
        QVERIFY(boxes.isEmpty());
    }

    // The backup copy of a sort lands in the language folder of WorkDir, not
    // in a folder the record names.
    void sortBackupStaysInTheWorkFolder() {
        const QString base = makeDatabase("..");
        open(base);
        engine::Query query;
        query.setRequestLive(true);
        ReopenLessonQuery(query);
        sorting::SortOptions options;
        options.backup = true;
        options.backupBase = sorting::BackupBase("Sicherung");
        options.workBase = QDir(WorkDir).filePath("tempsort");
        const sorting::SortOutcome outcome = sorting::SortOpenDatabase(query, baumlist, options);
        QVERIFY2(outcome.done, qPrintable(outcome.error));
        query.close();
        engine::releaseTable(path("work/Latein/Sicherung.ol"));
        QVERIFY(QFileInfo::exists(path("work/Latein/Sicherung.ol")));
        QVERIFY(QFileInfo::exists(path("work/Latein/Sicherung.lst")));
        QVERIFY(!QFileInfo::exists(path("Sicherung.ol")));
        QVERIFY(!QFileInfo::exists(path("work/Sicherung.ol")));
    }

    // Deleting a database removes its quiz files by the folder's language and
    // never files the record's language points at.
    void deletingRemovesNothingOutsideData() {
        const QString base = makeDatabase("/../../x");
        QDir().mkpath(path("work/data/Caesar")); // lets "Caesar/../../x" resolve
        const QStringList outside{path("work/x.lab"), path("work/xaw.dat"), path("work/xaw2.dat")};
        for (const QString& file : outside)
            writeFile(file, "fremd");
        writeFile(path("work/data/CaesarLatein.lab"), "quiz");
        writeFile(path("work/data/CaesarLateinaw.dat"), "marks");
        QVERIFY(DeleteDatabaseFiles(base + ".ol"));
        for (const QString& file : outside)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QVERIFY(!QFileInfo::exists(path("work/data/CaesarLatein.lab")));
        QVERIFY(!QFileInfo::exists(path("work/data/CaesarLateinaw.dat")));
        QVERIFY(!QFileInfo::exists(base + ".ol"));
        QVERIFY(!QFileInfo::exists(base + ".opt"));
    }

    // Names differ in case on this file system: deleting "Caesar" leaves the
    // files of a database "caesar" beside it, even where "Caesar" has none.
    void deletingLeavesADatabaseNamedInOtherCaseAlone() {
        const QString base = makeDatabase("Latein");
        const QString other = path("work/Latein/caesar");
        QVERIFY(QFile::copy(base + ".ol", other + ".ol"));
        const QStringList kept{other + ".ol",
                               other + ".lst",
                               other + ".opt",
                               other + ".px",
                               path("work/data/caesarLatein.lab"),
                               path("work/data/caesarLateinaw.dat"),
                               path("work/data/caesarLateinaw2.dat")};
        for (const QString& file : kept.mid(1))
            writeFile(file, "fremd");
        QVERIFY(DeleteDatabaseFiles(base + ".ol"));
        for (const QString& file : kept)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QVERIFY(!QFileInfo::exists(base + ".ol"));
        QVERIFY(!QFileInfo::exists(base + ".lst"));
    }
};

QTEST_MAIN(TestNamesFromFiles)
#include "tst_namesfromfiles.moc"
